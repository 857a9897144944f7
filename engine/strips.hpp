#pragma once
// Division of embankment polygons into vertical strips of triangles and
// rectangles whose signed heights add up to the fill thickness, and the
// small polygon routines of the section drawings.
#include "engine/data.hpp"
#include "platform/message.hpp"

namespace kova::engine {

inline constexpr int kMaxDivisionVertices = 200;

// Divides the polygon with n vertices (metres, x right, y up, no repeated
// closing vertex; any orientation) into out. The arrays are used as working
// copies and overwritten. Returns false after showing " ERROR:ブロック分割 "
// when no strip can be cut; out then holds the pieces found so far. Shows its
// message and throws RunAborted when the division needs 100 pieces.
bool divide_load_polygon(double* x, double* y, int n, PieceSet& out, MessageSink& messages);

// Divides every load block of the input into pieces, kept as loads in
// st.block_loads.
void divide_all_blocks(EngineState& st, MessageSink& messages);

// Where c lies against [a, b] with tolerance 0.0001: 1 at a, 3 at b, 0 left
// of a, 2 inside, 4 right of b.
int classify_in_interval(double a, double b, double c);

// Shows the piece-limit message and throws RunAborted when count >= 100.
void check_division_limit(int count, MessageSink& messages);

// Extent of the section: soil layers, load blocks and loads (with the load
// arrows), widened by 1 m on every side.
void section_bounds(const CalcInput& in, double& xmax, double& xmin, double& ymax, double& ymin);

// 1 when the lowest vertex's successor direction turns below its
// predecessor direction, else 0. The arrays carry the first vertex again at
// index n.
int polygon_is_clockwise(const double* x, const double* y, int n);

// 0 inside, 1 outside, 2 on the outline (arrays closed at index n; reverse
// walks the vertices backwards).
int point_in_polygon(double px, double py, const double* x, const double* y, int n, int reverse);

}  // namespace kova::engine
