#include "dialogs/table_form.hpp"

#include "textio/cell_text.hpp"
#include "dialogs/limit_check.hpp"
#include "textio/storable_text.hpp"

namespace kova {

void SetUpGrid(grid::QEX_FLG& g, const GridLayout& s) {
    g.SetDrawing(false);
    g.SetRows(s.rows);
    g.SetCols(s.cols);
    g.SetHeaderRows(1);
    g.SetHeaderCols(s.headerCols);
    for (std::size_t c = 0; c < s.widths.size(); ++c) g.SetColWidth(static_cast<int>(c), s.widths[c]);
    for (std::size_t c = 0; c < s.headers.size(); ++c) g.SetCellText(0, static_cast<int>(c), s.headers[c]);
    for (std::size_t c = 0; c < s.formats.size(); ++c) g.SetFormat(static_cast<int>(c), s.formats[c]);
    if (s.headerRowHeight > 0) g.SetRowHeight(0, s.headerRowHeight);
    g.SetGridStyle(4);
    g.SetGridName(s.name);
    g.Initialise(true, 0);
    g.SetTiedRows(s.tied);
    // Every table set up here stores an empty number cell as 0.
    g.Model().SetBlankShowsZero(true);
    if (s.controlWidth > 0) g.SetControlWidth(s.controlWidth);
}

void CellReader::Refuse(const std::string& message, MsgIcon icon) {
    if (failed_) return;
    failed_ = true;
    if (revert_) revert_->RevertLastEdit();
    msg_.Notify(message, icon);
}

bool CellReader::Within(int row, int col, Item item, double v) const {
    const bool typed = !revert_ || (g_.LastAction() == grid::GridModel::Action::Edit && g_.Last().row == row &&
                                    g_.Last().col == col);
    return typed ? WithinTypedLimit(item, v) : WithinLimit(item, v);
}

std::optional<double> CellReader::Real(int row, int col, Item item) {
    if (failed_) return std::nullopt;
    const std::optional<double> v = g_.Value(row, col);
    if (!v || !Within(row, col, item, *v)) {
        Refuse(CellLimitMessage(g_, row, col, item));
        return std::nullopt;
    }
    return v;
}

std::optional<i16> CellReader::Int(int row, int col, Item item) {
    if (failed_) return std::nullopt;
    const std::optional<double> v = g_.Value(row, col);
    const std::optional<i16> n = v ? grid::ToInt16(*v) : std::nullopt;
    if (!n || !Within(row, col, item, *n)) {
        Refuse(CellLimitMessage(g_, row, col, item));
        return std::nullopt;
    }
    return n;
}

std::optional<i16> CellReader::Int16(int row, int col, const std::string& message, MsgIcon icon) {
    if (failed_) return std::nullopt;
    const std::optional<double> v = g_.Value(row, col);
    const std::optional<i16> n = v ? grid::ToInt16(*v) : std::nullopt;
    if (!n) Refuse(message, icon);
    return n;
}

std::optional<std::string> CellReader::Name(int row, int col) {
    if (failed_) return std::nullopt;
    std::string text = g_.Cell(row, col).toStdString();
    if (!IsStorableText(text)) {
        Refuse(BadCellTextMessage(g_, row, col, text));
        return std::nullopt;
    }
    return text;
}

i16 CellReader::Code(int row, int col) {
    const int code = g_.Code(row, col);
    if (g_.HasKeptValue(row, col) || code >= 0) return static_cast<i16>(code);
    return static_cast<i16>(g_.DropItems(col).size() - 1);
}

std::string BadTextMessage(std::string_view field, std::string_view text) {
    return ForbiddenTextMessage(field, text);
}

std::string BadCellTextMessage(const grid::GridModel& g, int row, int col, std::string_view text) {
    return BadTextMessage(grid::FieldText(ColumnName(g, col), row), text);
}

bool CheckName(std::string_view field, const std::string& text, MessageSink& msg) {
    if (IsStorableText(text)) return true;
    msg.Notify(BadTextMessage(field, text), MsgIcon::Exclamation);
    return false;
}

bool RefuseEditedName(grid::GridModel& g, MessageSink& msg) {
    const auto& last = g.Last();
    if (g.LastAction() != grid::GridModel::Action::Edit) return false;
    const std::string text = g.Cell(last.row, last.col).toStdString();
    if (IsStorableText(text)) return false;
    const std::string message = BadCellTextMessage(g, last.row, last.col, text);
    g.RevertLastEdit();
    msg.Notify(message, MsgIcon::Exclamation);
    return true;
}

std::string FullTableMessage(const char* what, int capacity, const char* unit) {
    return std::string(what) + "は" + std::to_string(capacity) + unit + "までです。";
}

QString Fmt(double v, const char* pattern) { return QString::fromStdString(grid::FormatNumber(v, pattern)); }

void RenumberRows(grid::GridModel& g, int rows, const char* pattern) {
    for (int r = 1; r <= rows; ++r)
        if (g.Cell(r, 0) != Fmt(r, pattern)) g.SetCell(r, 0, Fmt(r, pattern));
}

}  // namespace kova
