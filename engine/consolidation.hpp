#pragma once
// Consolidation in time: Terzaghi's one-dimensional theory, Barron's radial
// consolidation towards vertical drains with the well-resistance term, and
// the correction for a load that is applied linearly over a loading period.
//
// Coefficients are in m2/day, lengths in m, times in days. A coefficient or
// a length of 0 (a layer without a Cv curve, a unit of sand) means the unit
// does not consolidate in time: it never settles and has no day for any
// degree, rather than dividing by zero.
#include <optional>
#include <vector>

#include "engine/data.hpp"
#include "platform/message.hpp"

namespace kova::engine {

// Vertical drains of a soil layer as entered (kind 0 none, 1 triangular
// pattern, 2 square pattern).
struct DrainData {
    int kind = 0;
    double spacing = 0;             // d (m)
    double diameter = 0;            // dw (m)
    double alpha = 0;               // Ch = alpha * Cv
    double permeability_ratio = 0;  // kc/kw, for the well resistance
};

// Diameter of the drain's influence area: 1.05 d (triangular) or 1.128 d
// (square), to 0.001 m; 0 for any other kind.
double effective_diameter(int kind, double spacing);

// Whether a layer's drains take part in the calculation, by the rule the
// ground-improvement dialog also checks (rules/drain_rule.hpp): kind 1 or 2,
// d > 0, dw > 0, de/dw > 1 (so that F(n) exists), alpha > 0 and kc/kw >= 0.
// Layers that fail it are computed without drains.
bool drains_valid(const DrainData& drain);

struct DrainFactors {
    double F = 0;  // Barron's ideal-drain function F(n)
    double L = 0;  // well-resistance term
};

// F(n) and the well-resistance term for a drain of length l (the unit's
// converted thickness). Both 0 unless the drains are valid.
DrainFactors drain_factors(const DrainData& drain, double length);

// Average degree of vertical consolidation for time factor Tv (21 terms of
// the series, also at Tv = 0, where the rounded time factor of a small
// positive time lands); 0 for a negative Tv.
double degree_consolidation_vertical(double Tv);

// Average degree of radial consolidation 1 - exp(-8 Th / (F + 0.8 L)).
double degree_consolidation_radial(double Th, double F, double L);

// c t / H^2 to 0.001; 0 when c or H is not positive.
double time_factor(double c, double H, double t);

// H^2 T / c in whole days; no value when c or H is not positive or the day
// does not fit an int.
std::optional<int> time_from_factor(double T, double c, double H);

// Part of a load x that is in place on day t when it is applied linearly
// from day start over period days.
double ramp_load_fraction(int t, double x, int start, int period);

// One consolidation unit under the load of one stage.
struct UnitStage {
    double coefficient = 0;   // cv, or ch with drains (m2/day)
    double drain_length = 0;  // drainage length, or de with drains (m)
    double settlement = 0;    // final settlement added by the stage (m)
    bool drained = false;     // drains valid for the unit
    DrainFactors factors;     // used only when drained
    int start = 0;            // loading start day
    int period = 0;           // loading days
};

// Whether the unit consolidates at all under this stage.
bool consolidates(const UnitStage& u);

// Degree of consolidation of the unit after t days of a load applied at
// once (radial with drains, vertical without).
double unit_degree(const UnitStage& u, double t);

// Settlement of the unit on day t from this stage's load.
double settlement_at_time(int t, const UnitStage& u);

// settlement_at_time of one stage for curves that ask for every day, with
// what stays the same from day to day worked out once: the same values, bit
// for bit.
class StageCurve {
public:
    explicit StageCurve(const UnitStage& u);
    double at(int t) const;
    // Whether every day's value is a zero (+0 or -0), which leaves any sum it
    // is added to unchanged: the stage does not consolidate, or adds no
    // settlement.
    bool adds_nothing() const;
    const UnitStage& stage() const { return u_; }

private:
    UnitStage u_;
    bool consolidates_;
    double rate_;  // c / H^2
};

// ------------------------------------------------ units of a column

// The drains of a soil layer as read from the input.
DrainData layer_drains(const SoilLayerRec& layer);

// Whether a soil layer can belong to a consolidation unit: clay of a
// settlement method other than non-consolidating.
bool consolidating_layer(const SoilLayerRec& layer);

// Coefficient of consolidation read from a logCv-logP curve at pressure p
// (log-log interpolation; the end values outside the curve), to 0.000001.
// An empty curve, or values that give no positive finite coefficient, give 0.
double cv_from_curve(const CurveRec& curve, double p);

// For the column, stresses and layer results in st.work: the pressure and
// coefficient of consolidation of every slot (st.work.column.cv_pressure,
// cv) and the consolidation units (st.units; unit_previous is kept). Shows
// the missing-curve message once per position (st.missing_curve_shown).
void prepare_time_curve(EngineState& st, double unloading, MessageSink& messages);

// Turns every unit's settlement under the present stage into the stage's
// increment and adds it to the unit's running total.
void advance_unit_totals(UnitState& units);

// Copies the unit state into stage timing entry `entry` with the stage's
// loading start day and loading days.
void record_stage_timing(StageTiming& timing, const UnitState& units, int entry, int start, int days);

// First i in [lo, hi) for which reached(i) holds, or hi when none does.
// reached must be monotone: once true it stays true.
template <class Pred>
int first_reached(int lo, int hi, Pred reached) {
    while (lo < hi) {
        int mid = lo + (hi - lo) / 2;
        if (reached(mid))
            hi = mid;
        else
            lo = mid + 1;
    }
    return lo;
}

}  // namespace kova::engine
