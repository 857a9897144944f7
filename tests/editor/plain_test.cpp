// The main window's plain helpers: names, switch, stale files, result
// read-back, engine messages and layout.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include "editing/layout.hpp"
#include "editing/names.hpp"
#include "editing/results.hpp"
#include "editing/run_commands.hpp"
#include "editing/stale_results.hpp"
#include "tests/editor/editor_fixture.hpp"
#include "tests/support/tempdir.hpp"

using namespace kova;
namespace fs = std::filesystem;

namespace {

std::string Rows(int n, const char* row = "1.5,-2,0.125") {
    std::string s;
    for (int i = 0; i < n; ++i) s += std::string(row) + "\r\n";
    return s;
}

TEST(Names, FileTitleAndCaption) {
    struct Case {
        const char* path;
        const char* title;
    } cases[] = {
        {"/data/site.old.kov", "site"},
        {"/data/site.kov", "site"},
        {"site", "site"},
        {"/d.ir/plain", "plain"},  // a dot in a folder does not count
        {"/data/.kov", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(FileTitle(c.path), c.title) << c.path;
    EXPECT_EQ(CaptionFor("無題"), "Kovadex - 無題");
    EXPECT_EQ(CaptionFor("/x/site.old.kov"), "Kovadex - site");
}

TEST(Names, SheetPileSwitchIsTheWholeTrimmedLineInAnyCase) {
    struct Case {
        const char* line;
        bool on;
    } cases[] = {
        {"/rvm", true}, {"  /RVM \t", true}, {"/Rvm", true}, {"/rvm x", false},
        {"rvm", false}, {"", false},         {"/rvmm", false}, {"-rvm", false},
    };
    for (const Case& c : cases) EXPECT_EQ(IsSheetPileSwitch(c.line), c.on) << '"' << c.line << '"';
}

TEST(StaleResults, RemovesTheResultFilesOnlyAndNamesWhatStayed) {
    test::TempDir d;
    const char* gone[] = {"TK_DATA.PDT", "TK_DT_01.PDT", "TK_DT_.PDT", "KT_ZUMEN.PZK", "TNJ_H_03.PZK",
                          "TNK_Z_12.PZK", "CAL_TNK.DAT", "CAL_TNX.DAT", "tnk.csv"};
    const char* kept[] = {"TNK_MAX.PZK", "tnk1.csv", "CAL_TN.DAT", "CAL_TNKK.DAT", "TNK.CSV",
                          "tk_data.pdt", "KOVA_JKN.ORG", "BKHough1.CSV"};
    for (const char* n : gone) test::WriteBytes(d / n, "x");
    for (const char* n : kept) test::WriteBytes(d / n, "x");
    fs::create_directories(d / "TK_DT_09.PDT");  // a folder is never a result
    EXPECT_TRUE(DeleteStaleResults(d.path()).empty());
    for (const char* n : gone) EXPECT_FALSE(fs::exists(d / n)) << n;
    for (const char* n : kept) EXPECT_TRUE(fs::exists(d / n)) << n;
    EXPECT_TRUE(fs::is_directory(d / "TK_DT_09.PDT"));

    EXPECT_TRUE(DeleteStaleResults(d.path(), true).empty());
    EXPECT_FALSE(fs::exists(d / "TNK_MAX.PZK"));
    EXPECT_FALSE(fs::exists(d / "tnk1.csv"));
    EXPECT_TRUE(fs::exists(d / "CAL_TN.DAT"));

    test::WriteBytes(d / "tnk.csv", "x");
    std::vector<fs::path> failed;
    {
        test::Undeletable stays(d / "tnk.csv");
        if (!stays.Works()) GTEST_SKIP() << "no way to keep a file from being removed here";
        failed = DeleteStaleResults(d.path(), true);
    }
    ASSERT_EQ(failed.size(), 1u);
    EXPECT_EQ(DeleteFailedText(failed[0]), "結果ﾌｧｲﾙ(tnk.csv)を削除出来ません。");
}

TEST(ReadResults, BothTablesWholeOrNothing) {
    struct Case {
        const char* name;
        std::string profile, positions;
        bool ok;
    } cases[] = {
        {"whole", Rows(1000), Rows(3), true},
        {"blank lines after the rows", Rows(1000) + "\r\n \r\n", Rows(3), true},
        {"more rows than wanted", Rows(1003), Rows(5), false},
        {"one row a line of fields", Rows(1000, "1.5\n-2\n0.125"), Rows(3), false},
        {"999 profile rows", Rows(999), Rows(3), false},
        {"short position file", Rows(1000), Rows(2), false},
        {"no position file", Rows(1000), "", false},
        {"not a number", Rows(999) + "1,x,2\n", Rows(3), false},
        {"not finite", Rows(999) + "1,nan,2\n", Rows(3), false},
        {"two numbers a row", Rows(1000, "1.5,-2"), Rows(3), false},
        {"cut inside the last number", Rows(1000), Rows(3).substr(0, Rows(3).size() - 3), false},
        {"last line without its line end", Rows(1000), Rows(3).substr(0, Rows(3).size() - 2), false},
        {"junk after the rows", Rows(1000) + "x\r\n", Rows(3), false},
    };
    for (const Case& c : cases) {
        test::TempDir d;
        test::WriteBytes(d / "tnk.csv", c.profile);
        if (!c.positions.empty()) test::WriteBytes(d / "tnk1.csv", c.positions);
        auto m = std::make_unique<Model>();
        m->CalcPosCount = 3;
        m->SettledSurface[0] = ResultRow{9, 9, 9};
        for (auto& r : m->CalcPosResult) r = ResultRow{7, 7, 7};
        EXPECT_EQ(ReadResults(d.path(), *m), c.ok) << c.name;
        if (c.ok) {
            EXPECT_EQ(m->SettledSurface[999].v, 0.125) << c.name;
            EXPECT_EQ(m->CalcPosResult[2].y, -2) << c.name;
            for (int i = 3; i < 20; ++i) EXPECT_EQ(m->CalcPosResult[i].v, -1) << c.name << " " << i;
            EXPECT_EQ(m->CalcPosResult[20].v, 7) << c.name;  // the spare slot is left alone
        } else {
            EXPECT_EQ(m->SettledSurface[0].v, 9) << c.name;
            EXPECT_EQ(m->CalcPosResult[0].v, 7) << c.name;
        }
    }
    // Without positions tnk1.csv is still needed, but no row of it.
    test::TempDir d;
    test::WriteBytes(d / "tnk.csv", Rows(1000));
    test::WriteBytes(d / "tnk1.csv", "");
    auto m = std::make_unique<Model>();
    EXPECT_TRUE(ReadResults(d.path(), *m));
}

TEST(EngineMessageText, AtMostTwentyLinesOfValidText) {
    std::string many;
    for (int i = 1; i <= 25; ++i) many += "line " + std::to_string(i) + "\n";
    std::string t = EngineMessageText(many);
    EXPECT_EQ(t.rfind("line 1\rline 2\r", 0), 0u);
    EXPECT_NE(t.find("\rline 20"), std::string::npos);
    EXPECT_EQ(t.find("line 21"), std::string::npos);
    EXPECT_EQ(EngineMessageText("圧密沈下: 入力ﾌｧｲﾙがありません\r\n\r\n  \n"), "入力ﾌｧｲﾙがありません");
    EXPECT_EQ(EngineMessageText(std::string("a\xff\xc0\x80z\n")), "a???z");
    EXPECT_EQ(EngineMessageText(""), "");
}

// Each line the engine writes is "<caption>: <text>": the box shows the
// texts alone, and the blocks they name by number with the user's names.
TEST(EngineMessageText, TextsWithoutCaptionsAndBlocksWithTheirNames) {
    const struct {
        const char* said;
        const char* shown;
    } lines[] = {
        {"error: 土層 2 の圧縮指数Ccが正ではありません。\n", "土層 2「Ac1」 の圧縮指数Ccが正ではありません。"},
        {"ドレーン: 土層 1 のドレーン: 打設間隔dが正ではありません。\rこの土層は…\n",
         "土層 1 のドレーン: 打設間隔dが正ではありません。\rこの土層は…"},
        {"LogCv-LogP曲線: 未登録の土層があります。\n", "未登録の土層があります。"},
        {"圧密沈下: 計算位置 2「B」 (X=1.000): 土層がありません。\n", "計算位置 2「B」 (X=1.000): 土層がありません。"},
        {"error: 土層 1 と土層 3 の外形線が重なっています。\n", "土層 1 と土層 3「As」 の外形線が重なっています。"},
        {"error: 盛土 1 と切土 2 と盛土 12\n", "盛土 1「一次盛土」 と切土 2 と盛土 12"},
        {"計算位置 1 (X=0): no caption here\n", "計算位置 1 (X=0): no caption here"},
        {"error: 条件ファイル(CAL_TNK.DAT)の3行目: 数値が正しく読めません。\n",
         "条件ファイル(CAL_TNK.DAT)の3行目: 数値が正しく読めません。"},
    };
    auto m = std::make_unique<Model>();
    m->SoilLayerCount = 3;
    m->SoilLayer[1].Name = "Ac1";
    m->SoilLayer[2].Name = "As";
    m->EmbankmentCount = 1;
    m->Embankment[0].Name = "一次盛土";
    m->CutCount = 2;
    for (const auto& l : lines) EXPECT_EQ(NameEngineBlocks(EngineMessageText(l.said), *m), l.shown) << l.said;
}

TEST(Layout, CanvasAndBarsFollowTheBodyAndStayPositive) {
    TwipsScale s;  // 15 twips a pixel
    BodyLayout l = ComputeBodyLayout(800, 500, s);
    EXPECT_EQ(l.canvas.x, 4);
    EXPECT_EQ(l.canvas.y, 40);
    EXPECT_EQ(l.canvas.w, 800 - 4 - 17 + 1);
    EXPECT_EQ(l.canvas.h, 500 - 40 - 17 + 1);
    EXPECT_EQ(l.vsb.x + l.vsb.w, 800);
    EXPECT_EQ(l.hsb.y + l.hsb.h, 500);
    EXPECT_EQ(l.canvasWidthTwips, l.canvas.w * 15 - 60);
    EXPECT_EQ(l.canvasHeightTwips, l.canvas.h * 15 - 60);

    BodyLayout tiny = ComputeBodyLayout(3, 2, s);
    EXPECT_EQ(tiny.canvas.w, 1);
    EXPECT_EQ(tiny.canvasWidthTwips, 1);
    EXPECT_EQ(tiny.canvasHeightTwips, 1);

    EXPECT_FALSE(LayoutApplies(33, 600, s));   // 495 twips wide
    EXPECT_FALSE(LayoutApplies(800, 166, s));  // 2490 twips high
    EXPECT_TRUE(LayoutApplies(34, 167, s));

    EXPECT_EQ(ClampToInt(3e12, 1, 2000000000), 2000000000);
    EXPECT_EQ(ClampToInt(-7.9, -5, 5), -5);
    EXPECT_EQ(ClampToInt(std::nan(""), 1, 9), 1);
    EXPECT_EQ(ClampToInt(-2.9, -5, 5), -2);
}

}  // namespace
