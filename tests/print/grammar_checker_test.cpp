// The test-side grammar checker must itself reject malformed files, or the
// checks other tests build on it would pass vacuously.
#include <gtest/gtest.h>

#include "tests/support/tempdir.hpp"
#include "tests/support/viewer_grammar.hpp"

using kova::test::TempDir;
using kova::test::WriteBytes;
namespace ts = kova::testsupport;

namespace {

const std::string kHead = "t\r\n   5  12  19  14   3   7" + std::string(15, ' ') + "\r\n";
const std::string kDrawingHead = "45,66\r\n# \x98\x67\x81\x95\x8e\xb2\r\n";

std::vector<std::string> PageErrors(const std::string& bytes, ts::PageFile* out = nullptr) {
    TempDir dir;
    WriteBytes(dir / "P.PDT", bytes);
    std::vector<std::string> errors;
    ts::PageFile p = ts::ParsePage(dir / "P.PDT", ts::DateStyle::Engine, errors);
    if (out) *out = p;
    return errors;
}

std::vector<std::string> DrawingErrors(const std::string& body, bool marker = false) {
    TempDir dir;
    WriteBytes(dir / "D.PZK", "D.PZK\r\n" + kDrawingHead + body);
    std::vector<std::string> errors;
    ts::ParseDrawing(dir / "D.PZK", "45,66", marker, errors);
    return errors;
}

}  // namespace

TEST(PrintGrammarChecker, Pages) {
    ts::PageFile p;
    auto errors = PageErrors(kHead + "$1  SJK_0000.PFM\r\n00  x\r\n$R  5\r\n$0  SJK_0020.PFM\r\n19    a \r\n"
                                     "$1                  K.PZK\r\n", &p);
    EXPECT_TRUE(errors.empty()) << ts::JoinErrors(errors);
    ASSERT_EQ(p.forms.size(), 3u);
    EXPECT_EQ(p.forms[1].reserve, 5);
    EXPECT_EQ(*p.forms[1].FieldValue(19), "  a ");
    EXPECT_EQ(p.forms[2].drawing, "K.PZK");
    const std::string bad[] = {
        kHead + "$1  SJK_0000.PFM\n00  x\r\n",      // bare LF
        kHead + "$1  SJK_0000.PFM\r\n20  x\r\n",    // field number above 19
        kHead + "00  x\r\n",                        // field before any form
        kHead + "$1  SJK_0000.PFM   K.PZK\r\n",     // drawing not at column 21
        kHead + "$1 SJK_0000.PFM\r\n",              // one blank only
        kHead + "$R  5\r\n00  x\r\n",               // reservation not before a form
        kHead + "$1  SJK_0000.PFM\r\n0  x\r\n",     // one-digit field number
        kHead + "$1  SJK_0000.PFM\r\n00  \x84\r\n", // broken double-byte character
        kHead + "$1  SJK_0000.PFM",                 // no final CR LF
        "t\r\n   5  12  19  14   3   7\r\n",        // short date line
        "t\r\n  05  12  19  14   3   7" + std::string(15, ' ') + "\r\n",
    };
    for (const auto& b : bad) EXPECT_FALSE(PageErrors(b).empty()) << b;
}

TEST(PrintGrammarChecker, RecordsMustKeepTheirColumns) {
    EXPECT_TRUE(DrawingErrors("L    0    0 4200    0 0 2\r\nK  120   80   70   70   90 1\r\n12\r\n").empty());
    EXPECT_TRUE(DrawingErrors("L 12345  -50    0    0 0 2\r\n").empty());
    const char* bad[] = {
        "L 0 0 4200 0 0 2\r\n",                   // not right-aligned in four columns
        "L    0    0 4200    0 0  2\r\n",         // pen code padded
        "L    0    0 4200    0 0\r\n",            // missing pen
        "K  120   80   70   70   90 1\r\n",       // text line missing
        "P  592  692  600  700  592  692 1\r\n",  // marker where none is allowed
        "X    0    0    0    0 0 2\r\n",
        "L   00    0    0    0 0 2\r\n",          // leading zero
    };
    for (const char* b : bad) EXPECT_FALSE(DrawingErrors(b).empty()) << b;
    EXPECT_TRUE(DrawingErrors("P  592  692  600  700  592  692 1\r\n", true).empty());
}

TEST(PrintGrammarChecker, FolderCheckFindsMissingAndMisnamedDrawings) {
    TempDir dir;
    WriteBytes(dir / "A.PDT", kHead + "$1                  KT_ZUMEN.PZK\r\n$1  TIJ_0003.PFM    TIJ_0003.PZK\r\n"
                                      "$1                  TNK_MAX.PZK\r\n");
    WriteBytes(dir / "KT_ZUMEN.PZK", "KT_ZUMEN.PZK\r\n" + kDrawingHead);
    auto errors = ts::CheckViewerFolder(dir.path(), ts::DateStyle::Engine);
    ASSERT_EQ(errors.size(), 1u) << ts::JoinErrors(errors);
    EXPECT_NE(errors[0].find("TNK_MAX.PZK"), std::string::npos);
    WriteBytes(dir / "TNK_MAX.PZK", "KT_ZUMEN.PZK\r\n45,28\r\n# \x98\x67\x81\x95\x8e\xb2\r\n");
    errors = ts::CheckViewerFolder(dir.path(), ts::DateStyle::Engine);
    EXPECT_EQ(errors.size(), 2u) << ts::JoinErrors(errors);  // wrong name line and size
}
