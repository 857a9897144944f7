#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "engine/rounding.hpp"

using kova::engine::intersect_segments;
using kova::engine::Pt;
using kova::engine::round_to_step;

TEST(EngineRoundToStep, Modes) {
    struct Case {
        double v, step;
        int mode;
        double want;
    };
    const Case cases[] = {
        {2.5, 1, 0, 2},          {3.5, 1, 0, 4},         {2.50009, 1, 0, 2},    {2.5002, 1, 0, 3},
        {-2.5, 1, 0, -2},        {0.0125, 0.001, 0, 0.012}, {0.0135, 0.001, 0, 0.014},
        {-1.2346, 0.001, 0, -1.235}, {7.5, 1, 0, 8},     {2.49, 1, 0, 2},
        {1.23456, 0.001, 1, 1.234}, {1.23456, 0.001, 2, 1.235}, {1.2340005, 0.001, 2, 1.234},
        {2.51, 1, 3, 3},         {2.5, 1, 7, 2},         {3.5, 1, 7, 4},        {2.6, 1, 7, 3},
        {2.4, 1, 7, 2},          {315.2, 1, 0, 315},
    };
    for (const Case& c : cases)
        EXPECT_NEAR(round_to_step(c.v, c.step, c.mode), c.want, 1e-12) << c.v << " step " << c.step << " mode " << c.mode;
    // Zero, no rounding (mode 9) and non-finite values pass untouched.
    for (int mode : {0, 1, 2, 3, 7, 9}) EXPECT_EQ(round_to_step(0, 0.001, mode), 0) << mode;
    EXPECT_EQ(round_to_step(1.23456789, 0.001, 9), 1.23456789);
    // Small negatives round to plain zero, which prints without a sign.
    EXPECT_FALSE(std::signbit(round_to_step(-0.0001, 0.001, 0)));
    EXPECT_FALSE(std::signbit(round_to_step(-0.0, 0.001, 0)));
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(round_to_step(inf, 0.001, 0), inf);
    EXPECT_TRUE(std::isnan(round_to_step(std::nan(""), 0.001, 0)));
}

TEST(EngineIntersectSegments, Cases) {
    Pt out;
    EXPECT_EQ(intersect_segments({0, 0}, {2, 0}, {1, 1}, {1, -1}, out), 0);
    EXPECT_DOUBLE_EQ(out.x, 1);
    EXPECT_DOUBLE_EQ(out.y, 0);
    EXPECT_EQ(intersect_segments({0, 0}, {2, 0}, {3, 1}, {3, -1}, out), 1);
    EXPECT_DOUBLE_EQ(out.x, 3);
    EXPECT_DOUBLE_EQ(out.y, 0);
    EXPECT_EQ(intersect_segments({0, 0}, {2, 0}, {1, 3}, {1, 1}, out), 2);
    EXPECT_EQ(intersect_segments({0, 0}, {2, 0}, {3, 3}, {3, 1}, out), 3);
    EXPECT_EQ(intersect_segments({0, 0}, {2, 0}, {0, 1}, {2, 1}, out), -1);
    EXPECT_EQ(out.x, 0);
    EXPECT_EQ(out.y, 0);
    // The ends count as on the segment.
    EXPECT_EQ(intersect_segments({0, 0}, {2, 0}, {2, 1}, {2, 0}, out), 0);
}

TEST(EngineRoundToStep, HalfEvenAgreesWithTheLogarithmicGuard) {
    // The guard digit of mode 0 as written with the logarithm.
    auto reference = [](double value, double step) {
        if (value == 0) return 0.0;
        double x = value / step, sign = 1;
        if (x < 0) {
            sign = -1;
            x = -x;
        }
        double g = std::pow(10.0, std::trunc(std::log10(x)) - 15);
        double f = std::floor(x + g), d = x - f, r;
        if (d > 0.4999 && d < 0.5001)
            r = std::fmod(f, 2.0) == 0 ? f : f + 1;
        else
            r = std::floor(x + 0.5 + g);
        return r == 0 ? 0.0 : r * sign * step;
    };
    // At random over sixteen decades, with powers of ten and halves, then a
    // few ulps around whole steps, the band around one half and the guard's
    // reach, where a shortcut past the guard would show.
    unsigned seed = 7;
    auto rnd = [&] { return (seed = seed * 1664525u + 1013904223u) / 4294967296.0; };
    const double steps[] = {0.001, 0.00001, 1};
    for (int i = 0; i < 100000; ++i) {
        double v = (rnd() < 0.5 ? -1 : 1) * std::pow(10.0, -8 + 16 * rnd());
        if (i % 4 == 1) v = std::pow(10.0, static_cast<int>(-8 + 16 * rnd()));
        if (i % 4 == 2) v = std::nextafter(std::pow(10.0, static_cast<int>(-8 + 16 * rnd())), 0.0);
        if (i % 4 == 3) v = (static_cast<int>(rnd() * 100000) + 0.5) * 0.001;
        ASSERT_EQ(round_to_step(v, steps[i % 3], 0), reference(v, steps[i % 3])) << v << " step " << steps[i % 3];
    }
    for (double step : steps)
        for (double whole : {0.0, 1.0, 17.0, 99999.0, 999999999.0, 1e12})
            for (double frac : {1e-5, 0.4999, 0.5, 0.5001, 1 - 1e-5, 1e-9}) {
                double up = (whole + frac) * step, down = up;
                for (int k = 0; k < 40; ++k) {
                    ASSERT_EQ(round_to_step(up, step, 0), reference(up, step)) << up << " step " << step;
                    ASSERT_EQ(round_to_step(-down, step, 0), reference(-down, step)) << down << " step " << step;
                    up = std::nextafter(up, 1e300);
                    down = std::nextafter(down, 0.0);
                }
            }
}
