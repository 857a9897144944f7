#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/apppath.hpp"
#include "platform/message.hpp"

namespace fs = std::filesystem;
using namespace kova;

TEST(AppPath, WritableInstallFolderIsUsed) {
    fs::path dir = fs::temp_directory_path() / ("kova_app_" + std::to_string(::getpid()));
    fs::create_directories(dir);
    EXPECT_EQ(ResolveAppPathFor(dir), dir);
    fs::remove_all(dir);
}

TEST(AppPath, UserFolderIsCreatedAndSeeded) {
    fs::path base = fs::temp_directory_path() / ("kova_ro_" + std::to_string(::getpid()));
    fs::path inst = base / "inst";
    fs::create_directories(inst);
    std::ofstream(inst / "BKHough1.CSV") << "0\r\n";
    std::ofstream(inst / "other.txt") << "x";
    ::setenv("XDG_DATA_HOME", (base / "data").c_str(), 1);
    fs::path p = SeedUserAppPath(inst);
    EXPECT_EQ(p, base / "data" / "kovadex");
    EXPECT_TRUE(fs::exists(p / "BKHough1.CSV"));
    EXPECT_FALSE(fs::exists(p / "other.txt"));
    // A user's own copy is kept on the next start.
    std::ofstream(p / "BKHough1.CSV") << "1\r\n";
    SeedUserAppPath(inst);
    std::ifstream f(p / "BKHough1.CSV");
    std::string first;
    f >> first;
    EXPECT_EQ(first, "1");
    fs::remove_all(base);
}

TEST(Messages, RecordingScriptsAnswersThenDefaults) {
    RecordingMessages ui;
    ui.Script(MsgAnswer::No);
    Message q{"保存しますか", "確認", MsgIcon::Question, MsgButtons::YesNoCancel, 0};
    EXPECT_EQ(ui.Show(q), MsgAnswer::No);
    EXPECT_EQ(ui.Show(q), MsgAnswer::Yes);
    q.defaultButton = 2;
    EXPECT_EQ(ui.Show(q), MsgAnswer::Cancel);
    Message ok{"x", "", MsgIcon::Exclamation, MsgButtons::OkCancel, 1};
    EXPECT_EQ(ui.Show(ok), MsgAnswer::Cancel);
    ASSERT_EQ(ui.Count(), 4u);
    EXPECT_EQ(ui.shown[0].caption, "確認");
}
