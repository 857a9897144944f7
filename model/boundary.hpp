#pragma once
// Boundary points and the two line tables.
#include "model/canvas_view.hpp"
#include "model/model.hpp"
#include "platform/message.hpp"

namespace kova {

// Index of the boundary point nearest to (X, Y) within Tol, or -1. A point
// exactly at Tol is found; of equally near points the last wins; Tol 0
// finds only exact matches.
i16 FindBndPt(const Model& m, double X, double Y, double Tol);

// At most this many lines may meet at one boundary point (the size of a
// point's Link list).
inline constexpr int kMaxLinesAtPoint = kMaxLinks;

enum class AddLineResult {
    Added,    // appended and drawn
    Exists,   // the table already holds the line, in either direction
    Ignored,  // cmd_mode is neither 3 nor 8
    Refused,  // table full, a line from a point to itself, a point with 9 lines
              // or an index that names no point; the user has been told
};

// Appends the line P1-P2 to BndLine (cmd_mode 3) or CutLine (cmd_mode 8)
// unless it is there already, and draws it at once on the canvas (light
// cyan for boundary lines, light green for terrain lines).
AddLineResult AddBndLine(Model& m, const EditorState& v, CanvasView& canvas, MessageSink& ui, i16 P1, i16 P2);

// Keeps the point numbers of both line tables right after points were
// inserted into or deleted from the point table. Kind 1: Delta points were
// inserted before old point First; Kind 2: points First..First+Delta-1 were
// deleted, and every line touching them is removed. Other kinds, or a
// First or Delta out of range, do nothing.
void RenumberLinePoints(Model& m, i16 First, i16 Delta, i16 Kind);

// Remove every entry whose SelFlags entry is 1 (greater than 0), keeping the
// others in their order; return the new count. The caller clears the
// selection afterwards.
i16 DeleteSelectedBndLines(Model& m, const EditorState& v);
i16 DeleteSelectedCutLines(Model& m, const EditorState& v);

// Canvas colours of the two line kinds (16-colour palette).
inline constexpr int kColourBndLine = 11;  // light cyan
inline constexpr int kColourCutLine = 10;  // light green

}  // namespace kova
