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
    bool MarksLines() const override { return true; }
    void DrawGuides(const Model& m, GuidePainter& g) const override {
        if (!ValidPoint(m, picks.PickPair[0])) return;
        const BoundaryPoint& p = m.BndPt[Idx(picks.PickPair[0])];
        const bool foot = mode_ == CmdMode::kFootOfPerpendicular;
        if (mode_ == CmdMode::kHorizontalThroughPoint || (foot && picks.PickStep != 2))
            g.DottedLine(-1000, p.Y, 1000, p.Y);
        if (mode_ == CmdMode::kVerticalThroughPoint || (foot && picks.PickStep != 2))
            g.DottedLine(p.X, -1000, p.X, 1000);
        const BoundaryPoint *a, *b;
        if (!foot || picks.PickStep != 2 || !LineEnds(m, picks.PickPair[1], a, b)) return;
        double fx, fy, e1x, e1y, e2x, e2y;
        if (FootOfPerp(a->X, a->Y, b->X, b->Y, p.X, p.Y, fx, fy) == -1) return;
        // A base point on the line has no perpendicular to show.
        if (ExtendSeg(p.X, p.Y, fx, fy, 1000, e1x, e1y) == -1) return;
        ExtendSeg(fx, fy, p.X, p.Y, 1000, e2x, e2y);
        g.DottedLine(e1x, e1y, e2x, e2y);
    }
    void Press(ToolContext& c, const CanvasInput& in) override {
        EditorState& ed = c.ed;
        ToolPicks& pk = picks;
        if (RightDropsPair(c, pk, in)) return;
        const bool line = pk.PickStep == 1;
        if (line) pk.SelIndex = PickLine(c.m, ed, TwipsX(ed, in.x), TwipsY(ed, in.y));
        else pk.SelIndex = FindBndPt(c.m, in.x, in.y, 100.0);
        const i16 picked = pk.SelIndex;
        if (picked >= 0) {
            pk.PickPair[Idx(pk.PickStep)] = picked;
            if (line) {
                SetFlag(ed, picked, 1);
                pk.SelIndex = -1;  // a base point stays in point
            }
            ++pk.PickStep;
            c.status.SetStatusText(1, "交点計算＞交差する線分を指定してください ");
            c.view.Refresh();
        }
        if (pk.PickStep != 2) return;
        const BoundaryPoint *l1, *l2;
        if (!ValidPoint(c.m, pk.PickPair[0]) || !LineEnds(c.m, pk.PickPair[1], l1, l2))
            return DropPairAndRepaint(c, pk);
        const BoundaryPoint& p = c.m.BndPt[Idx(pk.PickPair[0])];
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
        pk.PickStep = 1;
        pk.PickPair[1] = -1;
        c.view.Refresh();
    }
};

}  // namespace kova::tools
