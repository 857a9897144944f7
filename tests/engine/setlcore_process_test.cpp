// SETLCORE as the front end starts it: a separate process in the program
// folder, messages on standard error only, the exit code telling whether
// results are ready.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <sys/wait.h>

#include "rules/limits.hpp"
#include "tests/support/tempdir.hpp"
#include "tests/support/viewer_grammar.hpp"
#include "textio/listline.hpp"
#include "textio/textfile.hpp"

namespace fs = std::filesystem;

namespace {

struct Outcome {
    int exitCode = -1;
    std::string out;
    std::string err;
};

Outcome RunSetlcore(const fs::path& folder) {
    fs::path exe = fs::path(KOVA_BIN_DIR) / "SETLCORE";
    std::string cmd = "cd '" + folder.string() + "' && '" + exe.string() + "' >stdout.txt 2>stderr.txt";
    int status = std::system(cmd.c_str());
    Outcome o;
    if (WIFEXITED(status)) o.exitCode = WEXITSTATUS(status);
    o.out = kova::test::ReadBytes(folder / "stdout.txt");
    o.err = kova::test::ReadBytes(folder / "stderr.txt");
    fs::remove(folder / "stdout.txt");
    fs::remove(folder / "stderr.txt");
    return o;
}

// Rows of a result table: three finite numbers each, CR LF line ends.
std::vector<std::array<double, 3>> ReadRows(const fs::path& p) {
    std::string bytes = kova::test::ReadBytes(p);
    std::vector<std::array<double, 3>> rows;
    for (const std::string& line : kova::SplitLines(bytes)) {
        std::array<double, 3> r{};
        std::size_t pos = 0;
        for (int k = 0; k < 3; ++k) {
            std::size_t comma = line.find(',', pos);
            std::string f = line.substr(pos, comma == std::string::npos ? std::string::npos : comma - pos);
            while (!f.empty() && f.front() == ' ') f.erase(0, 1);
            EXPECT_TRUE(kova::ParseReal(f, r[k])) << p.filename() << ": " << line;
            pos = comma == std::string::npos ? line.size() : comma + 1;
        }
        rows.push_back(r);
    }
    EXPECT_EQ(std::count(bytes.begin(), bytes.end(), '\n'), std::count(bytes.begin(), bytes.end(), '\r'));
    return rows;
}

}  // namespace

TEST(SetlcoreProcess, RunsTheFrontEndsInputToCompleteResults) {
    for (const char* input : {"model/rich_CAL_TNK.DAT", "engine/typical_small.dat"}) {
        SCOPED_TRACE(input);
        kova::test::TempDir dir;
        fs::copy_file(fs::path(KOVA_TEST_DATA) / input, dir / "CAL_TNK.DAT");
        Outcome o = RunSetlcore(dir.path());
        ASSERT_EQ(o.exitCode, 0) << o.err;
        EXPECT_TRUE(o.out.empty());

        auto profile = ReadRows(dir / "tnk.csv");
        ASSERT_EQ(profile.size(), 1000u);
        for (std::size_t i = 1; i < profile.size(); ++i) EXPECT_GE(profile[i][0], profile[i - 1][0]);
        auto positions = ReadRows(dir / "tnk1.csv");
        EXPECT_FALSE(positions.empty());

        auto errors = kova::testsupport::CheckViewerFolder(dir.path(), kova::testsupport::DateStyle::Engine);
        EXPECT_TRUE(errors.empty()) << kova::testsupport::JoinErrors(errors);
        EXPECT_TRUE(fs::exists(dir / "TK_DATA.PDT"));
        EXPECT_TRUE(fs::exists(dir / "TNK_MAX.PZK"));
    }
}

TEST(SetlcoreProcess, MissingOrBrokenInputEndsWithExitCodeOneAndAMessage) {
    kova::test::TempDir dir;
    Outcome o = RunSetlcore(dir.path());
    EXPECT_EQ(o.exitCode, 1);
    EXPECT_TRUE(o.out.empty());
    EXPECT_NE(o.err.find("条件ファイルが見つかりません。"), std::string::npos) << o.err;
    EXPECT_FALSE(fs::exists(dir / "tnk.csv"));

    kova::test::WriteBytes(dir / "CAL_TNK.DAT", "not an input file\r\n");
    o = RunSetlcore(dir.path());
    EXPECT_EQ(o.exitCode, 1);
    EXPECT_FALSE(o.err.empty());
    EXPECT_FALSE(fs::exists(dir / "tnk.csv"));
}

// The hostile inputs of the fuzz corpus, run as the front end runs them:
// each ends with exit code 1, its message on standard error, no results (a
// fault found at a calculation position ends the run after the profile was
// written: exit code 1 tells the front end to read nothing).
TEST(SetlcoreProcess, HostileInputsEndWithExitCodeOneNamingTheFault) {
    const std::pair<const char*, std::string> cases[] = {
        {"method_65537.dat", "沈下計算方法が" + kova::LimitRangeText(kova::Item::SettleMethod) + "の範囲にありません。"},
        {"load_1e303.dat", "集中荷重(kN)が"},
        {"cut_in_last_number.dat", "途中で終わっています。"},
        {"junk_after_data.dat", "データの後に余分な内容があります。"},
        {"drain_diameter_1e-300.dat", "ドレーンの係数F(n)が計算できません"},
    };
    for (auto [file, text] : cases) {
        kova::test::TempDir dir;
        fs::copy_file(fs::path(KOVA_TEST_DATA) / "fuzz" / "cal" / file, dir / "CAL_TNK.DAT");
        Outcome o = RunSetlcore(dir.path());
        EXPECT_EQ(o.exitCode, 1) << file;
        EXPECT_NE(o.err.find(text), std::string::npos) << file << ": " << o.err;
        if (std::string(file) != "drain_diameter_1e-300.dat") {
            EXPECT_FALSE(fs::exists(dir / "tnk.csv")) << file;
        }
        EXPECT_FALSE(fs::exists(dir / "tnk1.csv")) << file;
    }
}
