#pragma once
// Shared pieces of the viewer's print-data (*.PDT) and drawing (*.PZK) files:
// the error raised when such a file cannot be written, the run stamp and its
// date line, drawing integers and label widths.
//
// Both the calculation engine and the prediction program write these files
// for the outside print-preview program; they differ only in the date line
// (DateLineStyle) and in the prediction program's marker record.
#include <ctime>
#include <stdexcept>
#include <string>
#include <string_view>

namespace kova::print {

// A page or drawing file could not be created, written or closed. fileName is
// the file's own name (no folder), ready to be named in a message.
class PrintFileError : public std::runtime_error {
public:
    enum class Stage { Create, Write, Close };
    PrintFileError(std::string fileName, Stage stage, const std::string& detail);
    const std::string& FileName() const { return fileName_; }
    Stage WhichStage() const { return stage_; }

private:
    std::string fileName_;
    Stage stage_;
};

// The six numbers of a date line: year within the century, month, day,
// hour (0-23), minute, second.
struct DateStamp {
    int year2 = 0;
    int month = 1;
    int day = 1;
    int hour = 0;
    int minute = 0;
    int second = 0;
};

// The local date and time of t.
DateStamp StampFromTime(std::time_t t);
// The local date and time now.
DateStamp StampNow();

enum class DateLineStyle {
    // Engine: each number right-aligned in 4 columns without leading zeros
    // ("%4d"), then an empty trailer right-aligned in 15 columns: 39 columns.
    Engine,
    // Prediction program: each number as two blanks and two digits ("  %02d"),
    // then the trailer "test" directly.
    Prediction,
};

// Line 2 of a page file (without line end).
std::string FormatDateLine(const DateStamp& stamp, DateLineStyle style);

// Drawing coordinates are 16-bit in the viewer; every computed coordinate is
// clamped into this range so that no value can wrap or overflow.
inline constexpr int kDrawingMin = -32768;
inline constexpr int kDrawingMax = 32767;

enum class Rounding {
    TowardZero,    // truncation, as the engine's drawings use
    Floor,         // the largest integer not above the value
    NearestEven,   // nearest integer, halves to the even neighbour
};

// Converts a computed real to a drawing integer: clamped into the drawing
// range before it is converted, so huge values and infinities give the range
// ends instead of undefined behaviour; NaN gives 0.
int ToDrawingInt(double v, Rounding mode);
// The same for the drawings' usual truncation; inline, as curves convert a
// point for every day.
inline int ToDrawingInt(double v) {
    // Inside the range truncation is the conversion itself; NaN and the rest
    // take the general path.
    if (v > kDrawingMin - 1.0 && v < kDrawingMax + 1.0) return static_cast<int>(v);
    return ToDrawingInt(v, Rounding::TowardZero);
}
// Sum of an origin and a coordinate, clamped into the drawing range.
int ClampDrawing(long long v);

// Number of bytes a UTF-8 label takes once encoded in code page 932 (the
// width the layouts centre labels by). Throws kova::TextError when the label
// has a character that code page 932 cannot hold.
int TextBytes(std::string_view utf8);

// The empty-cell mark of page files: n box-drawing characters "─".
std::string Dashes(int n);

}  // namespace kova::print
