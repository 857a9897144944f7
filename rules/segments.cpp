#include "rules/segments.hpp"

#include <cmath>

namespace kova::rules {

double CrossProduct(Pt p1, Pt p2, Pt q1, Pt q2) {
    return (p2.x - p1.x) * (q2.y - q1.y) - (p2.y - p1.y) * (q2.x - q1.x);
}

int IntersectSegments(Pt a, Pt b, Pt c, Pt d, Pt& out) {
    const double d1 = CrossProduct(a, b, c, d);
    if (std::fabs(d1) < 1e-10) return -1;
    const double d2 = CrossProduct(c, d, a, b);
    const double t = CrossProduct(a, c, c, d) / d1;
    const double u = CrossProduct(c, a, a, b) / d2;
    if (std::fabs(u) < std::fabs(t))
        out = Pt{(1 - u) * c.x + u * d.x, (1 - u) * c.y + u * d.y};
    else
        out = Pt{(1 - t) * a.x + t * b.x, (1 - t) * a.y + t * b.y};
    int result = 0;
    if (t < 0 || t > 1) result += 1;
    if (u < 0 || u > 1) result += 2;
    return result;
}

bool ClipSegment(double& x1, double& y1, double& x2, double& y2, double left, double top, double right,
                 double bottom) {
    if (!std::isfinite(x1) || !std::isfinite(y1) || !std::isfinite(x2) || !std::isfinite(y2)) return false;
    // The parameter range [t0, t1] of the segment inside.
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
    return true;
}

}  // namespace kova::rules
