#include "editing/view.hpp"

#include <cmath>
#include <limits>

namespace kova {

bool TruncToInt(double v, int& out) {
    if (!std::isfinite(v)) return false;
    double t = std::trunc(v);
    if (t < static_cast<double>(std::numeric_limits<int>::min()) ||
        t > static_cast<double>(std::numeric_limits<int>::max()))
        return false;
    out = static_cast<int>(t);
    return true;
}

bool ModelToCanvas(const EditorState& v, double X, double Y, int& x, int& y) {
    int cx, cy;
    if (!TruncToInt((X - v.ViewLeftX) * v.ViewScale, cx)) return false;
    if (!TruncToInt((v.ViewTopY - Y) * v.ViewScale, cy)) return false;
    x = cx;
    y = cy;
    return true;
}

void CanvasToModel(const EditorState& v, double x, double y, double& X, double& Y) {
    X = x / v.ViewScale + v.ViewLeftX;
    Y = v.ViewTopY - y / v.ViewScale;
}

void FitView(const Model& m, EditorState& v) {
    constexpr double kStart = 99999999.9;
    v.ViewLeftX = kStart;
    v.ViewRightX = -kStart;
    v.ViewBottomY = kStart;
    v.ViewTopY = -kStart;
    int n = std::min<int>(m.BndPtCount, kMaxBndPts + 1);
    for (int i = 0; i < n; ++i) {
        const BoundaryPoint& p = m.BndPt[static_cast<std::size_t>(i)];
        if (p.X > v.ViewRightX) v.ViewRightX = p.X;
        if (p.X < v.ViewLeftX) v.ViewLeftX = p.X;
        if (p.Y > v.ViewTopY) v.ViewTopY = p.Y;
        if (p.Y < v.ViewBottomY) v.ViewBottomY = p.Y;
    }
    if (v.ViewLeftX == kStart) v.ViewLeftX = -20;
    if (v.ViewRightX == -kStart) v.ViewRightX = 20;
    if (v.ViewBottomY == kStart) v.ViewBottomY = -20;
    if (v.ViewTopY == -kStart) v.ViewTopY = 20;

    // The second edge takes a tenth of the range already widened by the first.
    auto widen = [](double& lo, double& hi) {
        const double r = hi - lo;
        hi += r >= 10 ? 0.1 * r : 1;
        lo -= r >= 10 ? 0.1 * (hi - lo) : 1;
    };
    widen(v.ViewLeftX, v.ViewRightX);
    widen(v.ViewBottomY, v.ViewTopY);
    SetViewScale(v);
}

void SetViewScale(EditorState& v) {
    double w = v.ViewRightX - v.ViewLeftX;
    double h = v.ViewTopY - v.ViewBottomY;
    double cx = v.ViewLeftX + w / 2;
    double cy = v.ViewBottomY + h / 2;
    double sx = v.CanvasWidth / w;
    double sy = v.CanvasHeight / h;
    v.ViewScale = sx < sy ? sx : sy;
    // Also catches a scale that is not a number (an empty canvas over an
    // empty rectangle), which would poison every later conversion.
    if (!(v.ViewScale >= 1)) v.ViewScale = 1;
    v.ViewLeftX = cx - v.CanvasWidth * 0.5 / v.ViewScale;
    v.ViewBottomY = cy - v.CanvasHeight * 0.5 / v.ViewScale;
    v.ViewRightX = cx + v.CanvasWidth * 0.5 / v.ViewScale;
    v.ViewTopY = cy + v.CanvasHeight * 0.5 / v.ViewScale;
}

}  // namespace kova
