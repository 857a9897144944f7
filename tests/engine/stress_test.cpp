#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>

#include "engine/strips.hpp"
#include "engine/stress.hpp"
#include "testing/fakes.hpp"

using namespace kova::engine;

namespace {

const double kPi = std::acos(-1.0);

// Vertical stress of a line load q (per metre) at horizontal offset dx and
// depth z: Flamant.
double Flamant(double q, double dx, double z) {
    double r2 = dx * dx + z * z;
    return 2 * q * z * z * z / (kPi * r2 * r2);
}

// Composite Simpson rule over [a, b].
double Integrate(const std::function<double(double)>& f, double a, double b, int n = 20000) {
    double h = (b - a) / n, s = f(a) + f(b);
    for (int i = 1; i < n; ++i) s += f(a + i * h) * (i % 2 ? 4 : 2);
    return s * h / 3;
}

// A column with one layer whose mid-depth lies at zm.
SoilColumn ColumnAt(double zm) {
    SoilColumn c;
    c.count = 1;
    c.top[0] = zm + 1;
    c.bottom[0] = zm - 1;
    return c;
}

struct Fixture {
    std::unique_ptr<CalcInput> in = std::make_unique<CalcInput>();
};

// The stress a load function gives a layer whose mid-depth lies at zm.
template <class F>
double StressAt(F f, const Fixture& x, double at, double zm) {
    SoilColumn c = ColumnAt(zm);
    f(*x.in, 0, at, c);
    return c.dp[0];
}

}  // namespace

TEST(EngineStress, UniformStripMatchesIntegratedLineLoads) {
    Fixture f;
    f.in->strip_load_count = 1;
    LoadRec& l = f.in->strip_loads[0];
    l.load = 10;
    l.x1 = 0;
    l.x2 = 3;
    for (double x : {0.0, 1.5, 2.2, 4.0, -2.0}) {
        for (double depth : {1.0, 2.5, 7.0}) {
            SoilColumn c = ColumnAt(-depth);
            strip_load_stress(*f.in, 0, x, c);
            double want = Integrate([&](double xi) { return Flamant(10, x - xi, depth); }, 0, 3);
            EXPECT_NEAR(c.dp[0], want, 1e-6) << "x=" << x << " z=" << depth;
        }
    }
    const double edge = StressAt(strip_load_stress, f, 0, -1);
    EXPECT_NEAR(edge, 4.93, 0.005);
    // Entered right to left it is the same strip; a layer at or above the
    // strip's level gets nothing.
    std::swap(l.x1, l.x2);
    EXPECT_NEAR(StressAt(strip_load_stress, f, 0, -1), edge, 1e-12);
    EXPECT_EQ(StressAt(strip_load_stress, f, 0, 0), 0);
}

TEST(EngineStress, PointAndLineLoads) {
    Fixture f;
    f.in->point_load_count = 1;
    f.in->point_loads[0] = LoadRec{2, 1, 0, 0, 100, 1, 0, 0};
    f.in->line_load_count = 1;
    f.in->line_loads[0] = LoadRec{2, 1, 0, 0, 50, 1, 0, 0};
    struct Case {
        double x, zm;
    };
    for (Case k : {Case{5, -3}, Case{2, -2}, Case{-1, -3}, Case{2, 0.5}}) {
        SoilColumn p = ColumnAt(k.zm), q = ColumnAt(k.zm);
        point_load_stress(*f.in, 0, k.x, p);
        line_load_stress(*f.in, 0, k.x, q);
        double z = 1 - k.zm, dx = k.x - 2, r = std::sqrt(dx * dx + z * z);
        // Boussinesq below a point load, Flamant below a line load.
        EXPECT_NEAR(p.dp[0], 3 * 100 * z * z * z / (2 * kPi * std::pow(r, 5)), 1e-9) << k.x;
        EXPECT_NEAR(q.dp[0], Flamant(50, dx, z), 1e-9) << k.x;
    }
    // Directly below: 3P / (2 pi z^2); the load's own level adds nothing (R
    // would be 0).
    EXPECT_NEAR(StressAt(point_load_stress, f, 2, -3), 3 * 100 / (2 * kPi * 16), 1e-9);
    EXPECT_EQ(StressAt(point_load_stress, f, 2, 1), 0);
    EXPECT_EQ(StressAt(line_load_stress, f, 2, 1), 0);
}

TEST(EngineStress, WallsBlockThePath) {
    Fixture f;
    f.in->point_load_count = 1;
    f.in->point_loads[0] = LoadRec{0, 0, 0, 0, 100, 1, 0, 0};
    f.in->wall_count = 1;
    // Across the path; the path passing above its top; beyond the layer.
    for (auto [wall, acts] : {std::pair{WallRec{2.5, 1, -10}, false}, std::pair{WallRec{2.5, -4, -10}, true},
                              std::pair{WallRec{7, 1, -10}, true}}) {
        f.in->walls[0] = wall;
        EXPECT_EQ(StressAt(point_load_stress, f, 5, -5) > 0, acts) << wall.x << " " << wall.top;
    }
}

TEST(EngineStress, TrianglePieceMatchesIntegratedLineLoads) {
    Fixture f;
    f.in->block_count = 1;
    f.in->blocks[0].unit_weight = 10;
    for (int side : {0, 1}) {
        PieceSet s;
        s.count = 1;
        StripPiece& p = s.pieces[0];
        p.PieceKind = kTriangle;
        p.Side = side;
        p.Width = 3;
        p.Height = 1;  // q = 10 at the full end
        p.LeftX = 0;
        p.CentroidX = side == 0 ? 1 : 2;
        p.CentroidY = 1.0 / 3;  // load level 0
        for (double x : {0.0, 1.0, 3.0, 5.0, -2.0}) {
            for (double depth : {1.0, 4.0}) {
                SoilColumn c = ColumnAt(-depth);
                embankment_stress(*f.in, s, 0, x, c);
                double want = Integrate(
                    [&](double xi) {
                        double q = side == 0 ? 10 * (3 - xi) / 3 : 10 * xi / 3;
                        return Flamant(q, x - xi, depth);
                    },
                    0, 3);
                EXPECT_NEAR(c.dp[0], want, 1e-6) << "side " << side << " x=" << x << " z=" << depth;
            }
        }
        SoilColumn c = ColumnAt(-1);
        embankment_stress(*f.in, s, 0, 0, c);
        EXPECT_NEAR(c.dp[0], side == 0 ? 3.98 : 0.95, 0.005);
    }
}

TEST(EngineStress, TrapezoidalEmbankmentMatchesOsterberg) {
    // Crest half-width b, slopes of width a, height H, unit weight 20.
    const double a = 6, b = 4, h = 3, gamma = 20, q = h * gamma;
    Fixture f;
    f.in->block_count = 1;
    f.in->blocks[0].unit_weight = gamma;
    double x[] = {0, a, a + 2 * b, 2 * a + 2 * b}, y[] = {0, h, h, 0};
    PieceSet s;
    kova::RecordingMessages msgs;
    ASSERT_TRUE(divide_load_polygon(x, y, 4, s, msgs));
    for (double z : {1.0, 3.0, 8.0, 20.0}) {
        SoilColumn c = ColumnAt(-z);
        embankment_stress(*f.in, s, 0, a + b, c);
        // Osterberg's influence for one half, twice at the centreline.
        double a2 = std::atan(b / z), a1 = std::atan((a + b) / z) - a2;
        double half = q / kPi * ((a + b) / a * (a1 + a2) - b / a * a2);
        EXPECT_NEAR(c.dp[0], 2 * half, 1e-3) << "z=" << z;
    }
    // Off the centreline: against the integrated line loads.
    for (double xp : {0.0, 3.0, 13.0, 25.0}) {
        SoilColumn c = ColumnAt(-4);
        embankment_stress(*f.in, s, 0, xp, c);
        auto thick = [&](double xi) {
            if (xi < a) return h * xi / a;
            if (xi <= a + 2 * b) return h;
            return h * (2 * a + 2 * b - xi) / a;
        };
        double want = Integrate([&](double xi) { return Flamant(gamma * thick(xi), xp - xi, 4); }, 0, 2 * a + 2 * b);
        EXPECT_NEAR(c.dp[0], want, 1e-3) << "x=" << xp;
    }
}
