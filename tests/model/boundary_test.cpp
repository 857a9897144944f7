#include <gtest/gtest.h>

#include <tuple>
#include <utility>
#include <vector>

#include "model/boundary.hpp"
#include "rich_model.hpp"
#include "tests/support/section_tables.hpp"

namespace kova {
namespace {

using test::Lines;
using test::Pair;
using test::SetLines;

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
    std::array<i16, 1001> flags;  // as the editor's selection flags
    flags.fill(-1);
    SetLines(m.BndLine, m.BndLineCount, {{0, 1}, {1, 2}, {2, 3}, {3, 4}});
    EXPECT_EQ(DeleteSelectedBndLines(m, flags), 4);  // nothing flagged
    flags[0] = flags[2] = 1;
    flags[4] = 1;  // beyond the count: ignored
    EXPECT_EQ(DeleteSelectedBndLines(m, flags), 2);
    EXPECT_EQ(Lines(m.BndLine, m.BndLineCount), (std::vector<Pair>{{1, 2}, {3, 4}}));
    SetLines(m.CutLine, m.CutLineCount, {{5, 6}, {6, 7}});
    flags.fill(-1);
    flags[1] = 1;
    EXPECT_EQ(DeleteSelectedCutLines(m, flags), 1);
    EXPECT_EQ(Lines(m.CutLine, m.CutLineCount), (std::vector<Pair>{{5, 6}}));
    EXPECT_EQ(m.BndLineCount, 2);
}

}  // namespace
}  // namespace kova
