#include "predict/commands/graph_options.hpp"

#include <gtest/gtest.h>

using namespace kova::predict;

namespace {

TEST(GraphOptions, OpenOnANewDataSet) {
    GraphOptionTexts before;
    const GraphOptionTexts t = LoadGraphOptions(ObsSettings{}, before);
    EXPECT_EQ(t.leaveDays, "365");
    EXPECT_EQ(t.residual, "0.200");
    EXPECT_EQ(t.percent, "90");
    EXPECT_EQ(t.endPercent, "95");
    EXPECT_EQ(t.settlementOption, 3);
    EXPECT_EQ(t.timeAxisMode, 0);

    ObsSettings odd;
    odd.SettlementOption = 7;
    odd.TimeAxisMode = -1;
    before.settlementOption = 1;
    before.timeAxisMode = 1;
    const GraphOptionTexts u = LoadGraphOptions(odd, before);
    EXPECT_EQ(u.settlementOption, 1);
    EXPECT_EQ(u.timeAxisMode, 1);
}

TEST(GraphOptions, BoxTextsAfterLeaving) {
    EXPECT_EQ(OptionBoxText("abc", 0), "0");
    EXPECT_EQ(OptionBoxText(" 12.3456", 3), "12.346");
    EXPECT_EQ(OptionBoxText("89.5", 0), "90");
    EXPECT_EQ(OptionBoxText("1E999", 0), "1E999");  // kept for OK to refuse
}

TEST(GraphOptions, OkStoresOrRefusesEverything) {
    const struct {
        std::string leave, residual, percent, end;
        const char* refusal;  // nullptr: stored
        int leaveDays;
    } cases[] = {
        {"365.5", "0.3", "80", "90", nullptr, 366},
        {"364.5", "0.3", "80", "90", nullptr, 364},
        {"abc", "abc", "abc", "abc", nullptr, 0},
        {"2147483647", "0.3", "80", "90", nullptr, 2147483647},
        {"2147483648", "0.3", "80", "90", "放置期間指定が不正です。", 0},
        {"-1e12", "0.3", "80", "90", "放置期間指定が不正です。", 0},
        {"1e300", "0.3", "80", "90", "放置期間指定が不正です。", 0},
        {"10", "1E999", "80", "90", "残留沈下量指定が不正です。", 0},
        {"10", "0.3", "-1D999", "90", "圧密度指定が不正です。", 0},
        {"10", "0.3", "80", "1e400", "終了条件指定が不正です。", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.leave + " " + c.residual + " " + c.percent + " " + c.end);
        ObsSettings s;
        GraphOptionTexts t{c.leave, c.residual, c.percent, c.end, 1, 1};
        const std::optional<kova::Message> m = ApplyGraphOptions(t, s);
        if (c.refusal) {
            ASSERT_TRUE(m.has_value());
            EXPECT_EQ(m->text, c.refusal);
            EXPECT_EQ(m->caption, "データエラー");
            EXPECT_EQ(s.LeaveDays, 365);  // nothing stored
            EXPECT_EQ(s.SettlementOption, 3);
            continue;
        }
        ASSERT_FALSE(m.has_value());
        EXPECT_EQ(s.LeaveDays, c.leaveDays);
        EXPECT_EQ(s.SettlementOption, 1);
        EXPECT_EQ(s.TimeAxisMode, 1);
    }
}

}  // namespace
