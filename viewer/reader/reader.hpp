#pragma once
// Reader of the viewer's page files (*.PDT) and drawing files (*.PZK), code
// page 932 through textio/. A file that is truncated or malformed is read as
// far as it can be: lines that make sense are kept, the others skipped, and
// the first fault is kept with its file name and line number.
#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kova::viewer {

struct Fault {
    std::string file;  // file name, no folder
    int line = 0;      // 1-based; 0 when the fault concerns the file as a whole
    std::string what;
    // "FILE line N: what" (or "FILE: what").
    std::string Text() const;
};

struct Field {
    int number = 0;
    std::string value;  // as written, leading and trailing blanks kept
};

struct FormBlock {
    bool newPage = false;  // "$1"
    std::string form;      // may be empty
    std::string drawing;   // may be empty
    int reserve = -1;      // the "$R" count just before this form line, or -1
    int line = 0;
    std::vector<Field> fields;  // in file order
};

struct PageFile {
    std::string name;
    std::string title;
    std::string dateLine;  // as written
    std::vector<FormBlock> forms;
    std::optional<Fault> fault;
};

struct DrawingRecord {
    char kind = 0;  // 'L', 'Q', 'K' or 'P'
    // Each within the int range, held wide: every sum, difference and
    // product of numbers read from a file is then computed without wrapping
    // (a text's length times its cell, a corner less a height).
    std::array<std::int64_t, 7> v{};
    int count = 0;  // numbers in v
    std::string text;  // the text line of a 'K' record
    int line = 0;
};

struct DrawingFile {
    std::string name;      // the file's name
    std::string nameLine;  // line 1 as written
    std::string sizeLine;
    int width = 0;   // frame in drawing units (from the size line)
    int height = 0;
    std::vector<DrawingRecord> records;
    std::optional<Fault> fault;
};

// The bytes of a file in code page 932; name is used in faults.
PageFile ReadPage(std::string_view bytes, const std::string& name);
DrawingFile ReadDrawing(std::string_view bytes, const std::string& name);

// From disk; a file that cannot be read gives a fault at line 0.
PageFile ReadPageFile(const std::filesystem::path& path);
DrawingFile ReadDrawingFile(const std::filesystem::path& path);

// The six numbers of a date line as "yy/mm/dd hh:mm:ss", or nothing when the
// line does not start with six numbers.
std::optional<std::string> DateText(std::string_view dateLine);

// The frame of a size line "a,b", or nothing when it is no such line.
std::optional<std::pair<int, int>> FrameOfSizeLine(std::string_view sizeLine);

}  // namespace kova::viewer
