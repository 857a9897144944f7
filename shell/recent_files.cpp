#include "shell/recent_files.hpp"

#include <cstddef>

namespace kova {

RecentMenuItems::RecentMenuItems() {
    caption[0] = "-";
    for (int i = 1; i <= kRecentMenuItems; ++i) caption[static_cast<std::size_t>(i)] = RecentValueName(i);
}

std::string RecentValueName(int pos) { return "RecentFile" + std::to_string(pos); }

void RecentFileList::GetRecentFiles(RecentMenuItems& menu) const {
    if (store_->Get(app_, kRecentSection, RecentValueName(1)).empty()) return;
    SettingPairs pairs = store_->GetAll(app_, kRecentSection);
    // A section with more values than menu entries (not written by these
    // programs) shows the first ones only.
    std::size_t n = pairs.size() < kRecentMenuItems ? pairs.size() : kRecentMenuItems;
    for (std::size_t k = 0; k < n; ++k) {
        menu.visible[0] = true;
        menu.caption[k + 1] = pairs[k].second;
        menu.visible[k + 1] = true;
    }
}

bool RecentFileList::OnRecentFilesList(const RecentMenuItems& menu, const std::string& filename, int& npos) {
    for (int i = 1; i <= kRecentEntries; ++i) {
        if (menu.caption[static_cast<std::size_t>(i)] == filename) {
            npos = i;
            return true;
        }
    }
    npos = kRecentEntries;
    return false;
}

void RecentFileList::WriteRecentFiles(const std::string& fileName, int npos) {
    for (int i = npos - 1; i >= 1; --i) {
        std::string v = store_->Get(app_, kRecentSection, RecentValueName(i));
        if (!v.empty()) store_->Save(app_, kRecentSection, RecentValueName(i + 1), v);
    }
    store_->Save(app_, kRecentSection, RecentValueName(1), fileName);
}

void RecentFileList::UpdateFileMenu(RecentMenuItems& menu, const std::string& filename) {
    int npos = kRecentEntries;
    OnRecentFilesList(menu, filename, npos);
    WriteRecentFiles(filename, npos);
    GetRecentFiles(menu);
}

}  // namespace kova
