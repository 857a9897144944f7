#include <gtest/gtest.h>

#include <array>
#include <utility>
#include <vector>

#include "editing/section_clicks.hpp"
#include "testing/fakes.hpp"
#include "testing/recording_canvas.hpp"
#include "tests/support/section_tables.hpp"

namespace kova {
namespace {

using test::Lines;
using test::Pair;
using test::SetLines;

struct AddLine : ::testing::Test {
    Model m;
    EditorState v;
    RecordingCanvas canvas;
    RecordingMessages ui;
    void SetUp() override {
        for (int i = 0; i < 20; ++i) m.BndPt[i] = {double(i), double(-i)};
        m.BndPtCount = 20;
        v.ViewLeftX = -10;
        v.ViewTopY = 10;
        v.ViewScale = 100;
        v.cmd_mode = 3;
    }
};

TEST_F(AddLine, AppendsDrawsAndSkipsExistingLines) {
    EXPECT_EQ(AddBndLine(m, v, canvas, ui, 5, 2, v.cmd_mode == 8), AddLineResult::Added);
    EXPECT_EQ(Lines(m.BndLine, m.BndLineCount), (std::vector<Pair>{{5, 2}}));
    // Point 5 at (5, -5): ((5+10)*100, (10+5)*100); point 2 at (2, -2).
    ASSERT_EQ(canvas.segments.size(), 1u);
    const auto& s = canvas.segments[0];
    EXPECT_EQ((std::array{s.x1, s.y1, s.x2, s.y2, s.colour}), (std::array{1500, 1500, 1200, 1200, 11}));
    // The cut-line tool: the same line in either direction is there already.
    v.cmd_mode = 8;
    SetLines(m.CutLine, m.CutLineCount, {{2, 5}});
    EXPECT_EQ(AddBndLine(m, v, canvas, ui, 5, 2, v.cmd_mode == 8), AddLineResult::Exists);
    EXPECT_EQ(AddBndLine(m, v, canvas, ui, 2, 5, v.cmd_mode == 8), AddLineResult::Exists);
    EXPECT_EQ(canvas.segments.size(), 1u);
    EXPECT_EQ(AddBndLine(m, v, canvas, ui, 2, 6, v.cmd_mode == 8), AddLineResult::Added);
    EXPECT_EQ(Lines(m.CutLine, m.CutLineCount), (std::vector<Pair>{{2, 5}, {2, 6}}));
    EXPECT_EQ(canvas.segments.back().colour, 10);
    EXPECT_EQ(m.BndLineCount, 1);
    EXPECT_EQ(m.BndLineCount + m.CutLineCount, 3);
    EXPECT_EQ(ui.Count(), 0u);
    // A line too far off for the 32-bit canvas is stored but not drawn now.
    v.cmd_mode = 3;
    m.BndPt[3].X = 1e9;
    EXPECT_EQ(AddBndLine(m, v, canvas, ui, 1, 3, v.cmd_mode == 8), AddLineResult::Added);
    EXPECT_EQ(m.BndLineCount, 2);
    EXPECT_EQ(canvas.segments.size(), 2u);
}

TEST_F(AddLine, RefusalsTellTheUserOnce) {
    // Point 0 already has 9 lines.
    SetLines(m.BndLine, m.BndLineCount, {{0, 1}, {2, 0}, {0, 3}, {0, 4}, {0, 5}, {0, 6}, {7, 0}, {0, 8}, {0, 9}});
    const char* kNine = "1つの境界点に接続できる線は9本までです。";
    const char* kNoPoint = "境界点がありません。";
    struct Case {
        i16 p1, p2;
        const char* msg;
    } cases[] = {{4, 4, "同じ境界点どうしを結ぶ線は登録できません。"},
                 {0, 10, kNine},
                 {11, 0, kNine},
                 {3, 20, kNoPoint},
                 {-1, 3, kNoPoint}};
    for (Case c : cases) {
        ui.Clear();
        EXPECT_EQ(AddBndLine(m, v, canvas, ui, c.p1, c.p2, v.cmd_mode == 8), AddLineResult::Refused) << c.p1 << "-" << c.p2;
        ASSERT_EQ(ui.Count(), 1u);
        EXPECT_EQ(ui.Last().text, c.msg);
        EXPECT_EQ(m.BndLineCount, 9);
    }
    EXPECT_TRUE(canvas.segments.empty());
    EXPECT_EQ(AddBndLine(m, v, canvas, ui, 1, 10, v.cmd_mode == 8), AddLineResult::Added);  // fewer than 9 lines still connect
    // A full table refuses the 501st line without touching the spare slot.
    m.BndLineCount = 500;
    m.BndLine[500] = BoundaryLine{-7, -7};
    ui.Clear();
    EXPECT_EQ(AddBndLine(m, v, canvas, ui, 12, 13, v.cmd_mode == 8), AddLineResult::Refused);
    EXPECT_EQ(m.BndLineCount, 500);
    EXPECT_EQ(m.BndLine[500].pt1, -7);
    ASSERT_EQ(ui.Count(), 1u);
    EXPECT_EQ(ui.Last().text, "線の数が上限(500本)に達しているため、これ以上登録できません。");
    EXPECT_EQ(ui.Last().icon, MsgIcon::Exclamation);
}

}  // namespace
}  // namespace kova
