#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "engine/errors.hpp"
#include "engine/strips.hpp"
#include "testing/fakes.hpp"

using namespace kova::engine;

namespace {

const double kPiTest = std::acos(-1.0);
using Poly = std::vector<std::pair<double, double>>;

// Thickness of the polygon on the vertical at x: the lengths inside, found
// from the crossings of its edges.
double PolygonThickness(const Poly& p, double x) {
    std::vector<double> ys;
    for (std::size_t i = 0; i < p.size(); ++i) {
        auto [x1, y1] = p[i];
        auto [x2, y2] = p[(i + 1) % p.size()];
        if ((x1 <= x && x < x2) || (x2 <= x && x < x1)) ys.push_back(y1 + (y2 - y1) * (x - x1) / (x2 - x1));
    }
    std::sort(ys.begin(), ys.end());
    double t = 0;
    for (std::size_t i = 0; i + 1 < ys.size(); i += 2) t += ys[i + 1] - ys[i];
    return t;
}

// Signed fill thickness that the pieces carry at x.
double PiecesThickness(const PieceSet& s, double x) {
    double t = 0;
    for (int k = 0; k < s.count; ++k) {
        const StripPiece& p = s.pieces[k];
        double xl = p.LeftX, xr = p.LeftX + p.Width;
        if (x < xl || x > xr) continue;
        double h = p.Height;
        if (p.PieceKind == kTriangle) h *= p.Side == 0 ? (xr - x) / p.Width : (x - xl) / p.Width;
        if (p.PieceKind == kColumns) h = p.ThickLeft + (p.ThickRight - p.ThickLeft) * (x - xl) / p.Width;
        t += p.Sign * h;
    }
    return t;
}

PieceSet Divide(const Poly& p, kova::RecordingMessages& msgs, bool* ok = nullptr) {
    double x[kMaxDivisionVertices], y[kMaxDivisionVertices];
    for (std::size_t i = 0; i < p.size(); ++i) {
        x[i] = p[i].first;
        y[i] = p[i].second;
    }
    PieceSet s;
    bool r = divide_load_polygon(x, y, static_cast<int>(p.size()), s, msgs);
    if (ok) *ok = r;
    return s;
}

// The pieces' thickness against the polygon's at many abscissae.
void ExpectThicknessMatches(const Poly& p, const std::string& name, int samples = 400) {
    kova::RecordingMessages msgs;
    bool ok = false;
    PieceSet s = Divide(p, msgs, &ok);
    ASSERT_TRUE(ok) << name;
    EXPECT_EQ(msgs.Count(), 0u) << name;
    auto [lo, hi] = std::minmax_element(p.begin(), p.end());
    for (int i = 1; i < samples; ++i) {
        double x = lo->first + (hi->first - lo->first) * (i + 0.37) / samples;
        ASSERT_NEAR(PiecesThickness(s, x), PolygonThickness(p, x), 1e-6) << name << " at x=" << x;
    }
    for (int k = 1; k < s.count; ++k) EXPECT_LE(s.pieces[k - 1].LeftX, s.pieces[k].LeftX) << name;
}

}  // namespace

TEST(EngineStripDivision, ThicknessAddsUp) {
    struct Shape {
        const char* name;
        Poly p;
    };
    const Shape shapes[] = {
        {"rectangle", {{0, 0}, {0, 2}, {10, 2}, {10, 0}}},
        {"trapezoid", {{0, 0}, {4, 3}, {16, 3}, {20, 0}}},
        {"band falling", {{0, 8}, {0, 10}, {10, 4}, {10, 2}}},
        {"band rising", {{0, 2}, {0, 4}, {10, 10}, {10, 8}}},
        {"triangle", {{0, 0}, {5, 4}, {10, 0}}},
        {"berms on sloping ground", {{0, 0}, {3, 2}, {5, 2}, {8, 4}, {14, 4}, {17, 2}, {19, 2}, {22, -1}, {11, -0.5}}},
        {"notch from above", {{0, 0}, {0, 5}, {4, 5}, {4, 2}, {6, 2}, {6, 5}, {10, 5}, {10, 0}}},
        {"V crest", {{0, 0}, {0, 3}, {5, 1}, {10, 3}, {10, 0}}},
        {"notch from below", {{0, 0}, {2, 4}, {8, 4}, {10, 0}, {6, 0}, {5, 1.5}, {4, 0}}},
        {"collinear vertices", {{0, 0}, {0, 1}, {0, 2}, {5, 2}, {7.5, 2}, {10, 2}, {10, 0}, {5, 0}}},
        {"counter-clockwise trapezoid", {{20, 0}, {16, 3}, {4, 3}, {0, 0}}},
        {"slanted parallelogram", {{0, 0}, {3, 3}, {13, 3}, {10, 0}}},
    };
    for (const Shape& s : shapes) ExpectThicknessMatches(s.p, s.name);
}

TEST(EngineStripDivision, DegenerateOutlinesGiveNoPieces) {
    kova::RecordingMessages msgs;
    EXPECT_EQ(Divide({{0, 0}, {5, 0}}, msgs).count, 0);
    EXPECT_EQ(Divide({{0, 0}, {5, 0}, {10, 0}}, msgs).count, 0);  // collinear
    EXPECT_EQ(Divide({}, msgs).count, 0);
    EXPECT_EQ(msgs.Count(), 0u);
}

TEST(EngineStripDivision, HundredPiecesEndTheRun) {
    // A saw-tooth crest: every tooth needs its own slices.
    Poly p{{0, 0}};
    for (int i = 0; i < 60; ++i) {
        p.emplace_back(i + 0.5, 3 + (i % 2));
    }
    p.emplace_back(60, 0);
    kova::RecordingMessages msgs;
    EXPECT_THROW(Divide(p, msgs), RunAborted);
    ASSERT_EQ(msgs.Count(), 1u);
    EXPECT_EQ(msgs.Last().text, "盛土ブロックの分割数が100を超えました。");
    EXPECT_EQ(msgs.Last().caption, "ブロック分割");
}

TEST(EngineStripDivision, RandomStarPolygons) {
    // Star-shaped outlines around a centre are simple polygons of any shape,
    // overhangs included.
    unsigned seed = 12345;
    auto rnd = [&] {
        seed = seed * 1103515245u + 12345u;
        return ((seed >> 8) & 0xffff) / 65536.0;
    };
    for (int trial = 0; trial < 500; ++trial) {
        int n = 3 + trial % 10;
        Poly p;
        for (int k = 0; k < n; ++k) {
            double a = -2 * kPiTest * (k + 0.2 + 0.6 * rnd()) / n;  // clockwise
            double r = 2 + 8 * rnd();
            p.emplace_back(std::round(r * std::cos(a) * 100) / 100, std::round(r * std::sin(a) * 100) / 100);
        }
        ExpectThicknessMatches(p, "trial " + std::to_string(trial), 200);
    }
}

TEST(EngineStripDivision, CrossedOutlineEndsWithAMessage) {
    kova::RecordingMessages msgs;
    bool ok = true;
    PieceSet s = Divide({{56.9, 8.0}, {6.3, 1.2}, {76.1, 4.7}, {38.0, 2.1}, {48.8, 8.9}}, msgs, &ok);
    EXPECT_FALSE(ok);
    ASSERT_EQ(msgs.Count(), 1u);
    EXPECT_EQ(msgs.Last().text, " ERROR:ブロック分割 ");
    EXPECT_EQ(msgs.Last().caption, "error");
    EXPECT_LT(s.count, kMaxPieces);
}
