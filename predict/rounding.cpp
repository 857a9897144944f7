#include "predict/rounding.hpp"

#include <cmath>

namespace kova::predict {
namespace {

double Checked(double v) {
    if (!std::isfinite(v)) throw ArithmeticFault("overflow in rounding");
    return v;
}

bool IsOdd(double q) { return ModReal(q, 2) != 0; }

// Tie to even on the first decimal digit of x (modes 2 and 3).
double FirstDecimalTieToEven(double x) {
    double q = std::floor(x + 0.001);
    double r = std::floor(Checked(10 * x + 0.001));
    double d = ModReal(r, 10);
    if (d == 5) {
        if (IsOdd(q)) q += 1;
    } else if (d > 5) {
        q += 1;
    }
    return q;
}

}  // namespace

double ModReal(double a, double b) {
    if (b == 0) throw ArithmeticFault("division by zero");
    double quotient = Checked(a / b);
    double q = std::floor(quotient);
    if (q < -32768 || q > 32767) throw ArithmeticFault("overflow");
    return a - q * b;
}

double Log10Var(double x) {
    if (x == 0) return 0;
    if (x < 0 || std::isnan(x)) throw ArithmeticFault("invalid operation");
    return std::log(x) / std::log(10.0);
}

double RoundToStep(double value, double unit, std::int16_t mode, std::int16_t roundingMethod) {
    if (mode == 9) return value;
    if (unit == 0) throw ArithmeticFault("division by zero");
    double x = Checked(value / unit);
    double sign = x >= 0 ? 1.0 : -1.0;
    x = std::fabs(x);

    double q = 0;
    switch (mode) {
    case 0:
        if (roundingMethod == kRoundHalfEven) {
            double whole = std::trunc(x);
            double f = x - whole;
            if (f > 0.4999 && f < 0.5001) {
                q = std::fmod(whole, 2.0) != 0 ? whole + 1 : whole;
            } else {
                double l = std::floor(Log10Var(x));
                q = std::trunc(x + 0.5 + std::pow(10.0, l - 15));
            }
        } else {
            q = std::floor(x + 0.501);
        }
        break;
    case 1:
        q = std::floor(x + 0.501);
        break;
    case 2:
        if (ModReal(Checked(10 * x + 0.001), 1) > 0.001)
            q = std::floor(x + 0.501);
        else
            q = FirstDecimalTieToEven(x);
        break;
    case 3:
        q = FirstDecimalTieToEven(x);
        break;
    case 4:
        q = std::floor(x + 0.001);
        break;
    case 5:
        q = std::floor(x - 0.001) + 1;
        break;
    default:
        return 0;
    }
    return Checked(q * sign * unit);
}

}  // namespace kova::predict
