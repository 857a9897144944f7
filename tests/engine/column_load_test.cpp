// Fills of the shapes users draw (caps over earlier fills, fills on sloping
// ground, berms, crossfall crests) against the fill's columns integrated
// here: each column of thickness t at x' is a line load gamma*t*dx' at the
// fill's lower edge at x'.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "engine/strips.hpp"
#include "engine/stress.hpp"
#include "testing/fakes.hpp"

using namespace kova::engine;

namespace {

using Poly = std::vector<std::pair<double, double>>;

const double kPi = std::acos(-1.0);

// Lowest and highest crossing of the vertical at x with the outline.
bool Span(const Poly& p, double x, double& lo, double& hi) {
    lo = 1e9;
    hi = -1e9;
    for (std::size_t i = 0; i < p.size(); ++i) {
        auto [ax, ay] = p[i];
        auto [bx, by] = p[(i + 1) % p.size()];
        if (ax == bx || x < std::min(ax, bx) || x > std::max(ax, bx)) continue;
        const double y = ay + (by - ay) * (x - ax) / (bx - ax);
        lo = std::min(lo, y);
        hi = std::max(hi, y);
    }
    return hi > lo;
}

double ColumnIntegral(const Poly& p, double gamma, double x, double zm) {
    double xmin = 1e9, xmax = -1e9;
    for (auto [px, py] : p) xmin = std::min(xmin, px), xmax = std::max(xmax, px);
    const int n = static_cast<int>((xmax - xmin) / 0.002) + 1;
    const double dx = (xmax - xmin) / n;
    double sum = 0;
    for (int k = 0; k < n; ++k) {
        const double xc = xmin + (k + 0.5) * dx;
        double lo, hi;
        if (!Span(p, xc, lo, hi) || !(lo > zm)) continue;
        const double z = lo - zm, h = x - xc, r2 = h * h + z * z;
        sum += 2 * gamma * (hi - lo) * dx * z * z * z / (kPi * r2 * r2);
    }
    return sum;
}

struct Case {
    std::string what;
    Poly outline;
    std::vector<double> ground;  // the lower edge's lowest y, per probe x
    std::vector<double> xs;
};

// Each position: layers whose mid-depths lie 0.5 to 12 m under the block.
void ExpectColumns(const Case& c, double gamma, CalcInput& in) {
    std::string shape;
    for (auto [px, py] : c.outline) shape += "(" + std::to_string(px) + "," + std::to_string(py) + ")";
    SCOPED_TRACE(c.what + " " + shape);
    double x[kMaxDivisionVertices], y[kMaxDivisionVertices];
    for (std::size_t i = 0; i < c.outline.size(); ++i) x[i] = c.outline[i].first, y[i] = c.outline[i].second;
    kova::RecordingMessages msgs;
    PieceSet pieces;
    ASSERT_TRUE(divide_load_polygon(x, y, static_cast<int>(c.outline.size()), pieces, msgs));
    ASSERT_EQ(msgs.Count(), 0u);
    in.blocks[0].unit_weight = gamma;
    const BlockLoad load = prepare_block_load(in, pieces, 0);
    for (std::size_t k = 0; k < c.xs.size(); ++k) {
        SoilColumn col;
        const double depths[] = {0.5, 1.5, 4, 12};
        col.count = 4;
        for (int i = 0; i < 4; ++i) {
            col.top[i] = c.ground[k] - depths[i] + 0.25;
            col.bottom[i] = c.ground[k] - depths[i] - 0.25;
        }
        embankment_stress(in, load, c.xs[k], col);
        for (int i = 0; i < 4; ++i) {
            const double want = ColumnIntegral(c.outline, gamma, c.xs[k], c.ground[k] - depths[i]);
            EXPECT_NEAR(col.dp[i], want, std::max(0.01 * want, 0.05)) << "x " << c.xs[k] << " depth " << depths[i];
        }
    }
}

// The lowest lower edge around x (soil lies below the whole fill).
double GroundUnder(const Poly& p, double x) {
    double lo = 1e9, hi;
    for (double d : {-0.3, 0.0, 0.3}) {
        double l;
        if (Span(p, x + d, l, hi)) lo = std::min(lo, l);
    }
    if (lo > 1e8)
        for (auto [px, py] : p) lo = std::min(lo, py);
    return lo;
}

Case Probed(std::string what, Poly outline, double from, double to) {
    Case c{std::move(what), std::move(outline), {}, {}};
    for (int k = 0; k <= 8; ++k) c.xs.push_back(from + (to - from) * k / 8);
    for (double x : c.xs) c.ground.push_back(GroundUnder(c.outline, x));
    return c;
}

}  // namespace

TEST(GeneratedSections, EveryFillLoadsItsOwnColumns) {
    auto in = std::make_unique<CalcInput>();
    in->block_count = 1;
    std::mt19937 rng(4801);
    auto U = [&](double a, double b) { return std::uniform_real_distribution<double>(a, b)(rng); };
    std::vector<Case> cases;
    for (int i = 0; i < 70; ++i) {
        // A cap over a first fill: the outer trapezoid less the first one.
        const double l1 = U(5, 15), h1 = U(2, 6), s1 = U(1.2, 3), crest = U(4, 20);
        const double h2 = h1 + U(0.3, 2), widen = i % 5 == 0 ? 0 : U(0, 2), s2 = s1 + U(0, 1) * widen / h1;
        const double r1 = l1 + 2 * s1 * h1 + crest;
        const double l2 = l1 - widen, r2 = r1 + widen + U(0, 3);
        const double cl = l2 + s2 * h2, cr = r2 - s2 * h2;
        if (cl >= cr) continue;
        Poly cap{{l2, 0}, {cl, h2}, {cr, h2}, {r2, 0}, {r1, 0}, {r1 - s1 * h1, h1}, {l1 + s1 * h1, h1}, {l1, 0}};
        cases.push_back(Probed("cap " + std::to_string(i), cap, l2 - 5, r2 + 5));
    }
    for (int i = 0; i < 70; ++i) {
        // A fill on ground rising (or falling) up to 1:2.
        const double g = U(-0.5, 0.5), a = U(0, 10), h = U(1, 8), s = U(1.5, 2.5), crest = U(3, 15);
        const double top = std::max(a * g, (a + 2 * s * h + crest) * g) + h;
        const double cl = a + (top - a * g) * s / (1 + s * std::max(g, 0.0));
        const double b = a + 2 * s * h + crest + std::fabs(g) * s * h * 2;
        const double cr = b - (top - b * g) * s / (1 + s * std::max(-g, 0.0));
        if (cl >= cr || top <= b * g || top <= a * g) continue;
        Poly fill{{a, a * g}, {cl, top}, {cr, top}, {b, b * g}};
        cases.push_back(Probed("sloping " + std::to_string(i), fill, a - 3, b + 3));
    }
    for (int i = 0; i < 70; ++i) {
        // A berm, and a crest with crossfall, on level ground.
        const double k = U(0.5, 1.5), d = U(1, 3);
        Poly berm{{10 * k, 0}, {16 * k, 3 * k}, {(16 + d) * k, 3 * k}, {(22 + d) * k, 6 * k},
                  {(42 + d) * k, 6 * k}, {(48 + d) * k, 3 * k}, {(48 + 2 * d) * k, 3 * k}, {(54 + 2 * d) * k, 0}};
        cases.push_back(Probed("berm " + std::to_string(i), berm, 8 * k, (56 + 2 * d) * k));
        const double hl = U(3, 7), hr = U(2, 7), w = U(8, 30);
        Poly crossfall{{0, 0}, {1.8 * hl, hl}, {1.8 * hl + w, hr}, {3.6 * hl + w * 0 + 1.8 * hr + w, 0}};
        crossfall[3].first = 1.8 * hl + w + 1.8 * hr;
        cases.push_back(Probed("crossfall " + std::to_string(i), crossfall, -3, crossfall[3].first + 3));
    }
    // Touching blocks: a block whose vertical face meets its neighbour's.
    for (int i = 0; i < 40; ++i) {
        const double h = U(1, 5), x0 = U(0, 10);
        Poly face{{x0, 0}, {x0, h}, {x0 + U(3, 10), h}, {x0 + U(12, 20), 0}};
        cases.push_back(Probed("vertical face " + std::to_string(i), face, x0 - 3, face[3].first + 3));
    }
    ASSERT_GE(cases.size(), 250u);
    for (const Case& c : cases) ExpectColumns(c, U(15, 21), *in);
}
