#pragma once
// Rounding of reported quantities to a multiple of a step by a mode number,
// with the tolerances the prediction program has always used.
#include <cstdint>
#include <stdexcept>

namespace kova::predict {

// An arithmetic fault (division by zero, overflow, invalid operation) inside
// the rounding or the fit; callers turn it into their failure message.
class ArithmeticFault : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The stored rounding method that mode 0 follows.
inline constexpr std::int16_t kRoundHalfEven = 1;  // "四捨五入" setting 1: ties to even
inline constexpr std::int16_t kRoundDefaultMethod = 2;

// Rounds value to a multiple of unit by mode:
//   0  by roundingMethod: 1 ties to even (with tolerance), otherwise as mode 1
//   1  half up, fractions from 0.499 on round up
//   2  ties to even when only one decimal of the step is present, else half up
//   3  ties to even on the first decimal of the step
//   4  down, within 0.001 below the next integer counts as that integer
//   5  up, within 0.001 above an integer counts as that integer
//   9  value unchanged (unit not used)
//   any other mode gives 0.
// Magnitudes are rounded and the sign restored. Throws ArithmeticFault for a
// unit of 0 or a non-finite intermediate, and for modes 2 and 3 beyond the
// 16-bit range of their digit arithmetic.
double RoundToStep(double value, double unit, std::int16_t mode,
                   std::int16_t roundingMethod = kRoundDefaultMethod);

// a - q*b with q = floor(a/b) held as a 16-bit integer (throws ArithmeticFault
// when b is 0 or q leaves -32768..32767).
double ModReal(double a, double b);

// Decimal logarithm; 0 for x = 0; throws ArithmeticFault for x < 0.
double Log10Var(double x);

}  // namespace kova::predict
