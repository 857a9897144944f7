#include "dialogs/limit_check.hpp"

#include "textio/cell_text.hpp"

namespace kova {

bool RefuseOutsideLimit(grid::QEX_FLG& grid, Item item, double toModel, MessageSink& ui) {
    grid::GridModel& g = grid.Model();
    const auto& last = g.Last();
    if (g.LastAction() != grid::GridModel::Action::Edit) return false;
    if (last.row < 1 || last.row >= g.RowCount() || g.HasKeptValue(last.row, last.col)) return false;
    const std::optional<double> v = g.Value(last.row, last.col);
    if (v && WithinTypedLimit(item, *v * toModel)) return false;
    const std::string message = CellLimitMessage(g, last.row, last.col, item, toModel);
    // The old text is back on screen before the message is up.
    g.RevertLastEdit();
    ui.Notify(message, MsgIcon::Exclamation);
    return true;
}

bool RefuseStageOutside16Bits(grid::QEX_FLG& grid, MessageSink& ui) {
    grid::GridModel& g = grid.Model();
    const auto& last = g.Last();
    if (g.LastAction() != grid::GridModel::Action::Edit) return false;
    if (last.row < 1 || last.row >= g.RowCount() || g.HasKeptValue(last.row, last.col)) return false;
    const std::optional<double> v = g.Value(last.row, last.col);
    if (v && grid::ToInt16(*v)) return false;
    g.RevertLastEdit();
    ui.Notify(kStageMessage, MsgIcon::None);
    return true;
}

std::string ColumnName(const grid::GridModel& g, int col) {
    // As the grid's not-a-number message names it.
    return grid::HeaderName(g.Cell(0, col)).toStdString();
}

std::string CellLimitMessage(const grid::GridModel& g, int row, int col, Item item, double toModel) {
    std::string name = ColumnName(g, col);
    if (name.empty()) name = ItemName(item);
    return grid::OutOfRangeText(name, row, TypedRangeText(item, toModel));
}

}  // namespace kova
