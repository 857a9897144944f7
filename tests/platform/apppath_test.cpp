#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/apppath.hpp"
#include "platform/message.hpp"
#include "testing/fakes.hpp"
#include "tests/support/tempdir.hpp"

namespace fs = std::filesystem;
using namespace kova;

TEST(AppPath, WritableInstallFolderIsUsedElseAUserFolderIsSeeded) {
    test::TempDir base;
    fs::path inst = base / "inst";
    fs::create_directories(inst);
    EXPECT_EQ(ResolveAppPathFor(inst), inst);

    test::WriteBytes(inst / "BKHough1.CSV", "0\r\n");
    test::WriteBytes(inst / "other.txt", "x");
    ::setenv("XDG_DATA_HOME", (base / "data").c_str(), 1);
    fs::path p = SeedUserAppPath(inst);
    EXPECT_EQ(p, base / "data" / "kovadex");
    EXPECT_EQ(test::ReadBytes(p / "BKHough1.CSV"), "0\r\n");
    EXPECT_FALSE(fs::exists(p / "other.txt"));
    // A user's own copy is kept on the next start.
    test::WriteBytes(p / "BKHough1.CSV", "1\r\n");
    SeedUserAppPath(inst);
    EXPECT_EQ(test::ReadBytes(p / "BKHough1.CSV"), "1\r\n");
}

// A folder where a seeded file belongs is passed over, not read (reading a
// folder through a stream throws), and the other files are still seeded.
TEST(AppPath, AFolderInPlaceOfASeededFileIsPassedOver) {
    test::TempDir base;
    const fs::path inst = base / "inst";
    fs::create_directories(inst);
    test::WriteBytes(inst / "BKHough1.CSV", "0\r\n");
    test::WriteBytes(inst / "SYSVER.DAT", "\"1.00\"\r\n");
    ::setenv("XDG_DATA_HOME", (base / "data").c_str(), 1);
    const fs::path user = base / "data" / "kovadex";
    fs::create_directories(user / "SYSVER.DAT");
    EXPECT_EQ(SeedUserAppPath(inst), user);
    EXPECT_TRUE(fs::is_directory(user / "SYSVER.DAT"));
    EXPECT_EQ(test::ReadBytes(user / "BKHough1.CSV"), "0\r\n");
}

// An installation: programs in <prefix>/bin, data in <prefix>/share/kovadex.
TEST(AppPath, AnInstalledProgramKeepsItsFilesPerUserSeededFromItsDataFolder) {
    test::TempDir base;
    const fs::path bin = base / "prefix" / "bin";
    const fs::path share = base / "prefix" / "share" / "kovadex";
    fs::create_directories(bin);
    fs::create_directories(share);
    test::WriteBytes(share / "BKHough1.CSV", "9\r\n");
    test::WriteBytes(share / "SYSVER.DAT", "\"1.00\"\r\n");
    // What other packages put beside the programs is never copied.
    for (const char* stray : {"OTHER.DAT", "tables.CSV", "font.PFM", "SYSVER.DAT"})
        test::WriteBytes(bin / stray, "stray\r\n");
    ::setenv("XDG_DATA_HOME", (base / "data").c_str(), 1);
    const fs::path user = base / "data" / "kovadex";
    EXPECT_EQ(InstalledDataDir(bin), share);

    struct Case {
        const char* what;
        bool writable;
    } cases[] = {
        {"read-only prefix", false},
        // Root, or a prefix in the user's home: still not beside the programs.
        {"writable prefix", true},
    };
    for (const Case& c : cases) {
        fs::remove_all(user);
        const fs::path p = ResolveAppPathFor(bin, [&](const fs::path&) { return c.writable; });
        EXPECT_EQ(p, user) << c.what;
        EXPECT_EQ(test::ReadBytes(user / "BKHough1.CSV"), "9\r\n") << c.what;
        EXPECT_EQ(test::ReadBytes(user / "SYSVER.DAT"), "\"1.00\"\r\n") << c.what;
        EXPECT_EQ(std::distance(fs::directory_iterator(user), fs::directory_iterator{}), 2) << c.what;
        EXPECT_EQ(std::distance(fs::directory_iterator(bin), fs::directory_iterator{}), 4) << c.what;
    }
    // Copied from a read-only installation, the user's files are his to
    // rewrite.
    fs::remove_all(user);
    fs::permissions(share / "BKHough1.CSV", fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    ResolveAppPathFor(bin, [](const fs::path&) { return false; });
    EXPECT_NE(fs::status(user / "BKHough1.CSV").permissions() & fs::perms::owner_write, fs::perms::none);

    // The user's own sand curves survive the next start.
    test::WriteBytes(user / "BKHough1.CSV", "1\r\n");
    ResolveAppPathFor(bin, [](const fs::path&) { return false; });
    EXPECT_EQ(test::ReadBytes(user / "BKHough1.CSV"), "1\r\n");

    // A build tree (no data folder beside bin) that cannot be written is
    // seeded from the executable folder as before.
    const fs::path tree = base / "build" / "bin";
    fs::create_directories(tree);
    test::WriteBytes(tree / "SYSVER.DAT", "\"2.00\"\r\n");
    fs::remove_all(user);
    EXPECT_EQ(ResolveAppPathFor(tree, [](const fs::path&) { return true; }), tree);
    EXPECT_FALSE(fs::exists(user));
    EXPECT_EQ(ResolveAppPathFor(tree, [](const fs::path&) { return false; }), user);
    EXPECT_EQ(test::ReadBytes(user / "SYSVER.DAT"), "\"2.00\"\r\n");

    // A relative XDG_DATA_HOME is no base folder: the home's default is used.
    ::setenv("XDG_DATA_HOME", "data", 1);
    const char* home = std::getenv("HOME");
    const std::string savedHome = home ? home : "";
    ::setenv("HOME", base.path().c_str(), 1);
    EXPECT_EQ(ResolveAppPathFor(bin, [](const fs::path&) { return false; }),
              base / ".local" / "share" / "kovadex");
    if (home) ::setenv("HOME", savedHome.c_str(), 1); else ::unsetenv("HOME");
    ::unsetenv("XDG_DATA_HOME");
}

// What a start leaves in the user's folder, from what the installation ships
// and what the user's folder held: the version follows the installation
// both ways, the sand curves stay the user's once he has them.
TEST(AppPath, TheUsersFolderFollowsTheInstalledVersionAndKeepsHisSandCurves) {
    test::TempDir base;
    const fs::path bin = base / "prefix" / "bin";
    const fs::path share = base / "prefix" / "share" / "kovadex";
    fs::create_directories(bin);
    fs::create_directories(share);
    ::setenv("XDG_DATA_HOME", (base / "data").c_str(), 1);
    const fs::path user = base / "data" / "kovadex";
    const char* none = nullptr;
    struct Case {
        const char* what;
        const char* shippedVersion;
        const char* shippedCurves;
        const char* userVersion;  // nullptr: no such file yet
        const char* userCurves;
        bool userCopiesReadOnly;
        const char* wantVersion;
        const char* wantCurves;
    } cases[] = {
        {"first run", "\"1.00\"\r\n", "2\r\n", none, none, false, "\"1.00\"\r\n", "2\r\n"},
        {"same version", "\"1.00\"\r\n", "2\r\n", "\"1.00\"\r\n", "2\r\n", false, "\"1.00\"\r\n", "2\r\n"},
        {"installed newer", "\"1.01\"\r\n", "3\r\n", "\"1.00\"\r\n", "2\r\n", false, "\"1.01\"\r\n", "2\r\n"},
        {"installed older", "\"1.00\"\r\n", "2\r\n", "\"1.01\"\r\n", "3\r\n", false, "\"1.00\"\r\n", "3\r\n"},
        {"user-edited sand curves", "\"1.01\"\r\n", "2\r\n", "\"1.00\"\r\n", "7\r\n", false, "\"1.01\"\r\n", "7\r\n"},
        {"sand curves removed by the user", "\"1.01\"\r\n", "2\r\n", "\"1.01\"\r\n", none, false, "\"1.01\"\r\n", "2\r\n"},
        {"user's copies read-only", "\"1.01\"\r\n", "2\r\n", "\"1.00\"\r\n", "7\r\n", true, "\"1.01\"\r\n", "7\r\n"},
    };
    for (const Case& c : cases) {
        fs::remove_all(user);
        test::WriteBytes(share / "SYSVER.DAT", c.shippedVersion);
        test::WriteBytes(share / "BKHough1.CSV", c.shippedCurves);
        fs::create_directories(user);
        if (c.userVersion) test::WriteBytes(user / "SYSVER.DAT", c.userVersion);
        if (c.userCurves) test::WriteBytes(user / "BKHough1.CSV", c.userCurves);
        if (c.userCopiesReadOnly)
            for (const auto& e : fs::directory_iterator(user)) fs::permissions(e.path(), fs::perms::owner_read);

        ASSERT_EQ(ResolveAppPathFor(bin, [](const fs::path&) { return false; }), user) << c.what;
        EXPECT_EQ(test::ReadBytes(user / "SYSVER.DAT"), c.wantVersion) << c.what;
        EXPECT_EQ(test::ReadBytes(user / "BKHough1.CSV"), c.wantCurves) << c.what;
        // Nothing half-copied is left, and what was refreshed stays the
        // user's to rewrite.
        for (const auto& e : fs::directory_iterator(user)) {
            EXPECT_NE(e.path().extension(), ".part") << c.what;
            if (e.path().filename() == "SYSVER.DAT") {
                EXPECT_NE(e.status().permissions() & fs::perms::owner_write, fs::perms::none) << c.what;
            }
        }
    }
    ::unsetenv("XDG_DATA_HOME");
}

// The engine and the viewer: beside the programs in a build tree, in the
// installation's helper folder when installed.
TEST(AppPath, TheHelperProgramsLieBesideABuildTreeAndInTheInstallationsLibFolder) {
    test::TempDir base;
    const fs::path tree = base / "build" / "bin";
    const fs::path bin = base / "prefix" / "bin";
    fs::create_directories(tree);
    fs::create_directories(bin);
    fs::create_directories(base / "prefix" / "share" / "kovadex");
    EXPECT_EQ(HelperDir(tree), tree);
    EXPECT_EQ(HelperDir(bin), base / "prefix" / "lib" / "kovadex");
}

TEST(Messages, RecordingScriptsAnswersThenDefaults) {
    RecordingMessages ui;
    ui.Script(MsgAnswer::No);
    Message q{"保存しますか", "確認", MsgIcon::Question, MsgButtons::YesNoCancel, 0};
    EXPECT_EQ(ui.Show(q), MsgAnswer::No);
    EXPECT_EQ(ui.Show(q), MsgAnswer::Yes);
    q.defaultButton = 2;
    EXPECT_EQ(ui.Show(q), MsgAnswer::Cancel);
    EXPECT_EQ(ui.Show(Message{"x", "", MsgIcon::Exclamation, MsgButtons::OkCancel, 1}), MsgAnswer::Cancel);
    ASSERT_EQ(ui.Count(), 4u);
    EXPECT_EQ(ui.shown[0].caption, "確認");
}
