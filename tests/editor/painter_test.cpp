// The full repaint on a QImage at 15 twips a pixel.
#include <gtest/gtest.h>

#include <QFontInfo>
#include <functional>

#include "editing/mouse_tools.hpp"
#include "editor/section_painter.hpp"
#include "platform/qt/screen_qt.hpp"
#include "tests/support/qt_app.hpp"

namespace kova {
namespace {

struct PaintFixture : ::testing::Test {
    Model m;
    EditorState ed;
    SectionPainter painter{TwipsScale{}};
    QImage img{400, 300, QImage::Format_RGB32};
    PaintOptions opt;

    PaintFixture() {
        // 150 twips a metre: ten pixels a metre, model (0, 0) at pixel (100, 100).
        ed.ViewScale = 150;
        ed.ViewLeftX = -10;
        ed.ViewTopY = 10;
    }
    void Paint() { painter.Paint(img, m, ed, opt); }
    QColor At(int x, int y) const { return img.pixelColor(x, y); }
    // Pixel position of a model point.
    int Px(double x) const { return static_cast<int>((x - ed.ViewLeftX) * 10); }
    int Py(double y) const { return static_cast<int>((ed.ViewTopY - y) * 10); }
    int Count(QRect r, const std::function<bool(QColor)>& pred) const {
        int n = 0;
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x) n += pred(img.pixelColor(x, y));
        return n;
    }
    // Text is antialiased: its pixels are the colour at any strength.
    int CountText(QRect r, int colour) const {
        const QColor c = PaletteQColor(colour);
        const int top = std::max({c.red(), c.green(), c.blue()});
        return Count(r, [&](QColor q) {
            const double k = std::max({q.red(), q.green(), q.blue()}) / double(top);
            return k > 0.3 && std::abs(q.red() - c.red() * k) < 30 && std::abs(q.green() - c.green() * k) < 30 &&
                   std::abs(q.blue() - c.blue() * k) < 30;
        });
    }
    int CountColour(QRect r, int colour) const {
        const QColor c = PaletteQColor(colour);
        return Count(r, [&](QColor q) { return q == c; });
    }
    i16 Point(double x, double y) {
        m.BndPt[static_cast<std::size_t>(m.BndPtCount)] = BoundaryPoint{};
        m.BndPt[static_cast<std::size_t>(m.BndPtCount)].X = x;
        m.BndPt[static_cast<std::size_t>(m.BndPtCount)].Y = y;
        return m.BndPtCount++;
    }
    static void Box(SoilBlock& b, double x0, double y0, double x1, double y1) {
        b.nPt = 4;
        b.PX = {x0, x1, x1, x0, x0};
        b.PY = {y0, y0, y1, y1, y0};
        b.CX = (x0 + x1) / 2;
        b.CY = (y0 + y1) / 2;
    }
};

TEST_F(PaintFixture, EmptyModelShowsTheGridAndItsLabels) {
    Paint();
    const QColor grey = PaletteQColor(8);
    EXPECT_EQ(At(Px(0), 250), grey);
    EXPECT_EQ(At(150, 250), Qt::black);
    EXPECT_EQ(At(250, Py(0)), grey);
    // Labels " 0 " stand 50 twips right of their line along the top edge and
    // 50 twips below theirs along the left edge.
    auto lit = [](QColor q) { return q != Qt::black; };
    EXPECT_GT(Count(QRect(Px(0) + 3, 1, 25, 11), lit), 5);
    EXPECT_GT(Count(QRect(1, Py(0) + 3, 25, 11), lit), 5);
    EXPECT_EQ(Count(QRect(Px(0) + 3, Py(0) + 20, 90, 70), lit), 0);
    // The grid ends at 500 m.
    ed.ViewLeftX = 480;
    Paint();
    EXPECT_EQ(At(Px(500), 150), grey);
    EXPECT_EQ(CountColour(QRect(Px(500) + 2, 150, 190, 1), 8), 0);
}

TEST_F(PaintFixture, BlockFillsAndTheirExclusiveOrOverlap) {
    struct Case {
        i16 soilType, drain;
        int colour;
    };
    const Case cases[] = {{0, 0, 4}, {0, 1, 3}, {0, 2, 3}, {1, 0, 6}, {1, 1, 6}};
    for (const Case& c : cases) {
        m = Model{};
        m.SoilLayerCount = 1;
        Box(m.SoilLayer[0], -5, -5, 5, -8);
        m.SoilParam[0].SoilType = c.soilType;
        m.DrainMethod[0].Method = c.drain;
        Paint();
        EXPECT_EQ(At(Px(2), Py(-6)), PaletteQColor(c.colour)) << c.soilType << "/" << c.drain;
        // Drawn by exclusive-or with a black pen: no outline of its own.
        EXPECT_EQ(At(Px(-5) - 2, Py(-6)), Qt::black);
    }
    // Clay under an embankment: the colours combine by exclusive-or.
    m.SoilParam[0].SoilType = 0;
    m.DrainMethod[0].Method = 0;
    m.EmbankmentCount = 1;
    Box(m.Embankment[0], 0, -7, 8, -3);
    Paint();
    EXPECT_EQ(At(Px(3), Py(-6)), QColor(128 ^ 192, 0 ^ 192, 0 ^ 192));
    EXPECT_EQ(At(Px(6), Py(-4)), PaletteQColor(7));
    // A cut: black outline five pixels wide, red diagonal cross hatch.
    m.CutCount = 1;
    Box(m.CutBlock[0], -9, -1, -6, -9);
    Paint();
    EXPECT_EQ(At(Px(-9) + 1, Py(-5)), Qt::black);
    EXPECT_GT(CountColour(QRect(Px(-8.5), Py(-1.5), 20, 60), 4), 40);
}

TEST_F(PaintFixture, SelectedLinesColouredByTheToolInForce) {
    const i16 a = Point(-5, 0), b = Point(5, 0), c = Point(-5, -5), d = Point(5, -5);
    m.BndLineCount = 1;
    m.BndLine[0] = {a, b};
    m.CutLineCount = 1;
    m.CutLine[0] = {c, d};
    ed.SelFlags[0] = 1;
    struct Case {
        int cmd, old;
        int bnd, cut;  // colour seen on each line
    };
    const Case cases[] = {{9, 0, 11, 14}, {1, 9, 11, 14}, {4, 0, 14, 10}, {0, 0, 14, 10}};
    for (const Case& k : cases) {
        ed.cmd_mode = k.cmd;
        ed.old_mode = k.old;
        Paint();
        EXPECT_EQ(At(Px(2), Py(0)), PaletteQColor(k.bnd)) << k.cmd;
        // The cut line is dotted: look along a few pixels.
        EXPECT_GT(CountColour(QRect(Px(0), Py(-5), 10, 1), k.cut), 2) << k.cmd;
    }
    // In the intersection tools a selected line is carried on 1000 m, dotted.
    ed.cmd_mode = 17;
    Paint();
    EXPECT_GT(CountColour(QRect(Px(5) + 5, Py(0), 150, 1), 14), 30);
    ed.cmd_mode = 4;
    Paint();
    EXPECT_EQ(CountColour(QRect(Px(5) + 5, Py(0), 150, 1), 14), 0);
}

TEST_F(PaintFixture, GuidesOfThePointTools) {
    const i16 p = Point(2, 3);
    const i16 l1 = Point(-8, -8), l2 = Point(8, 8);
    m.BndLineCount = 1;
    m.BndLine[0] = {l1, l2};
    // Each point tool holds the base point.
    auto pick = [&](i16 base, i16 step, i16 line) {
        for (int mode : {18, 19, 20}) ed.tools.For(mode)->picks = {-1, -1, step, {base, line}};
    };
    pick(p, 1, -1);
    auto vertical = [&] { return CountColour(QRect(Px(2), 0, 1, 300), 14); };
    auto horizontal = [&] { return CountColour(QRect(0, Py(3), 400, 1), 14); };
    struct Case {
        int cmd;
        bool v, h;
    };
    for (Case c : {Case{18, true, false}, Case{19, false, true}, Case{20, true, true}, Case{1, false, false}}) {
        ed.cmd_mode = c.cmd;
        Paint();
        EXPECT_EQ(vertical() > 60, c.v) << c.cmd;
        EXPECT_EQ(horizontal() > 60, c.h) << c.cmd;
    }
    // Tool 20 with its line: the perpendicular through P, (2, 3) -> (2.5, 2.5).
    ed.cmd_mode = 20;
    pick(p, 2, 0);
    Paint();
    EXPECT_LT(vertical(), 5);
    EXPECT_GT(CountColour(QRect(Px(-1) - 2, Py(6) - 2, 5, 5), 14), 0);
    EXPECT_GT(CountColour(QRect(Px(7) - 2, Py(-2) - 2, 5, 5), 14), 0);
    // A base point on the line has no perpendicular.
    m.BndPt[p].Y = 2;
    Paint();
    EXPECT_EQ(CountColour(QRect(Px(-1) - 2, Py(5) - 2, 5, 5), 14), 0);
    // A pick naming no line draws nothing and reads nothing outside the tables.
    pick(p, 2, 400);
    Paint();
    pick(-7, 2, 400);
    ed.cmd_mode = 18;
    Paint();
    EXPECT_LT(vertical(), 5);
}

TEST_F(PaintFixture, LoadHeightsAndTheStripLabelPlace) {
    m.StripLoadCount = 1;
    m.StripLoad[0] = {-9, 0, 9, -1, 10, 1};  // 1 m high over its base
    m.PointLoadCount = 1;
    m.PointLoad[0] = {5, -6, 0, 0, 100, 1};  // triangle 1 m high, 2 m wide
    Paint();
    auto yellowRows = [&](int x) {
        int top = 1000, bottom = -1;
        for (int y = 0; y < img.height(); ++y)
            if (At(x, y) == PaletteQColor(14)) top = std::min(top, y), bottom = std::max(bottom, y);
        return std::pair{top, bottom};
    };
    // The strip between Y1 and Y1 + 1 at X1.
    EXPECT_EQ(yellowRows(Px(-9)), (std::pair{Py(1), Py(0)}));
    // The triangle's tip on the load point, its top 1 m above and 2 m wide.
    EXPECT_EQ(yellowRows(Px(5)).second, Py(-6));
    const int top = CountColour(QRect(0, Py(-5), 400, 1), 14);
    EXPECT_GE(top, 19);
    EXPECT_LE(top, 23);
    // Label: 450 twips left of the middle, 200 above the higher end's top.
    const int lx = Px(0) - 30, ly = Py(1) - 13;
    EXPECT_GT(CountText(QRect(lx, ly, 60, 12), 14), 20);
    EXPECT_EQ(CountText(QRect(lx - 20, ly - 14, 100, 13), 14), 0);
    EXPECT_EQ(CountText(QRect(lx - 20, ly, 19, 12), 14), 0);

    // The state the repaint leaves for the band and the next repaint.
    const DrawState& s = painter.State();
    EXPECT_EQ(s.penColour, 11);
    EXPECT_EQ(s.penWidth, 1);
    EXPECT_EQ(s.penStyle, 0);
    EXPECT_EQ(s.rasterMode, 13);
    EXPECT_EQ(s.fontSize, 9);
    EXPECT_FALSE(s.bold);
    EXPECT_EQ(s.fillColour, 14);
    EXPECT_EQ(s.fillStyle, 2);
}

TEST_F(PaintFixture, SettlementLabelsNeedTheMenuCheckAndAMatchingRow) {
    m.CalcPosCount = 3;
    m.Cond.CalcPosX = {-5, 0, 5};
    m.CalcPosResult[0] = {-5.000400, 1, 0.25};  // within 0.0005: shown
    m.CalcPosResult[1] = {0.0, 1, 0.0005};      // too small: passed over
    m.CalcPosResult[2] = {5.0006, 1, 0.3};      // not this position
    for (int k = 0; k < kProfileRows; ++k) m.SettledSurface[k] = {-10 + k * 0.02, -2, 0.5};
    const int labelRow = 300 - 20;  // 300 twips above the bottom edge
    auto labelAt = [&](double x) { return CountText(QRect(Px(x) + 3, labelRow, 40, 12), 12); };
    struct Case {
        bool show, read;
        bool labels;
    };
    for (Case c : {Case{true, true, true}, Case{false, true, false}, Case{true, false, false}}) {
        opt = {c.show, c.read};
        Paint();
        EXPECT_EQ(labelAt(-5) > 10, c.labels);
        EXPECT_EQ(labelAt(0), 0);
        EXPECT_EQ(labelAt(5), 0);
        // The settled surface: dots along y - v = -2.5.
        EXPECT_EQ(CountColour(QRect(0, Py(-2.5) - 1, 400, 3), 12) > 100, c.labels);
    }
}

TEST_F(PaintFixture, BlockLabelsInTheirColours) {
    m.CutCount = 1;
    Box(m.CutBlock[0], -9, 9, -5, 5);
    m.EmbankmentCount = 1;
    Box(m.Embankment[0], -3, 9, 1, 5);
    m.SoilLayerCount = 1;
    Box(m.SoilLayer[0], 3, 9, 7, 5);
    m.SoilParam[0].SoilType = 1;
    Paint();
    for (auto [cx, colour] : {std::pair{-7.0, 10}, std::pair{-1.0, 10}, std::pair{5.0, 13}})
        EXPECT_GT(CountText(QRect(Px(cx) - 7, Py(7) - 7, 30, 16), colour), 10) << cx;
    EXPECT_TRUE(QFontInfo(FormFont(SectionPainter::kFace, 9)).family().startsWith("IPA"));
}

TEST_F(PaintFixture, FarPointsDrawStraightWithoutOverflow) {
    const i16 o = Point(0, 0), far = Point(1e12, -1e12), huge = Point(1e300, 1e300);
    m.BndLineCount = 2;
    m.BndLine[0] = {o, far};
    m.BndLine[1] = {huge, o};
    m.SoilLayerCount = 1;
    Box(m.SoilLayer[0], -1e12, -3, 1e12, -1e12);
    m.StripLoadCount = 1;
    m.StripLoad[0] = {-1e12, 0, 1e12, 0, 1e12, 1};
    m.SheetPileCount = 1;
    m.SheetPile[0] = {1e12, 1e12, -1e12};
    m.CalcPosCount = 1;
    m.Cond.CalcPosX[0] = -1e12;
    ed.SelFlags[0] = 1;
    ed.cmd_mode = 17;
    Paint();
    // The diagonal to the far point passes exactly through (5, -5).
    EXPECT_EQ(At(Px(5), Py(-5)), PaletteQColor(14));
    EXPECT_EQ(At(Px(5) + 1, Py(-5)), PaletteQColor(4));
    // A corrupt table: counts beyond the slots, a block with too many vertices.
    m.SoilLayer[0].nPt = 300;
    m.BndLineCount = 30000;
    m.EmbankmentCount = -4;
    m.CalcPosCount = 500;
    Paint();
}

}  // namespace
}  // namespace kova

namespace kova {
namespace {

// The canvas's number labels round halves away from zero, as every number
// text of the system does ("#0.000"), not to the even neighbour.
TEST(CanvasNumbers, LoadAndSettlementLabelsRoundHalvesAwayFromZero) {
    EXPECT_EQ(LoadLabel(0.0625, "kN"), "0.063kN");
    EXPECT_EQ(LoadLabel(-2.0625, "kN/m"), "-2.063kN/m");
    EXPECT_EQ(LoadLabel(12.5, "kN/m2"), "12.500kN/m2");
    EXPECT_EQ(SettlementLabel(0.1245), "0.125");  // 0.12449999... as a double
    EXPECT_EQ(SettlementLabel(1.0625), "1.063");
}

}  // namespace
}  // namespace kova

namespace kova {
namespace {

// A grid value whose line lies just off the left edge is not written cut
// ("-10" would read as "10"); position names stand below the row of grid
// values, not over it.
TEST_F(PaintFixture, GridValuesAreNeverCutAndNamesKeepClearOfThem) {
    ed.ViewTopY = 5;                    // no horizontal line in the top rows
    ed.ViewLeftX = -10 + 100.0 / 150;  // line -10 at -100 twips, its value at -50
    Paint();
    auto lit = [](QColor q) { return q != Qt::black; };
    EXPECT_EQ(Count(QRect(0, 1, 14, 11), lit), 0);
    // The value of the next line is written whole.
    EXPECT_GT(CountText(QRect(Px(0) + 3, 1, 20, 11), 8), 5);

    m.CalcPosCount = 1;
    m.Cond.CalcPosX[0] = 5;
    m.Cond.CalcPosName[0] = "盛土中央";
    Paint();
    int valuesBottom = -1, nameTop = 1000;
    for (int y = 0; y < 40; ++y) {
        if (CountText(QRect(Px(10) + 3, y, 20, 1), 8) > 0) valuesBottom = y;
        if (CountText(QRect(Px(5) + 3, y, 50, 1), 12) > 0) nameTop = std::min(nameTop, y);
    }
    ASSERT_GE(valuesBottom, 0);
    ASSERT_LT(nameTop, 40);
    EXPECT_GT(nameTop, valuesBottom);
}

}  // namespace
}  // namespace kova
