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

#include "cal_builder.hpp"
#include "engine/strips.hpp"
#include "engine/stress.hpp"
#include "testing/fakes.hpp"

using namespace kova::engine;
using enginetest::EngineRun;

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
            EXPECT_NEAR(col.dp[i], want, std::max(0.005 * want, 0.05)) << "x " << c.xs[k] << " depth " << depths[i];
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

// A whole section as users draw it: four clay layers following ground
// y = slope * x, fills in stages, one calculation position.
struct Section {
    std::string what;
    double slope = 0;
    std::vector<std::pair<Poly, int>> fills;  // outline and stage
    double x = 0;
    std::vector<enginetest::Wall> walls{};
};

constexpr double kGamma = 18.5;

enginetest::Input Build(const Section& s) {
    enginetest::Input f;
    const double x0 = -60, x1 = 160;
    int tl = f.Point(x0, s.slope * x0), tr = f.Point(x1, s.slope * x1);
    double depth = 0;
    for (double t : {2.0, 3.0, 5.0, 8.0}) {
        depth += t;
        const int br = f.Point(x1, s.slope * x1 - depth), bl = f.Point(x0, s.slope * x0 - depth);
        f.layers.push_back(enginetest::Clay({tl, tr, br, bl}, 17, 0));
        tl = bl;
        tr = br;
    }
    for (const auto& [outline, stage] : s.fills) {
        std::vector<int> v;
        for (auto [px, py] : outline) v.push_back(f.Point(px, py));
        f.blocks.push_back(enginetest::Block{v, kGamma, stage, (stage - 1) * 100, 30});
    }
    f.walls = s.walls;
    f.positions.push_back({s.x, "P"});
    return f;
}

// The section is computed, and every layer's stress after every stage is
// the column integral of the fills placed by then. With a sheet pile the
// integral here does not apply: a fill of weight still lowers no stress.
void ExpectComputed(const Section& s) {
    std::string shape;
    for (const auto& [outline, stage] : s.fills) {
        shape += " [" + std::to_string(stage) + "]";
        for (auto [px, py] : outline) shape += "(" + std::to_string(px) + "," + std::to_string(py) + ")";
    }
    SCOPED_TRACE(s.what + " at x " + std::to_string(s.x) + shape);
    EngineRun r(Build(s), 1);
    ASSERT_EQ(r.code, 0) << (r.msgs.Count() ? r.msgs.Last().text : "");
    const PositionHistory& h = r.st->history;
    ASSERT_GE(h.stage_count, 1);
    for (int e = 0; e < h.stage_count; ++e) {
        double top = s.slope * s.x;
        for (int i = 0; i < h.layer_count; ++i) {
            const double zm = top - h.thickness[i] / 2;
            top -= h.thickness[i];
            const double dp = h.stage_dp[e][i];
            if (!s.walls.empty()) {
                EXPECT_GE(dp, -0.0005) << "entry " << e << " layer " << i;
                continue;
            }
            double want = 0;
            for (const auto& [outline, stage] : s.fills)
                if (stage <= h.stage_number[e]) want += ColumnIntegral(outline, kGamma, s.x, zm);
            EXPECT_NEAR(dp, want, std::max(0.01 * want, 0.05)) << "stage " << h.stage_number[e] << " layer " << i;
        }
    }
}

// A first fill and a cap over it (the outer outline less the first).
std::pair<Poly, Poly> Capped(const Poly& first, const Poly& outer) {
    Poly cap = outer;
    for (auto it = first.rbegin(); it != first.rend(); ++it) cap.push_back(*it);
    return {first, cap};
}

// Sections as users draw them: stage-2 caps over first fills (positions at
// toes, slopes, crest, outside), fills on ground sloping up to 1:2, berms,
// crests with crossfall, and a lower fill against a higher one's vertical face.
std::vector<Section> UsersDraw(unsigned seed) {
    std::mt19937 rng(seed);
    auto U = [&](double a, double b) { return std::uniform_real_distribution<double>(a, b)(rng); };
    std::vector<Section> out;
    for (int i = 0; i < 60; ++i) {
        const double l1 = U(5, 15), h1 = U(2, 6), s1 = U(1.2, 3), crest = U(4, 20);
        const double h2 = h1 + U(0.3, 2), widen = i % 4 == 0 ? 0 : U(0, 2), s2 = s1 + U(0, 1) * widen / h1;
        const double r1 = l1 + 2 * s1 * h1 + crest, l2 = l1 - widen, r2 = r1 + widen + U(0, 3);
        const double cl = l2 + s2 * h2, cr = r2 - s2 * h2;
        if (cl >= cr) continue;
        auto [first, cap] = Capped({{l1, 0}, {l1 + s1 * h1, h1}, {r1 - s1 * h1, h1}, {r1, 0}},
                                   {{l2, 0}, {cl, h2}, {cr, h2}, {r2, 0}});
        const double xs[] = {l2 - U(0, 6), l1, U(l1, cl), U(cl, cr), r1, r2 + U(0, 6)};
        out.push_back({"cap " + std::to_string(i), 0, {{first, 1}, {cap, 2}}, xs[i % 6]});
    }
    for (int i = 0; i < 60; ++i) {
        const double g = U(-0.5, 0.5), a = U(0, 10), h = U(1, 8), s = U(1.5, 2.5), crest = U(3, 15);
        const double top = std::max(a * g, (a + 2 * s * h + crest) * g) + h;
        const double cl = a + (top - a * g) * s / (1 + s * std::max(g, 0.0));
        const double b = a + 2 * s * h + crest + std::fabs(g) * s * h * 2;
        const double cr = b - (top - b * g) * s / (1 + s * std::max(-g, 0.0));
        if (cl >= cr || top <= b * g || top <= a * g) continue;
        out.push_back({"sloping " + std::to_string(i), g, {{{{a, a * g}, {cl, top}, {cr, top}, {b, b * g}}, 1}},
                       U(a - 5, b + 5)});
    }
    for (int i = 0; i < 40; ++i) {
        const double k = U(0.5, 1.5), d = U(1, 3);
        Poly berm{{10 * k, 0}, {16 * k, 3 * k}, {(16 + d) * k, 3 * k}, {(22 + d) * k, 6 * k},
                  {(42 + d) * k, 6 * k}, {(48 + d) * k, 3 * k}, {(48 + 2 * d) * k, 3 * k}, {(54 + 2 * d) * k, 0}};
        out.push_back({"berm " + std::to_string(i), 0, {{berm, 1}}, U(8 * k, (56 + 2 * d) * k)});
        const double hl = U(3, 7), hr = U(2, 7), w = U(8, 30), end = 1.8 * (hl + hr) + w;
        out.push_back({"crossfall " + std::to_string(i), 0,
                       {{{{0, 0}, {1.8 * hl, hl}, {1.8 * hl + w, hr}, {end, 0}}, 1}}, U(-3, end + 3)});
        const double h = U(1, 5), x0 = U(10, 20), h2 = h * U(0.3, 1), wf = U(3, 10);
        Poly face{{x0, 0}, {x0, h}, {x0 + wf, h}, {x0 + wf + U(2, 10), 0}};
        Poly lower{{x0 - U(3, 8) - 2 * h2, 0}, {x0 - U(0, 2), h2}, {x0, h2}, {x0, 0}};
        if (lower[1].first <= lower[0].first) continue;
        out.push_back({"touching " + std::to_string(i), 0, {{face, 1}, {lower, 1 + i % 2}}, U(x0 - 12, x0 + 20)});
    }
    return out;
}

}  // namespace

// Every fill of the generated sections alone, probed across its width.
TEST(GeneratedSections, EveryFillLoadsItsOwnColumns) {
    auto in = std::make_unique<CalcInput>();
    in->block_count = 1;
    std::vector<Case> cases;
    for (const Section& s : UsersDraw(4801))
        for (const auto& [outline, stage] : s.fills) {
            double lo = 1e9, hi = -1e9;
            for (auto [px, py] : outline) lo = std::min(lo, px), hi = std::max(hi, px);
            cases.push_back(Probed(s.what, outline, lo - 5, hi + 5));
        }
    ASSERT_GE(cases.size(), 300u);
    double gamma = 15;
    for (const Case& c : cases) ExpectColumns(c, gamma += 0.02, *in);
}

// Whole runs of the generated sections: a refusal fails, as a wrong stress
// does.
TEST(GeneratedSections, EverySectionUsersDrawIsComputedByItsColumns) {
    const std::vector<Section> sections = UsersDraw(4802);
    ASSERT_GE(sections.size(), 220u);
    for (const Section& s : sections) ExpectComputed(s);
}

// Unusual outlines that are still fills: each is computed, by its columns.
TEST(EngineLoadChecks, UnusualButValidBlocksAreComputed) {
    const Poly stage1{{20, 0}, {29, 6}, {49, 6}, {58, 0}};
    const Poly first{{9.75, 0}, {23.81, 5.74}, {32.01, 5.74}, {44.64, 0}};
    const Poly outer{{9.16, 0}, {23.19, 6.34}, {32.77, 6.34}, {50.25, 0}};
    const Poly sloping{{20, -20 / 3.4}, {30, -30 / 3.4 + 8}, {45, -45 / 3.4 + 8}, {60, -60 / 3.4}};
    const std::vector<Section> table = {
        {"a vertical face", 0, {{{{30, 0}, {30, 4}, {50, 4}, {60, 0}}, 1}}, 29},
        {"a berm", 0, {{{{10, 0}, {16, 3}, {19, 3}, {25, 6}, {45, 6}, {51, 3}, {54, 3}, {60, 0}}, 1}}, 22},
        {"a cap 0.5 m thick at a toe", 0,
         {{stage1, 1}, {Capped(stage1, {{19.5, 0}, {29.25, 6.5}, {48.75, 6.5}, {58.5, 0}}).second, 2}}, 20},
        {"a cap with zero-thickness edges", 0,
         {{stage1, 1}, {Poly{{20, 0}, {29.5, 6.5}, {48.5, 6.5}, {58, 0}, {49, 6}, {29, 6}}, 2}}, 24},
        {"a cap outside both toes", 0, {{first, 1}, {Capped(first, outer).second, 2}}, 6.58},
        {"a cap at the first toe", 0, {{first, 1}, {Capped(first, outer).second, 2}}, 9.75},
        {"a crest with crossfall", 0, {{{{10, 0}, {20.8, 6}, {40, 4}, {47.2, 0}}, 1}}, 22},
        {"a counter-clockwise outline", 0, {{{{70, 0}, {60, 4}, {40, 4}, {30, 0}}, 1}}, 45},
        {"a fill on ground falling 1:3.4", -1 / 3.4, {{sloping, 1}}, 40},
        {"a second fill leaning out over the first, beside a sheet pile", 0,
         {{{{20, 0}, {26, 2}, {54, 2}, {60, 0}}, 1}, {{{26, 2}, {22, 17.02}, {50, 4}, {54, 2}}, 2}}, 10,
         {{18, 0.5, -10}}},
    };
    for (const Section& s : table) ExpectComputed(s);
}
