#pragma once
// What the observation grid and the fit-range boxes of the prediction window
// put into a station: the date texts the grid shows and accepts, the checks
// an edit must pass before anything is stored, and the one copy of the
// screen into the current station that the grid edits, the calculation run
// and the graph update share. Plain code: the window hands in cell texts.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "platform/message.hpp"
#include "predict/obsdata.hpp"

namespace kova::predict {

// Grid columns of an observation row.
inline constexpr int kColNo = 0, kColDate = 1, kColSettlement = 2, kColRemark = 3, kColSW = 4;
inline constexpr int kGridColumns = 5;

inline constexpr const char* kBadDateText = "有効な日付を入力してください。";
// The grid's headers; the settlement and remark headers are also the names
// their refusals give the column.
inline constexpr const char* kColumnHeaders[kGridColumns] = {"No", " 測定年月日  (yyyy/mm/dd)", "沈下量(m)", "備考",
                                                              "SW"};

// The cell texts of the grid's data rows: row 1 is observation 1.
struct GridTexts {
    int rowsInUse = 0;
    std::function<std::string(int row, int col)> text;
    // The value a number cell holds, when the grid keeps more digits than
    // it shows (nothing for a number too large to hold); without it the
    // text is read.
    std::function<std::optional<double>(int row, int col)> value;
};

// "yyyy/mm/dd", as the grid shows a date.
std::string GridDateText(Date d);
// A date the grid accepts (the grid's date recognition: year, month and day
// joined by "/", "-" or "."), a real calendar day in the years 100 to 9999.
std::optional<Date> ParseGridDate(std::string_view text);

// The numeric value of a cell text: the number at its start, 0 when there is
// none; NaN for a number too large to hold.
double CellValue(std::string_view text);

// The first data row whose date cell is not a valid date, 0 when every row
// in use has one.
int FirstRowWithoutDate(const GridTexts& grid);

// Refusal of one edited cell of data row `row` before anything is stored,
// named by column and row as every table cell is: a remark the file cannot
// hold (the message names the character), a settlement that cannot be held
// or lies outside the file's range ("「沈下量(m)」の2行目は-1000～1000の範囲で
// 指定してください。"). The message text, or nothing when the cell is
// acceptable.
std::optional<std::string> RefuseCell(int row, int col, std::string_view text);

// Stores every row in use into the station (Count, dates, settlements,
// remarks, SW), keeping the date a row had when its cell holds no valid date.
// The rows must have passed the checks above.
void StoreGridRows(const GridTexts& grid, StationRecord& station);

// The fit-range value of a Sa or Sa' box: the cell value rounded to the
// nearest integer, halves to even; nothing when it lies outside 16 bits.
std::optional<std::int16_t> RangeValue(std::string_view text);

// The copy of the screen into a station that the run and the update make:
// Sa and Sa' from their boxes, then every grid row. Refuses, before anything
// changes, a box value outside 16 bits ("Saが不正です。" / "Sa'が不正です。",
// title "データエラー") and a row without a valid date (kBadDateText); a
// refused row is returned in badRow. True when the station was written.
bool CopyScreenIntoStation(const GridTexts& grid, std::string_view tsText, std::string_view teText,
                           StationRecord& station, MessageSink& messages, int* badRow = nullptr);

// A result label: the value with its decimals (and a trailing blank for the
// final settlement), right-aligned in 13 columns.
std::string ResultLabel(double v, int decimals, bool trailingBlank = false);

}  // namespace kova::predict
