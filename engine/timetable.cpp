#include "engine/timetable.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <limits>

#include "engine/rounding.hpp"

namespace kova::engine {

namespace {

bool fits_int(std::int64_t v) {
    return v >= std::numeric_limits<int>::min() && v <= std::numeric_limits<int>::max();
}

// The stages' settlements on day t.
using StageValues = std::array<double, kMaxStages>;
StageValues stage_values(const UnitTimeline& unit, int t) {
    StageValues v{};
    for (int j = 0; j < unit.stage_count; ++j) v[j] = settlement_at_time(t, unit.stages[j]);
    return v;
}

double stage_sum(const UnitTimeline& unit, const StageValues& v) {
    double s = 0;
    for (int j = 0; j < unit.stage_count; ++j) s += v[j];
    return s;
}

// First day in (a, c] whose settlement reaches target, or -1; va and vc are
// the stages' settlements on days a and c. Each stage's settlement only
// moves one way, so on the days in between it lies within its values on a
// and c, and the sum (added in the same order) within the sums of those
// bounds: an interval whose upper bound stays below the target holds no
// such day, one whose lower bound reaches it begins with one.
int first_reached_between(const UnitTimeline& unit, double target, int a, int c, const StageValues& va,
                          const StageValues& vc) {
    if (c - a == 1) return stage_sum(unit, vc) >= target ? c : -1;
    double lo = 0, hi = 0;
    bool known = true;
    for (int j = 0; j < unit.stage_count; ++j) {
        if (!std::isfinite(va[j]) || !std::isfinite(vc[j])) known = false;
        lo += std::min(va[j], vc[j]);
        hi += std::max(va[j], vc[j]);
    }
    if (known && std::isfinite(hi) && hi < target) return -1;
    if (known && std::isfinite(lo) && lo >= target) return a + 1;
    const int mid = a + (c - a) / 2;
    const StageValues vm = stage_values(unit, mid);
    const int left = first_reached_between(unit, target, a, mid, va, vm);
    return left >= 0 ? left : first_reached_between(unit, target, mid, c, vm, vc);
}

// First day in [lo, hi) on which the unit's settlement reaches target, hi
// when none does: the same day as trying every day in turn.
int first_reached_staged(const UnitTimeline& unit, double target, int lo, int hi) {
    // Nothing compares as reaching a target that is not a number.
    if (std::isnan(target)) return hi;
    const StageValues first = stage_values(unit, lo);
    if (stage_sum(unit, first) >= target) return lo;
    if (hi - 1 <= lo) return hi;
    const int day = first_reached_between(unit, target, lo, hi - 1, first, stage_values(unit, hi - 1));
    return day >= 0 ? day : hi;
}

}  // namespace

bool UnitTimeline::has_time() const {
    if (stage_count <= 0) return false;
    for (int j = 0; j < stage_count; ++j)
        if (!consolidates(stages[j])) return false;
    return true;
}

double UnitTimeline::settlement_at(int t) const {
    double s = 0;
    for (int j = 0; j < stage_count; ++j) s += settlement_at_time(t, stages[j]);
    return s;
}

bool unit_drained(const EngineState& st, int r) {
    int layer = st.timing.timing_unit_layer[r];
    if (layer < 0 || layer >= kMaxSoilLayers) return false;
    return drains_valid(layer_drains(st.input.soil[layer]));
}

UnitTimeline unit_timeline(const EngineState& st, int r) {
    UnitTimeline u;
    const StageTiming& tm = st.timing;
    if (r < 0 || r >= tm.timing_unit_count || r >= kMaxUnits) return u;
    int layer = tm.timing_unit_layer[r];
    DrainData drain;
    if (layer >= 0 && layer < kMaxSoilLayers) drain = layer_drains(st.input.soil[layer]);
    bool drained = drains_valid(drain);
    u.stage_count = std::clamp(st.history.stage_count, 0, kMaxStages);
    for (int j = 0; j < u.stage_count; ++j) {
        UnitStage& s = u.stages[j];
        s.coefficient = tm.stage_unit_coefficient[j][r];
        s.drain_length = tm.stage_unit_drain_length[j][r];
        s.settlement = tm.stage_unit_increment[j][r];
        s.drained = drained;
        if (drained) s.factors = drain_factors(drain, tm.stage_unit_thickness[j][r]);
        s.start = tm.stage_start[j];
        s.period = tm.stage_days[j];
    }
    if (u.stage_count > 0) u.total = tm.stage_unit_total[u.stage_count - 1][r];
    return u;
}

TableEntry consolidation_time_table(const UnitTimeline& unit, int j, int k) {
    TableEntry e;
    if (j < 0 || j >= unit.stage_count || k < 0 || k > 9) return e;
    const UnitStage& u = unit.stages[j];
    double U = (k + 1) * 0.1;
    e.settlement = U * u.settlement;
    if (!consolidates(u)) return e;

    double T = u.drained ? -(u.factors.F + 0.8 * u.factors.L) * std::log(1 - U) / 8
                         : kDegreeTimeFactors[k];
    std::optional<int> t0 = time_from_factor(T, u.coefficient, u.drain_length);
    if (!t0) return e;

    const int days = u.period;
    int half = static_cast<int>(round_to_step(days * 0.5, 1, 0));
    if (half <= *t0) {
        std::int64_t day = std::int64_t{*t0} + u.start + half;
        if (!fits_int(day)) return e;
        e.kind = DayKind::Reached;
        e.day = static_cast<int>(day);
        return e;
    }
    // Reached while the load is still being applied: the first day on which
    // the ramp-corrected degree exceeds U. Degrees only grow with time.
    int i = first_reached(0, days, [&](int i) { return unit_degree(u, i * 0.5) * i / days > U; });
    if (i == days) i = days - 1;
    std::int64_t day = std::int64_t{u.start} + i;
    if (!fits_int(day)) return e;
    e.kind = DayKind::DuringLoading;
    e.day = static_cast<int>(day);
    return e;
}

TableEntry settlement_time_table(const UnitTimeline& unit, int k, int first_day) {
    if (unit.stage_count == 1) {
        TableEntry e = consolidation_time_table(unit, 0, k);
        if (e.kind == DayKind::DuringLoading) e.kind = DayKind::Reached;
        return e;
    }
    TableEntry e;
    double target = (k + 1) * 0.1 * unit.total;
    e.settlement = target;
    if (!unit.has_time()) return e;

    auto reached = [&](int i) { return unit.settlement_at(i) >= target; };
    bool monotone = true;
    for (int j = 0; j < unit.stage_count; ++j)
        if (!(unit.stages[j].settlement >= 0)) monotone = false;

    int lo = std::max(first_day, 0);
    int found = kTimeHorizonDays;
    if (monotone) {
        // No stage takes settlement back, so the sum never falls and the
        // first day can be bisected instead of walked.
        found = first_reached(lo, kTimeHorizonDays, reached);
    } else if (lo < kTimeHorizonDays) {
        found = first_reached_staged(unit, target, lo, kTimeHorizonDays);
    }
    if (found >= kTimeHorizonDays) {
        e.kind = DayKind::Missed;
        e.day = 0;
        return e;
    }
    e.kind = DayKind::Reached;
    e.day = found;
    return e;
}

std::array<TableEntry, 9> overall_time_table(const UnitTimeline& unit) {
    std::array<TableEntry, 9> out;
    int day = 1;
    for (int k = 0; k < 9; ++k) {
        out[k] = settlement_time_table(unit, k, day);
        // A miss leaves day 0, so the next degree is searched from day 0.
        if (out[k].kind != DayKind::NoValue) day = out[k].day;
    }
    return out;
}

}  // namespace kova::engine
