#include "dialogs/soil_curve_plot.hpp"

#include <cmath>
#include <cstdio>

#include "platform/twips.hpp"

namespace kova {

namespace {

constexpr Rgb kBlack{0, 0, 0};
constexpr Rgb kGrey{128, 128, 128};
constexpr Rgb kRed{255, 0, 0};
constexpr double kTop = kPlotY0 - kPlotSide;     // 240
constexpr double kRight = kPlotX0 + kPlotSide;   // 4960
constexpr double kPointRadius = 40;

void MajorPen(Picture& p) {
    p.SetForeColor(kBlack);
    p.SetLineStyle(LineStyle::Solid);
}

void MinorPen(Picture& p) {
    p.SetForeColor(kGrey);
    p.SetLineStyle(LineStyle::Dotted);
}

// Twips per decade: 4000 / D above one decade, else 1.
double LogScale(double decades) { return decades > 1 ? kPlotSide / decades : 1; }

// Number of whole decades, as log10(v) + 0.001 truncated.
int Decades(double v) { return static_cast<int>(std::trunc(std::log10(v) + 0.001)); }

bool PositiveFinite(const std::optional<double>& v, double most) {
    return v && std::isfinite(*v) && *v > 0 && *v <= most;
}

void PressureAxis(Picture& pic, double pmax, double sx) {
    const int n = Decades(pmax);
    for (int k = 0; k <= n; ++k) {
        const double d = std::pow(10.0, k);
        const double x = kPlotX0 + k * sx;
        MajorPen(pic);
        pic.Line(x, kTop, x, kPlotY0);
        pic.Text(x - 100, kPlotY0 + 100, PlotLabel(d));
        MinorPen(pic);
        for (int m = 2; m <= 9; ++m) {
            const double p = m * d;
            if (p > pmax) break;
            const double xm = kPlotX0 + std::log10(p) * sx;
            pic.Line(xm, kTop, xm, kPlotY0);
        }
    }
}

// Left end of a value label of `chars` characters.
double LabelLeft(const Picture& pic, std::size_t chars, double perChar) {
    return 760 - (static_cast<double>(chars) - 1) * perChar * pic.FontPoints() * pic.Scale().perPixelX;
}

void HLine(Picture& pic, double y) { pic.Line(kPlotX0, y, kRight, y); }

void VoidRatioAxis(Picture& pic, double vmax, double sy) {
    const long top = RoundHalfEven(vmax);
    if (vmax > 3) {
        MinorPen(pic);
        for (long e = 1; e <= top; ++e) HLine(pic, kPlotY0 - e * sy);
        MajorPen(pic);
        for (long e = 0; e <= top; e += 2) {
            const double y = kPlotY0 - e * sy;
            HLine(pic, y);
            const std::string label = PlotLabel(static_cast<double>(e));
            pic.Text(LabelLeft(pic, label.size(), 0.5), y, label);
        }
    } else {
        MinorPen(pic);
        // A running sum, so the last line is the last sum not above the maximum.
        for (double e = 0.2; e <= vmax; e += 0.2) HLine(pic, kPlotY0 - e * sy);
        MajorPen(pic);
        for (long e = 0; e <= top; ++e) {
            const double y = kPlotY0 - e * sy;
            HLine(pic, y);
            pic.Text(760, y, PlotLabel(static_cast<double>(e)));
        }
    }
}

// The Mv axis runs over Mv x 10000 (from 0.0001 m2/kN), the Cv axis over Cv.
void LogValueAxis(Picture& pic, double top, double sy, double labelDivisor) {
    const int n = Decades(top);
    for (int k = 0; k <= n; ++k) {
        const double d = std::pow(10.0, k);
        const double y = kPlotY0 - k * sy;
        MajorPen(pic);
        HLine(pic, y);
        const std::string label = PlotLabel(d / labelDivisor);
        pic.Text(LabelLeft(pic, label.size(), 0.6), y, label);
        MinorPen(pic);
        for (int m = 2; m <= 9; ++m) {
            const double v = m * d;
            if (v > top) break;
            HLine(pic, kPlotY0 - std::log10(v) * sy);
        }
    }
}

bool FitsInt16(double v) { return v >= -32768 && v <= 32767; }

}  // namespace

std::string PlotLabel(double v) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.15g", v);
    return buf;
}

std::optional<AxisTitles> DrawSoilCurvePlot(Picture& pic, const SoilPlotInput& in) {
    pic.SetBackColor(in.back);
    pic.SetLineWidth(1);

    double valueMost = 0;
    switch (in.kind) {
    case CurveKind::ELogP: valueMost = kPlotVoidRatioMax; break;
    case CurveKind::MvLogP:
    case CurveKind::CvLogP: valueMost = kPlotLogValueMax; break;
    default: valueMost = kPlotLogValueMax; break;  // no value axis: the widest any box takes
    }
    if (!PositiveFinite(in.pressureMax, kPlotPressureMax) || !PositiveFinite(in.valueMax, valueMost))
        return std::nullopt;
    const double pmax = *in.pressureMax;
    const double vmax = *in.valueMax;
    // An e maximum so small that its scale overflows has no axis.
    if (in.kind == CurveKind::ELogP && !std::isfinite(kPlotSide / vmax)) return std::nullopt;

    const double sx = LogScale(std::log10(pmax));
    PressureAxis(pic, pmax, sx);

    double sy = 1;
    switch (in.kind) {
    case CurveKind::ELogP:
        sy = kPlotSide / vmax;
        VoidRatioAxis(pic, vmax, sy);
        break;
    case CurveKind::MvLogP:
        sy = LogScale(std::log10(vmax * 10000));
        LogValueAxis(pic, vmax * 10000, sy, 10000);
        break;
    case CurveKind::CvLogP:
        sy = LogScale(std::log10(vmax));
        LogValueAxis(pic, vmax, sy, 1);
        break;
    default: return std::nullopt;
    }

    if (in.points.empty()) return std::nullopt;
    pic.SetForeColor(kRed);
    pic.SetLineStyle(LineStyle::Solid);
    pic.SetFill(true, kRed);
    bool first = true;
    double px = 0, py = 0;
    for (const CurvePlotPoint& pt : in.points) {
        double yv;
        if (in.kind == CurveKind::ELogP) {
            yv = kPlotY0 - pt.value * sy;
            if (std::fabs(yv) > 32000) break;  // beyond the box: the rest is not drawn
        } else {
            const double v = in.kind == CurveKind::MvLogP ? pt.value * 10000 : pt.value;
            if (!(v > 0)) return std::nullopt;
            yv = kPlotY0 - std::log10(v) * sy;
        }
        if (!(pt.p > 0)) return std::nullopt;
        const double x = std::trunc(kPlotX0 + std::log10(pt.p) * sx);
        const double y = std::trunc(yv);
        if (!FitsInt16(x) || !FitsInt16(y)) return std::nullopt;
        pic.Circle(x, y, kPointRadius);
        if (!first) pic.Line(px, py, x, y);
        first = false;
        px = x;
        py = y;
    }

    AxisTitles t;
    switch (in.kind) {
    case CurveKind::ELogP: t = {"ｅ", " "}; break;
    case CurveKind::MvLogP: t = {"LogMv", "(m2/kN)"}; break;
    default: t = {"LogCv", "(cm2/日)"}; break;
    }
    pic.SetFill(false, kBlack);
    return t;
}

}  // namespace kova
