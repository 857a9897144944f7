#include "engine/rounding.hpp"

#include <cmath>

namespace kova::engine {
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

}  // namespace

double round_to_step(double value, double step, int mode) {
    if (mode == 9 || !std::isfinite(value)) return value;
    if (value == 0) return 0.0;
    double x = value / step;
    double sign = 1;
    if (x < 0) {
        sign = -1;
        x = -x;
    }
    double r;
    switch (mode) {
    case 0: {
        // Below 1e9 the guard is at most 1e-7: away from the whole numbers
        // and from the band around one half it cannot change the result, so
        // there the logarithm that sizes it is not needed.
        if (x < 1e9) {
            // floor(x), without the library call: x is positive and small.
            const double f = static_cast<double>(static_cast<long long>(x));
            const double d = x - f;
            if (d > 1e-5 && d < 1 - 1e-5 && std::fabs(d - 0.4999) > 1e-5 && std::fabs(d - 0.5001) > 1e-5) {
                if (d > 0.4999 && d < 0.5001)
                    r = std::fmod(f, 2.0) == 0 ? f : f + 1;
                else
                    r = d < 0.5 ? f : f + 1;
                break;
            }
        }
        // A guard of one unit in the 15th digit absorbs representation error.
        static const PowersOfTen pow10;
        double e = pow10.TruncLog10(x);
        double g = pow10(e - 15);
        double f = std::floor(x + g);
        double d = x - f;
        if (d > 0.4999 && d < 0.5001)
            r = std::fmod(f, 2.0) == 0 ? f : f + 1;
        else
            r = std::floor(x + 0.5 + g);
        break;
    }
    case 1:
        r = std::floor(x + 0.001);
        break;
    case 2:
        r = std::floor(x - 0.001) + 1;
        break;
    case 3:
        if (std::fmod(10 * x + 0.001, 1.0) > 0.001)
            r = std::floor(x + 0.501);
        else
            r = FirstDecimal(x);
        break;
    default:
        r = FirstDecimal(x);
        break;
    }
    // A magnitude that rounds to nothing is plain zero, never -0.
    if (r == 0) return 0.0;
    return r * sign * step;
}

double cross_product(Pt p1, Pt p2, Pt q1, Pt q2) {
    return (p2.x - p1.x) * (q2.y - q1.y) - (p2.y - p1.y) * (q2.x - q1.x);
}

int intersect_segments(Pt a, Pt b, Pt c, Pt d, Pt& out) {
    out = Pt{0, 0};
    double d1 = cross_product(a, b, c, d);
    if (std::fabs(d1) < 1e-10) return -1;
    double d2 = cross_product(c, d, a, b);
    double t = cross_product(a, c, c, d) / d1;
    double u = cross_product(c, a, a, b) / d2;
    if (std::fabs(u) < std::fabs(t))
        out = Pt{(1 - u) * c.x + u * d.x, (1 - u) * c.y + u * d.y};
    else
        out = Pt{(1 - t) * a.x + t * b.x, (1 - t) * a.y + t * b.y};
    int result = 0;
    if (t < 0 || t > 1) result += 1;
    if (u < 0 || u > 1) result += 2;
    return result;
}

}  // namespace kova::engine
