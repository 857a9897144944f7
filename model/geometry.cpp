#include "model/geometry.hpp"

#include <cmath>

#include "rules/rounding.hpp"
#include "rules/segments.hpp"

namespace kova {

double DotProd(double Ax, double Ay, double Bx, double By, double Cx, double Cy, double Dx, double Dy) {
    return (Bx - Ax) * (Dx - Cx) + (By - Ay) * (Dy - Cy);
}

double CrossProd(double Ax, double Ay, double Bx, double By, double Cx, double Cy, double Dx, double Dy) {
    return (Bx - Ax) * (Dy - Cy) - (By - Ay) * (Dx - Cx);
}

std::int16_t SegIntersect(double Ax, double Ay, double Bx, double By, double Cx, double Cy, double Dx,
                          double Dy, double& X, double& Y) {
    rules::Pt p;
    const int code = rules::IntersectSegments({Ax, Ay}, {Bx, By}, {Cx, Cy}, {Dx, Dy}, p);
    if (code < 0) return -1;
    X = p.x;
    Y = p.y;
    return static_cast<std::int16_t>(code);
}

std::int16_t FootOfPerp(double Ax, double Ay, double Bx, double By, double Px, double Py, double& X,
                        double& Y) {
    double a = DotProd(Ax, Ay, Bx, By, Ax, Ay, Px, Py);
    double g = (Ax - Bx) * (Ax - Bx) + (Ay - By) * (Ay - By);
    if (std::fabs(g) < 1e-10) return -1;
    double t = a / g;
    X = (1 - t) * Ax + t * Bx;
    Y = (1 - t) * Ay + t * By;
    return (t > 1 || t < 0) ? 1 : 0;
}

std::int16_t ExtendSeg(double Ax, double Ay, double Bx, double By, double d, double& X, double& Y) {
    double L = std::sqrt((Ax - Bx) * (Ax - Bx) + (Ay - By) * (Ay - By));
    if (std::fabs(L) < 1e-10) return -1;
    double t = (L + d) / L;
    X = (1 - t) * Ax + t * Bx;
    Y = (1 - t) * Ay + t * By;
    return 0;
}

double DirAngle(double dy, double dx) {
    if (std::fabs(dy) <= 0.001 && std::fabs(dx) <= 0.001) return kUndefinedAngle;
    double r;
    if (std::fabs(dx) > std::fabs(dy)) {
        r = kPi / 2 - std::atan(dy / dx);
        if (dx < 0) r = r > 0 ? r - kPi : r + kPi;
    } else {
        r = std::atan(dx / dy);
        if (dy < 0) r = r > 0 ? r - kPi : r + kPi;
    }
    return r;
}

double TurnAngle(double Px, double Py, double Qx, double Qy, double Rx, double Ry) {
    const double twoPi = 2 * kPi;
    double b = DirAngle(Qy - Py, Qx - Px);
    double c = DirAngle(Ry - Py, Rx - Px);
    if (b < 0) b += twoPi;
    if (c < 0) c += twoPi;
    double r = b - c;
    if (r < 0) r += twoPi;
    return r;
}

double RoundTo(double v, double unit, std::int16_t mode) {
    if (mode == 9) return v;
    double x = v / unit;
    double s = 1;
    if (x < 0) {
        s = -1;
        x = -x;
    }
    // Unlike the calculation's rounding a value that rounds to nothing keeps
    // its sign here, and a mode without a rule gives 0.
    double w = 0;
    if (mode == 0)
        w = rules::RoundMagnitude(x, rules::StepRounding::HalfUp);
    else if (mode == 1)
        w = rules::RoundMagnitude(x, rules::StepRounding::Down);
    return w * s * unit;
}

}  // namespace kova
