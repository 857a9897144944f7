#include "engine/consolidation.hpp"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "engine/rounding.hpp"
#include "engine/settlement.hpp"
#include "engine/stage_hooks.hpp"
#include "rules/constants.hpp"
#include "rules/drain_rule.hpp"
#include "textio/cformat.hpp"

namespace kova::engine {

namespace {

constexpr double kPiValue = rules::kPi;
// 32 / pi^2, the factor of the well-resistance term.
constexpr double kWellResistance = 3.242277876554809;

double round3(double v) { return round_to_step(v, 0.001, 0); }

// round_to_step(v, 0.001, 0) for the time factors, which the curves and the
// searches form by the million. Below 1e9 thousandths its guard digit is at
// most 1e-7, so away from the whole thousandths and from its band around one
// half the result is plainly the nearest thousandth, which it finds without
// the logarithm itself (margins of 1e-5). Here even the quotient v / 0.001
// is left out: v * 1000 differs from it by less than 1e-6, so with margins
// of 2e-5 the quotient lies in the same interval; elsewhere round_to_step
// decides.
double round_time_factor(double v) {
    const double y = v * 1000.0;
    if (y > 0 && y < 1e9) {
        // floor(y), without the library call: y is positive and small.
        const double f = static_cast<double>(static_cast<long long>(y));
        const double d = y - f;
        if (d > 2e-5 && d < 1 - 2e-5 && std::abs(d - 0.4999) > 2e-5 && std::abs(d - 0.5001) > 2e-5) {
            double r;
            if (d > 0.4999 && d < 0.5001)
                r = std::fmod(f, 2.0) == 0 ? f : f + 1;
            else
                r = d < 0.5 ? f : f + 1;
            return r * 0.001;
        }
    }
    return round3(v);
}

}  // namespace

double effective_diameter(int kind, double spacing) { return InfluenceDiameter(kind, spacing, round3); }

bool drains_valid(const DrainData& drain) {
    const DrainValues v{drain.kind, drain.spacing, drain.diameter, drain.alpha, drain.permeability_ratio};
    return FindDrainFault(v, round3) == DrainFault::None;
}

DrainFactors drain_factors(const DrainData& drain, double length) {
    DrainFactors f;
    if (!drains_valid(drain)) return f;
    double de = effective_diameter(drain.kind, drain.spacing);
    double n = round3(de / drain.diameter);
    double n2 = n * n;
    f.F = round3(n2 / (n2 - 1) * std::log(n) - (3 * n2 - 1) / (4 * n2));
    double r = length / drain.diameter;
    f.L = round3(r * r * drain.permeability_ratio * kWellResistance);
    return f;
}

namespace {

// The 21-term series itself.
double vertical_series(double Tv) {
    double sum = 0;
    for (int m = 0; m <= 20; ++m) {
        double M = (2 * m + 1) * kPiValue / 2;
        // exp() of anything below -745.2 is 0 and would add nothing.
        if (M * M * Tv > 750) break;
        sum += 2 / (M * M) * std::exp(-M * M * Tv);
    }
    return 1 - sum;
}

// Time factors reach the series rounded to 0.001, so the curves and the
// tables ask for the same values again and again: each is computed once,
// when first asked for (a run asks for a few thousand of them). The table
// ends where the series has become exactly 1; it only grows from there on,
// and never exceeds 1, so that end is found by bisection.
class VerticalDegrees {
public:
    VerticalDegrees() {
        int size = kMaxEntries;
        if (vertical_series(key(kMaxEntries - 1)) == 1) {
            saturated_ = true;
            // The last key gives 1, so the first key with 1 lies below it or is it.
            size = first_reached(0, kMaxEntries - 1, [](int k) { return vertical_series(key(k)) == 1; }) + 1;
        }
        values_ = std::vector<std::atomic<double>>(size);
        for (auto& v : values_) v.store(kUnknown, std::memory_order_relaxed);
    }
    static double key(long long n) { return static_cast<double>(n) * 0.001; }

    // The series at Tv, from the table when Tv is one of its keys.
    double at(double Tv) const {
        double scaled = Tv * 1000;
        if (scaled < 0 || scaled > kMaxEntries) return vertical_series(Tv);
        long long n = std::llround(scaled);
        if (n < static_cast<long long>(values_.size())) {
            if (key(n) == Tv) {
                // Threads that meet an entry at once each store the same value.
                double u = values_[n].load(std::memory_order_relaxed);
                if (u == kUnknown) {
                    u = vertical_series(Tv);
                    values_[n].store(u, std::memory_order_relaxed);
                }
                return u;
            }
        } else if (saturated_ && Tv >= key(static_cast<long long>(values_.size()) - 1)) {
            return 1;
        }
        return vertical_series(Tv);
    }

private:
    static constexpr int kMaxEntries = 40000;
    static constexpr double kUnknown = -1;  // the series lies in (0, 1]
    mutable std::vector<std::atomic<double>> values_;
    bool saturated_ = false;
};

}  // namespace

double degree_consolidation_vertical(double Tv) {
    // A time factor of 0 is a positive time rounded below 0.0005, where the
    // true degree lies between 0 and 0.025: the series' own value there
    // (about 0.0096) is kept. Times before a load are never asked for.
    if (!(Tv >= 0)) return 0;
    static const VerticalDegrees table;
    return table.at(Tv);
}

double degree_consolidation_radial(double Th, double F, double L) {
    if (!(Th > 0)) return 0;
    double resistance = F + 0.8 * L;
    // Drains so close that F(n) rounds to 0 and without well resistance:
    // the limit of the formula, consolidation at once.
    if (!(resistance > 0)) return 1;
    return 1 - std::exp(-8 * Th / resistance);
}

namespace {

// The time factor from c / H^2 formed beforehand.
double factor_at_rate(double rate, double t) { return round_time_factor(rate * t); }

}  // namespace

double time_factor(double c, double H, double t) {
    if (!(c > 0) || !(H > 0)) return 0;
    return factor_at_rate(c / (H * H), t);
}

std::optional<int> time_from_factor(double T, double c, double H) {
    if (!(c > 0) || !(H > 0)) return std::nullopt;
    double days = round_to_step(H * H * T / c, 1, 0);
    if (!std::isfinite(days) || days < std::numeric_limits<int>::min() ||
        days > std::numeric_limits<int>::max())
        return std::nullopt;
    return static_cast<int>(days);
}

double ramp_load_fraction(int t, double x, int start, int period) {
    if (t <= start) return 0;
    // Days as read may lie anywhere in the int range: no overflow here.
    std::int64_t elapsed = std::int64_t{t} - start;
    if (period > 0 && elapsed < period) return x * static_cast<double>(elapsed) / period;
    return x;
}

bool consolidates(const UnitStage& u) {
    return u.coefficient > 0 && u.drain_length > 0 && std::isfinite(u.coefficient) &&
           std::isfinite(u.drain_length);
}

namespace {

double degree_from_factor(const UnitStage& u, double T) {
    if (u.drained) return degree_consolidation_radial(T, u.factors.F, u.factors.L);
    return degree_consolidation_vertical(T);
}

// Settlement on day t of a stage that consolidates, past its start; degree(x)
// is the unit's degree after x days of a load applied at once.
template <class Degree>
double settlement_after_start(int t, const UnitStage& u, Degree degree) {
    std::int64_t tau = std::int64_t{t} - u.start;
    if (u.period <= 0) return u.settlement * degree(static_cast<double>(tau));
    if (tau < u.period)
        return u.settlement * degree(static_cast<double>(tau) / 2.0) * static_cast<double>(tau) / u.period;
    // Past the ramp the load counts as applied at its middle day: the period
    // is halved in whole days (an odd period drops its half day), as the
    // results have always been computed.
    return u.settlement * degree(static_cast<double>(tau - u.period / 2));
}

}  // namespace

double unit_degree(const UnitStage& u, double t) {
    return degree_from_factor(u, time_factor(u.coefficient, u.drain_length, t));
}

double settlement_at_time(int t, const UnitStage& u) {
    if (t <= u.start || !consolidates(u)) return 0;
    return settlement_after_start(t, u, [&](double x) { return unit_degree(u, x); });
}

StageCurve::StageCurve(const UnitStage& u)
    : u_(u), consolidates_(consolidates(u)), rate_(consolidates_ ? u.coefficient / (u.drain_length * u.drain_length) : 0) {}

double StageCurve::at(int t) const {
    if (t <= u_.start || !consolidates_) return 0;
    // unit_degree, with c / H^2 formed once instead of every day.
    return settlement_after_start(t, u_, [&](double x) { return degree_from_factor(u_, factor_at_rate(rate_, x)); });
}

bool StageCurve::adds_nothing() const {
    if (!consolidates_) return true;
    if (u_.settlement != 0) return false;
    // 0 times a finite degree is a zero, which adds nothing to a sum. The
    // vertical degree is always finite; the radial one is not only when both
    // the time factor and the drain resistance are infinite.
    return !u_.drained || !std::isinf(u_.factors.F + 0.8 * u_.factors.L);
}

// ------------------------------------------------ units of a column

DrainData layer_drains(const SoilLayerRec& layer) {
    return DrainData{layer.drain_kind, layer.drain_spacing, layer.drain_diameter, layer.alpha,
                     layer.perm_ratio};
}

bool consolidating_layer(const SoilLayerRec& layer) {
    return layer.soil_kind == 0 && Settles(SettleMethodOf(layer.method));
}

double cv_from_curve(const CurveRec& curve, double p) {
    int n = std::clamp(curve.count, 0, kMaxCurvePoints);
    if (n == 0) return 0;
    const auto& v = curve.value;
    const auto& P = curve.pressure;
    double cv = v[0];
    for (int k = 0; k + 1 < n; ++k) {
        if (P[k] <= p && p <= P[k + 1]) {
            double lp = std::log10(P[k]);
            cv = std::pow(10.0, std::log10(v[k]) + (std::log10(p) - lp) / (std::log10(P[k + 1]) - lp) *
                                                       (std::log10(v[k + 1]) - std::log10(v[k])));
            break;
        }
        if (p < P[k]) {
            cv = v[k];
            break;
        }
        cv = v[k + 1];
    }
    cv = round_to_step(cv, 0.000001, 0);
    // Two equal pressures or a value of 0 on the curve leave no usable
    // coefficient: the layer then does not consolidate in time.
    if (!std::isfinite(cv) || cv < 0) return 0;
    return cv;
}

namespace {

const CurveRec* cv_curve_of(const CalcInput& in, const SoilLayerRec& layer) {
    if (layer.curve_cv < 1 || layer.curve_cv > kMaxCurveNumber) return nullptr;
    return &in.cv[layer.curve_cv];
}

// What a member adds to its unit's settlement: only a settlement that comes
// in time.
double member_settlement(const LayerResults& res, int slot, int method) {
    return SettlesInTime(SettleMethodOf(method)) ? round3(layer_settlement(res, slot, method)) : 0;
}

}  // namespace

void prepare_time_curve(EngineState& st, double unloading, MessageSink& messages) {
    const CalcInput& in = st.input;
    SoilColumn& col = st.work.column;
    UnitState& units = st.units;
    const int count = std::clamp(col.count, 0, kColumnSlots);

    for (int u = 0; u < kMaxUnits; ++u) {
        units.unit_settlement[u] = 0;
        units.unit_drain_length[u] = 0;
    }
    units.unit_count = 0;

    for (int i = 0; i < count; ++i) {
        const SoilLayerRec& layer = in.soil[col.layer[i]];
        double p1 = col.p0[i] + unloading;
        double p2 = col.p0[i] + col.dp[i];
        // A load that relieves more than the overburden leaves no geometric
        // mean: the pressure is 0 (the curve's first value), never NaN.
        double p = in.CvPMethod == 1 ? (p1 * p2 > 0 ? std::sqrt(p1 * p2) : 0) : p1 + (col.dp[i] - unloading) / 2;
        col.cv_pressure[i] = round3(p);
        double cv = 0;
        if (consolidating_layer(layer)) {
            const CurveRec* curve = cv_curve_of(in, layer);
            if (curve == nullptr || curve->count <= 0) {
                if (!st.missing_curve_shown) {
                    messages.Show(Message{"未登録の土層があります。時間曲線を作成できません。",
                                          "LogCv-LogP曲線", MsgIcon::None, MsgButtons::Ok, 0});
                    st.missing_curve_shown = true;
                }
            } else {
                cv = cv_from_curve(*curve, col.cv_pressure[i]);
            }
        }
        col.cv[i] = cv;
    }

    // Runs of consecutive consolidating layers form units. A sand or
    // non-consolidating layer, a layer with drains, or a change of drainage
    // closes the unit before it; sand and non-consolidating layers never
    // belong to a unit.
    int first = -1;
    for (int i = 0; i < count; ++i) {
        const SoilLayerRec& layer = in.soil[col.layer[i]];
        if (first < 0) {
            if (!consolidating_layer(layer)) continue;
            first = i;
        }
        bool close = i == count - 1;
        if (!close) {
            const SoilLayerRec& next = in.soil[col.layer[i + 1]];
            close = drains_valid(layer_drains(next)) || !consolidating_layer(next) ||
                    next.drainage != layer.drainage;
        }
        if (!close) continue;
        if (units.unit_count >= kMaxUnits) break;

        const int u = units.unit_count;
        const double cref = col.cv[i];
        bool has_time = cref > 0;
        for (int m = first; m <= i; ++m)
            if (!(col.cv[m] > 0)) has_time = false;
        double h = 0;
        double settlement = 0;
        for (int m = first; m <= i; ++m) {
            double thick = col.top[m] - col.bottom[m];
            // Thicknesses converted to the reference layer's coefficient; a
            // unit that does not consolidate keeps its plain thickness.
            h += has_time ? thick * std::sqrt(cref / col.cv[m]) : thick;
            settlement += member_settlement(st.work.results, m, in.soil[col.layer[m]].method);
        }
        DrainData drain = layer_drains(layer);
        bool drained = drains_valid(drain);
        units.unit_settlement[u] = settlement;
        units.unit_layer[u] = col.layer[i];
        units.unit_coefficient[u] = !has_time ? 0 : drained ? cref * drain.alpha : cref;
        units.unit_thickness[u] = round3(h);
        double length = units.unit_thickness[u];
        if (drained)
            length = effective_diameter(drain.kind, drain.spacing);
        else if (layer.drainage == 0)
            length = round3(units.unit_thickness[u] / 2);
        units.unit_drain_length[u] = round3(length);
        units.unit_count = u + 1;
        first = -1;
    }
}

void advance_unit_totals(UnitState& units) {
    for (int u = 0; u < std::clamp(units.unit_count, 0, kMaxUnits); ++u) {
        // No stage takes settlement back (each layer keeps what it has
        // reached): a difference below zero is the rounding of the running
        // total, not a rebound.
        double d = std::max(units.unit_settlement[u] - units.unit_previous[u], 0.0);
        units.unit_previous[u] += d;
        units.unit_settlement[u] = d;
    }
}

void record_stage_timing(StageTiming& timing, const UnitState& units, int entry, int start, int days) {
    if (entry < 0 || entry >= kMaxStages) return;
    timing.timing_unit_count = std::clamp(units.unit_count, 0, kMaxUnits);
    timing.stage_start[entry] = start;
    timing.stage_days[entry] = days;
    for (int u = 0; u < timing.timing_unit_count; ++u) {
        timing.timing_unit_layer[u] = units.unit_layer[u];
        timing.stage_unit_coefficient[entry][u] = units.unit_coefficient[u];
        timing.stage_unit_thickness[entry][u] = units.unit_thickness[u];
        timing.stage_unit_drain_length[entry][u] = units.unit_drain_length[u];
        timing.stage_unit_increment[entry][u] = units.unit_settlement[u];
        timing.stage_unit_total[entry][u] = units.unit_previous[u];
    }
}

}  // namespace kova::engine

// ------------------------------------------------ the stage loop's call points

namespace kova::engine {

void stage_time_prepare(EngineState& st, double unloading, MessageSink& messages) {
    // Refused drains are told once per run, ahead of the positions.
    prepare_time_curve(st, unloading, messages);
}

void stage_time_record(EngineState& st, int entry, int start, int days) {
    if (entry < 0 || entry >= kMaxStages) return;
    // A new position starts with entry 0: nothing of the last one remains.
    if (entry == 0) st.timing = StageTiming{};
    advance_unit_totals(st.units);
    record_stage_timing(st.timing, st.units, entry, start, days);
}

}  // namespace kova::engine
