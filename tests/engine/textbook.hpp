#pragma once
// Textbook consolidation formulas, written independently of the engine, as
// test oracles; and a builder of the engine's unit stages.
#include <cmath>

#include "engine/consolidation.hpp"

namespace kova::engine::textbook {

inline const double kPi = std::acos(-1.0);

// Terzaghi's average degree of consolidation, summed until the terms vanish.
inline double series_degree(double Tv) {
    if (Tv <= 0) return 0;
    double sum = 0;
    for (int m = 0; m < 100000; ++m) {
        double M = (2 * m + 1) * kPi / 2;
        double term = 2 / (M * M) * std::exp(-M * M * Tv);
        sum += term;
        if (term < 1e-18) break;
    }
    return 1 - sum;
}

// Barron's ideal-drain function F(n).
inline double barron_F(double n) {
    return n * n / (n * n - 1) * std::log(n) - (3 * n * n - 1) / (4 * n * n);
}

// One loading stage of a unit: coefficient, drainage length, settlement,
// start day and loading days.
inline UnitStage stage(double c, double H, double S, int start, int period) {
    UnitStage u;
    u.coefficient = c;
    u.drain_length = H;
    u.settlement = S;
    u.start = start;
    u.period = period;
    return u;
}

}  // namespace kova::engine::textbook
