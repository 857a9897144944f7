#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "platform/picture.hpp"
#include "tests/support/recording_picture.hpp"

using namespace kova;

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();

TEST(ClipLine, SegmentsAgainstTheBox) {
    struct Case {
        double x1, y1, x2, y2;
        bool kept;
        double cx1, cy1, cx2, cy2;
    } cases[] = {
        {10, 10, 90, 50, true, 10, 10, 90, 50},          // inside: unchanged
        {-100, 50, 200, 50, true, 0, 50, 100, 50},       // through, both ends cut
        {50, -1e12, 50, 1e12, true, 50, 0, 50, 100},     // absurdly long vertical
        {-50, -50, 150, 150, true, 0, 0, 100, 100},      // the diagonal
        {150, 10, 250, 90, false, 0, 0, 0, 0},           // wholly right of it
        {-10, 120, 120, 101, false, 0, 0, 0, 0},         // below, slanted
        {0, 100, 100, 100, true, 0, 100, 100, 100},      // on the bottom edge
        {NAN, 10, 20, 20, false, 0, 0, 0, 0},
        {10, 10, kInf, 20, false, 0, 0, 0, 0},
        {-1e308, 0, 1e308, 100, false, 0, 0, 0, 0},      // its length overflows
    };
    for (const Case& c : cases) {
        double x1 = c.x1, y1 = c.y1, x2 = c.x2, y2 = c.y2;
        SCOPED_TRACE(testing::Message() << c.x1 << "," << c.y1 << " " << c.x2 << "," << c.y2);
        ASSERT_EQ(ClipLine(x1, y1, x2, y2, 0, 0, 100, 100), c.kept);
        if (!c.kept) continue;
        EXPECT_NEAR(x1, c.cx1, 1e-9);
        EXPECT_NEAR(y1, c.cy1, 1e-9);
        EXPECT_NEAR(x2, c.cx2, 1e-9);
        EXPECT_NEAR(y2, c.cy2, 1e-9);
    }
}

TEST(PictureInBox, FarOffShapesAreDroppedOrCut) {
    test::RecordingPicture p(1000, 500);
    EXPECT_TRUE(LineInBox(p, -1e15, 250, 1e15, 250));
    EXPECT_TRUE(CircleInBox(p, 1020, 250, 40));  // reaches into the box
    EXPECT_FALSE(CircleInBox(p, 1e9, 250, 40));
    EXPECT_FALSE(CircleInBox(p, NAN, 250, 40));
    EXPECT_FALSE(CircleInBox(p, 500, 250, 1e12));  // a huge ring around it
    EXPECT_FALSE(TextInBox(p, 2e9, 10, "x"));
    EXPECT_TRUE(TextInBox(p, -20, 10, "x"));
    ASSERT_EQ(p.ops.size(), 3u);
    EXPECT_EQ(p.Lines()[0].x1, 0);
    EXPECT_EQ(p.Lines()[0].x2, 1000);
    EXPECT_EQ(p.OutsideBox(), 1);  // the circle's centre lies just right of it
}

}  // namespace
