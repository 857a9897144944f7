#pragma once
// Conversions between the text of a grid cell and numbers, dates and the
// number formats of the columns. Plain functions, free of Qt and the model,
// shared by every table of both programs.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kova::grid {

// Full-width forms of the ASCII characters (digits, "．", "－", "＋", letters)
// and the ideographic blank folded to their ASCII forms, as NFKC folds them;
// every other character is kept.
std::string FoldFullWidth(std::string_view utf8);

// The number at the start of a cell text: optional sign, digits with "." as
// the decimal point, an exponent with E or D; "&H" and "&O" start
// hexadecimal and octal integers. Blanks, tabs and line feeds are skipped
// wherever they stand, the first other character ends the number, and a text
// without a leading number gives 0 (so an empty cell gives 0). Full-width
// forms are folded first. A number too large to hold (1E999) gives nothing.
std::optional<double> NumericValue(std::string_view text);

// True when the text, full-width forms folded and blanks, tabs and line
// feeds ignored wherever they stand, is one number and nothing else: a sign,
// digits with "." as the point and an exponent with E or D, or an "&H"/"&O"
// integer. What a number cell or box takes besides an empty text.
bool IsWholeNumber(std::string_view text);
// True when the text holds nothing but blanks (full-width ones too).
bool IsBlankText(std::string_view text);

// A value rounded to the nearest integer, halves to the even neighbour
// (2.5 -> 2, 3.5 -> 4); nothing when it falls outside -32768..32767 or is not
// finite.
std::optional<std::int16_t> ToInt16(double v);

// ToInt16 of the cell's numeric value.
std::optional<std::int16_t> IntegerValue(std::string_view text);

// A number written with a format pattern such as "0", "#0", "0.000",
// "##0.000" or "#0.000 ": as many decimals as the pattern has after its
// point, rounded half away from zero; "#" digits before the point are
// written only when significant, at least one digit is written when the
// pattern has a "0" there; text after the last digit place is copied.
std::string FormatNumber(double v, std::string_view pattern);

struct CellDate {
    int year = 0;
    int month = 0;
    int day = 0;
    friend bool operator==(const CellDate&, const CellDate&) = default;
};

// A calendar date typed as year, month and day separated by "/", "-" or "."
// (full-width forms folded, blanks around it ignored); years 100 to 9999.
std::optional<CellDate> ParseDate(std::string_view text);

// The date as "yyyy/mm/dd".
std::string FormatDate(const CellDate& d);

// The pattern that marks a date column.
inline constexpr std::string_view kDatePattern = "yyyy/mm/dd";

// What a column's pattern makes of a text the user typed: the free-text
// pattern "" keeps it; the date pattern rewrites a date as "yyyy/mm/dd" and
// keeps any other text so that the owner can refuse it; a number pattern
// writes the numeric value with the pattern (a whole-number pattern rounds
// halves to even, as the integer conversion does), keeps an empty text empty
// and keeps a text whose number cannot be held.
std::string ApplyPattern(std::string_view text, std::string_view pattern);

// What a number cell shows of a text the user typed into it, so that it
// shows what is stored: a number written with the column's pattern, or
// without one as the shortest text of its value ("１２．５" is "12.5"); an
// emptied cell of a row in use is the 0 it stores, written the same way (a
// row not in use stays empty); a number too large to hold keeps its text
// for the owner to refuse.
std::string StoredNumberText(std::string_view typed, std::string_view pattern, bool rowInUse);

// The one wording of a refused typed value, in every cell and box of both
// programs: the field as its caption or header shows it, with the row where
// it is a table's ("「沈下量(m)」の2行目"; row 0: "「放置期間指定」").
std::string FieldText(std::string_view name, int row = 0);
// "「沈下量(m)」の2行目には数値を入力してください。"
std::string NotANumberText(std::string_view name, int row = 0);
// "「沈下量(m)」の2行目は-1000～1000の範囲で指定してください。"
std::string OutOfRangeText(std::string_view name, int row, std::string_view range);

}  // namespace kova::grid
