// The station list and the graph options as the user drives them.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "dialogs/grid/qex_flg.hpp"
#include "platform/qt/qt_text.hpp"
#include "predict/window/graph_options_dialog.hpp"
#include "predict/window/station_list_dialog.hpp"
#include "shell/about.hpp"
#include "shell/app_identity.hpp"
#include "testing/fakes.hpp"
#include "tests/predict/predict_test_util.hpp"
#include "tests/support/fixed_dialog_check.hpp"
#include "tests/support/grid_typing.hpp"
#include "tests/support/qt_app.hpp"

using namespace kova;
using namespace kova::predict;
using kova::predict::test::PartStation;

namespace {

ObsDataSet FiveStations() {
    ObsDataSet d;
    d.StationCount = 5;
    for (int i = 1; i <= 5; ++i) {
        d.Stations[i] = PartStation();
        d.Stations[i].Name = "S" + std::to_string(i);
        d.Stations[i].ResizeRows(i);
    }
    return d;
}

// Types a cell as the user does.
bool Type(grid::QEX_FLG& g, int row, int col, const QString& text) {
    g.SetCurrentCell(row, col);
    return g.Model().setData(g.Model().index(row - 1, col), text, Qt::EditRole);
}

struct ListFixture {
    ObsDataSet data = FiveStations();
    RecordingMessages messages;
    std::string shownTitle = "-", shownName = "-";
    F1 dialog{data, messages, nullptr, [this](const std::string& t, const std::string& n) {
                  shownTitle = t;
                  shownName = n;
              }};
    grid::QEX_FLG& grid = *dialog.QEXFLG();
};

TEST(StationListDialog, OpensFilledAndFollowsInsertsAndDeletes) {
    ListFixture f;
    EXPECT_EQ(f.dialog.windowTitle(), Q("観測所一覧・登録"));
    EXPECT_EQ(f.grid.RowsInUse(), 5);
    EXPECT_EQ(f.grid.Rows(), 21);
    EXPECT_EQ(f.grid.CellText(5, 1), QStringLiteral("S5"));
    EXPECT_EQ(f.grid.CellText(0, 1), Q("観測所名称"));
    EXPECT_EQ(f.dialog.Text1()->text(), Q("無題"));

    f.grid.SetCurrentCell(2, 1);
    ASSERT_TRUE(f.grid.DeleteRow());  // S2 and its observations go
    EXPECT_EQ(f.data.StationCount, 4);
    EXPECT_EQ(f.data.Stations[2].Name, "S3");
    EXPECT_EQ(f.data.Stations[2].Count, 3);

    f.grid.SetCurrentCell(1, 1);
    ASSERT_TRUE(f.grid.InsertRow());  // a cleared station before S1
    EXPECT_EQ(f.data.StationCount, 5);
    EXPECT_EQ(f.data.Stations[1].Name, "");
    EXPECT_EQ(f.data.Stations[1].Count, 0);
    EXPECT_EQ(f.data.Stations[1].Sa, 0);
    EXPECT_EQ(f.data.Stations[2].Name, "S1");

    ASSERT_TRUE(Type(f.grid, 6, 1, QStringLiteral("new")));  // typed below the last
    EXPECT_EQ(f.data.StationCount, 6);
    EXPECT_EQ(f.data.Stations[6].Count, 0);
    EXPECT_EQ(f.data.Stations[6].Name, "");  // names come at OK
    EXPECT_EQ(f.messages.Count(), 0u);
}

// Keys typed on a row that takes no text yet (below the first empty one)
// go nowhere: they do not jump to the station whose name they begin and
// overwrite it.
TEST(StationListDialog, KeysOnARowThatTakesNoTextChangeNoName) {
    ListFixture f;
    f.dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&f.dialog));
    for (int row : {7, 12})
        for (const QString& keys : {QStringLiteral("S9"), QStringLiteral("S"), QStringLiteral("x")}) {
            kova::test::ClickCurrentAndType(f.grid, row, 1, keys);
            for (int i = 1; i <= 5; ++i)
                EXPECT_EQ(f.grid.CellText(i, 1), QStringLiteral("S%1").arg(i)) << row << " " << keys.toStdString();
            EXPECT_EQ(f.grid.RowsInUse(), 5);
        }
    EXPECT_EQ(f.data.StationCount, 5);
}

TEST(StationListDialog, RefusesATwentyFirstStationAndUnstorableNames) {
    ListFixture f;
    for (int i = 6; i <= 20; ++i) ASSERT_TRUE(Type(f.grid, i, 1, QString::number(i)));
    EXPECT_EQ(f.data.StationCount, 20);
    f.grid.SetCurrentCell(3, 1);
    EXPECT_FALSE(f.grid.InsertRow());  // the full grid takes no row, and says so
    EXPECT_EQ(f.data.StationCount, 20);
    ASSERT_EQ(f.messages.Count(), 1u);
    EXPECT_EQ(f.messages.Last().text, "観測所は20箇所までです。");
    f.messages.Clear();

    Type(f.grid, 2, 1, Q("a\"b"));
    ASSERT_EQ(f.messages.Count(), 1u);
    EXPECT_EQ(f.messages.Last().text, "観測所2の名称に使用できない文字（\"）が含まれています。");
    EXPECT_EQ(f.grid.CellText(2, 1), QStringLiteral("S2"));  // restored
    EXPECT_EQ(f.data.StationCount, 20);
}

TEST(StationListDialog, OkTakesNamesAndTitleOrStaysOpen) {
    ListFixture f;
    f.dialog.show();
    f.dialog.Text1()->setText(Q("題\"名"));
    f.dialog.Command1_Click();
    EXPECT_TRUE(f.dialog.isVisible());
    EXPECT_EQ(f.messages.Last().text, "業務名称に使用できない文字（\"）が含まれています。");
    EXPECT_EQ(f.data.JobTitle, "無題");

    f.dialog.Text1()->setText(Q("第3工区"));
    Type(f.grid, 1, 1, QString());
    Type(f.grid, 3, 1, Q("No.3 法尻"));
    f.dialog.Command1_Click();
    EXPECT_FALSE(f.dialog.isVisible());
    EXPECT_EQ(f.dialog.result(), QDialog::Accepted);
    EXPECT_EQ(f.data.JobTitle, "第3工区");
    EXPECT_EQ(f.data.Stations[1].Name, "");
    EXPECT_EQ(f.data.Stations[3].Name, "No.3 法尻");
    EXPECT_EQ(f.shownTitle, "第3工区");
    EXPECT_EQ(f.shownName, "");
}

TEST(StationListDialog, CloseBoxKeepsMovesButDropsNames) {
    ListFixture f;
    f.dialog.show();
    Type(f.grid, 1, 1, QStringLiteral("renamed"));
    f.grid.SetCurrentCell(4, 1);
    ASSERT_TRUE(f.grid.DeleteRow());
    f.dialog.close();
    EXPECT_EQ(f.data.StationCount, 4);
    EXPECT_EQ(f.data.Stations[1].Name, "S1");
    EXPECT_EQ(f.data.Stations[4].Name, "S5");
    EXPECT_EQ(f.shownTitle, "-");
}

TEST(GraphOptionsDialog, OpensStoresCancelsAndRefuses) {
    ObsSettings s;
    RecordingMessages m;
    {
        Dialog1 d(s, m, nullptr);
        EXPECT_EQ(d.windowTitle(), Q("グラフオプション"));
        EXPECT_TRUE(d.O2(3)->isChecked());
        EXPECT_TRUE(d.O3(0)->isChecked());
        EXPECT_EQ(d.T1(0)->text(), QStringLiteral("365"));
        EXPECT_EQ(d.T1(1)->text(), QStringLiteral("0.200"));
        EXPECT_EQ(d.T1(2)->text(), QStringLiteral("90"));
        EXPECT_EQ(d.T2()->text(), QStringLiteral("95"));
        d.T1(0)->setText(QStringLiteral("10"));
        d.O3(1)->setChecked(true);
        d.CancelButton()->click();
        EXPECT_EQ(s.LeaveDays, 365);
        EXPECT_EQ(s.TimeAxisMode, 0);
    }
    {
        Dialog1 d(s, m, nullptr);
        d.show();
        d.T1(0)->setText(QStringLiteral("0"));
        emit d.T1(0)->editingFinished();
        d.T1(1)->setText(QStringLiteral("1e999"));
        d.O2(2)->setChecked(true);
        d.O3(1)->setChecked(true);
        d.OKButton()->click();
        EXPECT_TRUE(d.isVisible());
        ASSERT_EQ(m.Count(), 1u);
        // Refused as on leaving the box, the old text back.
        EXPECT_EQ(m.Last().text, "「残留沈下量指定（ｍ）」は0～1000の範囲で指定してください。");
        EXPECT_EQ(d.T1(1)->text(), QStringLiteral("0.200"));
        EXPECT_EQ(s.SettlementOption, 3);

        d.T1(1)->setText(QStringLiteral("0.15"));
        d.OKButton()->click();
        EXPECT_FALSE(d.isVisible());
        EXPECT_EQ(s.LeaveDays, 0);
        EXPECT_DOUBLE_EQ(s.ResidualSettlement, 0.15);
        EXPECT_EQ(s.SettlementOption, 2);
        EXPECT_EQ(s.TimeAxisMode, 1);
    }
    Dialog1 again(s, m, nullptr);
    EXPECT_TRUE(again.O2(2)->isChecked());
    EXPECT_TRUE(again.O3(1)->isChecked());
    EXPECT_EQ(again.T1(1)->text(), QStringLiteral("0.150"));
}

// Each box refuses a letter (naming the caption beside it) and gets back
// what it held, every time and also on OK; a number is shown with the box's
// decimals, halves away from zero, and OK stores what is shown.
TEST(GraphOptionsDialog, BoxesRefuseLettersAndStoreWhatTheyShow) {
    ObsSettings s;
    s.LeaveDays = 120;
    s.ResidualSettlement = 0.25;
    s.TargetPercent = 80;
    s.EndConditionPercent = 95;
    RecordingMessages m;
    Dialog1 d(s, m, nullptr);
    d.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&d));
    QApplication::setActiveWindow(&d);
    auto typeAndLeave = [&](QLineEdit* box, const char* text) {
        box->setFocus();
        box->selectAll();
        QTest::keyClick(box, Qt::Key_Backspace);
        QTest::keyClicks(box, QString::fromUtf8(text));
        QTest::keyClick(box, Qt::Key_Tab);
    };
    const struct {
        QLineEdit* box;
        const char* message;
        const char* before;
    } boxes[] = {
        {d.T1(0), "「放置期間指定（日）」には数値を入力してください。", "120"},
        {d.T1(1), "「残留沈下量指定（ｍ）」には数値を入力してください。", "0.250"},
        {d.T1(2), "「圧密度指定（％）」には数値を入力してください。", "80"},
        {d.T2(), "「計算終了条件の圧密度（％）」には数値を入力してください。", "95"},
    };
    for (const auto& b : boxes) {
        for (const char* bad : {"abc", "l5", "abc"}) {
            SCOPED_TRACE(std::string(b.message) + " " + bad);
            m.Clear();
            typeAndLeave(b.box, bad);
            ASSERT_EQ(m.Count(), 1u);
            EXPECT_EQ(m.Last().text, b.message);
            EXPECT_EQ(U(b.box->text()), b.before);
            EXPECT_TRUE(b.box->hasFocus());
        }
    }
    m.Clear();
    typeAndLeave(d.T1(0), "30.5");
    typeAndLeave(d.T1(1), "0.0625");
    typeAndLeave(d.T1(2), "88.5");
    typeAndLeave(d.T2(), "");
    EXPECT_EQ(d.T1(0)->text(), QStringLiteral("31"));
    EXPECT_EQ(d.T1(1)->text(), QStringLiteral("0.063"));
    EXPECT_EQ(d.T1(2)->text(), QStringLiteral("89"));
    EXPECT_EQ(d.T2()->text(), QStringLiteral("0"));
    EXPECT_EQ(m.Count(), 0u);

    // A letter still in the box when OK is pressed is refused there too.
    d.T2()->setFocus();
    d.T2()->setText(QStringLiteral("9O"));
    d.OKButton()->click();
    ASSERT_EQ(m.Count(), 1u);
    EXPECT_EQ(m.Last().text, "「計算終了条件の圧密度（％）」には数値を入力してください。");
    EXPECT_TRUE(d.isVisible());
    EXPECT_DOUBLE_EQ(s.EndConditionPercent, 95);

    typeAndLeave(d.T2(), "90");
    d.OKButton()->click();
    EXPECT_FALSE(d.isVisible());
    EXPECT_EQ(s.LeaveDays, 31);
    EXPECT_DOUBLE_EQ(s.ResidualSettlement, 0.063);
    EXPECT_DOUBLE_EQ(s.TargetPercent, 89);
    EXPECT_DOUBLE_EQ(s.EndConditionPercent, 90);
}

// OK without typing gives back every digit of the settings, though the boxes
// show them rounded; a box typed into stores what it shows.
TEST(GraphOptionsDialog, OkWithoutTypingKeepsEveryDigit) {
    ObsSettings s;
    s.ResidualSettlement = 0.12345;
    s.TargetPercent = 89.5;
    s.EndConditionPercent = 95.25;
    RecordingMessages m;
    {
        Dialog1 d(s, m, nullptr);
        EXPECT_EQ(d.T1(1)->text(), QStringLiteral("0.123"));
        EXPECT_EQ(d.T2()->text(), QStringLiteral("95"));
        d.OKButton()->click();
    }
    EXPECT_EQ(s.ResidualSettlement, 0.12345);
    EXPECT_EQ(s.TargetPercent, 89.5);
    EXPECT_EQ(s.EndConditionPercent, 95.25);
    EXPECT_EQ(m.Count(), 0u);

    Dialog1 d(s, m, nullptr);
    d.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&d));
    QApplication::setActiveWindow(&d);
    d.T1(2)->setFocus();
    d.T1(2)->selectAll();
    QTest::keyClicks(d.T1(2), QStringLiteral("90"));  // what it showed, typed
    QTest::keyClick(d.T1(2), Qt::Key_Tab);
    d.OKButton()->click();
    EXPECT_EQ(s.TargetPercent, 90);
    EXPECT_EQ(s.ResidualSettlement, 0.12345);
}

// Every fixed dialog of the program: a title and a close box, no minimise
// or maximise box, and a minimised or maximised state undone at once (a
// window manager may offer both from its own title bar).
TEST(FixedDialogs, NoMinimiseOrMaximise) {
    ListFixture list;
    ObsSettings s;
    RecordingMessages m;
    Dialog1 options(s, m, nullptr);
    AboutBox about(TolmApp(), "1.0.0");
    for (QWidget* d :
         {static_cast<QWidget*>(&list.dialog), static_cast<QWidget*>(&options), static_cast<QWidget*>(&about)}) {
        const std::string name = d->windowTitle().toStdString();
        EXPECT_EQ(d->windowFlags() & Qt::WindowType_Mask, Qt::Dialog) << name;
        EXPECT_EQ(d->minimumSize(), d->maximumSize()) << name;
        kova::test::ExpectFixedDialog(d);
    }
}

// Both dialogs, opened over a shown main window: centred on it, fixed,
// and Enter and Esc close nothing and press no button.
TEST(FixedDialogs, CentredOnTheMainWindowFixedAndDeafToEnterAndEsc) {
    QWidget main;
    main.setGeometry(60, 40, 1000, 760);
    main.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&main));
    ObsDataSet data = FiveStations();
    ObsSettings s;
    RecordingMessages m;
    F1 list(data, m, &main, nullptr);
    Dialog1 options(s, m, &main);
    for (QDialog* d : {static_cast<QDialog*>(&list), static_cast<QDialog*>(&options)}) {
        EXPECT_TRUE(kova::test::CentredIn(d, main.frameGeometry())) << d->windowTitle().toStdString();
        kova::test::ExpectFixedAndDeafToEnterAndEsc(d);
        d->hide();
    }
    EXPECT_EQ(m.Count(), 0u);
}

}  // namespace
