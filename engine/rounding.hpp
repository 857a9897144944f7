#pragma once
// The engine's names for rounding to a step and for the segment crossing it
// uses for block outlines and barrier walls (rules/ holds both).
#include "rules/segments.hpp"

namespace kova::engine {

using Pt = rules::Pt;

// Rounds value to a multiple of step (> 0). Mode 0 rounds halves to the even
// neighbour, 1 down, 2 up, 3 and others by the first decimal, 9 not at all.
// A zero result is +0, and a non-finite value is returned untouched.
double round_to_step(double value, double step, int mode);

// Cross product of the vectors p1->p2 and q1->q2.
inline double cross_product(Pt p1, Pt p2, Pt q1, Pt q2) { return rules::CrossProduct(p1, p2, q1, q2); }

// Crossing of the lines through a-b and c-d, written to out ((0, 0) for
// parallel lines). Returns -1 for parallel lines, otherwise 0 plus 1 when
// the crossing lies off a-b plus 2 when it lies off c-d (the ends count as
// on the segment).
inline int intersect_segments(Pt a, Pt b, Pt c, Pt d, Pt& out) {
    out = Pt{0, 0};
    return rules::IntersectSegments(a, b, c, d, out);
}

}  // namespace kova::engine
