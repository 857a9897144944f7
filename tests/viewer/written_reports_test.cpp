// The reports the engine writes, laid out as the viewer prints them: every
// form written has its layout in the catalogue, and no page holds a lone row
// of a split table (each part keeps at least a quarter of the table's rows).
// The prediction's writer is held against the catalogue by its own tests.
#include <gtest/gtest.h>

#include <cstdlib>

#include "model/calcinput.hpp"
#include "model/model.hpp"
#include "model/projectfile.hpp"
#include "testing/fakes.hpp"
#include "tests/support/tempdir.hpp"
#include "tests/support/viewer_grammar.hpp"
#include "viewer/reader/layout.hpp"
#include "viewer/reader/report_set.hpp"

namespace fs = std::filesystem;

namespace {

const fs::path kBin = KOVA_BIN_DIR;

bool RunEngine(const fs::path& dir) {
    for (const char* data : {"BKHough1.CSV", "SYSVER.DAT"})
        if (fs::exists(kBin / data)) fs::copy_file(kBin / data, dir / data);
    return std::system(("cd '" + dir.string() + "' && '" + (kBin / "SETLCORE").string() + "' >/dev/null 2>&1").c_str()) ==
           0;
}

// The worked example, with a position far off its soil when asked.
void WriteExample(const fs::path& dir, bool positionWithoutSoil) {
    kova::Model m;
    kova::ProgramState ps;
    kova::RecordingMessages msgs;
    ASSERT_TRUE(kova::ReadCondFile(m, ps, fs::path(KOVA_EXAMPLES) / "road_embankment.kov", msgs));
    if (positionWithoutSoil) {
        const int n = m.CalcPosCount++;
        m.Cond.CalcPosX[n] = 5000;
        m.Cond.CalcPosName[n] = "外";
    }
    ASSERT_TRUE(kova::WriteCalcInput(m, dir, msgs));
}

struct Laid {
    int pages = 0;
    std::vector<std::string> faults;
};

// Every report of a folder laid out; a fault for each table part with fewer
// than its share of rows.
Laid LayOutFolder(const fs::path& dir) {
    Laid out;
    for (const fs::path& f : kova::viewer::PageFilesIn(dir)) {
        const kova::viewer::Report r = kova::viewer::LoadReport(f);
        const auto pages = kova::viewer::LayOut(r);
        out.pages += static_cast<int>(pages.size());
        for (const auto& p : pages)
            for (const kova::viewer::TablePart& t : p.tables) {
                const int least = std::max(1, (t.of + 3) / 4);
                if (t.of > 0 && t.rows < least)
                    out.faults.push_back(f.filename().string() + " page " + std::to_string(p.number) + ": " +
                                         std::to_string(t.rows) + " of " + std::to_string(t.of) + " rows");
            }
    }
    return out;
}

}  // namespace

TEST(WrittenReports, EveryFormHasALayoutAndNoPageHoldsALoneRow) {
    for (const char* section : {"example", "position without soil", "full capacity"}) {
        kova::test::TempDir dir;
        const std::string name = section;
        if (name == "full capacity") {
            ASSERT_EQ(std::system(("python3 '" + (fs::path(KOVA_TOOLS) / "gen_cal_tnk.py").string() + "' full '" +
                                   dir.path().string() + "' >/dev/null")
                                      .c_str()),
                      0);
        } else {
            WriteExample(dir.path(), name == "position without soil");
        }
        ASSERT_TRUE(RunEngine(dir.path())) << section;
        const auto errors = kova::testsupport::CheckViewerFolder(dir.path(), kova::testsupport::DateStyle::Engine);
        EXPECT_TRUE(errors.empty()) << section << "\n" << kova::testsupport::JoinErrors(errors);
        const Laid laid = LayOutFolder(dir.path());
        EXPECT_GT(laid.pages, 0) << section;
        EXPECT_TRUE(laid.faults.empty()) << section << "\n" << kova::testsupport::JoinErrors(laid.faults);
        if (name == "full capacity") std::printf("full capacity: %d pages\n", laid.pages);
    }
}
