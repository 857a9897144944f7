#pragma once
// The mapping between model metres and canvas twips, and fitting the view to
// the boundary points (the zoom tool zooms about a click).
#include "editing/canvas_view.hpp"
#include "editing/editor_state.hpp"

namespace kova {

// Truncates toward zero into a 32-bit integer; false (out untouched) when v
// is not finite or lies outside the 32-bit range.
bool TruncToInt(double v, int& out);

// Canvas position (twips) of a model point, each coordinate truncated toward
// zero. False when a coordinate does not fit a 32-bit integer.
bool ModelToCanvas(const EditorState& v, double X, double Y, int& x, int& y);

// Model point of a canvas position.
void CanvasToModel(const EditorState& v, double x, double y, double& X, double& Y);

// Fits the view to all boundary points with a margin, then SetViewScale.
// Does not repaint.
void FitView(const Model& m, EditorState& v);

// Scale from the view rectangle (the smaller of the two axis scales, at
// least 1), and the rectangle re-centred with the canvas's proportions.
void SetViewScale(EditorState& v);

}  // namespace kova
