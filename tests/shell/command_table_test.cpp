#include <gtest/gtest.h>

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "shell/command_table.hpp"
#include "tests/support/qt_app.hpp"

using namespace kova;

namespace {

// Rows of two menus; every command counts its runs under its name.
struct Table {
    QMainWindow window;
    std::map<std::string, int> runs;
    std::unique_ptr<CommandTable> table;

    Table() {
        auto row = [this](const char* name, int button = 0, bool pressable = false) {
            return CommandRow{name, name,     [this, name] { ++runs[name]; }, button, button ? name : nullptr,
                              {},   pressable};
        };
        const std::vector<MenuRows> menus{
            {"mnu_a", "A", {row("new", 1), row("dxf"), {"s1"}, row("save", 3), row("end")}},
            {"mnu_b",
             "B",
             {row("zoom", 9, true), {}, {.name = "mark", .caption = "mark", .checked = true}, row("help", 12)}},
        };
        table = std::make_unique<CommandTable>(window, menus, std::vector<int>{2, 4, 11});
    }

    // The toolbar as text: each button's tip, "|" for a separator.
    std::string Toolbar() const {
        std::string s;
        for (QAction* a : table->Toolbar()->actions())
            s += (a->isSeparator() ? std::string("|") : a->toolTip().toStdString()) + " ";
        return s;
    }
};

TEST(CommandTable, MenusKeepTheRowsOrderAndSeparators) {
    Table t;
    std::vector<std::string> seen;
    for (QAction* m : t.window.menuBar()->actions())
        for (QAction* a : m->menu()->actions()) seen.push_back(a->isSeparator() ? "|" : a->text().toStdString());
    EXPECT_EQ(seen, (std::vector<std::string>{"new", "dxf", "|", "save", "end", "zoom", "|", "mark", "help"}));
    EXPECT_TRUE(t.table->MenuAction("s1")->isSeparator());
    EXPECT_EQ(t.table->MenuAction("nothing"), nullptr);
    EXPECT_TRUE(t.table->MenuAction("mark")->isChecked());
    EXPECT_FALSE(t.table->MenuAction("save")->isCheckable());
}

TEST(CommandTable, ButtonsInIndexOrderWithTheSeparatorsBetween) {
    Table t;
    EXPECT_EQ(t.Toolbar(), "new | save | zoom | help ");
    for (int i : {0, 2, 4, 5, 11, 13}) EXPECT_EQ(t.table->Button(i), nullptr) << i;
}

TEST(CommandTable, ItemAndButtonRunTheRowsOneHandler) {
    Table t;
    for (auto [name, button] : {std::pair{"new", 1}, {"save", 3}, {"zoom", 9}, {"help", 12}}) {
        t.table->MenuAction(name)->trigger();
        t.table->Button(button)->trigger();
        EXPECT_EQ(t.runs[name], 2) << name;
    }
    EXPECT_EQ(t.runs.size(), 4u);
}

TEST(CommandTable, APressableButtonShowsWhatCodeSetsNotTheClick) {
    Table t;
    QAction* zoom = t.table->Button(9);
    ASSERT_TRUE(zoom->isCheckable());
    EXPECT_FALSE(t.table->Button(1)->isCheckable());
    for (bool pressed : {false, true}) {
        zoom->setChecked(pressed);
        zoom->trigger();
        EXPECT_EQ(zoom->isChecked(), pressed);
    }
}

}  // namespace
