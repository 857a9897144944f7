#pragma once
// The list-line form of the front ends' text files and the field-stream
// reader that reads them back.
//
// A list line is items joined by commas: strings in double quotes (written
// unchanged inside), integers bare, reals in plain decimal form with up to 15
// significant digits, exponent form ("1E-05") for very small or very large
// magnitudes and no decimal point for integral values.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kova {

// Formats a real for a list line. Throws std::invalid_argument for a
// non-finite value: such a number must never reach a file.
std::string FormatReal(double v);

// Parses a decimal number (".5", "1E-05", "+3" accepted); false when the
// text is not wholly a finite number.
bool ParseReal(std::string_view text, double& out);
// Parses an integer within [lo, hi]; an integral real ("3.0") is accepted.
bool ParseInt(std::string_view text, long long lo, long long hi, long long& out);

class ListLine {
public:
    ListLine& Str(std::string_view s);
    ListLine& Int(long long v);
    ListLine& Real(double v);
    const std::string& Text() const { return text_; }
    operator const std::string&() const { return text_; }

private:
    void Sep();
    std::string text_;
    bool first_ = true;
};

// Reads fields from a text: fields are separated by commas or line ends;
// blanks and tabs before a field are skipped; a field that begins with a
// double quote runs to the next double quote (the rest up to the separator
// is skipped); any other field runs to the next comma or line end with
// trailing blanks removed. Whole lines can be read between fields.
class FieldReader {
public:
    explicit FieldReader(std::string text) : owned_(std::move(text)), text_(owned_) {}
    // Reads text where it stands; it must outlive the reader.
    struct Borrowed {};
    FieldReader(std::string_view text, Borrowed) : text_(text) {}
    FieldReader(const FieldReader&) = delete;
    FieldReader& operator=(const FieldReader&) = delete;

    bool AtEnd() const { return pos_ >= text_.size(); }
    // The bytes read so far.
    std::size_t Pos() const { return pos_; }
    // 1-based line number of the next character to read.
    int Line() const { return line_; }
    // 1-based line number where the last field or whole line began.
    int FieldLine() const { return fieldLine_; }
    // 1-based place of the last field within its line.
    int FieldItem() const { return fieldItem_; }
    // 0 when nothing but blanks, tabs and line ends is left (the data has
    // ended and no junk follows it); otherwise the line of the first junk.
    int JunkLine() const;

    std::optional<std::string> Field();
    // The rest of the current line, line end consumed.
    std::optional<std::string> WholeLine();

    bool Int16(std::int16_t& out);
    bool Int(long long lo, long long hi, long long& out);
    bool Real(double& out);
    bool String(std::string& out);

private:
    void ConsumeLineEnd();
    std::string owned_;
    std::string_view text_;
    std::size_t pos_ = 0;
    int line_ = 1;
    int fieldLine_ = 1;
    int fieldItem_ = 0;
};

// True when the text is empty or ends with a line end (LF): a file whose
// last line has no line end was cut short.
bool EndsWithLineEnd(std::string_view text);

}  // namespace kova
