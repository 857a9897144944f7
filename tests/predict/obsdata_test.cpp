#include <gtest/gtest.h>

#include <string>

#include "predict_test_util.hpp"
#include "testing/fakes.hpp"
#include "textio/cp932.hpp"

namespace kova::predict {
namespace {

namespace fs = std::filesystem;
using test::DataPath;
using test::PartStation;
using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

// The sample is of the first version; a later one is past what this program writes.
const std::string kSampleVersion = "\"FileVer\",1";
const std::string kLaterVersion = "\"FileVer\"," + std::to_string(kObsFileVersion + 1);

TEST(PredictObsDate, CalendarAndValidity) {
    EXPECT_EQ(Date::FromYmd(2003, 4, 15)->serial, 37726);  // days since 1899-12-30
    EXPECT_EQ(DaysBetween(*Date::FromYmd(2004, 2, 28), *Date::FromYmd(2004, 3, 1)), 2);
    int y, m, d;
    Date{37726 + 90}.Ymd(y, m, d);
    EXPECT_EQ(y * 10000 + m * 100 + d, 20030714);
    EXPECT_FALSE(Date::FromYmd(2003, 2, 29));
    EXPECT_FALSE(Date::FromYmd(2003, 13, 1));
    EXPECT_TRUE(Date::FromYmd(2004, 2, 29));
    EXPECT_FALSE(Date{}.IsValid());
}

TEST(PredictInitNewData, DefaultsHookAndLoadKeepTheSpareRecord) {
    ObsDataSet data;
    data.StationCount = 2;
    data.Stations[0].Name = "spare";
    data.Stations[1] = PartStation();
    data.Stations[1].LastDay = 5;
    int hookCalls = 0;
    InitNewData(data, [&] { ++hookCalls; });
    EXPECT_EQ(hookCalls, 1);
    EXPECT_EQ(data.JobTitle, "無題");
    EXPECT_EQ(data.StationCount, 0);
    EXPECT_EQ(data.SettlementOption, 3);
    EXPECT_EQ(data.LeaveDays, 365);
    EXPECT_EQ(data.TargetPercent, 90);
    EXPECT_EQ(data.ResidualSettlement, 0.2);
    EXPECT_EQ(data.EndConditionPercent, 95);
    EXPECT_EQ(data.RoundingMethod, 2);
    EXPECT_EQ(data.Stations[1].Count, 0);
    EXPECT_EQ(data.Stations[1].LastDay, 0);
    EXPECT_EQ(data.Stations[0].Name, "spare");

    data.Stations[5].Name = "old";
    RecordingMessages box;
    ASSERT_TRUE(LoadDataFile(data, DataPath("sample.tlm"), box, [&] { ++hookCalls; }));
    EXPECT_EQ(hookCalls, 2);
    EXPECT_EQ(data.StationCount, 3);
    EXPECT_EQ(data.Stations[0].Name, "spare");
    EXPECT_EQ(data.Stations[5].Name, "");
}

TEST(PredictObsFile, ReadsTheSampleAndWritesTheSameBytes) {
    TempDir dir;
    ObsDataSet d = ReadDataFile(DataPath("sample.tlm"));
    EXPECT_EQ(d.JobTitle, "第2工区,盛土－北");
    EXPECT_EQ(d.SettlementOption, 1);
    const StationRecord& s1 = d.Stations[1];
    EXPECT_EQ(s1.Name, "No.1 ～ 測点");
    ASSERT_EQ(s1.Count, 4);
    EXPECT_EQ(s1.SaPrime, 4);
    EXPECT_EQ(s1.ObsDate[4], *Date::FromYmd(2003, 7, 14));
    EXPECT_EQ(s1.Settlement[3], 0.75);
    EXPECT_EQ(s1.SW[3], 1);
    EXPECT_EQ(d.Stations[2].Count, 0);
    EXPECT_EQ(d.Stations[3].Remark[2], "a,b");
    WriteDataFile(d, dir / "copy.tlm");
    EXPECT_EQ(ReadBytes(dir / "copy.tlm"), ReadBytes(DataPath("sample.tlm")));
    // Other keys and number spellings read the same.
    EXPECT_EQ(DataFileText(ReadDataFile(DataPath("other_keys.tlm"))), DataFileText(d));
    // No stations: the file ends with the empty line.
    WriteDataFile(ReadDataFile(DataPath("empty.tlm")), dir / "e.tlm");
    EXPECT_EQ(ReadBytes(dir / "e.tlm"), ReadBytes(DataPath("empty.tlm")));
}

TEST(PredictObsFile, WriteReadWriteKeepsEveryInputAndNoResult) {
    TempDir dir;
    ObsDataSet d;
    InitNewData(d);
    d.JobTitle = "";
    d.StationCount = 2;
    d.TargetPercent = 0.1 + 0.2;  // needs 17 digits to read back exactly
    d.Stations[1] = PartStation();
    d.Stations[1].Settlement[2] = 1.0 / 3.0;
    RecordingMessages box;
    CalcPrediction(d, 1, box);
    ASSERT_GE(d.Stations[1].LastDay, 1);
    d.Stations[2].Name = "none";
    WriteDataFile(d, dir / "r.tlm");
    ObsDataSet back = ReadDataFile(dir / "r.tlm");
    EXPECT_EQ(back.TargetPercent, 0.1 + 0.2);
    EXPECT_EQ(back.Stations[1].Settlement[2], 1.0 / 3.0);
    EXPECT_EQ(back.Stations[1].LastDay, 0);  // results are never saved
    EXPECT_EQ(DataFileText(back), DataFileText(d));
    // A station with no readings is its four block lines only, and the file ends there.
    const std::string text = DataFileText(back);
    const std::string tail = "\"名称\",\"none\"\r\n\"測定件数\",0\r\n\"S-Sa\",0,0\r\n\"年月日,沈下量(m),盛土高(m)\"\r\n";
    ASSERT_GE(text.size(), tail.size());
    EXPECT_EQ(text.substr(text.size() - tail.size()), tail);
}

// Whatever the data set holds, a save writes only a file that opens again:
// a value the reader refuses leaves the old file as it was, and the message
// names what is wrong.
TEST(PredictObsFile, SaveNeverWritesWhatTheReaderRefuses) {
    TempDir dir;
    ObsDataSet good;
    InitNewData(good);
    good.StationCount = 1;
    good.Stations[1] = PartStation();
    const auto file = dir / "kept.tlm";
    WriteDataFile(good, file);
    const std::string before = DataFileText(good);
    const struct {
        void (*spoil)(ObsDataSet&);
        const char* named;
    } cases[] = {
        {[](ObsDataSet& d) { d.Stations[1].Sa = -1; }, "回帰範囲の行番号"},
        {[](ObsDataSet& d) { d.Stations[1].SaPrime = 600; }, "回帰範囲の行番号"},
        {[](ObsDataSet& d) { d.Stations[1].Settlement[2] = 1e10; }, "沈下量"},
        {[](ObsDataSet& d) { d.TargetPercent = 101; }, "最終沈下量に対する割合"},
        {[](ObsDataSet& d) { d.LeaveDays = -5; }, "経過日数"},
        {[](ObsDataSet& d) { d.SettlementOption = 7; }, "沈下オプション"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.named);
        ObsDataSet bad = good;
        c.spoil(bad);
        RecordingMessages box;
        EXPECT_FALSE(SaveDataFile(bad, file, box));
        ASSERT_EQ(box.Count(), 1u);
        EXPECT_NE(box.Last().text.find("に書き込み出来ません。"), std::string::npos);
        EXPECT_NE(box.Last().text.find(c.named), std::string::npos) << box.Last().text;
        EXPECT_EQ(DataFileText(ReadDataFile(file)), before);
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
    }
}

TEST(PredictObsFile, MalformedFilesAreRefusedAndTheDataSetKept) {
    const std::string good = ReadBytes(DataPath("sample.tlm"));
    auto replace = [&](const std::string& from, const std::string& to) {
        std::string s = good;
        const std::string f = Utf8ToCp932(from);
        const auto pos = s.find(f);
        EXPECT_NE(pos, std::string::npos) << from;
        return s.replace(pos, f.size(), Utf8ToCp932(to));
    };
    const std::string cases[] = {
        replace("\"測定箇所数\",3", "\"測定箇所数\",21"),
        replace("\"測定箇所数\",3", "\"測定箇所数\",-1"),
        replace("\"測定箇所数\",3", "\"測定箇所数\",4"),  // more stations than blocks
        replace("\"測定件数\",4", "\"測定件数\",501"),
        replace("\"測定件数\",4", "\"測定件数\",5"),  // more rows than written
        replace("#2003-05-15#", "#2003-02-30#"),
        replace("#2003-05-15#", "2003-05-15"),
        replace("0.75,", "abc,"),
        replace("0.75,", "1e999,"),
        replace(",\"ﾒﾓ\",0", ",\"ﾒﾓ\""),  // missing switch
        replace("\"盛土開始\"", "\"盛土開始"),
        replace("365", "3000000000"),
        replace("\"S-Sa\",1,4", "\"S-Sa\",1,40000"),
        replace(kSampleVersion, kLaterVersion),  // a later version than this program knows
        replace(kSampleVersion, "\"FileVer\",0"),
        good.substr(0, good.find("\r\n\"時間軸") + 2),  // truncated settings
        replace("\"ﾒﾓ\"", "\"x\"") + "\xFF\xFF",  // not code page 932
        "",
    };
    TempDir dir;
    const auto path = dir / "bad.tlm";
    int n = 0;
    for (const auto& bytes : cases) {
        SCOPED_TRACE(n++);
        WriteBytes(path, bytes);
        ObsDataSet data;
        InitNewData(data);
        data.JobTitle = "kept";
        data.StationCount = 1;
        data.Stations[1] = PartStation();
        const std::string before = DataFileText(data);
        RecordingMessages box;
        EXPECT_THROW(ReadDataFile(path), ObsFileError);
        bool reset = false;
        EXPECT_FALSE(LoadDataFile(data, path, box, [&] { reset = true; }));
        EXPECT_FALSE(reset);
        ASSERT_EQ(box.Count(), 1u);
        EXPECT_EQ(box.Last().text.rfind("ﾃﾞｰﾀﾌｧｲﾙ(bad.tlm)が読み込み出来ません。", 0), 0u) << box.Last().text;
        EXPECT_EQ(DataFileText(data), before);
    }
    WriteBytes(path, replace(kSampleVersion, kLaterVersion));
    RecordingMessages versionBox;
    ObsDataSet later;
    EXPECT_FALSE(LoadDataFile(later, path, versionBox));
    EXPECT_EQ(versionBox.Last().text, "ﾃﾞｰﾀﾌｧｲﾙ(bad.tlm)が読み込み出来ません。\r1行目: ファイルの版が正しくありません。");
    ObsDataSet data;
    RecordingMessages box;
    EXPECT_FALSE(LoadDataFile(data, dir / "missing.tlm", box));
    EXPECT_EQ(box.Last().text, "ﾃﾞｰﾀﾌｧｲﾙ(missing.tlm)が読み込み出来ません。\rファイルを開けません。");
}

TEST(PredictObsFile, TextsThatCannotBeStoredAreRefused) {
    struct Case {
        void (*edit)(ObsDataSet&);
        const char* detail;
    } cases[] = {
        {[](ObsDataSet& d) { d.JobTitle = "a\"b"; }, "業務名称に使用できない文字"},
        {[](ObsDataSet& d) { d.Stations[1].Name = "a\nb"; }, "観測所1の名称に使用できない文字"},
        {[](ObsDataSet& d) { d.Stations[1].Remark[2] = "x\ry"; }, "観測所1の2行目の備考に使用できない文字"},
        {[](ObsDataSet& d) { d.Stations[1].Remark[1] = "\xF0\x9F\x98\x80"; },
         "観測所1の1行目の備考にシフトJISで保存できない文字"},
        {[](ObsDataSet& d) { d.Stations[1].Settlement[3] = 1.0 / 0.0; }, "観測所1の3行目の沈下量の数値"},
    };
    TempDir dir;
    const auto path = dir / "out.tlm";
    WriteBytes(path, "previous");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.detail);
        ObsDataSet d;
        InitNewData(d);
        d.StationCount = 1;
        d.Stations[1] = PartStation();
        c.edit(d);
        RecordingMessages box;
        EXPECT_FALSE(SaveDataFile(d, path, box));
        ASSERT_EQ(box.Count(), 1u);
        EXPECT_EQ(box.Last().text.rfind("ﾃﾞｰﾀﾌｧｲﾙ(out.tlm)に書き込み出来ません。\r", 0), 0u);
        EXPECT_NE(box.Last().text.find(c.detail), std::string::npos) << box.Last().text;
        EXPECT_EQ(ReadBytes(path), "previous");
    }
}

TEST(PredictObsFile, ChosenNameKeepsItsExtension) {
    EXPECT_EQ(DataFilePath("/d/site"), "/d/site.tlm");
    EXPECT_EQ(DataFilePath("/d/X.TLM"), "/d/X.TLM");
    EXPECT_EQ(DataFilePath("/d/site.A"), "/d/site.A");
    TempDir dir;
    ObsDataSet d;
    InitNewData(d);
    RecordingMessages box;
    ASSERT_TRUE(SaveDataFile(d, DataFilePath(dir / "X.TLM"), box));
    EXPECT_TRUE(fs::exists(dir / "X.TLM"));
    EXPECT_FALSE(fs::exists(dir / "X.tlm"));
}

TEST(PredictSnapshots, DifferByLinesAndWhenMissing) {
    TempDir dir;
    const fs::path& p = dir.path();
    ObsDataSet d;
    InitNewData(d);
    WriteSnapshot(d, p, "ORG");
    WriteSnapshot(d, p, "EDT");
    EXPECT_FALSE(SnapshotsDiffer(p, "EDT", "ORG"));
    d.LeaveDays = 366;
    WriteSnapshot(d, p, "EDT");
    EXPECT_TRUE(SnapshotsDiffer(p, "EDT", "ORG"));

    const std::string org = ReadBytes(dir / "KOVA_TLM.ORG");
    std::string caseChanged = org;
    caseChanged[1] = 'f';
    // One more line, one line less, a letter's case.
    for (const std::string& edt : {org + "x\r\n", org.substr(0, org.size() - 2), caseChanged}) {
        WriteBytes(dir / "KOVA_TLM.EDT", edt);
        EXPECT_TRUE(SnapshotsDiffer(p, "EDT", "ORG"));
        EXPECT_TRUE(SnapshotsDiffer(p, "ORG", "EDT"));
    }
    fs::remove(dir / "KOVA_TLM.EDT");
    EXPECT_TRUE(SnapshotsDiffer(p, "EDT", "ORG"));
    EXPECT_TRUE(SnapshotsDiffer(p, "ORG", "EDT"));
    // Results do not count as changes.
    d.StationCount = 1;
    d.Stations[1] = PartStation();
    WriteSnapshot(d, p, "ORG");
    RecordingMessages box;
    CalcPrediction(d, 1, box);
    WriteSnapshot(d, p, "EDT");
    EXPECT_FALSE(SnapshotsDiffer(p, "EDT", "ORG"));
}

}  // namespace
}  // namespace kova::predict
