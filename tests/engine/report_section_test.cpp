// The section drawing KT_ZUMEN.PZK against coordinates worked out by hand.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

#include "engine/report.hpp"
#include "tests/engine/report_fixture.hpp"

using namespace reporttest;
using V = std::vector<int>;

namespace {

const std::vector<std::pair<double, double>> kRect = {{0, 0}, {10, 0}, {10, -5}, {0, -5}};

}  // namespace

// Rectangle 0..10 x -5..0: bounds -1..11 x -6..1, one scale 350 units/m,
// f = 650, g = 0, section origin (400, 5350).
TEST(ReportSection, RectangleLayerCoordinatesByHand) {
    State s;
    SoilLayerRec& l = s.Soil(kRect);
    l.label_x = 5;
    l.label_y = -2;
    s.Position(5, "P");
    draw_section_plan(*s.st);
    ts::DrawingFile d = s.Drawing("KT_ZUMEN.PZK");
    EXPECT_EQ(d.name, "KT_ZUMEN.PZK");
    EXPECT_EQ(d.sizeLine, "45,66");
    // Frame and axes.
    EXPECT_EQ(d.CountExact('L', V{0, 6500, 0, 0, 0, 2}), 1);
    EXPECT_EQ(d.CountExact('L', V{4200, 6500, 0, 6500, 0, 2}), 1);
    EXPECT_EQ(d.CountExact('L', V{2850, 6000, 2850, 500, 0, 2}), 1);
    EXPECT_EQ(d.CountExact('L', V{400, 6000, 2850, 6000, 0, 2}), 1);
    // Outline from the last vertex round to it again.
    EXPECT_EQ(d.CountExact('L', V{2500, 5000, 750, 5000, 0, 2}), 1);
    EXPECT_EQ(d.CountExact('L', V{750, 5000, 750, 1500, 0, 2}), 1);
    EXPECT_EQ(d.CountExact('L', V{750, 1500, 2500, 1500, 0, 2}), 1);
    EXPECT_EQ(d.CountExact('L', V{2500, 1500, 2500, 5000, 0, 2}), 1);
    auto s1 = d.Texts("S1");
    ASSERT_EQ(s1.size(), 1u);
    EXPECT_EQ(s1[0]->v, (V{1500, 3250, 50, 50, 90, 2}));
    // Abscissa ticks at X = 0 and 10 (20 lies past the axis).
    EXPECT_EQ(d.CountExact('L', V{2850, 5000, 2890, 5000, 0, 2}), 1);
    EXPECT_EQ(d.CountExact('L', V{2850, 1500, 2890, 1500, 0, 2}), 1);
    ASSERT_EQ(d.Texts("10").size(), 1u);
    EXPECT_EQ(d.Texts("10")[0]->v, (V{2960, 1535, 70, 70, 90, 2}));
    EXPECT_TRUE(d.Texts("20").empty());
    // Elevation tick at 0 m; the label "0" appears twice (both scales).
    EXPECT_EQ(d.CountExact('L', V{750, 6050, 750, 6000, 0, 2}), 1);
    EXPECT_EQ(d.CountExact('K', V{785, 6105, 70, 70, 90, 2}), 1);
    EXPECT_EQ(d.CountExact('K', V{2960, 5017, 70, 70, 90, 2}), 1);
    // Position line, arrow heads, abscissa and name.
    EXPECT_EQ(d.CountExact('L', V{400, 3250, 3800, 3250, 3, 1}), 1);
    EXPECT_EQ(d.CountExact('L', V{400, 3250, 350, 3275, 0, 1}), 1);
    EXPECT_EQ(d.CountExact('L', V{3850, 3225, 3850, 3275, 0, 1}), 1);
    ASSERT_EQ(d.Texts("  5.000").size(), 1u);
    EXPECT_EQ(d.Texts("  5.000")[0]->v, (V{3500, 3330, 70, 70, 0, 2}));
    ASSERT_EQ(d.Texts("P").size(), 1u);
    EXPECT_EQ(d.Texts("P")[0]->v, (V{3715, 3235, 70, 70, 0, 2}));
    EXPECT_EQ(d.Count('L'), 6 + 4 + 2 + 1 + 7);
    EXPECT_EQ(d.Count('Q'), 0);  // clay is not dotted
    EXPECT_EQ(d.Texts("予  測  地  点  一  覧").size(), 1u);
}

// A 100 kN point load on the rectangle: the load raises ymax to 2, one scale
// 306.25 units/m, f = 912, g = 0, origin (400, 5088).
TEST(ReportSection, PointLoadTriangleIsOneMetreHighTwoWideFilledTwice) {
    State s;
    s.Soil(kRect);
    s.in().point_load_count = 1;
    s.in().point_loads[0].x1 = 5;
    s.in().point_loads[0].y1 = 0;
    s.in().point_loads[0].load = 100;
    draw_section_plan(*s.st);
    ts::DrawingFile d = s.Drawing("KT_ZUMEN.PZK");
    EXPECT_EQ(d.CountExact('L', V{1012, 3251, 706, 3557, 0, 2}), 1);  // apex to left corner
    EXPECT_EQ(d.CountExact('L', V{706, 3557, 706, 2945, 0, 2}), 1);   // base
    EXPECT_EQ(d.CountExact('L', V{1012, 3251, 706, 2945, 0, 2}), 1);  // apex to right corner
    EXPECT_EQ(d.CountExact('L', V{1012, 3251, 1012, 3251, 0, 2}), 1); // fill at h = 0
    EXPECT_EQ(d.CountExact('L', V{859, 3404, 859, 3098, 0, 2}), 1);   // fill at h = 0.5
    ASSERT_EQ(d.Texts("100.000kN").size(), 1u);
    EXPECT_EQ(d.Texts("100.000kN")[0]->v, (V{706, 3408, 70, 70, 90, 2}));
    // 6 frame lines, 4 outline, 3 triangle, 2 fill, 2 + 1 scale ticks.
    EXPECT_EQ(d.Count('L'), 6 + 4 + 3 + 2 + 3);
}

TEST(ReportSection, AbscissaScaleOfASectionFrom100To200) {
    State s;
    s.Soil({{100, 0}, {200, 0}, {200, -10}, {100, -10}});
    draw_section_plan(*s.st);
    ts::DrawingFile d = s.Drawing("KT_ZUMEN.PZK");
    std::vector<std::string> labels;
    for (const auto& r : d.records)
        if (r.kind == 'K' && r.v[0] == 2960) labels.push_back(r.text);
    std::vector<std::string> expect;
    for (int b = 100; b <= 200; b += 10) expect.push_back(std::to_string(b));
    EXPECT_EQ(labels, expect);
}

TEST(ReportSection, SandIsDottedInsideItsOutlineOnly) {
    State s;
    s.Soil(kRect, 1, 3);
    draw_section_plan(*s.st);
    ts::DrawingFile d = s.Drawing("KT_ZUMEN.PZK");
    // Every lattice point strictly inside (w 350..3850, a 350..2100 in drawing
    // units) has its box: lattice 1 w 400..3800 x a 400..2000 (35 x 17),
    // lattice 2 w 450..3750 x a 450..2050 (34 x 17). Points on the outline
    // itself may or may not be marked; none outside it is.
    int interior = 0;
    for (const auto& r : d.records)
        if (r.kind == 'Q') {
            EXPECT_EQ(r.v[2] - r.v[0], 4);
            const int a = r.v[0] + 2 - 400, w = 5350 - (r.v[1] + 2);
            EXPECT_TRUE(a >= 350 && a <= 2100 && w >= 350 && w <= 3850) << a << "," << w;
            if (a > 350 && a < 2100 && w > 350 && w < 3850) ++interior;
        }
    EXPECT_EQ(interior, 35 * 17 + 34 * 17);
    EXPECT_EQ(d.CountExact('Q', V{798, 4948, 802, 4952, 0, 2}), 1);  // w = a = 400
}

TEST(ReportSection, CutBlocksOnlyWithTheCutFlag) {
    for (int flag : {0, 1}) {
        State s;
        s.Soil(kRect);
        s.Cut({{2, 0}, {2, 1}, {4, 1}, {4, 0}}).label_x = 3;
        s.in().UseCutPreload = flag;
        draw_section_plan(*s.st);
        ts::DrawingFile d = s.Drawing("KT_ZUMEN.PZK");
        int dashed = 0;
        for (const auto& r : d.records)
            if (r.kind == 'L' && r.v[4] == 1) ++dashed;
        EXPECT_EQ(dashed, flag ? 4 : 0);
        EXPECT_EQ(d.Texts("K1").size(), flag ? 1u : 0u);
        EXPECT_EQ(d.Count('Q') > 0, flag == 1);
    }
}

TEST(ReportSection, NoSoilLayerDrawsOnlyFrameAxesAndCaptions) {
    State s;
    s.Block({{0, 0}, {2, 1}, {4, 0}});
    s.Position(1, "A");
    draw_section_plan(*s.st);
    ts::DrawingFile d = s.Drawing("KT_ZUMEN.PZK");
    EXPECT_EQ(d.Count('L'), 6);
    EXPECT_EQ(d.Count('Q'), 0);
    std::vector<std::string> texts;
    for (const auto& r : d.records)
        if (r.kind == 'K') texts.push_back(r.text);
    EXPECT_EQ(texts, (std::vector<std::string>{" 地", " 形", " 図", "(m)", "予  測  地  点  一  覧"}));
}

// Absurd input must not run for ever or overflow a coordinate: a load of a
// billion kN and a section a million kilometres wide.
TEST(ReportSection, AbsurdSizesStayBounded) {
    State s;
    s.Soil({{0, 0}, {1e9, 0}, {1e9, -5}, {0, -5}});
    s.in().point_load_count = 1;
    s.in().point_loads[0] = LoadRec{5, 0, 0, 0, 1e9, 1, 0, 0};
    s.in().strip_load_count = 1;
    s.in().strip_loads[0] = LoadRec{0, 0, 1e9, 0, 10, 1, 0, 0};
    draw_section_plan(*s.st);
    ts::DrawingFile d = s.Drawing("KT_ZUMEN.PZK");
    EXPECT_LT(d.Count('L'), 2 * 10000 + 2 * 2000 + 100);
    for (const auto& r : d.records)
        for (int v : r.v) EXPECT_TRUE(v >= -32768 && v <= 32767);
}

// The line records of a drawing, each from its smaller end, sorted.
std::vector<V> LineSet(const ts::DrawingFile& d) {
    std::vector<V> out;
    for (const auto& r : d.records) {
        if (r.kind != 'L') continue;
        V v = r.v;
        if (std::tie(v[2], v[3]) < std::tie(v[0], v[1])) {
            std::swap(v[0], v[2]);
            std::swap(v[1], v[3]);
        }
        out.push_back(v);
    }
    std::sort(out.begin(), out.end());
    return out;
}

// A strip entered right to left is computed as the same strip entered left
// to right, and drawn so: the same lines, its fill lines every 0.5 m.
TEST(ReportSection, StripsAreDrawnAlikeWhicheverWayEntered) {
    struct Strip {
        double x1, y1, x2, y2, q;
        int fills;
    } strips[] = {{2, 0, 8, 0, 20, 12}, {1, 0, 3.2, 1, 35, 5}, {4.5, -1, 5, 0.5, 10, 1}, {0, 0, 10, 0, 5, 20}};
    for (const Strip& k : strips) {
        SCOPED_TRACE(k.x1);
        std::vector<V> drawn[2];
        for (int reversed = 0; reversed < 2; ++reversed) {
            State s;
            s.Soil(kRect);
            s.in().strip_load_count = 1;
            LoadRec& l = s.in().strip_loads[0];
            l = reversed ? LoadRec{k.x2, k.y2, k.x1, k.y1, k.q} : LoadRec{k.x1, k.y1, k.x2, k.y2, k.q};
            draw_section_plan(*s.st);
            drawn[reversed] = LineSet(s.Drawing("KT_ZUMEN.PZK"));
        }
        EXPECT_EQ(drawn[1], drawn[0]);
        // Across the section (along the sheet) run the layer's two sides,
        // the band's two ends and its fill lines; the frame, the axis at
        // y = 6000 and the ticks right of the axis aside.
        const auto across = std::count_if(drawn[0].begin(), drawn[0].end(), [](const V& v) {
            return v[1] == v[3] && v[1] != 0 && v[1] != 6000 && v[1] != 6500 && std::max(v[0], v[2]) < 2850;
        });
        EXPECT_EQ(across, 4 + k.fills);
    }
}

// A position off the sheet is left out of the section drawing, its texts
// with it; what is drawn stays inside the frame.
TEST(ReportSection, PositionsOffTheSheetAreLeftOut) {
    State s;
    s.Soil(kRect);
    for (double x : {-1000.0, -5.0, -4.25, 5.0, 14.2, 15.0, 1000.0}) s.Position(x, "P" + std::to_string(int(x)));
    draw_section_plan(*s.st);
    const ts::DrawingFile d = s.Drawing("KT_ZUMEN.PZK");
    for (const auto& r : d.records) {
        if (r.kind != 'L') continue;
        EXPECT_TRUE(r.v[0] >= 0 && r.v[2] >= 0 && r.v[0] <= 4200 && r.v[2] <= 4200) << ::testing::PrintToString(r.v);
        EXPECT_TRUE(r.v[1] >= 0 && r.v[3] >= 0 && r.v[1] <= 6500 && r.v[3] <= 6500) << ::testing::PrintToString(r.v);
    }
    // At 350 units/m from the origin y = 5350 the sheet spans X = -4.29 to
    // 14.29 m; the arrow heads of -4.25 are cut at the frame.
    for (const char* name : {"P-1000", "P-5", "P15", "P1000"}) EXPECT_TRUE(d.Texts(name).empty()) << name;
    for (const char* name : {"P-4", "P5", "P14"}) EXPECT_EQ(d.Texts(name).size(), 1u) << name;
    EXPECT_EQ(d.CountExact('L', V{400, 6487, 3800, 6487, 3, 1}), 1);
    EXPECT_EQ(d.CountExact('L', V{3800, 6487, 3826, 6500, 0, 1}), 1);
}
