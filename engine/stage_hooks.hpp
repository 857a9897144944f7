#pragma once
// Call points of the stage loop for the consolidation time. The defaults in
// stage_hooks_default.cpp do nothing; the consolidation time replaces them.
#include "engine/data.hpp"
#include "platform/message.hpp"

namespace kova::engine {

// Right after the column's final settlement of a loaded stage at a
// calculation position (st.work holds the column, its stress increases and
// the layer results), before the stage's results are stored in the history:
// fills st.work.column.cv / cv_pressure and the unit state st.units.
void stage_time_prepare(EngineState& st, double unloading, MessageSink& messages);

// After the stage's results are stored in history entry `entry` (0-based
// count of loaded stages so far; st.history.stage_number[entry] is the real
// stage number): turns the unit settlements into the stage's increments and
// records the stage timing of that entry with the loading start day and
// loading days of the stage.
void stage_time_record(EngineState& st, int entry, int start, int days);

}  // namespace kova::engine
