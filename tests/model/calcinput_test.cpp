#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <memory>

#include "model/calcinput.hpp"
#include "model/reset.hpp"
#include "rich_model.hpp"
#include "testing/fakes.hpp"
#include "textio/cp932.hpp"
#include "textio/textfile.hpp"

namespace kova {
namespace {

using test::DataFile;
using test::ReadBytes;

struct CalcInputTest : ::testing::Test {
    test::TempDir dir;
    RecordingMessages ui;
    std::unique_ptr<Model> m = std::make_unique<Model>();

    std::filesystem::path File() const { return dir / "CAL_TNK.DAT"; }
    std::vector<std::string> Write() {
        EXPECT_TRUE(WriteCalcInput(*m, dir.path(), ui));
        return ReadCp932Lines(File());
    }
};

TEST_F(CalcInputTest, GoldenFiles) {
    test::BuildRichModel(*m);
    m->Cond.ProjectTitle = "○○地区, 盛土工事";
    ASSERT_TRUE(WriteCalcInput(*m, dir.path(), ui));
    EXPECT_EQ(ReadBytes(File()), ReadBytes(DataFile("rich_CAL_TNK.DAT")));

    std::filesystem::copy_file(DataFile("BKHough1.CSV"), dir / "BKHough1.CSV");
    ResetModel(*m, dir.path(), ui);
    ASSERT_TRUE(WriteCalcInput(*m, dir.path(), ui));
    EXPECT_EQ(ReadBytes(File()), ReadBytes(DataFile("empty_CAL_TNK.DAT")));
    EXPECT_EQ(ui.Count(), 0u);
}

TEST_F(CalcInputTest, DuplicatePointsStagesAndEmptyCurves) {
    test::SetPoints(*m, {{0, -5}, {0, 0}, {10, 0}, {10, -5}, {0, 0}});
    test::SetBlock(m->Embankment[0], "E", 5, -2, 18, 3, {{0, 0}, {10, 0}, {10, -5}});
    m->EmbankmentCount = 1;
    m->StageCount = 3;
    m->StageStartDay[2] = 30;
    m->StageDays[2] = 10;
    m->SoilLayerCount = 1;
    test::SetBlock(m->SoilLayer[0], "L", 5, -2, 8, 1, {{0, -5}, {0, 0}});
    std::vector<std::string> l = Write();
    auto has = [&](const std::string& s) { return std::find(l.begin(), l.end(), s) != l.end(); };
    EXPECT_TRUE(has("3,30,10,\"段階荷重番号,施工開始日,施工日数\""));
    EXPECT_TRUE(has("1,5,\"盛土構成点番号\""));  // (0, 0): points 2 and 5, the higher
    EXPECT_TRUE(has("2,5,\"土層構成点番号\""));
    // Curves without points: three header lines and nothing between.
    auto at = std::find(l.begin(), l.end(), "1,0,\"e-LogP曲線要素数\"");
    ASSERT_LE(at + 4, l.end());
    EXPECT_EQ(std::vector<std::string>(at + 1, at + 4),
              (std::vector<std::string>{"1,0,\"LogMv-LogP曲線要素数\"", "1,0,\"LogCv-LogP曲線要素数\"", "5,\"BKHough曲線数\""}));
}

// Flags that share a value could change places unnoticed: each gets its
// own run in which it alone differs from the others.
TEST_F(CalcInputTest, EachConditionAndSoilValueOnItsOwnLine) {
    i16 StudyCond::*const flags[] = {&StudyCond::TimeCondKind, &StudyCond::UseSandImmediate, &StudyCond::UseCutPreload,
                                     &StudyCond::MvPMethod, &StudyCond::CvPMethod, &StudyCond::AutoScaleXY};
    for (int k = 0; k < 6; ++k) {
        test::BuildRichModel(*m);
        m->Cond.LeavePeriod = 731;
        m->Cond.ResidualSettlement = 0.125;
        for (auto f : flags) m->Cond.*f = 0;
        m->Cond.*flags[k] = 1;
        std::vector<std::string> l = Write();
        std::vector<std::string> want{"731", "0.125", "0", "0", "0", "0", "0", "0"};
        want[2 + k] = "1";
        EXPECT_EQ(std::vector<std::string>(l.begin() + 1, l.begin() + 9), want) << k;
    }
    // Soil type and drainage are both 0 or 1: one case each where they differ.
    const std::string tail[] = {"2,\"促進工法\"", "1.1,0.07,1.3,25,4,0.35,0.55,\"工法詳細\""};
    struct Case {
        SoilParamRec p;
        std::vector<std::string> lines;  // from the soil type line on
    } cases[] = {
        {{1, 4, 0, 0.25, 0, 0, 7},
         {"1,\"土質\"", "7.5,7,\"有効重量,Ｎ値\"", "0.25,0,0,\"圧縮指数\"", "4,\"沈下計算方法\"", "0,\"排水条件\"", tail[0], tail[1]}},
        {{0, 2, 1, 0.5, 0, 0, 30},
         {"0,\"土質\"", "7.5,30,\"有効重量,Ｎ値\"", "0.5,0,0,\"圧縮指数\"", "2,\"沈下計算方法\"", "1,\"排水条件\"", tail[0], tail[1]}},
    };
    for (const Case& c : cases) {
        test::BuildRichModel(*m);
        m->SoilParam[0] = c.p;
        m->DrainMethod[0] = DrainMethodRec{2, {1.1, 0.07, 1.3, 25, 4, 0.35, 0.55}};
        std::vector<std::string> l = Write();
        auto at = std::find(l.begin(), l.end(), "25,-5,\"ブロック中心\"");
        ASSERT_LE(at + 8, l.end());
        EXPECT_EQ(std::vector<std::string>(at + 1, at + 8), c.lines);
    }
}

TEST_F(CalcInputTest, FailuresShowOneMessageAndWriteNothing) {
    const char* kWrite = "条件ﾌｧｲﾙ(CAL_TNK.DAT)に書き込み出来ません。";
    struct Case {
        const char* what;
        std::function<void(Model&)> spoil;
        const char* msg;
    } cases[] = {
        // A vertex that stands on no point, by block kind.
        {"soil vertex", [](Model& m) { m.SoilLayer[1].PY[2] -= 1e-9; }, "土層ブロックを構成する境界点がありません"},
        {"moved point", [](Model& m) { m.BndPt[6].X += 0.0005; }, "盛土ブロックを構成する境界点がありません"},
        {"cut vertex", [](Model& m) { m.CutBlock[0].PX[2] += 0.0005; }, "切土ブロックを構成する境界点がありません"},
        // An interior point outside its block's outline, named by kind,
        // number and name: a point moved (the embankment's crest typed
        // with the wrong sign), a label beside its layer, a cut while cuts
        // take part.
        {"crest below", [](Model& m) { m.BndPt[6].Y = m.Embankment[0].PY[1] = -3.5; },
         "盛土 1「盛土１」 の中心点が外形線の内側にありません（境界点が動いています）。"
         "構成点の位置を確認するか、ブロックを再認識してください。"},
        {"unnamed layer", [](Model& m) { m.SoilLayer[0].CX = -5; },
         "土層 1 の中心点が外形線の内側にありません（境界点が動いています）。"
         "構成点の位置を確認するか、ブロックを再認識してください。"},
        {"cut label", [](Model& m) { m.Cond.UseCutPreload = 1; m.CutBlock[0].CX = 32; m.CutBlock[0].CY = -9; },
         "切土 1「切土」 の中心点が外形線の内側にありません（境界点が動いています）。"
         "構成点の位置を確認するか、ブロックを再認識してください。"},
        {"stage 0", [](Model& m) { m.Embankment[0].Stage = 0; }, kWrite},
        {"stage 6", [](Model& m) { m.Embankment[0].Stage = 6; }, kWrite},
        {"point load stage 6", [](Model& m) { m.PointLoad[0].Stage = 6; }, kWrite},
        {"line load stage -1", [](Model& m) { m.LineLoad[0].Stage = -1; }, kWrite},
        {"strip load stage 0", [](Model& m) { m.StripLoad[0].Stage = 0; }, kWrite},
        {"NaN", [](Model& m) { m.SoilParam[0].C1 = std::nan(""); }, kWrite},
        {"no CP932 form", [](Model& m) { m.Cond.CalcPosName[1] = "😀"; }, kWrite},
        {"501 points", [](Model& m) { m.BndPtCount = 501; }, kWrite},
        {"101 vertices", [](Model& m) { m.CutBlock[0].nPt = 101; }, kWrite},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        test::BuildRichModel(*m);
        c.spoil(*m);
        ui.Clear();
        EXPECT_FALSE(WriteCalcInput(*m, dir.path(), ui));
        ASSERT_EQ(ui.Count(), 1u);
        EXPECT_EQ(ui.Last().text, c.msg);
        EXPECT_EQ(ui.Last().icon, c.msg == kWrite ? MsgIcon::Exclamation : MsgIcon::None);
        EXPECT_FALSE(std::filesystem::exists(File()));
    }
    test::BuildRichModel(*m);
    EXPECT_FALSE(WriteCalcInput(*m, dir / "absent", ui));
    // Stage 5 is the last one accepted.
    m->StripLoad[0].Stage = 5;
    m->StageStartDay[4] = 90;
    m->StageDays[4] = 7;
    std::vector<std::string> l = Write();
    EXPECT_EQ(l.at(l.size() - 3), "5,90,7,\"段階荷重番号,施工開始日,施工日数\"");
}

TEST_F(CalcInputTest, TitleAndNamesAreCutForTheEngine) {
    test::BuildRichModel(*m);
    m->Cond.ProjectTitle = std::string(130, 'a');
    std::string kana62;
    for (int i = 0; i < 62; ++i) kana62 += "あ";  // 124 bytes: the 63rd would split at 125
    m->Cond.CalcPosName[0] = "\"" + kana62 + "ああああ";
    m->Cond.CalcPosName[1] = "No.\r\n2\"";
    std::vector<std::string> l = Write();
    EXPECT_EQ(l[0], "\"" + std::string(125, 'a') + "\"");
    EXPECT_EQ(l[11], "\"" + kana62 + "\"");
    EXPECT_EQ(l[13], "\"No.2\"");
    EXPECT_EQ(m->Cond.ProjectTitle.size(), 130u);  // the model keeps what was typed
}

}  // namespace
}  // namespace kova
