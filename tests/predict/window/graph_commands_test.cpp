// The graphs, the update, the station list and the graph options in the
// real prediction window.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>
#include <QToolButton>

#include "dialogs/grid/qex_flg.hpp"
#include "platform/qt/qt_text.hpp"
#include "predict/hyperbolic.hpp"
#include "predict/window/graph_boxes.hpp"
#include "predict/window/graph_commands.hpp"
#include "predict/window/graph_options_dialog.hpp"
#include "predict/commands/graph_update.hpp"
#include "predict/commands/graphs.hpp"
#include "predict/window/obs_grid.hpp"
#include "predict/window/station_list_dialog.hpp"
#include "window_fixture.hpp"

namespace kova::predict {
namespace {

using kova::test::WhenModal;

// The window with its graph commands on sample.tlm, station 1 shown.
struct GraphWindow : test::WindowFixture {
    GraphCommands* g = nullptr;
    GraphWindow() {
        g = new GraphCommands(*w);
        Open(test::Sample("sample.tlm"));
        w->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(w.get()));
        msg.Clear();
    }
    std::string Label(int i) const { return U(w->Lbl(i)->text()); }
    int P1Draws() const { return g->Boxes().P1()->RenderCount(); }
};

TEST(GraphUpdateCommand, FitsShowsAndRedraws) {
    GraphWindow f;
    EXPECT_EQ(f.g->Ccal()->text(), Q("沈下予測グラフ更新"));
    const int p1 = f.P1Draws(), p2 = f.g->Boxes().P2()->RenderCount();
    f.g->Ccal()->click();
    EXPECT_EQ(f.msg.Count(), 0u);
    EXPECT_EQ(f.Label(4), "       1.000 ");
    EXPECT_EQ(f.Label(3), "      10.0000");
    EXPECT_EQ(f.Label(2), "       1.0000");
    EXPECT_EQ(f.Label(7), "       1.0000");
    EXPECT_EQ(f.w->Data().Stations[1].LastDay, 191);
    EXPECT_EQ(f.P1Draws(), p1 + 1);
    EXPECT_EQ(f.g->Boxes().P2()->RenderCount(), p2 + 1);

    // The range boxes are read as they stand: 3.5 rounds to 4 = Sa'.
    f.w->TS()->setText(QStringLiteral("3.5"));
    f.g->Ccal_Click();
    ASSERT_EQ(f.msg.Count(), 1u);
    EXPECT_EQ(f.msg.Last().text, AtStation(Message{"Saが不正です。", "", MsgIcon::None, MsgButtons::Ok, 0}, 1, f.w->Data().Stations[1].Name).text);
    EXPECT_EQ(f.w->Data().Stations[1].Sa, 4);
    EXPECT_EQ(f.Label(3), "       0.0000");  // the cleared results

    // A start past the end condition (100 m, above 95 % of Sf = 101 m) is
    // told for its station.
    f.msg.Clear();
    f.w->TS()->setText(QStringLiteral("1"));
    const char* raised[] = {"100.000", "100.500", "100.750", "100.900"};
    for (int i = 1; i <= 4; ++i) f.w->QEXFLG()->SetText(i, kColSettlement, raised[i - 1]);
    f.g->Ccal_Click();
    ASSERT_EQ(f.msg.Count(), 1u);
    EXPECT_EQ(f.msg.Last().text, NoCurveMessage(1, f.w->Data().Stations[1].Name).text);
}

// The status panel shows a control's help while the pointer is over it and
// a blank over every area without help: the window's background and the
// empty spots of the result panel (to which the pointer returns from a
// control without Qt telling the panel), and a label.
TEST(StatusHelp, BlankWhereThePointerFindsNoHelp) {
    GraphWindow f;
    auto panel = [&] { return U(f.w->StatusPanel1()->text()); };
    auto moveTo = [](QWidget* w, QPoint at) {
        QTest::mouseMove(w, at);
        QApplication::processEvents();
    };
    // A point of `area` that no child covers.
    auto freeSpot = [](QWidget* area) {
        for (int y = 2; y < area->height(); y += 3)
            for (int x = 2; x < area->width(); x += 3)
                if (!area->childAt(x, y)) return QPoint(x, y);
        ADD_FAILURE() << "no free spot in " << area->objectName().toStdString();
        return QPoint();
    };
    const struct {
        QWidget* control;
        const char* help;
    } cases[] = {
        {f.w->cmd_op(), "グラフ表示オプション＞沈下予測に対する条件指定"},
        {f.w->Command1(), "Sa代入ボタン＞現在の観測データをSaとする"},
        {f.w->Command2(), "Sa'代入ボタン＞現在の観測データをSa'とする"},
        {f.w->UpDown1(), "観測データ確認＞左右ボタンで切り換え。（→ボタンでSa-Sa'を代入）"},
        {f.w->Opt_p(0), "観測所切り換えボタン＞観測データ入力/グラフ確認を行う観測所を選択"},
        {f.g->Ccal(), kGraphUpdateHelp},
        {f.w->P1(), kTimeGraphHelp},
        {f.w->P2(), kRegressionGraphHelp},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.help);
        QWidget* area = c.control->parentWidget();
        moveTo(c.control, c.control->rect().center());
        EXPECT_EQ(panel(), c.help);
        moveTo(area, freeSpot(area));  // back onto the background
        EXPECT_EQ(panel(), " ");
        moveTo(c.control, c.control->rect().center());
        moveTo(f.w->Lbl(2), f.w->Lbl(2)->rect().center());  // a result label
        EXPECT_EQ(panel(), " ");
        moveTo(c.control, c.control->rect().center());
        moveTo(f.w->Label1(), f.w->Label1()->rect().center());  // the station's name
        EXPECT_EQ(panel(), " ");
    }
}

TEST(GraphUpdateCommand, NothingWithoutAStationShown) {
    GraphWindow f;
    f.w->new_Click();
    const int p1 = f.P1Draws();
    f.g->Ccal_Click();
    EXPECT_EQ(f.P1Draws(), p1);
    EXPECT_EQ(f.msg.Count(), 0u);
}

TEST(StationListCommand, InsertedStationShownAsStationOne) {
    GraphWindow f;
    WhenModal<F1>([](F1* d) {
        d->QEXFLG()->SetCurrentCell(1, 1);
        if (!d->QEXFLG()->InsertRow()) ADD_FAILURE() << "no insert";
        d->Command1()->click();
    });
    f.w->cmd_ks()->click();
    EXPECT_EQ(f.w->Data().StationCount, 4);
    EXPECT_EQ(f.w->CurStation(), 1);
    EXPECT_TRUE(f.w->Opt_p(0)->isChecked());
    EXPECT_TRUE(f.w->Opt_p(3)->isEnabled());
    EXPECT_EQ(f.w->QEXFLG()->RowsInUse(), 0);  // the new, empty station
    EXPECT_EQ(f.w->Label1()->text(), QString());
    EXPECT_EQ(f.w->Data().Stations[2].Name, "No.1 ～ 測点");
    EXPECT_EQ(f.w->Data().Stations[2].Count, 4);
}

TEST(StationListCommand, DeletingEveryStationByTheMenuLeavesTheEmptyLayout) {
    GraphWindow f;
    WhenModal<F1>([](F1* d) {
        while (d->QEXFLG()->RowsInUse() > 0) {
            d->QEXFLG()->SetCurrentCell(1, 1);
            if (!d->QEXFLG()->DeleteRow()) break;
        }
        d->close();  // the close box keeps the deletes
    });
    f.w->MenuAction("inp_menu_0")->trigger();
    EXPECT_EQ(f.w->Data().StationCount, 0);
    for (int i = 0; i <= 20; ++i) EXPECT_FALSE(f.w->Opt_p(i)->isChecked()) << i;
    EXPECT_FALSE(f.w->Opt_p(0)->isEnabled());
    EXPECT_EQ(f.w->TS()->text(), QStringLiteral("0"));
    EXPECT_EQ(f.w->TE()->text(), QStringLiteral("0"));
    EXPECT_EQ(f.w->Lbl(4)->text(), QStringLiteral(" "));
    EXPECT_EQ(f.w->QEXFLG()->RowsInUse(), 0);
}

TEST(GraphOptionsCommand, OkRedrawsWithTheNewSettingsAtOnce) {
    GraphWindow f;
    EXPECT_EQ(f.g->Boxes().Label4()->text(), Q("（日）"));
    const int p1 = f.P1Draws();
    WhenModal<Dialog1>([](Dialog1* d) {
        d->O3(1)->setChecked(true);
        d->OKButton()->click();
    });
    f.w->cmd_op()->click();
    EXPECT_EQ(f.w->Data().TimeAxisMode, 1);
    EXPECT_GT(f.P1Draws(), p1);
    EXPECT_EQ(f.g->Boxes().Label4()->text(), Q("（年）"));

    // A shown prediction is made again with the new target.
    f.w->Data().SettlementOption = 1;
    f.g->Ccal_Click();
    const StationRecord& s = f.w->Data().Stations[1];
    ASSERT_GE(s.LastDay, 1);
    const std::int32_t before = s.TargetDay;
    WhenModal<Dialog1>([](Dialog1* d) {
        d->T1(2)->setText(QStringLiteral("50"));
        d->OKButton()->click();
    });
    f.w->cmd_op()->click();
    EXPECT_EQ(f.w->Data().TargetPercent, 50);
    EXPECT_LT(s.TargetDay, before);

    WhenModal<Dialog1>([](Dialog1* d) {
        d->O3(0)->setChecked(true);
        d->CancelButton()->click();
    });
    f.w->MenuAction("inp_menu_1")->trigger();
    EXPECT_EQ(f.w->Data().TimeAxisMode, 1);
}

}  // namespace
}  // namespace kova::predict
