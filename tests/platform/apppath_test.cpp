#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

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
