#pragma once
// Vertical stress increase at the mid-depth of every layer of the column
// under embankments and surcharge loads. Each function adds to col.dp.
#include <array>

#include "engine/data.hpp"

namespace kova::engine {

// True when the straight path from (rx, ry) to (x, zm) crosses a wall.
bool path_blocked(const CalcInput& in, double rx, double ry, double x, double zm);

// The pieces of load block `block` as strip loads.
BlockLoad prepare_block_load(const CalcInput& in, const PieceSet& pieces, int block);

void embankment_stress(const CalcInput& in, const BlockLoad& load, double x, SoilColumn& col);
// The mid-depths of the column's layers, as the stress functions use them.
using MidDepths = std::array<double, kColumnSlots>;
MidDepths mid_depths(const SoilColumn& col);
// embankment_stress with the column's mid-depths worked out beforehand.
void embankment_stress(const CalcInput& in, const BlockLoad& load, double x, const MidDepths& zm, SoilColumn& col);
// The same from the pieces (prepares them on every call).
void embankment_stress(const CalcInput& in, const PieceSet& pieces, int block, double x, SoilColumn& col);
void point_load_stress(const CalcInput& in, int load, double x, SoilColumn& col);
void line_load_stress(const CalcInput& in, int load, double x, SoilColumn& col);
void strip_load_stress(const CalcInput& in, int load, double x, SoilColumn& col);

}  // namespace kova::engine
