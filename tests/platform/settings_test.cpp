#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <memory>

#include "platform/settings.hpp"
#include "tests/support/tempdir.hpp"

using namespace kova;
namespace fs = std::filesystem;

namespace {

// The ordering rules hold for every store.
class StoreTest : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override {
        if (GetParam())
            store = std::make_unique<IniSettings>(dir.path() / "cfg");
        else
            store = std::make_unique<MemorySettings>();
    }
    test::TempDir dir;
    std::unique_ptr<SettingsStore> store;
};

TEST_P(StoreTest, AbsentValuesReadEmpty) {
    EXPECT_EQ(store->Get("Kova_xxx", "Recent Files", "RecentFile1"), "");
    EXPECT_TRUE(store->GetAll("Kova_xxx", "Recent Files").empty());
}

TEST_P(StoreTest, ListsValuesInCreationOrderAndKeepsThePlaceOfRewrittenOnes) {
    ASSERT_TRUE(store->Save("A", "S", "RecentFile2", "two"));
    store->Save("A", "S", "RecentFile1", "one");
    store->Save("A", "S", "RecentFile3", "three");
    store->Save("A", "S", "RecentFile2", "TWO");
    SettingPairs want = {{"RecentFile2", "TWO"}, {"RecentFile1", "one"}, {"RecentFile3", "three"}};
    EXPECT_EQ(store->GetAll("A", "S"), want);
    EXPECT_EQ(store->Get("A", "S", "RecentFile2"), "TWO");
}

TEST_P(StoreTest, ApplicationsAndSectionsAreSeparate) {
    store->Save("Kova_xxx", "Recent Files", "RecentFile1", "/a.kov");
    store->Save("Tolm_xxx", "Recent Files", "RecentFile1", "/b.tlm");
    store->Save("Kova_xxx", "Other", "RecentFile1", "x");
    EXPECT_EQ(store->Get("Kova_xxx", "Recent Files", "RecentFile1"), "/a.kov");
    EXPECT_EQ(store->Get("Tolm_xxx", "Recent Files", "RecentFile1"), "/b.tlm");
    EXPECT_EQ(store->GetAll("Kova_xxx", "Recent Files").size(), 1u);
    EXPECT_EQ(store->Get("Kova_xxx", "Other", "RecentFile1"), "x");
}

INSTANTIATE_TEST_SUITE_P(Stores, StoreTest, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Ini" : "Memory"; });

TEST(IniSettings, ValuesSurviveANewStoreOnTheSameFolder) {
    test::TempDir dir;
    {
        IniSettings s(dir.path());
        s.Save("Kova_xxx", "Recent Files", "RecentFile1", "/x/1.kov");
        s.Save("Kova_xxx", "Recent Files", "RecentFile2", "/x/2.kov");
    }
    IniSettings again(dir.path());
    SettingPairs want = {{"RecentFile1", "/x/1.kov"}, {"RecentFile2", "/x/2.kov"}};
    EXPECT_EQ(again.GetAll("Kova_xxx", "Recent Files"), want);
    EXPECT_TRUE(fs::exists(dir.path() / "Kova_xxx.ini"));
}

TEST(IniSettings, TheFileIsPlainIni) {
    test::TempDir dir;
    IniSettings s(dir.path());
    s.Save("Kova_xxx", "Recent Files", "RecentFile1", "/d/a=b.kov");
    s.Save("Kova_xxx", "Recent Files", "RecentFile2", "/d/c.kov");
    std::ifstream in(dir.path() / "Kova_xxx.ini", std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(text, "[Recent Files]\nRecentFile1=/d/a\\x3Db.kov\nRecentFile2=/d/c.kov\n");
}

TEST(IniSettings, AnyTextRoundTrips) {
    test::TempDir dir;
    IniSettings s(dir.path());
    const std::string values[] = {
        "/home/u/データ/site.kov", "a=b", "[Recent Files]", "line1\nline2", "cr\rhere",
        "back\\slash\\x41", "  blanks  ", ";not a comment", "",
    };
    int i = 0;
    for (const std::string& v : values) s.Save("App", "Sec", "k" + std::to_string(i++), v);
    s.Save("App", "we[ird]=key", "na=me\n", "v");
    s.Save("App", "Sec2", ";comment-like key", "w");
    IniSettings again(dir.path());
    i = 0;
    for (const std::string& v : values) EXPECT_EQ(again.Get("App", "Sec", "k" + std::to_string(i++)), v);
    EXPECT_EQ(again.GetAll("App", "Sec").size(), std::size(values));
    EXPECT_EQ(again.Get("App", "we[ird]=key", "na=me\n"), "v");
    EXPECT_EQ(again.Get("App", "Sec2", ";comment-like key"), "w");
}

TEST(IniSettings, ReadsWhatMakesSenseOfADamagedFile) {
    test::TempDir dir;
    {
        std::ofstream f(dir.path() / "App.ini", std::ios::binary);
        f << "junk before any section\n[Recent Files]\r\nRecentFile1=/a\r\nno equals sign\n"
             "RecentFile2=/b=c\n[\n";
    }
    IniSettings s(dir.path());
    SettingPairs want = {{"RecentFile1", "/a"}, {"RecentFile2", "/b=c"}};
    EXPECT_EQ(s.GetAll("App", "Recent Files"), want);
    // A save rewrites the file cleanly and keeps what was readable.
    s.Save("App", "Recent Files", "RecentFile3", "/d");
    want.emplace_back("RecentFile3", "/d");
    EXPECT_EQ(IniSettings(dir.path()).GetAll("App", "Recent Files"), want);
}

TEST(IniSettings, ReportsAFolderThatCannotBeWritten) {
    test::TempDir dir;
    std::ofstream(dir.path() / "file") << "x";
    IniSettings s(dir.path() / "file" / "sub");
    EXPECT_FALSE(s.Save("App", "S", "K", "V"));
    EXPECT_EQ(s.Get("App", "S", "K"), "");
}

TEST(IniSettings, DefaultFolderFollowsXdgConfigHome) {
    const char* old = std::getenv("XDG_CONFIG_HOME");
    std::string saved = old ? old : "";
    setenv("XDG_CONFIG_HOME", "/tmp/cfg-home", 1);
    EXPECT_EQ(IniSettings::DefaultFolder(), fs::path("/tmp/cfg-home/kovadex"));
    setenv("XDG_CONFIG_HOME", "", 1);
    const char* home = std::getenv("HOME");
    if (home && *home) {
        EXPECT_EQ(IniSettings::DefaultFolder(), fs::path(home) / ".config" / "kovadex");
    }
    if (old)
        setenv("XDG_CONFIG_HOME", saved.c_str(), 1);
    else
        unsetenv("XDG_CONFIG_HOME");
}

}  // namespace
