#include "model/geometry.hpp"

#include <cmath>

namespace kova {

double DotProd(double Ax, double Ay, double Bx, double By, double Cx, double Cy, double Dx, double Dy) {
    return (Bx - Ax) * (Dx - Cx) + (By - Ay) * (Dy - Cy);
}

double CrossProd(double Ax, double Ay, double Bx, double By, double Cx, double Cy, double Dx, double Dy) {
    return (Bx - Ax) * (Dy - Cy) - (By - Ay) * (Dx - Cx);
}

std::int16_t SegIntersect(double Ax, double Ay, double Bx, double By, double Cx, double Cy, double Dx,
                          double Dy, double& X, double& Y) {
    double f = CrossProd(Ax, Ay, Bx, By, Cx, Cy, Dx, Dy);
    double g = CrossProd(Cx, Cy, Dx, Dy, Ax, Ay, Bx, By);
    double h = CrossProd(Ax, Ay, Cx, Cy, Cx, Cy, Dx, Dy);
    double l = CrossProd(Cx, Cy, Ax, Ay, Ax, Ay, Bx, By);
    if (std::fabs(f) < 1e-10) return -1;
    double t = h / f;
    double u = l / g;
    // The point comes from the parameter of smaller magnitude.
    if (std::fabs(u) >= std::fabs(t)) {
        X = (1 - t) * Ax + t * Bx;
        Y = (1 - t) * Ay + t * By;
    } else {
        X = (1 - u) * Cx + u * Dx;
        Y = (1 - u) * Cy + u * Dy;
    }
    std::int16_t code = 0;
    if (t < 0 || t > 1) code += 1;
    if (u < 0 || u > 1) code += 2;
    return code;
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
    double w;
    if (mode == 0)
        w = std::floor(x + 0.501);
    else if (mode == 1)
        w = std::trunc(x + 0.001);
    else
        w = 0;
    return w * s * unit;
}

}  // namespace kova
