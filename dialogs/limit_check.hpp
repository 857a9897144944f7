#pragma once
// The check of a number the user typed into a grid cell against the typed
// range of the table of limits: a value that cannot be held, or lies
// outside the range, is refused, the cell gets its old text back, and then
// the message names the column as its header does and the row.
#include <string>

#include "dialogs/grid/qex_flg.hpp"
#include "rules/limits.hpp"
#include "platform/message.hpp"

namespace kova {

// Checks the cell of the grid's last user edit, when it still holds what
// the user typed; `toModel` turns the shown value into the model's units.
// Returns true when the edit was refused and undone.
bool RefuseOutsideLimit(grid::QEX_FLG& grid, Item item, double toModel, MessageSink& ui);

// The check of a loading stage, made at OK.
inline constexpr const char* kStageMessage = "段階載荷番号には1～5を指定してください";
// A loading stage that no 16-bit field holds (1e999) is refused when its
// cell is left, with the stage message; 1 to 5 is checked at OK.
bool RefuseStageOutside16Bits(grid::QEX_FLG& grid, MessageSink& ui);

// A column's header as a message names the column (grid::HeaderName):
// "有効重量  (kN/m3)" is "有効重量(kN/m3)", "応力分担比 n" keeps its blank.
std::string ColumnName(const grid::GridModel& g, int col);
// The limit message of a cell, the one wording of every table:
// "「有効重量(kN/m3)」の2行目は0～100の範囲で指定してください。", the range in
// the shown unit (the model's range divided by `toModel`). A column without
// a header text is named by the item.
std::string CellLimitMessage(const grid::GridModel& g, int row, int col, Item item, double toModel = 1);

}  // namespace kova
