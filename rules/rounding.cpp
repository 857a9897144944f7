#include "rules/rounding.hpp"

#include <cmath>

namespace kova::rules {
namespace {

// The first decimal decides: 5 goes to the even neighbour.
double FirstDecimal(double x) {
    double r0 = std::floor(x + 0.001);
    double k = std::fmod(std::floor(10 * x + 0.001), 10.0);
    if (k == 5) return std::fmod(r0, 2.0) == 0 ? r0 : r0 + 1;
    if (k > 5) return r0 + 1;
    return r0;
}

// Powers of ten for the guard digit, formed once by the same pow the
// rounding would call.
struct PowersOfTen {
    static constexpr int kLow = -345, kHigh = 310;
    double v[kHigh - kLow + 1];
    PowersOfTen() {
        for (int k = kLow; k <= kHigh; ++k) v[k - kLow] = std::pow(10.0, k);
    }
    double operator()(double k) const {
        if (k < kLow || k > kHigh) return std::pow(10.0, k);
        return v[static_cast<int>(k) - kLow];
    }
    // trunc(log10(x)) for x > 0. Away from the powers of ten it is found by
    // comparison; close to one the logarithm itself decides, so the result
    // is always that of trunc(log10(x)).
    double TruncLog10(double x) const {
        int exp2 = 0;
        std::frexp(x, &exp2);
        int k = static_cast<int>(std::floor((exp2 - 1) * 0.30102999566398120));
        if (k - 1 < kLow || k + 2 > kHigh) return std::trunc(std::log10(x));
        while (k > kLow && x < v[k - kLow]) --k;
        while (k + 1 < kHigh && x >= v[k + 1 - kLow]) ++k;
        // Now 10^k <= x < 10^(k+1).
        if (x < v[k - kLow] * (1 + 1e-9) || x > v[k + 1 - kLow] * (1 - 1e-9)) return std::trunc(std::log10(x));
        return k >= 0 ? k : k + 1;
    }
};

double HalfEven(double x) {
    // Below 1e9 the guard is at most 1e-7: away from the whole numbers
    // and from the band around one half it cannot change the result, so
    // there the logarithm that sizes it is not needed.
    if (x < 1e9) {
        // floor(x), without the library call: x is positive and small.
        const double f = static_cast<double>(static_cast<long long>(x));
        const double d = x - f;
        if (d > 1e-5 && d < 1 - 1e-5 && std::fabs(d - 0.4999) > 1e-5 && std::fabs(d - 0.5001) > 1e-5) {
            if (d > 0.4999 && d < 0.5001) return std::fmod(f, 2.0) == 0 ? f : f + 1;
            return d < 0.5 ? f : f + 1;
        }
    }
    // A guard of one unit in the 15th digit absorbs representation error.
    static const PowersOfTen pow10;
    double e = pow10.TruncLog10(x);
    double g = pow10(e - 15);
    double f = std::floor(x + g);
    double d = x - f;
    if (d > 0.4999 && d < 0.5001) return std::fmod(f, 2.0) == 0 ? f : f + 1;
    return std::floor(x + 0.5 + g);
}

double HalfEvenByWhole(double x) {
    double whole = std::trunc(x);
    double f = x - whole;
    if (f > 0.4999 && f < 0.5001) return std::fmod(whole, 2.0) != 0 ? whole + 1 : whole;
    // The decimal logarithm as log(x)/log(10), 0 at 0: the guard it sizes
    // must stay what it always was.
    double l = std::floor(x == 0 ? 0.0 : std::log(x) / std::log(10.0));
    return std::trunc(x + 0.5 + std::pow(10.0, l - 15));
}

}  // namespace

double RoundMagnitude(double x, StepRounding how) {
    switch (how) {
    case StepRounding::HalfEven:
        return HalfEven(x);
    case StepRounding::HalfEvenByWhole:
        return HalfEvenByWhole(x);
    case StepRounding::HalfUp:
        return std::floor(x + 0.501);
    case StepRounding::Down:
        return std::floor(x + 0.001);
    case StepRounding::Up:
        return std::floor(x - 0.001) + 1;
    case StepRounding::FirstDecimalOrHalfUp:
        if (std::fmod(10 * x + 0.001, 1.0) > 0.001) return std::floor(x + 0.501);
        return FirstDecimal(x);
    case StepRounding::FirstDecimal:
        break;
    }
    return FirstDecimal(x);
}

double RoundToStep(double value, double step, StepRounding how) {
    if (!std::isfinite(value)) return value;
    if (value == 0) return 0.0;
    double x = value / step;
    double sign = 1;
    if (x < 0) {
        sign = -1;
        x = -x;
    }
    const double r = RoundMagnitude(x, how);
    // A magnitude that rounds to nothing is plain zero, never -0.
    if (r == 0) return 0.0;
    return r * sign * step;
}

}  // namespace kova::rules
