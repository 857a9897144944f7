#include "editor/core/tools/tool_support.hpp"

#include "model/geometry.hpp"

namespace kova::tools {

bool LineEnds(const Model& m, int i, const BoundaryPoint*& a, const BoundaryPoint*& b) {
    if (i < 0 || i >= std::min<int>(m.BndLineCount, kMaxLines + 1)) return false;
    const BoundaryLine& l = m.BndLine[Idx(i)];
    if (!ValidPoint(m, l.pt1) || !ValidPoint(m, l.pt2)) return false;
    a = &m.BndPt[Idx(l.pt1)];
    b = &m.BndPt[Idx(l.pt2)];
    return true;
}

bool add_ktn(ToolContext& c, double X, double Y) {
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

void AddIntersection(ToolContext& c, bool found, double X, double Y) {
    if (found) add_ktn(c, RoundTo(X, 0.001, 0), RoundTo(Y, 0.001, 0));
    else  // 12 blanks, as the box always had
        c.ui.Show(Message{"交点計算不能            ", "交点計算", MsgIcon::Exclamation, MsgButtons::Ok, 0});
}

}  // namespace kova::tools
