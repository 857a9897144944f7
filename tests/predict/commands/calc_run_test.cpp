#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "predict/commands/calc_run.hpp"
#include "testing/fakes.hpp"
#include "tests/predict/predict_test_util.hpp"
#include "tests/support/viewer_grammar.hpp"
#include "textio/textfile.hpp"

namespace kova::predict {
namespace {

using testsupport::CheckViewerFolder;
using testsupport::DateStyle;
using testsupport::JoinErrors;

std::set<std::string> Files(const std::filesystem::path& dir) {
    std::set<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(dir)) names.insert(e.path().filename().string());
    return names;
}

// Stations 1 and 3 fit; station 2 has no valid range.
ObsDataSet ThreeStations(int count = 3) {
    ObsDataSet d;
    d.JobTitle = "第2工区,盛土\"北\"";
    d.StationCount = static_cast<std::int16_t>(count);
    for (int k = 1; k <= count; ++k) {
        d.Stations[k] = test::PartStation();
        d.Stations[k].Name = "No." + std::to_string(k);
    }
    d.Stations[2].Sa = 0;
    return d;
}

const print::DateStamp kStamp{3, 4, 15, 9, 5, 30};

TEST(CalcRun, WritesTheStationsWithAPrediction) {
    test::TempDir dir;
    test::WriteBytes(dir / "TL_PRD7.PDT", "old");
    test::WriteBytes(dir / "YOSOKU7.PZK", "old");
    test::WriteBytes(dir / "KAIKI_7.PZK", "old");
    test::WriteBytes(dir / "KOVA_TLM.ORG", "kept");
    ObsDataSet d = ThreeStations();
    RecordingMessages msg;
    RunOutcome run = RunCalculation(d, dir.path(), msg, kStamp);
    EXPECT_EQ(run.stationsWritten, 2);
    EXPECT_TRUE(run.Printable());
    ASSERT_EQ(msg.Count(), 1u);  // station 2's own message, naming it
    EXPECT_EQ(msg.Last().text, "観測所2（No.2）：Saが不正です。");
    EXPECT_EQ(Files(dir.path()), (std::set<std::string>{"KOVA_TLM.ORG", "TL_PRD1.PDT", "YOSOKU1.PZK",
                                                        "KAIKI_1.PZK", "TL_PRD3.PDT", "YOSOKU3.PZK",
                                                        "KAIKI_3.PZK"}));
    EXPECT_EQ(JoinErrors(CheckViewerFolder(dir.path(), DateStyle::Prediction, true)), "");

    const std::vector<std::string> want = {
        "沈下算出点-No.3",
        "  03  04  15  09  05  30test",
        "$1  TOLMCURV.PFM",
        "00  第2工区,盛土\"北\"",
        "01  No.3",
        "$0                  YOSOKU3.PZK",
        "$0  KAIKI.PFM       KAIKI_3.PZK",
        "01  2003年04月15日",
        "02  2003年07月14日",
        "04       1.0000",
        "03      10.0000",
        "05       1.0000",
        "06       1.000m",
    };
    EXPECT_EQ(ReadCp932Lines(dir / "TL_PRD3.PDT"), want);
}

TEST(CalcRun, TwoDigitStationNumbers) {
    test::TempDir dir;
    ObsDataSet d = ThreeStations(10);
    RecordingMessages msg;
    RunCalculation(d, dir.path(), msg, kStamp);
    EXPECT_TRUE(std::filesystem::exists(dir / "YOSOKU10.PZK"));
    EXPECT_TRUE(std::filesystem::exists(dir / "KAIKI_10.PZK"));
    EXPECT_EQ(ReadCp932Lines(dir / "TL_PRD10.PDT").at(0), "沈下算出点-No.10");
    EXPECT_EQ(JoinErrors(CheckViewerFolder(dir.path(), DateStyle::Prediction, true)), "");
}

TEST(CalcRun, UnwritableFileStopsAndLeavesNothing) {
    // A folder standing where a file must go cannot be written over, even
    // by a privileged user.
    for (const char* blocker : {"TL_PRD1.PDT", "YOSOKU3.PZK", "KAIKI_3.PZK"}) {
        test::TempDir dir;
        std::filesystem::create_directory(dir / blocker);
        ObsDataSet d = ThreeStations();
        RecordingMessages msg;
        RunOutcome run = RunCalculation(d, dir.path(), msg, kStamp);
        EXPECT_TRUE(run.fileError) << blocker;
        EXPECT_FALSE(run.Printable()) << blocker;
        ASSERT_GE(msg.Count(), 1u);
        EXPECT_EQ(msg.Last().text, ReportWriteFailureText(blocker));
        EXPECT_EQ(Files(dir.path()), (std::set<std::string>{blocker})) << blocker;
    }
}

TEST(CalcRun, ReadOnlyFolder) {
    test::TempDir dir;
    std::filesystem::permissions(dir.path(), std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    if (std::FILE* probe = std::fopen((dir / "probe").c_str(), "wb")) {
        std::fclose(probe);
        std::filesystem::permissions(dir.path(), std::filesystem::perms::owner_all);
        GTEST_SKIP() << "this user writes into read-only folders";
    }
    ObsDataSet d = ThreeStations();
    RecordingMessages msg;
    RunOutcome run = RunCalculation(d, dir.path(), msg, kStamp);
    std::filesystem::permissions(dir.path(), std::filesystem::perms::owner_all);
    EXPECT_FALSE(run.Printable());
    EXPECT_EQ(msg.Last().text, ReportWriteFailureText("TL_PRD1.PDT"));
    EXPECT_TRUE(Files(dir.path()).empty());
}

TEST(CalcRun, NothingPredictedIsNotPrintable) {
    test::TempDir dir;
    ObsDataSet d = ThreeStations(2);
    d.Stations[1].Sa = 0;
    RecordingMessages msg;
    RunOutcome run = RunCalculation(d, dir.path(), msg, kStamp);
    EXPECT_EQ(run.stationsWritten, 0);
    EXPECT_FALSE(run.Printable());
    EXPECT_EQ(msg.Count(), 2u);
    EXPECT_TRUE(Files(dir.path()).empty());
}

}  // namespace
}  // namespace kova::predict
