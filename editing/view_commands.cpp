#include "editing/view_commands.hpp"

#include <cstdlib>

#include "editing/mouse_tools.hpp"
#include "editing/view.hpp"

namespace kova {

namespace {

// A repaint in full with no tool drawing its guides or band: the scroll
// handlers run it with the zoom-in code as the tool.
void RepaintWithoutTool(EditorState& ed, CanvasView& view) {
    ed.SetOldMode(ed.cmd_mode);
    ed.cmd_mode = CmdMode::kZoomIn;
    view.Refresh();
    ed.cmd_mode = ed.old_mode;
    ed.SetOldMode(CmdMode::kNone);
}

i16 Clamp16(int v) { return static_cast<i16>(v < -32768 ? -32768 : (v > 32767 ? 32767 : v)); }

void ScrollChange(EditorState& ed, CanvasView& view, ScrollBar bar, int value) {
    if (ed.ViewScale < 0.00001) return;
    i16& stored = bar == ScrollBar::Horizontal ? ed.HScrollPos : ed.VScrollPos;
    const double d = std::abs(value - static_cast<int>(stored));
    const double metres = kPanStep / ed.ViewScale * d;
    if (bar == ScrollBar::Horizontal) ed.ViewLeftX += value > stored ? metres : -metres;
    else ed.ViewTopY += value > stored ? -metres : metres;  // down shows lower parts
    stored = Clamp16(value);
    RepaintWithoutTool(ed, view);

    // The inner move raises a change event that pans nothing (scale 0).
    if (stored <= kScrollMin || stored >= kScrollMax) {
        const int back = stored <= kScrollMin ? kScrollMin + 1 : kScrollMax - 1;
        const double scale = ed.ViewScale;
        ed.ViewScale = 0;
        view.SetScrollValue(bar, back);
        stored = static_cast<i16>(back);
        ed.ViewScale = scale;
    }
}

}  // namespace

void SetZoomInMode(EditorState& ed, CanvasView& view) { SwitchTool(ed, view, CmdMode::kZoomIn); }
void SetZoomOutMode(EditorState& ed, CanvasView& view) { SwitchTool(ed, view, CmdMode::kZoomOut); }

void ShowWholeView(const Model& m, EditorState& ed, CanvasView& view) {
    // The bars' change events (only when a value changes) pan nothing here:
    // the stored position is set first.
    ed.HScrollPos = 0;
    view.SetScrollValue(ScrollBar::Horizontal, 0);
    ed.VScrollPos = 0;
    view.SetScrollValue(ScrollBar::Vertical, 0);
    ed.SetOldMode(ed.Tool() ? ed.Tool()->AfterWholeView(ed) : ed.old_mode);
    ed.cmd_mode = CmdMode::kNone;
    FitView(m, ed);
    view.SetCursor(CanvasCursor::Arrow);
    view.SetToolbarButtonPressed(kToolWholeView, false);
    // Leaving a zoom tool releases its button too.
    view.SetToolbarButtonPressed(kToolZoomIn, false);
    view.SetToolbarButtonPressed(kToolZoomOut, false);
    view.Refresh();
    ed.cmd_mode = ed.old_mode;
    ed.SetOldMode(CmdMode::kNone);
    view.Refresh();
}

void hsb_gm_Change(EditorState& ed, CanvasView& view, int value) {
    ScrollChange(ed, view, ScrollBar::Horizontal, value);
}
void vsb_gm_Change(EditorState& ed, CanvasView& view, int value) { ScrollChange(ed, view, ScrollBar::Vertical, value); }

}  // namespace kova
