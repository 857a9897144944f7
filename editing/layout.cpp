#include "editing/layout.hpp"

#include <algorithm>
#include <cmath>

namespace kova {

namespace {

// Design positions, twips: the strip at the body's top, the canvas 60 from
// the left and 600 below the body's top, bars 255 thick overlapping the
// canvas edge by 15.
constexpr int kStripWidth = 9135, kStripHeight = 570;
constexpr int kCanvasLeft = 60, kCanvasTop = 600;
constexpr int kBar = 255, kOverlap = 15;

int Px(const TwipsScale& s, double twips, bool x) {
    double px = twips / (x ? s.perPixelX : s.perPixelY);
    return ClampToInt(std::round(px), -1000000, 1000000);
}

}  // namespace

std::int32_t ClampToInt(double v, std::int32_t lo, std::int32_t hi) {
    if (!std::isfinite(v)) return lo;
    v = std::trunc(v);
    if (v <= lo) return lo;
    if (v >= hi) return hi;
    return static_cast<std::int32_t>(v);
}

bool LayoutApplies(int outerWidthPx, int outerHeightPx, const TwipsScale& s) {
    return s.ToTwipsY(outerHeightPx) > 2500 && s.ToTwipsX(outerWidthPx) > 500;
}

BodyLayout ComputeBodyLayout(int bodyWidthPx, int bodyHeightPx, const TwipsScale& s) {
    BodyLayout l;
    l.strip = {0, 0, Px(s, kStripWidth, true), Px(s, kStripHeight, false)};
    const int left = Px(s, kCanvasLeft, true), top = Px(s, kCanvasTop, false);
    const int barW = Px(s, kBar, true), barH = Px(s, kBar, false);
    const int overX = Px(s, kOverlap, true), overY = Px(s, kOverlap, false);
    const int cw = std::max(1, bodyWidthPx - left - barW + overX);
    const int ch = std::max(1, bodyHeightPx - top - barH + overY);
    l.canvas = {left, top, cw, ch};
    l.vsb = {left + cw - overX, top, barW, ch};
    l.hsb = {left, top + ch - overY, cw, barH};
    const std::int32_t big = 2000000000;
    l.canvasWidthTwips = ClampToInt(s.ToTwipsX(cw) - 60, 1, big);
    l.canvasHeightTwips = ClampToInt(s.ToTwipsY(ch) - 60, 1, big);
    return l;
}

}  // namespace kova
