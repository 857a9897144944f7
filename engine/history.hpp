#pragma once
// Bookkeeping of the calculation position being computed: the column's
// working fields, the unit state and the per-stage history.
#include "engine/data.hpp"

namespace kova::engine {

// Unit count 0 and every unit slot zero.
void clear_stage_totals(UnitState& units);
// Column count 0 and every slot's layer, levels, overburden and cv zero; the
// stress increases stay.
void clear_layer_results(SoilColumn& col);
// Stress increase of every slot zero.
void clear_stress_increments(SoilColumn& col);

// Starts the history of a position from the column just built: the whole
// history and the stage timing are cleared first, so nothing of an earlier
// position remains.
void begin_point_history(EngineState& st, double unloading);

// Opens history entry `entry` (the next one) for real stage `stage` with the
// column's present stress increases.
void snapshot_stage_stress(EngineState& st, int entry, int stage);

// Copies the layer results of the column's final settlement into entry
// `entry` by each layer's method, with cv and its pressure, and the column
// total s.
void store_stage_settlement(EngineState& st, int entry, double s);
// After store_stage_settlement: which layers keep an earlier stage's larger
// settlement, `own` being what the entry's formula gave each slot.
void mark_kept_settlement(EngineState& st, int entry, const std::array<double, kColumnSlots>& own);

}  // namespace kova::engine
