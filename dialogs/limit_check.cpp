#include "dialogs/limit_check.hpp"

#include "textio/cformat.hpp"

namespace kova {

namespace {

bool Refuse(grid::QEX_FLG& grid, Item item, double toModel, MessageSink& ui, const std::string& message) {
    grid::GridModel& g = grid.Model();
    const auto& last = g.Last();
    if (last.row < 1 || last.row >= g.RowCount() || g.HasKeptValue(last.row, last.col)) return false;
    const std::optional<double> v = g.Value(last.row, last.col);
    if (v && WithinLimit(item, *v * toModel)) return false;
    ui.Notify(message, MsgIcon::Exclamation);
    g.RevertLastEdit();
    return true;
}

// A bound as the user reads it: whole numbers without decimals.
std::string Bound(double v) {
    std::string s = CFormat("%.6f", v);
    s.erase(s.find_last_not_of('0') + 1);
    if (s.back() == '.') s.pop_back();
    return s;
}

}  // namespace

bool RefuseOutsideLimit(grid::QEX_FLG& grid, Item item, double toModel, MessageSink& ui) {
    return Refuse(grid, item, toModel, ui, LimitMessage(item));
}

bool RefuseOutsideLimit(grid::QEX_FLG& grid, Item item, double toModel, MessageSink& ui, const char* shownUnit) {
    return Refuse(grid, item, toModel, ui, ShownLimitMessage(item, toModel, shownUnit));
}

std::string ShownLimitMessage(Item item, double toModel, const char* shownUnit) {
    const Limit& l = LimitOf(item);
    std::string name = ItemName(item);
    if (*shownUnit) name += std::string("(") + shownUnit + ")";
    return name + "は" + Bound(l.lo / toModel) + "～" + Bound(l.hi / toModel) + "の範囲で指定してください。";
}

}  // namespace kova
