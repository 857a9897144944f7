#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "predict/drawings.hpp"
#include "predict_test_util.hpp"
#include "tests/support/viewer_grammar.hpp"
#include "textio/numfmt.hpp"
#include "textio/textfile.hpp"

namespace kova::predict {
namespace {

using testsupport::DrawingFile;
using test::Option;
using V = std::vector<int>;

// The worked station (a = 1, b = 10, Sf = 1, curve to day 191) after its fit.
StationRecord FittedStation(const ObsSettings& s, StationRecord st = test::PartStation()) {
    PredictionOutcome out = ComputePrediction(st, s);
    EXPECT_FALSE(out.message.has_value());
    static_cast<StationResults&>(st) = out.results;
    return st;
}

DrawingFile Parse(const std::filesystem::path& p, const std::string& size) {
    std::vector<std::string> errors;
    DrawingFile f = testsupport::ParseDrawing(p, size, true, errors);
    EXPECT_TRUE(errors.empty()) << testsupport::JoinErrors(errors);
    return f;
}

// Lines drawn with pen 1: the curve and the target marking.
int PenOneLines(const DrawingFile& f) {
    int n = 0;
    for (const auto& r : f.records) n += r.kind == 'L' && r.v[4] == 0 && r.v[5] == 1;
    return n;
}

// Scales of the worked station by hand: T = max(U(191), U(90)) = 200 days,
// 3500/200 = 17.5 units a day; Ymax = Int(1.2 * 10) * 0.1 = 1.2 m,
// 2000/1.2 = 1666.67 units a metre. Plot origin (500, 500).
TEST(PredictDrawing, WorkedStationOption1) {
    test::TempDir dir;
    ObsSettings s = Option(1);  // 90 %: target day 91
    auto path = WritePredictionDrawing(FittedStation(s), s, 1, dir.path());
    EXPECT_EQ(path.filename(), "YOSOKU1.PZK");
    auto lines = ReadCp932Lines(path);
    ASSERT_GE(lines.size(), 4u);
    EXPECT_EQ(lines[0], "YOSOKU1.PZK");
    EXPECT_EQ(lines[3], "L    0    0 4200    0 0 2");

    DrawingFile f = Parse(path, "45,30");
    // axes; the 200-day label at 3500 - Int(3 * 17.5); 1.0 m at Int(1666.67)
    EXPECT_EQ(f.CountExact('L', V{500, 500, 4100, 500, 0, 2}), 1);
    EXPECT_EQ(f.Texts("200")[0]->v, (V{3948, 450, 70, 70, 0, 2}));
    EXPECT_EQ(f.CountExact('L', V{500, 2166, 4100, 2166, 1, 1}), 1);
    EXPECT_EQ(f.Texts("1.0")[0]->v, (V{330, 2201, 70, 70, 0, 2}));
    EXPECT_EQ(f.Texts("1.4").size(), 0u);
    // observation (30 d, 0.75 m) at (525, 1250); 4 of them plus a pair of
    // markers at each of the nine tenths 10 % .. 90 % the curve reaches
    EXPECT_EQ(f.CountExact('P', V{1017, 1742, 1025, 1750, 1017, 1742, 1}), 1);
    EXPECT_EQ(f.Count('P'), 4 + 18);
    // curve: one line per day 0..191; six target lines; two leaders of two lines
    EXPECT_EQ(PenOneLines(f), 192 + 6 + 4);
    // target: x = Int(91 * 17.5) = 1592, y = Int(1666.67 * 91/101) = 1501
    EXPECT_EQ(f.CountExact('L', V{2092, 450, 2092, 2001, 0, 1}), 1);
    EXPECT_EQ(f.Texts("90%")[0]->v, (V{2072, 1303, 70, 70, 90, 1}));  // Nearest(52.5 + 750.8)
    // Sa' leader at observation 4 (1575, 1500)
    EXPECT_EQ(f.Texts("Sa'")[0]->v, (V{2175, 1900, 70, 70, 0, 1}));
    // final settlement last
    ASSERT_FALSE(f.records.empty());
    EXPECT_EQ(f.records.back().text, "最終沈下量 1.000m");
    EXPECT_EQ(f.records.back().v, (V{3000, 2236, 70, 70, 0, 2}));
}

TEST(PredictDrawing, TargetBeyondTheCurveAndNoTarget) {
    test::TempDir dir;
    ObsSettings s = Option(0);  // curve ends on day 191, the time axis on day 205.7
    s.LeaveDays = 200;
    DrawingFile f = Parse(WritePredictionDrawing(FittedStation(s), s, 2, dir.path()), "45,30");
    // x = Int(200 * 17.5) = 3500; rest Sf - 200/210 = 0.0476 m
    EXPECT_EQ(f.CountExact('L', V{4000, 450, 4000, 2166, 0, 1}), 1);
    EXPECT_EQ(f.Texts("0.048m")[0]->v, (V{3980, 2232, 70, 70, 90, 1}));  // Nearest(105 + 1626.98)
    EXPECT_EQ(f.Texts("200").size(), 2u);  // the axis label and the target day

    for (int option : {2, 3}) {
        s = Option(option);
        s.ResidualSettlement = 1.5;  // at or above Sf: no marking
        f = Parse(WritePredictionDrawing(FittedStation(s), s, 3, dir.path()), "45,30");
        EXPECT_EQ(PenOneLines(f), 192 + 4) << option;
    }
}

// Time axis 3600 units long at 17.5 a day: day 205 (x 3587) is the last
// that can carry the marking. 365 days would have put it at x 6887 and a
// leaving period of 100000 days at the clamp 32767, outside the 4200 frame.
TEST(PredictDrawing, TargetPastTheTimeAxisIsLeftOut) {
    test::TempDir dir;
    for (int days : {205, 206, 365, 100000}) {
        ObsSettings s = Option(0);
        s.LeaveDays = days;
        DrawingFile f = Parse(WritePredictionDrawing(FittedStation(s), s, 2, dir.path()), "45,30");
        const bool drawn = days <= 205;
        EXPECT_EQ(PenOneLines(f), 192 + 4 + (drawn ? 6 : 0)) << days;
        EXPECT_EQ(f.Texts(std::to_string(days)).size(), drawn ? 1u : 0u) << days;
        for (const auto& r : f.records) {
            if (r.kind != 'L' && r.kind != 'K') continue;
            EXPECT_TRUE(r.v[0] >= 0 && r.v[0] <= 4200) << days << " " << r.kind << " x " << r.v[0];
            if (r.kind == 'L') {
                EXPECT_TRUE(r.v[2] >= 0 && r.v[2] <= 4200) << days << " x2 " << r.v[2];
            }
        }
    }
    // A residual settlement of 0.01 m is reached on day 990: left out too.
    ObsSettings s = Option(2);
    s.ResidualSettlement = 0.01;
    DrawingFile f = Parse(WritePredictionDrawing(FittedStation(s), s, 3, dir.path()), "45,30");
    EXPECT_EQ(PenOneLines(f), 192 + 4);
}

TEST(PredictDrawing, YearAndMonthAxis) {
    test::TempDir dir;
    ObsSettings s = Option(3);
    s.TimeAxisMode = 1;
    s.EndConditionPercent = 99;  // curve to day 991: T = 1000, 3.5 units a day
    DrawingFile f = Parse(WritePredictionDrawing(FittedStation(s), s, 4, dir.path()), "45,30");
    // From 15 April 2003 the month ticks start with 1 May (day 16, x = 56);
    // 1 January 2004 is day 261, Nearest(913.5) = 914, labelled at Int(913.5) - 35.
    ASSERT_GT(f.records.size(), 6u);
    EXPECT_EQ(f.records[6].v, (V{556, 500, 556, 450, 0, 2}));
    EXPECT_EQ(f.CountExact('L', V{1414, 500, 1414, 2600, 1, 1}), 1);
    EXPECT_EQ(f.Texts("04")[0]->v, (V{1378, 450, 70, 70, 0, 2}));
    EXPECT_EQ(f.Texts("06").size(), 1u);  // day 992
    EXPECT_EQ(f.Texts("07").size(), 0u);  // day 1357
    EXPECT_EQ(f.Texts("0").size(), 0u);   // no elapsed-day labels
}

// By hand: tn = 90, U(90) = 100, xs = 14; ratios 20, 40, 100 give
// 1900/U = 19, 19, 9.5, so ys = 9.5. Time step 20 (tn < 100), ratio step 50.
TEST(PredictRegressionDrawing, WorkedStation) {
    test::TempDir dir;
    auto path = WriteRegressionDrawing(FittedStation(Option(3)), 1, dir.path());
    EXPECT_EQ(path.filename(), "KAIKI_1.PZK");
    EXPECT_EQ(ReadCp932Lines(path)[0], "KAIKI_1.PZK");
    DrawingFile f = Parse(path, "45,28");
    // points (140, -190), (420, -380), (1260, -950) from origin (500, 2300)
    EXPECT_EQ(f.Count('P'), 3);
    EXPECT_EQ(f.CountExact('P', V{1750, 1340, 1760, 1350, 1750, 1340, 1}), 1);
    // fitted line from (0, -95) to (1260, -950)
    EXPECT_EQ(f.CountExact('L', V{500, 2205, 1760, 1350, 0, 2}), 1);
    EXPECT_EQ(f.CountExact('L', V{1060, 300, 1060, 2300, 1, 1}), 1);  // 40-day grid
    EXPECT_EQ(f.Texts("100")[0]->v, (V{1848, 2450, 70, 70, 0, 2}));
    // ratio labels 0 .. 200 by 50; 150 lies at Int(1425)
    EXPECT_EQ(f.Texts("  150")[0]->v, (V{280, 915, 70, 70, 0, 2}));
    EXPECT_EQ(f.Texts("  250").size(), 0u);
    EXPECT_EQ(f.Count('K'), 3 + 6 + 5);
    EXPECT_EQ(f.Count('L'), 4 + 2 + 1 + 2 + 6 + 10);
}

TEST(PredictDrawings, FarCoordinatesStayInTheViewerRange) {
    // A leaving period far beyond the plot and a heave station: every
    // coordinate is still a 16-bit integer and the files parse.
    test::TempDir dir;
    ObsSettings s = Option(0);
    s.LeaveDays = 2000000000;
    DrawingFile f = Parse(WritePredictionDrawing(FittedStation(s), s, 5, dir.path()), "45,30");
    for (const auto& r : f.records)
        for (int v : r.v) ASSERT_TRUE(v >= -32768 && v <= 32767);

    StationRecord heave = test::MakeStation({{0, 0}, {10, -0.5}, {30, -0.75}, {90, -0.9}}, 1, 4);
    PredictionOutcome out = ComputePrediction(heave, Option(3));
    if (!out.message) {
        static_cast<StationResults&>(heave) = out.results;
        Parse(WritePredictionDrawing(heave, Option(3), 6, dir.path()), "45,30");
        Parse(WriteRegressionDrawing(heave, 6, dir.path()), "45,28");
    }
}

TEST(PredictDrawings, HugeFinalSettlementStopsAtAThousandTicks) {
    // 1e15 m: adding 0.1 no longer moves the tick value, so only the cap
    // ends the settlement ticks and grid lines.
    test::TempDir dir;
    ObsSettings s = Option(3);
    StationRecord st = FittedStation(s);
    st.FinalSettlement = 1e15;
    DrawingFile f = Parse(WritePredictionDrawing(st, s, 7, dir.path()), "45,30");
    int ticks = 0, grid = 0;
    for (const auto& r : f.records) {
        ticks += r.kind == 'L' && r.v[0] == 500 && r.v[2] == 450 && r.v[1] == r.v[3];
        grid += r.kind == 'L' && r.v[0] == 500 && r.v[2] == 4100 && r.v[4] == 1;
    }
    EXPECT_EQ(ticks, 1000);
    EXPECT_EQ(grid, 1000);
}


// No text of a prediction drawing covers another, for stations over the
// ranges users meet: readings near the time axis, targets on a day label.
TEST(PredictDrawing, NoTextCoversAnother) {
    struct Extent {
        int l, t, r, b;
    };
    auto extent = [](const testsupport::DrawingRecord& k) {
        int len = 0;
        for (std::size_t i = 0; i < k.text.size();) {
            const auto c = static_cast<unsigned char>(k.text[i]);
            const std::size_t n = c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
            len += n == 1 ? k.v[2] / 2 : k.v[2];
            i += n;
        }
        const int x = k.v[0], y = k.v[1], h = k.v[3];
        return k.v[4] == 90 ? Extent{x - h, y - len, x, y} : Extent{x, y - h, x + len, y};
    };
    const struct {
        double scale;
        int daysApart, option, mode, sa;
    } cases[] = {{1, 10, 1, 0, 1}, {1, 10, 0, 0, 1}, {0.05, 10, 1, 0, 1}, {0.05, 10, 0, 0, 2},
                 {1, 50, 2, 0, 1}, {0.2, 5, 1, 0, 1},  {1, 100, 1, 1, 1},  {0.5, 30, 0, 0, 2}};
    auto noneCovered = [&](const StationRecord& st, const ObsSettings& s) {
        test::TempDir dir;
        DrawingFile f = Parse(WritePredictionDrawing(st, s, 1, dir.path()), "45,30");
        std::vector<Extent> texts;
        for (const auto& r : f.records)
            if (r.kind == 'K') texts.push_back(extent(r));
        for (std::size_t i = 0; i < texts.size(); ++i)
            for (std::size_t j = i + 1; j < texts.size(); ++j) {
                const Extent& a = texts[i];
                const Extent& b = texts[j];
                EXPECT_FALSE(a.l < b.r && b.l < a.r && a.t < b.b && b.t < a.b)
                    << f.records.size() << " texts: " << i << "/" << j;
            }
    };
    // The worked station with its target on every tenth day, on the day
    // labels too.
    for (int option : {0, 1})
        for (int day = 10; day <= 200; day += 10) {
            SCOPED_TRACE("target day " + std::to_string(day) + " option " + std::to_string(option));
            ObsSettings s = Option(option);
            StationRecord st = FittedStation(s);
            st.TargetDay = day;
            noneCovered(st, s);
        }
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.scale) + " " + std::to_string(c.daysApart) + " " + std::to_string(c.option));
        StationRecord st = test::MakeStation({{0, 0.01 * c.scale}, {c.daysApart, 0.5 * c.scale},
                                              {3 * c.daysApart, 0.75 * c.scale}, {9 * c.daysApart, 0.9 * c.scale}},
                                             c.sa, 4);
        ObsSettings s = Option(c.option);
        s.TimeAxisMode = static_cast<std::int16_t>(c.mode);
        s.LeaveDays = 30 * c.daysApart;
        s.ResidualSettlement = 0.05 * c.scale;
        PredictionOutcome out = ComputePrediction(st, s);
        static_cast<StationResults&>(st) = out.results;
        if (st.LastDay >= 1) noneCovered(st, s);
    }
}

// The final settlement's text is struck by no grid line along the time
// axis, for final settlements just below, at and just above the grid's
// 0.2 m steps and on the way between, and is crossed by none across it
// where those stand far enough apart to leave it room; over time axes of
// several spans, the target texts standing where they do.
TEST(PredictDrawing, FinalSettlementTextKeepsOffGridLines) {
    int drawings = 0, crossedRoom = 0;
    for (int daysApart : {0, 20, 45, 130, 400})
        for (int option : {0, 1})
            for (int mm = 150; mm <= 2450; mm += daysApart ? 23 : 7) {
                SCOPED_TRACE("Sf " + std::to_string(mm) + " mm, option " + std::to_string(option) + ", days apart " +
                             std::to_string(daysApart));
                ObsSettings s = Option(option);
                StationRecord st = test::PartStation();
                if (daysApart)
                    st = test::MakeStation({{0, 0.01}, {daysApart, 0.5}, {3 * daysApart, 0.75}, {9 * daysApart, 0.9}}, 1, 4);
                st = FittedStation(s, st);
                st.FinalSettlement = mm / 1000.0;
                test::TempDir dir;
                DrawingFile f = Parse(WritePredictionDrawing(st, s, 1, dir.path()), "45,30");
                const auto finals = f.Texts("最終沈下量 " + FormatFixed(mm / 1000.0, 3) + "m");
                ASSERT_EQ(finals.size(), 1u);
                const V& k = finals[0]->v;
                // Five wide characters and seven narrow ones.
                const int left = k[0], right = k[0] + 5 * k[2] + 7 * k[2] / 2, top = k[1] - k[3], bottom = k[1];
                std::vector<int> across;
                bool crossed = false;
                for (const auto& r : f.records) {
                    if (r.kind != 'L' || r.v[4] != 1 || r.v[5] != 1) continue;
                    if (r.v[1] == r.v[3]) {
                        EXPECT_FALSE(r.v[1] > top && r.v[1] < bottom && std::min(r.v[0], r.v[2]) < right &&
                                     std::max(r.v[0], r.v[2]) > left)
                            << "the grid line at " << r.v[1] << " strikes the final text at " << k[1];
                    } else if (r.v[0] == r.v[2]) {
                        across.push_back(r.v[0]);
                        // Touching its edge counts: it reads as part of a character.
                        crossed = crossed || (r.v[0] >= left && r.v[0] <= right && std::min(r.v[1], r.v[3]) < bottom &&
                                              std::max(r.v[1], r.v[3]) > top);
                    }
                }
                std::sort(across.begin(), across.end());
                int closest = 1 << 20;
                for (std::size_t q = 1; q < across.size(); ++q) closest = std::min(closest, across[q] - across[q - 1]);
                if (closest >= 700) {
                    EXPECT_FALSE(crossed) << "a grid line crosses the final text at " << k[0] << ", lines " << closest
                                          << " apart";
                    crossedRoom += crossed;
                }
                ++drawings;
            }
    EXPECT_GT(drawings, 900);
    EXPECT_EQ(crossedRoom, 0);
}

}  // namespace
}  // namespace kova::predict
