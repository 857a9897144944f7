#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "shell/recent_files.hpp"
#include "tests/support/tempdir.hpp"

using namespace kova;

namespace {

using Paths = std::vector<std::string>;

class RecentFiles : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override {
        if (GetParam())
            store = std::make_unique<IniSettings>(dir.path());
        else
            store = std::make_unique<MemorySettings>();
        list = std::make_unique<RecentFileList>(*store, "Kova_xxx");
        list->GetRecentFiles(menu);
    }
    // Opens files one after the other, as the main window reports them.
    void Open(const Paths& files) {
        for (const auto& f : files) list->UpdateFileMenu(menu, f);
    }
    // The stored values in the order the store lists them.
    Paths Stored() const {
        Paths p;
        for (const auto& [k, v] : store->GetAll("Kova_xxx", "Recent Files")) p.push_back(v);
        return p;
    }
    // The visible file entries of the menu, top down.
    Paths Shown() const {
        Paths p;
        for (int i = 1; i <= kRecentMenuItems; ++i)
            if (menu.visible[static_cast<std::size_t>(i)]) p.push_back(menu.caption[static_cast<std::size_t>(i)]);
        return p;
    }

    test::TempDir dir;
    std::unique_ptr<SettingsStore> store;
    std::unique_ptr<RecentFileList> list;
    RecentMenuItems menu;
};

TEST_P(RecentFiles, AnEmptyStoreLeavesTheMenuAlone) {
    RecentMenuItems fresh;
    EXPECT_EQ(menu.caption, fresh.caption);
    EXPECT_EQ(menu.visible, fresh.visible);
    EXPECT_FALSE(menu.visible[0]);
    EXPECT_EQ(menu.caption[1], "RecentFile1");
    EXPECT_EQ(menu.caption[5], "RecentFile5");
}

TEST_P(RecentFiles, FirstFileShowsTheSeparatorAndOneEntry) {
    Open({"/d/A.kov"});
    EXPECT_EQ(store->Get("Kova_xxx", "Recent Files", "RecentFile1"), "/d/A.kov");
    EXPECT_TRUE(menu.visible[0]);
    EXPECT_EQ(Shown(), Paths{"/d/A.kov"});
    EXPECT_FALSE(menu.visible[2]);
}

TEST_P(RecentFiles, MovesAndTheFourEntryLimit) {
    struct Case {
        const char* what;
        Paths before;  // opened in this order, so the last is newest
        std::string open;
        Paths want;    // newest first
    } cases[] = {
        {"new file on A, B", {"/B", "/A"}, "/C", {"/C", "/A", "/B"}},
        {"reopen the third", {"/D", "/B", "/A", "/C"}, "/B", {"/B", "/C", "/A", "/D"}},
        {"reopen the fourth", {"/D", "/B", "/A", "/C"}, "/D", {"/D", "/C", "/A", "/B"}},
        {"reopen the newest", {"/D", "/B", "/A", "/C"}, "/C", {"/C", "/A", "/B", "/D"}},
        {"fifth file pushes one out", {"/D", "/B", "/A", "/C"}, "/E", {"/E", "/C", "/A", "/B"}},
        {"letter case makes another file", {"/B", "/a.kov"}, "/A.KOV", {"/A.KOV", "/a.kov", "/B"}},
    };
    int n = 0;
    for (const Case& c : cases) {
        // A fresh store and menu per case, under another application name.
        std::string app = "App" + std::to_string(n++);
        RecentFileList l(*store, app);
        RecentMenuItems m;
        l.GetRecentFiles(m);
        for (const auto& f : c.before) l.UpdateFileMenu(m, f);
        l.UpdateFileMenu(m, c.open);
        Paths stored, shown;
        for (const auto& [k, v] : store->GetAll(app, "Recent Files")) stored.push_back(v);
        for (int i = 1; i <= kRecentMenuItems; ++i)
            if (m.visible[static_cast<std::size_t>(i)]) shown.push_back(m.caption[static_cast<std::size_t>(i)]);
        EXPECT_EQ(stored, c.want) << c.what;
        EXPECT_EQ(shown, c.want) << c.what;
    }
}

TEST_P(RecentFiles, SaveUnderANewNamePutsItOnTop) {
    Open({"/d/site.kov"});
    Open({"/d/site2.kov"});  // save as
    EXPECT_EQ(Shown(), (Paths{"/d/site2.kov", "/d/site.kov"}));
}

TEST_P(RecentFiles, TheListOutlivesTheRun) {
    Open({"/B", "/A"});
    RecentMenuItems next;
    RecentFileList(*store, "Kova_xxx").GetRecentFiles(next);
    EXPECT_EQ(next.caption[1], "/A");
    EXPECT_EQ(next.caption[2], "/B");
    EXPECT_TRUE(next.visible[0] && next.visible[1] && next.visible[2]);
    EXPECT_FALSE(next.visible[3]);
}

TEST_P(RecentFiles, EachProgramKeepsItsOwnList) {
    Open({"/d/site.kov"});
    RecentMenuItems tolm;
    RecentFileList tl(*store, "Tolm_xxx");
    tl.GetRecentFiles(tolm);
    EXPECT_FALSE(tolm.visible[0]);
    tl.UpdateFileMenu(tolm, "/d/obs.tlm");
    EXPECT_EQ(store->Get("Tolm_xxx", "Recent Files", "RecentFile1"), "/d/obs.tlm");
    EXPECT_EQ(Stored(), Paths{"/d/site.kov"});
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
    EXPECT_FALSE(RecentFileList::OnRecentFilesList(menu, "/x", npos));
    EXPECT_EQ(npos, 4);
}

TEST(RecentFileList, EmptyStoredEntriesAreNotMoved) {
    MemorySettings store;
    store.Save("Kova_xxx", "Recent Files", "RecentFile1", "/A");
    store.Save("Kova_xxx", "Recent Files", "RecentFile2", "");
    store.Save("Kova_xxx", "Recent Files", "RecentFile3", "/C");
    RecentFileList list(store, "Kova_xxx");
    list.WriteRecentFiles("/N", 4);
    // 3 -> 4, the empty 2 is skipped (3 keeps /C), 1 -> 2, then /N as 1.
    EXPECT_EQ(store.Get("Kova_xxx", "Recent Files", "RecentFile4"), "/C");
    EXPECT_EQ(store.Get("Kova_xxx", "Recent Files", "RecentFile3"), "/C");
    EXPECT_EQ(store.Get("Kova_xxx", "Recent Files", "RecentFile2"), "/A");
    EXPECT_EQ(store.Get("Kova_xxx", "Recent Files", "RecentFile1"), "/N");
}

TEST(RecentFileList, AStoreWithMoreValuesThanEntriesFillsTheMenuOnly) {
    MemorySettings store;
    for (int i = 1; i <= 7; ++i) store.Save("Kova_xxx", "Recent Files", RecentValueName(i), "/" + std::to_string(i));
    RecentMenuItems menu;
    RecentFileList(store, "Kova_xxx").GetRecentFiles(menu);
    EXPECT_EQ(menu.caption[5], "/5");
    for (bool v : menu.visible) EXPECT_TRUE(v);
}

}  // namespace
