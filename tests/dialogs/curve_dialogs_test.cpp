// The soil-curve, sand-curve and ground-improvement dialogs driven as a
// user would, on the fake main window.
#include <gtest/gtest.h>

#include <functional>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QWindow>
#include <array>
#include <cstring>
#include <memory>

#include "dialogs/dialog11.hpp"
#include "dialogs/dialog11_form.hpp"
#include "dialogs/dialog5.hpp"
#include "dialogs/dialog8.hpp"
#include "rules/limits.hpp"
#include "platform/qt/picture_qt.hpp"
#include "testing/qt/fake_editor_host.hpp"
#include "tests/support/qt_app.hpp"
#include "tests/support/tempdir.hpp"

namespace kova {
namespace {

using test::FakeEditorHost;

// Types into a grid cell through its editor, ending with Return.
void Type(grid::QEX_FLG* g, int row, int col, const QString& text) {
    g->SetCurrentCell(row, col);
    g->edit(g->currentIndex());
    auto* ed = g->viewport()->findChild<QLineEdit*>();
    ASSERT_NE(ed, nullptr) << "no editor at " << row << "," << col;
    ed->selectAll();
    test::KeyText(ed, text);
    QTest::keyClick(ed, Qt::Key_Return);
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
}

// Picks item `index` of a drop-down cell.
void Pick(grid::QEX_FLG* g, int row, int col, int index) {
    g->SetCurrentCell(row, col);
    g->edit(g->currentIndex());
    auto* box = g->viewport()->findChild<QComboBox*>();
    ASSERT_NE(box, nullptr);
    box->setCurrentIndex(index);
    QTest::keyClick(box, Qt::Key_Return);
    QCoreApplication::processEvents();
}

void ClickCell(QTableWidget* t, int row, int col) {
    const QRect r = t->visualRect(t->model()->index(row, col));
    QTest::mouseClick(t->viewport(), Qt::LeftButton, {}, r.center());
    QCoreApplication::processEvents();
}

enum class Close { Ok, Cancel, CloseBox };

void CloseBy(QDialog& d, Close how) {
    switch (how) {
    case Close::Ok:
        for (auto* b : d.findChildren<QPushButton*>())
            if (b->text() == "OK") QTest::mouseClick(b, Qt::LeftButton);
        break;
    case Close::Cancel:
        for (auto* b : d.findChildren<QPushButton*>())
            if (b->text() == QStringLiteral("ｷｬﾝｾﾙ")) QTest::mouseClick(b, Qt::LeftButton);
        break;
    case Close::CloseBox: d.windowHandle()->close(); break;
    }
    QCoreApplication::processEvents();
}

// ---- ground improvement ------------------------------------------------------------

void ThreeLayers(Model& m) {
    m.SoilLayerCount = 3;
    const char* names[] = {"上部粘土", "中間砂層", "下部粘土"};
    for (int i = 0; i < 3; ++i) m.SoilLayer[i].Name = names[i];
    m.DrainMethod[2].Method = 2;
    m.DrainMethod[2].Detail = {1.5, 0.05, 1, 1e-7, 3, 0.2, 0.714};
}

struct Dialog11Fixture : ::testing::Test {
    void SetUp() override {
        ThreeLayers(*host.model);
        d = std::make_unique<Dialog11>(host, nullptr);
        d->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(d.get()));
    }
    void Drains(int row, const char* d1, const char* dw) {
        Pick(d->Qflg_SB(), row, 2, 1);
        Type(d->Qflg_SB(), row, 3, d1);
        Type(d->Qflg_SB(), row, 4, dw);
        Type(d->Qflg_SB(), row, 5, "1");
    }
    FakeEditorHost host;
    std::unique_ptr<Dialog11> d;
};

TEST_F(Dialog11Fixture, OpensWithEveryLayer) {
    grid::QEX_FLG* g = d->Qflg_SB();
    EXPECT_EQ(g->RowsInUse(), 3);
    EXPECT_EQ(g->CellText(0, 3), QStringLiteral("打設間隔 d  (m)"));
    EXPECT_EQ(g->CellText(1, 1), QStringLiteral("上部粘土"));
    EXPECT_EQ(g->CellText(1, 2), QStringLiteral("無処理"));
    EXPECT_EQ(g->CellText(3, 2), QStringLiteral("ドレーン工法（四角形）"));
    EXPECT_EQ(g->CellText(3, 6), QStringLiteral("0.000000"));
    EXPECT_EQ(g->CellText(1, 5), QStringLiteral("1.000"));
}

TEST_F(Dialog11Fixture, OkStoresBetaAndKeepsUntouchedDigits) {
    Drains(1, "1.2", "0.05");
    Type(d->Qflg_SB(), 1, 7, "3");
    Type(d->Qflg_SB(), 1, 8, "0.2");
    Type(d->Qflg_SB(), 2, 8, "0.6");  // untreated: stored as typed, beta 1
    CloseBy(*d, Close::Ok);
    EXPECT_FALSE(d->isVisible());
    const Model& m = *host.model;
    EXPECT_EQ(m.DrainMethod[0].Method, 1);
    EXPECT_DOUBLE_EQ(m.DrainMethod[0].Detail[kReductionFactor], 0.714);
    EXPECT_EQ(m.DrainMethod[1].Detail[kReplaceRatio], 0.6);
    EXPECT_EQ(m.DrainMethod[1].Detail[kReductionFactor], 1);
    EXPECT_EQ(m.DrainMethod[2].Detail[kPermRatio], 1e-7);  // shown as 0.000000, kept
    EXPECT_EQ(m.DrainMethod[2].Detail[kSpacing], 1.5);
}

TEST_F(Dialog11Fixture, RefusedRowKeepsTheDialogOpenAndStoresNothing) {
    Drains(1, "1.2", "1.3");
    Type(d->Qflg_SB(), 2, 8, "0.6");
    CloseBy(*d, Close::Ok);
    EXPECT_TRUE(d->isVisible());
    ASSERT_EQ(host.messages.Count(), 1u);
    EXPECT_EQ(host.messages.Last().text, "土層 1：有効径 de（1.05d）が直径 dw 以下です。");
    EXPECT_EQ(host.model->DrainMethod[0].Method, 0);
    EXPECT_EQ(host.model->DrainMethod[1].Detail[kReplaceRatio], 0);
    Type(d->Qflg_SB(), 1, 4, "0.05");
    CloseBy(*d, Close::Ok);
    EXPECT_FALSE(d->isVisible());
    EXPECT_EQ(host.model->DrainMethod[0].Method, 1);
}

TEST_F(Dialog11Fixture, ValueOutsideTheLimitsIsRefusedAtOnce) {
    Type(d->Qflg_SB(), 1, 3, "-1");
    ASSERT_EQ(host.messages.Count(), 1u);
    EXPECT_EQ(host.messages.Last().text, "「打設間隔 d(m)」の1行目は0～100の範囲で指定してください。");  // as its header
    EXPECT_EQ(d->Qflg_SB()->CellText(1, 3), QStringLiteral("0.000"));
}

TEST(Dialog11, NoSoilLayersShowsTheHeaderOnly) {
    FakeEditorHost host;
    Dialog11 d(host, nullptr);
    d.show();
    EXPECT_EQ(d.Qflg_SB()->RowsInUse(), 0);
    CloseBy(d, Close::Ok);
    EXPECT_FALSE(d.isVisible());
    EXPECT_EQ(host.messages.Count(), 0u);
}

TEST(Dialog11, CancelAndCloseBoxStoreNothing) {
    for (Close how : {Close::Cancel, Close::CloseBox}) {
        FakeEditorHost host;
        ThreeLayers(*host.model);
        const Model before = *host.model;
        Dialog11 d(host, nullptr);
        d.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&d));
        Pick(d.Qflg_SB(), 1, 2, 2);
        Type(d.Qflg_SB(), 3, 3, "2.5");
        CloseBy(d, how);
        EXPECT_FALSE(d.isVisible());
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(host.model->DrainMethod[i].Method, before.DrainMethod[i].Method);
            EXPECT_EQ(host.model->DrainMethod[i].Detail, before.DrainMethod[i].Detail);
        }
    }
}

// ---- sand curves ---------------------------------------------------------------------

void SandCurves3(Model& m) {
    const double p[] = {9.81, 20, 40};
    for (int c = 0; c < kSandCurves; ++c) {
        m.BKHoughCurve[c].n = 3;
        for (int a = 0; a < 3; ++a) {
            m.BKHoughCurve[c].X[a] = p[a];
            m.BKHoughCurve[c].Y[a] = 1.2 - 0.1 * c - 0.05 * a;
        }
    }
}

struct Dialog8Fixture : ::testing::Test {
    void SetUp() override {
        host.appPath = dir.path();
        SandCurves3(*host.model);
        d = std::make_unique<Dialog8>(host, nullptr);
        d->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(d.get()));
    }
    test::TempDir dir;
    FakeEditorHost host;
    std::unique_ptr<Dialog8> d;
};

TEST_F(Dialog8Fixture, Row2PressureReachesAllFiveCurves) {
    EXPECT_EQ(d->Qflg_BK()->RowsInUse(), 3);
    EXPECT_EQ(d->Qflg_BK()->CellText(1, 1), QStringLiteral("9.8"));
    Type(d->Qflg_BK(), 2, 1, "25");
    CloseBy(*d, Close::Ok);
    for (int c = 0; c < kSandCurves; ++c) {
        EXPECT_EQ(host.model->BKHoughCurve[c].X[1], 25);
        EXPECT_EQ(host.model->BKHoughCurve[c].X[0], 9.81);  // untouched, not 9.8
        EXPECT_EQ(host.model->BKHoughCurve[c].n, 3);
    }
}

// A void ratio typed larger than the one above it, in any of the five
// curves, is asked about at OK: "no" keeps the dialog open with the model
// untouched, "yes" stores it; a curve that falls or stays level passes.
TEST(Dialog8, OkAsksAboutAVoidRatioRisingWithPressure) {
    for (int curve = 0; curve < kSandCurves; ++curve)
        for (MsgAnswer answer : {MsgAnswer::No, MsgAnswer::Yes}) {
            FakeEditorHost host;
            SandCurves3(*host.model);
            const Model before = *host.model;
            Dialog8 d(host, nullptr);
            d.show();
            Type(d.Qflg_BK(), 3, 2 + curve, "6.83");
            host.messages.Script(answer);
            CloseBy(d, Close::Ok);
            ASSERT_EQ(host.messages.Count(), 1u) << curve;
            const Message& m = host.messages.Last();
            EXPECT_EQ(m.buttons, MsgButtons::YesNo);
            const QString header = d.Qflg_BK()->CellText(0, 2 + curve).remove(QLatin1Char('\n'));
            EXPECT_NE(m.text.find(header.left(header.indexOf(QLatin1Char('('))).toStdString()), std::string::npos) << m.text;
            EXPECT_NE(m.text.find("6.830"), std::string::npos) << m.text;
            EXPECT_EQ(d.isVisible(), answer == MsgAnswer::No) << curve;
            EXPECT_EQ(host.model->BKHoughCurve[curve].Y[2] == before.BKHoughCurve[curve].Y[2], answer == MsgAnswer::No);
        }
    FakeEditorHost host;
    SandCurves3(*host.model);
    Dialog8 d(host, nullptr);
    d.show();
    Type(d.Qflg_BK(), 2, 2, "1.2");  // level with the row above
    CloseBy(d, Close::Ok);
    EXPECT_EQ(host.messages.Count(), 0u);
    EXPECT_FALSE(d.isVisible());
}

TEST_F(Dialog8Fixture, StoreThenCancelReplacesOnlyTheFile) {
    Type(d->Qflg_BK(), 1, 1, "10");
    Type(d->Qflg_BK(), 1, 2, "1.2");
    host.messages.Script(MsgAnswer::Ok);
    QTest::mouseClick(d->cmd_dg9(0), Qt::LeftButton);
    EXPECT_EQ(test::ReadBytes(dir / "BKHough1.CSV").substr(0, 39), "3\r\n10.0,1.200,1.100,1.000,0.900,0.800\r\n");
    CloseBy(*d, Close::Cancel);
    EXPECT_EQ(host.model->BKHoughCurve[0].X[0], 9.81);
}

TEST_F(Dialog8Fixture, RestoreThenCancelKeepsTheRestoredCurves) {
    std::ofstream(dir / "BKHough1.CSV", std::ios::binary) << "2\r\n10.0,1,1,1,1,1\r\n20.0,0.9,0.9,0.9,0.9,0.9\r\n";
    host.messages.Script(MsgAnswer::Ok);
    QTest::mouseClick(d->cmd_dg9(1), Qt::LeftButton);
    EXPECT_EQ(d->Qflg_BK()->RowsInUse(), 2);
    EXPECT_EQ(d->Qflg_BK()->CellText(2, 6), QStringLiteral("0.900"));
    CloseBy(*d, Close::Cancel);
    EXPECT_EQ(host.model->BKHoughCurve[4].n, 2);
    EXPECT_EQ(host.model->BKHoughCurve[4].Y[1], 0.9);
}

TEST(Dialog8, TwentyOnePointsShownAndKept) {
    FakeEditorHost host;
    for (int c = 0; c < kSandCurves; ++c) {
        host.model->BKHoughCurve[c].n = 21;
        for (int a = 0; a < 21; ++a) host.model->BKHoughCurve[c].X[a] = 9.81 * (a + 1);
    }
    Dialog8 d(host, nullptr);
    d.show();
    EXPECT_EQ(d.Qflg_BK()->RowsInUse(), 21);
    Type(d.Qflg_BK(), 21, 2, "0.5");
    host.messages.Script(MsgAnswer::Yes);  // kept, though it rises from the 0 above
    CloseBy(d, Close::Ok);
    EXPECT_EQ(host.model->BKHoughCurve[0].n, 21);
    EXPECT_EQ(host.model->BKHoughCurve[0].Y[20], 0.5);
    EXPECT_EQ(host.model->BKHoughCurve[3].X[20], 9.81 * 21);
}

// ---- soil curves ---------------------------------------------------------------------

// Layers 1 sand, 2 and 3 clay; layer 3 has a three-point Mv curve.
void Layers(Model& m) {
    m.SoilLayerCount = 3;
    const char* names[] = {"砂層", "上部粘土", "下部粘土"};
    for (int i = 0; i < 3; ++i) {
        m.SoilLayer[i].Name = names[i];
        m.SoilParam[i].SoilType = i == 0 ? 1 : 0;
    }
    CurveTable& mv = m.MvCurve[2];
    mv.n = 3;
    const double x[] = {10, 9.81, 100};
    const double y[] = {0.05, 0.001234, 0.01};
    for (int k = 0; k < 3; ++k) {
        mv.X[k] = x[k];
        mv.Y[k] = y[k];
    }
}

struct Dialog5Fixture : ::testing::Test {
    void SetUp() override {
        Layers(*host.model);
        before = std::make_unique<Model>(*host.model);
        d = std::make_unique<Dialog5>(host, nullptr);
        d->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(d.get()));
    }
    FakeEditorHost host;
    std::unique_ptr<Model> before;
    std::unique_ptr<Dialog5> d;
};

TEST_F(Dialog5Fixture, MvEditStoresAsShownOthersExact) {
    QTableWidget* sel = d->Qflg_YD();
    ASSERT_EQ(sel->rowCount(), 2);
    EXPECT_EQ(sel->item(1, 0)->text(), "2");
    EXPECT_EQ(sel->item(1, 3)->text(), QStringLiteral("○"));
    ClickCell(sel, 1, 3);
    EXPECT_EQ(d->Form().rw(), 3);
    EXPECT_EQ(sel->item(1, 3)->background().color(), QColor(0, 255, 0));
    grid::QEX_FLG* g = d->Qflg_GD();
    EXPECT_EQ(g->CellText(0, 2), QStringLiteral("Mv (m2/kN)"));
    EXPECT_EQ(g->CellText(1, 1), QStringLiteral("100.000"));
    EXPECT_EQ(g->CellText(1, 2), QStringLiteral("0.005000"));
    EXPECT_EQ(d->lbl_1()->text(), QStringLiteral("LogMv"));
    // The plot's labels are drawn in the box's font: a Japanese one.
    EXPECT_TRUE(QFontInfo(d->Picture1()->font()).family().contains("IPA")) << QFontInfo(d->Picture1()->font()).family().toStdString();
    Type(g, 1, 2, "0.004");
    const CurveTable& mv = host.model->MvCurve[2];
    EXPECT_DOUBLE_EQ(mv.Y[0], 0.04);
    EXPECT_EQ(mv.X[0], 10);
    EXPECT_EQ(mv.X[1], 9.81);       // shown 98.100, kept
    EXPECT_EQ(mv.Y[1], 0.001234);  // shown 0.000123, kept
    // Deleting the first row moves the kept points up with their own values.
    g->SetCurrentCell(1, 1);
    g->DeleteRow();
    QCoreApplication::processEvents();
    EXPECT_EQ(mv.n, 2);
    EXPECT_EQ(mv.Y[0], 0.001234);
    EXPECT_EQ(mv.X[1], 100);
    CloseBy(*d, Close::Ok);
    EXPECT_EQ(host.model->MvCurve[2].n, 2);
}

TEST_F(Dialog5Fixture, NewPointTurnsTheMarkAndCancelRestores) {
    for (Close how : {Close::Cancel, Close::CloseBox}) {
        if (!d) {
            d = std::make_unique<Dialog5>(host, nullptr);
            d->show();
            ASSERT_TRUE(QTest::qWaitForWindowExposed(d.get()));
        }
        ClickCell(d->Qflg_YD(), 0, 2);
        EXPECT_EQ(d->Qflg_YD()->item(0, 2)->text(), QStringLiteral("－"));
        Type(d->Qflg_GD(), 1, 1, "250");
        EXPECT_EQ(host.model->ELogPCurve[1].n, 0);  // half a point is none
        Type(d->Qflg_GD(), 1, 2, "1.5");
        EXPECT_EQ(host.model->ELogPCurve[1].X[0], 25);
        EXPECT_EQ(host.model->ELogPCurve[1].n, 1);
        EXPECT_EQ(d->Qflg_YD()->item(0, 2)->text(), QStringLiteral("○"));
        ClickCell(d->Qflg_YD(), 1, 3);
        Type(d->Qflg_GD(), 2, 2, "0.002");
        CloseBy(*d, how);
        EXPECT_FALSE(d->isVisible());
        EXPECT_EQ(host.model->ELogPCurve[1].n, 0);
        EXPECT_EQ(host.model->MvCurve[2].Y, before->MvCurve[2].Y);
        d.reset();
    }
}

// Whatever the curve, a new row with only its pressure, its value refused
// or only a value is no point: the curve keeps its points, none of them 0.
TEST_F(Dialog5Fixture, NoHalfFilledPointIsEverStored) {
    const struct {
        int col;
        std::array<CurveTable, kMaxBlocks + 1> Model::*curves;
        const char* refused;
    } kinds[] = {{2, &Model::ELogPCurve, "-1"}, {3, &Model::MvCurve, "1e9"}, {4, &Model::CvCurve, "-5"}};
    for (const auto& k : kinds) {
        ClickCell(d->Qflg_YD(), 1, k.col);
        const CurveTable& curve = (*host.model.*k.curves)[2];
        const int n = curve.n;
        grid::QEX_FLG* g = d->Qflg_GD();
        Type(g, n + 1, 1, "500");
        EXPECT_EQ(curve.n, n) << k.col;
        host.messages.Clear();
        Type(g, n + 1, 2, k.refused);
        EXPECT_EQ(host.messages.Count(), 1u) << k.col;
        EXPECT_EQ(curve.n, n) << k.col;
        Type(g, n + 2, 2, "3");  // a value without its pressure
        EXPECT_EQ(curve.n, n) << k.col;
        for (int a = 0; a < curve.n; ++a) EXPECT_NE(curve.Y[a], 0) << k.col << " point " << a;
    }
    CloseBy(*d, Close::Ok);
    EXPECT_EQ(host.model->MvCurve[2].n, 3);
    EXPECT_EQ(host.model->ELogPCurve[2].n, 0);
}

TEST_F(Dialog5Fixture, TableTakesNoEditUntilACurveIsChosen) {
    grid::QEX_FLG* g = d->Qflg_GD();
    g->SetCurrentCell(1, 1);
    g->edit(g->currentIndex());
    EXPECT_EQ(g->viewport()->findChild<QLineEdit*>(), nullptr);
    EXPECT_FALSE(g->InsertRow());
    ClickCell(d->Qflg_YD(), 1, 3);
    ClickCell(d->Qflg_YD(), 1, 1);  // a name: the table shows the curve but takes nothing
    g->edit(g->currentIndex());
    EXPECT_EQ(g->viewport()->findChild<QLineEdit*>(), nullptr);
    EXPECT_EQ(host.model->MvCurve[2].n, 3);
}

TEST_F(Dialog5Fixture, AxisBoxes) {
    ClickCell(d->Qflg_YD(), 0, 2);
    QLineEdit* y = d->txt_y();
    y->setFocus();
    QApplication::setActiveWindow(d.get());
    QCoreApplication::processEvents();
    ASSERT_EQ(d->Form().pic_sw(), 1);
    const int renders = d->Picture1()->RenderCount();
    y->selectAll();
    QTest::keyClicks(y, "0.5");
    EXPECT_EQ(d->Picture1()->RenderCount(), renders);  // "0", "0." and "0.5" are below 1: no repaint
    EXPECT_EQ(d->Form().CurveYMax(0), 6);
    EXPECT_EQ(y->text(), "0.5");
    y->selectAll();
    QTest::keyClicks(y, "6.5");
    EXPECT_EQ(d->Form().CurveYMax(0), 6.5);
    d->OKButton()->setFocus();
    QCoreApplication::processEvents();
    EXPECT_EQ(d->Form().pic_sw(), 0);
    ClickCell(d->Qflg_YD(), 0, 3);
    ClickCell(d->Qflg_YD(), 0, 2);
    EXPECT_EQ(y->text(), "7");
}

// The axis maxima refuse a letter every time, naming the box; the plot and
// the curve keep the maximum the box gets back.
TEST_F(Dialog5Fixture, AxisBoxesRefuseLettersEveryTime) {
    ClickCell(d->Qflg_YD(), 0, 2);
    QApplication::setActiveWindow(d.get());
    const struct {
        QLineEdit* box;
        const char* message;
        std::function<double()> stored;
    } boxes[] = {
        {d->txt_x(), "「圧力軸の最大値」には数値を入力してください。", [&] { return d->Form().CurveXMax(0); }},
        {d->txt_y(), "「縦軸の最大値」には数値を入力してください。", [&] { return d->Form().CurveYMax(0); }},
    };
    for (const auto& b : boxes) {
        const QString kept = b.box->text();
        const double value = b.stored();
        for (const char* bad : {"l000", "x", "l000"}) {
            SCOPED_TRACE(std::string(b.message) + " " + bad);
            host.messages.Clear();
            b.box->setFocus();
            b.box->selectAll();
            QTest::keyClicks(b.box, QString::fromUtf8(bad));
            QTest::keyClick(b.box, Qt::Key_Tab);
            ASSERT_EQ(host.messages.Count(), 1u);
            EXPECT_EQ(host.messages.Last().text, b.message);
            EXPECT_EQ(b.box->text(), kept);
            EXPECT_TRUE(b.box->hasFocus());
            EXPECT_EQ(b.stored(), value);
        }
    }
}

TEST_F(Dialog5Fixture, SandButtonOpensTheSandCurves) {
    bool opened = false;
    test::WhenModal<Dialog8>([&](Dialog8* s) {
        opened = true;
        s->CancelClicked();
    });
    QTest::mouseClick(d->cmd_dg5(), Qt::LeftButton);
    EXPECT_TRUE(opened);
    EXPECT_TRUE(d->isVisible());
}


// ---- round trips ---------------------------------------------------------------------

// Values that no display format shows whole.
constexpr double kAwkward[] = {1.23456, 0.0001234, 9.81, 1e-7, 0.333333333333, 12345.6789, 2.5e-5};

double Awkward(int k) { return kAwkward[static_cast<std::size_t>(k) % std::size(kAwkward)] * (1 + k); }

bool SameBits(const CurveTable& a, const CurveTable& b) {
    return a.n == b.n && std::memcmp(a.X.data(), b.X.data(), sizeof a.X) == 0 &&
           std::memcmp(a.Y.data(), b.Y.data(), sizeof a.Y) == 0;
}

// Two clay layers, each curve full (21 points) of awkward values.
void AwkwardCurves(Model& m) {
    m.SoilLayerCount = 2;
    for (int i = 0; i < 2; ++i) {
        m.SoilLayer[i].Name = i == 0 ? "上部粘土" : "下部粘土";
        m.SoilParam[i].SoilType = 0;
        for (auto* t : {&m.ELogPCurve, &m.MvCurve, &m.CvCurve}) {
            CurveTable& c = (*t)[i];
            c.n = kMaxCurvePts;
            for (int k = 0; k < kMaxCurvePts; ++k) {
                c.X[k] = Awkward(k + i);
                c.Y[k] = Awkward(k + 3 + i);
            }
        }
    }
}

TEST(CurveRoundTrip, Dialog5OkWithoutEditsKeepsEveryBitAndOneEditOneValue) {
    FakeEditorHost host;
    AwkwardCurves(*host.model);
    const Model before = *host.model;
    Dialog5 d(host, nullptr);
    d.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&d));
    // Visit every curve of both layers, and the name column between them.
    for (int row : {0, 1})
        for (int col : {2, 3, 4, 1}) ClickCell(d.Qflg_YD(), row, col);
    CloseBy(d, Close::Ok);
    for (int i = 0; i < 2; ++i) {
        EXPECT_TRUE(SameBits(host.model->ELogPCurve[i], before.ELogPCurve[i])) << i;
        EXPECT_TRUE(SameBits(host.model->MvCurve[i], before.MvCurve[i])) << i;
        EXPECT_TRUE(SameBits(host.model->CvCurve[i], before.CvCurve[i])) << i;
    }

    // One edit per kind: only the typed value moves, as shown in the model's units.
    const int kinds[] = {2, 3, 4};
    for (int kind : kinds) {
        FakeEditorHost h;
        AwkwardCurves(*h.model);
        Dialog5 e(h, nullptr);
        e.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&e));
        ClickCell(e.Qflg_YD(), 1, kind);
        Type(e.Qflg_GD(), 21, 2, "0.5");
        Type(e.Qflg_GD(), 7, 1, "250");
        CloseBy(e, Close::Ok);
        auto& table = kind == 2 ? h.model->ELogPCurve : kind == 3 ? h.model->MvCurve : h.model->CvCurve;
        const auto& old = kind == 2 ? before.ELogPCurve : kind == 3 ? before.MvCurve : before.CvCurve;
        CurveTable want = old[1];
        want.Y[20] = kind == 3 ? 5 : 0.5;
        want.X[6] = 25;
        EXPECT_EQ(table[1].n, kMaxCurvePts) << kind;
        for (int k = 0; k < kMaxCurvePts; ++k) {
            EXPECT_EQ(table[1].X[k], want.X[k]) << kind << " X" << k;
            EXPECT_EQ(table[1].Y[k], want.Y[k]) << kind << " Y" << k;
        }
        EXPECT_TRUE(SameBits(table[0], old[0])) << kind;
    }
}

TEST(CurveRoundTrip, Dialog8OkWithoutEditsKeepsEveryBitAndOneEditOneValue) {
    for (bool edit : {false, true}) {
        FakeEditorHost host;
        for (int c = 0; c <= kSandCurves; ++c) {
            CurveTable& t = host.model->BKHoughCurve[c];
            t.n = kMaxCurvePts;
            for (int a = 0; a < kMaxCurvePts; ++a) {
                t.X[a] = Awkward(a);
                t.Y[a] = Awkward(a + c + 1);
            }
        }
        const Model before = *host.model;
        Dialog8 d(host, nullptr);
        d.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&d));
        if (edit) Type(d.Qflg_BK(), 4, 5, "0.75");
        host.messages.Script(MsgAnswer::Yes);  // the awkward curves rise: kept as they stand
        CloseBy(d, Close::Ok);
        for (int c = 0; c <= kSandCurves; ++c) {
            CurveTable want = before.BKHoughCurve[c];
            if (edit && c == 3) want.Y[3] = 0.75;
            EXPECT_TRUE(SameBits(host.model->BKHoughCurve[c], want)) << edit << " curve " << c;
        }
    }
}

TEST(CurveRoundTrip, Dialog11OkWithoutEditsKeepsEveryTypedValue) {
    for (bool edit : {false, true}) {
        FakeEditorHost host;
        Model& m = *host.model;
        m.SoilLayerCount = 4;
        for (int i = 0; i < 4; ++i) m.SoilLayer[i].Name = "層" + std::to_string(i + 1);
        m.DrainMethod[0] = {0, {1.23456, 0.0001234, 9.81, 1e-7, 1.23456, 0.0001234, 1}};
        m.DrainMethod[1] = {1, {1.23456, 0.0512345, 0.98765, 1e-7, 2.345678, 0.2345678, 0.5}};
        m.DrainMethod[2] = {2, {2.0000001, 0.0501, 1.00049, 0.0001234, 9.81, 0.6000001, 0.4}};
        m.DrainMethod[3] = {7, {0.5, 0.5, 0.5, 0.5, 0.5, 0.5, 0.5}};  // a code outside the list
        const Model before = m;
        Dialog11 d(host, nullptr);
        d.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&d));
        if (edit) Type(d.Qflg_SB(), 2, 5, "1.5");
        CloseBy(d, Close::Ok);
        EXPECT_FALSE(d.isVisible());
        for (int i = 0; i < 4; ++i) {
            DrainMethodRec want = before.DrainMethod[i];
            if (edit && i == 1) want.Detail[kAlpha] = 1.5;
            EXPECT_EQ(m.DrainMethod[i].Method, want.Method) << i;
            for (int k = 0; k < 6; ++k) EXPECT_EQ(m.DrainMethod[i].Detail[k], want.Detail[k]) << edit << " " << i << "," << k;
            EXPECT_EQ(m.DrainMethod[i].Detail[kReductionFactor], ReductionFactor(want.Method, want.Detail[kShareRatio], want.Detail[kReplaceRatio])) << i;
        }
    }
}


TEST(CurveRoundTrip, InsertsDeletesAndRefusedEntriesMoveOnlyWhatTheUserTouched) {
    FakeEditorHost host;
    AwkwardCurves(*host.model);
    host.model->MvCurve[0].n = 20;
    for (int c = 0; c < kSandCurves; ++c) {
        host.model->BKHoughCurve[c].n = 4;
        for (int a = 0; a < 4; ++a) {
            host.model->BKHoughCurve[c].X[a] = Awkward(a);
            host.model->BKHoughCurve[c].Y[a] = Awkward(a + c);
        }
    }
    const Model before = *host.model;
    Dialog5 d(host, nullptr);
    d.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&d));
    ClickCell(d.Qflg_YD(), 0, 3);
    grid::QEX_FLG* g = d.Qflg_GD();
    g->SetCurrentCell(3, 1);
    ASSERT_TRUE(g->InsertRow());
    QCoreApplication::processEvents();
    Type(g, 3, 1, "100");
    Type(g, 3, 2, "0.002");
    Type(g, 5, 2, "-1");  // refused: the point keeps its own value
    g->SetCurrentCell(1, 1);
    ASSERT_TRUE(g->DeleteRow());
    QCoreApplication::processEvents();
    CloseBy(d, Close::Ok);
    const CurveTable& was = before.MvCurve[0];
    const CurveTable& now = host.model->MvCurve[0];
    ASSERT_EQ(now.n, 20);
    // Old points 1, (new), 2, 3, ... 19.
    EXPECT_EQ(now.X[0], was.X[1]);
    EXPECT_EQ(now.Y[0], was.Y[1]);
    EXPECT_EQ(now.X[1], 10);
    EXPECT_DOUBLE_EQ(now.Y[1], 0.02);
    for (int k = 2; k < 20; ++k) {
        EXPECT_EQ(now.X[k], was.X[k]) << k;
        EXPECT_EQ(now.Y[k], was.Y[k]) << k;
    }

    Dialog8 s(host, nullptr);
    s.show();
    s.Qflg_BK()->SetCurrentCell(1, 1);
    ASSERT_TRUE(s.Qflg_BK()->DeleteRow());
    host.messages.Script(MsgAnswer::Yes);  // the awkward curves rise: kept as they stand
    CloseBy(s, Close::Ok);
    for (int c = 0; c < kSandCurves; ++c) {
        EXPECT_EQ(host.model->BKHoughCurve[c].n, before.BKHoughCurve[c].n - 1);
        for (int a = 0; a + 1 < before.BKHoughCurve[c].n; ++a) {
            EXPECT_EQ(host.model->BKHoughCurve[c].X[a], before.BKHoughCurve[c].X[a + 1]);
            EXPECT_EQ(host.model->BKHoughCurve[c].Y[a], before.BKHoughCurve[c].Y[a + 1]);
        }
    }
}

}  // namespace
}  // namespace kova
