#pragma once
// Shows the recent-file entries in a file menu: a separator and five file
// actions inserted before a given action of the menu (the separator before
// the exit item).
#include <QObject>
#include <array>

#include "shell/recent_files.hpp"

class QAction;
class QMenu;

namespace kova {

class RecentFileMenu : public QObject {
    Q_OBJECT
public:
    // The actions are created hidden, before `before` (at the end when null).
    RecentFileMenu(QMenu* menu, QAction* before, RecentFileList list, QObject* parent = nullptr);

    // Fills the menu from the store (GetRecentFiles).
    void Refresh();
    // Puts a full path at the top of the list and refills the menu.
    void Update(const std::string& filename);

    // The full path of file entry i (1 to 5), as shown.
    const std::string& Path(int i) const { return items_.caption[static_cast<std::size_t>(i)]; }
    const RecentMenuItems& Items() const { return items_; }
    QAction* Action(int i) const { return actions_[static_cast<std::size_t>(i)]; }

signals:
    // File entry i (1 to 5) was chosen.
    void Chosen(int index);

private:
    void Sync();

    RecentFileList list_;
    RecentMenuItems items_;
    std::array<QAction*, kRecentMenuItems + 1> actions_{};
};

}  // namespace kova
