#pragma once
// The commands of a main window, each written once as a row: its menu item
// and its toolbar button are both built from the row and run its handler.
#include <QIcon>
#include <functional>
#include <map>
#include <string>
#include <vector>

class QAction;
class QMainWindow;
class QStyle;
class QToolBar;

namespace kova {

struct CommandRow {
    // The menu item's object name; a row without a caption is a separator.
    std::string name = {};
    const char* caption = nullptr;
    std::function<void()> run = {};
    // The toolbar button (0: none), its text and tooltip, and its icon.
    int button = 0;
    const char* tip = nullptr;
    QIcon icon = {};
    // The button shows its tool's state, not the click: code presses it.
    bool pressable = false;
    // A check-mark item, checked at start.
    bool checked = false;
};

struct MenuRows {
    const char* name;  // the menu's object name
    const char* title;
    std::vector<CommandRow> rows;
};

// The file menu both main windows share, 新規作成 to システムの終了, with
// toolbar buttons 1, 2, 3 and 6; `more` follows 開く.
struct FileCommands {
    std::function<void()> create, open, save, saveAs, print, exit;
};
MenuRows FileMenu(const QStyle& style, const FileCommands& f, const std::vector<CommandRow>& more = {});

class CommandTable {
public:
    // The menus on the window's menu bar, then its toolbar "Toolbar1": the
    // buttons in index order, a separator at each index of `separators`.
    CommandTable(QMainWindow& window, const std::vector<MenuRows>& menus, const std::vector<int>& separators);

    // The menu item or separator of that name; null when there is none.
    QAction* MenuAction(const std::string& name) const;
    // Button `index` of the toolbar; null for a separator or none.
    QAction* Button(int index) const;
    QToolBar* Toolbar() const { return toolbar_; }

private:
    std::map<std::string, QAction*> items_;
    std::map<int, QAction*> buttons_;
    QToolBar* toolbar_ = nullptr;
};

}  // namespace kova
