#pragma once
// Tool 17: a new boundary point where two picked boundary lines cross.
#include "editing/section_clicks.hpp"
#include "editing/tools/tool_support.hpp"
#include "model/geometry.hpp"

namespace kova::tools {

class TwoLinesTool : public CanvasTool {
public:
    using CanvasTool::CanvasTool;
    const char* Prompt() const override { return "交点計算＞線分１を指定してください"; }
    bool ExtendsPickedLines() const override { return true; }
    bool MarksLines() const override { return true; }
    void Press(ToolContext& c, const CanvasInput& in) override {
        EditorState& ed = c.ed;
        ToolPicks& p = picks;
        if (RightDropsPair(c, p, in)) return;
        p.point = PickLine(c.m, ed, TwipsX(ed, in.x), TwipsY(ed, in.y));
        if (p.point >= 0) {
            p.pair[Idx(p.step)] = p.point;
            SetFlag(ed, p.point, 1);
            ++p.step;
            p.point = -1;
            c.status.SetStatusText(1, "交点計算＞線分２を指定してください ");
            c.view.Refresh();
        }
        if (p.step != 2) return;
        const BoundaryPoint *a1, *a2, *b1, *b2;
        if (!LineEnds(c.m, p.pair[0], a1, a2) || !LineEnds(c.m, p.pair[1], b1, b2)) return DropPairAndRepaint(c, p);
        double X, Y;
        const i16 r = SegIntersect(a1->X, a1->Y, a2->X, a2->Y, b1->X, b1->Y, b2->X, b2->Y, X, Y);
        AddIntersection(c, r != -1, X, Y);
        // The first line stays picked for the next one.
        ClearFlags(ed);
        p.step = 1;
        SetFlag(ed, p.pair[0], 1);
        p.pair[1] = -1;
        c.view.Refresh();
    }
};

}  // namespace kova::tools
