// The reader on the edges of the page and drawing grammar, and on files that
// are cut short or broken: what can be read is kept and the first fault
// names its file and line.
#include <gtest/gtest.h>

#include "print/drawing_file.hpp"
#include "print/page_file.hpp"
#include "tests/support/tempdir.hpp"
#include "textio/cp932.hpp"
#include "viewer/reader/reader.hpp"
#include "viewer/reader/report_set.hpp"

using namespace kova::viewer;
namespace fs = std::filesystem;

namespace {

std::string Cp(const std::string& utf8lines) { return kova::Utf8ToCp932(utf8lines); }

const std::string kHead = "検討条件\r\n   5  12  19  14   3   7               \r\n";

TEST(PageReader, FormLinesWithAndWithoutDrawingInColumn21) {
    std::string lines = kHead + "$1  SJK_0000.PFM\r\n" + "$1                  KT_ZUMEN.PZK\r\n" +
                        kova::print::FormatFormLine(true, "TIJ_0003.PFM", "TIJ_0003.PZK") + "\r\n" +
                        kova::print::FormatFormLine(false, "ABCDEFGHIJKL.PFM", "X.PZK") + "\r\n" + "$0\r\n";
    PageFile p = ReadPage(Cp(lines), "TK_DATA.PDT");
    ASSERT_FALSE(p.fault) << p.fault->Text();
    EXPECT_EQ(p.title, "検討条件");
    EXPECT_EQ(DateText(p.dateLine).value(), "05/12/19 14:03:07");
    ASSERT_EQ(p.forms.size(), 5u);
    EXPECT_TRUE(p.forms[0].newPage);
    EXPECT_EQ(p.forms[0].form, "SJK_0000.PFM");
    EXPECT_EQ(p.forms[0].drawing, "");
    EXPECT_EQ(p.forms[1].form, "");
    EXPECT_EQ(p.forms[1].drawing, "KT_ZUMEN.PZK");
    EXPECT_EQ(p.forms[2].form, "TIJ_0003.PFM");
    EXPECT_EQ(p.forms[2].drawing, "TIJ_0003.PZK");
    // A sixteen-character form name ends right before column 21.
    EXPECT_FALSE(p.forms[3].newPage);
    EXPECT_EQ(p.forms[3].form, "ABCDEFGHIJKL.PFM");
    EXPECT_EQ(p.forms[3].drawing, "X.PZK");
    EXPECT_EQ(p.forms[4].form, "");
    EXPECT_EQ(p.forms[4].drawing, "");
}

TEST(PageReader, FieldValuesKeepTheirBlanksAndRowReservationsGoToTheNextForm) {
    std::string lines = kHead + "$1  SJK_0002.PFM\r\n" + "03   両面 \r\n" + "00    1\r\n" + "01  ─────\r\n" +
                        "$R  6\r\n" + "$0  SJK_0020.PFM\r\n" + "$0  SJK_0021.PFM\r\n" + "00    1\r\n";
    PageFile p = ReadPage(Cp(lines), "TK_DATA.PDT");
    ASSERT_FALSE(p.fault) << p.fault->Text();
    ASSERT_EQ(p.forms.size(), 3u);
    ASSERT_EQ(p.forms[0].fields.size(), 3u);
    EXPECT_EQ(p.forms[0].fields[0].number, 3);
    EXPECT_EQ(p.forms[0].fields[0].value, " 両面 ");
    EXPECT_EQ(p.forms[0].fields[1].value, "  1");
    EXPECT_EQ(p.forms[0].fields[2].value, "─────");
    EXPECT_EQ(p.forms[0].reserve, -1);
    EXPECT_EQ(p.forms[1].reserve, 6);
    EXPECT_TRUE(p.forms[1].fields.empty());
    EXPECT_EQ(p.forms[2].reserve, -1);
    // Field numbers start again with each form.
    ASSERT_EQ(p.forms[2].fields.size(), 1u);
    EXPECT_EQ(p.forms[2].fields[0].number, 0);
}

TEST(PageReader, BrokenLinesAreSkippedAndTheFirstFaultIsNamed) {
    std::string lines = kHead + "$1  SJK_0000.PFM\r\n" + "00  a\r\n" + "20  too far\r\n" + "$R  x\r\n" +
                        "garbage\r\n" + "01  b\r\n" + "$0 X\r\n" + "02  c";  // cut short
    PageFile p = ReadPage(Cp(lines), "TK_DT_01.PDT");
    ASSERT_TRUE(p.fault);
    EXPECT_EQ(p.fault->line, 5);
    EXPECT_EQ(p.fault->file, "TK_DT_01.PDT");
    EXPECT_NE(p.fault->Text().find("TK_DT_01.PDT 5行目"), std::string::npos);
    ASSERT_EQ(p.forms.size(), 1u);
    ASSERT_EQ(p.forms[0].fields.size(), 3u);
    EXPECT_EQ(p.forms[0].fields[1].value, "b");
    EXPECT_EQ(p.forms[0].fields[2].value, "c");

    PageFile head = ReadPage(Cp("題\r\nnot a date\r\n$1  A.PFM\r\n"), "TL_PRD1.PDT");
    ASSERT_TRUE(head.fault);
    EXPECT_EQ(head.fault->line, 2);
    EXPECT_EQ(head.forms.size(), 1u);

    PageFile empty = ReadPage("", "TK_DATA.PDT");
    ASSERT_TRUE(empty.fault);
    EXPECT_EQ(empty.fault->line, 1);

    // Bytes that are no code page 932 (a lone lead byte) fault their line.
    PageFile bad = ReadPage(Cp(kHead + "$1  A.PFM\r\n") + "00  \x81\r\n" + "01  ok\r\n", "TK_DATA.PDT");
    ASSERT_TRUE(bad.fault);
    EXPECT_EQ(bad.fault->line, 4);
    ASSERT_EQ(bad.forms[0].fields.size(), 1u);
    EXPECT_EQ(bad.forms[0].fields[0].value, "ok");
}

TEST(DrawingReader, RecordsAsTheWritersWriteThemWithNegativeAndWideNumbers) {
    kova::test::TempDir dir;
    {
        kova::print::DrawingWriter w(dir / "TNJ_H_01.PZK", kova::print::kSizeTimeGraph);
        w.Line(0, 0, -50, 12345, -1234, -7, 1, 2);
        w.Box(10, 10, 0, 0, 100, 200, 3, 1);
        w.Text(100, 50, 20, 30, 70, 70, 90, 1, "12");
        w.Text(0, 0, -5, -5, 70, 70, 0, 2, "");
        w.Marker(0, 0, 300, 400, 8, 1);
        w.Close();
    }
    DrawingFile d = ReadDrawingFile(dir / "TNJ_H_01.PZK");
    ASSERT_FALSE(d.fault) << d.fault->Text();
    EXPECT_EQ(d.width, 4200);
    EXPECT_EQ(d.height, 2700);
    ASSERT_EQ(d.records.size(), 5u);
    const auto& l = d.records[0];
    EXPECT_EQ(l.kind, 'L');
    EXPECT_EQ(std::vector<int>(l.v.begin(), l.v.begin() + l.count), (std::vector<int>{-50, 12345, -1234, -7, 1, 2}));
    EXPECT_EQ(d.records[1].kind, 'Q');
    EXPECT_EQ(d.records[1].v[0], 10);
    EXPECT_EQ(d.records[1].v[4], 3);
    // A text record takes the next line whatever it holds, an empty one too.
    EXPECT_EQ(d.records[2].kind, 'K');
    EXPECT_EQ(d.records[2].text, "12");
    EXPECT_EQ(d.records[2].v[0], 120);
    EXPECT_EQ(d.records[2].v[4], 90);
    EXPECT_EQ(d.records[3].text, "");
    EXPECT_EQ(d.records[3].v[1], -5);
    EXPECT_EQ(d.records[4].kind, 'P');
    EXPECT_EQ(d.records[4].v[0], 292);
    EXPECT_EQ(d.records[4].v[3], 400);
    EXPECT_EQ(d.records[4].v[6], 1);
}

TEST(DrawingReader, TextLookingLikeARecordIsStillTextAndCutFilesFault) {
    std::string body = "A.PZK\r\n45,66\r\n# 枠＆軸\r\nK  10  20  70  70   0 2\r\nL    1    2    3    4 0 2\r\n"
                       "L 1 2 3\r\nQ    0    0   10   10 0 1\r\nK   5   5  70  70   0 1\r\n";
    DrawingFile d = ReadDrawing(Cp(body), "A.PZK");
    EXPECT_EQ(d.width, 4200);
    EXPECT_EQ(d.height, 6500);
    ASSERT_EQ(d.records.size(), 2u);
    EXPECT_EQ(d.records[0].text, "L    1    2    3    4 0 2");
    EXPECT_EQ(d.records[1].kind, 'Q');
    ASSERT_TRUE(d.fault);
    EXPECT_EQ(d.fault->line, 6);  // the short line record

    DrawingFile cut = ReadDrawing(Cp("A.PZK\r\n45,66\r\n# 枠＆軸\r\nL    1    2    3    4 0 2\r\nK   5   5  70  70   0 1\r\n"), "A.PZK");
    ASSERT_TRUE(cut.fault);
    EXPECT_EQ(cut.fault->line, 5);
    EXPECT_EQ(cut.records.size(), 1u);

    DrawingFile head = ReadDrawing(Cp("A.PZK\r\nwide\r\n# 枠\r\n"), "A.PZK");
    ASSERT_TRUE(head.fault);
    EXPECT_EQ(head.fault->line, 2);
    EXPECT_EQ(head.width, 0);
    // A number beyond int faults instead of wrapping.
    DrawingFile huge = ReadDrawing(Cp("A.PZK\r\n45,28\r\n# 枠＆軸\r\nL 99999999999 0 0 0 0 0\r\n"), "A.PZK");
    ASSERT_TRUE(huge.fault);
    EXPECT_TRUE(huge.records.empty());
}

// A folder in a page's or a drawing's place is told apart from a missing file.
TEST(PageReader, AFolderIsNoRegularFile) {
    kova::test::TempDir dir;
    std::filesystem::create_directory(dir / "TK_DT_01.PDT");
    std::filesystem::create_directory(dir / "TNJ_H_01.PZK");
    const PageFile p = ReadPageFile(dir / "TK_DT_01.PDT");
    const DrawingFile d = ReadDrawingFile(dir / "TNJ_H_01.PZK");
    ASSERT_TRUE(p.fault && d.fault);
    const std::string folder = "通常のファイルではありません（フォルダーや特殊なファイルです）";
    EXPECT_EQ(std::pair(p.fault->what, d.fault->what), std::pair(folder, folder));
    EXPECT_EQ(ReadPageFile(dir / "TK_DT_02.PDT").fault->what, "開けません");
}

TEST(ReportSet, PageFilesInTheOrderTheProgramsWriteThem) {
    kova::test::TempDir dir;
    for (const char* n : {"TL_PRD10.PDT", "TK_DT_02.PDT", "TL_PRD2.PDT", "TK_DATA.PDT", "TK_DT_10.PDT",
                          "TK_DT_01.PDT", "OTHER.PDT", "TK_DT_XX.PDT", "KT_ZUMEN.PZK"})
        kova::test::WriteBytes(dir / n, "x\r\n");
    std::vector<std::string> names;
    for (const auto& p : PageFilesIn(dir.path())) names.push_back(p.filename().string());
    EXPECT_EQ(names, (std::vector<std::string>{"TK_DATA.PDT", "TK_DT_01.PDT", "TK_DT_02.PDT", "TK_DT_10.PDT",
                                               "TL_PRD2.PDT", "TL_PRD10.PDT"}));
    EXPECT_TRUE(PageFilesIn(dir / "missing").empty());
    // One program's set: the same order, the other program's files left out.
    struct Case {
        const char* word;
        std::vector<std::string> names;
    } cases[] = {
        {"TK", {"TK_DATA.PDT", "TK_DT_01.PDT", "TK_DT_02.PDT", "TK_DT_10.PDT"}},
        {"TL", {"TL_PRD2.PDT", "TL_PRD10.PDT"}},
    };
    for (const Case& c : cases) {
        const auto set = ReportSetNamed(c.word);
        ASSERT_TRUE(set) << c.word;
        std::vector<std::string> got;
        for (const auto& p : PageFilesIn(dir.path(), *set)) got.push_back(p.filename().string());
        EXPECT_EQ(got, c.names) << c.word;
    }
    for (const char* word : {"", "tk", "TKX", "/PDTOPEN", "ALL"}) EXPECT_FALSE(ReportSetNamed(word)) << word;
}

TEST(ReportSet, DrawingsNamedByThePageAreLoadedFromItsFolderOnly) {
    kova::test::TempDir dir;
    kova::test::WriteBytes(dir / "TK_DT_01.PDT",
                           Cp(kHead + "$1                  TNK_Z_01.PZK\r\n$1  TIJ_0003.PFM    TIJ_0003.PZK\r\n"
                                      "$0                  ../TNK_Z_01.PZK\r\n"));
    kova::test::WriteBytes(dir / "TNK_Z_01.PZK", Cp("TNK_Z_01.PZK\r\n45,66\r\n# 枠＆軸\r\nL 0 0 1 1 0 2\r\n"));
    Report r = LoadReport(dir / "TK_DT_01.PDT");
    // The drawing outside the folder counts as missing; TIJ_0003.PZK does not.
    ASSERT_EQ(r.Faults().size(), 1u);
    EXPECT_EQ(r.Faults()[0].line, 5);
    EXPECT_NE(r.Faults()[0].what.find("../TNK_Z_01.PZK"), std::string::npos);
    ASSERT_NE(r.Drawing("TNK_Z_01.PZK"), nullptr);
    EXPECT_EQ(r.Drawing("TNK_Z_01.PZK")->records.size(), 1u);
    EXPECT_EQ(r.Drawing("TIJ_0003.PZK"), nullptr);
    EXPECT_EQ(r.Drawing("../TNK_Z_01.PZK"), nullptr);
}

}  // namespace
