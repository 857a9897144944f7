#pragma once
// Helpers shared by the per-position report and its time-settlement graph.
#include <array>

#include "engine/data.hpp"

namespace kova::engine {

// Number of consolidation units of the position (0 when no stage had loads:
// the stage timing then holds nothing of this position).
int point_unit_count(const EngineState& st);

// The overall time table of every unit of the position (what the report's
// table shows; nothing for a unit of a non-consolidating method); returns
// the longest day of them, which write_point_report passes to
// draw_time_settlement.
int overall_time_tables(const EngineState& st, std::array<std::array<TableEntry, 9>, kMaxUnits>& out);

// Days of the time axis: 100 more than the longest time, in whole hundreds,
// the longest time bounded to the search horizon.
int time_axis_days(int longestTime);
// Length of the settlement axis (m): at least 0.2.
double settlement_axis_metres(double T);

}  // namespace kova::engine
