#pragma once
// Constants the calculation and the editor share.
#include <numbers>

namespace kova::rules {

inline constexpr double kPi = std::numbers::pi;

// π to 15 digits, as the editor's direction angles have always used it:
// the tools decide by these angles (tracing an outline, the side of a
// turn), so the full value would move their results in the last bits.
inline constexpr double kPi15 = 3.14159265358979;

}  // namespace kova::rules
