#pragma once
// Test-side reader and checker of the viewer's page (*.PDT) and drawing
// (*.PZK) files. It is written from the line grammar alone, independently of
// the writers, so tests can check any file a program leaves behind.
//
// Every check collects readable error texts instead of stopping at the first
// one; a file is sound when the error list stays empty.
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace kova::testsupport {

enum class DateStyle { Engine, Prediction };

struct PageForm {
    bool newPage = false;
    std::string form;      // may be empty
    std::string drawing;   // may be empty
    int reserve = -1;      // "$R" count written just before this form, or -1
    std::vector<std::pair<int, std::string>> fields;  // in file order
    // Value of the first field with this number, or nullptr.
    const std::string* FieldValue(int number) const;
};

struct PageFile {
    std::string title;
    std::string dateLine;
    std::vector<std::string> lines;  // every line, UTF-8, without line end
    std::vector<PageForm> forms;
};

struct DrawingRecord {
    char kind = 0;         // 'L', 'Q', 'K' or 'P'
    std::vector<int> v;    // the numbers in file order
    std::string text;      // the text line of a 'K' record
};

struct DrawingFile {
    std::string name;
    std::string sizeLine;
    std::vector<DrawingRecord> records;
    int Count(char kind) const;
    // Records of a kind whose numbers equal v exactly.
    int CountExact(char kind, const std::vector<int>& v) const;
    // Text records with this text.
    std::vector<const DrawingRecord*> Texts(const std::string& text) const;
};

// Splits file bytes into UTF-8 lines, checking that every line ends with
// CR LF and that the bytes are valid code page 932.
std::vector<std::string> ReadViewerLines(const std::filesystem::path& path,
                                         std::vector<std::string>& errors);

PageFile ParsePage(const std::filesystem::path& path, DateStyle style,
                   std::vector<std::string>& errors);

// expectedSize empty: any "int,int" size line is accepted.
DrawingFile ParseDrawing(const std::filesystem::path& path, const std::string& expectedSize,
                         bool allowMarker, std::vector<std::string>& errors);

// The size line of a drawing by its file name ("" when the name is unknown).
std::string ExpectedSizeLine(const std::string& fileName);

// Checks every *.PDT and *.PZK file in a folder: each page file against the
// grammar, each form it writes in the catalogue of forms, each drawing a page names exists (except the viewer's own
// TIJ_0003.PZK) and every drawing starts with its own name and carries the
// size line of its kind. Returns the errors found.
std::vector<std::string> CheckViewerFolder(const std::filesystem::path& dir, DateStyle style,
                                           bool allowMarker = false);

// Joins errors for a test failure message.
std::string JoinErrors(const std::vector<std::string>& errors);

}  // namespace kova::testsupport
