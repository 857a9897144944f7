#pragma once
// The check of a number the user typed into a grid cell against the table
// of limits: a value that cannot be held, or lies outside the item's range,
// is refused with the item's message and the cell gets its old text back.
#include "dialogs/grid/qex_flg.hpp"
#include "rules/limits.hpp"
#include "platform/message.hpp"

namespace kova {

// Checks the cell of the grid's last user edit, when it still holds what
// the user typed; `toModel` turns the shown value into the model's units.
// Returns true when the edit was refused and undone.
bool RefuseOutsideLimit(grid::QEX_FLG& grid, Item item, double toModel, MessageSink& ui);
// The same, with the message giving the range in the shown unit
// (`shownUnit`, "" for none), the model's range divided by `toModel`.
bool RefuseOutsideLimit(grid::QEX_FLG& grid, Item item, double toModel, MessageSink& ui, const char* shownUnit);
// That message, e.g. "圧密曲線の圧力(kN/m2)は0～1000000の範囲で指定してください。"
std::string ShownLimitMessage(Item item, double toModel, const char* shownUnit);

// A column's header as a message names the column: its lines joined, blanks
// run together, none before "(": "有効重量  (kN/m3)" is "有効重量(kN/m3)".
std::string ColumnName(const grid::GridModel& g, int col);
// The limit message of a grid column: the column named as its header names
// it (the unit added where the header shows none), the range in the shown
// unit. A column without a header text falls back to the item's name.
std::string ColumnLimitMessage(const grid::GridModel& g, int col, Item item, double toModel = 1,
                               const char* shownUnit = nullptr);

}  // namespace kova
