#pragma once
// Tools 1 and 2: zoom in or out about a click; the right button returns to
// the tool the zoom interrupted.
#include "editing/tools/tool_support.hpp"
#include "editing/view.hpp"

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
