#pragma once
// The four most recent files of a front end: kept in the settings store
// (section "Recent Files", values "RecentFile1", newest, to "RecentFile4")
// and shown as file-menu entries. The menu is plain data here so that the
// rules can be checked without a window; RecentFileMenu shows it.
#include <array>
#include <string>

#include "platform/settings.hpp"

namespace kova {

inline constexpr const char* kRecentSection = "Recent Files";
inline constexpr int kRecentEntries = 4;     // the store holds at most these
inline constexpr int kRecentMenuItems = 5;   // file entries of the menu

// Entry 0 is the separator, entries 1 to 5 the files. All start hidden,
// with their design captions "RecentFile1" to "RecentFile5", and are never
// hidden again once shown.
struct RecentMenuItems {
    std::array<std::string, kRecentMenuItems + 1> caption;
    std::array<bool, kRecentMenuItems + 1> visible{};
    RecentMenuItems();
};

std::string RecentValueName(int pos);  // "RecentFile" & pos

class RecentFileList {
public:
    RecentFileList(SettingsStore& store, std::string app) : store_(&store), app_(std::move(app)) {}

    // Fills the menu from the store; an empty "RecentFile1" leaves it alone.
    void GetRecentFiles(RecentMenuItems& menu) const;
    // Position (1 to 4) of filename among the captions of entries 1 to 4,
    // compared exactly; npos = 4 and false when it is not there.
    static bool OnRecentFilesList(const RecentMenuItems& menu, const std::string& filename, int& npos);
    // Moves stored entries 1 to npos - 1 down one place (empty ones stay)
    // and stores the file as entry 1.
    void WriteRecentFiles(const std::string& fileName, int npos);
    // Puts a file just opened or saved at the top and refills the menu.
    void UpdateFileMenu(RecentMenuItems& menu, const std::string& filename);

    const std::string& App() const { return app_; }

private:
    SettingsStore* store_;
    std::string app_;
};

}  // namespace kova
