#include "editor/core/mouse_tools.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "editor/core/section_clicks.hpp"
#include "editor/core/view.hpp"
#include "model/blocks.hpp"
#include "model/geometry.hpp"
#include "textio/numfmt.hpp"

namespace kova {

namespace {

constexpr int kRight = 2;
const char* const kNoIntersection = "交点計算不能            ";  // 12 blanks, as the box always had

std::size_t Idx(int i) { return static_cast<std::size_t>(i); }

// The editing operations below the tools still take canvas twips, in
// single precision: clamped, since a far click must not overflow a float.
float ToFloat(double v) {
    if (std::isnan(v)) return 0;
    return static_cast<float>(std::clamp(v, -1e30, 1e30));
}
float TwipsX(const EditorState& ed, double x) { return ToFloat((x - ed.ViewLeftX) * ed.ViewScale); }
float TwipsY(const EditorState& ed, double y) { return ToFloat((ed.ViewTopY - y) * ed.ViewScale); }

bool ValidPoint(const Model& m, int i) { return i >= 0 && i < std::min<int>(m.BndPtCount, kMaxBndPts + 1); }

// The boundary line i with both end points valid.
bool LineEnds(const Model& m, int i, const BoundaryPoint*& a, const BoundaryPoint*& b) {
    if (i < 0 || i >= std::min<int>(m.BndLineCount, kMaxLines + 1)) return false;
    const BoundaryLine& l = m.BndLine[Idx(i)];
    if (!ValidPoint(m, l.pt1) || !ValidPoint(m, l.pt2)) return false;
    a = &m.BndPt[Idx(l.pt1)];
    b = &m.BndPt[Idx(l.pt2)];
    return true;
}

void ClearFlags(EditorState& ed) { ed.SelFlags.fill(-1); }

void DropPicks(EditorState& ed) {
    ClearFlags(ed);
    ed.SelCount = 0;
    ed.PickPair[0] = -1;
    ed.PickPair[1] = -1;
}

void SetFlag(EditorState& ed, int i, i16 v) {
    if (i >= 0 && i < static_cast<int>(ed.SelFlags.size())) ed.SelFlags[Idx(i)] = v;
}

void NoIntersection(ToolContext& c) {
    c.ui.Show(Message{kNoIntersection, "交点計算", MsgIcon::Exclamation, MsgButtons::Ok, 0});
}

void AddRounded(ToolContext& c, double X, double Y) { add_ktn(c, RoundTo(X, 0.001, 0), RoundTo(Y, 0.001, 0)); }

class ZoomTool : public CanvasTool {
    void Press(ToolContext& c, const CanvasInput& in) override {
        const double tx = TwipsX(c.ed, in.x), ty = TwipsY(c.ed, in.y);
        ZoomAtPoint(c.m, c.ed, c.view, in.button, tx, ty);
        // The mouse has not moved, but the section under it has: the
        // read-out follows the new view at once.
        if (c.m.BndPtCount <= 0) return;
        CanvasToModel(c.ed, tx, ty, c.ed.CursorX, c.ed.CursorY);
        c.status.SetStatusText(2, CursorReadout(c.ed.CursorX, c.ed.CursorY));
    }
};

class LineTool : public CanvasTool {
    void Press(ToolContext& c, const CanvasInput& in) override { add_line(c, in.button, in.x, in.y); }
    void Move(ToolContext& c, const CanvasInput&) override {
        // The repaint only moves the band from the chain's point.
        if (c.ed.SelIndex >= 0) c.view.Refresh();
    }
};

class DeleteLineTool : public CanvasTool {
    void Press(ToolContext& c, const CanvasInput& in) override { del_line(c, in.button, in.x, in.y); }
};

class RegisterTool : public CanvasTool {
public:
    explicit RegisterTool(bool cut) : cut_(cut) {}
    void Press(ToolContext& c, const CanvasInput& in) override {
        const auto b = static_cast<i16>(in.button);
        if (cut_)
            RegisterCutBlock(c.m, c.ed, c.view, c.ui, b, TwipsX(c.ed, in.x), TwipsY(c.ed, in.y));
        else
            RegisterBlock(c.m, c.ed, c.view, c.ui, b, TwipsX(c.ed, in.x), TwipsY(c.ed, in.y));
    }

private:
    bool cut_;
};

class PickBlockTool : public CanvasTool {
public:
    explicit PickBlockTool(i16 group) : group_(group) {}
    void Press(ToolContext& c, const CanvasInput& in) override {
        PickBlock(c.m, c.ed, c.view, static_cast<i16>(in.button), TwipsX(c.ed, in.x), TwipsY(c.ed, in.y), group_);
    }

private:
    i16 group_;
};

class DeleteBlockTool : public CanvasTool {
public:
    explicit DeleteBlockTool(i16 group) : group_(group) {}
    void Press(ToolContext& c, const CanvasInput& in) override {
        DeleteBlock(c.m, c.ed, c.view, c.ui, static_cast<i16>(in.button), TwipsX(c.ed, in.x), TwipsY(c.ed, in.y),
                    group_);
    }

private:
    i16 group_;
};

class TwoLinesTool : public CanvasTool {
    void Press(ToolContext& c, const CanvasInput& in) override { add_lktn1(c, in.button, in.x, in.y); }
};

class PointLineTool : public CanvasTool {
    void Press(ToolContext& c, const CanvasInput& in) override { add_lktn2(c, in.button, in.x, in.y); }
};

ZoomTool gZoom;
LineTool gLine;
DeleteLineTool gDeleteLine;
RegisterTool gRegister(false);
RegisterTool gRegisterCut(true);
PickBlockTool gPickFill(kGroupFill);
PickBlockTool gPickCut(kGroupCut);
DeleteBlockTool gDeleteFill(kGroupFill);
DeleteBlockTool gDeleteCut(kGroupCut);
TwoLinesTool gTwoLines;
PointLineTool gPointLine;

}  // namespace

ToolHost::ToolHost(ToolContext ctx) : ctx_(ctx) {
    // The one place where a tool code meets its tool.
    table_ = {
        nullptr,       // 0 none
        &gZoom,        // 1 zoom in
        &gZoom,        // 2 zoom out
        &gLine,        // 3 boundary lines
        &gDeleteLine,  // 4 delete boundary lines
        &gRegister,    // 5 new embankment
        &gRegister,    // 6 new soil layer
        &gPickFill,    // 7 pick an embankment or soil layer
        &gLine,        // 8 terrain lines
        &gDeleteLine,  // 9 delete terrain lines
        &gRegisterCut, // 10 new cut
        &gDeleteFill,  // 11 delete an embankment or soil layer
        &gDeleteCut,   // 12 delete a cut
        &gPickCut,     // 13 pick a cut
        &gRegister,    // 14 re-shape the embankment
        &gRegister,    // 15 re-shape the soil layer
        &gRegisterCut, // 16 re-shape the cut
        &gTwoLines,    // 17 intersection of two lines
        &gPointLine,   // 18 vertical through a point
        &gPointLine,   // 19 horizontal through a point
        &gPointLine,   // 20 foot of the perpendicular
    };
}

CanvasTool* ToolHost::ToolFor(int cmd_mode) const {
    if (cmd_mode < 0 || cmd_mode >= static_cast<int>(table_.size())) return nullptr;
    return table_[Idx(cmd_mode)];
}

CanvasInput ToolHost::Input(int Button, int Shift, double X, double Y) const {
    CanvasInput in;
    CanvasToModel(ctx_.ed, X, Y, in.x, in.y);
    in.button = Button;
    in.shift = (Shift & 1) != 0;
    return in;
}

void ToolHost::pic_gm_MouseDown(int Button, int Shift, double X, double Y) { Press(Input(Button, Shift, X, Y)); }
void ToolHost::pic_gm_MouseMove(int Button, int Shift, double X, double Y) { Move(Input(Button, Shift, X, Y)); }

void ToolHost::Press(const CanvasInput& in) {
    ToolContext c = ctx_;
    if (CanvasTool* t = ToolFor(c.ed.cmd_mode)) t->Press(c, in);
}

void ToolHost::Move(const CanvasInput& in) {
    ToolContext c = ctx_;
    if (c.m.BndPtCount <= 0) return;
    c.status.SetStatusText(2, CursorReadout(in.x, in.y));
    c.ed.CursorX = in.x;
    c.ed.CursorY = in.y;
    if (CanvasTool* t = ToolFor(c.ed.cmd_mode)) t->Move(c, in);
}

std::string CursorReadout(double X, double Y) {
    auto field = [](double v) {
        v = std::isnan(v) ? 0 : std::clamp(v, -999.99, 999.99);
        // "####0.00": halves away from zero, no "-" on a value shown as 0.
        return AlignRight(FormatFixed(v, 2), 7);
    };
    return "X:" + field(X) + " Y:" + field(Y);
}

void add_line(ToolContext& c, int Button, double x, double y) {
    EditorState& ed = c.ed;
    if (ValidPoint(c.m, ed.SelIndex)) {
        // Shrink the band to nothing before the picture changes.
        const BoundaryPoint& s = c.m.BndPt[Idx(ed.SelIndex)];
        ed.RubberEndX = x;
        ed.RubberEndY = y;
        ed.CursorX = s.X;
        ed.CursorY = s.Y;
        c.view.Refresh();
    }
    if (Button == kRight) {
        ed.SelIndex2 = -1;
        ed.SelIndex = -1;
        return;
    }
    ed.SelIndex = FindBndPt(c.m, x, y, 10);
    if (ed.SelIndex < 0) return;  // the chain waits at its last point
    const BoundaryPoint& p = c.m.BndPt[Idx(ed.SelIndex)];
    ed.RubberEndX = p.X;
    ed.RubberEndY = p.Y;
    if (ed.SelIndex2 != -1 && ed.SelIndex2 != ed.SelIndex) AddBndLine(c.m, ed, c.view, c.ui, ed.SelIndex2, ed.SelIndex);
    ed.SelIndex2 = ed.SelIndex;
}

void del_line(ToolContext& c, int Button, double x, double y) {
    EditorState& ed = c.ed;
    const bool cut = ed.cmd_mode == CmdMode::kDeleteTerrainLines;
    if (Button != kRight) {
        if (cut)
            PickCutLine(c.m, ed, TwipsX(ed, x), TwipsY(ed, y));
        else
            PickBndLine(c.m, ed, TwipsX(ed, x), TwipsY(ed, y));
        const int i = ed.SelIndex;
        if (i >= 0 && i < static_cast<int>(ed.SelFlags.size())) {
            i16& flag = ed.SelFlags[Idx(i)];
            if (flag == -1) {
                flag = 1;
                ++ed.SelCount;
            } else {
                flag = -1;
                --ed.SelCount;
            }
        }
        ed.SelIndex = -1;
        c.view.Refresh();
        return;
    }
    if (ed.SelCount <= 0) return;
    const Message ask{"選択した要素を削除しますか？", "境界線削除", MsgIcon::Question, MsgButtons::OkCancel, 0};
    if (c.ui.Show(ask) == MsgAnswer::Ok) {
        if (cut)
            DeleteSelectedCutLines(c.m, ed.SelFlags);
        else
            DeleteSelectedBndLines(c.m, ed.SelFlags);
    }
    ClearFlags(ed);
    ed.SelCount = 0;
    c.view.Refresh();
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

void add_lktn1(ToolContext& c, int Button, double x, double y) {
    EditorState& ed = c.ed;
    if (Button == kRight) {
        DropPicks(ed);
        c.view.Refresh();
        return;
    }
    // Picks go to PickPair 0 and 1 only.
    if (ed.SelCount < 0 || ed.SelCount > 1) DropPicks(ed);
    PickBndLine(c.m, ed, TwipsX(ed, x), TwipsY(ed, y));
    if (ed.SelIndex >= 0) {
        ed.PickPair[Idx(ed.SelCount)] = ed.SelIndex;
        SetFlag(ed, ed.SelIndex, 1);
        ++ed.SelCount;
        ed.SelIndex = -1;
        c.status.SetStatusText(1, "交点計算＞線分２を指定してください ");
        c.view.Refresh();
    }
    if (ed.SelCount != 2) return;
    const BoundaryPoint *a1, *a2, *b1, *b2;
    if (!LineEnds(c.m, ed.PickPair[0], a1, a2) || !LineEnds(c.m, ed.PickPair[1], b1, b2)) {
        DropPicks(ed);
        c.view.Refresh();
        return;
    }
    double X, Y;
    if (SegIntersect(a1->X, a1->Y, a2->X, a2->Y, b1->X, b1->Y, b2->X, b2->Y, X, Y) == -1)
        NoIntersection(c);
    else
        AddRounded(c, X, Y);
    // The first line stays picked for the next one.
    ClearFlags(ed);
    ed.SelCount = 1;
    SetFlag(ed, ed.PickPair[0], 1);
    ed.PickPair[1] = -1;
    c.view.Refresh();
}

void add_lktn2(ToolContext& c, int Button, double x, double y) {
    EditorState& ed = c.ed;
    if (Button == kRight) {
        DropPicks(ed);
        c.view.Refresh();
        return;
    }
    if (ed.SelCount < 0 || ed.SelCount > 1) DropPicks(ed);
    const bool line = ed.SelCount == 1;
    if (line)
        PickBndLine(c.m, ed, TwipsX(ed, x), TwipsY(ed, y));
    else
        ed.SelIndex = FindBndPt(c.m, x, y, 100.0);
    const i16 picked = ed.SelIndex;
    if (picked >= 0) {
        ed.PickPair[Idx(ed.SelCount)] = picked;
        if (line) {
            SetFlag(ed, picked, 1);
            ed.SelIndex = -1;  // a base point stays in SelIndex
        }
        ++ed.SelCount;
        c.status.SetStatusText(1, "交点計算＞交差する線分を指定してください ");
        c.view.Refresh();
    }
    if (ed.SelCount != 2) return;
    const BoundaryPoint *l1, *l2;
    if (!ValidPoint(c.m, ed.PickPair[0]) || !LineEnds(c.m, ed.PickPair[1], l1, l2)) {
        DropPicks(ed);
        c.view.Refresh();
        return;
    }
    const BoundaryPoint& p = c.m.BndPt[Idx(ed.PickPair[0])];
    constexpr double kFar = 9999999.999;
    double X = 0, Y = 0;
    i16 r = -1;
    switch (ed.cmd_mode) {
        case CmdMode::kVerticalThroughPoint: r = SegIntersect(p.X, -kFar, p.X, kFar, l1->X, l1->Y, l2->X, l2->Y, X, Y); break;
        case CmdMode::kHorizontalThroughPoint: r = SegIntersect(-kFar, p.Y, kFar, p.Y, l1->X, l1->Y, l2->X, l2->Y, X, Y); break;
        default:
            r = FootOfPerp(l1->X, l1->Y, l2->X, l2->Y, p.X, p.Y, X, Y);
            if (r != -1) c.view.Refresh();
            break;
    }
    if (r == -1)
        NoIntersection(c);
    else
        AddRounded(c, X, Y);
    // The base point stays picked for the next line.
    ClearFlags(ed);
    ed.SelCount = 1;
    ed.PickPair[1] = -1;
    c.view.Refresh();
}

}  // namespace kova
