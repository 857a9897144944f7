#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

#include "engine/rounding.hpp"
#include "model/geometry.hpp"
#include "predict/rounding.hpp"
#include "rules/rounding.hpp"

using kova::rules::RoundMagnitude;
using kova::rules::RoundToStep;
using kova::rules::StepRounding;

// Magnitudes right at, just below and just above the half and the whole
// number, where the rules part.
TEST(RulesRoundMagnitude, AwkwardHalves) {
    struct Case {
        double x;
        StepRounding how;
        double want;
    };
    const Case cases[] = {
        {2.5, StepRounding::HalfEven, 2},        {3.5, StepRounding::HalfEven, 4},
        {2.50009, StepRounding::HalfEven, 2},    {2.5002, StepRounding::HalfEven, 3},
        {2.4998, StepRounding::HalfEven, 2},     {12.5, StepRounding::HalfEven, 12},
        {1e12 + 0.5, StepRounding::HalfEven, 1e12}, {0.5, StepRounding::HalfEven, 0},
        {2.5, StepRounding::HalfEvenByWhole, 2}, {3.5, StepRounding::HalfEvenByWhole, 4},
        {2.5002, StepRounding::HalfEvenByWhole, 3}, {0.5, StepRounding::HalfEvenByWhole, 0},
        {2.499, StepRounding::HalfUp, 3},        {2.4989, StepRounding::HalfUp, 2},
        {2.5, StepRounding::HalfUp, 3},          {2.9991, StepRounding::Down, 3},
        {2.9989, StepRounding::Down, 2},         {2.0009, StepRounding::Up, 2},
        {2.0011, StepRounding::Up, 3},           {2.55, StepRounding::FirstDecimal, 2},
        {2.45, StepRounding::FirstDecimal, 2},   {2.5, StepRounding::FirstDecimal, 2},
        {3.5, StepRounding::FirstDecimal, 4},    {2.69, StepRounding::FirstDecimal, 3},
        {2.4, StepRounding::FirstDecimalOrHalfUp, 2}, {2.51, StepRounding::FirstDecimalOrHalfUp, 3},
        {3.5, StepRounding::FirstDecimalOrHalfUp, 4}, {2.49, StepRounding::FirstDecimalOrHalfUp, 2},
    };
    for (const Case& c : cases)
        EXPECT_EQ(RoundMagnitude(c.x, c.how), c.want) << c.x << " rule " << static_cast<int>(c.how);
}

TEST(RulesRoundToStep, SignZeroAndNonFinite) {
    EXPECT_DOUBLE_EQ(RoundToStep(-0.0125, 0.001, StepRounding::HalfEven), -0.012);
    EXPECT_DOUBLE_EQ(RoundToStep(-1.2346, 0.001, StepRounding::Down), -1.234);
    EXPECT_FALSE(std::signbit(RoundToStep(-0.0001, 0.001, StepRounding::HalfUp)));
    EXPECT_FALSE(std::signbit(RoundToStep(-0.0, 0.001, StepRounding::Up)));
    EXPECT_EQ(RoundToStep(INFINITY, 0.001, StepRounding::HalfEven), INFINITY);
    EXPECT_TRUE(std::isnan(RoundToStep(NAN, 0.001, StepRounding::FirstDecimal)));
}

// Each program numbers the modes its own way; the same rule must come out
// of each program's number for it, bit for bit.
TEST(RulesRoundToStep, ProgramsAgreeOnSharedRules) {
    const double values[] = {0.0125, 0.0135, 1.2345, 2.5, 3.5, 2.499, 2.0009, 2.9991, 12.25, 7.05, 31.52, 1.23456};
    for (double v : values) {
        // Steps that keep the prediction program's 16-bit digit range.
        for (double step : {1.0, 0.1, 0.01}) {
            const double down = kova::engine::round_to_step(v, step, 1);
            EXPECT_EQ(kova::predict::RoundToStep(v, step, 4), down) << v << " " << step;
            EXPECT_EQ(kova::RoundTo(v, step, 1), down) << v << " " << step;
            EXPECT_EQ(kova::predict::RoundToStep(v, step, 5), kova::engine::round_to_step(v, step, 2)) << v;
            EXPECT_EQ(kova::predict::RoundToStep(v, step, 2), kova::engine::round_to_step(v, step, 3)) << v;
            EXPECT_EQ(kova::predict::RoundToStep(v, step, 3), kova::engine::round_to_step(v, step, 4)) << v;
            EXPECT_EQ(kova::predict::RoundToStep(v, step, 1), kova::RoundTo(v, step, 0)) << v;
        }
    }
    // The prediction program's digit arithmetic still fails beyond 16 bits.
    EXPECT_THROW(kova::predict::RoundToStep(3300, 1, 2), kova::predict::ArithmeticFault);
    EXPECT_THROW(kova::predict::RoundToStep(33000, 1, 3), kova::predict::ArithmeticFault);
    EXPECT_NO_THROW(kova::predict::RoundToStep(3200.5, 1, 2));
}
