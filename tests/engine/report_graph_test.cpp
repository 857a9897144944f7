// Scale cases of the time-settlement graph and the settlement profile
// drawings.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <map>

#include "engine/report.hpp"
#include "model/calcinput.hpp"
#include "model/model.hpp"
#include "model/projectfile.hpp"
#include "textio/cp932.hpp"
#include "tests/engine/identity_variants.hpp"
#include "tests/engine/report_fixture.hpp"

using namespace reporttest;
using V = std::vector<int>;

namespace {

// One clay unit (layer 1, cv 0.01, drainage length 2) with final settlement
// T, loaded at day 0 in `stages` stages of equal share, or no loaded stage.
struct GraphCase : State {
    GraphCase(int stages, double T) {
        Soil({{0, 0}, {10, 0}, {10, -4}, {0, -4}}, 0, 0);
        Position(5, "A");
        PositionHistory& h = st->history;
        h.layer_count = 1;
        h.stage_count = stages;
        StageTiming& t = st->timing;
        t.timing_unit_count = stages > 0 ? 1 : 0;
        for (int j = 0; j < stages; ++j) {
            h.stage_number[j] = j + 1;
            h.stage_total[j + 1] = T * (j + 1) / stages;
            t.stage_start[j] = 50 * j;
            t.stage_days[j] = 10;
            t.stage_unit_coefficient[j][0] = 0.01;
            t.stage_unit_drain_length[j][0] = 2;
            t.stage_unit_thickness[j][0] = 4;
            t.stage_unit_increment[j][0] = T / stages;
            t.stage_unit_total[j][0] = T * (j + 1) / stages;
        }
    }
    ts::DrawingFile Graph(int longest) {
        draw_time_settlement(*st, 0, longest);
        return Drawing("TNJ_H_01.PZK");
    }
};

std::vector<std::string> TextsAtY(const ts::DrawingFile& d, int y, int angle = 0) {
    std::vector<std::string> out;
    for (const auto& r : d.records)
        if (r.kind == 'K' && r.v[1] == y && r.v[4] == angle) out.push_back(r.text);
    return out;
}

int CountIf(const ts::DrawingFile& d, const std::function<bool(const ts::DrawingRecord&)>& pred) {
    return static_cast<int>(std::count_if(d.records.begin(), d.records.end(), pred));
}
int TimeTicks(const ts::DrawingFile& d) {
    return CountIf(d, [](const auto& r) { return r.kind == 'L' && r.v[1] == 400 && r.v[3] == 350; });
}
// Texts of pen 1: the markers of the leave period and residual settlement.
int MarkerTexts(const ts::DrawingFile& d) {
    return CountIf(d, [](const auto& r) { return r.kind == 'K' && r.v[5] == 1; });
}

}  // namespace

TEST(ReportTimeGraph, LongestTimeZeroAndNoLoadedStage) {
    GraphCase s(0, 0);
    s.in().TimeCondKind = 1;
    ts::DrawingFile d = s.Graph(0);
    EXPECT_EQ(d.name, "TNJ_H_01.PZK");
    EXPECT_EQ(d.sizeLine, "45,28");
    // b = 100 days, 35 units a day: ticks and labels every 20 days.
    for (int x : {500, 1200, 1900, 2600, 3300, 4000}) EXPECT_EQ(d.CountExact('L', V{x, 400, x, 350, 0, 2}), 1);
    EXPECT_EQ(TimeTicks(d), 6);
    EXPECT_EQ(TextsAtY(d, 350), (std::vector<std::string>{"0", "20", "40", "60", "80", "100"}));
    // The load diagram is one line along the zero line; no load ticks.
    EXPECT_EQ(CountIf(d, [](const auto& r) { return r.kind == 'L' && r.v[4] == 1; }), 1);
    EXPECT_EQ(d.CountExact('L', V{500, 1000, 4000, 1000, 1, 2}), 1);
    ASSERT_EQ(d.Texts("  0").size(), 1u);
    EXPECT_EQ(d.Texts("  0")[0]->v, (V{330, 535, 70, 70, 0, 2}));
    // T = 0: a 0.2 m axis, 7500 units per m: ticks at 0, 0.1, 0.2.
    for (int y : {1000, 1750, 2500}) EXPECT_EQ(d.CountExact('L', V{500, y, 450, y, 0, 2}), 1) << y;
    EXPECT_EQ(TextsAtY(d, 1035).size(), 1u);
    EXPECT_EQ(d.Texts("0.2").size(), 1u);
    EXPECT_EQ(d.Texts("0.4").size(), 0u);
    EXPECT_EQ(MarkerTexts(d), 0);  // the residual settlement is not below T
    EXPECT_EQ(d.Texts("最終沈下量 0.000m").size(), 1u);
    EXPECT_EQ(d.CountExact('L', V{3000, 1000, 4000, 1000, 0, 2}), 1);
}

TEST(ReportTimeGraph, LongestTime950PlotsEverySecondDay) {
    GraphCase s(1, 0.5);
    ts::DrawingFile d = s.Graph(950);
    // b = 1000: labels every 500 days, ticks every 100 days.
    EXPECT_EQ(TextsAtY(d, 350), (std::vector<std::string>{"0", "500", "1000"}));
    EXPECT_EQ(TimeTicks(d), 11);
    // The unit curve comes first after the 7 frame and axis lines: days 1, 3,
    // 5 at 3.5 units a day.
    ASSERT_GT(d.records.size(), 10u);
    EXPECT_EQ(d.records[7].v[2], 503);
    EXPECT_EQ(d.records[8].v[2], 510);
    EXPECT_EQ(d.records[9].v[2], 517);
    EXPECT_EQ(d.Texts(" 1層").size(), 1u);

    GraphCase e(1, 0.5);
    ts::DrawingFile f = e.Graph(850);  // b = 900: every day, labels every 200
    EXPECT_EQ(TextsAtY(f, 350), (std::vector<std::string>{"0", "200", "400", "600", "800"}));
    EXPECT_EQ(TimeTicks(f), 10);
    EXPECT_EQ(f.records[7].v[2], 503);
    EXPECT_EQ(f.records[8].v[2], 507);
}

TEST(ReportTimeGraph, LeavePeriodMarker) {
    struct Case {
        int leave;
        bool marker;
    } cases[] = {{0, false}, {50, true}, {99, true}, {100, false}, {5000, false}};
    for (const auto& c : cases) {
        GraphCase s(1, 0.5);
        s.in().TimeCondKind = 0;
        s.in().LeavePeriod = c.leave;
        ts::DrawingFile d = s.Graph(0);
        EXPECT_EQ(MarkerTexts(d), c.marker ? 2 : 0) << c.leave;
        if (c.leave == 50) {
            // Day 50 at 35 units a day; the leader starts 650 above the zero line.
            ASSERT_EQ(d.Texts("50").size(), 1u);  // the marker's day; axis labels go by 20
            const int f = 1000 + static_cast<int>(1500 / 0.7 * 0.5);
            EXPECT_EQ(d.CountExact('L', V{2250, 350, 2250, f, 0, 1}), 1);
        }
    }
}

TEST(ReportTimeGraph, ResidualSettlementMarkerOnce) {
    GraphCase s(1, 0.5);
    s.in().TimeCondKind = 1;
    s.in().ResidualSettlement = 0.1;
    ts::DrawingFile d = s.Graph(400);
    // First day with 0.5 - round(g) <= 0.1 for g = 0.5 U(Tv), Tv = round(0.01
    // (t - 5) / 4) after the 10-day ramp: U(0.566) = 0.7994 rounds g to 0.400;
    // Tv reaches 0.566 first at t = 232 (Tv 0.5675 -> 0.568; t = 231 gives 0.565).
    EXPECT_EQ(MarkerTexts(d), 2);
    EXPECT_EQ(d.Texts("0.100m").size(), 1u);
    ASSERT_EQ(d.Texts("232").size(), 1u);
    EXPECT_EQ(d.Texts("232")[0]->v, (V{2072, 350, 70, 70, 0, 1}));  // 500 + 232 x 7 - 52
}

TEST(ReportTimeGraph, UnitOfSandMethodHasNoCurveOfItsOwn) {
    GraphCase s(1, 0.5);
    s.Soil({{0, -4}, {10, -4}, {10, -6}, {0, -6}}, 1, 3);
    StageTiming& t = s.st->timing;
    t.timing_unit_count = 2;
    t.timing_unit_layer[1] = 1;
    ts::DrawingFile d = s.Graph(100);
    EXPECT_EQ(d.Texts(" 1層").size(), 1u);
    EXPECT_TRUE(d.Texts(" 2層").empty());
    EXPECT_EQ(d.Texts("全層").size(), 1u);
}

TEST(ReportTimeGraph, LoadDiagramRampsToEqualShares) {
    GraphCase s(2, 0.4);
    ts::DrawingFile d = s.Graph(0);  // b = 100, 35 units a day
    // Stage 1: day 0 over 10 days up to 250; stage 2: day 50 to 60 up to 500.
    EXPECT_EQ(d.CountExact('L', V{500, 1000, 500, 1000, 1, 2}), 1);
    EXPECT_EQ(d.CountExact('L', V{500, 1000, 850, 750, 1, 2}), 1);
    EXPECT_EQ(d.CountExact('L', V{850, 750, 2250, 750, 1, 2}), 1);
    EXPECT_EQ(d.CountExact('L', V{2250, 750, 2600, 500, 1, 2}), 1);
    EXPECT_EQ(d.CountExact('L', V{2600, 500, 4000, 500, 1, 2}), 1);
    EXPECT_EQ(d.CountExact('L', V{500, 750, 450, 750, 0, 2}), 1);
    EXPECT_EQ(d.CountExact('L', V{500, 500, 450, 500, 0, 2}), 1);
    EXPECT_EQ(d.Texts("  2").size(), 1u);
}

TEST(ReportTimeGraph, TimeAxisIsBoundedAndHeaveKeepsAnAxis) {
    GraphCase s(1, -0.3);
    ts::DrawingFile d = s.Graph(1000000);
    std::vector<std::string> labels = TextsAtY(d, 350);
    ASSERT_FALSE(labels.empty());
    // A day every 5000 (a label every 500 would run into the next).
    EXPECT_EQ(labels, (std::vector<std::string>{"0", "5000", "10000", "15000", "20000", "25000", "30000", "35000"}));
    EXPECT_EQ(d.CountExact('L', V{4000, 400, 4000, 350, 0, 2}), 1);  // tick at 36600
    // Ticks a readable step apart (every 500 days), none doubling the end's.
    std::vector<int> ticks;
    for (const auto& r : d.records)
        if (r.kind == 'L' && r.v[1] == 400 && r.v[3] == 350 && r.v[0] == r.v[2]) ticks.push_back(r.v[0]);
    std::sort(ticks.begin(), ticks.end());
    ASSERT_GT(ticks.size(), 50u);
    for (std::size_t k = 1; k < ticks.size(); ++k) EXPECT_GE(ticks[k] - ticks[k - 1], 35) << ticks[k];
    EXPECT_EQ(d.CountExact('L', V{500, 2500, 450, 2500, 0, 2}), 1);  // axis of 0.2 m
}

TEST(ReportTimeGraph, LongAxisWritesNoLinesOfNoLength) {
    GraphCase s(1, 0.5);
    ts::DrawingFile d = s.Graph(30000);  // b = 30100: about 9 days per unit
    int curve = 0;
    for (const auto& r : d.records) {
        if (r.kind != 'L' || r.v[4] != 0 || r.v[5] != 2) continue;
        EXPECT_FALSE(r.v[0] == r.v[2] && r.v[1] == r.v[3]) << r.v[0] << "," << r.v[1];
        if (r.v[1] >= 1000 && r.v[3] >= 1000 && r.v[2] > 500) ++curve;
    }
    EXPECT_GT(curve, 100);
    // Two curves, each at most one line per unit moved (3500 across, 1500
    // down), against 30099 + 15049 days written one line a day.
    EXPECT_LT(curve, 2 * 5000 + 10);
}

// ----------------------------------------------------------------- profile

namespace {

struct ProfileCase : State {
    ProfileCase() {
        Soil({{0, 0}, {10, 0}, {10, -5}, {0, -5}});
        Position(5, "A");
        FlatProfile(0, 10, 0);
    }
    ts::DrawingFile Draw(int code) {
        draw_settlement_profile(*st, code);
        return Drawing(code == kMaxProfileCode ? "TNK_MAX.PZK" : "TNK_Z_01.PZK");
    }
};

// Labels of the settlement scale: angle 90 at y = 6000 + 35 L + 70.
std::vector<std::string> ScaleLabels(const ts::DrawingFile& d) {
    std::vector<std::string> out;
    for (const auto& r : d.records)
        if (r.kind == 'K' && r.v[4] == 90 && r.v[0] >= 3000 && r.v[1] > 6100 && r.v[1] < 6300)
            out.push_back(r.text);
    return out;
}

}  // namespace

// Rectangle section: bounds -1..11 x -6..1, 350 units per m, f = 650, g = 0.
TEST(ReportProfile, NothingSettles) {
    ProfileCase s;
    ts::DrawingFile d = s.Draw(kMaxProfileCode);
    EXPECT_EQ(ScaleLabels(d), (std::vector<std::string>{"0.00", "0.05", "0.10", "0.15"}));
    // The first abscissa (x = 0) is marked: k = 350, line from m = 400.
    EXPECT_EQ(d.CountExact('L', V{400, 5000, 4100, 5000, 3, 1}), 1);
    ASSERT_EQ(d.Texts("0.000 m").size(), 1u);
    EXPECT_EQ(d.Texts("0.000 m")[0]->v, (V{130, 450, 100, 100, 90, 2}));
    EXPECT_EQ(d.Texts("最大沈下量").size(), 1u);
}

TEST(ReportProfile, GreatestSettlementScaleAndFirstOfEqualRows) {
    ProfileCase s;
    s.st->profile[200].settlement = 0.35;  // x = 2
    s.st->profile[600].settlement = 0.35;  // x = 6, later: not marked
    ts::DrawingFile d = s.Draw(kMaxProfileCode);
    EXPECT_EQ(ScaleLabels(d), (std::vector<std::string>{"0.0", "0.2", "0.4"}));
    // E = 0.5, 2200 units per m: grid lines at 0, 440, 880.
    EXPECT_EQ(d.CountExact('L', V{3880, 6000, 3880, 500, 1, 1}), 1);
    EXPECT_EQ(d.CountExact('L', V{400, 4300, 4100, 4300, 3, 1}), 1);  // k = trunc(3 x 350)
    EXPECT_EQ(d.Texts("0.350 m").size(), 1u);
}

TEST(ReportProfile, RowsWithoutGroundBreakTheSettledGround) {
    ProfileCase whole;
    ts::DrawingFile a = whole.Draw(kMaxProfileCode);
    ProfileCase gap;
    for (int i = 400; i < 600; ++i) gap.st->profile[i].ground = -9999.99;
    ts::DrawingFile b = gap.Draw(kMaxProfileCode);
    auto pen1 = [](const ts::DrawingFile& d) {
        return CountIf(d, [](const auto& r) { return r.kind == 'L' && r.v[4] == 0 && r.v[5] == 1; });
    };
    // 999 segments, or 399 + 399 around the gap; plus 6 arrow lines and one
    // table line.
    EXPECT_EQ(pen1(a), 999 + 7);
    EXPECT_EQ(pen1(b), 798 + 7);
}

TEST(ReportProfile, PositionTable) {
    ProfileCase s;
    s.st->history.stage_count = 1;
    s.st->history.stage_total[1] = 0.1234;
    ts::DrawingFile d = s.Draw(0);
    EXPECT_EQ(d.name, "TNK_Z_01.PZK");
    EXPECT_EQ(d.CountExact('L', V{400, 3250, 4100, 3250, 3, 1}), 1);  // x = 5
    ASSERT_EQ(d.Texts("5.000 m").size(), 1u);
    EXPECT_EQ(d.Texts("5.000 m")[0]->v, (V{280, 450, 100, 100, 90, 2}));
    ASSERT_EQ(d.Texts("0.123 m").size(), 1u);
    EXPECT_EQ(d.Texts("0.123 m")[0]->v, (V{430, 450, 100, 100, 90, 2}));
    EXPECT_EQ(d.Texts("A").size(), 1u);
    EXPECT_EQ(d.Texts(" 名  称").size(), 1u);
    EXPECT_TRUE(d.Texts("最大沈下量").empty());
}

TEST(ReportProfile, NoSoilLayerKeepsOnlyFrameAxesAndCaptions) {
    State s;
    s.Position(0, "A");
    for (int i = 0; i < kProfileRows; ++i) s.st->profile[i] = ProfileRow{0, -9999.99, 0};
    draw_settlement_profile(*s.st, kMaxProfileCode);
    ts::DrawingFile d = s.Drawing("TNK_MAX.PZK");
    EXPECT_EQ(d.Count('Q'), 0);
    EXPECT_EQ(CountIf(d, [](const auto& r) { return r.kind == 'L' && (r.v[4] == 3 || r.v[4] == 1); }), 0);
    EXPECT_EQ(d.Count('L'), 8 + 3);  // frame, axes, table
    EXPECT_EQ(d.Texts("0.000 m").size(), 1u);
}

// The time graphs of real runs (the benchmark sections and generated
// variants): no two labels cover each other, the curves stay between the
// axes and the load diagram above them.
TEST(ReportTimeGraph, LabelsNeverCoverEachOtherAndLinesKeepToTheAxes) {
    std::vector<std::unique_ptr<enginetest::EngineRun>> runs;
    for (const char* f : {"engine_bench/full.DAT", "engine_bench/typical.DAT", "engine/typical_small.dat"})
        runs.push_back(std::make_unique<enginetest::EngineRun>(std::vector<std::string>{}, 0, enginetest::EngineRun::Copy(f)));
    for (int v = 0; v < 60; v += 3) runs.push_back(std::make_unique<enginetest::EngineRun>(enginetest::IdentityVariant(v).Lines(), 0));
    int graphs = 0;
    for (const auto& run : runs) {
        for (const auto& e : std::filesystem::directory_iterator(run->dir.path)) {
            const std::string name = e.path().filename().string();
            if (name.rfind("TNJ_H_", 0) != 0) continue;
            ++graphs;
            std::vector<std::string> errors;
            const ts::DrawingFile d = ts::ParseDrawing(e.path(), "45,28", false, errors);
            ASSERT_TRUE(errors.empty()) << ts::JoinErrors(errors);
            struct Box {
                int l, t, r, b;
                std::string text;
            };
            std::vector<Box> texts;
            for (const auto& r : d.records) {
                if (r.kind == 'K' && r.v[4] == 0) {
                    int len = 0;
                    for (std::size_t i = 0; i < r.text.size();) {
                        const auto c = static_cast<unsigned char>(r.text[i]);
                        const std::size_t n = c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
                        len += n == 1 ? r.v[2] / 2 : r.v[2];
                        i += n;
                    }
                    const Box b{r.v[0], r.v[1] - r.v[3], r.v[0] + len, r.v[1], r.text};
                    for (const Box& o : texts)
                        EXPECT_FALSE(b.l < o.r && o.l < b.r && b.t < o.b && o.t < b.b)
                            << name << ": \"" << b.text << "\" covers \"" << o.text << "\"";
                    texts.push_back(b);
                }
                // The load diagram (dashed) and the curves (solid, pen 2, below
                // the origin right of the settlement axis).
                if (r.kind == 'L' && r.v[4] == 1) {
                    for (int k : {0, 2}) EXPECT_TRUE(r.v[k] >= 500 && r.v[k] <= 4000) << name;
                    for (int k : {1, 3}) EXPECT_TRUE(r.v[k] >= 500 && r.v[k] <= 1000) << name;
                }
                if (r.kind == 'L' && r.v[4] == 0 && r.v[5] == 2 && r.v[0] > 500 && r.v[1] > 1000 && r.v[3] > 1000 &&
                    r.v[1] < 2700) {
                    for (int k : {0, 2}) EXPECT_LE(r.v[k], 4000) << name;
                }
            }
        }
    }
    EXPECT_GT(graphs, 30);
}

// Every curve's label names it: it stands at the curve's end or is tied to
// it by a thin leader, covers no other label with a gap, and no curve or
// axis line runs through it. Over the full-capacity section, the benchmark
// sections, the worked example and generated variants.
TEST(ReportTimeGraph, EveryLabelStandsByItsOwnCurveAndNoLineCrossesIt) {
    std::vector<std::unique_ptr<enginetest::EngineRun>> runs;
    for (const char* f : {"engine_bench/full.DAT", "engine_bench/maximal.DAT", "engine_bench/typical.DAT",
                          "engine/typical_small.dat"})
        runs.push_back(std::make_unique<enginetest::EngineRun>(std::vector<std::string>{}, 0, enginetest::EngineRun::Copy(f)));
    // The worked example, as the editor hands it to the engine.
    runs.push_back(std::make_unique<enginetest::EngineRun>(std::vector<std::string>{}, 0, [](const std::filesystem::path& dir) {
        kova::Model m;
        kova::ProgramState ps;
        kova::RecordingMessages msgs;
        ASSERT_TRUE(kova::ReadCondFile(m, ps, std::filesystem::path(KOVA_EXAMPLES) / "road_embankment.kov", msgs));
        ASSERT_TRUE(kova::WriteCalcInput(m, dir, msgs));
    }));
    ASSERT_EQ(runs.back()->code, 0);
    for (int v = 1; v < 60; v += 3) runs.push_back(std::make_unique<enginetest::EngineRun>(enginetest::IdentityVariant(v).Lines(), 0));
    int labels = 0, leaders = 0, marks = 0;
    for (const auto& run : runs)
        for (const auto& e : std::filesystem::directory_iterator(run->dir.path)) {
            const std::string name = e.path().filename().string();
            if (name.rfind("TNJ_H_", 0) != 0) continue;
            std::vector<std::string> errors;
            const ts::DrawingFile d = ts::ParseDrawing(e.path(), "45,28", false, errors);
            ASSERT_TRUE(errors.empty()) << ts::JoinErrors(errors);
            struct Box {
                int l, t, r, b;
            };
            auto inCurves = [](int x, int y) { return x >= 500 && x <= 4000 && y >= 1000 && y <= 2600; };
            // Curve lines: solid or dash-dot, thick, inside the curves' box,
            // but the final settlement's line.
            std::vector<const ts::DrawingRecord*> curve, thin;
            int maxX = 0;
            auto inFrame = [](int x, int y) { return x >= 0 && x <= 4200 && y >= 1000 && y <= 2700; };
            for (const auto& r : d.records) {
                // Leaders: thin, from a curve's end to a label in the curves' box or the margin.
                if (r.kind == 'L' && r.v[5] == 1 && r.v[4] == 0 && inFrame(r.v[0], r.v[1]) && inFrame(r.v[2], r.v[3]))
                    thin.push_back(&r);
                if (r.kind != 'L' || !inCurves(r.v[0], r.v[1]) || !inCurves(r.v[2], r.v[3])) continue;
                if (r.v[5] != 2 || (r.v[4] != 0 && r.v[4] != 3)) continue;
                if (r.v[0] == 3000 && r.v[2] == 4000 && r.v[1] == r.v[3]) continue;
                curve.push_back(&r);
                maxX = std::max(maxX, r.v[2]);
            }
            // The curves' ends, as often as curves end there.
            std::map<std::pair<int, int>, int> ends;
            for (const auto* r : curve)
                if (r->v[2] >= maxX - 2) ++ends[{r->v[2], r->v[3]}];
            // Whether a curve runs through the text (lines tried every unit).
            auto crossed = [&](const Box& b, const std::string& text) {
                for (const auto* c : curve) {
                    const int n = std::max(std::abs(c->v[2] - c->v[0]), std::abs(c->v[3] - c->v[1]));
                    for (int k = 0; k <= n; ++k) {
                        const double x = c->v[0] + (c->v[2] - c->v[0]) * (n ? double(k) / n : 0);
                        const double y = c->v[1] + (c->v[3] - c->v[1]) * (n ? double(k) / n : 0);
                        if (x > b.l && x < b.r && y > b.t && y < b.b) {
                            ADD_FAILURE() << name << ": a curve crosses \"" << text << "\" at " << x << "," << y;
                            return true;
                        }
                    }
                }
                return false;
            };
            // The marker's remaining settlement (upright, pen 1) too.
            for (const auto& r : d.records)
                if (r.kind == 'K' && r.v[4] == 90 && r.v[5] == 1 && inCurves(r.v[0], r.v[1])) {
                    const int len = static_cast<int>(r.text.size()) * r.v[2] / 2;
                    ASSERT_FALSE(crossed(Box{r.v[0] - r.v[3], r.v[1] - len, r.v[0], r.v[1]}, r.text));
                    ++marks;
                }
            std::vector<Box> placed;
            for (const auto& r : d.records) {
                if (r.kind != 'K' || r.v[4] != 0 || r.text.find("層") == std::string::npos) continue;
                ++labels;
                const int width = 140;  // "%2d層" and "全層" alike
                const Box b{r.v[0], r.v[1] - r.v[3], r.v[0] + width, r.v[1]};
                for (const Box& o : placed)
                    EXPECT_FALSE(b.l < o.r + 10 && o.l < b.r + 10 && b.t < o.b + 10 && o.t < b.b + 10)
                        << name << ": \"" << r.text << "\" touches another label";
                placed.push_back(b);
                ASSERT_FALSE(crossed(b, r.text));
                // Its curve's end: right below its end, or at a leader's far end.
                std::pair<int, int> end{b.r, b.b + 10};
                if (!ends.count(end) || ends[end] == 0) {
                    bool tied = false;
                    for (const auto* l : thin)
                        for (int s : {0, 2}) {
                            const int x = l->v[s], y = l->v[s + 1], fx = l->v[2 - s], fy = l->v[3 - s];
                            if (x >= b.l && x <= b.r && y >= b.t && y <= b.b && ends.count({fx, fy}) && ends[{fx, fy}] > 0 && !tied) {
                                end = {fx, fy};
                                tied = true;
                            }
                        }
                    ASSERT_TRUE(tied) << name << ": \"" << r.text << "\" is neither at a curve's end nor tied to one";
                    ++leaders;
                }
                --ends[end];
            }
        }
    EXPECT_GT(labels, 100);
    EXPECT_GT(leaders, 0);
    EXPECT_GT(marks, 20);
}

// The section drawings of real runs, one with a position name of 20 wide
// characters: every text stays on the sheet, the name within its cell, and
// no load's magnitude covers another's.
TEST(ReportSection, TextsKeepToTheSheetAndLoadLabelsApart) {
    const std::string longName = "第一測点盛土法尻部東側観測位置東西南北中";
    auto renamed = [&](const std::filesystem::path& dir) {
        std::string bytes = kova::test::ReadBytes(std::filesystem::path(KOVA_TEST_DATA) / "engine_bench/full.DAT");
        const std::string from = "\r\n\"No.1\"\r\n", to = "\r\n\"" + kova::Utf8ToCp932(longName) + "\"\r\n";
        const auto at = bytes.find(from);
        ASSERT_NE(at, std::string::npos);
        bytes.replace(at, from.size(), to);
        std::ofstream(dir / "CAL_TNK.DAT", std::ios::binary) << bytes;
    };
    std::vector<std::unique_ptr<enginetest::EngineRun>> runs;
    runs.push_back(std::make_unique<enginetest::EngineRun>(std::vector<std::string>{}, 0, renamed));
    for (const char* f : {"engine_bench/maximal.DAT", "engine_bench/typical.DAT"})
        runs.push_back(std::make_unique<enginetest::EngineRun>(std::vector<std::string>{}, 0, enginetest::EngineRun::Copy(f)));
    ASSERT_EQ(runs[0]->code, 0);
    int drawings = 0, loadLabels = 0;
    for (std::size_t k = 0; k < runs.size(); ++k)
        for (const auto& e : std::filesystem::directory_iterator(runs[k]->dir.path)) {
            const std::string name = e.path().filename().string();
            if (name != "KT_ZUMEN.PZK" && name.rfind("TNK_", 0) != 0) continue;
            ++drawings;
            std::vector<std::string> errors;
            const ts::DrawingFile d = ts::ParseDrawing(e.path(), "45,66", false, errors);
            ASSERT_TRUE(errors.empty()) << ts::JoinErrors(errors);
            struct Box {
                int l, t, r, b;
            };
            std::vector<Box> loads;
            int inFull = 0;
            for (const auto& r : d.records) {
                if (r.kind != 'K') continue;
                int len = 0;
                for (std::size_t i = 0; i < r.text.size();) {
                    const auto c = static_cast<unsigned char>(r.text[i]);
                    const std::size_t n = c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
                    len += n == 1 ? r.v[2] / 2 : r.v[2];
                    i += n;
                }
                const Box b = r.v[4] == 90 ? Box{r.v[0] - r.v[3], r.v[1] - len, r.v[0], r.v[1]}
                                           : Box{r.v[0], r.v[1] - r.v[3], r.v[0] + len, r.v[1]};
                EXPECT_TRUE(b.l >= 0 && b.r <= 4200 && b.t >= 0 && b.b <= 6500)
                    << name << ": \"" << r.text << "\" leaves the sheet";
                if (r.text.rfind("第一", 0) == 0) {
                    EXPECT_NE(r.text, longName) << name << ": the long name is not shortened";
                    EXPECT_EQ(r.text.substr(r.text.size() - 3), "…") << name;
                    // The position table's name cell, or right of the section.
                    if (r.v[4] == 90) {
                        EXPECT_TRUE(b.l >= 30 && b.r <= 150 && b.t >= 0 && b.b <= 1000) << name;
                    } else {
                        EXPECT_GE(b.l, 3000) << name;
                    }
                }
                const auto ends = [&](const std::string& s) {
                    return r.text.size() >= s.size() && r.text.compare(r.text.size() - s.size(), s.size(), s) == 0;
                };
                if (!ends("kN") && !ends("kN/m") && !ends("kN/m2")) continue;
                for (const Box& o : loads)
                    EXPECT_FALSE(b.l < o.r && o.l < b.r && b.t < o.b && o.t < b.b)
                        << name << ": \"" << r.text << "\" covers another load's label";
                loads.push_back(b);
                ++loadLabels;
                ++inFull;
            }
            // The full section's 15 loads keep every label, moved where need be.
            if (k == 0) {
                EXPECT_EQ(inFull, 15) << name;
            }
        }
    EXPECT_GT(drawings, 20);
    EXPECT_GT(loadLabels, 300);
}
