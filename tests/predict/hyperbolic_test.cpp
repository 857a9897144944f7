#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "predict/hyperbolic.hpp"
#include "predict_test_util.hpp"

namespace kova::predict {
namespace {

using test::MakeStation;
using test::PartStation;

ObsSettings Settings(int option = 3) {
    ObsSettings s;
    s.SettlementOption = static_cast<std::int16_t>(option);
    return s;
}

const char* kFailure = "予測計算で予期せぬエラーが起こりました。\r観測データの並び、沈下量を確認してください。";

void ExpectCleared(const StationResults& r) {
    EXPECT_EQ(r.LastDay, 0);
    EXPECT_EQ(r.FirstDay, 0);
    EXPECT_EQ(r.TargetDay, 0);
    EXPECT_EQ(r.FitCount, 0);
    EXPECT_EQ(r.Slope, 0);
    EXPECT_EQ(r.Intercept, 0);
    EXPECT_EQ(r.R2, 0);
    EXPECT_EQ(r.FinalSettlement, 0);
    EXPECT_EQ(r.Predicted.size(), 1u);
}

void ExpectFailure(const PredictionOutcome& out) {
    ASSERT_TRUE(out.message.has_value());
    EXPECT_EQ(out.message->text, kFailure);
    EXPECT_EQ(out.message->caption, "Tolmadex");
    EXPECT_EQ(out.message->icon, MsgIcon::Exclamation);
    ExpectCleared(out.results);
}

TEST(PredictFit, WorkedDataSet) {
    PredictionOutcome out = ComputePrediction(PartStation(), Settings());
    ASSERT_FALSE(out.message.has_value());
    const StationResults& r = out.results;
    EXPECT_EQ(r.FitCount, 3);
    EXPECT_EQ(r.ElapsedDays, (std::vector<std::int32_t>{0, 10, 30, 90}));
    EXPECT_NEAR(r.Ratio[1], 20, 1e-12);
    EXPECT_NEAR(r.Ratio[2], 40, 1e-12);
    EXPECT_NEAR(r.Ratio[3], 100, 1e-12);
    EXPECT_NEAR(r.Slope, 1, 1e-12);
    EXPECT_NEAR(r.Intercept, 10, 1e-12);
    EXPECT_NEAR(r.R2, 1, 1e-12);
    EXPECT_NEAR(r.FinalSettlement, 1, 1e-12);
    EXPECT_EQ(r.FirstDay, 0);
    // d/(d + 10) first exceeds 95 % on day 191 (190/200 is exactly 0.95)
    EXPECT_EQ(r.LastDay, 191);
    ASSERT_EQ(r.Predicted.size(), 192u);
    EXPECT_EQ(r.Predicted[0], 0);
    EXPECT_NEAR(r.Predicted[40], 0.8, 1e-12);
    EXPECT_NEAR(r.Predicted[191], 191.0 / 201.0, 1e-12);
    EXPECT_EQ(r.TargetDay, 0);
}

TEST(PredictFit, TargetDayByOption) {
    struct Case {
        int option;
        int leave;
        double percent, residual;
        int target;
    } cases[] = {
        {1, 365, 90, 0.2, 91},   // d/(d+10) > 0.9 from day 91
        {2, 365, 90, 0.2, 41},   // > 0.8 from day 41
        {0, 365, 90, 0.2, 365},
        {3, 365, 90, 0.2, 0},
        {1, 365, 0, 0.2, 0},     // 0 % passes the check and gives no target
        {1, 365, 99, 0.2, 991},  // beyond the end of the curve (day 191)
        {0, 5000, 90, 0.2, 5000},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.option);
        ObsSettings s = Settings(c.option);
        s.LeaveDays = c.leave;
        s.TargetPercent = c.percent;
        s.ResidualSettlement = c.residual;
        PredictionOutcome out = ComputePrediction(PartStation(), s);
        ASSERT_FALSE(out.message.has_value());
        EXPECT_EQ(out.results.LastDay, 191);
        EXPECT_EQ(out.results.TargetDay, c.target);
        double expected = c.target > 0 ? c.target / (c.target + 10.0) : 0.0;
        EXPECT_NEAR(out.results.TargetSettlement, expected, 1e-12);
    }
}

TEST(PredictFit, TargetNeverReachedGivesNoTargetDay) {
    ObsSettings s = Settings(2);
    s.ResidualSettlement = 0.0001;  // needs d/(d+10) > 0.9999: day 99991
    PredictionOutcome out = ComputePrediction(PartStation(), s);
    ASSERT_FALSE(out.message.has_value());
    EXPECT_EQ(out.results.TargetDay, 0);
    EXPECT_EQ(out.results.TargetSettlement, 0);
}

TEST(PredictFit, SwitchedOffRowLeavesTwoFitPointsOnTheSameLine) {
    StationRecord st = PartStation();
    st.SW[2] = 1;
    PredictionOutcome out = ComputePrediction(st, Settings());
    ASSERT_FALSE(out.message.has_value());
    EXPECT_EQ(out.results.FitCount, 2);
    EXPECT_EQ(out.results.ElapsedDays[1], 30);
    EXPECT_EQ(out.results.ElapsedDays[2], 90);
    EXPECT_NEAR(out.results.Slope, 1, 1e-12);
    EXPECT_NEAR(out.results.Intercept, 10, 1e-12);
    EXPECT_NEAR(out.results.FinalSettlement, 1, 1e-12);
}

TEST(PredictFit, LaterStartRowWithASwitchedOffRow) {
    // Start row 2 (day 5, 0.3 m); row 4 is switched off; the others lie on
    // (t - 5)/(S - 0.3) = (t - 5) + 10. Sf = 0.3 + 1 = 1.3.
    StationRecord st = MakeStation(
        {{0, 0}, {5, 0.3}, {15, 0.8}, {25, 5.0, 1}, {35, 1.05}, {95, 1.2}}, 2, 6);
    PredictionOutcome out = ComputePrediction(st, Settings());
    ASSERT_FALSE(out.message.has_value());
    const StationResults& r = out.results;
    EXPECT_EQ(r.FitCount, 3);
    EXPECT_EQ(r.ElapsedDays[3], 90);
    EXPECT_NEAR(r.Slope, 1, 1e-12);
    EXPECT_NEAR(r.Intercept, 10, 1e-12);
    EXPECT_NEAR(r.FinalSettlement, 1.3, 1e-12);
    // Back from day 4: P(4) = 0.3 - 1/9, P(3) = 0.3 - 2/8 = 0.05, P(2) < 0.
    EXPECT_EQ(r.FirstDay, 3);
    EXPECT_EQ(r.Predicted[2], 0);
    EXPECT_NEAR(r.Predicted[3], 0.05, 1e-12);
    // u/(u+10) + 0.3 > 0.95 * 1.3 first at u = 144 (143/153 < 0.935 < 144/154).
    EXPECT_EQ(r.LastDay, 149);

    // Switching off the start row itself moves the origin to row 3.
    st.SW[2] = 1;
    out = ComputePrediction(st, Settings());
    ASSERT_FALSE(out.message.has_value());
    EXPECT_EQ(out.results.FitCount, 2);
    EXPECT_EQ(out.results.ElapsedDays[1], 20);
}

TEST(PredictFit, BackwardSearchStopsAtThePole) {
    // a = 1, b = 10.5 from day 20 with S0 = 25 m: the denominator (d-20)+10.5
    // turns negative on day 9, where the curve is still positive.
    const double s0 = 25;
    StationRecord st = MakeStation({{0, 0},
                                    {20, s0},
                                    {30, s0 + 10 / 20.5},
                                    {50, s0 + 30 / 40.5},
                                    {110, s0 + 90 / 100.5}},
                                   2, 5);
    PredictionOutcome out = ComputePrediction(st, Settings());
    ASSERT_FALSE(out.message.has_value());
    EXPECT_NEAR(out.results.Slope, 1, 1e-12);
    EXPECT_NEAR(out.results.Intercept, 10.5, 1e-12);
    EXPECT_EQ(out.results.FirstDay, 10);
    EXPECT_NEAR(out.results.Predicted[10], s0 - 10 / 0.5, 1e-9);
    for (int d = out.results.FirstDay; d <= out.results.LastDay; ++d)
        ASSERT_TRUE(std::isfinite(out.results.Predicted[d]) && out.results.Predicted[d] >= 0) << d;
}

TEST(PredictFit, NoisyDataUsesRoundedSlopeAndExplainedOverTotal) {
    const std::vector<double> t = {10, 20, 40, 80};
    const std::vector<double> s = {0.4, 0.6, 0.8, 0.9};
    StationRecord st = MakeStation({{0, 0}, {10, 0.4}, {20, 0.6}, {40, 0.8}, {80, 0.9}}, 1, 5);
    PredictionOutcome out = ComputePrediction(st, Settings());
    ASSERT_FALSE(out.message.has_value());

    // Least squares in mean-centred form.
    std::vector<double> y;
    double tb = 0, yb = 0;
    for (std::size_t i = 0; i < t.size(); ++i) {
        y.push_back(t[i] / s[i]);
        tb += t[i] / 4;
        yb += y[i] / 4;
    }
    double sxy = 0, sxx = 0;
    for (std::size_t i = 0; i < t.size(); ++i) {
        sxy += (t[i] - tb) * (y[i] - yb);
        sxx += (t[i] - tb) * (t[i] - tb);
    }
    const double a = std::round(sxy / sxx * 1e4) / 1e4;  // 0.91546 -> 0.9155
    const double b = std::round((yb - a * tb) * 1e4) / 1e4;
    double explained = 0, total = 0, sse = 0;
    for (std::size_t i = 0; i < t.size(); ++i) {
        explained += std::pow(a * t[i] + b - yb, 2);
        total += std::pow(y[i] - yb, 2);
        sse += std::pow(y[i] - a * t[i] - b, 2);
    }
    const double r2 = std::round(explained / total * 1e4) / 1e4;
    EXPECT_NEAR(out.results.Slope, 0.9155, 1e-12);
    EXPECT_NEAR(out.results.Slope, a, 1e-12);
    EXPECT_NEAR(out.results.Intercept, b, 1e-12);
    EXPECT_NEAR(out.results.Intercept, 14.9743, 1e-12);  // not 14.9758 from the raw slope
    EXPECT_NEAR(out.results.R2, r2, 1e-12);
    EXPECT_NEAR(out.results.R2, 0.9985, 1e-12);
    EXPECT_GT(std::fabs(out.results.R2 - std::round((1 - sse / total) * 1e4) / 1e4), 0.5e-4);
    EXPECT_NEAR(out.results.FinalSettlement, 1.092, 1e-12);  // 1/0.9155 = 1.0923
}

TEST(PredictFit, EndConditionNeverReachedGivesLastDay30001) {
    ObsSettings s = Settings();
    s.EndConditionPercent = 99.99;  // d/(d+10) stays below 0.9999 up to day 30000
    PredictionOutcome out = ComputePrediction(PartStation(), s);
    ASSERT_FALSE(out.message.has_value());
    EXPECT_EQ(out.results.LastDay, 30001);
    s.EndConditionPercent = 100;  // the asymptote itself is never exceeded
    EXPECT_EQ(ComputePrediction(PartStation(), s).results.LastDay, 30001);
    ASSERT_EQ(out.results.Predicted.size(), 30002u);
    EXPECT_NEAR(out.results.Predicted[30001], 30001.0 / 30011.0, 1e-12);
}

// Sf rounded below the asymptote: S = t/(0.9155 t + 1) gives a = 0.9155,
// b = 1 and Sf = 1.092 < 1/0.9155 = 1.0923, so the curve passes 1.092 on
// day 3986 (d > 1.092/(1 - 0.9155 * 1.092) = 3985.4). 100 % still never
// ends the curve; 99.99 % ends it where d > 0.9999 * 1.092 / (1 - 0.9155 *
// 0.9999 * 1.092) = 2919.7.
TEST(PredictFit, EndConditionOf100IgnoresTheRoundingOfSf) {
    auto s = [](int t) { return t / (0.9155 * t + 1); };
    StationRecord st = MakeStation({{0, 0}, {10, s(10)}, {30, s(30)}, {90, s(90)}}, 1, 4);
    ObsSettings set = Settings();
    set.EndConditionPercent = 100;
    PredictionOutcome out = ComputePrediction(st, set);
    ASSERT_FALSE(out.message.has_value());
    EXPECT_NEAR(out.results.Slope, 0.9155, 1e-12);
    EXPECT_NEAR(out.results.Intercept, 1, 1e-12);
    EXPECT_NEAR(out.results.FinalSettlement, 1.092, 1e-12);
    EXPECT_EQ(out.results.LastDay, 30001);
    set.EndConditionPercent = 99.99;
    EXPECT_EQ(ComputePrediction(st, set).results.LastDay, 2920);
}

struct CheckCase {
    const char* name;
    int sa, saPrime, option, leave;
    double percent, residual, end;
    const char* message;  // nullptr: passes
};

TEST(PredictInput, ValidationOrderAndMessages) {
    const CheckCase cases[] = {
        {"sa zero", 0, 4, 3, 365, 90, 0.2, 95, "Saが不正です"},
        {"sa equal", 3, 3, 3, 365, 90, 0.2, 95, "Saが不正です"},
        {"sa above", 4, 3, 3, 365, 90, 0.2, 95, "Saが不正です"},
        {"sa before options", 0, 4, 0, 0, 90, 0.2, 0, "Saが不正です"},
        {"sa' beyond count", 1, 5, 3, 365, 90, 0.2, 95, "Sa'が不正です"},
        {"sa' before options", 1, 5, 0, 0, 90, 0.2, 95, "Sa'が不正です"},
        {"leave 0", 1, 4, 0, 0, 90, 0.2, 95, "放置期間指定が不正です"},
        {"leave 1", 1, 4, 0, 1, 90, 0.2, 95, nullptr},
        {"percent 99", 1, 4, 1, 365, 99, 0.2, 95, nullptr},
        {"percent 99.5", 1, 4, 1, 365, 99.5, 0.2, 95, "圧密度指定が不正です"},
        {"percent 0", 1, 4, 1, 365, 0, 0.2, 95, nullptr},
        {"percent negative", 1, 4, 1, 365, -1, 0.2, 95, "圧密度指定が不正です"},
        {"residual 0", 1, 4, 2, 365, 90, 0, 95, "残留沈下量指定が不正です"},
        {"other option checks nothing", 1, 4, 7, 0, -5, -5, 95, nullptr},
        {"option before end", 1, 4, 2, 365, 90, 0, 100, "残留沈下量指定が不正です"},
        {"end 100", 1, 4, 3, 365, 90, 0.2, 100, nullptr},
        {"end above 100", 1, 4, 3, 365, 90, 0.2, 100.5, "終了条件指定が不正です"},
        {"end 0", 1, 4, 3, 365, 90, 0.2, 0, "終了条件指定が不正です"},
        {"end 99.9", 1, 4, 3, 365, 90, 0.2, 99.9, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        StationRecord st = PartStation();
        st.Sa = static_cast<std::int16_t>(c.sa);
        st.SaPrime = static_cast<std::int16_t>(c.saPrime);
        ObsSettings s = Settings(c.option);
        s.LeaveDays = c.leave;
        s.TargetPercent = c.percent;
        s.ResidualSettlement = c.residual;
        s.EndConditionPercent = c.end;
        RecordingMessages box;
        std::int16_t rc = CheckPredictionInput(st, s, box);
        PredictionOutcome out = ComputePrediction(st, s);
        if (c.message == nullptr) {
            EXPECT_EQ(rc, 0);
            EXPECT_EQ(box.Count(), 0u);
            EXPECT_EQ(out.check, 0);
            EXPECT_FALSE(out.message.has_value());
            EXPECT_GE(out.results.LastDay, 1);
        } else {
            EXPECT_EQ(rc, 2);
            ASSERT_EQ(box.Count(), 1u);
            EXPECT_EQ(box.Last().text, c.message);
            EXPECT_EQ(box.Last().caption, "データエラー");
            EXPECT_EQ(box.Last().icon, MsgIcon::Exclamation);
            EXPECT_EQ(box.Last().buttons, MsgButtons::Ok);
            EXPECT_EQ(out.check, 2);
            ASSERT_TRUE(out.message.has_value());
            EXPECT_EQ(out.message->text, c.message);
            ExpectCleared(out.results);
        }
    }
}

TEST(PredictFit, StartAndEndTooClose) {
    StationRecord st = PartStation();
    st.SaPrime = 2;
    PredictionOutcome out = ComputePrediction(st, Settings());
    EXPECT_EQ(out.check, 0);
    ASSERT_TRUE(out.message.has_value());
    EXPECT_EQ(out.message->text, "開始、終了が不正です");
    EXPECT_EQ(out.message->caption, "データエラー");
    ExpectCleared(out.results);

    // With rows 1 to 3 switched off the start row moves up to Sa'.
    st = PartStation();
    st.SW[1] = st.SW[2] = st.SW[3] = 1;
    out = ComputePrediction(st, Settings());
    ASSERT_TRUE(out.message.has_value());
    EXPECT_EQ(out.message->text, "開始、終了が不正です");
}

TEST(PredictFit, ArithmeticFailuresTakeTheFailurePath) {
    struct Case {
        const char* name;
        StationRecord station;
    } cases[] = {
        // one fit point: the slope's denominator is 0
        {"one fit point", MakeStation({{0, 0}, {10, 0.5, 1}, {30, 0.75}}, 1, 3)},
        // a fit point with the start row's settlement
        {"equal settlement", MakeStation({{0, 0.2}, {10, 0.2}, {30, 0.75}, {90, 0.9}}, 1, 4)},
        // accelerating settlement: ratios 100, 50, 33 give a negative slope
        {"negative slope", MakeStation({{0, 0}, {10, 0.1}, {20, 0.4}, {30, 0.9}}, 1, 4)},
        // equal ratios: slope 0, no final settlement
        {"zero slope", MakeStation({{0, 0}, {10, 0.5}, {20, 1.0}, {40, 2.0}}, 1, 4)},
        // ratios u - 5: a = 1, b = -5, the pole lies after the start
        {"negative intercept", MakeStation({{0, 0}, {10, 2.0}, {30, 1.2}, {90, 90.0 / 85}}, 1, 4)},
        // dates must increase through the fit rows
        {"dates out of order", MakeStation({{0, 0}, {30, 0.75}, {10, 0.5}, {90, 0.9}}, 1, 4)},
        {"repeated date", MakeStation({{0, 0}, {10, 0.5}, {10, 0.6}, {90, 0.9}}, 1, 4)},
        // start row more than 30000 days after observation 1
        {"start too late", MakeStation({{0, 0}, {30001, 0}, {30011, 0.5}, {30031, 0.75}}, 2, 4)},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.name);
        ExpectFailure(ComputePrediction(c.station, Settings()));
    }

    StationRecord noDate = PartStation();
    noDate.ObsDate[3] = Date{};  // a row left without a date
    ExpectFailure(ComputePrediction(noDate, Settings()));
}

TEST(PredictCalcPrediction, StoresResultsAndClearsThemOnFailure) {
    ObsDataSet data;
    InitNewData(data);
    data.StationCount = 2;
    data.Stations[2] = PartStation();
    RecordingMessages box;
    CalcPrediction(data, 2, box);
    EXPECT_EQ(box.Count(), 0u);
    EXPECT_EQ(data.Stations[2].LastDay, 191);
    EXPECT_EQ(data.Stations[2].Count, 4);  // inputs untouched
    EXPECT_EQ(data.Stations[1].LastDay, 0);

    data.Stations[2].Settlement[2] = 0;  // equal to the start row
    CalcPrediction(data, 2, box);
    ASSERT_EQ(box.Count(), 1u);
    EXPECT_EQ(box.Last().text, kFailure);
    ExpectCleared(data.Stations[2]);

    CalcPrediction(data, 1, box);  // an empty station: Sa 0
    EXPECT_EQ(box.Last().text, "Saが不正です");
}

}  // namespace
}  // namespace kova::predict
