#pragma once
// Rounding to a multiple of a step: the one implementation behind the
// engine's, the editor's and the prediction program's mode numbers. Each
// program keeps its own numbering of the modes and maps it to these rules.

namespace kova::rules {

enum class StepRounding {
    // Ties (within 0.0001 of one half) to the even neighbour, otherwise to
    // the nearest; a guard of one unit in the 15th digit absorbs
    // representation error (the calculation's rounding).
    HalfEven,
    // The same rule with the tie judged on the whole part and the guard
    // sized by the floor of the logarithm (the prediction program's).
    HalfEvenByWhole,
    HalfUp,                // from .499 on, up
    Down,                  // down; within 0.001 below a whole number counts as it
    Up,                    // up; within 0.001 above a whole number counts as it
    FirstDecimal,          // by the first decimal only, 5 to the even neighbour
    FirstDecimalOrHalfUp,  // FirstDecimal when only one decimal is present, else HalfUp
};

// The whole number of steps a magnitude x (>= 0) rounds to.
double RoundMagnitude(double x, StepRounding how);

// value rounded to a multiple of step (> 0): the magnitude is rounded and the
// sign restored. A zero result is +0, and a non-finite value is returned
// untouched.
double RoundToStep(double value, double step, StepRounding how);

}  // namespace kova::rules
