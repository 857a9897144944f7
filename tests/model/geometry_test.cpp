#include <gtest/gtest.h>

#include <cmath>

#include "model/geometry.hpp"

using namespace kova;

namespace {
constexpr double kPiHand = 3.14159265358979;
}

TEST(SegIntersect, CodesAndPoints) {
    struct Case {
        double c[8];
        int code;
        double x, y;
    } cases[] = {
        {{0, 0, 2, 0, 1, -1, 1, 1}, 0, 1, 0}, {{0, 0, 2, 0, 3, -1, 3, 1}, 1, 3, 0}, {{0, 0, 2, 0, 1, 1, 1, 3}, 2, 1, 0},
        {{0, 0, 2, 0, 3, 1, 3, 3}, 3, 3, 0},  {{0, 0, 2, 2, 2, 0, 0, 2}, 0, 1, 1},
        {{0, 0, 2, 0, 2, 0, 2, 5}, 0, 2, 0},  // end points count as inside
        {{0, 0, 2, 0, 0, 1, 2, 1}, -1, -7, -7},  // parallel: outputs untouched
    };
    for (const auto& k : cases) {
        double x = -7, y = -7;
        const double* c = k.c;
        EXPECT_EQ(SegIntersect(c[0], c[1], c[2], c[3], c[4], c[5], c[6], c[7], x, y), k.code);
        EXPECT_NEAR(x, k.x, 1e-12);
        EXPECT_NEAR(y, k.y, 1e-12);
    }
}

TEST(FootOfPerpAndExtendSeg, OnBeyondAndDegenerate) {
    struct Case {
        std::int16_t (*f)(double, double, double, double, double, double, double&, double&);
        double a[6];
        int code;
        double x, y;
    } cases[] = {
        {FootOfPerp, {0, 0, 4, 0, 5, 3}, 1, 5, 0},  {FootOfPerp, {0, 0, 4, 0, 2, 3}, 0, 2, 0},
        {FootOfPerp, {0, 0, 4, 4, 0, 4}, 0, 2, 2},  {FootOfPerp, {1, 1, 1, 1, 2, 3}, -1, -7, -7},
        {nullptr, {0, 0, 3, 4, 5, 0}, 0, 6, 8},     {nullptr, {0, 0, 3, 4, -5, 0}, 0, 0, 0},
        {nullptr, {2, 2, 2, 2, 1, 0}, -1, -7, -7},
    };
    for (const auto& c : cases) {
        double x = -7, y = -7;
        const double* a = c.a;
        EXPECT_EQ(c.f ? c.f(a[0], a[1], a[2], a[3], a[4], a[5], x, y) : ExtendSeg(a[0], a[1], a[2], a[3], a[4], x, y), c.code);
        EXPECT_NEAR(x, c.x, 1e-12);
        EXPECT_NEAR(y, c.y, 1e-12);
    }
}

TEST(Angles, ProductsDirectionAndTurn) {
    EXPECT_EQ(DotProd(0, 0, 1, 2, 0, 0, 3, 4), 11);
    EXPECT_EQ(CrossProd(0, 0, 1, 0, 0, 0, 0, 1), 1);
    EXPECT_EQ(CrossProd(0, 0, 0, 1, 0, 0, 1, 0), -1);
    // DirAngle(dy, dx): measured from +Y clockwise; -100 when both steps are within 0.001.
    EXPECT_EQ(DirAngle(0.0005, -0.0008), -100);
    EXPECT_DOUBLE_EQ(DirAngle(0, 0.002), kPiHand / 2);
    EXPECT_DOUBLE_EQ(DirAngle(-1, 0), kPiHand);
    EXPECT_DOUBLE_EQ(DirAngle(0, -1), -kPiHand / 2);
    for (double a = -3.1; a < 3.14; a += 0.37) EXPECT_NEAR(DirAngle(std::cos(a), std::sin(a)), a, 1e-12) << a;
    // Clockwise turn from the first direction to the second.
    EXPECT_NEAR(TurnAngle(0, 0, 1, 0, 0, 1), kPiHand / 2, 1e-12);
    EXPECT_NEAR(TurnAngle(0, 0, 0, 1, 1, 0), 3 * kPiHand / 2, 1e-12);
    EXPECT_EQ(TurnAngle(0, 0, 1, 1, 1, 1), 0);
    EXPECT_NEAR(TurnAngle(0, 0, -1, 0, 1, 0), kPiHand, 1e-12);
}

TEST(RoundTo, Modes) {
    struct Case {
        double v, unit;
        int mode;
        double r;
    } cases[] = {
        {2.4995, 1, 0, 3}, {2.498, 1, 0, 2}, {-1.25, 0.5, 0, -1.5}, {12.3456, 0.001, 0, 12.346}, {2.9995, 1, 1, 3},
        {2.998, 1, 1, 2},  {7.77, 1, 5, 0},  {3.3, 1, 9, 3.3},      {-2.6, 1, 0, -3},            {-2.6, 1, 1, -2},
    };
    for (const auto& c : cases)
        EXPECT_NEAR(RoundTo(c.v, c.unit, static_cast<std::int16_t>(c.mode)), c.r, 1e-12) << c.v << " " << c.unit << " " << c.mode;
    const double z = RoundTo(-0.0001, 1, 0);
    EXPECT_EQ(z, 0);
    EXPECT_TRUE(std::signbit(z));
}
