#pragma once
// The edits a canvas click makes on the section: picking, deleting and
// registering blocks, picking lines, adding a line of a chain. Clicks come
// in canvas twips in single precision, as the tools pass them.
#include "editor/core/canvas_view.hpp"
#include "editor/core/editor_state.hpp"
#include "model/boundary.hpp"
#include "platform/message.hpp"

namespace kova {

// The right mouse button; any other button acts as the left one.
inline constexpr i16 kRightButton = 2;

// Find the block nearest to the click in the group, mark it and switch to
// the matching re-shape tool (14, 15, 16), PickPair = {kind, index}. The
// right button only repaints.
void PickBlock(Model& m, EditorState& ed, CanvasView& view, i16 Button, float X, float Y, i16 Group);

// Find the block nearest to the click in the group, mark it, ask, and on OK
// delete it (soil layers take their per-layer rows along).
void DeleteBlock(Model& m, EditorState& ed, CanvasView& view, MessageSink& ui, i16 Button, float X, float Y, i16 Group);

// The nearest boundary line (terrain line when `cut`) to a canvas click
// into SelIndex.
void PickLine(const Model& m, EditorState& ed, float X, float Y, bool cut = false);

// Tools 5, 6, 14, 15: trace the region around the click over BndLine and
// store it as a new embankment or soil layer, or as the new outline of the
// picked one. The right button leaves a re-shape tool. Tools 10 and 16
// (`cut`): the same over CutLine for cuts.
void RegisterBlock(Model& m, EditorState& ed, CanvasView& view, MessageSink& ui, i16 Button, float X, float Y,
                   bool cut = false);

// Appends the line P1-P2 to BndLine (cmd_mode 3) or CutLine (cmd_mode 8)
// unless it is there already, and draws it at once on the canvas (light
// cyan for boundary lines, light green for terrain lines).
AddLineResult AddBndLine(Model& m, const EditorState& v, CanvasView& canvas, MessageSink& ui, i16 P1, i16 P2);

}  // namespace kova
