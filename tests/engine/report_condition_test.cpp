// The condition report TK_DATA.PDT: form sequences, row reservations and
// field texts for a full and a minimal section.
#include <gtest/gtest.h>

#include "engine/report.hpp"
#include "tests/engine/report_fixture.hpp"

using namespace reporttest;
using Seq = std::vector<std::string>;

TEST(ReportCondition, FullSection) {
    State s;
    s.in().ProjectTitle = "  盛土 A  ";
    SoilLayerRec& a = s.Soil({{0, 0}, {10, 0}, {10, -5}, {0, -5}}, 0, 1);
    a.n_value = 4;
    a.cc = 0.45;
    a.drain_kind = 1;
    a.drain_spacing = 1.2;
    a.drain_diameter = 0.05;
    a.alpha = 2;
    a.perm_ratio = 0.0005;
    SoilLayerRec& b = s.Soil({{0, -5}, {10, -5}, {10, -8}, {0, -8}}, 1, 3);
    b.drainage = 1;
    s.Cut({{6, 0}, {6, 1}, {8, 1}, {8, 0}});
    s.Block({{1, 0}, {2, 1}, {4, 1}, {5, 0}}).start_day = 10;
    s.Block({{2, 1}, {2.5, 2}, {3.5, 2}, {4, 1}}).days = 30;
    s.in().point_load_count = 1;
    s.in().point_loads[0] = LoadRec{7, 0, 0, 0, 50, 1, 5, 20};
    s.in().strip_load_count = 2;
    write_condition_report(*s.st);

    ts::PageFile p = s.Page("TK_DATA.PDT");
    EXPECT_EQ(p.title, "検討条件");
    EXPECT_EQ(p.dateLine, "   5  12  19  14   3   7" + std::string(15, ' '));
    EXPECT_EQ(FormSequence(p),
              (Seq{"SJK_0000.PFM", "SJK_0001.PFM", "SJK_0002.PFM", "SJK_0002.PFM", "SJK_0002.PFM",
                   "SJK_0003.PFM", "SJK_0004.PFM", "SJK_0005.PFM", "SJK_0006.PFM", "SJK_0020.PFM",
                   "SJK_0021.PFM", "SJK_0021.PFM", "SJK_0030.PFM", "SJK_0031.PFM", "SJK_0040.PFM",
                   "SJK_0041.PFM", "SJK_0041.PFM", "+KT_ZUMEN.PZK", "+TNK_MAX.PZK"}));
    EXPECT_TRUE(p.forms[0].newPage);
    EXPECT_FALSE(p.forms[1].newPage);
    EXPECT_TRUE(p.forms[17].newPage && p.forms[18].newPage);
    EXPECT_EQ(Field(p.forms[0], 0), "  盛土 A  ");  // blanks kept
    // Reservations: entries + 4, just before each table heading.
    EXPECT_EQ(FormsNamed(p, "SJK_0020.PFM")[0]->reserve, 6);
    EXPECT_EQ(FormsNamed(p, "SJK_0030.PFM")[0]->reserve, 5);
    EXPECT_EQ(FormsNamed(p, "SJK_0040.PFM")[0]->reserve, 6);
    int reservations = 0;
    for (const auto& f : p.forms)
        if (f.reserve >= 0) ++reservations;
    EXPECT_EQ(reservations, 3);

    // Each (form, occurrence, field, text).
    struct Want {
        const char* form;
        int nth, field;
        const char* text;
    } wants[] = {
        {"SJK_0002.PFM", 0, 0, "  1"}, {"SJK_0002.PFM", 0, 1, "粘性土"}, {"SJK_0002.PFM", 0, 2, "Ｃｃ法"},
        {"SJK_0002.PFM", 0, 3, " 両面 "}, {"SJK_0002.PFM", 0, 4, " 16.000"}, {"SJK_0002.PFM", 0, 5, "   4"},
        {"SJK_0002.PFM", 0, 6, "   0.450"}, {"SJK_0002.PFM", 1, 1, "砂質土"}, {"SJK_0002.PFM", 1, 2, "B.K.Hough"},
        {"SJK_0002.PFM", 1, 3, " 片面 "},
        // The cut block's row.
        {"SJK_0002.PFM", 2, 0, "* 1"}, {"SJK_0002.PFM", 2, 1, "切り土"}, {"SJK_0002.PFM", 2, 2, "─────"},
        {"SJK_0002.PFM", 2, 3, "───"}, {"SJK_0002.PFM", 2, 4, " 18.000"}, {"SJK_0002.PFM", 2, 5, "──"},
        {"SJK_0002.PFM", 2, 6, "────"},
        {"SJK_0005.PFM", 0, 0, "  1"}, {"SJK_0005.PFM", 0, 1, "ドレーン三角"}, {"SJK_0005.PFM", 0, 2, "   1.200"},
        {"SJK_0005.PFM", 0, 5, "0.000500"},
        {"SJK_0021.PFM", 0, 1, "  19.000"}, {"SJK_0021.PFM", 0, 2, "      10"}, {"SJK_0021.PFM", 1, 3, "      30"},
        {"SJK_0031.PFM", 0, 3, "  50.000"}, {"SJK_0031.PFM", 0, 4, "       5"}, {"SJK_0031.PFM", 0, 5, "      20"},
    };
    for (const Want& w : wants) {
        auto forms = FormsNamed(p, w.form);
        ASSERT_GT(forms.size(), static_cast<std::size_t>(w.nth)) << w.form;
        EXPECT_EQ(Field(*forms[w.nth], w.field), w.text) << w.form << " " << w.nth << "/" << w.field;
    }
    EXPECT_EQ(FormsNamed(p, "SJK_0041.PFM")[1]->fields.size(), 8u);
    EXPECT_TRUE(s.Exists("KT_ZUMEN.PZK"));
}

TEST(ReportCondition, MinimalSectionAndSwitches) {
    State s;
    s.Soil({{0, 0}, {10, 0}, {10, -5}, {0, -5}}, 0, 3);
    s.Cut({{6, 0}, {6, 1}, {8, 1}, {8, 0}});
    s.in().UseCutPreload = 0;
    s.in().UseSandImmediate = 0;
    write_condition_report(*s.st);
    ts::PageFile p = s.Page("TK_DATA.PDT");
    EXPECT_EQ(FormSequence(p), (Seq{"SJK_0000.PFM", "SJK_0001.PFM", "SJK_0002.PFM", "SJK_0003.PFM",
                                    "+KT_ZUMEN.PZK", "+TNK_MAX.PZK"}));
    EXPECT_EQ(Field(p.forms[0], 0), "");
    EXPECT_EQ(Field(p.forms[2], 2), "非圧密層");  // method 3 without the sand flag
    for (const auto& f : p.forms) EXPECT_EQ(f.reserve, -1);
}

TEST(ReportCondition, MethodTexts) {
    const char* expect[] = {"Δｅ法", "Ｃｃ法", "Ｍｖ法", "B.K.Hough", "非圧密層"};
    State s;
    for (int m = 0; m <= 4; ++m) s.Soil({{0, -m}, {10, -m}, {10, -m - 1.0}, {0, -m - 1.0}}, 0, m);
    write_condition_report(*s.st);
    ts::PageFile p = s.Page("TK_DATA.PDT");
    auto rows = FormsNamed(p, "SJK_0002.PFM");
    ASSERT_EQ(rows.size(), 5u);
    for (int m = 0; m <= 4; ++m) EXPECT_EQ(Field(*rows[m], 2), expect[m]);
}
