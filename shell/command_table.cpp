#include "shell/command_table.hpp"

#include <QAction>
#include <QMainWindow>
#include <QMenuBar>
#include <QStyle>
#include <QToolBar>

#include "platform/qt/qt_text.hpp"

namespace kova {

MenuRows FileMenu(const QStyle& style, const FileCommands& f, const std::vector<CommandRow>& more) {
    auto icon = [&style](QStyle::StandardPixmap p) { return style.standardIcon(p); };
    std::vector<CommandRow> rows{{"new", "新規作成（&N）", f.create, 1, "新規", icon(QStyle::SP_FileIcon)},
                                 {"open", "開く（&O）", f.open, 2, "開く", icon(QStyle::SP_DialogOpenButton)}};
    rows.insert(rows.end(), more.begin(), more.end());
    rows.insert(rows.end(),
                {{"s1"},
                 {"save", "上書き保存（&S）", f.save, 3, "上書き保存", icon(QStyle::SP_DialogSaveButton)},
                 {"add_save", "名前を付けて保存（&A）", f.saveAs},
                 {"s2"},
                 {"printout", "帳票印刷（&P）", f.print, 6, "印刷", icon(QStyle::SP_FileDialogDetailedView)},
                 {"s3"},
                 {"end", "システムの終了", f.exit}});
    return {"mnu_file", "ファイル", rows};
}

CommandTable::CommandTable(QMainWindow& window, const std::vector<MenuRows>& menus,
                           const std::vector<int>& separators) {
    std::map<int, const CommandRow*> buttons;
    for (const MenuRows& m : menus) {
        QMenu* menu = window.menuBar()->addMenu(Q(m.title));
        menu->setObjectName(QLatin1String(m.name));
        for (const CommandRow& r : m.rows) {
            QAction* a = r.caption ? menu->addAction(Q(r.caption)) : menu->addSeparator();
            if (!r.name.empty()) {
                a->setObjectName(QString::fromStdString(r.name));
                items_[r.name] = a;
            }
            a->setCheckable(r.checked);
            a->setChecked(r.checked);
            if (r.run) QObject::connect(a, &QAction::triggered, &window, r.run);
            if (r.button) buttons[r.button] = &r;
        }
    }
    toolbar_ = window.addToolBar(QStringLiteral("Toolbar1"));
    toolbar_->setObjectName(QStringLiteral("Toolbar1"));
    toolbar_->setMovable(false);
    auto sep = separators.begin();
    for (const auto& [index, r] : buttons) {
        for (; sep != separators.end() && *sep < index; ++sep) toolbar_->addSeparator();
        QAction* a = toolbar_->addAction(r->icon, Q(r->tip));
        a->setObjectName(QStringLiteral("Toolbar1_%1").arg(index));
        a->setToolTip(Q(r->tip));
        a->setCheckable(r->pressable);
        QObject::connect(a, &QAction::triggered, &window, [a, run = r->run] {
            // A pressed look follows the tool, not the click.
            if (a->isCheckable()) a->setChecked(!a->isChecked());
            run();
        });
        buttons_[index] = a;
    }
}

QAction* CommandTable::MenuAction(const std::string& name) const {
    auto it = items_.find(name);
    return it == items_.end() ? nullptr : it->second;
}

QAction* CommandTable::Button(int index) const {
    auto it = buttons_.find(index);
    return it == buttons_.end() ? nullptr : it->second;
}

}  // namespace kova
