#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

#include "platform/settings.hpp"
#include "testing/fakes.hpp"
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

TEST_P(StoreTest, CreationOrderAndSeparateApplicationsAndSections) {
    EXPECT_EQ(store->Get("A", "S", "RecentFile1"), "");
    ASSERT_TRUE(store->Save("A", "S", "RecentFile2", "two"));
    store->Save("A", "S", "RecentFile1", "one");
    store->Save("A", "S", "RecentFile3", "three");
    store->Save("A", "S", "RecentFile2", "TWO");  // keeps its place
    store->Save("B", "S", "RecentFile1", "b");
    store->Save("A", "T", "RecentFile1", "t");
    SettingPairs want = {{"RecentFile2", "TWO"}, {"RecentFile1", "one"}, {"RecentFile3", "three"}};
    EXPECT_EQ(store->GetAll("A", "S"), want);
    EXPECT_EQ(store->Get("B", "S", "RecentFile1"), "b");
    EXPECT_EQ(store->Get("A", "T", "RecentFile1"), "t");
}

INSTANTIATE_TEST_SUITE_P(Stores, StoreTest, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Ini" : "Memory"; });

TEST(IniSettings, PlainIniFileThatAnyTextSurvives) {
    test::TempDir dir;
    {
        IniSettings s(dir.path());
        s.Save("Kova_xxx", "Recent Files", "RecentFile1", "/d/a=b.kov");
        s.Save("Kova_xxx", "Recent Files", "RecentFile2", "/d/c.kov");
    }
    EXPECT_EQ(test::ReadBytes(dir / "Kova_xxx.ini"), "[Recent Files]\nRecentFile1=/d/a\\x3Db.kov\nRecentFile2=/d/c.kov\n");

    const std::string values[] = {"/home/u/データ/site.kov", "[Recent Files]", "line1\nline2", "cr\rhere",
                                  "back\\slash\\x41", "  blanks  ", ";not a comment", ""};
    IniSettings s(dir.path());
    int i = 0;
    for (const std::string& v : values) s.Save("App", "Sec", "k" + std::to_string(i++), v);
    s.Save("App", "we[ird]=key", "na=me\n", "v");
    IniSettings again(dir.path());
    i = 0;
    for (const std::string& v : values) EXPECT_EQ(again.Get("App", "Sec", "k" + std::to_string(i++)), v);
    EXPECT_EQ(again.GetAll("App", "Sec").size(), std::size(values));
    EXPECT_EQ(again.Get("App", "we[ird]=key", "na=me\n"), "v");
}

TEST(IniSettings, ReadsWhatMakesSenseOfADamagedFile) {
    test::TempDir dir;
    test::WriteBytes(dir / "App.ini", "junk before any section\n[Recent Files]\r\nRecentFile1=/a\r\nno equals sign\n"
                                      "RecentFile2=/b=c\n[\n");
    IniSettings s(dir.path());
    SettingPairs want = {{"RecentFile1", "/a"}, {"RecentFile2", "/b=c"}};
    EXPECT_EQ(s.GetAll("App", "Recent Files"), want);
    // A save rewrites the file cleanly and keeps what was readable.
    s.Save("App", "Recent Files", "RecentFile3", "/d");
    want.emplace_back("RecentFile3", "/d");
    EXPECT_EQ(IniSettings(dir.path()).GetAll("App", "Recent Files"), want);
}

TEST(IniSettings, UnwritableFolderAndDefaultFolder) {
    test::TempDir dir;
    test::WriteBytes(dir / "file", "x");
    IniSettings s(dir / "file" / "sub");
    EXPECT_FALSE(s.Save("App", "S", "K", "V"));
    EXPECT_EQ(s.Get("App", "S", "K"), "");

    const char* old = std::getenv("XDG_CONFIG_HOME");
    const std::string saved = old ? old : "";
    setenv("XDG_CONFIG_HOME", "/tmp/cfg-home", 1);
    EXPECT_EQ(IniSettings::DefaultFolder(), fs::path("/tmp/cfg-home/kovadex"));
    setenv("XDG_CONFIG_HOME", "", 1);
    if (const char* home = std::getenv("HOME"); home && *home) {
        EXPECT_EQ(IniSettings::DefaultFolder(), fs::path(home) / ".config" / "kovadex");
    }
    if (old) setenv("XDG_CONFIG_HOME", saved.c_str(), 1); else unsetenv("XDG_CONFIG_HOME");
}

}  // namespace
