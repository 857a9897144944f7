#include "engine/rounding.hpp"

#include "rules/rounding.hpp"

namespace kova::engine {

double round_to_step(double value, double step, int mode) {
    using rules::StepRounding;
    if (mode == 9) return value;
    StepRounding how = StepRounding::FirstDecimal;
    switch (mode) {
    case 0: how = StepRounding::HalfEven; break;
    case 1: how = StepRounding::Down; break;
    case 2: how = StepRounding::Up; break;
    case 3: how = StepRounding::FirstDecimalOrHalfUp; break;
    default: break;
    }
    return rules::RoundToStep(value, step, how);
}

}  // namespace kova::engine
