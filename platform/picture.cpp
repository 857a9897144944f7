#include "platform/picture.hpp"

#include <algorithm>
#include <cmath>

namespace kova {

bool ClipLine(double& x1, double& y1, double& x2, double& y2, double left, double top,
              double right, double bottom) {
    if (!std::isfinite(x1) || !std::isfinite(y1) || !std::isfinite(x2) || !std::isfinite(y2))
        return false;
    // Liang-Barsky: the parameter range [t0, t1] of the segment inside.
    const double dx = x2 - x1, dy = y2 - y1;
    if (!std::isfinite(dx) || !std::isfinite(dy)) return false;
    double t0 = 0.0, t1 = 1.0;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {x1 - left, right - x1, y1 - top, bottom - y1};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0.0) {
            if (q[i] < 0.0) return false;
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0.0) {
            if (t > t1) return false;
            if (t > t0) t0 = t;
        } else {
            if (t < t0) return false;
            if (t < t1) t1 = t;
        }
    }
    const double ox = x1, oy = y1;
    if (t1 < 1.0) {
        x2 = ox + t1 * dx;
        y2 = oy + t1 * dy;
    }
    if (t0 > 0.0) {
        x1 = ox + t0 * dx;
        y1 = oy + t0 * dy;
    }
    // The cut ends lie on the edges; rounding of long segments may put
    // them a little outside.
    x1 = std::clamp(x1, left, right);
    x2 = std::clamp(x2, left, right);
    y1 = std::clamp(y1, top, bottom);
    y2 = std::clamp(y2, top, bottom);
    return true;
}

bool CircleMeets(double x, double y, double radius, double left, double top, double right,
                 double bottom) {
    if (!std::isfinite(x) || !std::isfinite(y) || !std::isfinite(radius)) return false;
    const double r = std::fabs(radius);
    return x + r >= left && x - r <= right && y + r >= top && y - r <= bottom;
}

bool LineInBox(Picture& p, double x1, double y1, double x2, double y2) {
    if (!ClipLine(x1, y1, x2, y2, 0.0, 0.0, p.Width(), p.Height())) return false;
    p.Line(x1, y1, x2, y2);
    return true;
}

bool CircleInBox(Picture& p, double x, double y, double radius) {
    // A circle larger than the box around it would only be a huge outline.
    if (!CircleMeets(x, y, radius, 0.0, 0.0, p.Width(), p.Height())) return false;
    if (std::fabs(radius) > 4.0 * (p.Width() + p.Height())) return false;
    p.Circle(x, y, radius);
    return true;
}

bool TextInBox(Picture& p, double x, double y, std::string_view utf8) {
    if (!std::isfinite(x) || !std::isfinite(y)) return false;
    if (x > p.Width() || y > p.Height()) return false;
    // A text starting left of or above the box may still reach into it;
    // only far-off positions are dropped.
    if (x < -p.Width() || y < -p.Height()) return false;
    p.Text(x, y, utf8);
    return true;
}

}  // namespace kova
