#include "platform/picture.hpp"

#include <algorithm>
#include <cmath>

#include "rules/segments.hpp"

namespace kova {

bool ClipLine(double& x1, double& y1, double& x2, double& y2, double left, double top,
              double right, double bottom) {
    if (!rules::ClipSegment(x1, y1, x2, y2, left, top, right, bottom)) return false;
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
