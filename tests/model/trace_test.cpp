#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <random>
#include <utility>
#include <vector>

#include "model/recording_canvas.hpp"
#include "model/trace.hpp"

namespace kova {
namespace {

using XY = std::pair<double, double>;

// A model with points and boundary lines, and a view in which one model
// metre is 100 twips with the origin at the canvas's left, 100 m below its
// top: the model point (x, y) is clicked at (100 x, 100 (100 - y)).
struct Section {
    std::unique_ptr<Model> m = std::make_unique<Model>();
    EditorState ed;
    RecordingCanvas canvas;
    RecordingMessages ui;

    Section(std::vector<XY> pts, std::vector<std::pair<int, int>> lines, bool cut = false) {
        for (auto [x, y] : pts) {
            m->BndPt[m->BndPtCount].X = x;
            m->BndPt[m->BndPtCount].Y = y;
            ++m->BndPtCount;
        }
        auto& t = cut ? m->CutLine : m->BndLine;
        i16& n = cut ? m->CutLineCount : m->BndLineCount;
        for (auto [a, b] : lines) t[n++] = {static_cast<i16>(a), static_cast<i16>(b)};
        ed.ViewScale = 100;
        ed.ViewLeftX = 0;
        ed.ViewTopY = 100;
    }
    static float Tx(double x) { return static_cast<float>(x * 100); }
    static float Ty(double y) { return static_cast<float>((100 - y) * 100); }

    void Click(int mode, double x, double y, i16 button = 1) {
        ed.cmd_mode = mode;
        if (mode == 10 || mode == 16)
            RegisterCutBlock(*m, ed, canvas, ui, button, Tx(x), Ty(y));
        else
            RegisterBlock(*m, ed, canvas, ui, button, Tx(x), Ty(y));
    }
    // The outline traced from the line nearest the click, as point numbers.
    std::vector<int> TracePts(double x, double y) {
        i16 line = NearestLine(*m, m->BndLine, m->BndLineCount, x, y);
        Trace t = TraceRegion(*m, m->BndLine, m->BndLineCount, line, x, y);
        if (t.end != TraceEnd::Closed) return {};
        return std::vector<int>(t.pt.begin(), t.pt.end());
    }
};

// Signed area by the shoelace formula: negative for a clockwise outline.
double SignedArea(const SoilBlock& b) {
    double s = 0;
    for (int k = 0; k < b.nPt; ++k) s += b.PX[k] * b.PY[k + 1] - b.PX[k + 1] * b.PY[k];
    return s / 2;
}

// Rotates a closed point list so that it starts at its smallest number, to
// compare outlines without caring where the walk began.
std::vector<int> Canon(std::vector<int> v) {
    if (v.empty()) return v;
    v.pop_back();  // the repeated first vertex
    auto it = std::min_element(v.begin(), v.end());
    std::rotate(v.begin(), it, v.end());
    return v;
}

TEST(NearestLine, FootAndEndRules) {
    // Lines 0: (0,0)-(10,0), 1: (10,0)-(10,10), 2: (10,0)-(20,-5).
    Section s({{0, 0}, {10, 0}, {10, 10}, {20, -5}}, {{0, 1}, {1, 2}, {1, 3}});
    const Model& m = *s.m;
    EXPECT_EQ(NearestLine(m, m.BndLine, 3, 5, 0), 0);   // on the line
    EXPECT_EQ(NearestLine(m, m.BndLine, 3, 9, 5), 1);   // foot on line 1
    // Beyond point 1 to the lower right: all three are measured to point 1;
    // the direction to (12, -2) is closest to line 2's direction (20,-5).
    EXPECT_EQ(NearestLine(m, m.BndLine, 3, 12, -2.4), 2);
    // Up and right of point 1, beyond both ends: line 1 (straight up) is at
    // 45 degrees, line 0 at 135 degrees from the click direction.
    EXPECT_EQ(NearestLine(m, m.BndLine, 3, 11, 1), 1);
    EXPECT_EQ(NearestLine(m, m.BndLine, 0, 5, 0), -1);  // empty table
}

TEST(NearestLine, EqualFootDistancesTakeLowerIndex) {
    // Two lines from P (0,0): up the Y axis and along the X axis; the click
    // (3,3) has its feet inside both at the same distance 3.
    Section s({{0, 0}, {0, 10}, {10, 0}}, {{0, 1}, {0, 2}});
    EXPECT_EQ(NearestLine(*s.m, s.m->BndLine, 2, 3, 3), 0);
    Section r({{0, 0}, {0, 10}, {10, 0}}, {{0, 2}, {0, 1}});
    EXPECT_EQ(NearestLine(*r.m, r.m->BndLine, 2, 3, 3), 0);
}

TEST(PointInRegion, InsideOutsideAndOrientation) {
    const double cw[] = {0, 0, 10, 10, 0};  // X of (0,0)(0,10)(10,10)(10,0)
    const double cwY[] = {0, 10, 10, 0, 0};
    EXPECT_EQ(PointInRegion(5, 5, cw, cwY, 4), 1);
    EXPECT_EQ(PointInRegion(15, 5, cw, cwY, 4), -1);
    const double ccwX[] = {0, 10, 10, 0, 0};
    const double ccwY[] = {0, 0, 10, 10, 0};
    EXPECT_EQ(PointInRegion(5, 5, ccwX, ccwY, 4), 1);
    EXPECT_EQ(PointInRegion(-1, -1, ccwX, ccwY, 4), -1);
}

TEST(Register, SquareGivesClockwiseOutline) {
    Section s({{0, 0}, {10, 0}, {10, 10}, {0, 10}}, {{0, 1}, {1, 2}, {2, 3}, {3, 0}});
    s.Click(6, 4, 3);
    ASSERT_EQ(s.m->SoilLayerCount, 1);
    const SoilBlock& b = s.m->SoilLayer[0];
    EXPECT_EQ(b.nPt, 4);
    EXPECT_EQ(b.PX[4], b.PX[0]);
    EXPECT_EQ(b.PY[4], b.PY[0]);
    EXPECT_DOUBLE_EQ(SignedArea(b), -100);  // clockwise, the whole square
    EXPECT_DOUBLE_EQ(b.CX, 4);
    EXPECT_DOUBLE_EQ(b.CY, 3);
    EXPECT_EQ(s.ed.SelIndex, -1);
    EXPECT_EQ(s.ed.cmd_mode, 6);
    EXPECT_EQ(s.ui.Count(), 0u);
    EXPECT_EQ(s.canvas.refreshes, 1);
}

TEST(Register, DiagonalSplitsSquare) {
    // Square with the diagonal 0-2; every vertex of a triangle is a point.
    Section s({{0, 0}, {10, 0}, {10, 10}, {0, 10}}, {{0, 1}, {1, 2}, {2, 3}, {3, 0}, {0, 2}});
    EXPECT_EQ(Canon(s.TracePts(7, 2)), (std::vector<int>{0, 2, 1}));
    EXPECT_EQ(Canon(s.TracePts(2, 7)), (std::vector<int>{0, 3, 2}));
    s.Click(5, 7, 2);
    s.Click(5, 2, 7);
    ASSERT_EQ(s.m->EmbankmentCount, 2);
    EXPECT_EQ(s.m->Embankment[0].nPt, 3);
    EXPECT_DOUBLE_EQ(SignedArea(s.m->Embankment[0]), -50);
    EXPECT_DOUBLE_EQ(SignedArea(s.m->Embankment[1]), -50);
}

// A real section: two horizontal layer lines, a trapezoidal embankment on
// the ground surface, and a notch cut into the surface on the right.
//
//      4-------5                 y = 5 (embankment crown)
//     /         \                                         .
// 0--1-----------2---10   13---3  y = 0 (ground surface)
// |                 \    /     |
// |                  11-12     |  y = -2 (notch bottom)
// 6------------------------------7  y = -10
// |                              |
// 8------------------------------9  y = -20
Section RealSection() {
    return Section(
        {{-50, 0}, {-10, 0}, {10, 0}, {50, 0}, {-5, 5}, {5, 5}, {-50, -10}, {50, -10}, {-50, -20},
         {50, -20}, {20, 0}, {22, -2}, {28, -2}, {30, 0}},
        {{0, 1}, {1, 2}, {2, 10}, {10, 11}, {11, 12}, {12, 13}, {13, 3},  // ground surface
         {1, 4}, {4, 5}, {5, 2},                                        // embankment
         {0, 6}, {6, 7}, {7, 3},                                        // upper layer sides
         {6, 8}, {8, 9}, {9, 7},                                        // lower layer
         {10, 13}});                                                    // top of the notch
}

TEST(Register, RealSectionEveryRegion) {
    Section s = RealSection();
    struct Case {
        double x, y;
        std::vector<int> pts;
    } cases[] = {
        {0, 2, {1, 4, 5, 2}},                                        // embankment
        {0, -5, {0, 1, 2, 10, 11, 12, 13, 3, 7, 6}},                // upper layer
        {0, -15, {6, 7, 9, 8}},                                      // lower layer
        {25, -1, {10, 13, 12, 11}},                                  // notch
        {-49, -0.5, {0, 1, 2, 10, 11, 12, 13, 3, 7, 6}},             // near a corner
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.x << "," << c.y);
        std::vector<int> got = s.TracePts(c.x, c.y);
        EXPECT_EQ(Canon(got), Canon([&] {
                      auto v = c.pts;
                      v.push_back(v[0]);
                      return v;
                  }()));
    }
    s.Click(6, 0, -5);
    s.Click(6, 0, -15);
    s.Click(5, 0, 2);
    s.Click(5, 25, -1);
    EXPECT_EQ(s.m->SoilLayerCount, 2);
    EXPECT_EQ(s.m->EmbankmentCount, 2);
    // The upper layer: 100 x 10 rectangle minus the notch (a trapezoid of
    // (10 + 6) / 2 * 2 = 16 m2), traced clockwise.
    EXPECT_DOUBLE_EQ(SignedArea(s.m->SoilLayer[0]), -(1000 - 16));
    EXPECT_DOUBLE_EQ(SignedArea(s.m->SoilLayer[1]), -1000);
    EXPECT_DOUBLE_EQ(SignedArea(s.m->Embankment[0]), -(20 + 10) / 2.0 * 5);
    EXPECT_EQ(s.ui.Count(), 0u);
}

TEST(Register, ClickOutsideEveryRegion) {
    Section s = RealSection();
    s.Click(6, 0, 20);      // above the embankment
    s.Click(6, -40, 3);     // above the ground surface, left
    s.Click(6, 0, -30);     // below the section
    EXPECT_EQ(s.m->SoilLayerCount, 0);
    ASSERT_EQ(s.ui.Count(), 3u);
    for (const Message& msg : s.ui.shown) {
        EXPECT_EQ(msg.text, "領域外が指定されました");
        EXPECT_EQ(msg.icon, MsgIcon::None);
        EXPECT_EQ(msg.buttons, MsgButtons::Ok);
        EXPECT_EQ(msg.caption, "");
    }
}

TEST(Register, DanglingLineTracesNothing) {
    // A square with a line hanging off corner 2 to point 4; a click beside
    // the dangling line walks to its free end.
    Section s({{0, 0}, {10, 0}, {10, 10}, {0, 10}, {20, 20}}, {{0, 1}, {1, 2}, {2, 3}, {3, 0}, {2, 4}});
    s.Click(6, 16, 15);
    EXPECT_EQ(s.m->SoilLayerCount, 0);
    EXPECT_EQ(s.ui.Count(), 0u);
    // An open chain alone traces nothing either.
    Section c({{0, 0}, {10, 0}, {10, 10}}, {{0, 1}, {1, 2}});
    c.Click(6, 8, 2);
    EXPECT_EQ(c.m->SoilLayerCount, 0);
    EXPECT_EQ(c.ui.Count(), 0u);
}

TEST(Register, TJunctionAndManyLinesAtOnePoint) {
    // A T: the square's top edge is split at point 4, from which a wall
    // goes down to point 5 on the bottom edge; point 4 also carries three
    // roof lines to points 6, 7, 8 above, closed by lines 3-6, 6-7, 7-8, 8-2.
    Section s({{0, 0}, {10, 0}, {10, 10}, {0, 10}, {5, 10}, {5, 0}, {0, 15}, {3, 20}, {7, 20}},
              {{0, 5}, {5, 1}, {1, 2}, {2, 4}, {4, 3}, {3, 0}, {4, 5},  // T
               {4, 6}, {4, 7}, {4, 8}, {3, 6}, {6, 7}, {7, 8}, {8, 2}});
    EXPECT_EQ(Canon(s.TracePts(2, 5)), (std::vector<int>{0, 3, 4, 5}));
    EXPECT_EQ(Canon(s.TracePts(8, 5)), (std::vector<int>{1, 5, 4, 2}));
    EXPECT_EQ(Canon(s.TracePts(2, 11)), (std::vector<int>{3, 6, 4}));
    EXPECT_EQ(Canon(s.TracePts(2, 16)), (std::vector<int>{4, 6, 7}));
    EXPECT_EQ(Canon(s.TracePts(5.5, 18)), (std::vector<int>{4, 7, 8}));
    EXPECT_EQ(Canon(s.TracePts(8, 13)), (std::vector<int>{2, 4, 8}));
}

TEST(Register, IgnoresStaleAndOverflowingLinks) {
    // Eleven spokes meet at the centre of a wheel: more than a Link list
    // holds. The Link lists are also left stale on purpose.
    std::vector<XY> pts{{0, 0}};
    const int spokes = 11;
    for (int k = 0; k < spokes; ++k) {
        double a = 2 * 3.14159265358979 * k / spokes;
        pts.emplace_back(10 * std::sin(a), 10 * std::cos(a));
    }
    std::vector<std::pair<int, int>> lines;
    for (int k = 0; k < spokes; ++k) lines.emplace_back(0, k + 1);
    for (int k = 0; k < spokes; ++k) lines.emplace_back(k + 1, (k + 1) % spokes + 1);
    Section s(pts, lines);
    for (auto& p : s.m->BndPt) p.nLink = 0;
    // Click in every wedge: each gives the triangle of the centre and two
    // neighbouring rim points.
    for (int k = 0; k < spokes; ++k) {
        double a = 2 * 3.14159265358979 * (k + 0.5) / spokes;
        s.Click(6, 6 * std::sin(a), 6 * std::cos(a));
    }
    ASSERT_EQ(s.m->SoilLayerCount, spokes);
    for (int k = 0; k < spokes; ++k) EXPECT_EQ(s.m->SoilLayer[k].nPt, 3);
    EXPECT_EQ(s.ui.Count(), 0u);
}

TEST(Register, OutlineOfMoreThan100VerticesIsRefused) {
    // A regular polygon of 101 vertices: one too many for a block.
    auto polygon = [](int n) {
        std::vector<XY> pts;
        std::vector<std::pair<int, int>> lines;
        for (int k = 0; k < n; ++k) {
            double a = 2 * 3.14159265358979 * k / n;
            pts.emplace_back(50 * std::sin(a), 50 * std::cos(a));
            lines.emplace_back(k, (k + 1) % n);
        }
        return Section(pts, lines);
    };
    Section big = polygon(101);
    big.Click(6, 0, 0);
    EXPECT_EQ(big.m->SoilLayerCount, 0);
    ASSERT_EQ(big.ui.Count(), 1u);
    EXPECT_EQ(big.ui.Last().text, "ブロックの構成点が100を超えるため登録できません。");
    Section fits = polygon(100);
    fits.Click(6, 0, 0);
    ASSERT_EQ(fits.m->SoilLayerCount, 1);
    EXPECT_EQ(fits.m->SoilLayer[0].nPt, 100);
    EXPECT_EQ(fits.m->SoilLayer[0].PX[100], fits.m->SoilLayer[0].PX[0]);
    EXPECT_EQ(fits.ui.Count(), 0u);
}

TEST(Register, ReshapeToolsAndRightButton) {
    Section s({{0, 0}, {10, 0}, {10, 10}, {0, 10}, {20, 0}, {20, 10}},
              {{0, 1}, {1, 2}, {2, 3}, {3, 0}, {1, 4}, {4, 5}, {5, 2}});
    s.Click(5, 5, 5);
    ASSERT_EQ(s.m->EmbankmentCount, 1);
    s.m->Embankment[0].Name = "盛土1";
    s.m->Embankment[0].UnitWeight = 19;
    s.m->Embankment[0].Stage = 3;
    s.ed.PickPair = {kKindEmbankment, 0, 0};
    s.Click(14, 15, 5);
    EXPECT_EQ(s.ed.cmd_mode, 14);
    EXPECT_EQ(s.m->EmbankmentCount, 1);
    const SoilBlock& b = s.m->Embankment[0];
    EXPECT_DOUBLE_EQ(b.CX, 15);
    EXPECT_EQ(b.Name, "盛土1");
    EXPECT_EQ(b.UnitWeight, 19);
    EXPECT_EQ(b.Stage, 3);
    for (int k = 0; k < 4; ++k) EXPECT_GE(b.PX[k], 10);
    // A picked index that names no block re-shapes nothing.
    Model before = *s.m;
    s.ed.PickPair = {kKindEmbankment, 5, 0};
    s.Click(14, 5, 5);
    EXPECT_EQ(s.m->Embankment[0].CX, before.Embankment[0].CX);
    // The right button leaves the re-shape tool.
    s.Click(14, 5, 5, kRightButton);
    EXPECT_EQ(s.ed.cmd_mode, 7);
    EXPECT_EQ(s.ed.PickPair[0], -1);
    EXPECT_EQ(s.ed.PickPair[1], -1);
    s.Click(15, 5, 5, kRightButton);
    EXPECT_EQ(s.ed.cmd_mode, 7);
    // In a new-block tool the right button keeps the tool.
    s.Click(5, 5, 5, kRightButton);
    EXPECT_EQ(s.ed.cmd_mode, 5);
}

TEST(Register, OutlineStartsAtTheEndAheadOfThePickedLine) {
    // Clockwise around the inside of the square, the bottom edge is walked
    // from right to left and the top edge from left to right, so the first
    // stored vertex is (0, 0) for a click near the bottom and (10, 10) for a
    // click near the top, whatever the order of the line's ends.
    struct Case {
        std::vector<std::pair<int, int>> lines;
        double x, y;
        std::vector<int> pts;
    } cases[] = {
        {{{0, 1}, {1, 2}, {2, 3}, {3, 0}}, 4, 3, {0, 3, 2, 1, 0}},
        {{{1, 0}, {2, 1}, {3, 2}, {0, 3}}, 4, 3, {0, 3, 2, 1, 0}},
        {{{0, 1}, {1, 2}, {2, 3}, {3, 0}}, 6, 8, {2, 1, 0, 3, 2}},
        {{{0, 1}, {1, 2}, {3, 2}, {3, 0}}, 6, 8, {2, 1, 0, 3, 2}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.x << "," << c.y << " line 2 from " << c.lines[2].first);
        Section s({{0, 0}, {10, 0}, {10, 10}, {0, 10}}, c.lines);
        EXPECT_EQ(s.TracePts(c.x, c.y), c.pts);
        s.Click(6, c.x, c.y);
        ASSERT_EQ(s.m->SoilLayerCount, 1);
        const SoilBlock& b = s.m->SoilLayer[0];
        for (int k = 0; k <= 4; ++k) {
            EXPECT_EQ(b.PX[k], s.m->BndPt[c.pts[k]].X) << k;
            EXPECT_EQ(b.PY[k], s.m->BndPt[c.pts[k]].Y) << k;
        }
        EXPECT_EQ(b.CX, c.x);
        EXPECT_EQ(b.CY, c.y);
    }
}

TEST(Register, FirstLineInIndexOrderWinsEqualTurns) {
    // A dangling line 2-4 runs down from corner 2 along the square's right
    // edge 2-1: walking in from 3, both turn exactly as sharply. The line of
    // lower index is taken: the edge closes the square, the dangling line
    // leads to a dead end and traces nothing.
    const std::vector<XY> pts{{0, 0}, {10, 0}, {10, 10}, {0, 10}, {10, 5}};
    Section edgeFirst(pts, {{0, 1}, {1, 2}, {2, 3}, {3, 0}, {2, 4}});
    EXPECT_EQ(edgeFirst.TracePts(4, 3), (std::vector<int>{0, 3, 2, 1, 0}));
    edgeFirst.Click(6, 4, 3);
    EXPECT_EQ(edgeFirst.m->SoilLayerCount, 1);

    Section danglingFirst(pts, {{0, 1}, {2, 4}, {1, 2}, {2, 3}, {3, 0}});
    EXPECT_TRUE(danglingFirst.TracePts(4, 3).empty());
    danglingFirst.Click(6, 4, 3);
    EXPECT_EQ(danglingFirst.m->SoilLayerCount, 0);
    EXPECT_EQ(danglingFirst.ui.Count(), 0u);
    // Stale Link lists that would point the walk the other way change nothing.
    for (auto& p : edgeFirst.m->BndPt) p.nLink = 0;
    edgeFirst.m->BndPt[2].Link = {1, 4, 2, -1, -1, -1, -1, -1, -1};
    edgeFirst.m->BndPt[2].nLink = 3;
    EXPECT_EQ(edgeFirst.TracePts(4, 3), (std::vector<int>{0, 3, 2, 1, 0}));
}

TEST(Register, EveryCellOfAShuffledGrid) {
    // A grid of unevenly spaced lines with diagonals in some cells; the
    // lines are stored in a shuffled order with random end order. A click
    // in a cell or triangle traces exactly that face, clockwise.
    const double xs[] = {0, 3, 4.5, 10, 12, 20};
    const double ys[] = {-15, -9, -8.5, -4, 0};
    const int nx = 6, ny = 5;
    auto id = [&](int i, int j) { return j * nx + i; };
    std::vector<XY> pts;
    for (int j = 0; j < ny; ++j)
        for (int i = 0; i < nx; ++i) pts.emplace_back(xs[i], ys[j]);
    std::mt19937 rng(20261208);
    std::vector<std::pair<int, int>> lines;
    std::vector<std::vector<int>> diag(nx, std::vector<int>(ny, 0));  // 0 none, 1 "/", 2 "\"
    for (int j = 0; j < ny; ++j)
        for (int i = 0; i < nx; ++i) {
            if (i + 1 < nx) lines.emplace_back(id(i, j), id(i + 1, j));
            if (j + 1 < ny) lines.emplace_back(id(i, j), id(i, j + 1));
            if (i + 1 < nx && j + 1 < ny) {
                diag[i][j] = static_cast<int>(rng() % 3);
                if (diag[i][j] == 1) lines.emplace_back(id(i, j), id(i + 1, j + 1));
                if (diag[i][j] == 2) lines.emplace_back(id(i, j + 1), id(i + 1, j));
            }
        }
    for (std::size_t k = lines.size(); k > 1; --k) std::swap(lines[k - 1], lines[rng() % k]);
    for (auto& l : lines)
        if (rng() % 2) std::swap(l.first, l.second);
    Section s(pts, lines);

    // Expected faces, clockwise with Y upwards, closed by repeating the first.
    auto expect = [&](std::vector<int> face, double x, double y) {
        SCOPED_TRACE(testing::Message() << "click " << x << "," << y);
        face.push_back(face[0]);
        std::vector<int> got = s.TracePts(x, y);
        EXPECT_EQ(Canon(got), Canon(face));
        if (got.empty()) return;
        i16 line = NearestLine(*s.m, s.m->BndLine, s.m->BndLineCount, x, y);
        Trace t = TraceRegion(*s.m, s.m->BndLine, s.m->BndLineCount, line, x, y);
        EXPECT_NEAR(WindingDegrees(t, x, y), 360, 1e-6);
    };
    int faces = 0;
    for (int j = 0; j + 1 < ny; ++j)
        for (int i = 0; i + 1 < nx; ++i) {
            const int bl = id(i, j), br = id(i + 1, j), tl = id(i, j + 1), tr = id(i + 1, j + 1);
            auto at = [&](double u, double v) {
                return XY{xs[i] + u * (xs[i + 1] - xs[i]), ys[j] + v * (ys[j + 1] - ys[j])};
            };
            if (diag[i][j] == 0) {
                auto [x, y] = at(0.4, 0.3);
                expect({bl, tl, tr, br}, x, y);
                ++faces;
            } else if (diag[i][j] == 1) {
                auto [x1, y1] = at(0.7, 0.2);
                expect({bl, tr, br}, x1, y1);
                auto [x2, y2] = at(0.2, 0.7);
                expect({bl, tl, tr}, x2, y2);
                faces += 2;
            } else {
                auto [x1, y1] = at(0.2, 0.2);
                expect({bl, tl, br}, x1, y1);
                auto [x2, y2] = at(0.8, 0.7);
                expect({tl, tr, br}, x2, y2);
                faces += 2;
            }
        }
    EXPECT_GT(faces, 25);
}

TEST(Register, CutsTraceOverTerrainLines) {
    // Terrain lines only: the boundary-line table stays empty, so the soil
    // tools do nothing and the cut tool traces over the terrain lines.
    Section s({{0, 0}, {10, 0}, {10, 10}, {0, 10}}, {{0, 1}, {1, 2}, {2, 3}, {3, 0}}, true);
    s.Click(6, 5, 5);
    s.Click(6, 5, 5, kRightButton);
    EXPECT_EQ(s.m->SoilLayerCount, 0);
    EXPECT_EQ(s.canvas.refreshes, 0);
    s.Click(10, 5, 5);
    ASSERT_EQ(s.m->CutCount, 1);
    EXPECT_EQ(s.m->CutBlock[0].nPt, 4);
    s.ed.PickPair = {kKindCut, 0, 0};
    s.Click(16, 6, 6);
    EXPECT_DOUBLE_EQ(s.m->CutBlock[0].CX, 6);
    s.Click(16, 6, 6, kRightButton);
    EXPECT_EQ(s.ed.cmd_mode, 13);
}

}  // namespace
}  // namespace kova
