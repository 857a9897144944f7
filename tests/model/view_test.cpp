#include <gtest/gtest.h>

#include <limits>

#include "model/recording_canvas.hpp"
#include "model/view.hpp"

namespace kova {
namespace {

struct ViewFixture : ::testing::Test {
    Model m;
    EditorState v;
    RecordingCanvas canvas;
    void SetUp() override {
        v.CanvasWidth = 11475;
        v.CanvasHeight = 6615;
    }
    void AddPoint(double x, double y) {
        m.BndPt[m.BndPtCount].X = x;
        m.BndPt[m.BndPtCount].Y = y;
        ++m.BndPtCount;
    }
};

TEST_F(ViewFixture, FitWithoutPointsUsesDefaultExtent) {
    FitView(m, v);
    // Extent -20..20 widened: right 20+4 = 24, left -20-0.1*44 = -24.4.
    double h = 48.4;
    EXPECT_NEAR(v.ViewScale, 6615 / h, 1e-9);
    EXPECT_NEAR(v.ViewBottomY, -24.4, 1e-9);
    EXPECT_NEAR(v.ViewTopY, 24, 1e-9);
    double cx = -0.2;
    EXPECT_NEAR(v.ViewLeftX, cx - 11475 * 0.5 / (6615 / h), 1e-9);
    EXPECT_NEAR(v.ViewRightX, cx + 11475 * 0.5 / (6615 / h), 1e-9);
    EXPECT_NEAR(v.ViewLeftX, -42.18, 0.01);
    EXPECT_NEAR(v.ViewRightX, 41.78, 0.01);
}

TEST_F(ViewFixture, FitTwoPointsWidensAsymmetricallyThenCentres) {
    AddPoint(0, -10);
    AddPoint(100, 5);
    FitView(m, v);
    // X: 0..100 -> right 110, left -0.1*110 = -11. Y: -10..5 -> top 6.5,
    // bottom -10 - 0.1*16.5 = -11.65.
    double scale = 11475.0 / 121.0;
    EXPECT_NEAR(v.ViewScale, scale, 1e-9);
    EXPECT_NEAR(v.ViewLeftX, -11, 1e-9);
    EXPECT_NEAR(v.ViewRightX, 110, 1e-9);
    double cy = (-11.65 + 6.5) / 2;
    EXPECT_NEAR(v.ViewBottomY, cy - 6615 * 0.5 / scale, 1e-9);
    EXPECT_NEAR(v.ViewTopY, cy + 6615 * 0.5 / scale, 1e-9);
    EXPECT_NEAR(v.ViewBottomY, -37.45, 0.01);
    EXPECT_NEAR(v.ViewTopY, 32.30, 0.01);
}

TEST_F(ViewFixture, FitSinglePointAndWideSection) {
    AddPoint(0, 0);
    FitView(m, v);
    EXPECT_DOUBLE_EQ(v.ViewScale, 3307.5);  // 6615 / 2
    m.BndPtCount = 0;
    AddPoint(0, 0);
    AddPoint(1000, 0);
    FitView(m, v);
    // 1100 + 0.1*1100 = 1210 wide: far below the zoom limit 20, and kept.
    EXPECT_NEAR(v.ViewScale, 11475.0 / 1210.0, 1e-9);
    v.cmd_mode = 1;
    ZoomAtPoint(m, v, canvas, 1, 0, 0);
    EXPECT_DOUBLE_EQ(v.ViewScale, 20);
}

TEST_F(ViewFixture, ScaleNeverBelowOneEvenOnAnEmptyCanvas) {
    v.CanvasWidth = 0;
    v.CanvasHeight = 0;
    FitView(m, v);
    EXPECT_EQ(v.ViewScale, 1);
    v.ViewLeftX = v.ViewRightX = 5;
    v.ViewBottomY = v.ViewTopY = 5;
    SetViewScale(v);  // 0 / 0 must not leave a NaN scale
    EXPECT_EQ(v.ViewScale, 1);
}

TEST_F(ViewFixture, ZoomFactorsAndLimits) {
    AddPoint(0, 0);
    struct Case {
        int mode;
        double before, after;
    };
    for (Case c : {Case{1, 4000, 5000}, Case{1, 100, 135}, Case{2, 20, 20}, Case{2, 100, 74.1},
                   Case{2, 5000, 3705}, Case{1, 5, 20}}) {
        v.cmd_mode = c.mode;
        v.ViewScale = c.before;
        ZoomAtPoint(m, v, canvas, 1, 0, 0);
        EXPECT_NEAR(v.ViewScale, c.after, 1e-9) << c.mode << " at " << c.before;
        EXPECT_EQ(v.cmd_mode, c.mode);  // the tool stays active
    }
}

TEST_F(ViewFixture, ZoomKeepsClickedPointAtCentre) {
    AddPoint(0, 0);
    v.ViewLeftX = -10;
    v.ViewTopY = 20;
    v.ViewRightX = 123;
    v.ViewBottomY = -45;
    v.ViewScale = 100;
    v.HScrollPos = 7;
    v.VScrollPos = -3;
    canvas.hScroll = 7;
    v.cmd_mode = 2;
    ZoomAtPoint(m, v, canvas, 1, 3000, 1000);  // model (20, 10)
    EXPECT_NEAR(v.ViewScale, 74.1, 1e-12);
    double X, Y;
    CanvasToModel(v, 11475 / 2.0, 6615 / 2.0, X, Y);
    EXPECT_NEAR(X, 20, 1e-9);
    EXPECT_NEAR(Y, 10, 1e-9);
    EXPECT_EQ(v.ViewRightX, 123);
    EXPECT_EQ(v.ViewBottomY, -45);
    EXPECT_EQ(v.HScrollPos, 0);
    EXPECT_EQ(v.VScrollPos, 0);
    EXPECT_EQ(canvas.hScroll, 0);
    EXPECT_EQ(canvas.vScroll, 0);
    EXPECT_EQ(canvas.refreshes, 1);
}

// A scroll bar whose change handler pans while the scale is usable, as the
// main window's bars do; the zoom must not pan through it.
struct PanningCanvas : RecordingCanvas {
    EditorState* v = nullptr;
    int SetScrollValue(ScrollBar bar, int value) override {
        if (v->ViewScale >= 0.00001) v->ViewLeftX += 1000;
        scaleSeen = v->ViewScale;
        return RecordingCanvas::SetScrollValue(bar, value);
    }
    double scaleSeen = -1;
};

TEST_F(ViewFixture, ZoomResetsScrollBarsWithoutPanning) {
    AddPoint(0, 0);
    PanningCanvas pc;
    pc.v = &v;
    v.ViewScale = 100;
    v.cmd_mode = 1;
    ZoomAtPoint(m, v, pc, 1, 0, 0);
    EXPECT_EQ(pc.scaleSeen, 0);
    EXPECT_NEAR(v.ViewLeftX, -(11475 / 2.0) / 135, 1e-9);
    EXPECT_DOUBLE_EQ(v.ViewScale, 135);
}

TEST_F(ViewFixture, ZoomWithoutPointsDoesNothing) {
    v.ViewScale = 100;
    v.ViewLeftX = 1;
    v.cmd_mode = 1;
    ZoomAtPoint(m, v, canvas, 1, 50, 50);
    EXPECT_EQ(v.ViewScale, 100);
    EXPECT_EQ(v.ViewLeftX, 1);
    EXPECT_EQ(canvas.refreshes, 0);
}

TEST_F(ViewFixture, RightClickLeavesZoomTool) {
    struct Case {
        int oldMode, cmd, old;
    };
    for (Case c : {Case{5, 5, -99}, Case{0, 0, 0}, Case{2, 0, 0}, Case{3, 3, -99}}) {
        RecordingCanvas rc;
        rc.cursor = CanvasCursor::Zoom;
        v.cmd_mode = 1;
        v.old_mode = c.oldMode;
        double scale = v.ViewScale;
        ZoomAtPoint(m, v, rc, 2, 10, 10);
        EXPECT_EQ(v.cmd_mode, c.cmd);
        EXPECT_EQ(v.old_mode, c.old);
        EXPECT_EQ(v.ViewScale, scale);
        EXPECT_EQ(rc.cursor, CanvasCursor::Arrow);
        for (int b : {8, 9, 10}) {
            ASSERT_TRUE(rc.toolbar.count(b));
            EXPECT_FALSE(rc.toolbar[b]);
        }
        EXPECT_EQ(rc.refreshes, 1);
    }
}

TEST(CanvasMapping, TruncatesTowardZeroAndRangeChecks) {
    EditorState v;
    v.ViewLeftX = 0;
    v.ViewTopY = 0;
    v.ViewScale = 10;
    int x = 7, y = 7;
    ASSERT_TRUE(ModelToCanvas(v, 1.29, -1.29, x, y));
    EXPECT_EQ(x, 12);
    EXPECT_EQ(y, 12);
    ASSERT_TRUE(ModelToCanvas(v, -1.29, 1.29, x, y));
    EXPECT_EQ(x, -12);
    EXPECT_EQ(y, -12);
    x = y = 7;
    EXPECT_FALSE(ModelToCanvas(v, 3e8, 0, x, y));
    EXPECT_FALSE(ModelToCanvas(v, 0, std::numeric_limits<double>::quiet_NaN(), x, y));
    EXPECT_EQ(x, 7);
    int out = 0;
    EXPECT_TRUE(TruncToInt(2147483647.9, out));
    EXPECT_EQ(out, 2147483647);
    EXPECT_FALSE(TruncToInt(2147483648.0, out));
    EXPECT_TRUE(TruncToInt(-2147483648.5, out));
    EXPECT_EQ(out, -2147483647 - 1);
    EXPECT_FALSE(TruncToInt(-2147483649.0, out));
}

}  // namespace
}  // namespace kova
