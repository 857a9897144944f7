// Files prepared in a batch against the same files written directly, and
// the batch's failures.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <unistd.h>
#include <limits>
#include <string>

#include "print/drawing_file.hpp"
#include "print/page_file.hpp"
#include "print/print_common.hpp"
#include "tests/print/temp_dir.hpp"

using namespace kova::print;
using kova::testing::ReadBytes;
using kova::testing::TempDir;

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

TEST(PrintFileBatch, WritesTheSameBytesAsDirectWriters) {
    TempDir direct, batched;
    WriteBoth(direct, nullptr);
    FileBatch batch;
    WriteBoth(batched, &batch);
    // Nothing reaches the disk before the batch is written.
    EXPECT_FALSE(std::filesystem::exists(batched / "TK_DT_01.PDT"));
    EXPECT_FALSE(batch.Empty());
    batch.WriteAll();
    EXPECT_TRUE(batch.Empty());
    for (const char* name : {"TK_DT_01.PDT", "TNJ_H_01.PZK"}) {
        const std::string a = ReadBytes(direct / name), b = ReadBytes(batched / name);
        EXPECT_GT(a.size(), 0u);
        EXPECT_TRUE(a == b) << name;
    }
}

TEST(PrintFileBatch, StopsAtTheFirstFileThatCannotBeCreated) {
    TempDir dir;
    FileBatch batch;
    {
        DrawingWriter a(dir / "A.PZK", kSizeSection, &batch);
        DrawingWriter b(dir / "none" / "B.PZK", kSizeSection, &batch);
        DrawingWriter c(dir / "C.PZK", kSizeSection, &batch);
        a.Close();
        b.Close();
        c.Close();
    }
    try {
        batch.WriteAll();
        FAIL() << "no error";
    } catch (const PrintFileError& e) {
        EXPECT_EQ(e.FileName(), "B.PZK");
        EXPECT_EQ(e.WhichStage(), PrintFileError::Stage::Create);
    }
    EXPECT_TRUE(std::filesystem::exists(dir / "A.PZK"));
    EXPECT_FALSE(std::filesystem::exists(dir / "C.PZK"));
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

TEST(PrintHelpers, InlineTruncationAgreesWithTheGeneralConversion) {
    const double inf = std::numeric_limits<double>::infinity();
    for (double v : {0.0, -0.0, 0.999, -0.999, 1.5, -1.5, 32766.99, 32767.0, 32767.5, 32768.0, 32768.5,
                     -32767.9, -32768.0, -32768.5, -32769.0, -32769.5, 1e18, -1e18, inf, -inf,
                     std::nan("")}) {
        EXPECT_EQ(ToDrawingInt(v), ToDrawingInt(v, Rounding::TowardZero)) << v;
        EXPECT_EQ(ToDrawingInt(std::nextafter(v, 0.0)), ToDrawingInt(std::nextafter(v, 0.0), Rounding::TowardZero)) << v;
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
            p.Form(true, "A.PFM");
            {
                DrawingWriter d(dir / "D.PZK", kSizeSection, b);
                d.Line(0, 0, 1, 2, 3, 4, 0, 2);
                d.Close();
            }
            p.Form(false, "B.PFM");
            DrawingWriter x(dir / "none" / "X.PZK", kSizeSection, b);  // directly: fails here
            x.Close();
            p.Form(false, "C.PFM");
            p.Close();
            batch.WriteAll();  // in a batch: fails here
            FAIL() << "no error";
        } catch (const PrintFileError& e) {
            EXPECT_EQ(e.FileName(), "X.PZK");
        }
        page[batched] = ReadBytes(dir / "P.PDT");
        drawing[batched] = ReadBytes(dir / "D.PZK");
    }
    EXPECT_EQ(page[0], page[1]);
    EXPECT_EQ(drawing[0], drawing[1]);
    // The page as far as it was written when X.PZK was to be created.
    EXPECT_NE(page[1].find("B.PFM"), std::string::npos);
    EXPECT_EQ(page[1].find("C.PFM"), std::string::npos);
    EXPECT_FALSE(drawing[1].empty());
}

TEST(PrintFileBatch, ReplacesWhatAnEarlierRunLeft) {
    TempDir direct, batched;
    WriteBoth(direct, nullptr);
    const std::string expect = ReadBytes(direct / "TNJ_H_01.PZK");
    // Longer and shorter leftovers of an earlier run: nothing of them stays.
    for (std::size_t size : {expect.size() * 2, expect.size() / 3, std::size_t{0}}) {
        {
            std::ofstream old((batched / "TNJ_H_01.PZK").c_str(), std::ios::binary | std::ios::trunc);
            old << std::string(size, 'x');
        }
        FileBatch batch;
        WriteBoth(batched, &batch);
        batch.WriteAll();
        EXPECT_TRUE(ReadBytes(batched / "TNJ_H_01.PZK") == expect) << size;
    }
}

TEST(PrintFileBatch, FileThatMayNotBeWrittenIsRefused) {
    TempDir batched;
    {
        FileBatch batch;
        WriteBoth(batched, &batch);
        batch.WriteAll();
    }
    // Refused as when written directly, with the file named.
    std::filesystem::permissions(batched / "TK_DT_01.PDT", std::filesystem::perms::owner_read);
    if (::access((batched / "TK_DT_01.PDT").c_str(), W_OK) == 0) GTEST_SKIP() << "running with rights to write anything";
    FileBatch batch;
    WriteBoth(batched, &batch);
    try {
        batch.WriteAll();
        FAIL() << "no error";
    } catch (const PrintFileError& e) {
        EXPECT_EQ(e.FileName(), "TK_DT_01.PDT");
        EXPECT_EQ(e.WhichStage(), PrintFileError::Stage::Create);
    }
}
