#include "dialogs/limit_check.hpp"

namespace kova {

bool RefuseOutsideLimit(grid::QEX_FLG& grid, Item item, double toModel, MessageSink& ui) {
    grid::GridModel& g = grid.Model();
    const auto& last = g.Last();
    if (last.row < 1 || last.row >= g.RowCount() || g.HasKeptValue(last.row, last.col)) return false;
    const std::optional<double> v = g.Value(last.row, last.col);
    if (v && WithinLimit(item, *v * toModel)) return false;
    ui.Notify(LimitMessage(item), MsgIcon::Exclamation);
    g.RevertLastEdit();
    return true;
}

}  // namespace kova
