#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "shell/recent_files.hpp"
#include "testing/fakes.hpp"
#include "tests/support/tempdir.hpp"

using namespace kova;

namespace {

using Paths = std::vector<std::string>;

// The visible file entries of a menu, top down.
Paths Shown(const RecentMenuItems& menu) {
    Paths p;
    for (std::size_t i = 1; i <= kRecentMenuItems; ++i)
        if (menu.visible[i]) p.push_back(menu.caption[i]);
    return p;
}

// Every rule holds for the memory store and for the INI file store.
class RecentFiles : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override {
        if (GetParam())
            store = std::make_unique<IniSettings>(dir.path());
        else
            store = std::make_unique<MemorySettings>();
    }
    test::TempDir dir;
    std::unique_ptr<SettingsStore> store;
};

TEST_P(RecentFiles, AnEmptyStoreLeavesTheMenuAloneAndTheFirstFileShowsTheSeparator) {
    RecentFileList list(*store, "Kova_xxx");
    RecentMenuItems menu;
    list.GetRecentFiles(menu);
    EXPECT_EQ(menu.caption, RecentMenuItems().caption);
    EXPECT_FALSE(menu.visible[0]);
    EXPECT_EQ(menu.caption[5], "RecentFile5");
    list.UpdateFileMenu(menu, "/d/A.kov");
    EXPECT_EQ(store->Get("Kova_xxx", "Recent Files", "RecentFile1"), "/d/A.kov");
    EXPECT_TRUE(menu.visible[0]);
    EXPECT_EQ(Shown(menu), Paths{"/d/A.kov"});
    // Each program keeps its own list.
    RecentMenuItems tolm;
    RecentFileList(*store, "Tolm_xxx").GetRecentFiles(tolm);
    EXPECT_FALSE(tolm.visible[0]);
}

TEST_P(RecentFiles, MovesAndTheFourEntryLimit) {
    struct Case {
        Paths before;  // opened in this order, so the last is newest
        std::string open;
        Paths want;  // newest first
    } cases[] = {
        {{"/B", "/A"}, "/C", {"/C", "/A", "/B"}},
        {{"/D", "/B", "/A", "/C"}, "/B", {"/B", "/C", "/A", "/D"}},
        {{"/D", "/B", "/A", "/C"}, "/D", {"/D", "/C", "/A", "/B"}},
        {{"/D", "/B", "/A", "/C"}, "/C", {"/C", "/A", "/B", "/D"}},
        {{"/D", "/B", "/A", "/C"}, "/E", {"/E", "/C", "/A", "/B"}},  // a fifth pushes one out
        {{"/B", "/a.kov"}, "/A.KOV", {"/A.KOV", "/a.kov", "/B"}},  // letter case makes another file
    };
    int n = 0;
    for (const Case& c : cases) {
        const std::string app = "App" + std::to_string(n++);  // a fresh list per case
        RecentFileList l(*store, app);
        RecentMenuItems m;
        l.GetRecentFiles(m);
        for (const auto& f : c.before) l.UpdateFileMenu(m, f);
        l.UpdateFileMenu(m, c.open);
        Paths stored;
        for (const auto& [k, v] : store->GetAll(app, "Recent Files")) stored.push_back(v);
        EXPECT_EQ(stored, c.want) << c.open;
        EXPECT_EQ(Shown(m), c.want) << c.open;
        // The next run shows the same list.
        RecentMenuItems next;
        RecentFileList(*store, app).GetRecentFiles(next);
        EXPECT_EQ(Shown(next), c.want) << c.open;
        EXPECT_TRUE(next.visible[0]);
    }
}

INSTANTIATE_TEST_SUITE_P(Stores, RecentFiles, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Ini" : "Memory"; });

TEST(RecentFileList, OnRecentFilesListLooksAtEntriesOneToFourOnly) {
    RecentMenuItems menu;
    menu.caption = {"-", "/1", "/2", "/3", "/4", "/5"};
    int npos = 0;
    EXPECT_TRUE(RecentFileList::OnRecentFilesList(menu, "/3", npos));
    EXPECT_EQ(npos, 3);
    EXPECT_FALSE(RecentFileList::OnRecentFilesList(menu, "/5", npos));
    EXPECT_EQ(npos, 4);
}

TEST(RecentFileList, EmptyStoredEntriesAreNotMovedAndExtraValuesOnlyFillTheMenu) {
    MemorySettings store;
    store.Save("Kova_xxx", "Recent Files", "RecentFile1", "/A");
    store.Save("Kova_xxx", "Recent Files", "RecentFile2", "");
    store.Save("Kova_xxx", "Recent Files", "RecentFile3", "/C");
    RecentFileList(store, "Kova_xxx").WriteRecentFiles("/N", 4);
    // 3 -> 4, the empty 2 is skipped (3 keeps /C), 1 -> 2, then /N as 1.
    Paths got;
    for (int i = 1; i <= 4; ++i) got.push_back(store.Get("Kova_xxx", "Recent Files", RecentValueName(i)));
    EXPECT_EQ(got, (Paths{"/N", "/A", "/C", "/C"}));

    for (int i = 1; i <= 7; ++i) store.Save("App", "Recent Files", RecentValueName(i), "/" + std::to_string(i));
    RecentMenuItems menu;
    RecentFileList(store, "App").GetRecentFiles(menu);
    EXPECT_EQ(Shown(menu), (Paths{"/1", "/2", "/3", "/4", "/5"}));
}

}  // namespace
