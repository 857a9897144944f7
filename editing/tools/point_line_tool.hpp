#pragma once
// Tools 18, 19, 20: a base point, then lines: a new boundary point where the
// vertical, the horizontal through the point, or the foot of its
// perpendicular meets each line. The guides show the way through the point.
#include "editing/section_clicks.hpp"
#include "editing/tools/tool_support.hpp"
#include "model/geometry.hpp"

namespace kova::tools {

class PointLineTool : public CanvasTool {
public:
    using CanvasTool::CanvasTool;
    const char* Prompt() const override { return "交点計算＞基準点を指定してください"; }
    bool ExtendsPickedLines() const override { return true; }
    unsigned OwnPicks() const override { return Picks::kPoint | Picks::kLines | Picks::kPair; }
    void DrawGuides(const Model& m, const EditorState& ed, GuidePainter& g) const override {
        if (!ValidPoint(m, ed.PickPair[0])) return;
        const BoundaryPoint& p = m.BndPt[Idx(ed.PickPair[0])];
        const bool foot = mode_ == CmdMode::kFootOfPerpendicular;
        if (mode_ == CmdMode::kHorizontalThroughPoint || (foot && ed.PickStep != 2))
            g.DottedLine(-1000, p.Y, 1000, p.Y);
        if (mode_ == CmdMode::kVerticalThroughPoint || (foot && ed.PickStep != 2)) g.DottedLine(p.X, -1000, p.X, 1000);
        const BoundaryPoint *a, *b;
        if (!foot || ed.PickStep != 2 || !LineEnds(m, ed.PickPair[1], a, b)) return;
        double fx, fy, e1x, e1y, e2x, e2y;
        if (FootOfPerp(a->X, a->Y, b->X, b->Y, p.X, p.Y, fx, fy) == -1) return;
        // A base point on the line has no perpendicular to show.
        if (ExtendSeg(p.X, p.Y, fx, fy, 1000, e1x, e1y) == -1) return;
        ExtendSeg(fx, fy, p.X, p.Y, 1000, e2x, e2y);
        g.DottedLine(e1x, e1y, e2x, e2y);
    }
    void Press(ToolContext& c, const CanvasInput& in) const override {
        EditorState& ed = c.ed;
        if (RightDropsPicks(c, in)) return;
        const bool line = ed.PickStep == 1;
        if (line) ed.SelIndex = PickLine(c.m, ed, TwipsX(ed, in.x), TwipsY(ed, in.y));
        else ed.SelIndex = FindBndPt(c.m, in.x, in.y, 100.0);
        const i16 picked = ed.SelIndex;
        if (picked >= 0) {
            ed.PickPair[Idx(ed.PickStep)] = picked;
            if (line) {
                SetFlag(ed, picked, 1);
                ed.SelIndex = -1;  // a base point stays in SelIndex
            }
            ++ed.PickStep;
            c.status.SetStatusText(1, "交点計算＞交差する線分を指定してください ");
            c.view.Refresh();
        }
        if (ed.PickStep != 2) return;
        const BoundaryPoint *l1, *l2;
        if (!ValidPoint(c.m, ed.PickPair[0]) || !LineEnds(c.m, ed.PickPair[1], l1, l2)) return DropPicksAndRepaint(c);
        const BoundaryPoint& p = c.m.BndPt[Idx(ed.PickPair[0])];
        constexpr double kFar = 9999999.999;
        double X = 0, Y = 0;
        i16 r = -1;
        switch (mode_) {
        case CmdMode::kVerticalThroughPoint:
            r = SegIntersect(p.X, -kFar, p.X, kFar, l1->X, l1->Y, l2->X, l2->Y, X, Y);
            break;
        case CmdMode::kHorizontalThroughPoint:
            r = SegIntersect(-kFar, p.Y, kFar, p.Y, l1->X, l1->Y, l2->X, l2->Y, X, Y);
            break;
        default:
            r = FootOfPerp(l1->X, l1->Y, l2->X, l2->Y, p.X, p.Y, X, Y);
            if (r != -1) c.view.Refresh();
            break;
        }
        AddIntersection(c, r != -1, X, Y);
        // The base point stays picked for the next line.
        ClearFlags(ed);
        ed.PickStep = 1;
        ed.PickPair[1] = -1;
        c.view.Refresh();
    }
};

}  // namespace kova::tools
