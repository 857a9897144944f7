// The per-position report TK_DT_nn.PDT from hand-built position histories.
#include <gtest/gtest.h>

#include <cmath>

#include "engine/report.hpp"
#include "textio/cformat.hpp"
#include "tests/engine/report_fixture.hpp"

using namespace reporttest;
using Seq = std::vector<std::string>;

namespace {

// One clay layer 0..-4 m (e-logP) under a position at x = 5, loaded in the
// given real stages; one consolidation unit without drains, cv 0.01 m2/day,
// drainage length 2 m.
struct PointCase : State {
    explicit PointCase(std::vector<int> stages) {
        // What is not set here is 0 in a fresh state.
        Soil({{0, 0}, {10, 0}, {10, -4}, {0, -4}}, 0, 0);
        Position(5, "No.1 中央");
        FlatProfile(-1, 11, 0);
        SoilColumn& c = st->work.column;
        c.count = 1;
        c.bottom[0] = -4;
        c.p0[0] = 32;
        PositionHistory& h = st->history;
        h.layer_count = 1;
        h.p0[0] = 32;
        h.thickness[0] = 4;
        StageTiming& t = st->timing;
        t.timing_unit_count = 1;
        for (std::size_t j = 0; j < stages.size(); ++j) {
            h.stage_number[j] = stages[j];
            h.stage_dp[j][0] = 20.0 * (j + 1);
            h.stage_loaded[j][0] = true;
            h.stage_e1[j][0] = 1.5;
            h.stage_e2[j][0] = 1.4 - 0.05 * j;
            h.stage_strain[j][0] = 0.04;
            h.stage_total[j + 1] = h.stage_settlement[j][0] = 0.16 * (j + 1);
            h.stage_cv[j][0] = 0.01;
            h.stage_cv_pressure[j][0] = 42;
            t.stage_start[j] = 100 * static_cast<int>(j);
            t.stage_unit_coefficient[j][0] = 0.01;
            t.stage_unit_thickness[j][0] = 4;
            t.stage_unit_drain_length[j][0] = 2;
            t.stage_unit_increment[j][0] = 0.16;
            t.stage_unit_total[j][0] = 0.16 * (j + 1);
        }
        h.stage_count = static_cast<int>(stages.size());
    }
};

}  // namespace

TEST(ReportPoint, OneStage) {
    PointCase s({1});
    write_point_report(*s.st, 0);
    ts::PageFile p = s.Page("TK_DT_01.PDT");
    EXPECT_EQ(p.title, "沈下算出点-No.01");
    EXPECT_EQ(FormSequence(p),
              (Seq{"SOU_0000.PFM", "SOU_0001.PFM", "SOU_0002.PFM", "SOU_0010.PFM", "SOU_0011.PFM",
                   "TNK_0000.PFM", "TNK_0001.PFM", "TNK_0002.PFM", "TNK_0010.PFM", "TNK_0011.PFM",
                   "TNK_0012.PFM", "TNK_0013.PFM", "TNK_0020.PFM", "TNK_0021.PFM", "TNK_0022.PFM",
                   "+TNK_Z_01.PZK", "KCV_0000.PFM", "KCV_0001.PFM", "KCV_0002.PFM", "KCV_0010.PFM",
                   "KCV_0011.PFM", "KCV_0012.PFM", "TIJ_0000.PFM", "TIJ_0001.PFM", "TIJ_0002.PFM",
                   "TIJ_0003.PFM+TIJ_0003.PZK", "TIJ_0010.PFM", "TIJ_0011.PFM", "TIJ_0001.PFM",
                   "TIJ_0012.PFM", "+TNJ_H_01.PZK"}));
    // Each (form index, field, text), worked from the hand-built history.
    struct Want {
        int form, field;
        const char* text;
    } wants[] = {
        {0, 0, "No.1 中央"}, {0, 1, "   5.000"},
        // Column row: overburden from 0 at the top; 4 m of 16 kN/m3.
        {2, 2, " 4.000"}, {2, 4, "  0.000"}, {2, 5, " 64.000"}, {2, 6, " 32.000"}, {2, 7, "───"},
        // Stress table: stages 2 to 5 empty.
        {4, 0, " 1"}, {4, 3, " 20.000"}, {4, 4, "───"}, {4, 7, "───"}, {5, 0, "1 段"},
        {6, 5, " 1.500"}, {6, 6, " 1.400"}, {6, 7, "────"},
        {9, 1, "Δｅ法"}, {9, 3, "0.0400"}, {9, 6, "  0.160"}, {9, 7, "  1.000"},
        {11, 0, "√(P'･(P'+ΔP')) に対する体積圧縮係数"}, {14, 0, "  0.160"}, {14, 1, "───"}, {14, 4, "───"},
        {20, 0, " 1"}, {20, 1, "  4.000"}, {20, 2, "  2.000"}, {20, 3, "0.010000"}, {20, 4, "  0.160"},
        // Time table of the stage: 50 % at 2^2 x 0.197 / 0.01 = 78.8 -> day 79.
        {23, 9, " 1"}, {23, 4, "    79"}, {23, 14, " 0.080"}, {23, 19, " 0.160"},
        // Overall table: the same days for one stage, 2^2 x 0.008 / 0.01 = 3.2
        // for 10 %, field 19 the total.
        {28, 4, "    79"}, {28, 0, "     3"}, {28, 19, " 0.160"},
    };
    for (const Want& w : wants) EXPECT_EQ(Field(p.forms[w.form], w.field), w.text) << w.form << "/" << w.field;
    EXPECT_EQ(p.forms[3].reserve, 5);
    EXPECT_EQ(p.forms[22].reserve, 7);
    EXPECT_EQ(p.forms[9].fields[0].first, 0);
    EXPECT_EQ(p.forms[23].fields.size(), 1u + 9 + 10);
    EXPECT_EQ(p.forms[28].fields.size(), 1u + 9 + 9 + 1);
    EXPECT_TRUE(s.Exists("TNK_Z_01.PZK"));
    EXPECT_TRUE(s.Exists("TNJ_H_01.PZK"));
}

TEST(ReportPoint, TwoStagesFillTwoColumns) {
    PointCase s({1, 2});
    write_point_report(*s.st, 0);
    ts::PageFile p = s.Page("TK_DT_01.PDT");
    const ts::PageForm& dp = *FormsNamed(p, "SOU_0011.PFM")[0];
    EXPECT_EQ(Field(dp, 3), " 20.000");
    EXPECT_EQ(Field(dp, 4), " 40.000");
    for (int f = 5; f <= 7; ++f) EXPECT_EQ(Field(dp, f), "───");
    auto heads = FormsNamed(p, "TNK_0000.PFM");
    ASSERT_EQ(heads.size(), 2u);
    EXPECT_EQ(Field(*heads[1], 0), "2 段");
    EXPECT_EQ(Field(*FormsNamed(p, "TNK_0001.PFM")[1], 6), " 1.350");
    const ts::PageForm& sum = *FormsNamed(p, "TNK_0022.PFM")[0];
    EXPECT_EQ(Field(sum, 0), "  0.160");
    EXPECT_EQ(Field(sum, 1), "  0.320");
    EXPECT_EQ(Field(sum, 2), "───");
    EXPECT_EQ(FormsNamed(p, "KCV_0000.PFM").size(), 2u);
    EXPECT_EQ(FormsNamed(p, "TIJ_0000.PFM").size(), 2u);
    // Overall: total 0.32, 50 % = 0.16 when U(t) + U(t - 100) = 1 with
    // Tv = 0.01 t / 4: day 137 gives U(0.3425) + U(0.0925) = 0.652 + 0.343,
    // day 138 gives U(0.345) + U(0.095) = 0.654 + 0.348.
    const ts::PageForm& all = *FormsNamed(p, "TIJ_0001.PFM").back();
    EXPECT_EQ(Field(all, 19), " 0.320");
    EXPECT_EQ(Field(all, 14), " 0.160");
    EXPECT_EQ(Field(all, 4), "   138");
}

// Loads in stages 1 and 3 only: the labels carry the real stage numbers and
// each value stands in its own stage's column.
TEST(ReportPoint, StageGapKeepsRealStageNumbers) {
    PointCase s({1, 3});
    write_point_report(*s.st, 0);
    ts::PageFile p = s.Page("TK_DT_01.PDT");
    auto heads = FormsNamed(p, "TNK_0000.PFM");
    ASSERT_EQ(heads.size(), 2u);
    EXPECT_EQ(Field(*heads[0], 0), "1 段");
    EXPECT_EQ(Field(*heads[1], 0), "3 段");
    EXPECT_EQ(Field(*FormsNamed(p, "KCV_0000.PFM")[1], 0), "3 段");
    const ts::PageForm& dp = *FormsNamed(p, "SOU_0011.PFM")[0];
    EXPECT_EQ(Field(dp, 3), " 20.000");
    EXPECT_EQ(Field(dp, 4), "───");
    EXPECT_EQ(Field(dp, 5), " 40.000");
    const ts::PageForm& layer = *FormsNamed(p, "TNK_0021.PFM")[0];
    EXPECT_EQ(Field(layer, 3), "  0.160");
    EXPECT_EQ(Field(layer, 4), "───");
    EXPECT_EQ(Field(layer, 5), "  0.320");
    const ts::PageForm& sum = *FormsNamed(p, "TNK_0022.PFM")[0];
    EXPECT_EQ(Field(sum, 1), "───");
    EXPECT_EQ(Field(sum, 2), "  0.320");
}

TEST(ReportPoint, MissingCvCurveEndsAfterTheSettlementPages) {
    PointCase s({1});
    s.st->missing_curve_shown = true;
    write_point_report(*s.st, 0);
    ts::PageFile p = s.Page("TK_DT_01.PDT");
    Seq seq = FormSequence(p);
    EXPECT_EQ(seq.back(), "+TNK_Z_01.PZK");
    for (const auto& f : seq) {
        EXPECT_EQ(f.rfind("KCV", 0), std::string::npos) << f;
        EXPECT_EQ(f.rfind("TIJ", 0), std::string::npos) << f;
    }
    EXPECT_TRUE(s.Exists("TNK_Z_01.PZK"));
    EXPECT_FALSE(s.Exists("TNJ_H_01.PZK"));
}

TEST(ReportPoint, NonConsolidatingAndTimelessUnitsPrintDashes) {
    PointCase s({1});
    // Unit 2: a layer without Cv curve (coefficient 0): no day for any degree.
    s.Soil({{0, -4}, {10, -4}, {10, -6}, {0, -6}}, 0, 0);
    // Unit 3: a non-consolidating reference layer.
    s.Soil({{0, -6}, {10, -6}, {10, -8}, {0, -8}}, 0, 4);
    StageTiming& t = s.st->timing;
    t.timing_unit_count = 3;
    t.timing_unit_layer[1] = 1;
    t.timing_unit_layer[2] = 2;
    t.stage_unit_increment[0][1] = 0.05;
    t.stage_unit_total[0][1] = 0.05;
    t.stage_unit_drain_length[0][1] = 1;
    write_point_report(*s.st, 0);
    ts::PageFile p = s.Page("TK_DT_01.PDT");
    auto rows = FormsNamed(p, "TIJ_0001.PFM");
    ASSERT_EQ(rows.size(), 6u);  // three units in each table
    EXPECT_EQ(p.forms.size(), FormSequence(p).size());
    const ts::PageForm& timeless = *rows[1];
    for (int k = 0; k <= 8; ++k) EXPECT_EQ(Field(timeless, k), "────") << k;
    EXPECT_EQ(Field(timeless, 14), " 0.025");
    const ts::PageForm& none = *rows[2];
    for (int k = 0; k <= 19; ++k) EXPECT_EQ(Field(none, k), k == 9 ? " 3" : "────") << k;
    const ts::PageForm& noneAll = *rows[5];
    EXPECT_EQ(Field(noneAll, 19), "────");
    EXPECT_EQ(Field(*FormsNamed(p, "KCV_0011.PFM")[2], 4), "───");
    // The graph's time axis ignores the timeless unit: longest day is unit 1's
    // 90 % day, 4 x 0.848 / 0.01 = 339.2 -> 339, so the axis ends at 400.
    ts::DrawingFile g = s.Drawing("TNJ_H_01.PZK");
    EXPECT_EQ(g.Texts("400").size(), 1u);
    EXPECT_TRUE(g.Texts("600").empty());
}

TEST(ReportPoint, DayReachedDuringLoadingIsMarked) {
    PointCase s({1});
    StageTiming& t = s.st->timing;
    t.stage_days[0] = 100;
    t.stage_unit_coefficient[0][0] = 0.1;
    t.stage_unit_drain_length[0][0] = 1;
    write_point_report(*s.st, 0);
    ts::PageFile p = s.Page("TK_DT_01.PDT");
    // u(i) = U(Tv = 0.1 x i/2) x i/100 first exceeds 0.1 at i = 13
    // (U(0.60) x 0.12 = 0.098, U(0.65) x 0.13 = 0.109).
    const ts::PageForm& row = *FormsNamed(p, "TIJ_0001.PFM")[0];
    EXPECT_EQ(Field(row, 0), "※  13");
}

TEST(ReportPoint, DrainedUnitPages) {
    PointCase s({1});
    SoilLayerRec& l = s.in().soil[0];
    l.drain_kind = 2;
    l.drain_spacing = 1.5;
    l.drain_diameter = 0.05;
    l.alpha = 2;
    l.perm_ratio = 0;
    StageTiming& t = s.st->timing;
    t.stage_unit_coefficient[0][0] = 0.02;
    t.stage_unit_drain_length[0][0] = 1.692;  // 1.128 x 1.5
    write_point_report(*s.st, 0);
    ts::PageFile p = s.Page("TK_DT_01.PDT");
    EXPECT_TRUE(FormsNamed(p, "KCV_0010.PFM").empty());
    const ts::PageForm& u = *FormsNamed(p, "KCV_0021.PFM")[0];
    EXPECT_EQ(u.fields[2].first, 7);
    EXPECT_EQ(Field(u, 1), "ドレーン正方形配置");
    EXPECT_EQ(Field(u, 2), "───");
    EXPECT_EQ(Field(u, 3), " ───");
    EXPECT_EQ(Field(u, 4), "  1.692");
    EXPECT_EQ(Field(u, 5), "  2.000");
    EXPECT_EQ(Field(u, 6), "0.020000");
    // n = 1.692 / 0.05 = 33.84: F = n^2/(n^2-1) ln n - (3n^2-1)/(4n^2).
    const double n = 33.84;
    const double F = n * n / (n * n - 1) * std::log(n) - (3 * n * n - 1) / (4 * n * n);
    const ts::PageForm& fl = *FormsNamed(p, "KCV_0024.PFM")[0];
    EXPECT_EQ(Field(fl, 1), kova::CFormat("%8.3lf", F));
    EXPECT_EQ(Field(fl, 2), "   0.000");
    for (const char* form : {"KCV_0022.PFM", "KCV_0023.PFM", "KCV_0025.PFM"}) EXPECT_EQ(FormsNamed(p, form).size(), 1u);
}
