#pragma once
// Plane geometry and rounding helpers shared by the editing tools and the
// section drawing. Direction angles are measured from +Y towards +X.
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

}  // namespace kova
