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

// A position with no soil under it has nothing computed: its page names
// it and says so, with no settlement figure and no drawing; the positions
// beside it keep their whole reports, and tnk1.csv its no-result row.
TEST(ReportRun, APositionWithoutSoilShowsNoSettlement) {
    enginetest::Input f;
    const int a = f.Point(10, 0), b = f.Point(110, 0), c = f.Point(110, -4), d = f.Point(10, -4);
    f.layers.push_back(enginetest::Clay({a, b, c, d}, 18, 0));
    f.strip_loads.push_back(enginetest::Load{40, 40, 0, 80, 0, 1, 0, 0});
    f.positions = {{60, "A"}, {200, "B"}, {70, "C"}};
    for (int threads : {1, 4}) {
        enginetest::EngineRun r(f, threads);
        ASSERT_EQ(r.code, 0);
        auto errors = ts::CheckViewerFolder(r.dir.path, ts::DateStyle::Engine);
        EXPECT_TRUE(errors.empty()) << ts::JoinErrors(errors);
        std::vector<std::string> e;
        const ts::PageFile page = ts::ParsePage(r.dir.path / "TK_DT_02.PDT", ts::DateStyle::Engine, e);
        EXPECT_EQ(page.title, "沈下算出点-No.02");
        EXPECT_EQ(FormSequence(page), (std::vector<std::string>{"SOU_0000.PFM", "SOU_NOSOIL.PFM"}));
        ASSERT_EQ(page.forms.size(), 2u);
        EXPECT_EQ(page.forms[0].fields, (std::vector<std::pair<int, std::string>>{{0, "B"}, {1, " 200.000"}}));
        EXPECT_EQ(page.forms[1].fields, (std::vector<std::pair<int, std::string>>{
                                            {0, "この位置の下には土層がないため、沈下量は計算されていません。"}}));
        for (const char* name : {"TNK_Z_02.PZK", "TNJ_H_02.PZK"}) EXPECT_FALSE(r.Has(name)) << name;
        for (const char* name : {"TK_DT_01.PDT", "TNK_Z_01.PZK", "TNJ_H_01.PZK", "TK_DT_03.PDT", "TNK_Z_03.PZK",
                                 "TNJ_H_03.PZK"})
            EXPECT_TRUE(r.Has(name)) << name;
        // Off the section drawing's sheet, B is not drawn there either.
        const ts::DrawingFile plan =
            ts::ParseDrawing(r.dir.path / "KT_ZUMEN.PZK", ts::ExpectedSizeLine("KT_ZUMEN.PZK"), false, e);
        EXPECT_TRUE(plan.Texts("B").empty());
        EXPECT_EQ(plan.Texts("A").size(), 1u);
        EXPECT_NE(r.Bytes("tnk1.csv").find("\r\n200.000000,-9999.990000,0.000000\r\n"), std::string::npos);
        EXPECT_TRUE(e.empty()) << ts::JoinErrors(e);
    }
}
