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
        p.SelIndex = PickLine(c.m, ed, TwipsX(ed, in.x), TwipsY(ed, in.y));
        if (p.SelIndex >= 0) {
            p.PickPair[Idx(p.PickStep)] = p.SelIndex;
            SetFlag(ed, p.SelIndex, 1);
            ++p.PickStep;
            p.SelIndex = -1;
            c.status.SetStatusText(1, "交点計算＞線分２を指定してください ");
            c.view.Refresh();
        }
        if (p.PickStep != 2) return;
        const BoundaryPoint *a1, *a2, *b1, *b2;
        if (!LineEnds(c.m, p.PickPair[0], a1, a2) || !LineEnds(c.m, p.PickPair[1], b1, b2))
            return DropPairAndRepaint(c, p);
        double X, Y;
        const i16 r = SegIntersect(a1->X, a1->Y, a2->X, a2->Y, b1->X, b1->Y, b2->X, b2->Y, X, Y);
        AddIntersection(c, r != -1, X, Y);
        // The first line stays picked for the next one.
        ClearFlags(ed);
        p.PickStep = 1;
        SetFlag(ed, p.PickPair[0], 1);
        p.PickPair[1] = -1;
        c.view.Refresh();
    }
};

}  // namespace kova::tools
