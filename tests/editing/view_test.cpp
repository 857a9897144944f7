#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <map>
#include <vector>

#include "testing/recording_canvas.hpp"
#include "editing/tools/zoom_tool.hpp"
#include "editing/view.hpp"

namespace kova {
namespace {

constexpr double kW = 11475, kH = 6615;  // canvas size in twips

struct ViewTest : ::testing::Test {
    Model m;
    EditorState v;
    RecordingCanvas canvas;
    void SetUp() override {
        v.CanvasWidth = static_cast<int>(kW);
        v.CanvasHeight = static_cast<int>(kH);
    }
    void AddPoint(double x, double y) { m.BndPt[m.BndPtCount++] = {x, y}; }
    void Zoom(int mode, double scale, float x = 0, float y = 0) {
        v.cmd_mode = mode;
        v.ViewScale = scale;
        ZoomAtPoint(m, v, canvas, 1, x, y);
    }
};

TEST_F(ViewTest, FitWidensTheExtentAsymmetricallyThenCentres) {
    const double nan = std::nan(""), sNone = kH / 48.4, sTwo = kW / 121, cy = (-11.65 + 6.5) / 2;
    struct Case {
        std::vector<std::pair<double, double>> pts;
        double scale, left, right, bottom, top;  // NaN: not checked
    } cases[] = {
        // No points: -20..20 widened to -24.4..24 both ways; Y decides, X centred on -0.2.
        {{}, sNone, -0.2 - kW / 2 / sNone, -0.2 + kW / 2 / sNone, -24.4, 24},
        // X: 0..100 -> -11..110; Y: -10..5 -> -11.65..6.5; X decides, Y centred.
        {{{0, -10}, {100, 5}}, sTwo, -11, 110, cy - kH / 2 / sTwo, cy + kH / 2 / sTwo},
        {{{0, 0}}, kH / 2, nan, nan, nan, nan},
        // 1210 m wide: far below the zoom limit of 20, and kept.
        {{{0, 0}, {1000, 0}}, kW / 1210, -110, 1100, nan, nan},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pts.size());
        m.BndPtCount = 0;
        for (auto [x, y] : c.pts) AddPoint(x, y);
        FitView(m, v);
        EXPECT_NEAR(v.ViewScale, c.scale, 1e-9);
        const double want[] = {c.left, c.right, c.bottom, c.top}, got[] = {v.ViewLeftX, v.ViewRightX, v.ViewBottomY, v.ViewTopY};
        for (int i = 0; i < 4; ++i) {
            if (!std::isnan(want[i])) {
                EXPECT_NEAR(got[i], want[i], 1e-9) << i;
            }
        }
    }
    // An empty canvas, or an extent of nothing, never gives a scale below 1 or NaN.
    v.CanvasWidth = v.CanvasHeight = 0;
    FitView(m, v);
    EXPECT_EQ(v.ViewScale, 1);
    v.ViewLeftX = v.ViewRightX = v.ViewBottomY = v.ViewTopY = 5;
    SetViewScale(v);
    EXPECT_EQ(v.ViewScale, 1);
}

TEST_F(ViewTest, ZoomFactorsLimitsAndCentre) {
    AddPoint(0, 0);
    struct Case {
        int mode;
        double before, after;
    } cases[] = {{1, 4000, 5000}, {1, 100, 135}, {2, 20, 20}, {2, 100, 74.1}, {2, 5000, 3705}, {1, 5, 20}};
    for (Case c : cases) {
        Zoom(c.mode, c.before);
        EXPECT_NEAR(v.ViewScale, c.after, 1e-9) << c.mode << " at " << c.before;
        EXPECT_EQ(v.cmd_mode, c.mode);  // the tool stays active
    }
    // The clicked point comes to the centre; the scroll bars go to 0.
    v.ViewLeftX = -10;
    v.ViewTopY = 20;
    v.ViewRightX = 123;
    v.ViewBottomY = -45;
    v.HScrollPos = 7;
    v.VScrollPos = -3;
    canvas.hScroll = 7;
    canvas.refreshes = 0;
    Zoom(2, 100, 3000, 1000);  // model (20, 10)
    double X, Y;
    CanvasToModel(v, kW / 2, kH / 2, X, Y);
    EXPECT_NEAR(X, 20, 1e-9);
    EXPECT_NEAR(Y, 10, 1e-9);
    EXPECT_EQ(v.ViewRightX, 123);
    EXPECT_EQ(v.ViewBottomY, -45);
    EXPECT_EQ(v.HScrollPos + v.VScrollPos + canvas.hScroll + canvas.vScroll, 0);
    EXPECT_EQ(canvas.refreshes, 1);
    // Without points nothing happens.
    m.BndPtCount = 0;
    v.ViewLeftX = 1;
    Zoom(1, 100, 50, 50);
    EXPECT_EQ(v.ViewScale, 100);
    EXPECT_EQ(v.ViewLeftX, 1);
    EXPECT_EQ(canvas.refreshes, 1);
}

// A scroll bar whose change handler pans while the scale is usable, as the
// main window's bars do; the zoom must not pan through it.
struct PanningCanvas : RecordingCanvas {
    EditorState* v = nullptr;
    double scaleSeen = -1;
    int SetScrollValue(ScrollBar bar, int value) override {
        if (v->ViewScale >= 0.00001) v->ViewLeftX += 1000;
        scaleSeen = v->ViewScale;
        return RecordingCanvas::SetScrollValue(bar, value);
    }
};

TEST_F(ViewTest, ZoomResetsScrollBarsWithoutPanning) {
    AddPoint(0, 0);
    PanningCanvas pc;
    pc.v = &v;
    v.ViewScale = 100;
    v.cmd_mode = 1;
    ZoomAtPoint(m, v, pc, 1, 0, 0);
    EXPECT_EQ(pc.scaleSeen, 0);
    EXPECT_NEAR(v.ViewLeftX, -(kW / 2) / 135, 1e-9);
    EXPECT_DOUBLE_EQ(v.ViewScale, 135);
}

TEST_F(ViewTest, RightClickLeavesZoomTool) {
    struct Case {
        int oldMode, cmd;
        bool fullOnce;
    } cases[] = {{5, 5, true}, {0, 0, false}, {2, 0, false}, {3, 3, true}};
    for (Case c : cases) {
        RecordingCanvas rc;
        rc.cursor = CanvasCursor::Zoom;
        v.cmd_mode = 1;
        v.old_mode = c.oldMode;
        const double scale = v.ViewScale;
        ZoomAtPoint(m, v, rc, 2, 10, 10);
        EXPECT_EQ(v.cmd_mode, c.cmd);
        EXPECT_EQ(v.old_mode, 0);
        EXPECT_EQ(v.repaintFullyOnce, c.fullOnce);
        EXPECT_EQ(v.ViewScale, scale);
        EXPECT_EQ(rc.cursor, CanvasCursor::Arrow);
        EXPECT_EQ(rc.toolbar, (std::map<int, bool>{{8, false}, {9, false}, {10, false}}));
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
    EXPECT_EQ(std::pair(x, y), std::pair(12, 12));
    ASSERT_TRUE(ModelToCanvas(v, -1.29, 1.29, x, y));
    EXPECT_EQ(std::pair(x, y), std::pair(-12, -12));
    x = 7;
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
