#pragma once
// The commands that change what part of the section the canvas shows: the
// two zoom tools, the whole view, and panning with the endless scroll bars.
// The zoom clicks themselves are ZoomAtPoint (editing/tools/zoom_tool.hpp).
#include "editing/canvas_view.hpp"
#include "editing/editor_state.hpp"

namespace kova {

// Both bars run from -100 to 100 and are set back one step before they rest
// at an end, so every click pans further.
inline constexpr int kScrollMin = -100;
inline constexpr int kScrollMax = 100;
// Canvas twips panned per unit of scroll-bar value.
inline constexpr double kPanStep = 200;

// Enter the zoom-in (zoom-out) tool, keeping an interrupted edit tool in
// old_mode.
void SetZoomInMode(EditorState& ed, CanvasView& view);
void SetZoomOutMode(EditorState& ed, CanvasView& view);

// Fit the view to all points and repaint; leaves a zoom tool (back to the
// edit tool it interrupted, or none) and keeps an edit tool.
void ShowWholeView(const Model& m, EditorState& ed, CanvasView& view);

// The change events of the bars with their new value: pan by the difference
// from the value last handled, repaint in full, wrap before an end.
void hsb_gm_Change(EditorState& ed, CanvasView& view, int value);
void vsb_gm_Change(EditorState& ed, CanvasView& view, int value);

}  // namespace kova
