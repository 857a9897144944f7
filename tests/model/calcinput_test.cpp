#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "model/calcinput.hpp"
#include "model/reset.hpp"
#include "rich_model.hpp"
#include "textio/cp932.hpp"
#include "textio/textfile.hpp"

namespace kova {
namespace {

using test::DataFile;
using test::ReadBytes;

constexpr const char* kWriteMsg = "条件ﾌｧｲﾙ(CAL_TNK.DAT)に書き込み出来ません。";

struct CalcInputTest : ::testing::Test {
    test::TempDir dir;
    RecordingMessages ui;
    std::unique_ptr<Model> m = std::make_unique<Model>();

    std::filesystem::path File() const { return dir.path / "CAL_TNK.DAT"; }
    std::vector<std::string> Lines() const { return ReadCp932Lines(File()); }
    // Writes and expects one failure box with the given text and icon.
    void ExpectFailure(const char* text, MsgIcon icon) {
        ui.Clear();
        EXPECT_FALSE(WriteCalcInput(*m, dir.path, ui));
        ASSERT_EQ(ui.Count(), 1u);
        EXPECT_EQ(ui.Last().text, text);
        EXPECT_EQ(ui.Last().icon, icon);
        EXPECT_EQ(ui.Last().buttons, MsgButtons::Ok);
        EXPECT_FALSE(std::filesystem::exists(File()));
    }
};

TEST_F(CalcInputTest, RichModelMatchesGoldenFile) {
    test::BuildRichModel(*m);
    m->Cond.ProjectTitle = "○○地区, 盛土工事";
    ASSERT_TRUE(WriteCalcInput(*m, dir.path, ui));
    EXPECT_EQ(ReadBytes(File()), ReadBytes(DataFile("rich_CAL_TNK.DAT")));
    EXPECT_EQ(ui.Count(), 0u);
}

TEST_F(CalcInputTest, EmptyModelMatchesGoldenFile) {
    std::filesystem::copy_file(DataFile("BKHough1.CSV"), dir.path / "BKHough1.CSV");
    ResetModel(*m, dir.path, ui);
    ASSERT_TRUE(WriteCalcInput(*m, dir.path, ui));
    EXPECT_EQ(ReadBytes(File()), ReadBytes(DataFile("empty_CAL_TNK.DAT")));
    std::vector<std::string> lines = Lines();
    std::vector<std::string> head(lines.begin(), lines.begin() + 9);
    EXPECT_EQ(head, (std::vector<std::string>{"\"\"", "1000", "1", "0", "1", "1", "1", "1", "0"}));
}

TEST_F(CalcInputTest, PointsStagesAndDuplicates) {
    // A rectangle layer over points that include a duplicate of (0, 0).
    m->BndPt[0] = {0, -5};
    m->BndPt[1] = {0, 0};
    m->BndPt[2] = {10, 0};
    m->BndPt[3] = {10, -5};
    m->BndPt[4] = {0, 0};
    m->BndPtCount = 5;
    test::SetBlock(m->Embankment[0], "E", 5, -2, 18, 3, {{0, 0}, {10, 0}, {10, -5}});
    m->EmbankmentCount = 1;
    m->StageCount = 3;
    m->StageStartDay[2] = 30;
    m->StageDays[2] = 10;
    m->SoilLayerCount = 1;
    test::SetBlock(m->SoilLayer[0], "L", 5, -2, 8, 1, {{0, -5}, {0, 0}});
    ASSERT_TRUE(WriteCalcInput(*m, dir.path, ui));
    std::vector<std::string> l = Lines();
    auto has = [&](const std::string& s) { return std::find(l.begin(), l.end(), s) != l.end(); };
    EXPECT_TRUE(has("1,0,-5,\"境界点座標\""));
    EXPECT_TRUE(has("3,30,10,\"段階荷重番号,施工開始日,施工日数\""));
    EXPECT_TRUE(has("1,5,\"盛土構成点番号\""));  // (0, 0): points 2 and 5, the higher
    EXPECT_TRUE(has("2,5,\"土層構成点番号\""));
    EXPECT_TRUE(has("0,0,0,\"圧縮指数\""));
    // Curves without points: three header lines and nothing between.
    auto at = std::find(l.begin(), l.end(), "1,0,\"e-LogP曲線要素数\"");
    ASSERT_NE(at, l.end());
    EXPECT_EQ(*(at + 1), "1,0,\"LogMv-LogP曲線要素数\"");
    EXPECT_EQ(*(at + 2), "1,0,\"LogCv-LogP曲線要素数\"");
    EXPECT_EQ(*(at + 3), "5,\"BKHough曲線数\"");
}

// Flags that share a value could change places unnoticed: each gets its
// own run in which it alone differs from the others.
TEST_F(CalcInputTest, EachConditionAndSoilValueOnItsOwnLine) {
    // Lines 4 to 9 in the order of the file.
    i16 StudyCond::*const flags[] = {&StudyCond::TimeCondKind, &StudyCond::UseSandImmediate,
                                     &StudyCond::UseCutPreload, &StudyCond::MvPMethod,
                                     &StudyCond::CvPMethod, &StudyCond::AutoScaleXY};
    for (int k = 0; k < 6; ++k) {
        SCOPED_TRACE(k);
        test::BuildRichModel(*m);
        m->Cond.LeavePeriod = 731;
        m->Cond.ResidualSettlement = 0.125;
        for (auto f : flags) m->Cond.*f = 0;
        m->Cond.*flags[k] = 1;
        ASSERT_TRUE(WriteCalcInput(*m, dir.path, ui));
        std::vector<std::string> l = Lines();
        EXPECT_EQ(l[1], "731");
        EXPECT_EQ(l[2], "0.125");
        for (int j = 0; j < 6; ++j) EXPECT_EQ(l[3 + j], j == k ? "1" : "0") << "line " << 4 + j;
    }

    // Soil type and drainage are both 0 or 1: one case each where they differ.
    struct Case {
        SoilParamRec p;
        std::vector<std::string> lines;  // from the soil type line on
    } cases[] = {
        {{1, 4, 0, 0.25, 0, 0, 7},
         {"1,\"土質\"", "7.5,7,\"有効重量,Ｎ値\"", "0.25,0,0,\"圧縮指数\"", "4,\"沈下計算方法\"",
          "0,\"排水条件\"", "2,\"促進工法\"", "1.1,0.07,1.3,25,4,0.35,0.55,\"工法詳細\""}},
        {{0, 2, 1, 0.5, 0, 0, 30},
         {"0,\"土質\"", "7.5,30,\"有効重量,Ｎ値\"", "0.5,0,0,\"圧縮指数\"", "2,\"沈下計算方法\"",
          "1,\"排水条件\"", "2,\"促進工法\"", "1.1,0.07,1.3,25,4,0.35,0.55,\"工法詳細\""}},
    };
    for (const Case& c : cases) {
        test::BuildRichModel(*m);
        m->SoilParam[0] = c.p;
        m->DrainMethod[0] = DrainMethodRec{2, {1.1, 0.07, 1.3, 25, 4, 0.35, 0.55}};
        ASSERT_TRUE(WriteCalcInput(*m, dir.path, ui));
        std::vector<std::string> l = Lines();
        auto at = std::find(l.begin(), l.end(), "25,-5,\"ブロック中心\"");
        ASSERT_LE(at + 1 + static_cast<long>(c.lines.size()), l.end());
        EXPECT_EQ(std::vector<std::string>(at + 1, at + 1 + static_cast<long>(c.lines.size())), c.lines);
    }
}

TEST_F(CalcInputTest, VertexWithoutPointFailsByBlockKind) {
    struct Case {
        int kind;
        const char* msg;
    };
    for (Case c : {Case{0, "土層ブロックを構成する境界点がありません"}, Case{1, "盛土ブロックを構成する境界点がありません"},
                   Case{2, "切土ブロックを構成する境界点がありません"}}) {
        test::BuildRichModel(*m);
        // The embankment's top point (25, 3.5) is used by it alone; moved
        // after the tracing, the block's vertex stands on no point.
        if (c.kind == 1) m->BndPt[6].X += 0.0005;
        // The other kinds: a vertex slightly off its point.
        if (c.kind == 0) m->SoilLayer[1].PY[2] -= 1e-9;
        if (c.kind == 2) m->CutBlock[0].PX[2] += 0.0005;
        ExpectFailure(c.msg, MsgIcon::None);
    }
}

TEST_F(CalcInputTest, StagesOutsideOneToFiveFail) {
    for (int stage : {0, 6, -1}) {
        for (int which = 0; which < 4; ++which) {
            SCOPED_TRACE(std::to_string(stage) + " in " + std::to_string(which));
            test::BuildRichModel(*m);
            if (which == 0) m->Embankment[0].Stage = static_cast<i16>(stage);
            if (which == 1) m->PointLoad[0].Stage = static_cast<i16>(stage);
            if (which == 2) m->LineLoad[0].Stage = static_cast<i16>(stage);
            if (which == 3) m->StripLoad[0].Stage = static_cast<i16>(stage);
            ExpectFailure(kWriteMsg, MsgIcon::Exclamation);
        }
    }
    test::BuildRichModel(*m);
    m->StripLoad[0].Stage = 5;
    m->StageStartDay[4] = 90;
    m->StageDays[4] = 7;
    ASSERT_TRUE(WriteCalcInput(*m, dir.path, ui));
    EXPECT_EQ(Lines().at(Lines().size() - 3), "5,90,7,\"段階荷重番号,施工開始日,施工日数\"");
}

TEST_F(CalcInputTest, TitleAndNamesAreCutForTheEngine) {
    test::BuildRichModel(*m);
    m->Cond.ProjectTitle = std::string(130, 'a');
    std::string kana;
    for (int i = 0; i < 70; ++i) kana += "あ";  // 2 bytes each
    m->Cond.CalcPosName[0] = "\"" + kana;
    m->Cond.CalcPosName[1] = "No.\r\n2\"";
    ASSERT_TRUE(WriteCalcInput(*m, dir.path, ui));
    std::vector<std::string> l = Lines();
    EXPECT_EQ(l[0], "\"" + std::string(125, 'a') + "\"");
    std::string kana62;
    for (int i = 0; i < 62; ++i) kana62 += "あ";  // 124 bytes: the 63rd would split at 125
    EXPECT_EQ(l[11], "\"" + kana62 + "\"");
    EXPECT_EQ(l[13], "\"No.2\"");
    EXPECT_EQ(Utf8ToCp932(l[11]).size(), 126u);
    // The model keeps what the user typed.
    EXPECT_EQ(m->Cond.ProjectTitle.size(), 130u);
}

TEST_F(CalcInputTest, UnwritableValuesAndFolderFail) {
    test::BuildRichModel(*m);
    m->SoilParam[0].C1 = std::nan("");
    ExpectFailure(kWriteMsg, MsgIcon::Exclamation);
    test::BuildRichModel(*m);
    m->SoilLayer[0].Name = "";
    m->Cond.CalcPosName[1] = "😀";
    ExpectFailure(kWriteMsg, MsgIcon::Exclamation);
    test::BuildRichModel(*m);
    m->BndPtCount = 501;
    ExpectFailure(kWriteMsg, MsgIcon::Exclamation);
    test::BuildRichModel(*m);
    m->CutBlock[0].nPt = 101;  // the engine takes at most 100 vertices
    ExpectFailure(kWriteMsg, MsgIcon::Exclamation);
    test::BuildRichModel(*m);
    ui.Clear();
    EXPECT_FALSE(WriteCalcInput(*m, dir.path / "absent", ui));
    EXPECT_EQ(ui.Count(), 1u);
}

}  // namespace
}  // namespace kova
