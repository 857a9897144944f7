#include <gtest/gtest.h>

#include <limits>

#include "textio/numfmt.hpp"
#include "predict/rounding.hpp"

namespace kova::predict {
namespace {

TEST(PredictRoundToStep, ModesByExample) {
    struct Case {
        double value, unit;
        int mode, method;
        double expected;
    } cases[] = {
        // mode 1: half up, from 0.499 of a step on
        {2.4991, 1, 1, 2, 3}, {2.498, 1, 1, 2, 2}, {-1.5, 1, 1, 2, -2},
        {0.12345, 0.0001, 1, 2, 0.1235}, {-0.12345, 0.0001, 1, 2, -0.1235},
        // mode 3: ties to even on the first decimal
        {2.5, 1, 3, 2, 2}, {3.5, 1, 3, 2, 4}, {2.7, 1, 3, 2, 3}, {2.3, 1, 3, 2, 2}, {-3.5, 1, 3, 2, -4},
        // mode 2: ties to even with one decimal; more digits round half up
        {2.54, 1, 2, 2, 3}, {2.44, 1, 2, 2, 2}, {3.5, 1, 2, 2, 4}, {2.7, 1, 2, 2, 3},
        // mode 4: down with a 0.001 tolerance; mode 5: up with one
        {2.9995, 1, 4, 2, 3}, {2.998, 1, 4, 2, 2}, {3.0005, 1, 5, 2, 3}, {3.002, 1, 5, 2, 4},
        // mode 0 follows the stored method: 1 ties to even, else as mode 1
        {2.5, 1, 0, 1, 2}, {3.5, 1, 0, 1, 4}, {2.50005, 1, 0, 1, 2}, {2.6, 1, 0, 1, 3},
        {2.4, 1, 0, 1, 2}, {2.5, 1, 0, 2, 3}, {2.4991, 1, 0, 2, 3},
        // mode 9 keeps the value, even with unit 0; unknown modes give 0
        {1.23456789, 0, 9, 2, 1.23456789}, {-7.5, 0.1, 9, 2, -7.5}, {123.4, 1, 7, 2, 0}, {-5, 0.5, 6, 2, 0},
    };
    for (const auto& c : cases)
        EXPECT_NEAR(RoundToStep(c.value, c.unit, static_cast<std::int16_t>(c.mode), static_cast<std::int16_t>(c.method)),
                    c.expected, 1e-12)
            << c.value << " unit " << c.unit << " mode " << c.mode << " method " << c.method;
}

TEST(PredictRoundToStep, FaultsAreRaised) {
    EXPECT_THROW(RoundToStep(1, 0, 1), ArithmeticFault);
    EXPECT_THROW(RoundToStep(std::numeric_limits<double>::max(), 1e-10, 1), ArithmeticFault);
    // mode 2 handles magnitudes below 3276.8 steps, mode 3 below 32768
    EXPECT_NO_THROW(RoundToStep(3276.7, 1, 2));
    EXPECT_THROW(RoundToStep(3276.8, 1, 2), ArithmeticFault);
    EXPECT_NO_THROW(RoundToStep(32767.4, 1, 3));
    EXPECT_THROW(RoundToStep(32768.0, 1, 3), ArithmeticFault);
    EXPECT_DOUBLE_EQ(ModReal(-1, 3), 2);
    EXPECT_DOUBLE_EQ(ModReal(7.5, 2), 1.5);
    EXPECT_THROW(ModReal(1, 0), ArithmeticFault);
    EXPECT_THROW(ModReal(70000, 1), ArithmeticFault);
    EXPECT_EQ(Log10Var(0), 0);
    EXPECT_NEAR(Log10Var(0.01), -2, 1e-12);
    EXPECT_THROW(Log10Var(-1), ArithmeticFault);
}

TEST(PredictFormatFixed, RoundsHalfAwayFromZeroOnTheDecimalForm) {
    struct Case {
        double v;
        int decimals;
        const char* text;
    } cases[] = {
        {0.75, 1, "0.8"},  // 0.75 is exact in binary: a true tie
        {1.4000000000000001, 1, "1.4"}, {0.02667, 3, "0.027"}, {999.9996, 3, "1000.000"},
        {-2.5, 0, "-3"}, {-0.0004, 3, "0.000"}, {90, 0, "90"}, {1234567.125, 2, "1234567.13"},
    };
    for (const auto& c : cases) EXPECT_EQ(FormatFixed(c.v, c.decimals), c.text) << c.v;
    EXPECT_EQ(AlignRight("0.0123", 11), "     0.0123");
    EXPECT_EQ(AlignRight("123456", 5), "123456");
}

}  // namespace
}  // namespace kova::predict
