#pragma once
// The one rule for vertical drains: which values let a layer's drains take
// part in the calculation. SETLCORE computes a layer whose drains break it
// without drains; the ground-improvement dialog refuses to store such a row.
// Both decide by this header, with the calculation's own rounding to 0.001
// handed in, so that what the dialog accepts is what the engine computes.
//
// Header only: the rounding is the caller's, handed in.
#include <cmath>

namespace kova {

// The first rule a row breaks, in the order they are checked.
enum class DrainFault {
    None,
    Method,          // not 1 (triangular) or 2 (square)
    Spacing,         // d > 0
    Diameter,        // dw > 0
    Influence,       // de/dw, to 0.001, above 1
    Alpha,           // alpha > 0
    PermRatio,       // kc/kw >= 0
};

struct DrainValues {
    int method = 0;
    double spacing = 0;   // d (m)
    double diameter = 0;  // dw (m)
    double alpha = 0;     // Ch = alpha * Cv
    double permRatio = 0; // kc/kw
};

// de = 1.05 d for the triangular pattern, 1.128 d for the square one.
inline double InfluenceFactor(int method) {
    if (method == 1) return 1.05;
    if (method == 2) return 1.128;
    return 0;
}

// Diameter of a drain's influence area to 0.001 m; 0 for a method without drains.
template <class Round3>
double InfluenceDiameter(int method, double spacing, Round3 round3) {
    const double f = InfluenceFactor(method);
    return f == 0 ? 0.0 : round3(f * spacing);
}

// de/dw as the calculation uses it, to 0.001.
template <class Round3>
double DrainRatio(const DrainValues& v, Round3 round3) {
    return round3(InfluenceDiameter(v.method, v.spacing, round3) / v.diameter);
}

template <class Round3>
DrainFault FindDrainFault(const DrainValues& v, Round3 round3) {
    if (v.method != 1 && v.method != 2) return DrainFault::Method;
    if (!(v.spacing > 0) || !std::isfinite(v.spacing)) return DrainFault::Spacing;
    if (!(v.diameter > 0) || !std::isfinite(v.diameter)) return DrainFault::Diameter;
    // The ratio is used rounded: 1.000 would still divide by n^2 - 1 = 0.
    if (!(DrainRatio(v, round3) > 1)) return DrainFault::Influence;
    if (!(v.alpha > 0) || !std::isfinite(v.alpha)) return DrainFault::Alpha;
    if (!(v.permRatio >= 0) || !std::isfinite(v.permRatio)) return DrainFault::PermRatio;
    return DrainFault::None;
}

}  // namespace kova
