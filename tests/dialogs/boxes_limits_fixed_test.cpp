#include <gtest/gtest.h>

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <memory>

#include "dialogs/dialog0.hpp"
#include "dialogs/dialog11.hpp"
#include "dialogs/dialog12.hpp"
#include "dialogs/dialog13.hpp"
#include "dialogs/dialog15.hpp"
#include "dialogs/dialog7.hpp"
#include "dialogs/tool_palettes.hpp"
#include "testing/qt/fake_editor_host.hpp"
#include "tests/support/fixed_dialog_check.hpp"
#include "tests/support/qt_app.hpp"

namespace kova {
namespace {

using test::FakeEditorHost;

void TypeAndLeave(QLineEdit* box, const char* text) {
    box->setFocus();
    box->selectAll();
    QTest::keyClick(box, Qt::Key_Backspace);
    QTest::keyClicks(box, QString::fromUtf8(text));
    QTest::keyClick(box, Qt::Key_Return);  // finishes the edit as leaving does
}

// A number box refuses a letter with a message naming it and gets the stored
// value back, every time; a number shows as its format writes it, and that
// is what "計算" stores; an emptied box stores 0.
TEST(NumberBoxes, RefusedTextComesBackAndTheShownValueIsStored) {
    FakeEditorHost host;
    StudyCond& cond = host.model->Cond;
    cond.ResidualSettlement = 0.12345;
    cond.LeavePeriod = 30;
    Dialog13 d(host, nullptr);
    d.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&d));
    QLineEdit* residual = d.txt_dg12[1];
    for (const char* bad : {"abc", "l5.0", "0.1x"}) {
        host.messages.Clear();
        TypeAndLeave(residual, bad);
        ASSERT_EQ(host.messages.Count(), 1u) << bad;
        EXPECT_EQ(host.messages.Last().text, "「残留沈下量指定」には数値を入力してください。") << bad;
        EXPECT_EQ(residual->text(), QStringLiteral("0.123")) << bad;
        EXPECT_TRUE(residual->hasFocus()) << bad;
    }
    host.messages.Clear();
    TypeAndLeave(residual, "0.0625");  // half away from zero
    EXPECT_EQ(residual->text(), QStringLiteral("0.063"));
    TypeAndLeave(d.txt_dg12[0], "");
    EXPECT_EQ(d.txt_dg12[0]->text(), QStringLiteral("0"));
    TypeAndLeave(d.txt_dg12[0], "x");
    EXPECT_EQ(d.txt_dg12[0]->text(), QStringLiteral("0"));
    EXPECT_EQ(host.messages.Last().text, "「放置期間指定」には数値を入力してください。");
    host.messages.Clear();
    d.OkClicked();
    EXPECT_EQ(host.messages.Count(), 0u);
    EXPECT_DOUBLE_EQ(cond.ResidualSettlement, 0.063);
    EXPECT_EQ(cond.LeavePeriod, 0);
}

// Ins on a table at its capacity says so.
TEST(FullTables, InsertSaysTheLimit) {
    FakeEditorHost host;
    Model& m = *host.model;
    m.BndPtCount = kMaxBndPts;
    m.CalcPosCount = kMaxCalcPos;
    m.SheetPileCount = kMaxSheetPiles;
    m.PointLoadCount = m.LineLoadCount = m.StripLoadCount = kMaxLoads;
    struct Case {
        std::function<std::unique_ptr<QDialog>()> open;
        std::function<grid::QEX_FLG*(QDialog&)> grid;
        const char* message;
    };
    const Case cases[] = {
        {[&] { return std::make_unique<Dialog0>(host, nullptr); },
         [](QDialog& d) { return static_cast<Dialog0&>(d).Qflg_NB; }, "境界点は500点までです。"},
        {[&] { return std::make_unique<Dialog7>(host, nullptr); },
         [](QDialog& d) { return static_cast<Dialog7&>(d).Qflg_KP; }, "沈下予測個所は20箇所までです。"},
        {[&] { return std::make_unique<Dialog15>(host, nullptr); },
         [](QDialog& d) { return static_cast<Dialog15&>(d).Qflg_YT; }, "矢板は3本までです。"},
        {[&] { return std::make_unique<Dialog12>(host, nullptr); },
         [](QDialog& d) { return static_cast<Dialog12&>(d).Qflg_LK; }, "等分布線荷重は5個までです。"},
    };
    for (const Case& c : cases) {
        std::unique_ptr<QDialog> d = c.open();
        d->show();
        grid::QEX_FLG* g = c.grid(*d);
        g->SetCurrentCell(2, 1);
        g->setFocus();
        host.messages.Clear();
        QTest::keyClick(g, Qt::Key_Insert);
        ASSERT_EQ(host.messages.Count(), 1u) << c.message;
        EXPECT_EQ(host.messages.Last().text, c.message);
        d->reject();
    }
}

// Data dialogs and palettes: a close box only, and a minimised or maximised
// state that a window manager offers anyway is undone at once.
TEST(FixedDialogs, DataDialogsAndPalettesNoMinimiseOrMaximise) {
    FakeEditorHost host;
    Dialog13 conditions(host, nullptr);
    Dialog7 positions(host, nullptr);
    Dialog3 palette(host, nullptr);
    for (QWidget* d : {static_cast<QWidget*>(&conditions), static_cast<QWidget*>(&positions),
                       static_cast<QWidget*>(&palette)})
        test::ExpectFixedDialog(d);
    EXPECT_EQ(palette.windowFlags() & Qt::WindowType_Mask, Qt::Tool);
}

// Every frame of the data dialogs holds its texts whole in the installed
// font: no child reaches above the frame's contents (into its caption) or
// out of it, none is shorter than its text, and the frame lies in the dialog.
TEST(FixedDialogs, EveryFrameHoldsItsTextsWhole) {
    FakeEditorHost host;
    host.model->SoilLayerCount = 2;
    Dialog11 improvement(host, nullptr);
    Dialog13 conditions(host, nullptr);
    int frames = 0;
    for (QDialog* d : {static_cast<QDialog*>(&improvement), static_cast<QDialog*>(&conditions)}) {
        d->show();
        for (QGroupBox* f : d->findChildren<QGroupBox*>()) {
            ++frames;
            const std::string where = d->windowTitle().toStdString() + " / " + f->title().toStdString();
            EXPECT_TRUE(d->rect().contains(f->geometry())) << where;
            for (QWidget* w : f->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
                const std::string what = where + " / " + w->objectName().toStdString() +
                                         (qobject_cast<QLabel*>(w) ? qobject_cast<QLabel*>(w)->text().toStdString() : "");
                EXPECT_TRUE(f->contentsRect().contains(w->geometry())) << what;
                EXPECT_GE(w->height(), w->sizeHint().height()) << what;
            }
        }
        d->reject();
    }
    EXPECT_EQ(frames, 4);
}

}  // namespace
}  // namespace kova
