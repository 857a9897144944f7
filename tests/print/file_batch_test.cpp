// Files prepared in a batch against the same files written directly, and
// the batch's failures.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <unistd.h>

#include "print/drawing_file.hpp"
#include "print/page_file.hpp"
#include "print/print_common.hpp"
#include "tests/support/tempdir.hpp"

using namespace kova::print;
using kova::test::ReadBytes;
using kova::test::TempDir;

namespace {

// A page with Japanese text and a drawing long enough to span many blocks.
void WriteBoth(const TempDir& dir, FileBatch* batch) {
    PageWriter p(dir / "TK_DT_01.PDT", "沈下算出点-No.01", DateStamp{26, 12, 8, 9, 5, 7},
                 DateLineStyle::Engine, batch);
    p.Form(true, "SOU_0000.PFM");
    p.Field(0, "No.1 中央");
    DrawingWriter w(dir / "TNJ_H_01.PZK", kSizeTimeGraph, batch);
    for (int i = 0; i < 30000; ++i) w.Line(500, 1000, i % 3500, i % 1500, (i + 7) % 3500, i % 1499, 0, 2);
    w.Text(0, 0, 130, 1550, 100, 100, 0, 2, "沈");
    w.Close();
    p.Form(false, "", "TNJ_H_01.PZK");
    p.Close();
}

}  // namespace

TEST(PrintFileBatch, WritesTheSameBytesAsDirectWritersOverWhatAnEarlierRunLeft) {
    TempDir direct, batched;
    WriteBoth(direct, nullptr);
    const std::string expect = ReadBytes(direct / "TNJ_H_01.PZK");
    ASSERT_GT(expect.size(), 0u);
    // No leftover, then longer and shorter leftovers of an earlier run.
    for (std::size_t size : {std::size_t{0}, expect.size() * 2, expect.size() / 3}) {
        if (size > 0) kova::test::WriteBytes(batched / "TNJ_H_01.PZK", std::string(size, 'x'));
        FileBatch batch;
        WriteBoth(batched, &batch);
        if (size == 0) {
            EXPECT_FALSE(std::filesystem::exists(batched / "TK_DT_01.PDT"));  // nothing before WriteAll
        }
        batch.WriteAll();
        EXPECT_TRUE(batch.Empty());
        EXPECT_TRUE(ReadBytes(batched / "TNJ_H_01.PZK") == expect) << size;
        EXPECT_EQ(ReadBytes(batched / "TK_DT_01.PDT"), ReadBytes(direct / "TK_DT_01.PDT"));
    }
}

TEST(PrintFileBatch, UncreatableFileLeavesTheOpenOnesAsDirectWritersWould) {
    std::string page[2], drawing[2];
    for (int batched = 0; batched < 2; ++batched) {
        TempDir dir;
        FileBatch batch;
        FileBatch* b = batched ? &batch : nullptr;
        try {
            PageWriter p(dir / "P.PDT", "title", DateStamp{}, DateLineStyle::Engine, b);
            p.Form(true, "SJK_0000.PFM");
            {
                DrawingWriter d(dir / "D.PZK", kSizeSection, b);
                d.Line(0, 0, 1, 2, 3, 4, 0, 2);
                d.Close();
            }
            p.Form(false, "SJK_0001.PFM");
            DrawingWriter x(dir / "none" / "X.PZK", kSizeSection, b);  // directly: fails here
            x.Close();
            DrawingWriter c(dir / "C.PZK", kSizeSection, b);
            c.Close();
            p.Form(false, "SJK_0003.PFM");
            p.Close();
            batch.WriteAll();  // in a batch: fails here
            FAIL() << "no error";
        } catch (const PrintFileError& e) {
            EXPECT_EQ(e.FileName(), "X.PZK");
            EXPECT_EQ(e.WhichStage(), PrintFileError::Stage::Create);
        }
        page[batched] = ReadBytes(dir / "P.PDT");
        drawing[batched] = ReadBytes(dir / "D.PZK");
        EXPECT_FALSE(std::filesystem::exists(dir / "C.PZK"));
    }
    EXPECT_EQ(page[0], page[1]);
    EXPECT_EQ(drawing[0], drawing[1]);
    // The page as far as it was written when X.PZK was to be created.
    EXPECT_NE(page[1].find("SJK_0001.PFM"), std::string::npos);
    EXPECT_EQ(page[1].find("SJK_0003.PFM"), std::string::npos);
    EXPECT_FALSE(drawing[1].empty());
}

TEST(PrintFileBatch, EncodingFailureAndClosedFiles) {
    TempDir dir;
    FileBatch batch;
    DrawingWriter w(dir / "X.PZK", kSizeSection, &batch);
    EXPECT_THROW(w.Text(0, 0, 0, 0, 70, 70, 0, 2, "\xF0\x9F\x98\x80"), PrintFileError);  // no CP932 code
    EXPECT_THROW(w.Close(), PrintFileError);
    DrawingWriter v(dir / "Y.PZK", kSizeSection, &batch);
    v.Close();
    EXPECT_THROW(v.Line(0, 0, 1, 1, 2, 2, 0, 2), PrintFileError);
    if (std::filesystem::exists("/dev/full")) {
        FileBatch full;
        DrawingWriter f("/dev/full", kSizeSection, &full);
        f.Close();
        EXPECT_THROW(full.WriteAll(), PrintFileError);
    }
}

TEST(PrintFileBatch, FileThatMayNotBeWrittenIsRefused) {
    TempDir ro;
    kova::test::WriteBytes(ro / "TK_DT_01.PDT", "old");
    std::filesystem::permissions(ro / "TK_DT_01.PDT", std::filesystem::perms::owner_read);
    if (::access((ro / "TK_DT_01.PDT").c_str(), W_OK) == 0) GTEST_SKIP() << "running with rights to write anything";
    FileBatch refused;
    WriteBoth(ro, &refused);
    try {
        refused.WriteAll();
        FAIL() << "no error";
    } catch (const PrintFileError& e) {
        EXPECT_EQ(e.FileName(), "TK_DT_01.PDT");
        EXPECT_EQ(e.WhichStage(), PrintFileError::Stage::Create);
    }
}

TEST(PrintHelpers, InlineTruncationAgreesWithTheGeneralConversion) {
    const double inf = std::numeric_limits<double>::infinity();
    for (double v : {0.0, -0.999, 1.5, 32767.0, 32767.5, 32768.0, -32768.0, -32768.5, -32769.0, 1e18, -1e18, inf,
                     -inf, std::nan("")}) {
        EXPECT_EQ(ToDrawingInt(v), ToDrawingInt(v, Rounding::TowardZero)) << v;
        EXPECT_EQ(ToDrawingInt(std::nextafter(v, 0.0)), ToDrawingInt(std::nextafter(v, 0.0), Rounding::TowardZero)) << v;
    }
}
