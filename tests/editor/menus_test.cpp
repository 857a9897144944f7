// Every menu entry, toolbar button and tool option reaches its command.
#include <QAction>
#include <QDialog>
#include <QMenuBar>
#include <QToolButton>

#include "editing/names.hpp"
#include "editing/run_commands.hpp"
#include "shell/about.hpp"
#include "tests/editor/editor_fixture.hpp"

using namespace kova;
using namespace kova::test;

namespace {

using Menus = EditorFixture;

TEST_F(Menus, CaptionsAsTheUserSeesThem) {
    Start();
    struct Case {
        const char* name;
        const char* caption;
    } cases[] = {
        {"new", "新規作成（&N）"}, {"open", "開く（&O）"}, {"dxf_open", "DXFファイルを開く"},
        {"save", "上書き保存（&S）"}, {"add_save", "名前を付けて保存（&A）"}, {"printout", "帳票印刷（&P）"},
        {"end", "システムの終了"}, {"a_dsp", "全体"}, {"b_dsp", "拡大"}, {"s_dsp", "縮小"},
        {"t_dsp", "沈下後の地表面"}, {"inp_menu5", "載荷工程"}, {"inp_menu6", "切り土"}, {"cal_tnk", "沈下計算"},
        {"help", "Kovadexのヘルプ"}, {"ver", "ﾊﾞｰｼﾞｮﾝ情報(&A)"},
    };
    for (const Case& c : cases) {
        QAction* a = form->MenuAction(c.name);
        ASSERT_NE(a, nullptr) << c.name;
        EXPECT_EQ(a->text().toStdString(), c.caption) << c.name;
    }
    QStringList menus;
    for (QAction* a : form->menuBar()->actions()) menus << a->text();
    EXPECT_EQ(menus, QStringList({"ファイル", "表示", "データ入力", "計算", "ヘルプ"}));
    const char* tips[] = {nullptr, "新規", "開く", "上書き保存", nullptr, "計算", "印刷", nullptr,
                          "全表示", "拡大", "縮小", nullptr, "ヘルプ"};
    for (int i = 1; i <= 12; ++i) {
        if (!tips[i]) {
            EXPECT_EQ(form->ToolbarButton(i), nullptr) << i;  // a separator
            continue;
        }
        ASSERT_NE(form->ToolbarButton(i), nullptr) << i;
        EXPECT_EQ(form->ToolbarButton(i)->toolTip().toStdString(), tips[i]) << i;
    }
    const char* options[] = {"計算位置", "境界点", "境界線", "ブロック", "上載荷重", "切り土", "載荷工程", "ダミー", "矢板"};
    for (int i = 0; i < 9; ++i) EXPECT_EQ(form->ToolOptionButton(i)->text().toStdString(), options[i]) << i;
    EXPECT_LT(form->ToolOptionButton(6)->x(), form->ToolOptionButton(5)->x());
}

TEST_F(Menus, EveryEntryReachesItsCommand) {
    cmdLine = "/rvm";
    Start();
    auto menu = [this](const char* n) { return [this, n] { form->MenuAction(n)->trigger(); }; };
    auto button = [this](int i) { return [this, i] { form->ToolbarButton(i)->trigger(); }; };
    auto option = [this](int i) { return [this, i] { form->ToolOptionButton(i)->click(); }; };
    auto lastDialog = [this](bool save, const char* filter) {
        return [this, save, filter] {
            ASSERT_EQ(files.calls.size(), 1u);
            EXPECT_EQ(files.calls[0].save, save);
            EXPECT_EQ(files.calls[0].req.filter, filter);
        };
    };
    auto box = [this](const char* text) {
        return [this, text] {
            ASSERT_FALSE(msg.shown.empty());
            EXPECT_EQ(msg.Last().text, text);
        };
    };
    auto mode = [this](int m) { return [this, m] { EXPECT_EQ(form->State().cmd_mode, m); }; };
    auto opens = [this](int i) { return [this, i] { EXPECT_EQ(opened, std::vector<int>{i}); }; };
    auto conditions = [this] { EXPECT_EQ(conditionsShown, 1); };
    auto helped = [this] {
        // The help file is not installed: the user is told which one.
        ASSERT_EQ(msg.Count(), 1u);
        EXPECT_NE(msg.Last().text.find("KOVACALC.HLP"), std::string::npos);
    };
    auto renewed = [this] { EXPECT_EQ(form->SectionModel().BndPtCount, 0); };
    auto fitted = [this] {
        EXPECT_NE(form->State().ViewLeftX, 12345);
        EXPECT_EQ(form->State().cmd_mode, 3);  // the edit tool a zoom interrupted comes back
    };

    struct Case {
        const char* name;
        std::function<void()> prepare, act, check;
    } cases[] = {
        {"new", [this] { AddPoint(1, 1); msg.Script(MsgAnswer::No); }, menu("new"), renewed},
        {"open", {}, menu("open"), lastDialog(false, kProjectFilter)},
        {"dxf_open", {}, menu("dxf_open"), lastDialog(false, kDxfFilter)},
        {"save", {}, menu("save"), lastDialog(true, kProjectFilter)},
        {"add_save", {}, menu("add_save"), lastDialog(true, kProjectFilter)},
        {"printout", {}, menu("printout"), box(kNothingToPrintText)},
        {"a_dsp", [this] { form->State().cmd_mode = 3; form->ZoomIn(); form->State().ViewLeftX = 12345; },
         menu("a_dsp"), fitted},
        {"b_dsp", {}, menu("b_dsp"), mode(1)},
        {"s_dsp", {}, menu("s_dsp"), mode(2)},
        {"cal_tnk", [this] {
             cancelConditions = true;
             Computable();
         }, menu("cal_tnk"), conditions},
        {"help", {}, menu("help"), helped},
        {"inp_menu0", {}, menu("inp_menu0"), opens(0)},
        {"inp_menu1", {}, menu("inp_menu1"), opens(1)},
        {"inp_menu2", {}, menu("inp_menu2"), opens(2)},
        {"inp_menu3", {}, menu("inp_menu3"), opens(3)},
        {"inp_menu4", {}, menu("inp_menu4"), opens(4)},
        {"inp_menu5", {}, menu("inp_menu5"), opens(6)},
        {"inp_menu6", {}, menu("inp_menu6"), opens(5)},
        {"button 1", [this] { AddPoint(1, 1); msg.Script(MsgAnswer::No); }, button(1), renewed},
        {"button 2", {}, button(2), lastDialog(false, kProjectFilter)},
        {"button 3", {}, button(3), lastDialog(true, kProjectFilter)},
        {"button 5", [this] {
             cancelConditions = true;
             Computable();
         }, button(5), conditions},
        {"button 6", {}, button(6), box(kNothingToPrintText)},
        {"button 8", [this] { form->State().cmd_mode = 3; form->ZoomOut(); form->State().ViewLeftX = 12345; },
         button(8), fitted},
        {"button 9", {}, button(9), mode(1)},
        {"button 10", {}, button(10), mode(2)},
        {"button 12", {}, button(12), helped},
        {"option 0", {}, option(0), opens(0)},
        {"option 1", {}, option(1), opens(1)},
        {"option 2", {}, option(2), opens(2)},
        {"option 3", {}, option(3), opens(3)},
        {"option 4", {}, option(4), opens(4)},
        {"option 5", {}, option(5), opens(5)},
        {"option 6", {}, option(6), opens(6)},
        {"option 8", {}, option(8), opens(8)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        msg.Clear();
        files.calls.clear();
        opened.clear();
        conditionsShown = 0;
        cancelConditions = false;
        form->State().cmd_mode = 0;
        form->State().old_mode = 0;
        // Another option first, so that the one under test becomes selected.
        form->SelectToolOption(7);
        opened.clear();
        if (c.prepare) c.prepare();
        c.act();
        c.check();
    }

    // The About box, modal over the window.
    std::string caption;
    WhenModal<AboutBox>([&](AboutBox* b) {
        caption = b->windowTitle().toStdString();
        b->accept();
    });
    form->MenuAction("ver")->trigger();
    EXPECT_EQ(caption, "Kovadexのﾊﾞｰｼﾞｮﾝ情報");

    // The check item toggles; results show only while it is checked.
    QAction* t = form->MenuAction("t_dsp");
    EXPECT_TRUE(t->isChecked());
    t->trigger();
    EXPECT_FALSE(t->isChecked());
    t->trigger();
    EXPECT_TRUE(t->isChecked());

    // The exit entry closes the window.
    form->MenuAction("end")->trigger();
    EXPECT_FALSE(form->isVisible());
}

TEST_F(Menus, SelectingAnOptionEndsTheZoomAndClosesThePalettes) {
    Start();
    QWidget block(form.get(), Qt::Tool), other(form.get(), Qt::Tool);
    block.setWindowTitle(QStringLiteral("ブロック編集"));
    other.setWindowTitle(QStringLiteral("何か別の窓"));
    block.show();
    other.show();
    form->State().cmd_mode = 3;
    form->ZoomIn();
    EXPECT_EQ(form->State().old_mode, 3);
    EXPECT_TRUE(form->ToolbarButton(9)->isChecked());
    EXPECT_EQ(form->Canvas()->cursor().shape(), Qt::BitmapCursor);  // the magnifier
    form->ToolOptionButton(2)->click();
    EXPECT_FALSE(block.isVisible());
    EXPECT_TRUE(other.isVisible());
    EXPECT_FALSE(form->ToolbarButton(9)->isChecked());
    EXPECT_FALSE(form->ToolbarButton(10)->isChecked());
    EXPECT_EQ(form->Canvas()->cursor().shape(), Qt::ArrowCursor);
    EXPECT_EQ(form->State().cmd_mode, 0);
    EXPECT_EQ(form->State().old_mode, 0);
    EXPECT_TRUE(form->ToolOptionButton(2)->isChecked());
    // The input menu leaves the option buttons as they were.
    form->MenuAction("inp_menu6")->trigger();
    EXPECT_TRUE(form->ToolOptionButton(2)->isChecked());
    EXPECT_EQ(opened, (std::vector<int>{2, 5}));
    // Without the switch the sheet-pile option stays out of reach.
    EXPECT_FALSE(form->ToolOptionButton(8)->isVisible());
    opened.clear();
    form->SelectToolOption(8);
    EXPECT_TRUE(opened.empty());
}

}  // namespace
