#pragma once
// The plot of one soil curve beside the point table of the soil-constants
// dialog: a logarithmic pressure axis and a linear e axis, or logarithmic
// Mv and Cv axes, with the curve's points joined in table order. It draws
// what the dialog shows (the axis boxes and the table), in twips of its box.
#include <optional>
#include <string>
#include <vector>

#include "platform/picture.hpp"

namespace kova {

enum class CurveKind { None = -1, ELogP = 0, MvLogP = 1, CvLogP = 2 };

struct CurvePlotPoint {
    double p = 0;      // kN/m2
    double value = 0;  // e, Mv in m2/kN or Cv in cm2/日, as shown
};

struct SoilPlotInput {
    // Numeric values of the two axis boxes; nothing for a text whose number
    // cannot be held.
    std::optional<double> pressureMax;
    std::optional<double> valueMax;
    CurveKind kind = CurveKind::None;
    std::vector<CurvePlotPoint> points;  // the table's rows in use
    Rgb back{255, 255, 255};             // the box's background
};

// The largest maxima the axis boxes accept. A larger one (a refused entry
// stays in its box) draws nothing, so no axis loops beyond these.
inline constexpr double kPlotPressureMax = 100000;
inline constexpr double kPlotVoidRatioMax = 30000;
inline constexpr double kPlotLogValueMax = 100000;

// Geometry of the plot area in twips of the box: origin (x0, y0), 4000 square.
inline constexpr double kPlotX0 = 960;
inline constexpr double kPlotY0 = 4240;
inline constexpr double kPlotSide = 4000;

struct AxisTitles {
    std::string title;  // lbl_1
    std::string unit;   // lbl_2
};

// Clears the box and draws the plot. Returns the axis titles for the
// labels beside the value axis when the points were drawn to the end (or
// an e value beyond the box ended them); nothing when there were no
// points, no kind, or a point could not be placed, so the labels keep
// their text.
std::optional<AxisTitles> DrawSoilCurvePlot(Picture& pic, const SoilPlotInput& in);

// A grid label: the plain decimal form, no trailing zeros (1, 100, 0.0001).
std::string PlotLabel(double v);

}  // namespace kova
