#pragma once
// Boundary points and the two line tables.
#include <span>

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
inline constexpr const char* kTooManyLinesAtPoint = "1つの境界点に接続できる線は9本までです。";

enum class AddLineResult {
    Added,    // appended
    Exists,   // the table already holds the line, in either direction
    Refused,  // table full, a line from a point to itself, a point with 9 lines
              // or an index that names no point; the user has been told
};

// Appends the line P1-P2 to BndLine (CutLine when `cut`) unless it is
// there already.
AddLineResult AppendLine(Model& m, bool cut, MessageSink& ui, i16 P1, i16 P2);

// Keeps the point numbers of both line tables right after points were
// inserted into or deleted from the point table. Kind 1: Delta points were
// inserted before old point First; Kind 2: points First..First+Delta-1 were
// deleted, and every line touching them is removed. Other kinds, or a
// First or Delta out of range, do nothing.
void RenumberLinePoints(Model& m, i16 First, i16 Delta, i16 Kind);

// Remove every entry whose flag is 1 (greater than 0), keeping the others
// in their order; return the new count. The caller clears the selection
// afterwards.
i16 DeleteSelectedBndLines(Model& m, std::span<const i16> flags);
i16 DeleteSelectedCutLines(Model& m, std::span<const i16> flags);

// Canvas colours of the two line kinds (16-colour palette).
inline constexpr int kColourBndLine = 11;  // light cyan
inline constexpr int kColourCutLine = 10;  // light green

}  // namespace kova
