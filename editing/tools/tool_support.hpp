#pragma once
// What several canvas tools share: clicks in canvas twips for the click
// edits, the picks, and a new boundary point at an intersection.
#include <algorithm>
#include <cmath>
#include <cstddef>

#include "editing/mouse_tools.hpp"
#include "editing/section_clicks.hpp"
#include "model/geometry.hpp"

namespace kova::tools {

inline std::size_t Idx(int i) { return static_cast<std::size_t>(i); }

// The click edits still take canvas twips, in single precision: clamped,
// since a far click must not overflow a float.
inline float ToFloat(double v) { return std::isnan(v) ? 0 : static_cast<float>(std::clamp(v, -1e30, 1e30)); }
inline float TwipsX(const EditorState& ed, double x) { return ToFloat((x - ed.ViewLeftX) * ed.ViewScale); }
inline float TwipsY(const EditorState& ed, double y) { return ToFloat((ed.ViewTopY - y) * ed.ViewScale); }

inline bool ValidPoint(const Model& m, int i) { return i >= 0 && i < std::min<int>(m.BndPtCount, kMaxBndPts + 1); }

inline void ClearFlags(EditorState& ed) { ed.SelFlags.fill(-1); }
// An intersection tool starts again: its two picks and its marks go.
inline void DropPair(EditorState& ed, ToolPicks& p) {
    ClearFlags(ed);
    ed.SelCount = 0;
    p.PickStep = 0;
    p.PickPair = {-1, -1};
}
// The picks dropped and the section repainted without them.
inline void DropPairAndRepaint(ToolContext& c, ToolPicks& p) {
    DropPair(c.ed, p);
    c.view.Refresh();
}
// The first step of an intersection tool's click: the right button drops
// the picks (true: the click is done); picks go to pair 0 and 1 only.
inline bool RightDropsPair(ToolContext& c, ToolPicks& p, const CanvasInput& in) {
    if (in.button == kRightButton) DropPairAndRepaint(c, p);
    else if (p.PickStep < 0 || p.PickStep > 1) DropPair(c.ed, p);
    return in.button == kRightButton;
}
inline void SetFlag(EditorState& ed, int i, i16 v) {
    if (i >= 0 && i < static_cast<int>(ed.SelFlags.size())) ed.SelFlags[Idx(i)] = v;
}

// The boundary line i with both end points valid.
inline bool LineEnds(const Model& m, int i, const BoundaryPoint*& a, const BoundaryPoint*& b) {
    if (i < 0 || i >= std::min<int>(m.BndLineCount, kMaxLines + 1)) return false;
    const BoundaryLine& l = m.BndLine[Idx(i)];
    if (!ValidPoint(m, l.pt1) || !ValidPoint(m, l.pt2)) return false;
    a = &m.BndPt[Idx(l.pt1)];
    b = &m.BndPt[Idx(l.pt2)];
    return true;
}

// Appends the boundary point (X, Y) after the duplicate test and the
// confirmation; true when added. Does not repaint.
inline bool add_ktn(ToolContext& c, double X, double Y) {
    Model& m = c.m;
    const int n = std::clamp<int>(m.BndPtCount, 0, kMaxBndPts + 1);
    for (int i = 0; i < n; ++i) {
        const BoundaryPoint& p = m.BndPt[Idx(i)];
        if (std::fabs(p.X - X) < 0.0001 && std::fabs(p.Y - Y) < 0.0001) {
            c.ui.Notify("同一座標の境界点が存在します。", MsgIcon::Exclamation);
            return false;
        }
    }
    if (n >= kMaxBndPts) {
        c.ui.Notify("境界点の数が上限(500点)に達しているため、これ以上登録できません。", MsgIcon::Exclamation);
        return false;
    }
    const Message ask{"交点を作成します", "交点追加", MsgIcon::Question, MsgButtons::OkCancel, 0};
    if (c.ui.Show(ask) != MsgAnswer::Ok) return false;
    m.BndPt[Idx(n)] = BoundaryPoint{};
    m.BndPt[Idx(n)].X = X;
    m.BndPt[Idx(n)].Y = Y;
    m.BndPtCount = static_cast<i16>(n + 1);
    return true;
}

// An intersection found: the point rounded to millimetres; none: the box.
inline void AddIntersection(ToolContext& c, bool found, double X, double Y) {
    if (found) add_ktn(c, RoundTo(X, 0.001, 0), RoundTo(Y, 0.001, 0));
    else  // 12 blanks, as the box always had
        c.ui.Show(Message{"交点計算不能            ", "交点計算", MsgIcon::Exclamation, MsgButtons::Ok, 0});
}

}  // namespace kova::tools
