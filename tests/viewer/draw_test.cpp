// Drawings and pages through the recording picture: records land to scale
// in their frame, line types and pens come out distinct, text is placed by
// its lower-left corner with its cell size and angle.
#include <gtest/gtest.h>

#include <cmath>

#include "tests/support/recording_picture.hpp"
#include "tests/support/tempdir.hpp"
#include "textio/cp932.hpp"
#include "viewer/reader/draw.hpp"
#include "viewer/reader/layout.hpp"

using namespace kova::viewer;
using kova::test::DrawOp;

namespace {

// The recording picture that also takes text cells.
struct CellPicture : kova::test::RecordingPicture, kova::TextCells {
    struct Cell {
        double w, h;
        int angle;
    };
    std::vector<Cell> cells;
    void SetTextCell(double w, double h, int angle) override { cells.push_back({w, h, angle}); }
};

DrawingFile Drawing(const std::string& records, const std::string& size = "45,28") {
    return ReadDrawing(kova::Utf8ToCp932("D.PZK\r\n" + size + "\r\n# 枠＆軸\r\n" + records), "D.PZK");
}

double Length(const DrawOp& op) { return std::hypot(op.x2 - op.x1, op.y2 - op.y1); }

TEST(DrawDrawing, RecordsAreScaledIntoTheFrameAndClippedToIt) {
    DrawingFile d = Drawing("L    0    0 4200 2700 0 2\r\nL -100 1350 2100 1350 0 1\r\nL 5000 0 6000 10 0 1\r\n"
                            "Q  100  100  200  300 0 2\r\n");
    ASSERT_FALSE(d.fault);
    CellPicture p;
    DrawDrawing(d, p, Frame{100, 50, 840, 540});
    auto lines = p.Lines();
    ASSERT_EQ(lines.size(), 6u);  // the line wholly outside is dropped; a box is four
    EXPECT_DOUBLE_EQ(lines[0].x1, 100);
    EXPECT_DOUBLE_EQ(lines[0].y1, 50);
    EXPECT_DOUBLE_EQ(lines[0].x2, 940);
    EXPECT_DOUBLE_EQ(lines[0].y2, 590);
    EXPECT_EQ(lines[0].width, 2);
    // The negative x is cut at the frame's left edge.
    EXPECT_DOUBLE_EQ(lines[1].x1, 100);
    EXPECT_DOUBLE_EQ(lines[1].y1, 50 + 1350 * 0.2);
    EXPECT_EQ(lines[1].width, 1);
    EXPECT_DOUBLE_EQ(lines[2].x1, 120);
    EXPECT_DOUBLE_EQ(lines[2].y1, 70);
    EXPECT_DOUBLE_EQ(lines[4].y1, 110);
}

TEST(DrawDrawing, LineTypesGiveSolidAndTwoDistinctDashPatterns) {
    // One frame unit per drawing unit: the patterns in picture units.
    DrawingFile d = Drawing("L    0   10 1000   10 0 1\r\nL    0   20 1000   20 1 1\r\nL    0   30 1000   30 3 1\r\n");
    CellPicture p;
    DrawDrawing(d, p, Frame{0, 0, 4200, 2700});
    std::vector<std::vector<double>> runs(3);
    for (const DrawOp& op : p.Lines()) runs[static_cast<std::size_t>(op.y1 / 10 - 1)].push_back(Length(op));
    ASSERT_EQ(runs[0].size(), 1u);
    EXPECT_DOUBLE_EQ(runs[0][0], 1000);
    ASSERT_GT(runs[1].size(), 10u);
    for (std::size_t i = 0; i + 1 < runs[1].size(); ++i) EXPECT_DOUBLE_EQ(runs[1][i], kDash);
    ASSERT_GT(runs[2].size(), 10u);
    EXPECT_DOUBLE_EQ(runs[2][0], kLongDash);
    EXPECT_DOUBLE_EQ(runs[2][1], kDot);
    EXPECT_NE(runs[1].size(), runs[2].size());
    // Every piece stays on its line.
    for (const DrawOp& op : p.Lines()) EXPECT_EQ(op.y1, op.y2);
}

TEST(DrawDrawing, TextsSitOnTheirLowerLeftCornerWithSizeAndAngle) {
    DrawingFile d = Drawing("K 1000 1000  100   50    0 2\r\n経過時間\r\nK  200 2000   70   70   90 1\r\n"
                            "沈下量\r\nP  292  392  300  400  292  392 1\r\n");
    CellPicture p;
    DrawDrawing(d, p, Frame{0, 0, 2100, 1350});  // half scale
    auto texts = p.Texts();
    ASSERT_EQ(texts.size(), 2u);
    ASSERT_EQ(p.cells.size(), 2u);
    EXPECT_EQ(texts[0].text, "経過時間");
    EXPECT_DOUBLE_EQ(texts[0].x1, 500);
    EXPECT_DOUBLE_EQ(texts[0].y1, 500 - 25);  // top-left: up by the height
    EXPECT_DOUBLE_EQ(p.cells[0].w, 50);
    EXPECT_DOUBLE_EQ(p.cells[0].h, 25);
    EXPECT_EQ(p.cells[0].angle, 0);
    // Turned upward, the corner moves left by the height instead.
    EXPECT_EQ(texts[1].text, "沈下量");
    EXPECT_NEAR(texts[1].x1, 100 - 35, 1e-9);
    EXPECT_NEAR(texts[1].y1, 1000, 1e-9);
    EXPECT_EQ(p.cells[1].angle, 90);
    auto circles = p.Circles();
    ASSERT_EQ(circles.size(), 1u);
    EXPECT_DOUBLE_EQ(circles[0].x1, 150);
    EXPECT_DOUBLE_EQ(circles[0].y1, 200);
    // Half size 8 at half scale is 4, raised to the smallest printed marker.
    EXPECT_DOUBLE_EQ(circles[0].radius, std::max(4.0, kMinMarker));
}

TEST(DrawDrawing, ANamedButAbsentDrawingIsALabelledEmptyFrame) {
    CellPicture p;
    DrawAbsentDrawing("TIJ_0003.PZK", p, Frame{10, 20, 400, 300});
    EXPECT_EQ(p.Lines().size(), 4u);
    ASSERT_EQ(p.Texts().size(), 1u);
    EXPECT_NE(p.Texts()[0].text.find("TIJ_0003.PZK"), std::string::npos);
    EXPECT_GT(p.Texts()[0].x1, 10);
    EXPECT_LT(p.Texts()[0].y1, 320);
    EXPECT_EQ(p.OutsideBox(), 0);
}

Report Page(const std::string& body) {
    Report r;
    r.page = ReadPage(kova::Utf8ToCp932("題名\r\n   5  12  19  14   3   7               \r\n" + body), "TK_DATA.PDT");
    return r;
}

std::vector<std::string> TextsOf(const LaidPage& page) {
    std::vector<std::string> t;
    for (const PageText& x : page.texts) t.push_back(x.text);
    return t;
}

bool Has(const std::vector<std::string>& v, const std::string& s) {
    return std::find(v.begin(), v.end(), s) != v.end();
}

TEST(LayOut, TitleDateFormsAndPages) {
    // Forms without a layout of their own: their names and fields plainly.
    Report r = Page("$1  XJK_0000.PFM\r\n00  題目\r\n$0  XJK_0001.PFM\r\n$1  XJK_0005.PFM\r\n01    1.200\r\n"
                    "00  ─────\r\n");
    auto pages = LayOut(r);
    ASSERT_EQ(pages.size(), 2u);
    for (const LaidPage& p : pages) {
        auto t = TextsOf(p);
        EXPECT_TRUE(Has(t, "題名"));
        EXPECT_EQ(p.date, "2005年12月19日 14:03");
    }
    auto first = TextsOf(pages[0]);
    EXPECT_TRUE(Has(first, "XJK_0000.PFM"));
    EXPECT_TRUE(Has(first, "題目"));
    EXPECT_TRUE(Has(first, "XJK_0001.PFM"));
    auto second = TextsOf(pages[1]);
    // Values exactly as written, fields in the order of their numbers.
    auto at = [&](const std::string& s) { return std::find(second.begin(), second.end(), s) - second.begin(); };
    ASSERT_TRUE(Has(second, "  1.200"));
    // Fields of a form line without a form name are not lost.
    auto loose = LayOut(Page("$1                  X.PZK\r\n00  alone\r\n"));
    EXPECT_TRUE(Has(TextsOf(loose[0]), "alone"));
    ASSERT_TRUE(Has(second, "─────"));
    EXPECT_LT(at("─────"), at("  1.200"));
}

TEST(LayOut, RepeatedRowFormsMakeOneTableWithAColumnPerFieldNumber) {
    Report r = Page("$1  XJK_0001.PFM\r\n$0  XJK_0002.PFM\r\n00    1\r\n02  a\r\n$0  XJK_0002.PFM\r\n00    2\r\n"
                    "01  b\r\n$R  5\r\n$0  XJK_0020.PFM\r\n$0  XJK_0021.PFM\r\n00    9\r\n");
    auto pages = LayOut(r);
    ASSERT_EQ(pages.size(), 1u);
    const auto& t = pages[0].texts;
    auto find = [&](const std::string& s) -> const PageText* {
        for (const PageText& x : t)
            if (x.text == s) return &x;
        return nullptr;
    };
    // One caption for the run, a heading per field number, rows aligned under it.
    int captions = 0;
    for (const PageText& x : t) captions += x.text == "XJK_0002.PFM";
    EXPECT_EQ(captions, 1);
    ASSERT_TRUE(find("00") && find("01") && find("02"));
    ASSERT_TRUE(find("  1") && find("  2") && find("a") && find("b"));
    EXPECT_DOUBLE_EQ(find("  1")->x, find("00")->x);
    EXPECT_DOUBLE_EQ(find("b")->x, find("01")->x);
    EXPECT_DOUBLE_EQ(find("a")->x, find("02")->x);
    EXPECT_LT(find("a")->y, find("b")->y);
    EXPECT_DOUBLE_EQ(find("  1")->y, find("a")->y);
    // The single row after a reserved heading is a table too; "$R" prints nothing.
    ASSERT_TRUE(find("  9"));
    for (const PageText& x : t) EXPECT_EQ(x.text.find("$R"), std::string::npos);
}

TEST(LayOut, RowReservationMovesATableThatWouldNotFitToTheNextPage) {
    std::string body = "$1  A.PFM\r\n";
    for (int i = 0; i < 38; ++i) body += "$0  B.PFM\r\n00  row\r\n";
    Report without = Page(body + "$0  H.PFM\r\n$0  C.PFM\r\n00  x\r\n$0  C.PFM\r\n00  y\r\n");
    Report with = Page(body + "$R  12\r\n$0  H.PFM\r\n$0  C.PFM\r\n00  x\r\n$0  C.PFM\r\n00  y\r\n");
    auto a = LayOut(without);
    auto b = LayOut(with);
    ASSERT_EQ(a.size(), 1u);
    ASSERT_EQ(b.size(), 2u);
    EXPECT_TRUE(Has(TextsOf(b[1]), "H.PFM"));
    EXPECT_TRUE(Has(TextsOf(b[1]), "x"));
}

TEST(LayOut, DrawingsKeepTheirProportionsAndAbsentOnesAreFrames) {
    Report r = Page("$1                  KT_ZUMEN.PZK\r\n$1  TIJ_0003.PFM    TIJ_0003.PZK\r\n$0                  TNJ_H_01.PZK\r\n");
    r.drawings["KT_ZUMEN.PZK"] = Drawing("Q 0 0 4200 6500 0 2\r\n", "45,66");
    r.drawings["TNJ_H_01.PZK"] = Drawing("Q 0 0 4200 2700 0 2\r\n", "45,28");
    auto pages = LayOut(r);
    ASSERT_EQ(pages.size(), 2u);
    ASSERT_EQ(pages[0].drawings.size(), 1u);
    const Frame& f = pages[0].drawings[0].frame;
    EXPECT_NEAR(f.width / f.height, 4200.0 / 6500.0, 1e-9);
    EXPECT_LE(f.y + f.height, kPageHeight - kMargin);
    ASSERT_EQ(pages[1].drawings.size(), 2u);
    // The viewer's own diagram stands in for the one no folder holds.
    ASSERT_NE(pages[1].drawings[0].drawing, nullptr);
    EXPECT_EQ(pages[1].drawings[0].name, "TIJ_0003.PZK");
    EXPECT_NE(pages[1].drawings[1].drawing, nullptr);
    EXPECT_GE(pages[1].drawings[1].clip.y, pages[1].drawings[0].clip.y + pages[1].drawings[0].clip.height);
    CellPicture p;
    for (const LaidPage& page : pages) PaintPage(page, p);
    EXPECT_FALSE(p.Texts().empty());
}

TEST(LayOut, FaultsAreShownWithTheirFileAndLine) {
    Report r = Page("$1  A.PFM\r\n00  v\r\nbroken\r\n");
    auto pages = LayOut(r);
    bool shown = false;
    for (const PageText& t : pages.back().texts)
        shown = shown || (t.fault && t.text.find("TK_DATA.PDT 5行目") != std::string::npos);
    EXPECT_TRUE(shown);
    EXPECT_TRUE(Has(TextsOf(pages[0]), "v"));
}

// A drawing that lost records, at the top of a report and after a page of
// text: the page that holds it says so under it, with the file and line,
// and what could be read is still drawn.
TEST(LayOut, ADrawingThatLostARecordIsMarkedOnItsOwnPage) {
    std::string before;
    for (int i = 0; i < 45; ++i) before += "$0  A.PFM\r\n00  line" + std::to_string(i) + "\r\n";
    for (const std::string& lead : {std::string(), before}) {
        Report r = Page(lead + "$1                  TNK_Z_01.PZK\r\n$1  B.PFM\r\n00  after\r\n");
        r.drawings["TNK_Z_01.PZK"] =
            Drawing("L 0 0 4200 2700 0 2\r\nL 1 2 x 4 0 1\r\nQ 0 0 4200 2700 0 2\r\nK 10 10\r\n");
        const auto pages = LayOut(r);
        int marked = 0;
        for (const LaidPage& page : pages) {
            const bool drawn = !page.drawings.empty() && page.drawings[0].drawing != nullptr;
            for (const PageText& t : page.texts) {
                if (!t.fault || t.text.find("D.PZK 5行目") == std::string::npos || t.text.find("読み込みの誤り") == 0)
                    continue;
                ++marked;
                EXPECT_TRUE(drawn) << t.text;
                const Frame& f = page.drawings[0].clip;
                EXPECT_GE(t.y - t.cell, f.y + f.height) << t.text;
                EXPECT_LE(t.y, kPageHeight - kMargin);
            }
        }
        EXPECT_EQ(marked, 1) << lead.size();
        EXPECT_EQ(r.drawings["TNK_Z_01.PZK"].records.size(), 2u);
    }
}

}  // namespace

// Numbers at the ends of the int range, alone and in every pairing a
// drawing sums or multiplies (a text's length times its cell, a corner less
// its height, a marker's half size): the extent and the picture stay finite
// and inside the frame. Under the sanitizers this is where a product of two
// file numbers would wrap.
TEST(DrawDrawing, NumbersAtTheEndsOfTheIntRangeStayFinite) {
    const std::string big = "2147483647", small = "-2147483648";
    const std::vector<std::string> records = {
        "K " + big + " " + big + " " + big + " " + big + " 0 0\r\nＡＢＣ\r\n",
        "K " + small + " " + small + " " + big + " " + big + " 90 0\r\nＡＢＣ\r\n",
        "K 0 " + small + " " + big + " " + small + " 0 0\r\n" + std::string(300, 'x') + "\r\n",
        "L " + small + " " + big + " " + big + " " + small + " 1 2\r\n",
        "Q " + small + " " + small + " " + big + " " + big + " 3 1\r\n",
        "P " + small + " " + small + " " + big + " " + big + " " + small + " " + big + " 1\r\n",
    };
    for (const std::string& r : records) {
        const DrawingFile d = Drawing(r);
        const Extent e = ExtentOf(d);
        EXPECT_TRUE(std::isfinite(e.x1) && std::isfinite(e.x2) && std::isfinite(e.y1) && std::isfinite(e.y2)) << r;
        EXPECT_TRUE(e.x1 >= 0 && e.x2 <= d.width && e.y1 >= 0 && e.y2 <= d.height) << r;
        CellPicture p;
        DrawDrawing(d, p, Frame{0, 0, 450, 280});
        for (const auto& op : p.ops)
            EXPECT_TRUE(std::isfinite(op.x1) && std::isfinite(op.y1)) << r;
    }
}

// A drawing that is there but cannot be read is framed with the reason, not
// as missing; one that is not there still reads "（ファイルなし）".
TEST(DrawDrawing, AnUnreadableDrawingIsFramedWithItsReason) {
    kova::test::TempDir dir;
    kova::test::WriteBytes(dir / "TK_DATA.PDT", kova::Utf8ToCp932("題名\r\n   5  12  19  14   3   7               \r\n"
                                                                  "$1                  BAD.PZK\r\n"
                                                                  "$1                  GONE.PZK\r\n"));
    kova::test::WriteBytes(dir / "BAD.PZK", kova::Utf8ToCp932("BAD.PZK\r\nx,y\r\n# 枠＆軸\r\n"));
    const Report r = LoadReport(dir / "TK_DATA.PDT");
    std::vector<std::string> labels;
    for (const LaidPage& page : LayOut(r))
        for (const PagePlacement& pl : page.drawings) {
            CellPicture p;
            DrawAbsentDrawing(pl.name, p, pl.clip, pl.unreadable);
            for (const auto& t : p.Texts()) labels.push_back(t.text);
        }
    EXPECT_EQ(labels, (std::vector<std::string>{"BAD.PZK（2行目: 大きさの行が読めません）", "GONE.PZK（ファイルなし）"}));
}
