#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <memory>
#include <random>
#include <tuple>
#include <utility>
#include <vector>

#include "testing/fakes.hpp"
#include "testing/recording_canvas.hpp"
#include "editing/section_clicks.hpp"
#include "tests/editing/tool_fixture.hpp"
#include "model/trace.hpp"

namespace kova {
namespace {

using XY = std::pair<double, double>;
using Lns = std::vector<std::pair<int, int>>;
constexpr double kTwoPi = 2 * 3.14159265358979;

// Points, lines and a view in which one model metre is 100 twips, with the
// origin at the canvas's left, 100 m below its top.
struct Section {
    std::unique_ptr<Model> m = std::make_unique<Model>();
    EditorState ed;
    RecordingCanvas canvas;
    RecordingMessages ui;
    test::RecordingPanels panels;

    Section(const std::vector<XY>& pts, const Lns& lines, bool cut = false) {
        for (auto [x, y] : pts) m->BndPt[m->BndPtCount++] = {x, y};
        auto& t = cut ? m->CutLine : m->BndLine;
        i16& n = cut ? m->CutLineCount : m->BndLineCount;
        for (auto [a, b] : lines) t[n++] = {static_cast<i16>(a), static_cast<i16>(b)};
        ed.ViewScale = 100;
        ed.ViewLeftX = 0;
        ed.ViewTopY = 100;
    }
    // Through the tool of the mode, which decides where its right button goes.
    void Click(int mode, double x, double y, i16 button = 1) {
        ed.cmd_mode = mode;
        ToolContext c{*m, ed, canvas, ui, panels};
        ed.tools.For(mode)->Press(c, {x, y, button, false});
    }
    // The block a re-shape tool holds, as its pick tool hands it over.
    std::array<i16, 2>& Handed(int mode) { return ed.tools.For(mode)->picks.PickPair; }
    // The outline traced from the line nearest the click, as point numbers.
    std::vector<int> TracePts(double x, double y) {
        i16 line = NearestLine(*m, m->BndLine, m->BndLineCount, x, y);
        Trace t = TraceRegion(*m, m->BndLine, m->BndLineCount, line, x, y);
        if (t.end != TraceEnd::Closed) return {};
        EXPECT_NEAR(WindingDegrees(t, x, y), 360, 1e-6);
        return std::vector<int>(t.pt.begin(), t.pt.end());
    }
};

// Signed area by the shoelace formula: negative for a clockwise outline.
double SignedArea(const SoilBlock& b) {
    double s = 0;
    for (int k = 0; k < b.nPt; ++k) s += b.PX[k] * b.PY[k + 1] - b.PX[k + 1] * b.PY[k];
    return s / 2;
}

// A closed outline rotated to start at its smallest number, after checking
// that its last entry repeats the first.
std::vector<int> Canon(std::vector<int> v) {
    if (v.empty()) return v;
    EXPECT_EQ(v.front(), v.back());
    v.pop_back();
    std::rotate(v.begin(), std::min_element(v.begin(), v.end()), v.end());
    return v;
}

const std::vector<XY> kSquare{{0, 0}, {10, 0}, {10, 10}, {0, 10}};
const Lns kSquareLines{{0, 1}, {1, 2}, {2, 3}, {3, 0}};

TEST(NearestLine, FootEndAndTieRules) {
    // Lines 0: (0,0)-(10,0), 1: (10,0)-(10,10), 2: (10,0)-(20,-5).
    Section s({{0, 0}, {10, 0}, {10, 10}, {20, -5}}, {{0, 1}, {1, 2}, {1, 3}});
    const Model& m = *s.m;
    EXPECT_EQ(NearestLine(m, m.BndLine, 3, 5, 0), 0);  // on the line
    EXPECT_EQ(NearestLine(m, m.BndLine, 3, 9, 5), 1);  // foot on line 1
    // Beyond point 1 all three are measured to it; the direction decides.
    EXPECT_EQ(NearestLine(m, m.BndLine, 3, 12, -2.4), 2);
    EXPECT_EQ(NearestLine(m, m.BndLine, 3, 11, 1), 1);
    EXPECT_EQ(NearestLine(m, m.BndLine, 0, 5, 0), -1);  // empty table
    // Equal foot distances take the lower index, whichever line it is.
    for (const Lns& lines : {Lns{{0, 1}, {0, 2}}, Lns{{0, 2}, {0, 1}}}) {
        Section t({{0, 0}, {0, 10}, {10, 0}}, lines);
        EXPECT_EQ(NearestLine(*t.m, t.m->BndLine, 2, 3, 3), 0);
    }
}

TEST(PointInRegion, EitherOrientation) {
    const double cwX[] = {0, 0, 10, 10, 0}, cwY[] = {0, 10, 10, 0, 0};
    EXPECT_EQ(PointInRegion(5, 5, cwX, cwY, 4), 1);
    EXPECT_EQ(PointInRegion(15, 5, cwX, cwY, 4), -1);
    EXPECT_EQ(PointInRegion(5, 5, cwY, cwX, 4), 1);
    EXPECT_EQ(PointInRegion(-1, -1, cwY, cwX, 4), -1);
}

// Two horizontal layer lines, a trapezoidal embankment on the ground
// surface, and a notch cut into the surface on the right.
//
//      4-------5                 y = 5 (embankment crown)
// 0--1-----------2---10   13---3  y = 0 (ground surface)
// |                 \    /     |
// |                  11-12     |  y = -2 (notch bottom)
// 6------------------------------7  y = -10
// 8------------------------------9  y = -20
Section RealSection() {
    return Section({{-50, 0}, {-10, 0}, {10, 0}, {50, 0}, {-5, 5}, {5, 5}, {-50, -10}, {50, -10}, {-50, -20},
                    {50, -20}, {20, 0}, {22, -2}, {28, -2}, {30, 0}},
                   {{0, 1}, {1, 2}, {2, 10}, {10, 11}, {11, 12}, {12, 13}, {13, 3},  // ground surface
                    {1, 4}, {4, 5}, {5, 2},                                        // embankment
                    {0, 6}, {6, 7}, {7, 3}, {6, 8}, {8, 9}, {9, 7}, {10, 13}});    // layers, notch top
}

TEST(Register, RealSectionEveryRegionAndOutside) {
    Section s = RealSection();
    const std::vector<int> upper{0, 1, 2, 10, 11, 12, 13, 3, 7, 6};
    struct Case {
        double x, y;
        std::vector<int> pts;
    } cases[] = {{0, 2, {1, 4, 5, 2}}, {0, -5, upper}, {0, -15, {6, 7, 9, 8}}, {25, -1, {10, 13, 12, 11}},
                 {-49, -0.5, upper}};
    for (const auto& c : cases) {
        std::vector<int> want = c.pts;
        std::rotate(want.begin(), std::min_element(want.begin(), want.end()), want.end());
        EXPECT_EQ(Canon(s.TracePts(c.x, c.y)), want) << c.x << "," << c.y;
    }
    s.Click(6, 0, -5);
    s.Click(6, 0, -15);
    s.Click(5, 0, 2);
    s.Click(5, 25, -1);
    EXPECT_EQ(s.m->SoilLayerCount, 2);
    EXPECT_EQ(s.m->EmbankmentCount, 2);
    // The upper layer: 100 x 10 less the notch's (10 + 6) / 2 * 2 = 16 m2.
    EXPECT_DOUBLE_EQ(SignedArea(s.m->SoilLayer[0]), -(1000 - 16));
    EXPECT_DOUBLE_EQ(SignedArea(s.m->SoilLayer[1]), -1000);
    EXPECT_DOUBLE_EQ(SignedArea(s.m->Embankment[0]), -(20 + 10) / 2.0 * 5);
    EXPECT_EQ(s.ui.Count(), 0u);
    // Above the embankment, above the surface, below the section.
    for (XY p : {XY{0, 20}, XY{-40, 3}, XY{0, -30}}) s.Click(6, p.first, p.second);
    EXPECT_EQ(s.m->SoilLayerCount, 2);
    ASSERT_EQ(s.ui.Count(), 3u);
    for (const Message& msg : s.ui.shown) {
        EXPECT_EQ(msg.text, "領域外が指定されました");
        EXPECT_EQ(msg.icon, MsgIcon::None);
        EXPECT_EQ(msg.buttons, MsgButtons::Ok);
        EXPECT_EQ(msg.caption, "");
    }
}

TEST(Register, DanglingLinesTraceNothing) {
    // A line hanging off corner 2 to point 4, and an open chain alone.
    Section s({{0, 0}, {10, 0}, {10, 10}, {0, 10}, {20, 20}}, {{0, 1}, {1, 2}, {2, 3}, {3, 0}, {2, 4}});
    s.Click(6, 16, 15);
    Section c(kSquare, {{0, 1}, {1, 2}});
    c.Click(6, 8, 2);
    EXPECT_EQ(s.m->SoilLayerCount + c.m->SoilLayerCount, 0);
    EXPECT_EQ(s.ui.Count() + c.ui.Count(), 0u);
}

TEST(Register, TJunctionAndManyLinesAtOnePoint) {
    // The square's top edge is split at point 4, from which a wall goes down
    // to point 5; point 4 also carries three roof lines to points 6, 7, 8.
    Section s({{0, 0}, {10, 0}, {10, 10}, {0, 10}, {5, 10}, {5, 0}, {0, 15}, {3, 20}, {7, 20}},
              {{0, 5}, {5, 1}, {1, 2}, {2, 4}, {4, 3}, {3, 0}, {4, 5}, {4, 6}, {4, 7}, {4, 8}, {3, 6}, {6, 7}, {7, 8}, {8, 2}});
    EXPECT_EQ(Canon(s.TracePts(2, 5)), (std::vector<int>{0, 3, 4, 5}));
    EXPECT_EQ(Canon(s.TracePts(8, 5)), (std::vector<int>{1, 5, 4, 2}));
    EXPECT_EQ(Canon(s.TracePts(2, 11)), (std::vector<int>{3, 6, 4}));
    EXPECT_EQ(Canon(s.TracePts(2, 16)), (std::vector<int>{4, 6, 7}));
    EXPECT_EQ(Canon(s.TracePts(5.5, 18)), (std::vector<int>{4, 7, 8}));
    EXPECT_EQ(Canon(s.TracePts(8, 13)), (std::vector<int>{2, 4, 8}));
}

// A regular polygon of n rim points, optionally with spokes to a centre.
Section Wheel(int n, bool spokes) {
    std::vector<XY> pts;
    Lns lines;
    for (int k = 0; k < n; ++k) {
        pts.emplace_back(50 * std::sin(kTwoPi * k / n), 50 * std::cos(kTwoPi * k / n));
        lines.emplace_back(k, (k + 1) % n);
        if (spokes) lines.emplace_back(n, k);
    }
    if (spokes) pts.emplace_back(0, 0);
    return Section(pts, lines);
}

TEST(Register, IgnoresStaleAndOverflowingLinks) {
    // Eleven spokes meet at the centre, more than a Link list holds, and the
    // Link lists are left empty: a click in every wedge gives its triangle.
    Section s = Wheel(11, true);
    for (int k = 0; k < 11; ++k) s.Click(6, 30 * std::sin(kTwoPi * (k + 0.5) / 11), 30 * std::cos(kTwoPi * (k + 0.5) / 11));
    ASSERT_EQ(s.m->SoilLayerCount, 11);
    for (int k = 0; k < 11; ++k) EXPECT_EQ(s.m->SoilLayer[k].nPt, 3);
    EXPECT_EQ(s.ui.Count(), 0u);
}

TEST(Register, OutlineOfMoreThan100VerticesIsRefused) {
    Section big = Wheel(101, false);
    big.Click(6, 0, 0);
    EXPECT_EQ(big.m->SoilLayerCount, 0);
    ASSERT_EQ(big.ui.Count(), 1u);
    EXPECT_EQ(big.ui.Last().text, "ブロックの構成点が100を超えるため登録できません。");
    Section fits = Wheel(100, false);
    fits.Click(6, 0, 0);
    ASSERT_EQ(fits.m->SoilLayerCount, 1);
    EXPECT_EQ(fits.m->SoilLayer[0].nPt, 100);
    EXPECT_EQ(fits.m->SoilLayer[0].PX[100], fits.m->SoilLayer[0].PX[0]);
}

TEST(Register, ReshapeToolsAndRightButton) {
    Section s({{0, 0}, {10, 0}, {10, 10}, {0, 10}, {20, 0}, {20, 10}}, {{0, 1}, {1, 2}, {2, 3}, {3, 0}, {1, 4}, {4, 5}, {5, 2}});
    s.Click(5, 5, 5);
    ASSERT_EQ(s.m->EmbankmentCount, 1);
    s.m->Embankment[0].Name = "盛土1";
    s.m->Embankment[0].UnitWeight = 19;
    s.m->Embankment[0].Stage = 3;
    s.Handed(14) = {kKindEmbankment, 0};
    s.Click(14, 15, 5);
    EXPECT_EQ(s.ed.cmd_mode, 14);
    EXPECT_EQ(s.m->EmbankmentCount, 1);
    const SoilBlock& b = s.m->Embankment[0];
    EXPECT_EQ(std::tuple(b.CX, b.Name, b.UnitWeight, b.Stage), std::tuple(15.0, "盛土1", 19.0, 3));
    for (int k = 0; k < 4; ++k) EXPECT_GE(b.PX[k], 10);
    // A picked index that names no block re-shapes nothing.
    s.Handed(14) = {kKindEmbankment, 5};
    s.Click(14, 5, 5);
    EXPECT_EQ(s.m->Embankment[0].CX, 15);
    // The right button leaves a re-shape tool, and keeps a new-block tool.
    s.Click(14, 5, 5, kRightButton);
    EXPECT_EQ(s.ed.cmd_mode, 7);
    EXPECT_EQ(std::pair(s.Handed(14)[0], s.Handed(14)[1]), (std::pair<i16, i16>(-1, -1)));
    s.Click(15, 5, 5, kRightButton);
    EXPECT_EQ(s.ed.cmd_mode, 7);
    s.Click(5, 5, 5, kRightButton);
    EXPECT_EQ(s.ed.cmd_mode, 5);
}

TEST(Register, RepaintsOnlyWhatItStores) {
    Section s(kSquare, kSquareLines);
    s.Click(5, 5, 5);
    ASSERT_EQ(s.m->EmbankmentCount, 1);
    EXPECT_EQ(s.canvas.refreshes, 1);
    // The same region again holds a label point already: refused, no repaint.
    s.Click(6, 4, 4);
    EXPECT_EQ(s.m->SoilLayerCount, 0);
    EXPECT_EQ(s.canvas.refreshes, 1);
    s.Handed(14) = {kKindEmbankment, 3};  // no such block
    s.Click(14, 5, 5);
    EXPECT_EQ(s.canvas.refreshes, 1);
}

TEST(Register, OutlineStartsAtTheEndAheadOfThePickedLine) {
    // Clockwise inside the square the bottom edge is walked right to left
    // and the top edge left to right, whatever the order of the line's ends.
    struct Case {
        Lns lines;
        double x, y;
        std::vector<int> pts;
    } cases[] = {
        {kSquareLines, 4, 3, {0, 3, 2, 1, 0}},
        {{{1, 0}, {2, 1}, {3, 2}, {0, 3}}, 4, 3, {0, 3, 2, 1, 0}},
        {kSquareLines, 6, 8, {2, 1, 0, 3, 2}},
        {{{0, 1}, {1, 2}, {3, 2}, {3, 0}}, 6, 8, {2, 1, 0, 3, 2}},
    };
    for (const Case& c : cases) {
        Section s(kSquare, c.lines);
        EXPECT_EQ(s.TracePts(c.x, c.y), c.pts);
        s.Click(6, c.x, c.y);
        ASSERT_EQ(s.m->SoilLayerCount, 1);
        const SoilBlock& b = s.m->SoilLayer[0];
        EXPECT_EQ(b.nPt, 4);
        for (int k = 0; k <= 4; ++k) EXPECT_EQ(std::pair(b.PX[k], b.PY[k]), kSquare[c.pts[k]]) << k;
        EXPECT_DOUBLE_EQ(SignedArea(b), -100);  // clockwise, the whole square
        EXPECT_EQ(std::tuple(b.CX, b.CY, s.ed.Tool()->picks.SelIndex, s.ed.cmd_mode, s.canvas.refreshes),
                  std::tuple(c.x, c.y, -1, 6, 1));
        EXPECT_EQ(s.ui.Count(), 0u);
    }
}

TEST(Register, FirstLineInIndexOrderWinsEqualTurns) {
    // A dangling line 2-4 runs down from corner 2 along the edge 2-1: both
    // turn exactly as sharply. The line of lower index is taken.
    std::vector<XY> pts = kSquare;
    pts.emplace_back(10, 5);
    Section edgeFirst(pts, {{0, 1}, {1, 2}, {2, 3}, {3, 0}, {2, 4}});
    EXPECT_EQ(edgeFirst.TracePts(4, 3), (std::vector<int>{0, 3, 2, 1, 0}));
    Section danglingFirst(pts, {{0, 1}, {2, 4}, {1, 2}, {2, 3}, {3, 0}});
    EXPECT_TRUE(danglingFirst.TracePts(4, 3).empty());
    danglingFirst.Click(6, 4, 3);
    EXPECT_EQ(danglingFirst.m->SoilLayerCount, 0);
    // Stale Link lists that would point the walk the other way change nothing.
    edgeFirst.m->BndPt[2].Link = {1, 4, 2, -1, -1, -1, -1, -1, -1};
    edgeFirst.m->BndPt[2].nLink = 3;
    EXPECT_EQ(edgeFirst.TracePts(4, 3), (std::vector<int>{0, 3, 2, 1, 0}));
}

TEST(Register, EveryCellOfAShuffledGrid) {
    // Unevenly spaced grid lines with diagonals in some cells, stored in a
    // shuffled order with random end order: a click in a cell or triangle
    // traces exactly that face, clockwise.
    const double xs[] = {0, 3, 4.5, 10, 12, 20}, ys[] = {-15, -9, -8.5, -4, 0};
    const int nx = 6, ny = 5;
    auto id = [&](int i, int j) { return j * nx + i; };
    std::vector<XY> pts;
    for (int j = 0; j < ny; ++j)
        for (int i = 0; i < nx; ++i) pts.emplace_back(xs[i], ys[j]);
    std::mt19937 rng(20261208);
    Lns lines;
    int diag[nx][ny] = {};  // 0 none, 1 "/", 2 "\"
    for (int j = 0; j < ny; ++j)
        for (int i = 0; i < nx; ++i) {
            if (i + 1 < nx) lines.emplace_back(id(i, j), id(i + 1, j));
            if (j + 1 < ny) lines.emplace_back(id(i, j), id(i, j + 1));
            if (i + 1 < nx && j + 1 < ny && (diag[i][j] = static_cast<int>(rng() % 3)) != 0)
                lines.emplace_back(id(i, j + (diag[i][j] == 2)), id(i + 1, j + (diag[i][j] == 1)));
        }
    std::shuffle(lines.begin(), lines.end(), rng);
    for (auto& l : lines)
        if (rng() % 2) std::swap(l.first, l.second);
    Section s(pts, lines);
    int faces = 0;
    for (int j = 0; j + 1 < ny; ++j)
        for (int i = 0; i + 1 < nx; ++i) {
            const int bl = id(i, j), br = id(i + 1, j), tl = id(i, j + 1), tr = id(i + 1, j + 1);
            auto expect = [&](std::vector<int> face, double u, double v) {
                face.push_back(face[0]);
                double x = xs[i] + u * (xs[i + 1] - xs[i]), y = ys[j] + v * (ys[j + 1] - ys[j]);
                EXPECT_EQ(Canon(s.TracePts(x, y)), Canon(face)) << "click " << x << "," << y;
                ++faces;
            };
            if (diag[i][j] == 0) expect({bl, tl, tr, br}, 0.4, 0.3);
            if (diag[i][j] == 1) expect({bl, tr, br}, 0.7, 0.2), expect({bl, tl, tr}, 0.2, 0.7);
            if (diag[i][j] == 2) expect({bl, tl, br}, 0.2, 0.2), expect({tl, tr, br}, 0.8, 0.7);
        }
    EXPECT_GT(faces, 25);
}

TEST(Register, CutsTraceOverTerrainLines) {
    // Terrain lines only: the soil tools do nothing, the cut tools trace.
    Section s(kSquare, kSquareLines, true);
    s.Click(6, 5, 5);
    s.Click(6, 5, 5, kRightButton);
    EXPECT_EQ(s.m->SoilLayerCount, 0);
    EXPECT_EQ(s.canvas.refreshes, 0);
    s.Click(10, 5, 5);
    ASSERT_EQ(s.m->CutCount, 1);
    EXPECT_EQ(s.m->CutBlock[0].nPt, 4);
    s.Handed(16) = {kKindCut, 0};
    s.Click(16, 6, 6);
    EXPECT_EQ(s.m->CutBlock[0].CX, 6);
    s.Click(16, 6, 6, kRightButton);
    EXPECT_EQ(s.ed.cmd_mode, 13);
}

}  // namespace
}  // namespace kova
