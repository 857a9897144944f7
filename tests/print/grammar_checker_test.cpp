// The test-side grammar checker must itself reject malformed files, or the
// checks other tests build on it would pass vacuously.
#include <gtest/gtest.h>

#include "tests/print/temp_dir.hpp"
#include "tests/support/viewer_grammar.hpp"

using kova::testing::TempDir;
using kova::testing::WriteBytes;
namespace ts = kova::testsupport;

namespace {

const std::string kDate = "   5  12  19  14   3   7" + std::string(15, ' ');

std::vector<std::string> PageErrors(const std::string& bytes) {
    TempDir dir;
    WriteBytes(dir / "P.PDT", bytes);
    std::vector<std::string> errors;
    ts::ParsePage(dir / "P.PDT", ts::DateStyle::Engine, errors);
    return errors;
}

std::vector<std::string> DrawingErrors(const std::string& body, bool marker = false) {
    TempDir dir;
    WriteBytes(dir / "D.PZK", "D.PZK\r\n45,66\r\n# \x98\x67\x81\x95\x8e\xb2\r\n" + body);
    std::vector<std::string> errors;
    ts::ParseDrawing(dir / "D.PZK", "45,66", marker, errors);
    return errors;
}

}  // namespace

TEST(PrintGrammarChecker, AcceptsAWellFormedPage) {
    TempDir dir;
    WriteBytes(dir / "P.PDT", "t\r\n" + kDate + "\r\n$1  SJK_0000.PFM\r\n00  x\r\n$R  5\r\n"
                              "$0  SJK_0020.PFM\r\n19    a \r\n$1                  K.PZK\r\n");
    std::vector<std::string> errors;
    ts::PageFile p = ts::ParsePage(dir / "P.PDT", ts::DateStyle::Engine, errors);
    EXPECT_TRUE(errors.empty()) << ts::JoinErrors(errors);
    ASSERT_EQ(p.forms.size(), 3u);
    EXPECT_EQ(p.forms[1].reserve, 5);
    EXPECT_EQ(*p.forms[1].FieldValue(19), "  a ");
    EXPECT_EQ(p.forms[2].drawing, "K.PZK");
    EXPECT_EQ(p.forms[2].form, "");
}

TEST(PrintGrammarChecker, RejectsMalformedPages) {
    const std::string head = "t\r\n" + kDate + "\r\n";
    const char* bad[] = {
        "$1  SJK_0000.PFM\n00  x\r\n",          // bare LF
        "$1  SJK_0000.PFM\r\n20  x\r\n",        // field number above 19
        "00  x\r\n",                            // field before any form
        "$1  SJK_0000.PFM   K.PZK\r\n",          // drawing not at column 21
        "$1 SJK_0000.PFM\r\n",                  // one blank only
        "$R  5\r\n00  x\r\n",                   // reservation not before a form
        "$1  SJK_0000.PFM\r\n0  x\r\n",         // one-digit field number
        "$1  SJK_0000.PFM\r\n00  \x84\r\n",      // broken double-byte character
        "$1  SJK_0000.PFM",                     // no final CR LF
    };
    for (const char* b : bad) EXPECT_FALSE(PageErrors(head + b).empty()) << b;
    EXPECT_FALSE(PageErrors("t\r\n   5  12  19  14   3   7\r\n").empty());  // short date line
    EXPECT_FALSE(PageErrors("t\r\n  05  12  19  14   3   7" + std::string(15, ' ') + "\r\n").empty());
}

TEST(PrintGrammarChecker, RecordsMustKeepTheirColumns) {
    EXPECT_TRUE(DrawingErrors("L    0    0 4200    0 0 2\r\nK  120   80   70   70   90 1\r\n12\r\n")
                    .empty());
    EXPECT_TRUE(DrawingErrors("L 12345  -50    0    0 0 2\r\n").empty());
    const char* bad[] = {
        "L 0 0 4200 0 0 2\r\n",                  // not right-aligned in four columns
        "L    0    0 4200    0 0  2\r\n",        // pen code padded
        "L    0    0 4200    0 0\r\n",           // missing pen
        "K  120   80   70   70   90 1\r\n",      // text line missing
        "P  592  692  600  700  592  692 1\r\n", // marker where none is allowed
        "X    0    0    0    0 0 2\r\n",
        "L   00    0    0    0 0 2\r\n",         // leading zero
    };
    for (const char* b : bad) EXPECT_FALSE(DrawingErrors(b).empty()) << b;
    EXPECT_TRUE(DrawingErrors("P  592  692  600  700  592  692 1\r\n", true).empty());
}

TEST(PrintGrammarChecker, FolderCheckFindsMissingAndMisnamedDrawings) {
    TempDir dir;
    WriteBytes(dir / "A.PDT", "t\r\n" + kDate + "\r\n$1                  KT_ZUMEN.PZK\r\n"
                              "$1  TIJ_0003.PFM    TIJ_0003.PZK\r\n$1                  TNK_MAX.PZK\r\n");
    WriteBytes(dir / "KT_ZUMEN.PZK", "KT_ZUMEN.PZK\r\n45,66\r\n# \x98\x67\x81\x95\x8e\xb2\r\n");
    auto errors = ts::CheckViewerFolder(dir.path(), ts::DateStyle::Engine);
    ASSERT_EQ(errors.size(), 1u) << ts::JoinErrors(errors);
    EXPECT_NE(errors[0].find("TNK_MAX.PZK"), std::string::npos);

    WriteBytes(dir / "TNK_MAX.PZK", "KT_ZUMEN.PZK\r\n45,28\r\n# \x98\x67\x81\x95\x8e\xb2\r\n");
    errors = ts::CheckViewerFolder(dir.path(), ts::DateStyle::Engine);
    EXPECT_EQ(errors.size(), 2u) << ts::JoinErrors(errors);  // wrong name line and size
}
