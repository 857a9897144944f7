#include "shell/recent_menu.hpp"

#include <QAction>
#include <QMenu>

#include "platform/qt/qt_text.hpp"

namespace kova {

RecentFileMenu::RecentFileMenu(QMenu* menu, QAction* before, RecentFileList list, QObject* parent)
    : QObject(parent), list_(std::move(list)) {
    for (int i = 0; i <= kRecentMenuItems; ++i) {
        auto* a = new QAction(menu);
        if (i == 0) {
            a->setSeparator(true);
        } else {
            connect(a, &QAction::triggered, this, [this, i] { emit Chosen(i); });
        }
        a->setVisible(false);
        menu->insertAction(before, a);
        actions_[static_cast<std::size_t>(i)] = a;
    }
    Sync();
}

void RecentFileMenu::Refresh() {
    list_.GetRecentFiles(items_);
    Sync();
}

void RecentFileMenu::Update(const std::string& filename) {
    list_.UpdateFileMenu(items_, filename);
    Sync();
}

void RecentFileMenu::Sync() {
    for (std::size_t i = 0; i < actions_.size(); ++i) {
        if (i > 0) actions_[i]->setText(LiteralCaption(items_.caption[i]));
        actions_[i]->setVisible(items_.visible[i]);
    }
}

}  // namespace kova
