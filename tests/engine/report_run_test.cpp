// Whole engine runs on fixed inputs: every page and drawing file against the
// grammar, the drawings each page names, and the files byte for byte
// against golden sets (clock fixed), so that print formats cannot drift.
//
// To renew the golden sets after an intended change of the reports, run the
// tests with KOVA_UPDATE_GOLDEN=1 and review the differences.
#include <gtest/gtest.h>

#include <cstdlib>
#include <set>

#include "tests/engine/report_fixture.hpp"

using namespace reporttest;
namespace fs = std::filesystem;

namespace {

const fs::path kSets = fs::path(KOVA_TEST_DATA) / "engine_reports";

std::set<std::string> ReportFiles(const fs::path& dir) {
    std::set<std::string> out;
    for (const auto& e : fs::directory_iterator(dir)) {
        std::string ext = e.path().extension().string();
        if (ext == ".PDT" || ext == ".PZK") out.insert(e.path().filename().string());
    }
    return out;
}

// A run of a stored set with the clock of its golden files, on several
// threads: the goldens are serial runs, and must come out the same.
struct SetRun : enginetest::EngineRun {
    explicit SetRun(const std::string& set, const std::function<void(const fs::path&)>& prepare = {})
        : EngineRun({}, 6,
                    [&](const fs::path& d) {
                        Copy(fs::path("engine_reports") / set / "CAL_TNK.DAT")(d);
                        if (prepare) prepare(d);
                    },
                    RunStamp{5, 12, 19, 14, 3, 7}) {}
};

}  // namespace

class ReportGolden : public ::testing::TestWithParam<const char*> {};

TEST_P(ReportGolden, GrammarNamedDrawingsAndBytes) {
    const std::string set = GetParam();
    SetRun r(set);
    ASSERT_EQ(r.code, 0);
    auto errors = ts::CheckViewerFolder(r.dir.path, ts::DateStyle::Engine);
    EXPECT_TRUE(errors.empty()) << ts::JoinErrors(errors);

    const fs::path expected = kSets / set / "expected";
    const std::set<std::string> got = ReportFiles(r.dir.path);
    if (std::getenv("KOVA_UPDATE_GOLDEN")) {
        fs::remove_all(expected);
        fs::create_directories(expected);
        for (const auto& f : got) fs::copy_file(r.dir.path / f, expected / f);
        GTEST_SKIP() << "golden set " << set << " written";
    }
    ASSERT_TRUE(fs::exists(expected)) << "no golden set for " << set;
    EXPECT_EQ(got, ReportFiles(expected));
    for (const auto& f : got) {
        if (fs::exists(expected / f)) {
            EXPECT_TRUE(r.Bytes(f) == kova::test::ReadBytes(expected / f)) << set << "/" << f << " differs";
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Sets, ReportGolden, ::testing::Values("full", "minimal", "missing_cv"));

// A report file that cannot be created ends the run with exit code 1 and a
// message naming the file; nothing is written through it.
TEST(ReportRun, FileThatCannotBeCreatedEndsTheRun) {
    for (const char* name : {"TK_DATA.PDT", "KT_ZUMEN.PZK", "TK_DT_01.PDT", "TNJ_H_02.PZK", "TNK_MAX.PZK"}) {
        SetRun r("full", [&](const fs::path& d) { fs::create_directory(d / name); });  // a folder in the file's place
        EXPECT_EQ(r.code, 1) << name;
        // The full section's stage 1 loads start on different days, which
        // the run notes before the positions.
        std::vector<std::string> errors;
        for (const auto& m : r.msgs.shown)
            if (m.caption == "error") errors.push_back(m.text);
        ASSERT_EQ(errors.size(), 1u) << name;
        EXPECT_EQ(errors[0], std::string("帳票ﾌｧｲﾙ(") + name + ")に書き込み出来ません。");
        EXPECT_EQ(r.msgs.Last().text, errors[0]) << name;
        EXPECT_TRUE(fs::is_directory(r.dir.path / name));
    }
}
