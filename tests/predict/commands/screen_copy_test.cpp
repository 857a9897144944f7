#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "predict/commands/screen_copy.hpp"
#include "testing/fakes.hpp"

namespace kova::predict {
namespace {

// Grid rows as texts: date, settlement, remark, SW.
struct FakeGrid {
    std::vector<std::vector<std::string>> rows;
    GridTexts Texts() const {
        GridTexts t;
        t.rowsInUse = static_cast<int>(rows.size());
        t.text = [this](int r, int c) {
            if (c == kColNo) return std::to_string(r);
            return rows[static_cast<std::size_t>(r - 1)][static_cast<std::size_t>(c - 1)];
        };
        return t;
    }
};

TEST(GridDate, AcceptedAndRefusedTexts) {
    struct Case {
        const char* text;
        std::optional<std::string> shown;  // as the grid shows it again
    };
    const Case cases[] = {
        {"2003/04/15", "2003/04/15"},
        {"2003-4-5", "2003/04/05"},
        {"２００３／０４／１５", "2003/04/15"},
        {"2004/02/29", "2004/02/29"},
        {"2003/02/29", std::nullopt},
        {"2000/13/45", std::nullopt},
        {"03/04/15", std::nullopt},
        {"", std::nullopt},
        {"0.75", std::nullopt},
    };
    for (const Case& c : cases) {
        auto d = ParseGridDate(c.text);
        ASSERT_EQ(d.has_value(), c.shown.has_value()) << c.text;
        if (d) {
            EXPECT_EQ(GridDateText(*d), *c.shown) << c.text;
            EXPECT_EQ(ParseGridDate(GridDateText(*d)), d) << c.text;
        }
    }
}

TEST(RangeBox, ValuesAndRefusals) {
    const std::map<std::string, std::optional<int>> cases = {
        {"2.5", 2},       {"3.5", 4},       {"", 0},          {"abc", 0},     {"12.7", 13},
        {"-32768", -32768}, {"32767", 32767}, {"32768", std::nullopt}, {"-32769", std::nullopt},
        {"1e999", std::nullopt}, {"１３", 13},
    };
    for (const auto& [text, want] : cases) {
        auto v = RangeValue(text);
        ASSERT_EQ(v.has_value(), want.has_value()) << text;
        if (v) {
            EXPECT_EQ(*v, *want) << text;
        }
    }
}

TEST(ScreenCopy, StoresEveryRowAndTheRange) {
    FakeGrid g{{{"2003/04/15", "0", "", ""},
                {"2003/04/25", "0.5", "盛土,開始", "1.0"},
                {"2003/05/15", " 0.75m", "", "2"},
                {"2003/07/14", "0.9", "", "1"}}};
    StationRecord s;
    RecordingMessages msg;
    ASSERT_TRUE(CopyScreenIntoStation(g.Texts(), "1", "4.5", s, msg));
    EXPECT_EQ(msg.Count(), 0u);
    EXPECT_EQ(s.Sa, 1);
    EXPECT_EQ(s.SaPrime, 4);  // halves to even
    ASSERT_EQ(s.Count, 4);
    EXPECT_EQ(GridDateText(s.ObsDate[3]), "2003/05/15");
    EXPECT_EQ(s.Settlement[3], 0.75);
    EXPECT_EQ(s.Remark[2], "盛土,開始");
    EXPECT_EQ((std::vector<int>{s.SW[1], s.SW[2], s.SW[3], s.SW[4]}), (std::vector<int>{0, 1, 0, 1}));

    // Fewer rows: the arrays shrink with the count.
    g.rows.resize(2);
    ASSERT_TRUE(CopyScreenIntoStation(g.Texts(), "1", "2", s, msg));
    EXPECT_EQ(s.Count, 2);
    EXPECT_EQ(s.ObsDate.size(), 3u);
}

TEST(ScreenCopy, RefusesBeforeAnythingChanges) {
    struct Case {
        const char* ts;
        const char* te;
        int emptyDateRow;  // 0: none
        const char* message;
        const char* caption;
        int badRow;
    };
    const Case cases[] = {
        {"40000", "4", 0, "Saが不正です。", "データエラー", 0},
        {"1", "-40000", 0, "Sa'が不正です。", "データエラー", 0},
        {"1", "4", 2, kBadDateText, "", 2},  // an inserted empty row
        {"1", "4", 4, kBadDateText, "", 4},
    };
    for (const Case& c : cases) {
        FakeGrid g{{{"2003/04/15", "0", "", ""},
                    {"2003/04/25", "0.5", "", ""},
                    {"2003/05/15", "0.75", "", ""},
                    {"2003/07/14", "0.9", "", ""}}};
        if (c.emptyDateRow) g.rows[static_cast<std::size_t>(c.emptyDateRow - 1)][0] = "";
        StationRecord s;
        s.ResizeRows(1);
        s.ObsDate[1] = *Date::FromYmd(2001, 1, 1);
        s.Sa = 7;
        RecordingMessages msg;
        int bad = -1;
        EXPECT_FALSE(CopyScreenIntoStation(g.Texts(), c.ts, c.te, s, msg, &bad)) << c.message;
        ASSERT_EQ(msg.Count(), 1u);
        EXPECT_EQ(msg.Last().text, c.message);
        EXPECT_EQ(msg.Last().caption, c.caption);
        EXPECT_EQ(bad, c.badRow);
        EXPECT_EQ(s.Count, 1);
        EXPECT_EQ(s.Sa, 7);
        EXPECT_EQ(GridDateText(s.ObsDate[1]), "2001/01/01");
    }
}

TEST(ResultLabel, ThirteenColumns) {
    EXPECT_EQ(ResultLabel(12.3456, 3, true), "      12.346 ");
    EXPECT_EQ(ResultLabel(0.00123, 4), "       0.0012");
    EXPECT_EQ(ResultLabel(0, 4), "       0.0000");
    EXPECT_EQ(ResultLabel(-123456789012.5, 4), "-123456789012.5000");
}

}  // namespace
}  // namespace kova::predict
