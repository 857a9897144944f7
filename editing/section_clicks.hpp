#pragma once
// The edits a canvas click makes on the section: picking, deleting and
// registering blocks, picking lines, adding a line of a chain. Clicks come
// in canvas twips in single precision, as the tools pass them; `ed` gives
// only the view: an edit changes no pick but the one it is handed.
#include "editing/canvas_view.hpp"
#include "editing/editor_state.hpp"
#include "model/blocks.hpp"
#include "model/boundary.hpp"
#include "platform/message.hpp"

namespace kova {

// The right mouse button; any other button acts as the left one.
inline constexpr i16 kRightButton = 2;

// Find the block nearest to the click in the group and mark it; returns it
// (index -1: none). The right button only repaints and finds none.
BlockRef PickBlock(const Model& m, const EditorState& ed, CanvasView& view, i16 Button, float X, float Y, i16 Group);

// Find the block nearest to the click in the group, mark it, ask, and on OK
// delete it (soil layers take their per-layer rows along). `picked` keeps
// the block asked about unless it was deleted.
void DeleteBlock(Model& m, const EditorState& ed, CanvasView& view, MessageSink& ui, i16& picked, i16 Button, float X,
                 float Y, i16 Group);

// The nearest boundary line (terrain line when `cut`) to a canvas click;
// -1 for none.
i16 PickLine(const Model& m, const EditorState& ed, float X, float Y, bool cut = false);

// Trace the region around the click over BndLine (CutLine for a cut) and
// store it as a new block of `kind`, or, with `reshape`, as the new outline
// of its block `index`. `picked`: the last line traced, until a block is stored.
void RegisterBlock(Model& m, const EditorState& ed, CanvasView& view, MessageSink& ui, i16& picked, float X, float Y,
                   i16 kind, bool reshape = false, i16 index = -1);

// Appends the line P1-P2 to BndLine (CutLine when `cut`) unless it is there
// already, and draws it at once on the canvas (light cyan for boundary
// lines, light green for terrain lines).
AddLineResult AddBndLine(Model& m, const EditorState& v, CanvasView& canvas, MessageSink& ui, i16 P1, i16 P2,
                         bool cut);

}  // namespace kova
