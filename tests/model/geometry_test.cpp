#include <gtest/gtest.h>

#include <cmath>

#include "model/geometry.hpp"

using namespace kova;

TEST(SegIntersect, CodesAndPoints) {
    struct Case {
        double c[8];
        int code;
        double x, y;
    } cases[] = {
        {{0, 0, 2, 0, 1, -1, 1, 1}, 0, 1, 0},
        {{0, 0, 2, 0, 3, -1, 3, 1}, 1, 3, 0},
        {{0, 0, 2, 0, 1, 1, 1, 3}, 2, 1, 0},
        {{0, 0, 2, 0, 3, 1, 3, 3}, 3, 3, 0},
        {{0, 0, 2, 2, 2, 0, 0, 2}, 0, 1, 1},
        {{0, 0, 2, 0, 2, 0, 2, 5}, 0, 2, 0},  // end points count as inside
    };
    for (const auto& k : cases) {
        double x = -7, y = -7;
        const double* c = k.c;
        EXPECT_EQ(SegIntersect(c[0], c[1], c[2], c[3], c[4], c[5], c[6], c[7], x, y), k.code);
        EXPECT_NEAR(x, k.x, 1e-12);
        EXPECT_NEAR(y, k.y, 1e-12);
    }
    double x = -7, y = -7;
    EXPECT_EQ(SegIntersect(0, 0, 2, 0, 0, 1, 2, 1, x, y), -1);
    EXPECT_EQ(x, -7);
    EXPECT_EQ(y, -7);
}

TEST(FootOfPerp, OnBeyondAndDegenerate) {
    double x = -7, y = -7;
    EXPECT_EQ(FootOfPerp(0, 0, 4, 0, 5, 3, x, y), 1);
    EXPECT_DOUBLE_EQ(x, 5);
    EXPECT_DOUBLE_EQ(y, 0);
    EXPECT_EQ(FootOfPerp(0, 0, 4, 0, 2, 3, x, y), 0);
    EXPECT_DOUBLE_EQ(x, 2);
    EXPECT_EQ(FootOfPerp(0, 0, 4, 4, 0, 4, x, y), 0);
    EXPECT_DOUBLE_EQ(x, 2);
    EXPECT_DOUBLE_EQ(y, 2);
    x = y = -7;
    EXPECT_EQ(FootOfPerp(1, 1, 1, 1, 2, 3, x, y), -1);
    EXPECT_EQ(x, -7);
}

TEST(ExtendSeg, BeyondAndBack) {
    double x, y;
    EXPECT_EQ(ExtendSeg(0, 0, 3, 4, 5, x, y), 0);
    EXPECT_DOUBLE_EQ(x, 6);
    EXPECT_DOUBLE_EQ(y, 8);
    EXPECT_EQ(ExtendSeg(0, 0, 3, 4, -5, x, y), 0);
    EXPECT_NEAR(x, 0, 1e-12);
    EXPECT_NEAR(y, 0, 1e-12);
    x = y = -7;
    EXPECT_EQ(ExtendSeg(2, 2, 2, 2, 1, x, y), -1);
    EXPECT_EQ(x, -7);
}

TEST(Products, Values) {
    EXPECT_EQ(DotProd(0, 0, 1, 2, 0, 0, 3, 4), 11);
    EXPECT_EQ(CrossProd(0, 0, 1, 0, 0, 0, 0, 1), 1);
    EXPECT_EQ(CrossProd(0, 0, 0, 1, 0, 0, 1, 0), -1);
}

TEST(DirAngle, MeasuredFromPlusYClockwise) {
    const double pi = 3.14159265358979;
    EXPECT_EQ(DirAngle(0.0005, -0.0008), -100);
    EXPECT_DOUBLE_EQ(DirAngle(0, 0.002), pi / 2);
    EXPECT_DOUBLE_EQ(DirAngle(1, 0), 0);
    EXPECT_DOUBLE_EQ(DirAngle(-1, 0), pi);
    EXPECT_DOUBLE_EQ(DirAngle(0, -1), -pi / 2);
    // Against the two-argument arctangent with X and Y exchanged.
    for (double a = -3.1; a < 3.14; a += 0.37) {
        double dx = std::sin(a), dy = std::cos(a);
        EXPECT_NEAR(DirAngle(dy, dx), std::atan2(dx, dy), 1e-12) << a;
    }
}

TEST(TurnAngle, Clockwise) {
    const double pi = 3.14159265358979;
    EXPECT_NEAR(TurnAngle(0, 0, 1, 0, 0, 1), pi / 2, 1e-12);
    EXPECT_NEAR(TurnAngle(0, 0, 0, 1, 1, 0), 3 * pi / 2, 1e-12);
    EXPECT_EQ(TurnAngle(0, 0, 1, 1, 1, 1), 0);
    EXPECT_NEAR(TurnAngle(0, 0, -1, 0, 1, 0), pi, 1e-12);
}

TEST(RoundTo, Modes) {
    struct Case {
        double v, unit;
        int mode;
        double r;
    } cases[] = {
        {2.4995, 1, 0, 3}, {2.498, 1, 0, 2},  {-1.25, 0.5, 0, -1.5}, {12.3456, 0.001, 0, 12.346},
        {2.9995, 1, 1, 3}, {2.998, 1, 1, 2},  {7.77, 1, 5, 0},       {3.3, 1, 9, 3.3},
        {-2.6, 1, 0, -3},  {-2.6, 1, 1, -2},
    };
    for (const auto& c : cases)
        EXPECT_NEAR(RoundTo(c.v, c.unit, static_cast<std::int16_t>(c.mode)), c.r, 1e-12)
            << c.v << " " << c.unit << " " << c.mode;
    double z = RoundTo(-0.0001, 1, 0);
    EXPECT_EQ(z, 0);
    EXPECT_TRUE(std::signbit(z));
}
