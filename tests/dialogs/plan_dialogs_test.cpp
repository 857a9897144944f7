#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "dialogs/dialog12.hpp"
#include "dialogs/dialog13.hpp"
#include "dialogs/dialog15.hpp"
#include "dialogs/dialog1.hpp"
#include "dialogs/dialog6.hpp"
#include "dialogs/dialog7.hpp"
#include "dialogs/table_form.hpp"
#include "tests/dialogs/dialog_test_util.hpp"

namespace kova {
namespace {

using test::FakeEditorHost;
using test::TypeCell;

TEST(StageTable, RowsAreTiedToStagesAndStoreOnOk) {
    FakeEditorHost host;
    Model& m = *host.model;
    m.StageCount = 3;
    m.StageStartDay = {0, 20, 50, 0, 0, 0};
    m.StageDays = {10, 15, 5, 0, 0, 0};
    {
        Dialog6 d(host, nullptr);
        d.show();
        test::GridKey(*d.Qflg_KK, 2, 1, Qt::Key_Insert);  // would move stage 2's days to stage 3
        test::GridKey(*d.Qflg_KK, 2, 1, Qt::Key_Delete, Qt::ControlModifier);
        EXPECT_EQ(d.Qflg_KK->RowsInUse(), 3);
        TypeCell(*d.Qflg_KK, 2, 1, "30");
        TypeCell(*d.Qflg_KK, 2, 2, "12.5");
        EXPECT_EQ(d.Qflg_KK->CellText(2, 2), "12");  // shown as stored
        TypeCell(*d.Qflg_KK, 4, 1, "13.5");          // a row past StageCount
        EXPECT_EQ(m.StageStartDay[1], 20);           // nothing before OK
        d.OkClicked();
    }
    EXPECT_EQ(m.StageStartDay[1], 30);
    EXPECT_EQ(m.StageDays[1], 12);
    EXPECT_EQ(m.StageStartDay[3], 14);
    EXPECT_EQ(m.StageCount, 3);  // never changed here
    EXPECT_EQ(host.toolOptions, std::vector<int>{kNoToolOption});
    {
        Dialog6 d(host, nullptr);
        d.show();
        TypeCell(*d.Qflg_KK, 1, 2, "40000");  // refused when the cell is left
        EXPECT_EQ(test::Texts(host.messages), std::vector<std::string>{"「施工日数」の1行目は0～32767の範囲で指定してください。"});
        EXPECT_EQ(d.Qflg_KK->CellText(1, 2), "10");
        d.OkClicked();
    }
    EXPECT_EQ(m.StageDays[0], 10);
}

TEST(PositionTable, TitleAndPositionsLiveUntilCancel) {
    FakeEditorHost host;
    Model& m = *host.model;
    m.Cond.ProjectTitle = "旧業務";
    m.Cond.LeavePeriod = 365;
    Dialog7 d(host, nullptr);
    d.show();
    d.txt_dg7->setText("");
    test::KeyText(d.txt_dg7, "新業務");
    EXPECT_EQ(m.Cond.ProjectTitle, "新業務");
    d.txt_dg7->insert("\"");  // refused, the old text stays
    EXPECT_EQ(d.txt_dg7->text(), "新業務");
    EXPECT_EQ(test::Texts(host.messages), std::vector<std::string>{"業務名称に使用できない文字（\"）が含まれています。"});
    EXPECT_EQ(m.Cond.ProjectTitle, "新業務");

    const int repaints = host.refreshes;
    TypeCell(*d.Qflg_KP, 1, 1, "盛土中央");
    TypeCell(*d.Qflg_KP, 1, 2, "1.23456");
    EXPECT_EQ(m.CalcPosCount, 1);
    EXPECT_EQ(m.Cond.CalcPosName[0], "盛土中央");
    EXPECT_EQ(m.Cond.CalcPosX[0], 1.23456);  // free-text column: as typed
    EXPECT_EQ(host.refreshes, repaints + 2);
    d.CancelClicked();
    EXPECT_EQ(m.Cond.ProjectTitle, "旧業務");
    EXPECT_EQ(m.CalcPosCount, 0);
    EXPECT_EQ(m.Cond.LeavePeriod, 365);
    EXPECT_EQ(host.toolOptions, std::vector<int>{kNoToolOption});
}

TEST(PositionTable, TwentyFirstPositionIsRefused) {
    FakeEditorHost host;
    Model& m = *host.model;
    m.CalcPosCount = kMaxCalcPos;
    for (int i = 0; i < kMaxCalcPos; ++i) {
        m.Cond.CalcPosName[static_cast<std::size_t>(i)] = "P" + std::to_string(i + 1);
        m.Cond.CalcPosX[static_cast<std::size_t>(i)] = i * 2.5;
    }
    Dialog7 d(host, nullptr);
    d.show();
    test::GridKey(*d.Qflg_KP, 3, 1, Qt::Key_Insert);
    EXPECT_EQ(m.CalcPosCount, kMaxCalcPos);
    EXPECT_EQ(m.Cond.CalcPosName[19], "P20");
    EXPECT_EQ(m.Cond.CalcPosName[20], "");
    test::GridKey(*d.Qflg_KP, 3, 1, Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(m.CalcPosCount, kMaxCalcPos - 1);
    EXPECT_EQ(m.Cond.CalcPosName[2], "P4");
    EXPECT_EQ(d.Qflg_KP->CellText(19, 0), "19");
    d.OkClicked();
    EXPECT_EQ(m.CalcPosCount, kMaxCalcPos - 1);
}

// Loads: point, line and strip grids.
struct LoadTables : ::testing::Test {
    void SetUp() override {
        Model& m = *host.model;
        m.StageCount = 1;
        m.PointLoadCount = 1;
        m.PointLoad[0] = {1.23456, 2, 1.23456, 2, 100.5, 1};
        m.StripLoadCount = 1;
        m.StripLoad[0] = {-3, 5, 3, 5, 10, 1};
        d = std::make_unique<Dialog12>(host, nullptr);
        d->show();
    }
    FakeEditorHost host;
    std::unique_ptr<Dialog12> d;
};

TEST_F(LoadTables, StagesAreCheckedBeforeAnythingIsStored) {
    TypeCell(*d->Qflg_SK, 2, 1, "10");
    TypeCell(*d->Qflg_SK, 2, 2, "5");
    TypeCell(*d->Qflg_SK, 2, 3, "50");
    TypeCell(*d->Qflg_SK, 2, 4, "3");
    // A bad stage in the last grid stops OK before the first grids store.
    for (const char* stage : {"0.5", "5.5", "abc", "1E999"}) {
        host.messages.Clear();
        TypeCell(*d->Qflg_OK, 1, 6, stage);
        d->OkClicked();
        EXPECT_TRUE(d->isVisible()) << stage;
        // Text that is no number, and a number no stage field holds, is
        // refused at its cell; the stage before it stays, as bad.
        std::vector<std::string> told{kStageMessage};
        if (std::string(stage) == "abc") told.insert(told.begin(), "「段階載荷番号」の1行目には数値を入力してください。");
        if (std::string(stage) == "1E999") told.insert(told.begin(), kStageMessage);
        EXPECT_EQ(test::Texts(host.messages), told) << stage;
        EXPECT_EQ(host.messages.Last().icon, MsgIcon::None);
        EXPECT_EQ(host.model->PointLoadCount, 1) << stage;
        EXPECT_EQ(host.model->StageCount, 1);
    }
    d->Qflg_OK->Model().SetCell(1, 6, "");  // an empty stage is refused too
    d->OkClicked();
    EXPECT_TRUE(d->isVisible());
    TypeCell(*d->Qflg_OK, 1, 6, "4.5");
    EXPECT_EQ(d->Qflg_OK->CellText(1, 6), "4");
    d->OkClicked();
    EXPECT_FALSE(d->isVisible());
    const Model& m = *host.model;
    ASSERT_EQ(m.PointLoadCount, 2);
    EXPECT_EQ(m.PointLoad[1].X1, 10);
    EXPECT_EQ(m.PointLoad[1].X2, 10);  // both corners hold the one point
    EXPECT_EQ(m.PointLoad[1].Y2, 5);
    EXPECT_EQ(m.PointLoad[0].X1, 1.23456);  // untouched digits kept
    EXPECT_EQ(m.StripLoad[0].Stage, 4);
    EXPECT_EQ(m.StageCount, 4);
    EXPECT_EQ(m.LineLoadCount, 0);
}

TEST_F(LoadTables, HalfStagesRoundToEvenAndNeverLowerTheCount) {
    host.model->StageCount = 4;
    TypeCell(*d->Qflg_LK, 1, 1, "2");
    TypeCell(*d->Qflg_LK, 1, 4, "1.5");
    d->OkClicked();
    EXPECT_EQ(host.model->LineLoad[0].Stage, 2);
    EXPECT_EQ(host.model->StageCount, 4);
}

TEST_F(LoadTables, CancelAndCloseBoxStoreNothing) {
    TypeCell(*d->Qflg_LK, 1, 1, "7");
    TypeCell(*d->Qflg_LK, 1, 4, "5");
    d->close();
    EXPECT_EQ(host.model->LineLoadCount, 0);
    EXPECT_EQ(host.model->StageCount, 1);
    EXPECT_EQ(host.toolOptions, std::vector<int>{kNoToolOption});
    EXPECT_EQ(host.refreshes, 1);
}

TEST(ConditionsDialog, DefaultsOfANewProject) {
    FakeEditorHost host;
    Dialog13 d(host, nullptr);
    d.show();
    EXPECT_EQ(d.cmb_dg12[0]->currentIndex(), 1);
    EXPECT_EQ(d.cmb_dg12[1]->currentText(), QStringLiteral("P=√(P0*(P0+ΔP))"));
    EXPECT_TRUE(d.chk_dg12[0]->isChecked());
    EXPECT_TRUE(d.chk_dg12[1]->isChecked());
    EXPECT_FALSE(d.chk_dg12[2]->isChecked());
    EXPECT_TRUE(d.opt_dg12[0]->isChecked());
    EXPECT_EQ(d.txt_dg12[0]->text(), "1000");
    EXPECT_EQ(d.txt_dg12[1]->text(), "1.000");
    EXPECT_EQ(d.OKButton->text(), "計算");
}

TEST(ConditionsDialog, EveryWayOutButCalculateCancelsTheRun) {
    enum class How { Cancel, CloseBox, Esc };
    for (How how : {How::Cancel, How::CloseBox, How::Esc}) {
        FakeEditorHost host;
        const StudyCond before = host.model->Cond;
        Dialog13 d(host, nullptr);
        d.show();
        d.txt_dg12[0]->setText("12");
        d.chk_dg12[2]->setChecked(true);
        if (how == How::Cancel) d.CancelRun();
        if (how == How::CloseBox) d.close();
        if (how == How::Esc) QTest::keyClick(&d, Qt::Key_Escape);
        EXPECT_FALSE(d.isVisible());
        EXPECT_EQ(d.result(), QDialog::Rejected) << static_cast<int>(how);
        EXPECT_EQ(host.model->Cond.LeavePeriod, before.LeavePeriod);
        EXPECT_EQ(host.model->Cond.AutoScaleXY, 0);
    }
}

TEST(ConditionsDialog, CalculateStoresEveryControl) {
    const struct {
        const char* leave;
        i16 stored;
        bool ok;
    } cases[] = {{"", 0, true}, {"12.5", 12, true}, {"13.5", 14, true}, {"４０", 40, true}, {"40000", 1000, false},
                 {"-1", 1000, false}};
    for (const auto& c : cases) {
        FakeEditorHost host;
        StudyCond& cond = host.model->Cond;
        cond.MvPMethod = 7;  // no item of the list: kept
        cond.ResidualSettlement = 0.12345;
        Dialog13 d(host, nullptr);
        d.show();
        d.txt_dg12[0]->setText(c.leave);
        d.opt_dg12[1]->setChecked(true);
        d.cmb_dg12[1]->setCurrentIndex(0);
        d.chk_dg12[0]->setChecked(false);
        d.OkClicked();
        EXPECT_EQ(d.isVisible(), !c.ok) << c.leave;
        EXPECT_EQ(cond.LeavePeriod, c.stored) << c.leave;
        if (!c.ok) {
            EXPECT_EQ(host.messages.Count(), 1u);
            d.CancelRun();
            continue;
        }
        EXPECT_EQ(d.result(), QDialog::Accepted);
        EXPECT_EQ(cond.TimeCondKind, 1);
        EXPECT_EQ(cond.CvPMethod, 0);
        EXPECT_EQ(cond.MvPMethod, 7);
        EXPECT_EQ(cond.UseCutPreload, 0);
        EXPECT_EQ(cond.ResidualSettlement, 0.12345);  // untouched box: the digits stay
    }
}

// Typing the residual settlement the box shows stores what was typed, not
// the digits behind it; an untouched box keeps them.
TEST(ConditionsDialog, RetypedShownValueIsStoredAsTyped) {
    for (const bool retype : {true, false}) {
        FakeEditorHost host;
        host.model->Cond.ResidualSettlement = 0.12345;
        Dialog13 d(host, nullptr);
        d.show();
        ASSERT_EQ(d.txt_dg12[1]->text(), "0.123");
        if (retype) {
            d.txt_dg12[1]->selectAll();
            test::KeyText(d.txt_dg12[1], "0.123");
        }
        d.OkClicked();
        EXPECT_EQ(host.model->Cond.ResidualSettlement, retype ? 0.123 : 0.12345) << retype;
    }
}

TEST(WallTable, WallsFollowTheGridUntilCancel) {
    FakeEditorHost host;
    Model& m = *host.model;
    m.SheetPileCount = 1;
    m.SheetPile[0] = {-14.0, 1.0, -12.3456};
    Dialog15 d(host, nullptr);
    d.show();
    TypeCell(*d.Qflg_YT, 2, 1, "10");
    TypeCell(*d.Qflg_YT, 2, 2, "5");
    TypeCell(*d.Qflg_YT, 2, 3, "-8");
    EXPECT_EQ(m.SheetPileCount, 2);
    EXPECT_EQ(m.SheetPile[1].Bottom, -8);
    EXPECT_EQ(m.SheetPile[0].Bottom, -12.3456);
    TypeCell(*d.Qflg_YT, 1, 1, "-15");
    EXPECT_EQ(m.SheetPile[0].X, -15);
    EXPECT_EQ(m.SheetPile[0].Top, 1.0);
    TypeCell(*d.Qflg_YT, 3, 1, "20");
    test::GridKey(*d.Qflg_YT, 1, 1, Qt::Key_Insert);  // a fourth wall cannot be
    EXPECT_EQ(m.SheetPileCount, 3);
    d.CancelClicked();
    EXPECT_EQ(m.SheetPileCount, 1);
    EXPECT_EQ(m.SheetPile[0].X, -14.0);
    EXPECT_EQ(host.toolOptions, std::vector<int>{kNoToolOption});
}

TEST(ToolForms, OptionsOpenTheirDialogsModally) {
    const struct {
        int option;
        const char* caption;
    } cases[] = {{0, "沈下予測個所の入力"}, {4, "上載荷重の入力"}, {6, "載荷情報の入力"}, {8, "矢板（仕切り線）"}};
    for (const auto& c : cases) {
        FakeEditorHost host;
        QString seen;
        test::WhenModal<QDialog>([&seen](QDialog* d) {
            seen = d->windowTitle();
            d->reject();
        });
        EXPECT_EQ(OpenToolForm(host, c.option), nullptr);
        EXPECT_EQ(seen, QString::fromUtf8(c.caption));
    }
    FakeEditorHost host;
    test::WhenModal<QDialog>([](QDialog* d) { d->close(); });
    EXPECT_FALSE(ShowCalcConditions(host));
    EXPECT_EQ(OpenToolForm(host, 7), nullptr);
}

}  // namespace
}  // namespace kova
