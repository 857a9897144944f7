#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "predict_test_util.hpp"
#include "testing/fakes.hpp"

namespace kova::predict {
namespace {

using test::MakeStation;
using test::Option;
using test::PartStation;

const char* kFailure = "予測計算で予期せぬエラーが起こりました。\r観測データの並び、沈下量を確認してください。";

void ExpectCleared(const StationResults& r) {
    EXPECT_EQ(r.LastDay + r.FirstDay + r.TargetDay + r.FitCount, 0);
    EXPECT_EQ(r.Slope + r.Intercept + r.R2 + r.FinalSettlement, 0);
    EXPECT_EQ(r.Predicted.size(), 1u);
}

PredictionOutcome Fit(const StationRecord& st, const ObsSettings& s = Option(3)) {
    PredictionOutcome out = ComputePrediction(st, s);
    EXPECT_FALSE(out.message.has_value()) << out.message->text;
    return out;
}

TEST(PredictFit, WorkedDataSet) {
    const StationResults r = Fit(PartStation()).results;
    EXPECT_EQ(r.FitCount, 3);
    EXPECT_NEAR(r.Ratio[3], 100, 1e-12);  // 90 / 0.9
    EXPECT_NEAR(r.Slope, 1, 1e-12);
    EXPECT_NEAR(r.Intercept, 10, 1e-12);
    EXPECT_NEAR(r.R2, 1, 1e-12);
    EXPECT_NEAR(r.FinalSettlement, 1, 1e-12);
    EXPECT_EQ(r.FirstDay, 0);
    EXPECT_EQ(r.LastDay, 191);  // d/(d + 10) > 0.95 first on day 191 (190/200 is the tie)
    ASSERT_EQ(r.Predicted.size(), 192u);
    EXPECT_NEAR(r.Predicted[40], 0.8, 1e-12);
    EXPECT_NEAR(r.Predicted[191], 191.0 / 201.0, 1e-12);
}

TEST(PredictFit, TargetDayByOption) {
    struct Case {
        int option, leave;
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
        {2, 365, 90, 0.0001, 0},  // needs day 99991: never reached
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.target);
        ObsSettings s = Option(c.option);
        s.LeaveDays = c.leave;
        s.TargetPercent = c.percent;
        s.ResidualSettlement = c.residual;
        const StationResults r = Fit(PartStation(), s).results;
        EXPECT_EQ(r.LastDay, 191);
        EXPECT_EQ(r.TargetDay, c.target);
        EXPECT_NEAR(r.TargetSettlement, c.target > 0 ? c.target / (c.target + 10.0) : 0.0, 1e-12);
    }
}

TEST(PredictFit, SwitchedOffRowsAndALaterStartRow) {
    StationRecord st = PartStation();
    st.SW[2] = 1;  // the two points left lie on the same line
    StationResults r = Fit(st).results;
    EXPECT_EQ(r.FitCount, 2);
    EXPECT_EQ(r.ElapsedDays[1], 30);
    EXPECT_NEAR(r.Slope, 1, 1e-12);
    EXPECT_NEAR(r.Intercept, 10, 1e-12);

    // Start row 2 (day 5, 0.3 m), row 4 off; the others lie on
    // (t - 5)/(S - 0.3) = (t - 5) + 10, so Sf = 1.3.
    st = MakeStation({{0, 0}, {5, 0.3}, {15, 0.8}, {25, 5.0, 1}, {35, 1.05}, {95, 1.2}}, 2, 6);
    r = Fit(st).results;
    EXPECT_EQ(r.FitCount, 3);
    EXPECT_EQ(r.ElapsedDays[3], 90);
    EXPECT_NEAR(r.Slope, 1, 1e-12);
    EXPECT_NEAR(r.Intercept, 10, 1e-12);
    EXPECT_NEAR(r.FinalSettlement, 1.3, 1e-12);
    // Back from day 4: P(3) = 0.3 - 2/8 = 0.05, P(2) < 0.
    EXPECT_EQ(r.FirstDay, 3);
    EXPECT_NEAR(r.Predicted[3], 0.05, 1e-12);
    // u/(u+10) + 0.3 > 0.95 * 1.3 first at u = 144 (143/153 < 0.935 < 144/154).
    EXPECT_EQ(r.LastDay, 149);

    st.SW[2] = 1;  // switching off the start row moves the origin to row 3
    EXPECT_EQ(Fit(st).results.ElapsedDays[1], 20);
}

TEST(PredictFit, BackwardSearchStopsAtThePole) {
    // a = 1, b = 10.5 from day 20 with S0 = 25 m: (d-20)+10.5 turns negative
    // on day 9, where the curve is still positive.
    const double s0 = 25;
    StationRecord st = MakeStation(
        {{0, 0}, {20, s0}, {30, s0 + 10 / 20.5}, {50, s0 + 30 / 40.5}, {110, s0 + 90 / 100.5}}, 2, 5);
    const StationResults r = Fit(st).results;
    EXPECT_NEAR(r.Intercept, 10.5, 1e-12);
    EXPECT_EQ(r.FirstDay, 10);
    EXPECT_NEAR(r.Predicted[10], s0 - 10 / 0.5, 1e-9);
}

TEST(PredictFit, NoisyDataRoundsSlopeAndInterceptAndTakesR2FromTheRawLine) {
    const double t[] = {10, 20, 40, 80}, s[] = {0.4, 0.6, 0.8, 0.9};
    StationRecord st = MakeStation({{0, 0}, {10, 0.4}, {20, 0.6}, {40, 0.8}, {80, 0.9}}, 1, 5);
    const StationResults r = Fit(st).results;
    // Least squares in mean-centred form, b from the rounded a.
    double y[4], tb = 0, yb = 0, sxy = 0, sxx = 0, explained = 0, total = 0;
    for (int i = 0; i < 4; ++i) y[i] = t[i] / s[i], tb += t[i] / 4, yb += y[i] / 4;
    for (int i = 0; i < 4; ++i) sxy += (t[i] - tb) * (y[i] - yb), sxx += (t[i] - tb) * (t[i] - tb);
    auto round4 = [](double v) { return std::round(v * 1e4) / 1e4; };
    const double a = round4(sxy / sxx), b = round4(yb - a * tb);
    for (int i = 0; i < 4; ++i) {
        explained += std::pow(a * t[i] + b - yb, 2);
        total += std::pow(y[i] - yb, 2);
    }
    EXPECT_NEAR(r.Slope, 0.9155, 1e-12);
    EXPECT_NEAR(r.Intercept, b, 1e-12);
    EXPECT_NEAR(r.Intercept, 14.9743, 1e-12);  // not 14.9758 from the raw slope
    // r² of the least-squares line itself, not of the rounded one.
    const double rawR2 = sxy * sxy / (sxx * total);
    EXPECT_NEAR(r.R2, round4(rawR2), 1e-12);
    EXPECT_GT(std::fabs(round4(explained / total) - round4(rawR2)), 0.5e-4);
    EXPECT_NEAR(r.FinalSettlement, 1.092, 1e-12);  // 1/0.9155 = 1.0923
}

// Readings exactly on a line whose slope rounds up (0.01236 to 0.0124):
// with the rounded line the "explained" sum exceeded the total and r² was
// reported as 1.0065. The least-squares line of exact data has r² = 1.
TEST(PredictFit, R2NeverAboveOne) {
    for (double slope : {0.01236, 0.01234, 0.00005001}) {
        SCOPED_TRACE(slope);
        const double b = 1;
        auto s = [&](double t) { return t / (slope * t + b); };
        StationRecord st = MakeStation(
            {{0, 0}, {10, s(10)}, {20, s(20)}, {40, s(40)}, {70, s(70)}, {100, s(100)}, {160, s(160)}}, 1, 7);
        const StationResults r = Fit(st).results;
        EXPECT_LE(r.R2, 1.0);
        EXPECT_NEAR(r.R2, 1.0, 1e-12);
    }
    // Noisy readings: below 1, and never above.
    StationRecord noisy = MakeStation({{0, 0}, {10, 0.4}, {20, 0.62}, {40, 0.79}, {80, 0.93}, {120, 0.95}}, 1, 6);
    const StationResults r = Fit(noisy).results;
    EXPECT_GT(r.R2, 0.9);
    EXPECT_LT(r.R2, 1.0);
}

TEST(PredictFit, EndCondition) {
    // S = t/(0.9155 t + 1): a = 0.9155, b = 1, Sf = 1.092 rounded below the
    // asymptote 1.0923; 100 % must still never end the curve, and 99.99 %
    // ends it where d > 0.9999 * 1.092 / (1 - 0.9155 * 0.9999 * 1.092) = 2919.7.
    auto f = [](int t) { return t / (0.9155 * t + 1); };
    const StationRecord rounded = MakeStation({{0, 0}, {10, f(10)}, {30, f(30)}, {90, f(90)}}, 1, 4);
    struct Case {
        StationRecord st;
        double end;
        int lastDay;
    } cases[] = {{PartStation(), 99.99, 30001}, {PartStation(), 100, 30001},
                 {rounded, 100, 30001},        {rounded, 99.99, 2920}};
    for (const auto& c : cases) {
        ObsSettings s = Option(3);
        s.EndConditionPercent = c.end;
        const StationResults r = Fit(c.st, s).results;
        EXPECT_EQ(r.LastDay, c.lastDay) << c.end;
        ASSERT_EQ(r.Predicted.size(), static_cast<std::size_t>(c.lastDay + 1));
    }
    ObsSettings s = Option(3);
    s.EndConditionPercent = 100;
    EXPECT_NEAR(Fit(PartStation(), s).results.Predicted[30001], 30001.0 / 30011.0, 1e-12);
}

TEST(PredictInput, ValidationOrderAndMessages) {
    struct Case {
        int sa, saPrime, option, leave;
        double percent, residual, end;
        const char* message;  // nullptr: passes
    } cases[] = {
        {0, 4, 3, 365, 90, 0.2, 95, "Saが不正です。"},
        {3, 3, 3, 365, 90, 0.2, 95, "Saが不正です。"},
        {0, 4, 0, 0, 90, 0.2, 0, "Saが不正です。"},  // Sa before the options
        {1, 5, 0, 0, 90, 0.2, 95, "Sa'が不正です。"},  // Sa' beyond Count, before the options
        {1, 4, 0, 0, 90, 0.2, 95, "放置期間指定が不正です。"},
        {1, 4, 0, 1, 90, 0.2, 95, nullptr},
        {1, 4, 1, 365, 99, 0.2, 95, nullptr},
        {1, 4, 1, 365, 99.5, 0.2, 95, "圧密度指定が不正です。"},
        {1, 4, 1, 365, -1, 0.2, 95, "圧密度指定が不正です。"},
        {1, 4, 2, 365, 90, 0, 100, "残留沈下量指定が不正です。"},  // option before the end
        {1, 4, 7, 0, -5, -5, 95, nullptr},  // another option checks nothing
        {1, 4, 3, 365, 90, 0.2, 100, nullptr},
        {1, 4, 3, 365, 90, 0.2, 100.5, "終了条件指定が不正です。"},
        {1, 4, 3, 365, 90, 0.2, 0, "終了条件指定が不正です。"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.sa << c.saPrime << " " << c.option << " " << c.end);
        StationRecord st = PartStation();
        st.Sa = static_cast<std::int16_t>(c.sa);
        st.SaPrime = static_cast<std::int16_t>(c.saPrime);
        ObsSettings s = Option(c.option);
        s.LeaveDays = c.leave;
        s.TargetPercent = c.percent;
        s.ResidualSettlement = c.residual;
        s.EndConditionPercent = c.end;
        RecordingMessages box;
        const std::int16_t rc = CheckPredictionInput(st, s, box);
        const PredictionOutcome out = ComputePrediction(st, s);
        EXPECT_EQ(out.check, rc);
        EXPECT_EQ(rc, c.message ? 2 : 0);
        ASSERT_EQ(box.Count(), c.message ? 1u : 0u);
        ASSERT_EQ(out.message.has_value(), c.message != nullptr);
        if (c.message == nullptr) {
            EXPECT_GE(out.results.LastDay, 1);
            continue;
        }
        EXPECT_EQ(box.Last().text, c.message);
        EXPECT_EQ(box.Last().caption, "データエラー");
        EXPECT_EQ(box.Last().icon, MsgIcon::Exclamation);
        EXPECT_EQ(out.message->text, c.message);
        ExpectCleared(out.results);
    }
}

TEST(PredictFit, FailuresTakeTheFailurePath) {
    StationRecord noDate = PartStation();
    noDate.ObsDate[3] = Date{};
    // The cause the user can mend, with its row.
    struct Case {
        const char* name;
        StationRecord station;
        const char* cause;
    } cases[] = {
        {"one fit point", MakeStation({{0, 0}, {10, 0.5, 1}, {30, 0.75}}, 1, 3),
         "Sa～Sa'に回帰に使える観測が2点以上ありません。"},
        {"equal settlement", MakeStation({{0, 0.2}, {10, 0.2}, {30, 0.75}, {90, 0.9}}, 1, 4),
         "2行目の沈下量が開始の1行目と同じです。"},
        {"negative slope", MakeStation({{0, 0}, {10, 0.1}, {20, 0.4}, {30, 0.9}}, 1, 4),
         "回帰直線の傾きが0以下です（沈下が収まりません）。"},
        {"zero slope", MakeStation({{0, 0}, {10, 0.5}, {20, 1.0}, {40, 2.0}}, 1, 4),
         "回帰直線の傾きが0以下です（沈下が収まりません）。"},
        // ratios u - 5: a = 1, b = -5, the pole lies after the start
        {"negative intercept", MakeStation({{0, 0}, {10, 2.0}, {30, 1.2}, {90, 90.0 / 85}}, 1, 4),
         "回帰直線の切片が0以下です。"},
        {"dates out of order", MakeStation({{0, 0}, {30, 0.75}, {10, 0.5}, {90, 0.9}}, 1, 4),
         "3行目の観測日が前の観測日より後ではありません。"},
        {"repeated date", MakeStation({{0, 0}, {10, 0.5}, {10, 0.6}, {90, 0.9}}, 1, 4),
         "3行目の観測日が前の観測日より後ではありません。"},
        {"start too late", MakeStation({{0, 0}, {30001, 0}, {30011, 0.5}, {30031, 0.75}}, 2, 4),
         "2行目（開始）が1行目から30000日を超えています。"},
        {"start before row 1", MakeStation({{10, 0}, {0, 0.1}, {30, 0.75}, {90, 0.9}}, 2, 4),
         "2行目（開始）の観測日が1行目より前です。"},
        {"no date", noDate, "3行目の観測日が不正です。"},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.name);
        const PredictionOutcome out = ComputePrediction(c.station, Option(3));
        ASSERT_TRUE(out.message.has_value());
        EXPECT_EQ(out.message->text, kFailure);
        EXPECT_EQ(out.message->caption, "Tolmadex");
        EXPECT_EQ(out.cause, c.cause);
        ExpectCleared(out.results);
    }
    // Sa' next to Sa, or every row before Sa' switched off.
    StationRecord close = PartStation();
    close.SaPrime = 2;
    StationRecord off = PartStation();
    off.SW[1] = off.SW[2] = off.SW[3] = 1;
    for (const StationRecord& st : {close, off}) {
        const PredictionOutcome out = ComputePrediction(st, Option(3));
        EXPECT_EQ(out.check, 0);
        ASSERT_TRUE(out.message.has_value());
        EXPECT_EQ(out.message->text, "開始、終了が不正です。");
        ExpectCleared(out.results);
    }
}

TEST(PredictCalcPrediction, StoresResultsAndClearsThemOnFailure) {
    ObsDataSet data;
    InitNewData(data);
    data.StationCount = 2;
    data.Stations[2] = PartStation();
    data.Stations[2].Name = "No.2 測点";
    RecordingMessages box;
    CalcPrediction(data, 2, box);
    EXPECT_EQ(box.Count(), 0u);
    EXPECT_EQ(data.Stations[2].LastDay, 191);
    EXPECT_EQ(data.Stations[1].LastDay, 0);

    data.Stations[2].Settlement[2] = 0;  // equal to the start row
    CalcPrediction(data, 2, box);
    ASSERT_EQ(box.Count(), 1u);
    // The station and the cause first, then the failure text as it stands.
    EXPECT_EQ(box.Last().text,
              std::string("観測所2（No.2 測点）：2行目の沈下量が開始の1行目と同じです。\r") + kFailure);
    ExpectCleared(data.Stations[2]);

    CalcPrediction(data, 1, box);  // an empty station without a name: Sa 0
    EXPECT_EQ(box.Last().text, "観測所1：Saが不正です。");
    EXPECT_EQ(box.Last().caption, "データエラー");
}

}  // namespace
}  // namespace kova::predict
