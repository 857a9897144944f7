#include <gtest/gtest.h>

#include <memory>

#include "dialogs/dialog5_form.hpp"

namespace kova {
namespace {

using Row = Dialog5Form::RowInput;

// Layers: 1 sand, 2 clay "粘土A", 3 clay "粘土B".
std::unique_ptr<Model> SandThenClay() {
    auto m = std::make_unique<Model>();
    m->SoilLayerCount = 3;
    const char* names[] = {"砂層", "粘土A", "粘土B"};
    for (int i = 0; i < 3; ++i) {
        m->SoilLayer[i].Name = names[i];
        m->SoilParam[i].SoilType = i == 0 ? 1 : 0;
    }
    m->MvCurve[2].n = 1;
    m->MvCurve[2].X[0] = 10;
    m->MvCurve[2].Y[0] = 0.05;
    return m;
}

TEST(Dialog5Form, SelectorListsClayOnlyAndMapsRowsToLayers) {
    auto m = SandThenClay();
    Dialog5Form f(*m);
    ASSERT_EQ(f.SelectorRows(), 2);
    EXPECT_EQ(f.SelectorText(0, 3), "LogMv-LogP");
    EXPECT_EQ(f.SelectorText(2, 0), "2");
    EXPECT_EQ(f.SelectorText(2, 1), "粘土B");
    EXPECT_EQ(f.SelectorText(2, 2), "－");
    EXPECT_EQ(f.SelectorText(2, 3), "○");
    EXPECT_FALSE(f.PointsEditable());  // nothing chosen on opening
    ASSERT_TRUE(f.Choose(2, 3));
    EXPECT_EQ(f.rw(), 3);
    EXPECT_EQ(f.Kind(), CurveKind::MvLogP);
    EXPECT_EQ(f.ValueHeader(), "Mv (m2/kN)");
    EXPECT_EQ(f.PointText(0, 1), "100.000");
    EXPECT_EQ(f.PointText(0, 2), "0.005000");
    EXPECT_EQ(f.XText(), "1000");
    EXPECT_EQ(f.YText(), "0.10");
}

TEST(Dialog5Form, EditsStoreAsShownAndLeaveOtherPointsExact) {
    struct Case {
        int selRow, selCol;
        std::vector<Row> rows;
        int n;
        double x0, y0;
        const char* mark;
    } cases[] = {
        {2, 3, {{0, std::nullopt, 0.004}}, 1, 10, 0.04, "○"},  // Mv typed: x 10
        {1, 2, {{-1, 250.0, std::nullopt}}, 1, 25, 0, "○"},   // P typed into the first empty row
        {2, 3, {}, 0, 10, 0.05, "－"},                        // the last row deleted
    };
    for (const Case& c : cases) {
        auto m = SandThenClay();
        Dialog5Form f(*m);
        ASSERT_TRUE(f.Choose(c.selRow, c.selCol));
        f.UpdatePoints(c.rows);
        f.StorePoints();
        const CurveTable& t = c.selCol == 2 ? m->ELogPCurve[f.rw() - 1] : m->MvCurve[f.rw() - 1];
        EXPECT_EQ(t.n, c.n);
        EXPECT_DOUBLE_EQ(t.X[0], c.x0);
        EXPECT_DOUBLE_EQ(t.Y[0], c.y0);
        EXPECT_EQ(f.SelectorText(c.selRow, c.selCol), c.mark);
    }
}

TEST(Dialog5Form, TwentyOnePointsWholeAndUntouchedExact) {
    auto m = SandThenClay();
    CurveTable& mv = m->MvCurve[1];
    mv.n = 21;
    for (int k = 0; k < 21; ++k) {
        mv.X[k] = 0.981 * (k + 1);    // 9.81 kN/m2 steps
        mv.Y[k] = 0.001234 / (k + 1);  // Mv 0.0001234 m2/kN and less
    }
    const CurveTable before = mv;
    Dialog5Form f(*m);
    ASSERT_TRUE(f.Choose(1, 3));
    ASSERT_EQ(f.PointCount(), 21);
    std::vector<Row> rows;
    for (int k = 0; k < 21; ++k) rows.push_back({k, std::nullopt, std::nullopt});
    // Point 3 deleted, a row inserted at 10, row 5 typed.
    rows.erase(rows.begin() + 3);
    rows.insert(rows.begin() + 10, Row{});
    rows[5].value = 0.0002;
    f.UpdatePoints(rows);
    f.StorePoints();
    EXPECT_EQ(mv.n, 21);
    for (int k = 0; k < 21; ++k) {
        if (k == 5 || k == 10) continue;
        const int from = k < 3 ? k : k < 10 ? k + 1 : k;
        EXPECT_EQ(mv.X[k], before.X[from]) << k;
        EXPECT_EQ(mv.Y[k], before.Y[from]) << k;
    }
    EXPECT_EQ(mv.X[5], before.X[6]);
    EXPECT_DOUBLE_EQ(mv.Y[5], 0.002);
    EXPECT_EQ(mv.X[10], 0);
}

TEST(Dialog5Form, NameColumnStoresNothingAndRestorePutsEverythingBack) {
    auto m = SandThenClay();
    const Model before = *m;
    Dialog5Form f(*m);
    ASSERT_TRUE(f.Choose(1, 2));
    f.UpdatePoints({{-1, 100.0, 1.5}});
    f.StorePoints();
    ASSERT_TRUE(f.Choose(2, 4));
    f.UpdatePoints({{-1, 10.0, 30.0}});
    f.StorePoints();
    EXPECT_EQ(m->CvCurve[2].n, 1);
    EXPECT_FALSE(f.Choose(2, 1));
    EXPECT_FALSE(f.PointsEditable());
    f.UpdatePoints({});
    f.StorePoints();
    EXPECT_EQ(m->CvCurve[2].n, 1);  // the name column took nothing
    f.Restore();
    for (int i = 0; i < 21; ++i) {
        EXPECT_EQ(m->ELogPCurve[i].n, before.ELogPCurve[i].n);
        EXPECT_EQ(m->ELogPCurve[i].X, before.ELogPCurve[i].X);
        EXPECT_EQ(m->CvCurve[i].n, before.CvCurve[i].n);
        EXPECT_EQ(m->MvCurve[i].Y, before.MvCurve[i].Y);
    }
}

TEST(Dialog5Form, AxisBoxes) {
    auto m = SandThenClay();
    Dialog5Form f(*m);
    ASSERT_TRUE(f.Choose(1, 2));
    f.SetBoxFocus(true);
    EXPECT_FALSE(f.YEdited("0.5"));  // below 1 for e: refused, text kept
    EXPECT_EQ(f.CurveYMax(0), 6);
    EXPECT_EQ(f.YText(), "0.5");
    EXPECT_TRUE(f.YEdited("6.5"));
    EXPECT_TRUE(f.XEdited("2500.4"));
    EXPECT_FALSE(f.XEdited("100001"));
    EXPECT_EQ(f.CurveXMax(0), 2500.4);
    ASSERT_TRUE(f.Choose(1, 2));
    EXPECT_EQ(f.YText(), "7");
    EXPECT_EQ(f.XText(), "2500");

    // A refused 1E300 stays in the box, and the plot draws nothing with it.
    EXPECT_FALSE(f.YEdited("1E300"));
    EXPECT_EQ(*f.PlotInput().valueMax, 1e300);

    ASSERT_TRUE(f.Choose(1, 3));
    f.SetBoxFocus(true);
    EXPECT_TRUE(f.YEdited("0.004"));
    ASSERT_TRUE(f.Choose(1, 3));
    EXPECT_EQ(f.YText(), "0.00");
    EXPECT_EQ(*f.PlotInput().valueMax, 0);

    // Out of focus, a change stores nothing.
    f.SetBoxFocus(false);
    EXPECT_FALSE(f.YEdited("0.5"));
    EXPECT_EQ(f.CurveYMax(1), 0.004);

    Dialog5Form again(*m);  // each opening starts from the defaults
    EXPECT_EQ(again.XText(), "1000");
    EXPECT_EQ(again.YText(), "6");
    EXPECT_EQ(again.CurveYMax(1), 0.1);
}

}  // namespace
}  // namespace kova
