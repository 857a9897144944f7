// Hostile observation files: every item the writer would refuse is refused
// on reading naming the line, so a file that loads can always be saved; a
// file cut inside its last number or with junk after its data is refused.
#include <gtest/gtest.h>

#include <string>

#include "rules/limits.hpp"
#include "predict_test_util.hpp"
#include "testing/fakes.hpp"
#include "textio/cp932.hpp"

namespace kova::predict {
namespace {

using test::DataPath;
using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

// The detail of the refusal of bytes, or "" when they read.
std::string Refusal(const std::string& bytes) {
    TempDir dir;
    WriteBytes(dir / "h.tlm", bytes);
    try {
        ObsDataSet d = ReadDataFile(dir / "h.tlm");
        // What reads must write back.
        EXPECT_NO_THROW(DataFileText(d));
        return "";
    } catch (const ObsFileError& e) {
        return e.what();
    }
}

TEST(PredictHostileFile, ItemsTheWriterWouldRefuseAreRefusedNamingTheLine) {
    const std::string good = ReadBytes(DataPath("sample.tlm"));
    auto replace = [&](const std::string& from, const std::string& to) {
        std::string s = good;
        const std::string f = Utf8ToCp932(from);
        const auto pos = s.find(f);
        EXPECT_NE(pos, std::string::npos) << from;
        return s.replace(pos, f.size(), Utf8ToCp932(to));
    };
    ASSERT_EQ(Refusal(good), "");
    struct Case {
        std::string bytes;
        std::string detail;
    } cases[] = {
        // Unquoted items may hold what a quoted item cannot.
        {replace("\"第2工区,盛土－北\"", "第2\"工区"), "2行目: 業務名称に使用できない文字"},
        {replace("\"第2工区,盛土－北\"", "\"第2\r工区\""), "2行目: 業務名称に使用できない文字"},
        {replace("\"No.1 ～ 測点\"", "No.1\r測点"), "12行目: 名称に使用できない文字"},
        {replace("\"No.1 ～ 測点\"", "No.1 \"測点\""), "12行目: 名称に使用できない文字"},
        {replace("\"盛土開始\"", "盛土\"開始"), "17行目: 備考に使用できない文字"},
        {replace("\"盛土開始\"", "\"盛土\r開始\""), "17行目: 備考に使用できない文字"},
        // Values outside the table of limits; integers that would wrap.
        {replace("\"沈下オプション\",1", "\"沈下オプション\",65537"), "4行目: " + LimitFileText(Item::ObsSettlementOption)},
        {replace("\"時間軸表記\",0", "\"時間軸表記\",7"), "5行目: " + LimitFileText(Item::ObsTimeAxisMode)},
        {replace("0.75,", "1e300,"), "18行目: " + LimitFileText(Item::ObsSettlement)},
        {replace("\"ﾒﾓ\",0", "\"ﾒﾓ\",65537"), "19行目: " + LimitFileText(Item::ObsSwitch)},
        {replace("\"S-Sa\",1,4", "\"S-Sa\",1,-3"), "14行目: " + LimitFileText(Item::ObsFitRow)},
        {replace("\"終了条件\",95", "\"終了条件\",1e308"), "9行目: " + LimitFileText(Item::ObsEndConditionPercent)},
        // The end of the data.
        {good.substr(0, good.size() - 3), "29行目: ファイルが途中で終わって"},  // cut inside the last number
        {good.substr(0, good.size() - 1), "29行目: ファイルが途中で終わって"},
        {good + "junk\r\n", "30行目: データの後に余分な内容"},
        {good + "\r\n\"名称\",\"x\"\r\n", "31行目: データの後に余分な内容"},
    };
    for (const Case& c : cases) EXPECT_EQ(Refusal(c.bytes).rfind(c.detail, 0), 0u) << c.detail << ": " << Refusal(c.bytes);
    EXPECT_EQ(Refusal(good + "\r\n \r\n"), "");
}

TEST(PredictHostileFile, LoadShowsTheLineInTheBox) {
    TempDir dir;
    std::string bytes = ReadBytes(DataPath("sample.tlm"));
    WriteBytes(dir / "cut.tlm", bytes.substr(0, bytes.size() - 2));
    ObsDataSet data;
    RecordingMessages box;
    EXPECT_FALSE(LoadDataFile(data, dir / "cut.tlm", box));
    ASSERT_EQ(box.Count(), 1u);
    EXPECT_EQ(box.Last().text, "ﾃﾞｰﾀﾌｧｲﾙ(cut.tlm)が読み込み出来ません。\r29行目: ファイルが途中で終わっています。");
}

}  // namespace
}  // namespace kova::predict
