#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "dialogs/soil_curve_plot.hpp"
#include "tests/support/recording_picture.hpp"

namespace kova {
namespace {

using test::DrawOp;
using test::RecordingPicture;

constexpr Rgb kBlack{0, 0, 0};
constexpr Rgb kGrey{128, 128, 128};
constexpr Rgb kRed{255, 0, 0};

struct Drawn {
    RecordingPicture pic{5715, 4815, 9};
    std::optional<AxisTitles> titles;
    std::vector<DrawOp> Lines(LineStyle style, bool vertical) const {
        std::vector<DrawOp> r;
        for (const DrawOp& op : pic.Lines())
            if (op.style == style && (op.x1 == op.x2) == vertical && op.colour != kRed) r.push_back(op);
        return r;
    }
    std::vector<std::string> Labels() const { return pic.TextStrings(); }
};

Drawn Draw(std::optional<double> pmax, std::optional<double> vmax, CurveKind kind,
           std::vector<CurvePlotPoint> points = {}) {
    Drawn d;
    SoilPlotInput in;
    in.pressureMax = pmax;
    in.valueMax = vmax;
    in.kind = kind;
    in.points = std::move(points);
    d.titles = DrawSoilCurvePlot(d.pic, in);
    return d;
}

TEST(SoilCurvePlot, PressureAxisOnOpening) {
    Drawn d = Draw(1000, 6, CurveKind::None);
    auto majors = d.Lines(LineStyle::Solid, true);
    ASSERT_EQ(majors.size(), 4u);
    for (int k = 0; k < 4; ++k) {
        EXPECT_NEAR(majors[k].x1, 960 + k * 4000.0 / 3, 1e-9);
        EXPECT_EQ(majors[k].y1, 240);
        EXPECT_EQ(majors[k].y2, 4240);
        EXPECT_EQ(majors[k].colour, kBlack);
    }
    auto minors = d.Lines(LineStyle::Dotted, true);
    ASSERT_EQ(minors.size(), 24u);  // 2..9, 20..90, 200..900
    EXPECT_EQ(minors[0].colour, kGrey);
    EXPECT_NEAR(minors[0].x1, 960 + std::log10(2.0) * 4000 / 3, 1e-9);
    EXPECT_EQ(d.Labels(), (std::vector<std::string>{"1", "10", "100", "1000"}));
    auto texts = d.pic.Texts();
    EXPECT_NEAR(texts[1].x1, 960 + 4000.0 / 3 - 100, 1e-9);
    EXPECT_EQ(texts[1].y1, 4340);
    EXPECT_TRUE(d.Lines(LineStyle::Solid, false).empty());
    EXPECT_TRUE(d.pic.Circles().empty());
    EXPECT_FALSE(d.titles);
}

TEST(SoilCurvePlot, ValueAxes) {
    struct Case {
        CurveKind kind;
        double pmax, vmax;
        std::size_t minors;  // horizontal dotted lines
        std::vector<std::string> valueLabels;
        double topY;         // y of the last major line
        double firstLabelX;  // left of the first value label
    } cases[] = {
        {CurveKind::ELogP, 1000, 6, 6, {"0", "2", "4", "6"}, 240, 760},
        {CurveKind::ELogP, 1000, 2, 10, {"0", "1", "2"}, 240, 760},
        {CurveKind::ELogP, 1000, 12.5, 12, {"0", "2", "4", "6", "8", "10", "12"}, 4240 - 12 * 320.0, 760},
        {CurveKind::MvLogP, 1000, 0.1, 24, {"0.0001", "0.001", "0.01", "0.1"}, 240, 760 - 5 * 0.6 * 9 * 15},
        {CurveKind::CvLogP, 1000, 1000, 24, {"1", "10", "100", "1000"}, 240, 760},
    };
    for (const Case& c : cases) {
        Drawn d = Draw(c.pmax, c.vmax, c.kind);
        auto labels = d.Labels();
        std::vector<std::string> value(labels.begin() + 4, labels.end());
        EXPECT_EQ(value, c.valueLabels) << c.vmax;
        EXPECT_EQ(d.Lines(LineStyle::Dotted, false).size(), c.minors) << c.vmax;
        auto majors = d.Lines(LineStyle::Solid, false);
        ASSERT_EQ(majors.size(), c.valueLabels.size());
        EXPECT_NEAR(majors.back().y1, c.topY, 1e-9) << c.vmax;
        EXPECT_EQ(majors.back().x1, 960);
        EXPECT_EQ(majors.back().x2, 4960);
        EXPECT_NEAR(d.pic.Texts()[4].x1, c.firstLabelX, 1e-9) << c.vmax;
    }
}

TEST(SoilCurvePlot, PressureMaximumBetweenDecades) {
    Drawn d = Draw(5000, 6, CurveKind::None);
    EXPECT_EQ(d.Labels(), (std::vector<std::string>{"1", "10", "100", "1000"}));
    auto minors = d.Lines(LineStyle::Dotted, true);
    ASSERT_EQ(minors.size(), 28u);  // the last decade stops at 5000
    EXPECT_NEAR(minors.back().x1, 960 + 4000.0, 1e-9);
}

TEST(SoilCurvePlot, PointsAndTitles) {
    struct Case {
        CurveKind kind;
        double vmax;
        std::vector<CurvePlotPoint> points;
        std::vector<std::pair<double, double>> circles;
        bool titles;
        std::string title;
    } cases[] = {
        {CurveKind::CvLogP, 1000, {{10, 50}, {100, 20}}, {{2293, 1974}, {3626, 2505}}, true, "LogCv"},
        {CurveKind::MvLogP, 0.1, {{100, 0.005}}, {{3626, 1974}}, true, "LogMv"},
        {CurveKind::ELogP, 6, {{10, 2}, {100, 1.5}}, {{2293, 2906}, {3626, 3240}}, true, "ｅ"},
        // An e far above the axis ends the points; the titles are still set.
        {CurveKind::ELogP, 1, {{10, 0.5}, {100, 40}, {1000, 0.2}}, {{2293, 2240}}, true, "ｅ"},
        // A point that cannot be placed ends the drawing; titles kept.
        {CurveKind::ELogP, 6, {{0, 1}, {10, 1}}, {}, false, ""},
        {CurveKind::CvLogP, 1000, {{10, 50}, {100, 0}}, {{2293, 1974}}, false, ""},
        {CurveKind::ELogP, 6, {}, {}, false, ""},
    };
    for (const Case& c : cases) {
        Drawn d = Draw(1000, c.vmax, c.kind, c.points);
        auto circles = d.pic.Circles();
        ASSERT_EQ(circles.size(), c.circles.size()) << c.title << c.vmax;
        for (std::size_t i = 0; i < circles.size(); ++i) {
            EXPECT_EQ(circles[i].x1, c.circles[i].first);
            EXPECT_EQ(circles[i].y1, c.circles[i].second);
            EXPECT_EQ(circles[i].radius, 40);
            EXPECT_TRUE(circles[i].filled);
            EXPECT_EQ(circles[i].fill, kRed);
            EXPECT_EQ(circles[i].colour, kRed);
        }
        std::size_t joins = 0;
        for (const DrawOp& op : d.pic.Lines()) joins += op.colour == kRed;
        EXPECT_EQ(joins, c.circles.empty() ? 0 : c.circles.size() - 1);
        ASSERT_EQ(d.titles.has_value(), c.titles);
        if (c.titles) {
            EXPECT_EQ(d.titles->title, c.title);
        }
    }
}

// A maximum that is not finite, not above 0, or beyond what its box takes
// draws nothing (and takes no time over its loops).
TEST(SoilCurvePlot, MaximaOutsideTheBoxesDrawNothing) {
    const std::optional<double> bad[] = {1e300, std::nullopt, -5, 0, HUGE_VAL, std::nan("")};
    const CurveKind kinds[] = {CurveKind::None, CurveKind::ELogP, CurveKind::MvLogP, CurveKind::CvLogP};
    for (const auto& v : bad)
        for (CurveKind k : kinds) {
            Drawn px = Draw(v, 6, k, {{10, 1}});
            EXPECT_EQ(px.pic.ops.size(), 1u);  // the cleared background only
            Drawn py = Draw(1000, v, k, {{10, 1}});
            EXPECT_EQ(py.pic.ops.size(), 1u);
        }
    EXPECT_EQ(Draw(100001, 6, CurveKind::ELogP).pic.ops.size(), 1u);
    EXPECT_EQ(Draw(1000, 30001, CurveKind::ELogP).pic.ops.size(), 1u);
    EXPECT_EQ(Draw(1000, 100001, CurveKind::MvLogP).pic.ops.size(), 1u);
    EXPECT_GT(Draw(100000, 30000, CurveKind::ELogP).pic.ops.size(), 1u);
    // An e maximum too small for its scale has no axis either.
    EXPECT_EQ(Draw(1000, 1e-320, CurveKind::ELogP).pic.ops.size(), 1u);
}

}  // namespace
}  // namespace kova
