#pragma once
// Tools 1 and 2: zoom in or out about a click; the right button returns to
// the tool the zoom interrupted.
#include <algorithm>
#include <utility>

#include "editing/tools/tool_support.hpp"
#include "editing/view.hpp"

namespace kova {

// Canvas click in the zoom tools (cmd_mode 1 in, 2 out). Button 2 leaves
// the tool; any other button zooms about the clicked point (only when there
// are boundary points), keeping the scale within [20, 5000].
inline void ZoomAtPoint(const Model& m, EditorState& v, CanvasView& canvas, int button, double X, double Y) {
    if (button == 2) {
        // Back to the tool the zoom interrupted (none when it was no edit
        // tool) through the tool table, which ends the zoom.
        const int back = v.old_mode < CmdMode::kBoundaryLines ? CmdMode::kNone : v.old_mode;
        SwitchTool(v, canvas, back);
        v.repaintFullyOnce = back != CmdMode::kNone;
        canvas.SetToolbarButtonPressed(kToolWholeView, false);
        canvas.Refresh();
        return;
    }
    if (m.BndPtCount <= 0) return;

    double cx, cy;
    CanvasToModel(v, X, Y, cx, cy);
    double scale = v.ViewScale * (v.cmd_mode == CmdMode::kZoomIn ? 1.35 : 0.741);
    if (scale > 5000) scale = 5000;
    if (!(scale >= 20)) scale = 20;
    v.ViewScale = scale;
    v.ViewLeftX = cx - (v.CanvasWidth / 2.0) / scale;
    v.ViewTopY = cy + (v.CanvasHeight / 2.0) / scale;

    // The bars' change handlers pan nothing while the scale is near zero.
    v.ViewScale = 0;
    for (auto [bar, pos] : {std::pair(ScrollBar::Horizontal, &v.HScrollPos), {ScrollBar::Vertical, &v.VScrollPos}})
        *pos = static_cast<i16>(std::clamp(canvas.SetScrollValue(bar, 0), -32768, 32767));
    v.ViewScale = scale;
    canvas.Refresh();
}

}  // namespace kova

namespace kova::tools {

class ZoomTool : public CanvasTool {
public:
    using CanvasTool::CanvasTool;
    void Activate(EditorState& ed, CanvasView& view, StatusPanels*, int from) override {
        view.SetCursor(CanvasCursor::Zoom);
        // A zoom tool replacing the other keeps the tool saved before it.
        if (from > CmdMode::kZoomOut) ed.SetOldMode(from);
        view.SetToolbarButtonPressed(kToolZoomIn, mode_ == CmdMode::kZoomIn);
        view.SetToolbarButtonPressed(kToolZoomOut, mode_ == CmdMode::kZoomOut);
    }
    void Deactivate(EditorState& ed, CanvasView& view, int to, bool chosen) override {
        if (to == CmdMode::kZoomIn || to == CmdMode::kZoomOut) return;
        // A tool chosen during a zoom replaces it: nothing to return to, and
        // the picks of the tool it interrupted go.
        view.SetCursor(CanvasCursor::Arrow);
        view.SetToolbarButtonPressed(kToolZoomIn, false);
        view.SetToolbarButtonPressed(kToolZoomOut, false);
        if (chosen) DropPicks(ed, view);
        ed.SetOldMode(CmdMode::kNone);
    }
    int AfterWholeView(const EditorState& ed) const override { return ed.old_mode; }
    // The picks are those of the tool the zoom interrupted.
    void DropPicks(EditorState& ed, CanvasView& view) override {
        if (ed.old_mode > CmdMode::kZoomOut) DropToolPicks(ed, view, ed.old_mode);
    }
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

}  // namespace kova::tools
