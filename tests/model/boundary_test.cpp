#include <gtest/gtest.h>

#include <tuple>
#include <utility>
#include <vector>

#include "model/boundary.hpp"
#include "testing/fakes.hpp"
#include "testing/recording_canvas.hpp"
#include "rich_model.hpp"

namespace kova {
namespace {

using Pair = std::pair<int, int>;
using LineTable = std::array<BoundaryLine, kMaxLines + 1>;

std::vector<Pair> Lines(const LineTable& t, int n) {
    std::vector<Pair> out;
    for (int i = 0; i < n; ++i) out.emplace_back(t[i].pt1, t[i].pt2);
    return out;
}

void SetLines(LineTable& t, i16& n, std::initializer_list<Pair> lines) {
    n = 0;
    for (auto [a, b] : lines) t[n++] = BoundaryLine{static_cast<i16>(a), static_cast<i16>(b)};
}

TEST(FindBndPt, SearchRules) {
    using Pts = std::vector<std::pair<double, double>>;
    // Points 0 and 1 lie 5 from the origin, point 2 is 14.0 away.
    const Pts four{{3, 4}, {-4, 3}, {9.9, 9.9}, {20, 0}};
    struct Case {
        Pts pts;
        double x, y, tol;
        int found;
    } cases[] = {
        {{}, 0, 0, 10, -1},
        {four, 0, 0, 15, 1},            // the nearest; of equal distances the later
        {four, 0, 0, 5, 1},             // exactly at the tolerance
        {four, 0, 0, 4.999, -1},
        {four, 10, 10, 0.2, 2},
        {four, 20, 0, 0, 3},            // exact match at tolerance 0
        {four, 20.0000001, 0, 0, -1},
        {{{7, 7}}, 0, 0, 8, -1},        // inside the box, outside the circle
        {{{7, 7}}, 0, 0, 9.9, 0},
        {{{1, 1}, {1, 1}, {2, 2}, {1, 1}}, 1, 1, 0, 3},  // duplicates: the highest index
    };
    for (const Case& c : cases) {
        Model m;
        for (auto [x, y] : c.pts) m.BndPt[m.BndPtCount++] = {x, y};
        EXPECT_EQ(FindBndPt(m, c.x, c.y, c.tol), c.found) << c.x << "," << c.y << " tol " << c.tol;
    }
}

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
    EXPECT_EQ(AddBndLine(m, v, canvas, ui, 5, 2), AddLineResult::Added);
    EXPECT_EQ(Lines(m.BndLine, m.BndLineCount), (std::vector<Pair>{{5, 2}}));
    // Point 5 at (5, -5): ((5+10)*100, (10+5)*100); point 2 at (2, -2).
    ASSERT_EQ(canvas.segments.size(), 1u);
    const auto& s = canvas.segments[0];
    EXPECT_EQ((std::array{s.x1, s.y1, s.x2, s.y2, s.colour}), (std::array{1500, 1500, 1200, 1200, 11}));
    // The cut-line tool: the same line in either direction is there already.
    v.cmd_mode = 8;
    SetLines(m.CutLine, m.CutLineCount, {{2, 5}});
    EXPECT_EQ(AddBndLine(m, v, canvas, ui, 5, 2), AddLineResult::Exists);
    EXPECT_EQ(AddBndLine(m, v, canvas, ui, 2, 5), AddLineResult::Exists);
    EXPECT_EQ(canvas.segments.size(), 1u);
    EXPECT_EQ(AddBndLine(m, v, canvas, ui, 2, 6), AddLineResult::Added);
    EXPECT_EQ(Lines(m.CutLine, m.CutLineCount), (std::vector<Pair>{{2, 5}, {2, 6}}));
    EXPECT_EQ(canvas.segments.back().colour, 10);
    EXPECT_EQ(m.BndLineCount, 1);
    // Other tools do nothing.
    for (int mode : {0, 1, 4, 5, 9, -1}) {
        v.cmd_mode = mode;
        EXPECT_EQ(AddBndLine(m, v, canvas, ui, 1, 2), AddLineResult::Ignored);
    }
    EXPECT_EQ(m.BndLineCount + m.CutLineCount, 3);
    EXPECT_EQ(ui.Count(), 0u);
    // A line too far off for the 32-bit canvas is stored but not drawn now.
    v.cmd_mode = 3;
    m.BndPt[3].X = 1e9;
    EXPECT_EQ(AddBndLine(m, v, canvas, ui, 1, 3), AddLineResult::Added);
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
    } cases[] = {{4, 4, "同じ境界点どうしを結ぶ線は登録できません。"}, {0, 10, kNine}, {11, 0, kNine},
                 {3, 20, kNoPoint}, {-1, 3, kNoPoint}};
    for (Case c : cases) {
        ui.Clear();
        EXPECT_EQ(AddBndLine(m, v, canvas, ui, c.p1, c.p2), AddLineResult::Refused) << c.p1 << "-" << c.p2;
        ASSERT_EQ(ui.Count(), 1u);
        EXPECT_EQ(ui.Last().text, c.msg);
        EXPECT_EQ(m.BndLineCount, 9);
    }
    EXPECT_TRUE(canvas.segments.empty());
    EXPECT_EQ(AddBndLine(m, v, canvas, ui, 1, 10), AddLineResult::Added);  // fewer than 9 lines still connect
    // A full table refuses the 501st line without touching the spare slot.
    m.BndLineCount = 500;
    m.BndLine[500] = BoundaryLine{-7, -7};
    ui.Clear();
    EXPECT_EQ(AddBndLine(m, v, canvas, ui, 12, 13), AddLineResult::Refused);
    EXPECT_EQ(m.BndLineCount, 500);
    EXPECT_EQ(m.BndLine[500].pt1, -7);
    ASSERT_EQ(ui.Count(), 1u);
    EXPECT_EQ(ui.Last().text, "線の数が上限(500本)に達しているため、これ以上登録できません。");
    EXPECT_EQ(ui.Last().icon, MsgIcon::Exclamation);
}

TEST(RenumberLinePoints, InsertDeleteAndBadArguments) {
    Model m;
    // Insert (kind 1): indexes at or above the first shift, in both tables.
    SetLines(m.BndLine, m.BndLineCount, {{2, 3}, {4, 7}, {0, 1}});
    SetLines(m.CutLine, m.CutLineCount, {{3, 2}});
    RenumberLinePoints(m, 3, 2, 1);
    EXPECT_EQ(Lines(m.BndLine, m.BndLineCount), (std::vector<Pair>{{2, 5}, {6, 9}, {0, 1}}));
    EXPECT_EQ(Lines(m.CutLine, m.CutLineCount), (std::vector<Pair>{{5, 2}}));
    // Other kinds and bad arguments change nothing.
    for (auto [first, delta, kind] :
         std::vector<std::tuple<int, int, int>>{{3, 2, 0}, {3, 2, 3}, {3, 0, 1}, {3, -2, 2}, {-1, 2, 1}, {3, 30000, 1}}) {
        RenumberLinePoints(m, static_cast<i16>(first), static_cast<i16>(delta), static_cast<i16>(kind));
        EXPECT_EQ(Lines(m.BndLine, m.BndLineCount), (std::vector<Pair>{{2, 5}, {6, 9}, {0, 1}}));
    }
    // Delete (kind 2): lines touching the deleted points go, the rest close up.
    SetLines(m.BndLine, m.BndLineCount, {{0, 2}, {3, 1}, {5, 8}, {4, 9}, {9, 6}, {2, 5}});
    SetLines(m.CutLine, m.CutLineCount, {{4, 0}, {7, 5}, {1, 2}});
    RenumberLinePoints(m, 3, 2, 2);
    EXPECT_EQ(Lines(m.BndLine, m.BndLineCount), (std::vector<Pair>{{0, 2}, {3, 6}, {7, 4}, {2, 3}}));
    EXPECT_EQ(Lines(m.CutLine, m.CutLineCount), (std::vector<Pair>{{5, 3}, {1, 2}}));
}

TEST(DeleteSelectedLines, RemovesFlaggedKeepsOrder) {
    Model m;
    EditorState v;
    SetLines(m.BndLine, m.BndLineCount, {{0, 1}, {1, 2}, {2, 3}, {3, 4}});
    EXPECT_EQ(DeleteSelectedBndLines(m, v), 4);  // nothing flagged
    v.SelFlags[0] = v.SelFlags[2] = 1;
    v.SelFlags[4] = 1;  // beyond the count: ignored
    EXPECT_EQ(DeleteSelectedBndLines(m, v), 2);
    EXPECT_EQ(Lines(m.BndLine, m.BndLineCount), (std::vector<Pair>{{1, 2}, {3, 4}}));
    SetLines(m.CutLine, m.CutLineCount, {{5, 6}, {6, 7}});
    v.SelFlags.fill(-1);
    v.SelFlags[1] = 1;
    EXPECT_EQ(DeleteSelectedCutLines(m, v), 1);
    EXPECT_EQ(Lines(m.CutLine, m.CutLineCount), (std::vector<Pair>{{5, 6}}));
    EXPECT_EQ(m.BndLineCount, 2);
}

}  // namespace
}  // namespace kova
