#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "cal_builder.hpp"
#include "engine/column.hpp"
#include "engine/reader.hpp"
#include "engine/settlement.hpp"
#include "testing/fakes.hpp"

using namespace kova::engine;
using namespace enginetest;

namespace {

double R(double v, double step) { return std::round(v / step) * step; }

// One 2 m clay layer (gamma 18: P0 = 18 kN/m2 at mid-depth) read from a file.
struct OneLayer {
    TempDir dir;
    std::unique_ptr<CalcInput> in = std::make_unique<CalcInput>();
    SoilColumn col;
    LayerResults res;

    OneLayer(int method, int mvp, double beta = 1, int kind = 0, int n = 5) {
        Input f;
        f.mvp = mvp;
        Layer l = Clay({f.Point(0, 0), f.Point(10, 0), f.Point(10, -2), f.Point(0, -2)}, 18, method);
        l.beta = beta;
        l.kind = kind;
        l.n = n;
        f.layers.push_back(l);
        for (int d = 0; d < 5; ++d) f.sand_curves[d].pts = {{10, 1.0 - 0.1 * d}, {1000, 0.8 - 0.1 * d}};
        WriteLines(dir.path / "CAL_TNK.DAT", f.Lines());
        kova::RecordingMessages msgs;
        read_calc_input(dir.path, *in, msgs);
        layers_at(*in, col, 5);
        overburden_at_layers(*in, col);
    }
    double Settle(double dp, double u = 0) {
        col.dp[0] = dp;
        return column_settlement(*in, col, res, u);
    }
};

// The e-logP curve of Clay(): e = 2.0, 1.6, 1.2 at 10, 100, 1000 kN/m2.
double CurveE(double p) { return 2.0 - 0.4 * (std::log10(p) - 1); }

}  // namespace

TEST(EngineFinalSettlement, ELogPAndCcByHand) {
    // P1 = 18, P2 = 18 + 32 = 50.
    const double e1 = R(CurveE(18), 0.001), e2 = R(CurveE(50), 0.001);
    const double strain = R((e1 - e2) / (1 + e1), 0.0001);
    const double l = R(std::log10(50.0 / 18.0), 0.00001);
    OneLayer a(0, 1);
    ASSERT_EQ(a.col.count, 1);
    ASSERT_NEAR(a.col.p0[0], 18, 1e-9);
    EXPECT_NEAR(a.Settle(32), R(2 * strain, 0.001), 1e-12);
    EXPECT_NEAR(a.res.elogp[0].e1, 1.898, 1e-12);
    EXPECT_NEAR(a.res.elogp[0].e2, 1.720, 1e-12);
    EXPECT_NEAR(a.res.elogp[0].strain, 0.0614, 1e-12);
    EXPECT_NEAR(a.res.elogp[0].settlement, 0.123, 1e-12);

    OneLayer c(1, 1);
    EXPECT_NEAR(c.Settle(32), R(0.5 / (1 + e1) * 2 * l, 0.001), 1e-12);
    EXPECT_NEAR(c.res.cc[0].log_ratio, 0.4437, 1e-12);
    EXPECT_NEAR(c.res.cc[0].settlement, 0.153, 1e-12);
}

TEST(EngineFinalSettlement, MvBothPressureRules) {
    // mv: 0.002 m2/kN at 10 kN/m2 to 0.0002 at 1000, straight in log-log.
    auto mvAt = [](double p) { return 0.002 * std::pow(10.0, -(std::log10(p) - 1) / 2); };
    OneLayer geo(2, 1);
    double mv = R(mvAt(std::sqrt(18.0 * 50.0)), 0.000001);
    EXPECT_NEAR(geo.Settle(32), R(2 * mv * 32, 0.001), 1e-12);
    EXPECT_NEAR(geo.res.mv[0].mv, 0.001155, 1e-12);
    EXPECT_NEAR(geo.res.mv[0].dn, 32, 1e-12);

    OneLayer arith(2, 0);
    mv = R(mvAt(18 + 32.0 / 2), 0.000001);
    EXPECT_NEAR(arith.Settle(32), R(2 * mv * 32, 0.001), 1e-12);
    EXPECT_NEAR(arith.res.mv[0].mv, 0.001085, 1e-12);
}

TEST(EngineFinalSettlement, MultiplierGateAndUnloading) {
    OneLayer half(0, 1, 0.5);
    EXPECT_NEAR(half.Settle(32), 0.123 * 0.5, 1e-12);

    // The stress increase does not exceed the unloading: nothing settles,
    // but the void ratio at P0 + U is still looked up.
    OneLayer gate(0, 1);
    EXPECT_EQ(gate.Settle(32, 32), 0);
    EXPECT_NEAR(gate.res.elogp[0].e1, R(CurveE(50), 0.001), 1e-12);
    EXPECT_EQ(gate.Settle(20.0004, 20), 0);

    // With unloading U the initial pressure is P0 + U.
    OneLayer pre(0, 1);
    double e1 = R(CurveE(28), 0.001), e2 = R(CurveE(50), 0.001);
    EXPECT_NEAR(pre.Settle(32, 10), R(2 * R((e1 - e2) / (1 + e1), 0.0001), 0.001), 1e-12);
}

TEST(EngineFinalSettlement, HoughPicksTheCurveByNValue) {
    struct Case {
        int n, curve;
    };
    for (Case k : {Case{4, 1}, Case{10, 2}, Case{11, 3}, Case{30, 3}, Case{50, 4}, Case{51, 5}}) {
        EXPECT_EQ(sand_curve_for(k.n), k.curve) << k.n;
        OneLayer s(3, 1, 1, 1, k.n);
        s.Settle(32);
        // Sand curve d: 1.0 - 0.1 (d - 1) at 10 kN/m2, 0.2 lower at 1000.
        double top = 1.0 - 0.1 * (k.curve - 1);
        EXPECT_NEAR(s.res.elogp[0].e1, R(top - 0.2 * (std::log10(18.0) - 1) / 2, 0.001), 1e-12) << k.n;
    }
    // Results of an earlier column never remain.
    OneLayer clay(0, 1);
    clay.res.mv[0].settlement = 9;
    clay.res.cc[5].e1 = 9;
    clay.Settle(32);
    EXPECT_EQ(clay.res.mv[0].settlement, 0);
    EXPECT_EQ(clay.res.cc[5].e1, 0);
    // Without the immediate settlement of sand the layer adds nothing.
    OneLayer off(3, 1, 1, 1, 10);
    off.in->UseSandImmediate = 0;
    EXPECT_EQ(off.Settle(32), 0);
}

TEST(EngineCurveLookup, EndsAndDomain) {
    CurveRec c;
    c.count = 3;
    c.pressure = {10, 100, 1000};
    c.value = {2.0, 1.6, 1.2};
    EXPECT_DOUBLE_EQ(curve_semilog(c, 5), 2.0);
    EXPECT_DOUBLE_EQ(curve_semilog(c, 5000), 1.2);
    EXPECT_NEAR(curve_semilog(c, 50), CurveE(50), 1e-12);
    EXPECT_DOUBLE_EQ(curve_semilog(c, 0), 2.0);
    EXPECT_DOUBLE_EQ(curve_semilog(c, -3), 2.0);
    CurveRec one;
    one.count = 1;
    one.pressure[0] = 50;
    one.value[0] = 0.7;
    EXPECT_DOUBLE_EQ(curve_loglog(one, 5), 0.7);
    EXPECT_DOUBLE_EQ(curve_loglog(one, 500), 0.7);
    EXPECT_EQ(curve_semilog(CurveRec{}, 50), 0);
    // Pressures that admit no logarithm give finite values.
    CurveRec bad;
    bad.count = 3;
    bad.pressure = {0, 0, 100};
    bad.value = {0.01, 0, 0.001};
    for (double p : {0.0, 50.0, -1.0}) {
        EXPECT_TRUE(std::isfinite(curve_loglog(bad, p))) << p;
        EXPECT_TRUE(std::isfinite(curve_semilog(bad, p))) << p;
    }
}
