// Page and drawing writers: exact line forms, encoding and failure checks.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <limits>

#include "print/drawing_file.hpp"
#include "print/forms.hpp"
#include "print/page_file.hpp"
#include "print/print_common.hpp"
#include "tests/support/tempdir.hpp"
#include "tests/support/viewer_grammar.hpp"

using namespace kova::print;
using kova::test::ReadBytes;
using kova::test::TempDir;
namespace ts = kova::testsupport;

TEST(PrintDateLine, EngineAndPredictionStylesAndLocalTime) {
    EXPECT_EQ(FormatDateLine(DateStamp{5, 12, 19, 14, 3, 7}, DateLineStyle::Engine),
              "   5  12  19  14   3   7" + std::string(15, ' '));
    EXPECT_EQ(FormatDateLine(DateStamp{3, 4, 15, 9, 5, 30}, DateLineStyle::Prediction), "  03  04  15  09  05  30test");
    const char* old = std::getenv("TZ");
    const std::string saved = old ? old : "";
    setenv("TZ", "UTC", 1);
    tzset();
    DateStamp s = StampFromTime(1135000987);  // 2005-12-19 14:03:07 UTC
    if (old) setenv("TZ", saved.c_str(), 1); else unsetenv("TZ");
    tzset();
    EXPECT_EQ((std::vector<int>{s.year2, s.month, s.day, s.hour, s.minute, s.second}),
              (std::vector<int>{5, 12, 19, 14, 3, 7}));
}

TEST(PrintFormLine, DrawingStartsAtColumn21) {
    EXPECT_EQ(FormatFormLine(true, "SJK_0000.PFM", ""), "$1  SJK_0000.PFM");
    EXPECT_EQ(FormatFormLine(false, "SJK_0001.PFM", ""), "$0  SJK_0001.PFM");
    EXPECT_EQ(FormatFormLine(true, "", "KT_ZUMEN.PZK"), "$1                  KT_ZUMEN.PZK");
    EXPECT_EQ(FormatFormLine(false, "KAIKI.PFM", "KAIKI_3.PZK"), "$0  KAIKI.PFM       KAIKI_3.PZK");
    EXPECT_EQ(FormatFormLine(true, "", ""), "$1");
    for (std::size_t len = 0; len <= 16; ++len) EXPECT_EQ(FormatFormLine(false, std::string(len, 'F'), "D.PZK").substr(20), "D.PZK");
    EXPECT_THROW(FormatFormLine(false, std::string(17, 'F'), "D.PZK"), std::invalid_argument);
}

TEST(PrintDrawingRecords, FormatsAndOriginAddedToCoordinatesOnly) {
    EXPECT_EQ(FormatLineRecord(12345, -50, -1234, 7, 1, 1), "L 12345  -50 -1234    7 1 1");
    EXPECT_EQ(FormatBoxRecord(-2, -5402, 2, -5398, 0, 2), "Q   -2 -5402    2 -5398 0 2");
    EXPECT_EQ(FormatMarkerRecord(600, 700, 8, 1), "P  592  692  600  700  592  692 1");
    TempDir dir;
    {
        DrawingWriter w(dir / "A.PZK", kSizeSection);
        EXPECT_EQ(pzk_text(w, 100, 50, 20, 30, 70, 70, 90, 1, "12"), 0);
        w.Close();
    }
    EXPECT_EQ(ReadBytes(dir / "A.PZK"), "A.PZK\r\n45,66\r\n# \x98\x67\x81\x95\x8e\xb2\r\n"
                                        "K  120   80   70   70   90 1\r\n12\r\n");
    {
        DrawingWriter w(dir / "B.PZK", kSizeTimeGraph);
        pzk_line(w, 500, 1000, 1, 2, 3, 4, 1, 2);
        pzk_box(w, -10, 10, 1, 2, 3, 4, 0, 1);
        w.Marker(500, 500, 100, 200, 8, 1);
        pzk_line(w, 10, 0, 32767, 0, 0, 0, 0, 2);  // the sum is clamped, not wrapped
        w.Close();
    }
    std::vector<std::string> errors;
    ts::DrawingFile d = ts::ParseDrawing(dir / "B.PZK", "45,28", true, errors);
    ASSERT_TRUE(errors.empty()) << ts::JoinErrors(errors);
    ASSERT_EQ(d.records.size(), 4u);
    EXPECT_EQ(d.records[0].v, (std::vector<int>{501, 1002, 503, 1004, 1, 2}));
    EXPECT_EQ(d.records[1].v, (std::vector<int>{-9, 12, -7, 14, 0, 1}));
    EXPECT_EQ(d.records[2].v, (std::vector<int>{592, 692, 600, 700, 592, 692, 1}));
    EXPECT_EQ(d.records[3].v[0], 32767);
}

TEST(PrintPageFile, WritesTitleDateFormsReservationAndFieldsVerbatim) {
    TempDir dir;
    {
        PageWriter p(dir / "T.PDT", "検討条件", DateStamp{5, 12, 19, 14, 3, 7}, DateLineStyle::Engine);
        p.Form(true, "SJK_0000.PFM");
        p.Field(0, "ab  cd");
        p.Reserve(6);
        p.Form(false, "SJK_0020.PFM");
        p.Field(3, "  両面 ");
        p.Field(19, Dashes(4));
        p.Form(true, "", "KT_ZUMEN.PZK");
        p.Close();
    }
    EXPECT_EQ(ReadBytes(dir / "T.PDT"), "\x8c\x9f\x93\xa2\x8f\xf0\x8c\x8f\r\n   5  12  19  14   3   7" +
                                            std::string(15, ' ') + "\r\n$1  SJK_0000.PFM\r\n00  ab  cd\r\n$R  6\r\n"
                                            "$0  SJK_0020.PFM\r\n03    \x97\xbc\x96\xca \r\n"
                                            "19  \x84\x9f\x84\x9f\x84\x9f\x84\x9f\r\n$1                  KT_ZUMEN.PZK\r\n");
    EXPECT_THROW(PageWriter(dir / "U.PDT", "t", DateStamp{}, DateLineStyle::Engine).Field(20, "x"),
                 std::invalid_argument);
    // Only forms of the catalogue: every form written has its layout.
    for (const char* form : {"SOU_0099.PFM", "sou_0000.pfm", "X"})
        EXPECT_THROW(PageWriter(dir / "V.PDT", "t", DateStamp{}, DateLineStyle::Engine).Form(true, form),
                     std::invalid_argument)
            << form;
}

// Each form of the catalogue is there once under a name a form line can
// carry: a second entry of a name would never be found, a name longer than
// 16 would push the drawing off column 21.
TEST(PrintForms, EveryCatalogueNameIsUniqueAndFitsTheFormLine) {
    for (const FormLayout& l : AllForms()) {
        EXPECT_EQ(FindForm(l.form), &l) << l.form << " is in the catalogue twice";
        ASSERT_GT(l.form.size(), 4u);
        EXPECT_EQ(l.form.substr(l.form.size() - 4), ".PFM");
        EXPECT_NO_THROW(FormatFormLine(false, l.form, "D.PZK")) << l.form;
    }
}

TEST(PrintHelpers, ClampedIntegersAndCodePage932Widths) {
    const double inf = std::numeric_limits<double>::infinity();
    struct Case {
        double v;
        Rounding mode;
        int expect;
    } cases[] = {
        {-1.9, Rounding::TowardZero, -1},      {1e10, Rounding::TowardZero, 32767},
        {-1e300, Rounding::TowardZero, -32768}, {-inf, Rounding::Floor, -32768},
        {std::nan(""), Rounding::TowardZero, 0}, {-1.5, Rounding::Floor, -2},
        {2.5, Rounding::NearestEven, 2},       {-2.5, Rounding::NearestEven, -2},
    };
    for (const auto& c : cases) EXPECT_EQ(ToDrawingInt(c.v, c.mode), c.expect) << c.v;
    EXPECT_EQ(TextBytes("沈下量"), 6);
    EXPECT_EQ(TextBytes("ﾌｧｲﾙ"), 4);
    EXPECT_EQ(TextBytes("No.１"), 5);
    EXPECT_EQ(Dashes(3), "───");
}

TEST(PrintFailures, MissingFolderFullDeviceAndTextWithoutACode) {
    TempDir dir;
    try {
        PageWriter p(dir / "none" / "TK_DATA.PDT", "t", DateStamp{}, DateLineStyle::Engine);
        FAIL() << "no error";
    } catch (const PrintFileError& e) {
        EXPECT_EQ(e.FileName(), "TK_DATA.PDT");
        EXPECT_EQ(e.WhichStage(), PrintFileError::Stage::Create);
    }
    DrawingWriter e(dir / "E.PZK", kSizeSection);
    EXPECT_THROW(e.Text(0, 0, 0, 0, 70, 70, 0, 2, "\xF0\x9F\x98\x80"), PrintFileError);
    EXPECT_THROW(e.Line(0, 0, 0, 0, 1, 1, 0, 2), PrintFileError);  // refused after a failure

    if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
    {
        DrawingWriter w("/dev/full", kSizeSection);  // small output fails at close
        EXPECT_THROW(w.Close(), PrintFileError);
    }
    bool thrown = false;
    try {
        DrawingWriter w("/dev/full", kSizeSection);  // large output fails on a write
        for (int i = 0; i < 100000; ++i) w.Line(0, 0, i, i, i, i, 0, 2);
        w.Close();
    } catch (const PrintFileError& err) {
        thrown = true;
        EXPECT_EQ(err.FileName(), "full");
    }
    EXPECT_TRUE(thrown);
}
