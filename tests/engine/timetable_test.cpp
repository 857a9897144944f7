// Consolidation units of a column, the stage timing kept through the stage
// loop, and the time-settlement tables read from it. Oracles: Terzaghi's
// series summed here to convergence and a day-by-day walk done here.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "engine/consolidation.hpp"
#include "testing/fakes.hpp"
#include "tests/engine/textbook.hpp"
#include "engine/stage_hooks.hpp"
#include "engine/timetable.hpp"
#include "platform/message.hpp"

namespace kova::engine {
namespace {

using textbook::series_degree;
using textbook::stage;

// To 0.001, a half (within 0.0001) going to the even neighbour.
double thousandth(double x) {
    double v = x * 1000, f = std::floor(v);
    if (std::abs(v - f - 0.5) < 0.0001) return (std::fmod(f, 2) == 0 ? f : f + 1) / 1000;
    return std::floor(v + 0.5) / 1000;
}

// Settlement of one undrained stage on day t, worked from the series:
// half the elapsed time during loading, the time less half the loading
// period afterwards.
double stage_oracle(const UnitStage& u, int t) {
    if (t <= u.start) return 0;
    int tau = t - u.start;
    double a = u.coefficient / (u.drain_length * u.drain_length);
    if (u.period > 0 && tau < u.period)
        return u.settlement * series_degree(thousandth(a * tau / 2.0)) * tau / u.period;
    int shift = u.period > 0 ? u.period / 2 : 0;
    return u.settlement * series_degree(thousandth(a * (tau - shift)));
}

UnitTimeline timeline(std::vector<UnitStage> stages) {
    UnitTimeline t;
    t.stage_count = static_cast<int>(stages.size());
    for (std::size_t j = 0; j < stages.size(); ++j) {
        t.stages[j] = stages[j];
        t.total += stages[j].settlement;
    }
    return t;
}

// ---------------------------------------------------------------- tables

TEST(ConsolidationTimeTable, OneStageAtOnce) {
    // H = 4 m, c = 0.01 m2/day, loaded at once on day 30.
    UnitTimeline u = timeline({stage(0.01, 4, 0.6, 30, 0)});
    TableEntry half = consolidation_time_table(u, 0, 4);
    EXPECT_EQ(half.kind, DayKind::Reached);
    EXPECT_EQ(half.day, 30 + 315);
    EXPECT_NEAR(half.settlement, 0.3, 1e-12);
    int previous = 30;
    for (int k = 0; k < 9; ++k) {
        SCOPED_TRACE(k);
        TableEntry e = consolidation_time_table(u, 0, k);
        ASSERT_EQ(e.kind, DayKind::Reached);
        EXPECT_GT(e.day, previous);
        previous = e.day;
        // The day really brings the degree, by the series itself.
        EXPECT_NEAR(series_degree(0.01 * (e.day - 30) / 16), (k + 1) * 0.1, 0.003);
        EXPECT_NEAR(e.settlement, (k + 1) * 0.06, 1e-12);
    }
    EXPECT_NEAR(consolidation_time_table(u, 0, 9).settlement, 0.6, 1e-12);
}

TEST(ConsolidationTimeTable, InsideTheLoadingPeriod) {
    // A fast unit under a load built up over 100 days from day 10.
    UnitStage s = stage(0.1, 1, 0.4, 10, 100);
    UnitTimeline u = timeline({s});
    for (int k : {0, 3}) {
        SCOPED_TRACE(k);
        double U = (k + 1) * 0.1;
        int walked = -1;
        for (int i = 0; i < 100 && walked < 0; ++i)
            if (series_degree(thousandth(0.1 * i * 0.5)) * i / 100 > U) walked = i;
        ASSERT_GE(walked, 0);
        TableEntry e = consolidation_time_table(u, 0, k);
        EXPECT_EQ(e.kind, DayKind::DuringLoading);
        EXPECT_EQ(e.day, 10 + walked);
    }
    // Alone in the overall table the day is an ordinary day.
    TableEntry overall = settlement_time_table(u, 0, 1);
    EXPECT_EQ(overall.kind, DayKind::Reached);
    EXPECT_EQ(overall.day, consolidation_time_table(u, 0, 0).day);
}

TEST(ConsolidationTimeTable, OddLoadingPeriodHalvesToEven) {
    // 50 %: t0 = 0.197 / 0.01 = 19.7 -> 20 days; half of 15 days is 8.
    TableEntry e = consolidation_time_table(timeline({stage(0.01, 1, 0.2, 5, 15)}), 0, 4);
    EXPECT_EQ(e.kind, DayKind::Reached);
    EXPECT_EQ(e.day, 5 + 20 + 8);
}

TEST(SettlementTimeTable, TwoStagesAgainstWalkedDays) {
    UnitStage s1 = stage(0.01, 2, 0.2, 0, 30);
    UnitStage s2 = stage(0.012, 2, 0.1, 100, 20);
    UnitTimeline u = timeline({s1, s2});
    ASSERT_NEAR(u.total, 0.3, 1e-12);
    auto oracle = [&](int t) { return stage_oracle(s1, t) + stage_oracle(s2, t); };
    auto rows = overall_time_table(u);
    int previous = 0;
    for (int k = 0; k < 9; ++k) {
        SCOPED_TRACE(k);
        double target = (k + 1) * 0.1 * 0.3;
        int walked = -1;
        for (int t = previous == 0 ? 1 : previous; t < kTimeHorizonDays && walked < 0; ++t)
            if (oracle(t) >= target) walked = t;
        ASSERT_EQ(rows[k].kind, DayKind::Reached);
        EXPECT_EQ(rows[k].day, walked);
        EXPECT_GE(rows[k].day, previous);
        EXPECT_NEAR(rows[k].settlement, target, 1e-12);
        EXPECT_NEAR(u.settlement_at(rows[k].day), oracle(rows[k].day), 1e-9);
        previous = rows[k].day;
    }
    EXPECT_GT(rows[8].day, rows[0].day);
}

TEST(SettlementTimeTable, StageTakingSettlementBackIsWalked) {
    // A later stage with a negative increment: the sum can fall, so the
    // search must find the first day, not any day.
    UnitStage s1 = stage(0.05, 1, 0.3, 0, 0);
    UnitStage s2 = stage(0.05, 1, -0.1, 10, 0);
    UnitTimeline u = timeline({s1, s2});
    auto oracle = [&](int t) { return stage_oracle(s1, t) + stage_oracle(s2, t); };
    for (int k : {2, 6, 8}) {
        SCOPED_TRACE(k);
        double target = (k + 1) * 0.1 * 0.2;
        int walked = 0;
        for (int t = 1; t < kTimeHorizonDays; ++t)
            if (oracle(t) >= target) {
                walked = t;
                break;
            }
        EXPECT_EQ(settlement_time_table(u, k, 1).day, walked);
    }
}

TEST(SettlementTimeTable, MissedDegreesAndUnitsWithoutTime) {
    // Far too slow for the horizon: every degree missed, day 0.
    UnitTimeline slow = timeline({stage(1e-7, 10, 0.2, 0, 0), stage(1e-7, 10, 0.1, 50, 0)});
    for (const TableEntry& e : overall_time_table(slow)) {
        EXPECT_EQ(e.kind, DayKind::Missed);
        EXPECT_EQ(e.day, 0);
    }
    // No coefficient (missing Cv curve): no day at all, but the settlement.
    for (auto u : {timeline({stage(0, 2, 0.2, 0, 0)}),
                   timeline({stage(0.01, 2, 0.2, 0, 0), stage(0, 2, 0.1, 50, 0)}),
                   timeline({stage(0.01, 0, 0.2, 0, 10)})}) {
        auto rows = overall_time_table(u);
        for (int k = 0; k < 9; ++k) {
            EXPECT_EQ(rows[k].kind, DayKind::NoValue);
            EXPECT_NEAR(rows[k].settlement, (k + 1) * 0.1 * u.total, 1e-12);
        }
        for (int j = 0; j < u.stage_count; ++j)
            if (!consolidates(u.stages[j])) {
                EXPECT_EQ(consolidation_time_table(u, j, 4).kind, DayKind::NoValue);
            }
    }
}

// ---------------------------------------------------------------- units

struct LayerCase {
    int kind = 0;      // 0 clay, 1 sand
    int method = 0;
    int drainage = 0;  // 0 both faces
    DrainData drain{};
    double cv = 0.01;  // one-point Cv curve; 0: no curve
    double thick = 2;
    double settle = 0.1;
};

const DrainData kDrains{1, 1.2, 0.05, 3, 0.001};

std::unique_ptr<EngineState> column_of(const std::vector<LayerCase>& layers) {
    auto st = std::make_unique<EngineState>();
    CalcInput& in = st->input;
    SoilColumn& col = st->work.column;
    in.soil_count = static_cast<int>(layers.size());
    col.count = in.soil_count;
    double top = 0;
    for (int i = 0; i < in.soil_count; ++i) {
        const LayerCase& s = layers[i];
        SoilLayerRec& r = in.soil[i];
        r.soil_kind = static_cast<i16>(s.kind);
        r.method = static_cast<i16>(s.method);
        r.drainage = static_cast<i16>(s.drainage);
        r.drain_kind = static_cast<i16>(s.drain.kind);
        r.drain_spacing = s.drain.spacing;
        r.drain_diameter = s.drain.diameter;
        r.alpha = s.drain.alpha;
        r.perm_ratio = s.drain.permeability_ratio;
        r.curve_cv = static_cast<i16>(i + 1);
        if (s.cv > 0) {
            in.cv[i + 1].count = 1;
            in.cv[i + 1].pressure[0] = 50;
            in.cv[i + 1].value[0] = s.cv;
        }
        col.layer[i] = i;
        col.top[i] = top;
        col.bottom[i] = top - s.thick;
        top -= s.thick;
        col.p0[i] = 40;
        col.dp[i] = 30;
        st->work.results.elogp[i].settlement = s.method == 0 ? s.settle : 0;
        st->work.results.cc[i].settlement = s.method == 1 ? s.settle : 0;
        st->work.results.mv[i].settlement = s.method == 2 ? s.settle : 0;
    }
    return st;
}

TEST(ConsolidationUnits, Grouping) {
    const LayerCase clay, clay2{.cv = 0.04, .thick = 3}, drained{.drain = kDrains}, oneFace{.drainage = 1},
        sand{.kind = 1, .method = 3}, inert{.method = 4}, mv{.method = 2, .settle = 0.0304},
        badDrains{.drain = DrainData{1, 1.2, 0, 3, 0.001}};  // dw 0

    struct Case {
        const char* what;
        std::vector<LayerCase> layers;
        std::vector<std::vector<int>> units;  // member slots per unit
    } cases[] = {
        {"two clays, same drainage", {clay, clay2}, {{0, 1}}},
        {"drained clay below clay", {clay, drained}, {{0}, {1}}},
        {"clay below drained clay", {drained, clay}, {{0, 1}}},
        {"different drainage", {clay, oneFace}, {{0}, {1}}},
        {"sand between clays", {clay, sand, clay2}, {{0}, {2}}},
        {"non-consolidating between clays", {clay, inert, clay2}, {{0}, {2}}},
        {"non-consolidating below clay", {clay, clay2, inert}, {{0, 1}}},
        {"non-consolidating on top", {inert, clay}, {{1}}},
        {"sand only", {sand, sand}, {}},
        {"invalid drains count as none", {clay, badDrains}, {{0, 1}}},
        {"method mix", {clay, mv}, {{0, 1}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        auto st = column_of(c.layers);
        RecordingMessages msgs;
        prepare_time_curve(*st, 0, msgs);
        EXPECT_EQ(msgs.Count(), 0u);
        ASSERT_EQ(st->units.unit_count, static_cast<int>(c.units.size()));
        for (std::size_t u = 0; u < c.units.size(); ++u) {
            const auto& members = c.units[u];
            int last = members.back();
            const LayerCase& ref = c.layers[last];
            double cref = ref.cv, h = 0, s = 0;
            for (int m : members) {
                h += c.layers[m].thick * std::sqrt(cref / c.layers[m].cv);
                s += thousandth(c.layers[m].settle);
            }
            bool withDrains = drains_valid(ref.drain);
            double de = 1.05 * ref.drain.spacing;
            EXPECT_EQ(st->units.unit_layer[u], last);
            EXPECT_NEAR(st->units.unit_thickness[u], thousandth(h), 1e-9);
            EXPECT_NEAR(st->units.unit_settlement[u], s, 1e-9);
            EXPECT_NEAR(st->units.unit_coefficient[u], withDrains ? cref * ref.drain.alpha : cref, 1e-12);
            double length = withDrains ? thousandth(de) : ref.drainage == 0 ? thousandth(h / 2) : thousandth(h);
            EXPECT_NEAR(st->units.unit_drain_length[u], length, 1e-9);
        }
        // Sand and non-consolidating layers have no coefficient.
        for (std::size_t i = 0; i < c.layers.size(); ++i)
            if (c.layers[i].kind != 0 || c.layers[i].method == 4) {
                EXPECT_EQ(st->work.column.cv[i], 0);
            }
    }
}

TEST(ConsolidationUnits, PressureOfTheCoefficient) {
    auto st = column_of({LayerCase{}});
    RecordingMessages msgs;
    st->input.CvPMethod = 1;
    prepare_time_curve(*st, 10, msgs);  // P0 + U = 50, P0 + dP = 70
    EXPECT_NEAR(st->work.column.cv_pressure[0], thousandth(std::sqrt(50.0 * 70)), 1e-9);
    st->input.CvPMethod = 0;
    prepare_time_curve(*st, 10, msgs);  // 50 + (30 - 10) / 2
    EXPECT_NEAR(st->work.column.cv_pressure[0], 60, 1e-9);
}

TEST(ConsolidationUnits, LoadRelievingMoreThanTheOverburden) {
    // P0 + dP < 0 (a negative surcharge): no geometric mean exists, so the
    // pressure is 0 and the curve's first value holds (two points: 0.02 at
    // 50, 0.005 at 500), never NaN and never the last value.
    auto st = column_of({LayerCase{}});
    st->input.cv[1].count = 2;
    st->input.cv[1].pressure[1] = 500;
    st->input.cv[1].value[0] = 0.02;
    st->input.cv[1].value[1] = 0.005;
    st->work.column.dp[0] = -60;  // P0 = 40
    st->input.CvPMethod = 1;
    RecordingMessages msgs;
    prepare_time_curve(*st, 0, msgs);
    EXPECT_EQ(st->work.column.cv_pressure[0], 0);
    EXPECT_EQ(st->work.column.cv[0], 0.02);
    ASSERT_EQ(st->units.unit_count, 1);
    EXPECT_EQ(st->units.unit_coefficient[0], 0.02);
}

TEST(ConsolidationUnits, MissingCurveToldOncePerPosition) {
    const LayerCase none{.cv = 0};
    auto st = column_of({none, LayerCase{}, none});
    RecordingMessages msgs;
    stage_time_prepare(*st, 0, msgs);
    stage_time_prepare(*st, 0, msgs);
    ASSERT_EQ(msgs.Count(), 1u);
    EXPECT_EQ(msgs.Last().text, "未登録の土層があります。時間曲線を作成できません。");
    EXPECT_EQ(msgs.Last().caption, "LogCv-LogP曲線");
    EXPECT_TRUE(st->missing_curve_shown);
    // The unit holding the layer without curve does not consolidate in time.
    ASSERT_EQ(st->units.unit_count, 1);
    EXPECT_EQ(st->units.unit_coefficient[0], 0);
    EXPECT_TRUE(std::isfinite(st->units.unit_thickness[0]));
    EXPECT_NEAR(st->units.unit_thickness[0], 6, 1e-9);
    st->history.stage_count = 1;
    stage_time_record(*st, 0, 0, 0);
    auto rows = overall_time_table(unit_timeline(*st, 0));
    for (const auto& e : rows) EXPECT_EQ(e.kind, DayKind::NoValue);
}

TEST(ConsolidationUnits, InvalidDrainsComputedWithoutDrainsAndNotToldPerPosition) {
    const DrainData alpha0{2, 1.0, 0.05, 0, 0.001};
    // The sand's drains do not matter.
    auto st = column_of({LayerCase{}, LayerCase{.drain = alpha0}, LayerCase{.kind = 1, .drain = alpha0}});
    RecordingMessages msgs;
    // Refused drains are told once per run, ahead of the positions.
    stage_time_prepare(*st, 0, msgs);
    EXPECT_EQ(msgs.Count(), 0u);
    // Computed without drains: cv itself and half the thickness.
    ASSERT_EQ(st->units.unit_count, 1);
    EXPECT_NEAR(st->units.unit_coefficient[0], 0.01, 1e-12);
    EXPECT_NEAR(st->units.unit_drain_length[0], 2, 1e-9);
    // The next stage of the position stays silent.
    stage_time_prepare(*st, 0, msgs);
    EXPECT_EQ(msgs.Count(), 0u);
    st->timing.timing_unit_layer[0] = 1;
    st->timing.timing_unit_count = 1;
    EXPECT_FALSE(unit_drained(*st, 0));
}

// ---------------------------------------------------------------- stage loop

// What the run does for one loaded stage at a position, around the hooks.
void loaded_stage(EngineState& st, int number, const std::vector<double>& settlements, int start,
                  int days, MessageSink& msgs) {
    int entry = st.history.stage_count;
    st.history.stage_number[entry] = number;
    st.history.stage_count = entry + 1;
    for (std::size_t i = 0; i < settlements.size(); ++i) st.work.results.elogp[i].settlement = settlements[i];
    stage_time_prepare(st, 0, msgs);
    stage_time_record(st, entry, start, days);
}

void new_position(EngineState& st) {
    st.units = UnitState{};
    st.history.stage_count = 0;
    st.missing_curve_shown = false;
}

bool same_timing(const StageTiming& a, const StageTiming& b) {
    return a.timing_unit_count == b.timing_unit_count && a.stage_start == b.stage_start &&
           a.stage_days == b.stage_days && a.timing_unit_layer == b.timing_unit_layer &&
           a.stage_unit_coefficient == b.stage_unit_coefficient &&
           a.stage_unit_thickness == b.stage_unit_thickness &&
           a.stage_unit_drain_length == b.stage_unit_drain_length &&
           a.stage_unit_increment == b.stage_unit_increment && a.stage_unit_total == b.stage_unit_total;
}

TEST(StageTiming, GapsAndPositionsDoNotLeak) {
    RecordingMessages msgs;
    // Position 1: loads in stages 1 and 3 only.
    auto st = column_of({LayerCase{.thick = 4}, LayerCase{.kind = 1, .method = 3},
                         LayerCase{.drainage = 1, .cv = 0.005, .thick = 3}});
    new_position(*st);
    loaded_stage(*st, 1, {0.10, 0, 0.05}, 0, 30, msgs);
    loaded_stage(*st, 3, {0.15, 0, 0.08}, 200, 20, msgs);
    ASSERT_EQ(st->history.stage_count, 2);
    ASSERT_EQ(st->timing.timing_unit_count, 2);
    EXPECT_NEAR(st->timing.stage_unit_increment[1][0], 0.05, 1e-12);
    EXPECT_NEAR(st->timing.stage_unit_increment[1][1], 0.03, 1e-12);
    EXPECT_EQ(st->timing.stage_start[1], 200);
    UnitTimeline u1 = unit_timeline(*st, 1);
    EXPECT_EQ(u1.stage_count, 2);
    EXPECT_EQ(u1.stages[1].start, 200);
    // Before the second load nothing of it shows.
    EXPECT_EQ(u1.settlement_at(200), settlement_at_time(200, u1.stages[0]));

    // Position 2, computed next with a different column: loads only in stage 2.
    auto fresh = column_of({LayerCase{.cv = 0.02}});
    st->work = fresh->work;
    st->input = fresh->input;
    new_position(*st);
    loaded_stage(*st, 2, {0.07}, 50, 10, msgs);
    new_position(*fresh);
    loaded_stage(*fresh, 2, {0.07}, 50, 10, msgs);

    EXPECT_EQ(st->history.stage_count, 1);
    EXPECT_EQ(st->history.stage_number[0], 2);
    EXPECT_TRUE(same_timing(st->timing, fresh->timing));
    EXPECT_EQ(st->timing.stage_unit_increment[1][1], 0);
    EXPECT_EQ(st->timing.stage_start[1], 0);
    UnitTimeline u = unit_timeline(*st, 0);
    ASSERT_EQ(u.stage_count, 1);
    EXPECT_NEAR(u.total, 0.07, 1e-12);
    EXPECT_EQ(u.stages[0].start, 50);
    // The 50 % day of stage 2 alone: t0 = 0.197 x 1 / 0.02 -> 10 days, half 5.
    auto rows = overall_time_table(u);
    EXPECT_EQ(rows[4].kind, DayKind::Reached);
    EXPECT_EQ(rows[4].day, 50 + 10 + 5);
    // A unit index past the units of the position reads as nothing.
    EXPECT_EQ(unit_timeline(*st, 1).stage_count, 0);
}

}  // namespace
}  // namespace kova::engine
