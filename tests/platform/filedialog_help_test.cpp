#include <gtest/gtest.h>

#include "platform/filedialog.hpp"
#include "platform/help.hpp"
#include "testing/fakes.hpp"
#include "tests/support/tempdir.hpp"

using namespace kova;

namespace {

TEST(ParseFilter, SplitsDescriptionsAndPatterns) {
    struct Case {
        std::string filter;
        std::vector<FilterEntry> want;
    } cases[] = {
        {"ﾃﾞｰﾀ ﾌｧｲﾙ (*.kov)|*.kov", {{"ﾃﾞｰﾀ ﾌｧｲﾙ (*.kov)", {"*.kov"}}}},
        {"Text|*.txt; *.csv|All|*.*", {{"Text", {"*.txt", "*.csv"}}, {"All", {"*.*"}}}},
        {"Lonely", {{"Lonely", {"*"}}}},
        {"", {}},
    };
    for (const Case& c : cases) {
        auto got = ParseFilter(c.filter);
        ASSERT_EQ(got.size(), c.want.size()) << c.filter;
        for (std::size_t i = 0; i < got.size(); ++i) {
            EXPECT_EQ(got[i].description, c.want[i].description) << c.filter;
            EXPECT_EQ(got[i].patterns, c.want[i].patterns) << c.filter;
        }
    }
}

TEST(ShowHelp, OpensTheProgramFolderFileOrSaysWhyNot) {
    test::TempDir dir;
    EXPECT_EQ(HelpFilePath("/opt/kova/", "KOVA_TLM.HLP").string(), "/opt/kova/KOVA_TLM.HLP");
    EXPECT_EQ(HelpFilePath("/", "KOVA_TLM.HLP").string(), "/KOVA_TLM.HLP");

    test::WriteBytes(dir / "KOVACALC.HLP", "help");
    RecordingHelpViewer viewer;
    RecordingMessages msg;
    EXPECT_TRUE(ShowHelp(viewer, msg, dir.path(), "KOVACALC.HLP"));
    EXPECT_EQ(viewer.opened, std::vector<std::filesystem::path>{dir / "KOVACALC.HLP"});
    EXPECT_EQ(msg.Count(), 0u);

    EXPECT_FALSE(ShowHelp(viewer, msg, dir.path(), "KOVA_TLM.HLP"));
    EXPECT_EQ(viewer.opened.size(), 1u);
    ASSERT_EQ(msg.Count(), 1u);
    EXPECT_EQ(msg.Last().text, "ﾍﾙﾌﾟﾌｧｲﾙ(KOVA_TLM.HLP)が見つかりません。\r" + (dir / "KOVA_TLM.HLP").string());
    EXPECT_EQ(msg.Last().icon, MsgIcon::Exclamation);

    viewer.works = false;
    EXPECT_FALSE(ShowHelp(viewer, msg, dir.path(), "KOVACALC.HLP"));
    ASSERT_EQ(msg.Count(), 2u);
    EXPECT_EQ(msg.Last().text, "ﾍﾙﾌﾟﾌｧｲﾙ(KOVACALC.HLP)を表示出来ません。\r" + (dir / "KOVACALC.HLP").string());
}

}  // namespace
