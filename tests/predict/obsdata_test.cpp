#include <gtest/gtest.h>

#include <string>

#include "predict/hyperbolic.hpp"
#include "predict/obsdata.hpp"
#include "predict_test_util.hpp"
#include "textio/cp932.hpp"

namespace kova::predict {
namespace {

using test::DataPath;
using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

TEST(PredictObsDate, CalendarRoundTripAndValidity) {
    auto d = Date::FromYmd(2003, 4, 15);
    ASSERT_TRUE(d);
    EXPECT_EQ(d->serial, 37726);  // the classic day serial of 15 April 2003
    EXPECT_EQ(Date::FromYmd(1899, 12, 30)->serial, 0);
    EXPECT_EQ(DaysBetween(*Date::FromYmd(2003, 4, 15), *Date::FromYmd(2003, 7, 14)), 90);
    EXPECT_EQ(DaysBetween(*Date::FromYmd(2004, 2, 28), *Date::FromYmd(2004, 3, 1)), 2);
    int y, m, dd;
    Date{d->serial + 90}.Ymd(y, m, dd);
    EXPECT_EQ(y * 10000 + m * 100 + dd, 20030714);
    EXPECT_FALSE(Date::FromYmd(2003, 2, 29));
    EXPECT_FALSE(Date::FromYmd(2003, 13, 1));
    EXPECT_FALSE(Date::FromYmd(2003, 4, 0));
    EXPECT_TRUE(Date::FromYmd(2004, 2, 29));
    EXPECT_FALSE(Date{}.IsValid());
    EXPECT_TRUE(d->IsValid());
}

TEST(PredictInitNewData, DefaultsAndWindowHook) {
    ObsDataSet data;
    data.JobTitle = "x";
    data.StationCount = 2;
    data.SettlementOption = 0;
    data.LeaveDays = 12;
    data.Stations[0].Name = "spare";
    data.Stations[1] = test::PartStation();
    data.Stations[1].Name = "A";
    data.Stations[1].LastDay = 5;
    int hookCalls = 0;
    InitNewData(data, [&] { ++hookCalls; });
    EXPECT_EQ(hookCalls, 1);
    EXPECT_EQ(data.FileVer, 1);
    EXPECT_EQ(data.JobTitle, "無題");
    EXPECT_EQ(data.StationCount, 0);
    EXPECT_EQ(data.SettlementOption, 3);
    EXPECT_EQ(data.TimeAxisMode, 0);
    EXPECT_EQ(data.LeaveDays, 365);
    EXPECT_EQ(data.TargetPercent, 90);
    EXPECT_EQ(data.ResidualSettlement, 0.2);
    EXPECT_EQ(data.EndConditionPercent, 95);
    EXPECT_EQ(data.RoundingMethod, 2);
    EXPECT_EQ(data.Stations[1].Count, 0);
    EXPECT_EQ(data.Stations[1].Name, "");
    EXPECT_EQ(data.Stations[1].LastDay, 0);
    EXPECT_EQ(data.Stations[1].ObsDate.size(), 1u);
    EXPECT_EQ(data.Stations[0].Name, "spare");  // the spare record is left alone
}

TEST(PredictObsFile, ReadsTheSampleAndWritesTheSameBytes) {
    TempDir dir;
    ObsDataSet d = ReadDataFile(DataPath("sample.tlm"));
    EXPECT_EQ(d.JobTitle, "第2工区,盛土－北");
    EXPECT_EQ(d.StationCount, 3);
    EXPECT_EQ(d.SettlementOption, 1);
    EXPECT_EQ(d.ResidualSettlement, 0.2);
    const StationRecord& s1 = d.Stations[1];
    EXPECT_EQ(s1.Name, "No.1 ～ 測点");
    ASSERT_EQ(s1.Count, 4);
    EXPECT_EQ(s1.Sa, 1);
    EXPECT_EQ(s1.SaPrime, 4);
    EXPECT_EQ(s1.ObsDate[4], *Date::FromYmd(2003, 7, 14));
    EXPECT_EQ(s1.Settlement[3], 0.75);
    EXPECT_EQ(s1.Remark[1], "");
    EXPECT_EQ(s1.Remark[2], "盛土開始");
    EXPECT_EQ(s1.Remark[4], "ﾒﾓ");
    EXPECT_EQ(s1.SW[3], 1);
    EXPECT_EQ(d.Stations[2].Count, 0);
    EXPECT_EQ(d.Stations[2].Name, "空");
    EXPECT_EQ(d.Stations[3].Name, "");
    EXPECT_EQ(d.Stations[3].Settlement[1], -0.0125);
    EXPECT_EQ(d.Stations[3].ObsDate[2], *Date::FromYmd(2004, 2, 29));
    EXPECT_EQ(d.Stations[3].Remark[2], "a,b");
    EXPECT_EQ(d.Stations[3].SW[2], 2);

    WriteDataFile(d, dir / "copy.tlm");
    EXPECT_EQ(ReadBytes(dir / "copy.tlm"), ReadBytes(DataPath("sample.tlm")));
}

TEST(PredictObsFile, KeysAreIgnoredAndNumberSpellingsAccepted) {
    ObsDataSet a = ReadDataFile(DataPath("sample.tlm"));
    ObsDataSet b = ReadDataFile(DataPath("other_keys.tlm"));
    EXPECT_EQ(DataFileText(a), DataFileText(b));
}

TEST(PredictObsFile, WriteReadWriteKeepsEveryInputAndNoResult) {
    TempDir dir;
    ObsDataSet d;
    InitNewData(d);
    d.JobTitle = "";
    d.StationCount = 2;
    d.TimeAxisMode = 1;
    d.TargetPercent = 0.1 + 0.2;  // needs 17 digits to read back exactly
    d.EndConditionPercent = 1e-7;
    d.Stations[1] = test::PartStation();
    d.Stations[1].Name = "測点 A";
    d.Stations[1].Settlement[2] = 1.0 / 3.0;
    RecordingMessages box;
    CalcPrediction(d, 1, box);
    ASSERT_GE(d.Stations[1].LastDay, 1);
    d.Stations[2].Name = "none";

    const auto path = dir / "r.tlm";
    WriteDataFile(d, path);
    ObsDataSet back = ReadDataFile(path);
    EXPECT_EQ(back.JobTitle, "");
    EXPECT_EQ(back.TargetPercent, 0.1 + 0.2);
    EXPECT_EQ(back.EndConditionPercent, 1e-7);
    EXPECT_EQ(back.Stations[1].Settlement[2], 1.0 / 3.0);
    EXPECT_EQ(back.Stations[1].ObsDate, d.Stations[1].ObsDate);
    EXPECT_EQ(back.Stations[1].LastDay, 0);  // results are never saved
    EXPECT_EQ(back.Stations[1].FitCount, 0);
    EXPECT_EQ(back.Stations[2].Count, 0);
    EXPECT_EQ(DataFileText(back), DataFileText(d));

    // A station with no readings is its four block lines only, and the
    // file ends right after it.
    std::string text = DataFileText(back);
    const std::string tail = "\"名称\",\"none\"\r\n\"測定件数\",0\r\n\"S-Sa\",0,0\r\n\"年月日,沈下量(m),盛土高(m)\"\r\n";
    ASSERT_GE(text.size(), tail.size());
    EXPECT_EQ(text.substr(text.size() - tail.size()), tail);
}

TEST(PredictObsFile, NoStationsEndsWithTheEmptyLine) {
    ObsDataSet d;
    InitNewData(d);
    std::string text = DataFileText(d);
    EXPECT_EQ(text.rfind("\"FileVer\",1\r\n\"業務名称\",\"無題\"\r\n\"測定箇所数\",0\r\n", 0), 0u);
    EXPECT_EQ(text.substr(text.size() - 5), "2\r\n\r\n");
    TempDir dir;
    ObsDataSet back = ReadDataFile(DataPath("empty.tlm"));
    EXPECT_EQ(back.StationCount, 0);
    WriteDataFile(back, dir / "e.tlm");
    EXPECT_EQ(ReadBytes(dir / "e.tlm"), ReadBytes(DataPath("empty.tlm")));
}

TEST(PredictObsFile, MalformedFilesAreRefusedAndTheDataSetKept) {
    const std::string good = ReadBytes(DataPath("sample.tlm"));
    auto replace = [&](const std::string& from, const std::string& to) {
        std::string s = good;
        std::string f = Utf8ToCp932(from), t = Utf8ToCp932(to);
        auto pos = s.find(f);
        EXPECT_NE(pos, std::string::npos) << from;
        return s.replace(pos, f.size(), t);
    };
    struct Case {
        const char* name;
        std::string bytes;
    } cases[] = {
        {"21 stations", replace("\"測定箇所数\",3", "\"測定箇所数\",21")},
        {"negative station count", replace("\"測定箇所数\",3", "\"測定箇所数\",-1")},
        {"more stations than blocks", replace("\"測定箇所数\",3", "\"測定箇所数\",4")},
        {"501 rows", replace("\"測定件数\",4", "\"測定件数\",501")},
        {"more rows than written", replace("\"測定件数\",4", "\"測定件数\",5")},
        {"impossible date", replace("#2003-05-15#", "#2003-02-30#")},
        {"date without signs", replace("#2003-05-15#", "2003-05-15")},
        {"settlement not a number", replace("0.75,", "abc,")},
        {"infinite settlement", replace("0.75,", "1e999,")},
        {"missing switch", replace(",\"ﾒﾓ\",0", ",\"ﾒﾓ\"")},
        {"open quote", replace("\"盛土開始\"", "\"盛土開始")},
        {"leave days beyond 32 bits", replace("365", "3000000000")},
        {"sa beyond 16 bits", replace("\"S-Sa\",1,4", "\"S-Sa\",1,40000")},
        {"truncated settings", good.substr(0, good.find("\r\n\"時間軸") + 2)},
        {"not code page 932", replace("\"ﾒﾓ\"", "\"x\"") + "\xFF\xFF"},
        {"empty file", ""},
    };
    TempDir dir;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto path = dir / "bad.tlm";
        WriteBytes(path, c.bytes);
        ObsDataSet data;
        InitNewData(data);
        data.JobTitle = "kept";
        data.StationCount = 1;
        data.Stations[1] = test::PartStation();
        const std::string before = DataFileText(data);
        RecordingMessages box;
        EXPECT_THROW(ReadDataFile(path), ObsFileError);
        bool reset = false;
        EXPECT_FALSE(LoadDataFile(data, path, box, [&] { reset = true; }));
        EXPECT_FALSE(reset);
        ASSERT_EQ(box.Count(), 1u);
        EXPECT_EQ(box.Last().text.rfind("ﾃﾞｰﾀﾌｧｲﾙ(bad.tlm)が読み込み出来ません。", 0), 0u) << box.Last().text;
        EXPECT_EQ(box.Last().icon, MsgIcon::Exclamation);
        EXPECT_EQ(DataFileText(data), before);
    }

    ObsDataSet data;
    RecordingMessages box;
    EXPECT_FALSE(LoadDataFile(data, dir / "missing.tlm", box));
    EXPECT_EQ(box.Last().text, "ﾃﾞｰﾀﾌｧｲﾙ(missing.tlm)が読み込み出来ません。");
}

TEST(PredictObsFile, LoadReplacesTheDataSetButKeepsTheSpareRecord) {
    ObsDataSet data;
    InitNewData(data);
    data.Stations[0].Name = "spare";
    data.Stations[5].Name = "old";
    RecordingMessages box;
    int resets = 0;
    ASSERT_TRUE(LoadDataFile(data, DataPath("sample.tlm"), box, [&] { ++resets; }));
    EXPECT_EQ(box.Count(), 0u);
    EXPECT_EQ(resets, 1);
    EXPECT_EQ(data.StationCount, 3);
    EXPECT_EQ(data.Stations[0].Name, "spare");
    EXPECT_EQ(data.Stations[5].Name, "");
}

TEST(PredictObsFile, TextsThatCannotBeStoredAreRefused) {
    struct Case {
        const char* name;
        void (*edit)(ObsDataSet&);
        const char* detail;
    } cases[] = {
        {"quote in title", [](ObsDataSet& d) { d.JobTitle = "a\"b"; }, "業務名称に使用できない文字"},
        {"line feed in name", [](ObsDataSet& d) { d.Stations[1].Name = "a\nb"; }, "観測所1の名称に使用できない文字"},
        {"carriage return in remark", [](ObsDataSet& d) { d.Stations[1].Remark[2] = "x\ry"; },
         "観測所1の2行目の備考に使用できない文字"},
        {"not in code page 932", [](ObsDataSet& d) { d.Stations[1].Remark[1] = "\xF0\x9F\x98\x80"; },
         "観測所1の1行目の備考にシフトJISで保存できない文字"},
        {"infinite settlement", [](ObsDataSet& d) { d.Stations[1].Settlement[3] = 1.0 / 0.0; },
         "観測所1の3行目の沈下量の数値"},
    };
    TempDir dir;
    const auto path = dir / "out.tlm";
    WriteBytes(path, "previous");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ObsDataSet d;
        InitNewData(d);
        d.StationCount = 1;
        d.Stations[1] = test::PartStation();
        c.edit(d);
        RecordingMessages box;
        EXPECT_FALSE(SaveDataFile(d, path, box));
        ASSERT_EQ(box.Count(), 1u);
        const std::string head = "ﾃﾞｰﾀﾌｧｲﾙ(out.tlm)に書き込み出来ません。\r";
        EXPECT_EQ(box.Last().text.rfind(head, 0), 0u);
        EXPECT_NE(box.Last().text.find(c.detail), std::string::npos) << box.Last().text;
        EXPECT_EQ(ReadBytes(path), "previous");
    }
    EXPECT_TRUE(IsStorableText("盛土,No.1 ～ ﾒﾓ"));
    EXPECT_FALSE(IsStorableText("a\"b"));
    EXPECT_FALSE(IsStorableText("\xF0\x9F\x98\x80"));
}

TEST(PredictObsFile, ChosenNameKeepsItsExtension) {
    EXPECT_EQ(DataFilePath("/d/site"), "/d/site.tlm");
    EXPECT_EQ(DataFilePath("/d/X.TLM"), "/d/X.TLM");
    EXPECT_EQ(DataFilePath("/d/site.A.tlm"), "/d/site.A.tlm");
    EXPECT_EQ(DataFilePath("/d/site.A"), "/d/site.A");

    TempDir dir;
    ObsDataSet d;
    InitNewData(d);
    RecordingMessages box;
    ASSERT_TRUE(SaveDataFile(d, DataFilePath(dir / "X.TLM"), box));
    EXPECT_TRUE(std::filesystem::exists(dir / "X.TLM"));
    EXPECT_FALSE(std::filesystem::exists(dir / "X.tlm"));
    EXPECT_TRUE(LoadDataFile(d, DataFilePath(dir / "X.TLM"), box));
}

TEST(PredictSnapshots, DifferByLinesAndWhenMissing) {
    TempDir dir;
    ObsDataSet d;
    InitNewData(d);
    WriteSnapshot(d, dir.path(), "ORG");
    WriteSnapshot(d, dir.path(), "EDT");
    EXPECT_TRUE(std::filesystem::exists(dir / "KOVA_TLM.ORG"));
    EXPECT_FALSE(SnapshotsDiffer(dir.path(), "EDT", "ORG"));

    d.LeaveDays = 366;
    WriteSnapshot(d, dir.path(), "EDT");
    EXPECT_TRUE(SnapshotsDiffer(dir.path(), "EDT", "ORG"));

    // One more line on either side.
    const std::string org = ReadBytes(dir / "KOVA_TLM.ORG");
    WriteBytes(dir / "KOVA_TLM.EDT", org + "x\r\n");
    EXPECT_TRUE(SnapshotsDiffer(dir.path(), "EDT", "ORG"));
    EXPECT_TRUE(SnapshotsDiffer(dir.path(), "ORG", "EDT"));
    // A shorter copy.
    WriteBytes(dir / "KOVA_TLM.EDT", org.substr(0, org.size() - 2));  // drops the last (empty) line
    EXPECT_TRUE(SnapshotsDiffer(dir.path(), "EDT", "ORG"));
    // Case and blanks count.
    std::string changed = org;
    changed[1] = 'f';
    WriteBytes(dir / "KOVA_TLM.EDT", changed);
    EXPECT_TRUE(SnapshotsDiffer(dir.path(), "EDT", "ORG"));
    // Missing snapshots always differ.
    std::filesystem::remove(dir / "KOVA_TLM.EDT");
    EXPECT_TRUE(SnapshotsDiffer(dir.path(), "EDT", "ORG"));
    EXPECT_TRUE(SnapshotsDiffer(dir.path(), "ORG", "EDT"));
    // Results do not count as changes.
    WriteSnapshot(d, dir.path(), "ORG");
    d.StationCount = 1;
    d.Stations[1] = test::PartStation();
    WriteSnapshot(d, dir.path(), "ORG");
    RecordingMessages box;
    CalcPrediction(d, 1, box);
    WriteSnapshot(d, dir.path(), "EDT");
    EXPECT_FALSE(SnapshotsDiffer(dir.path(), "EDT", "ORG"));
}

}  // namespace
}  // namespace kova::predict
