#pragma once
// Final consolidation settlement of a soil column by each layer's method.
#include "engine/data.hpp"

namespace kova::engine {

// Value of a curve at pressure p: semi-logarithmic interpolation (e-logP and
// sand curves) or logarithmic in both axes (Mv curves). Below the first
// point the first value holds, above the last the last; an empty curve is 0.
// Where a logarithm cannot be formed the value of the segment's start holds.
double curve_semilog(const CurveRec& c, double p);
double curve_loglog(const CurveRec& c, double p);

// Sand curve number (1..5) for an N value.
int sand_curve_for(int n_value);

// Final settlement of the column (m, positive downwards) under its stress
// increases, with the cut unloading u; fills the layer results (cleared
// first).
double column_settlement(const CalcInput& in, const SoilColumn& col, LayerResults& res, double u);

// The settlement of column slot `slot` by `method` (after beta).
double layer_settlement(const LayerResults& res, int slot, int method);

// Whether the load on column slot `slot` increases: its stress increase
// exceeds the cut unloading u by a thousandth at least. Only such a layer
// settles; one whose load does not increase keeps 0 (no rebound).
bool layer_loaded(const SoilColumn& col, int slot, double u);

// The settlement of column slot i as column_settlement counts it (0 for a
// layer its method leaves unsettled).
double slot_settlement(const CalcInput& in, const SoilColumn& col, const LayerResults& res, int i);

// No rebound: a layer keeps the largest settlement it has reached. Raises
// the settlement of every slot below reached[i] (an earlier stage's, the
// same column) to it and returns the column's settlement again; sum
// unchanged when nothing was raised. So a stage that removes load (a
// negative load, or one whose stresses fall) takes nothing back.
double keep_reached_settlement(const CalcInput& in, const SoilColumn& col, LayerResults& res,
                               const std::array<double, kColumnSlots>& reached, double sum);

}  // namespace kova::engine
