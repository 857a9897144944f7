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
    // The old text is back on screen before the message is up.
    g.RevertLastEdit();
    ui.Notify(message, MsgIcon::Exclamation);
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
    return RefuseOutsideLimit(grid, item, toModel, ui, nullptr);
}

bool RefuseOutsideLimit(grid::QEX_FLG& grid, Item item, double toModel, MessageSink& ui, const char* shownUnit) {
    const int col = grid.Model().Last().col;
    return Refuse(grid, item, toModel, ui, ColumnLimitMessage(grid.Model(), col, item, toModel, shownUnit));
}

std::string ColumnName(const grid::GridModel& g, int col) {
    QString h = g.Cell(0, col);
    h.remove(QLatin1Char('\n')).remove(QLatin1Char('\r'));
    h = h.simplified();
    h.replace(QStringLiteral(" ("), QStringLiteral("("));
    return h.toStdString();
}

std::string ColumnLimitMessage(const grid::GridModel& g, int col, Item item, double toModel, const char* shownUnit) {
    std::string name = ColumnName(g, col);
    if (name.empty()) return shownUnit ? ShownLimitMessage(item, toModel, shownUnit) : LimitMessage(item);
    const Limit& l = LimitOf(item);
    // The header's own unit, else the unit the value is shown in.
    const char* unit = shownUnit ? shownUnit : (toModel == 1 ? l.unit : "");
    if (name.find('(') == std::string::npos && *unit) name += std::string("(") + unit + ")";
    const std::string range = toModel == 1 ? LimitRangeText(item) : Bound(l.lo / toModel) + "～" + Bound(l.hi / toModel);
    return name + "は" + range + "の範囲で指定してください。";
}

std::string ShownLimitMessage(Item item, double toModel, const char* shownUnit) {
    const Limit& l = LimitOf(item);
    std::string name = ItemName(item);
    if (*shownUnit) name += std::string("(") + shownUnit + ")";
    return name + "は" + Bound(l.lo / toModel) + "～" + Bound(l.hi / toModel) + "の範囲で指定してください。";
}

}  // namespace kova
