#include "predict/rounding.hpp"

#include <cmath>

#include "rules/rounding.hpp"

namespace kova::predict {
namespace {

double Checked(double v) {
    if (!std::isfinite(v)) throw ArithmeticFault("overflow in rounding");
    return v;
}

// Modes 2 and 3 work on the digits of ten times the magnitude in 16-bit
// arithmetic: beyond its range they fail as they always have.
void CheckDigitRange(double x, std::int16_t mode) {
    const double tenths = Checked(10 * x + 0.001);
    if (mode == 2)
        ModReal(tenths, 1);
    else
        ModReal(std::floor(tenths), 10);
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

    using rules::StepRounding;
    StepRounding how;
    switch (mode) {
    case 0:
        how = roundingMethod == kRoundHalfEven ? StepRounding::HalfEvenByWhole : StepRounding::HalfUp;
        break;
    case 1: how = StepRounding::HalfUp; break;
    case 2: how = StepRounding::FirstDecimalOrHalfUp; break;
    case 3: how = StepRounding::FirstDecimal; break;
    case 4: how = StepRounding::Down; break;
    case 5: how = StepRounding::Up; break;
    default: return 0;
    }
    if (mode == 2 || mode == 3) CheckDigitRange(x, mode);
    const double q = rules::RoundMagnitude(x, how);
    return Checked(q * sign * unit);
}

}  // namespace kova::predict
