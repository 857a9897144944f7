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
    unsigned OwnPicks() const override { return Picks::kPoint | Picks::kLines | Picks::kPair; }
    void Press(ToolContext& c, const CanvasInput& in) const override {
        EditorState& ed = c.ed;
        if (RightDropsPicks(c, in)) return;
        ed.SelIndex = PickLine(c.m, ed, TwipsX(ed, in.x), TwipsY(ed, in.y));
        if (ed.SelIndex >= 0) {
            ed.PickPair[Idx(ed.PickStep)] = ed.SelIndex;
            SetFlag(ed, ed.SelIndex, 1);
            ++ed.PickStep;
            ed.SelIndex = -1;
            c.status.SetStatusText(1, "交点計算＞線分２を指定してください ");
            c.view.Refresh();
        }
        if (ed.PickStep != 2) return;
        const BoundaryPoint *a1, *a2, *b1, *b2;
        if (!LineEnds(c.m, ed.PickPair[0], a1, a2) || !LineEnds(c.m, ed.PickPair[1], b1, b2))
            return DropPicksAndRepaint(c);
        double X, Y;
        const i16 r = SegIntersect(a1->X, a1->Y, a2->X, a2->Y, b1->X, b1->Y, b2->X, b2->Y, X, Y);
        AddIntersection(c, r != -1, X, Y);
        // The first line stays picked for the next one.
        ClearFlags(ed);
        ed.PickStep = 1;
        SetFlag(ed, ed.PickPair[0], 1);
        ed.PickPair[1] = -1;
        c.view.Refresh();
    }
};

}  // namespace kova::tools
