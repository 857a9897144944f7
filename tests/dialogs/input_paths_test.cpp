// What the user types is what the tables store: quick typing after a click,
// text that is no number, and the same refusal again and again.
#include <gtest/gtest.h>

#include <QLabel>
#include <QTableWidget>

#include "dialogs/dialog0.hpp"
#include "dialogs/dialog1.hpp"
#include "dialogs/dialog12.hpp"
#include "dialogs/dialog5.hpp"
#include "dialogs/dialog8.hpp"
#include "dialogs/limit_check.hpp"
#include "tests/dialogs/dialog_test_util.hpp"
#include "tests/support/grid_typing.hpp"

namespace kova {
namespace {

using test::ClickCurrentAndType;
using test::FakeEditorHost;
using test::TypeCell;

void Points(Model& m, int n) {
    m.BndPtCount = static_cast<i16>(n);
    for (int i = 0; i < n; ++i) m.BndPt[static_cast<std::size_t>(i)] = BoundaryPoint{10.0 * i, -1.0 * i, {}, 0};
}

// Two embankments, 18 and 19 kN/m3, stage 1.
void Embankments(Model& m) {
    m.EmbankmentCount = 2;
    for (int i = 0; i < 2; ++i) {
        m.Embankment[static_cast<std::size_t>(i)].Name = i == 0 ? "盛土1" : "盛土2";
        m.Embankment[static_cast<std::size_t>(i)].UnitWeight = 18 + i;
        m.Embankment[static_cast<std::size_t>(i)].Stage = 1;
    }
}

// One clay layer with a two-point e-logP curve.
void ClayLayer(Model& m) {
    m.SoilLayerCount = 1;
    m.SoilLayer[0].Name = "粘土";
    m.SoilParam[0].SoilType = 0;
    CurveTable& e = m.ELogPCurve[0];
    e.n = 2;
    e.X[0] = 1;
    e.Y[0] = 2.5;
    e.X[1] = 10;
    e.Y[1] = 2.0;
}

// Two points on every sand curve.
void SandCurves2(Model& m) {
    for (CurveTable& c : m.BKHoughCurve) {
        c.n = 2;
        c.X[0] = 10;
        c.X[1] = 100;
        c.Y[0] = 1.2;
        c.Y[1] = 1.0;
    }
}

void ClickSelector(QTableWidget* t, int row, int col) {
    const QRect r = t->visualRect(t->model()->index(row, col));
    QTest::mouseClick(t->viewport(), Qt::LeftButton, {}, r.center());
    QCoreApplication::processEvents();
}

TEST(TypingAtOnce, PointTableAndCurveGrids) {
    FakeEditorHost host;
    Points(*host.model, 4);
    {
        Dialog0 d(host, nullptr);
        d.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&d));
        ClickCurrentAndType(*d.Qflg_NB, 3, 1, "27");
        EXPECT_EQ(host.model->BndPt[2].X, 27);
        EXPECT_EQ(host.model->BndPt[3].X, 30);  // the next row untouched
        EXPECT_EQ(d.Qflg_NB->CellText(3, 1), "27");
        ClickCurrentAndType(*d.Qflg_NB, 4, 2, "-12.5");
        EXPECT_EQ(host.model->BndPt[3].Y, -12.5);
        d.OkClicked();
    }
    ClayLayer(*host.model);
    SandCurves2(*host.model);
    {
        Dialog5 d(host, nullptr);
        d.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&d));
        ClickSelector(d.Qflg_YD(), 0, 2);
        ClickCurrentAndType(*d.Qflg_GD(), 2, 2, "1.875");
        EXPECT_EQ(host.model->ELogPCurve[0].Y[1], 1.875);
        EXPECT_EQ(host.model->ELogPCurve[0].n, 2);
        ClickCurrentAndType(*d.Qflg_GD(), 3, 1, "250");  // a new row, numbered; a point once filled
        EXPECT_EQ(host.model->ELogPCurve[0].n, 2);
        ClickCurrentAndType(*d.Qflg_GD(), 3, 2, "1.5");
        EXPECT_EQ(host.model->ELogPCurve[0].n, 3);
        EXPECT_EQ(host.model->ELogPCurve[0].X[2], 25);
        EXPECT_EQ(d.Qflg_GD()->CellText(3, 0), "3");
        d.OkClicked();
    }
    {
        Dialog8 d(host, nullptr);
        d.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&d));
        grid::QEX_FLG& g = *d.findChild<grid::QEX_FLG*>();
        ClickCurrentAndType(g, 2, 3, "1.5");
        EXPECT_EQ(g.CellText(2, 3), "1.5");
        EXPECT_EQ(g.CellText(1, 3), "1.200");
        EXPECT_EQ(g.RowsInUse(), 2);
    }
}

// A letter in every kind of number column: a value column without a
// pattern, a decimal pattern, a whole-number pattern, an empty table's
// column, a curve's pressure and value, a sand curve.
TEST(NumberCells, LettersAreRefusedWhereverTyped) {
    FakeEditorHost host;
    Model& m = *host.model;
    Points(m, 3);
    Embankments(m);
    ClayLayer(m);
    SandCurves2(m);
    const Model before = m;
    auto expectRefused = [&](grid::QEX_FLG& g, int row, int col, const char* text, const std::string& message) {
        host.messages.Clear();
        const QString old = g.CellText(row, col);
        TypeCell(g, row, col, text);
        ASSERT_EQ(host.messages.Count(), 1u) << text;
        EXPECT_EQ(host.messages.Last().text, message) << text;
        EXPECT_EQ(g.CellText(row, col), old) << text;
        EXPECT_EQ(g.CurrentRow(), row) << text;
        EXPECT_EQ(g.CurrentCol(), col) << text;
    };
    {
        Dialog0 d(host, nullptr);
        d.show();
        expectRefused(*d.Qflg_NB, 2, 1, "abc", "「X」の2行目には数値を入力してください。");
        expectRefused(*d.Qflg_NB, 4, 2, "y", "「Y」の4行目には数値を入力してください。");
        EXPECT_EQ(m.BndPtCount, 3);
        EXPECT_EQ(m.BndPt[1].X, 10);
        d.OkClicked();
    }
    {
        Dialog1 d(host, nullptr);
        d.show();
        expectRefused(*d.Qflg_MB, 1, 2, "l5.0", "「有効重量(kN/m3)」の1行目には数値を入力してください。");
        expectRefused(*d.Qflg_MB, 2, 3, "二", "「段階載荷番号」の2行目には数値を入力してください。");
        EXPECT_EQ(m.Embankment[0].UnitWeight, 18);
        EXPECT_EQ(m.Embankment[1].Stage, 1);
        // Full-width digits are numbers.
        host.messages.Clear();
        TypeCell(*d.Qflg_MB, 1, 2, "１５．５");
        EXPECT_EQ(m.Embankment[0].UnitWeight, 15.5);
        EXPECT_EQ(host.messages.Count(), 0u);
        d.CancelClicked();
    }
    {
        Dialog12 d(host, nullptr);
        d.show();
        expectRefused(*d.Qflg_SK, 1, 1, "x", "「X」の1行目には数値を入力してください。");
        EXPECT_EQ(d.Qflg_SK->RowsInUse(), 0);
        d.CancelClicked();
    }
    {
        Dialog5 d(host, nullptr);
        d.show();
        ClickSelector(d.Qflg_YD(), 0, 2);
        expectRefused(*d.Qflg_GD(), 1, 1, "P", "「P (kN/m2)」の1行目には数値を入力してください。");
        expectRefused(*d.Qflg_GD(), 2, 2, "e", "「e」の2行目には数値を入力してください。");
        d.OkClicked();
    }
    {
        Dialog8 d(host, nullptr);
        d.show();
        grid::QEX_FLG& g = *d.findChild<grid::QEX_FLG*>();
        expectRefused(g, 1, 1, "a", "「圧力Ｐ(kN/m2)」の1行目には数値を入力してください。");
        expectRefused(g, 2, 2, "o", "「非常にゆるい砂(N=0～4)」の2行目には数値を入力してください。");
        d.CancelClicked();
    }
    for (int i = 0; i < 3; ++i) EXPECT_EQ(m.BndPt[static_cast<std::size_t>(i)].X, before.BndPt[static_cast<std::size_t>(i)].X);
    EXPECT_EQ(m.Embankment[0].UnitWeight, before.Embankment[0].UnitWeight);
    EXPECT_EQ(m.ELogPCurve[0].Y, before.ELogPCurve[0].Y);
}

TEST(NumberCells, TheSameRefusalTwiceAndThreeTimes) {
    FakeEditorHost host;
    Embankments(*host.model);
    Dialog1 d(host, nullptr);
    d.show();
    grid::QEX_FLG& g = *d.Qflg_MB;
    for (int n = 1; n <= 3; ++n) {
        host.messages.Clear();
        TypeCell(g, 2, 2, "150");
        ASSERT_EQ(host.messages.Count(), 1u) << "refusal " << n;
        EXPECT_EQ(host.messages.Last().text, "「有効重量(kN/m3)」の2行目は0～100の範囲で指定してください。");  // as its header
        EXPECT_EQ(g.CellText(2, 2), "19.000") << "refusal " << n;
        EXPECT_EQ(host.model->Embankment[1].UnitWeight, 19);
        EXPECT_EQ(g.CurrentRow(), 2) << "refusal " << n;
    }
    for (int n = 1; n <= 2; ++n) {
        host.messages.Clear();
        TypeCell(g, 2, 2, "abc");
        EXPECT_EQ(host.messages.Count(), 1u);
        EXPECT_EQ(g.CellText(2, 2), "19.000");
    }
    TypeCell(g, 2, 2, "20");
    EXPECT_EQ(host.model->Embankment[1].UnitWeight, 20);
}

TEST(SoilCurveGrid, ChoiceLimitsAndNumbers) {
    FakeEditorHost host;
    ClayLayer(*host.model);
    Dialog5 d(host, nullptr);
    d.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&d));
    // Nothing chosen: the table takes nothing and the line above says why.
    EXPECT_FALSE(test::CellEditable(*d.Qflg_GD(), 1, 1));
    EXPECT_EQ(d.Label1_1()->text(), QStringLiteral("上の表でグラフ項目（○/－）を選ぶと入力できます。"));
    ClickSelector(d.Qflg_YD(), 0, 2);
    EXPECT_EQ(d.Label1_1()->text(), QStringLiteral("下記表でグラフデータの入力を行います。"));
    // A click on "No." keeps the curve and its mark.
    ClickSelector(d.Qflg_YD(), 0, 0);
    EXPECT_EQ(d.Qflg_YD()->item(0, 2)->background().color(), QColor(0, 255, 0));
    EXPECT_TRUE(test::CellEditable(*d.Qflg_GD(), 1, 1));
    TypeCell(*d.Qflg_GD(), 1, 2, "2.25");
    EXPECT_EQ(host.model->ELogPCurve[0].Y[0], 2.25);
    // Limits in the units the user types.
    host.messages.Clear();
    TypeCell(*d.Qflg_GD(), 1, 1, "2000000");
    ASSERT_EQ(host.messages.Count(), 1u);
    EXPECT_EQ(host.messages.Last().text, "「P (kN/m2)」の1行目は0を超え1000000以下の範囲で指定してください。");
    EXPECT_EQ(d.Qflg_GD()->CellText(1, 1), "10.000");
    ClickSelector(d.Qflg_YD(), 0, 3);
    host.messages.Clear();
    TypeCell(*d.Qflg_GD(), 1, 2, "20");
    ASSERT_EQ(host.messages.Count(), 1u);
    EXPECT_EQ(host.messages.Last().text, "「Mv (m2/kN)」の1行目は0を超え10以下の範囲で指定してください。");
    TypeCell(*d.Qflg_GD(), 1, 2, "5");
    EXPECT_EQ(host.model->MvCurve[0].n, 0);  // no pressure yet: no point
    // Every row in use is numbered, typed ones too, also after an insert.
    TypeCell(*d.Qflg_GD(), 1, 1, "100");
    EXPECT_EQ(host.model->MvCurve[0].Y[0], 50);
    TypeCell(*d.Qflg_GD(), 2, 1, "200");
    TypeCell(*d.Qflg_GD(), 2, 2, "4");
    test::GridKey(*d.Qflg_GD(), 1, 1, Qt::Key_Insert);
    for (int r = 1; r <= 3; ++r) EXPECT_EQ(d.Qflg_GD()->CellText(r, 0), QString::number(r));
    EXPECT_EQ(host.model->MvCurve[0].n, 2);  // the inserted row is a point once filled
    EXPECT_EQ(host.model->MvCurve[0].X[0], 10);
}

}  // namespace
}  // namespace kova
