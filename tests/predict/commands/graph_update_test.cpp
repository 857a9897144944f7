#include "predict/commands/graph_update.hpp"

#include <gtest/gtest.h>

#include "testing/fakes.hpp"
#include "tests/predict/predict_test_util.hpp"

using namespace kova;
using namespace kova::predict;
using kova::predict::test::MakeStation;
using kova::predict::test::PartStation;

namespace {

struct Steps {
    std::string log;
    bool copyOk = true;
    GraphUpdateSteps Make() {
        return {[this] {
                    log += "copy ";
                    return copyOk;
                },
                [this] { log += "results "; }, [this] { log += "P1 "; }, [this] { log += "P2"; }};
    }
};

TEST(GraphUpdate, ActsOnlyOnAStationInUse) {
    for (int cur : {0, 3, 21, -1}) {
        ObsDataSet d;
        d.StationCount = 2;
        d.Stations[0] = PartStation();
        RecordingMessages m;
        Steps s;
        UpdateGraphs(d, cur, m, s.Make());
        EXPECT_EQ(s.log, "") << cur;
        EXPECT_EQ(m.Count(), 0u);
    }
}

TEST(GraphUpdate, CopiesPredictsShowsAndRedrawsInOrder) {
    ObsDataSet d;
    d.StationCount = 1;
    d.Stations[1] = PartStation();
    RecordingMessages m;
    Steps s;
    UpdateGraphs(d, 1, m, s.Make());
    EXPECT_EQ(s.log, "copy results P1 P2");
    EXPECT_EQ(m.Count(), 0u);
    EXPECT_EQ(d.Stations[1].LastDay, 191);

    // A refused screen stops before the prediction.
    d.Stations[1].LastDay = 0;
    s.log.clear();
    s.copyOk = false;
    UpdateGraphs(d, 1, m, s.Make());
    EXPECT_EQ(s.log, "copy ");
    EXPECT_EQ(d.Stations[1].LastDay, 0);
}

TEST(GraphUpdate, NoCurveIsToldApartFromTheFitsOwnMessages) {
    // The start settlement 100 m lies above 95 % of Sf = 101 m.
    ObsDataSet d;
    d.StationCount = 2;
    d.Stations[2] = MakeStation({{0, 100}, {10, 100.5}, {30, 100.75}, {90, 100.9}}, 1, 4);
    d.Stations[2].Name = "北1";
    RecordingMessages m;
    EXPECT_FALSE(PredictStation(d, 2, m));
    ASSERT_EQ(m.Count(), 1u);
    EXPECT_EQ(m.Last().text, NoCurveMessage(2, "北1").text);
    EXPECT_EQ(m.Last().text.rfind("観測所2（北1）：開始時の沈下量", 0), 0u);
    EXPECT_DOUBLE_EQ(d.Stations[2].FinalSettlement, 101);

    // A refused input tells only its own message.
    m.Clear();
    d.Stations[2].Sa = 0;
    EXPECT_FALSE(PredictStation(d, 2, m));
    ASSERT_EQ(m.Count(), 1u);
    EXPECT_EQ(m.Last().text, "観測所2（北1）：Saが不正です。");
}

}  // namespace
