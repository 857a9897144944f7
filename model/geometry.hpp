#pragma once
// Plane geometry and rounding helpers shared by the editing tools and the
// section drawing. Direction angles are measured from +Y towards +X.
#include <cmath>
#include <cstdint>

#include "rules/constants.hpp"

namespace kova {

inline constexpr double kPi = rules::kPi15;
inline constexpr double kUndefinedAngle = -100;

double DotProd(double Ax, double Ay, double Bx, double By, double Cx, double Cy, double Dx, double Dy);
double CrossProd(double Ax, double Ay, double Bx, double By, double Cx, double Cy, double Dx, double Dy);

// -1 parallel; else bit 0 set when the point lies outside AB, bit 1 outside CD.
std::int16_t SegIntersect(double Ax, double Ay, double Bx, double By, double Cx, double Cy, double Dx,
                          double Dy, double& X, double& Y);
// -1 when A and B coincide; 0 foot on AB; 1 beyond A or B.
std::int16_t FootOfPerp(double Ax, double Ay, double Bx, double By, double Px, double Py, double& X,
                        double& Y);
// Point on line AB beyond B at distance d from B; -1 when A and B coincide.
std::int16_t ExtendSeg(double Ax, double Ay, double Bx, double By, double d, double& X, double& Y);
// Direction of (dx, dy) in (-pi, pi], or -100 when undefined.
double DirAngle(double dy, double dx);
// Clockwise angle from direction P->R to direction P->Q, in [0, 2pi).
double TurnAngle(double Px, double Py, double Qx, double Qy, double Rx, double Ry);
// v rounded to a multiple of unit: mode 0 half away from zero (from .499),
// 1 towards zero (within 0.001 reaches the next), 9 unchanged, others 0.
double RoundTo(double v, double unit, std::int16_t mode);

// Index below n of the point nearest to (x, y) within tol, or -1; at(i)
// gives point i as a pair. The window shrinks to the best distance so far
// and an equal distance passes again, so the last of equally near points
// wins. dist is left at the distance found, or at tol when none is.
template <class PointAt>
int NearestWithin(double x, double y, double tol, int n, PointAt at, double& dist) {
    int best = -1;
    double limit = tol;
    double limit2 = tol * tol;
    for (int i = 0; i < n; ++i) {
        const auto [px, py] = at(i);
        double dx = std::fabs(px - x);
        if (dx > limit) continue;
        double dy = std::fabs(py - y);
        if (dy > limit) continue;
        double d2 = dx * dx + dy * dy;
        if (d2 > limit2) continue;
        best = i;
        limit = std::sqrt(d2);
        limit2 = d2;
    }
    dist = limit;
    return best;
}

}  // namespace kova
