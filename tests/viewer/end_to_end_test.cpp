// The worked example calculated by the real engine and exported by the real
// viewer: a PDF page per page file at least, with the titles as text.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include "model/calcinput.hpp"
#include "model/model.hpp"
#include "model/projectfile.hpp"
#include "platform/message.hpp"
#include "testing/fakes.hpp"
#include "tests/support/tempdir.hpp"
#include "viewer/reader/report_set.hpp"

namespace fs = std::filesystem;

namespace {

std::string Capture(const std::string& command) {
    std::string out;
    if (FILE* p = ::popen(command.c_str(), "r")) {
        char buf[4096];
        std::size_t n;
        while ((n = std::fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
        ::pclose(p);
    }
    return out;
}

int RunIn(const fs::path& dir, const std::string& command) {
    return std::system(("cd '" + dir.string() + "' && " + command).c_str());
}

int Pages(const fs::path& pdf) {
    std::string info = Capture("pdfinfo '" + pdf.string() + "'");
    auto at = info.find("Pages:");
    return at == std::string::npos ? -1 : std::atoi(info.c_str() + at + 6);
}

const fs::path kBin = KOVA_BIN_DIR;

TEST(ViewerEndToEnd, TheWorkedExampleGoesToOnePdfWithItsTitles) {
    if (!KOVA_VIEWER_BUILT) GTEST_SKIP() << "built without windows (KOVA_GUI=OFF)";
    kova::test::TempDir dir;
    kova::Model m;
    kova::ProgramState ps;
    kova::RecordingMessages msgs;
    ASSERT_TRUE(kova::ReadCondFile(m, ps, fs::path(KOVA_EXAMPLES) / "road_embankment.kov", msgs));
    ASSERT_TRUE(kova::WriteCalcInput(m, dir.path(), msgs));
    for (const char* data : {"BKHough1.CSV", "SYSVER.DAT"})
        if (fs::exists(kBin / data)) fs::copy_file(kBin / data, dir / data);
    ASSERT_EQ(RunIn(dir.path(), "'" + (kBin / "SETLCORE").string() + "' >/dev/null 2>&1"), 0);
    const auto pageFiles = kova::viewer::PageFilesIn(dir.path());
    ASSERT_EQ(pageFiles.size(), 1u + 4u);  // conditions and four positions

    ASSERT_EQ(RunIn(dir.path(), "QT_QPA_PLATFORM=offscreen '" + (kBin / "VIEWQEX2").string() + "' --pdf out.pdf"), 0);
    EXPECT_GE(Pages(dir / "out.pdf"), static_cast<int>(pageFiles.size()));
    const std::string text = Capture("pdftotext -enc UTF-8 '" + (dir / "out.pdf").string() + "' -");
    for (const char* title : {"検討条件", "沈下算出点-No.01", "沈下算出点-No.04"})
        EXPECT_NE(text.find(title), std::string::npos) << title;
    // Every field value of every report on its report's pages, no form name.
    const std::string check = Capture("python3 '" + (fs::path(KOVA_TOOLS) / "check_viewer_pdf.py").string() + "' '" +
                                      dir.path().string() + "' '" + (dir / "out.pdf").string() + "' 2>&1; echo rc=$?");
    EXPECT_NE(check.find(" 0 misses"), std::string::npos) << check;
    EXPECT_NE(check.find("rc=0"), std::string::npos) << check;

    // A page file cut short: still a PDF of what could be read, exit 1 and
    // the file and line named on stderr.
    kova::test::WriteBytes(dir / "TL_PRD1.PDT", "x\r\n");
    const std::string err = Capture("cd '" + dir.path().string() + "' && '" + (kBin / "VIEWQEX2").string() +
                                    "' --pdf cut.pdf 2>&1; echo rc=$?");
    EXPECT_NE(err.find("TL_PRD1.PDT"), std::string::npos) << err;
    EXPECT_NE(err.find("rc=1"), std::string::npos) << err;
    EXPECT_GE(Pages(dir / "cut.pdf"), static_cast<int>(pageFiles.size()) + 1);
    // The calculation's set alone leaves the prediction's file out.
    EXPECT_EQ(RunIn(dir.path(), "QT_QPA_PLATFORM=offscreen '" + (kBin / "VIEWQEX2").string() + "' --pdf tk.pdf TK"), 0);
    EXPECT_EQ(Pages(dir / "tk.pdf"), Pages(dir / "out.pdf"));
    EXPECT_NE(RunIn(dir.path(), "'" + (kBin / "VIEWQEX2").string() + "' --pdf tk.pdf XX 2>/dev/null"), 0);
}

TEST(ViewerEndToEnd, NoPageFileIsAMessageAndExitOne) {
    if (!KOVA_VIEWER_BUILT) GTEST_SKIP() << "built without windows (KOVA_GUI=OFF)";
    kova::test::TempDir dir;
    const std::string err = Capture("cd '" + dir.path().string() + "' && '" + (kBin / "VIEWQEX2").string() +
                                    "' --pdf out.pdf 2>&1; echo rc=$?");
    EXPECT_NE(err.find("*.PDT"), std::string::npos) << err;
    EXPECT_NE(err.find("rc=1"), std::string::npos) << err;
    EXPECT_FALSE(fs::exists(dir / "out.pdf"));
}

}  // namespace
