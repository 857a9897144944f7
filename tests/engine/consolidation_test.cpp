// Consolidation in time against textbook series computed here to
// convergence, Barron's closed form, and superposition of instant loads.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <vector>

#include "engine/data.hpp"
#include "engine/rounding.hpp"
#include "tests/engine/textbook.hpp"

namespace kova::engine {
namespace {

using textbook::barron_F;
using textbook::series_degree;
using textbook::stage;
const double kPiT = textbook::kPi;

TEST(Terzaghi, DegreeMatchesConvergedSeries) {
    struct Case {
        double Tv, textbook;
    } cases[] = {{0.05, 0.25231}, {0.1, 0.35682}, {0.2, 0.50409}, {0.5, 0.76395}, {1.0, 0.93126}};
    for (auto c : cases) {
        EXPECT_NEAR(degree_consolidation_vertical(c.Tv), series_degree(c.Tv), 1e-9) << c.Tv;
        EXPECT_NEAR(degree_consolidation_vertical(c.Tv), c.textbook, 5e-6) << c.Tv;
    }
    // A time factor rounded to 0 keeps the 21-term series' value, 1 minus the
    // sum of 2/M^2 over m = 0..20 (about 0.0096), not 0.
    double tail = 0;
    for (int m = 0; m <= 20; ++m) tail += 2 / std::pow((2 * m + 1) * kPiT / 2, 2);
    EXPECT_NEAR(degree_consolidation_vertical(0), 1 - tail, 1e-12);
    EXPECT_EQ(degree_consolidation_vertical(-1), 0);
    EXPECT_EQ(degree_consolidation_vertical(1e6), 1.0);
    // The tables bisect on days: degrees never fall as the rounded time
    // factor grows, and never pass 1.
    double previous = 0;
    for (int n = 1; n <= 40000; ++n) {
        double u = degree_consolidation_vertical(n * 0.001);
        ASSERT_GE(u, previous) << n;
        ASSERT_LE(u, 1.0) << n;
        if (n % 97 == 0) {
            ASSERT_NEAR(u, series_degree(n * 0.001), 1e-4) << n;
        }
        previous = u;
    }
}

TEST(Barron, IdealDrainWellResistanceAndRadialDegree) {
    for (double n : {5.0, 10.0, 20.0, 50.0}) {
        // Square pattern with d = 1: de = 1.128, and dw chosen for n.
        DrainFactors f = drain_factors(DrainData{2, 1.0, 1.128 / n, 1.0, 0.0}, 10.0);
        EXPECT_NEAR(f.F, barron_F(n), 0.0005 + 1e-9) << n;
        EXPECT_EQ(f.L, 0);  // kc/kw = 0: no well resistance
    }
    // Triangular pattern, d = 1.2 m, dw = 0.05 m: de = 1.26 m, n = 25.2.
    EXPECT_NEAR(effective_diameter(1, 1.2), 1.26, 1e-12);
    EXPECT_NEAR(effective_diameter(2, 1.0), 1.128, 1e-12);
    EXPECT_NEAR(drain_factors(DrainData{1, 1.2, 0.05, 3.0, 0.0}, 8.0).F, barron_F(25.2), 0.0005 + 1e-9);
    EXPECT_NEAR(barron_F(25.2), 2.4823, 0.0001);  // worked by hand
    // (l/dw)^2 kc/kw 32/pi^2 for a 10 m drain of 0.05 m with kc/kw = 0.0005.
    DrainData d{1, 1.2, 0.05, 3.0, 0.0005};
    EXPECT_NEAR(drain_factors(d, 10.0).L, 200.0 * 200 * 0.0005 * 32 / (kPiT * kPiT), 0.0005 + 1e-9);
    // Uh = 1 - exp(-8 Th / (F + 0.8 L)).
    double F = barron_F(20);
    for (double target : {0.3, 0.5, 0.9}) {
        double Th = F * std::log(1 / (1 - target)) / 8;
        EXPECT_NEAR(degree_consolidation_radial(Th, F, 0), target, 1e-12);
        double ThL = (F + 0.8 * 1.0) * std::log(1 / (1 - target)) / 8;
        EXPECT_NEAR(degree_consolidation_radial(ThL, F, 1.0), target, 1e-12);
    }
    EXPECT_EQ(degree_consolidation_radial(0, F, 0), 0);
    // Drains with no resistance left at all consolidate at once, never NaN.
    EXPECT_EQ(degree_consolidation_radial(0.1, 0, 0), 1);
}

TEST(Drains, OnePredicateDecides) {
    struct Case {
        const char* what;
        DrainData d;
        bool valid;
    } cases[] = {
        {"triangular", {1, 1.2, 0.05, 3, 0.001}, true},
        {"square", {2, 1.5, 0.05, 1, 0}, true},
        {"no drains", {0, 1.2, 0.05, 3, 0.001}, false},
        {"unknown kind", {3, 1.2, 0.05, 3, 0.001}, false},
        {"spacing 0", {1, 0, 0.05, 3, 0.001}, false},
        {"diameter 0", {1, 1.2, 0, 3, 0.001}, false},
        {"de not above dw", {1, 0.04, 0.05, 3, 0.001}, false},
        {"de/dw rounds to 1", {2, 1.0, 1.12795, 3, 0.001}, false},
        {"alpha 0", {1, 1.2, 0.05, 0, 0.001}, false},
        {"negative kc/kw", {1, 1.2, 0.05, 3, -0.1}, false},
        {"NaN spacing", {1, std::nan(""), 0.05, 3, 0.001}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(drains_valid(c.d), c.valid);
        DrainFactors f = drain_factors(c.d, 10);
        EXPECT_EQ(f.F > 0, c.valid);
        EXPECT_TRUE(c.valid ? std::isfinite(f.L) : f.L == 0);
    }
}

TEST(TimeFactor, DaysAndGuards) {
    // H = 4 m, c = 0.01 m2/day: 16 x 0.197 / 0.01 = 315.2 days.
    EXPECT_EQ(time_from_factor(0.197, 0.01, 4), 315);
    EXPECT_DOUBLE_EQ(time_factor(0.01, 4, 315), 0.197);
    // No coefficient or no length: no day, no division; a day beyond any int
    // is no day rather than a wrapped number.
    EXPECT_FALSE(time_from_factor(0.197, 0, 4).has_value());
    EXPECT_FALSE(time_from_factor(0.197, 0.01, 0).has_value());
    EXPECT_FALSE(time_from_factor(0.197, -0.01, 4).has_value());
    EXPECT_FALSE(time_from_factor(3.0, 1e-12, 100).has_value());
    EXPECT_FALSE(time_from_factor(std::nan(""), 0.01, 4).has_value());
    EXPECT_EQ(time_factor(0, 4, 100), 0);
    EXPECT_EQ(time_factor(0.01, 0, 100), 0);
    EXPECT_DOUBLE_EQ(time_factor(0.0015, 1, 3), 0.004);  // 4.5 thousandths: to the even 4
    EXPECT_DOUBLE_EQ(time_factor(0.0015, 1, 1), 0.002);  // 1.5: to the even 2
}

TEST(TimeFactor, RoundsExactlyLikeTheEngine) {
    // Time factors are rounded to 0.001 half to even like every other value:
    // at random, and a few ulps around whole thousandths, the 0.4999/0.5001
    // band and the guard of 1e-5.
    std::mt19937_64 rng(12345);
    std::uniform_real_distribution<double> logc(-7, 0), logH(-2, 1.5), day(0, 40000);
    for (int i = 0; i < 100000; ++i) {
        double c = std::pow(10.0, logc(rng)), H = std::pow(10.0, logH(rng));
        double t = std::floor(day(rng)) * (i % 2 ? 1 : 0.5);
        ASSERT_EQ(time_factor(c, H, t), round_to_step(c / (H * H) * t, 0.001, 0)) << c << " " << H << " " << t;
    }
    for (double whole : {0.0, 1.0, 7.0, 4096.0, 1234567.0})
        for (double frac : {1e-5, 2e-5, 0.4999, 0.49998, 0.5, 0.50002, 0.5001, 1 - 1e-5, 1 - 2e-5}) {
            double up = (whole + frac) * 0.001, down = up;
            for (int k = 0; k < 40; ++k) {
                ASSERT_EQ(time_factor(up, 1, 1), round_to_step(up, 0.001, 0)) << whole << " " << frac;
                ASSERT_EQ(time_factor(down, 1, 1), round_to_step(down, 0.001, 0)) << whole << " " << frac;
                up = std::nextafter(up, 1e9);
                down = std::nextafter(down, 0.0);
            }
        }
}

TEST(RampLoad, FractionAndTerzaghiCorrection) {
    EXPECT_EQ(ramp_load_fraction(5, 2.0, 5, 10), 0);
    EXPECT_DOUBLE_EQ(ramp_load_fraction(9, 2.0, 5, 10), 0.8);
    EXPECT_DOUBLE_EQ(ramp_load_fraction(15, 2.0, 5, 10), 2.0);
    EXPECT_DOUBLE_EQ(ramp_load_fraction(6, 2.0, 5, 0), 2.0);
    // Days at the ends of the int range do not overflow.
    const int lowest = std::numeric_limits<int>::min(), highest = std::numeric_limits<int>::max();
    EXPECT_DOUBLE_EQ(ramp_load_fraction(-1000, 2.0, lowest, highest), 2.0 * (-1000.0 - lowest) / highest);
    double far = settlement_at_time(100, stage(0.01, 1, 0.5, lowest, highest));
    EXPECT_TRUE(far >= 0 && far <= 0.5);

    // c / H^2 = 0.01 per day; 10 loading days from day 5.
    UnitStage u = stage(0.01, 1, 0.5, 5, 10);
    EXPECT_EQ(settlement_at_time(5, u), 0);
    EXPECT_EQ(settlement_at_time(0, u), 0);
    // Day 4 of loading: S U(2 days) 4/10; day 15 after the start: S U(15 - 5).
    EXPECT_NEAR(settlement_at_time(9, u), 0.5 * series_degree(0.02) * 0.4, 1e-9);
    EXPECT_NEAR(settlement_at_time(20, u), 0.5 * series_degree(0.10), 1e-9);
    u.period = 0;  // the load acts at once
    EXPECT_NEAR(settlement_at_time(25, u), 0.5 * series_degree(0.20), 1e-9);
    u.period = 15;  // odd period: the time shifts by 15 / 2 = 7 days
    EXPECT_NEAR(settlement_at_time(45, u), 0.5 * series_degree(0.33), 1e-9);
}

TEST(RampLoad, CloseToSuperposedInstantLoads) {
    // A load built up over 100 days equals 100 instant loads of 1/100 each;
    // the correction must stay close to that sum.
    const double c = 0.02, H = 2, p = 100;
    UnitStage u = stage(c, H, 1.0, 0, static_cast<int>(p));
    auto superposed = [&](double tau) {
        const int N = 4000;
        double up = std::min(tau, p), h = up / N, s = 0;
        for (int i = 0; i < N; ++i) s += series_degree(c / (H * H) * (tau - (i + 0.5) * h));
        return s * h / p;
    };
    for (int tau : {10, 20, 50, 80, 99}) {
        // The correction runs a few per cent ahead during loading.
        double exact = superposed(tau), got = settlement_at_time(tau, u);
        EXPECT_GE(got, exact) << tau;
        EXPECT_LE(got, exact * 1.08) << tau;
    }
    for (int tau : {200, 400, 800}) EXPECT_NEAR(settlement_at_time(tau, u), superposed(tau), tau >= 400 ? 0.001 : 0.01);
}

TEST(SettlementAtTime, DrainsRadialAndUnitsWithoutTime) {
    UnitStage u = stage(0.1, 1.0, 0.4, 0, 0);  // ch 0.1, de 1.0
    u.drained = true;
    u.factors = {2.0, 0.5};
    // Th = 0.1 x 10 / 1 = 1.0; U = 1 - exp(-8 / (2 + 0.4)).
    EXPECT_NEAR(settlement_at_time(10, u), 0.4 * (1 - std::exp(-8.0 / 2.4)), 1e-12);
    u.drained = false;  // judged undrained it consolidates vertically
    EXPECT_NEAR(settlement_at_time(10, u), 0.4 * series_degree(1.0), 1e-9);
    for (UnitStage n : {stage(0, 2, 0.3, 0, 0), stage(0.01, 0, 0.3, 0, 10)}) {
        EXPECT_FALSE(consolidates(n));
        for (int t : {1, 100, 36499}) EXPECT_EQ(settlement_at_time(t, n), 0);
    }
}

TEST(CvCurve, LogLogReading) {
    CurveRec c;
    c.count = 3;
    c.pressure = {10, 100, 1000};
    c.value = {0.02, 0.01, 0.005};
    // Halfway in log p between 10 and 100: the geometric mean of the values.
    EXPECT_NEAR(cv_from_curve(c, std::sqrt(10.0 * 100)), std::sqrt(0.02 * 0.01), 1e-6);
    EXPECT_NEAR(cv_from_curve(c, 5), 0.02, 1e-9);      // below: first value
    EXPECT_NEAR(cv_from_curve(c, 5000), 0.005, 1e-9);  // above: last value
    CurveRec one;
    one.count = 1;
    one.pressure[0] = 50;
    one.value[0] = 0.003;
    EXPECT_NEAR(cv_from_curve(one, 500), 0.003, 1e-9);
    EXPECT_EQ(cv_from_curve(CurveRec{}, 50), 0);
    // A zero value on the curve leaves no usable coefficient, not NaN.
    c.value[1] = 0;
    double v = cv_from_curve(c, 50);
    EXPECT_TRUE(std::isfinite(v) && v >= 0);
}

TEST(StageCurve, SameValuesAsSettlementAtTimeBitForBit) {
    const double inf = std::numeric_limits<double>::infinity();
    auto drained = [](UnitStage u, double F, double L) {
        u.drained = true;
        u.factors = DrainFactors{F, L};
        return u;
    };
    const std::vector<UnitStage> stages = {
        stage(0.01, 4, 0.5, 0, 0),         stage(0.0015, 1, 0.3, 30, 25),     stage(0.01, 2, -0.2, 5, 7),
        stage(0.01, 2, 0, 0, 10),          stage(0.01, 2, -0.0, 0, 0),        stage(0, 2, 0.4, 0, 0),
        stage(1e300, 1e-200, 0.1, 0, 3),   stage(1e-300, 1e200, 0.1, 0, 3),
        drained(stage(0.0647, 1.26, 0.071, 0, 10), 2.482, 1296.91),
        drained(stage(0.2, 1.5, 0, 60, 20), 2.6, 0),       drained(stage(0.2, 1.5, 0.2, 0, 0), 0, 0),
        drained(stage(1e300, 1e-200, 0, 0, 3), inf, 0),    drained(stage(0.01, 1.5, 0, 0, 3), inf, inf),
        drained(stage(0.01, 1.5, 0, 0, 3), std::nan(""), 0),
    };
    for (std::size_t i = 0; i < stages.size(); ++i) {
        const StageCurve curve(stages[i]);
        bool allZero = true;
        for (int t = -3; t < 40000; t += (t < 400 ? 1 : 7)) {
            const double a = curve.at(t), b = settlement_at_time(t, stages[i]);
            // Bit for bit: NaN as NaN, -0 as -0.
            ASSERT_EQ(std::signbit(a), std::signbit(b)) << i << " day " << t;
            if (std::isnan(b))
                ASSERT_TRUE(std::isnan(a)) << i << " day " << t;
            else
                ASSERT_EQ(a, b) << i << " day " << t;
            if (!(b == 0)) allZero = false;
        }
        if (curve.adds_nothing()) {
            EXPECT_TRUE(allZero) << i;  // a zero on every day
        }
    }
    // The cases above reach both sides of adds_nothing() (an infinite factor
    // may give NaN, so it is not nothing).
    EXPECT_FALSE(StageCurve(stages[0]).adds_nothing());
    EXPECT_TRUE(StageCurve(stages[3]).adds_nothing());
    EXPECT_TRUE(StageCurve(stages[5]).adds_nothing());
    EXPECT_TRUE(StageCurve(stages[9]).adds_nothing());
    EXPECT_FALSE(StageCurve(stages[11]).adds_nothing());
}

}  // namespace
}  // namespace kova::engine
