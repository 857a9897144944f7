#include "dialogs/grid/grid_model.hpp"

#include <QBrush>
#include <QPalette>
#include <QRegularExpression>
#include <algorithm>

#include "textio/cell_text.hpp"

namespace kova::grid {

namespace {
std::string Utf8(const QString& s) { return s.toStdString(); }
QString Qs(const std::string& s) { return QString::fromStdString(s); }
bool LooksNumeric(const QString& s) {
    static const QRegularExpression number(QStringLiteral("^\\s*[-+]?(\\d+\\.?\\d*|\\.\\d+)([eEdD][-+]?\\d+)?\\s*$"));
    return !s.isEmpty() && number.match(s).hasMatch();
}
}  // namespace

GridModel::GridModel(QObject* parent) : QAbstractTableModel(parent) {}

void GridModel::Reshape(int rows, int cols) {
    rows = std::max(rows, 1);
    cols = std::max(cols, 1);
    beginResetModel();
    std::vector<CellData> cells(static_cast<std::size_t>(rows * cols));
    for (int r = 0; r < std::min(rows, rows_); ++r)
        for (int c = 0; c < std::min(cols, cols_); ++c) cells[static_cast<std::size_t>(r * cols + c)] = At(r, c);
    cells_ = std::move(cells);
    rows_ = rows;
    cols_ = cols;
    formats_.resize(static_cast<std::size_t>(cols));
    drops_.resize(static_cast<std::size_t>(cols));
    dropOn_.resize(static_cast<std::size_t>(cols), false);
    numeric_.resize(static_cast<std::size_t>(cols), false);
    inUse_ = std::min(inUse_, rows_ - 1);
    endResetModel();
}

void GridModel::SetRowCount(int rows) { Reshape(rows, cols_); }
void GridModel::SetColCount(int cols) { Reshape(rows_, cols); }

void GridModel::SetHeaderCols(int n) {
    beginResetModel();
    headerCols_ = std::clamp(n, 0, cols_);
    endResetModel();
}

QString GridModel::Cell(int row, int col) const { return Valid(row, col) ? At(row, col).text : QString(); }

void GridModel::RowsChanged(int first, int last) {
    if (first == 0) emit headerDataChanged(Qt::Horizontal, 0, cols_ - 1);
    first = std::max(first, 1);
    if (last >= first) emit dataChanged(index(first - 1, 0), index(last - 1, cols_ - 1));
}

void GridModel::Touch(int row) {
    if (row >= 1 && row > inUse_) inUse_ = row;
}

void GridModel::SetCell(int row, int col, const QString& text) {
    if (!Valid(row, col)) return;
    At(row, col) = CellData{text, std::nullopt};
    if (!text.isEmpty()) Touch(row);
    RowsChanged(row, row);
}

void GridModel::SetCellValue(int row, int col, double v, const QString& pattern) {
    if (!Valid(row, col)) return;
    At(row, col) = CellData{Qs(FormatNumber(v, Utf8(pattern))), v};
    numeric_[static_cast<std::size_t>(col)] = true;  // a column of values takes numbers only
    Touch(row);
    RowsChanged(row, row);
}

void GridModel::SetCellTextKeepingValue(int row, int col, const QString& text) {
    if (!Valid(row, col)) return;
    At(row, col).text = text;
    if (!text.isEmpty()) Touch(row);
    RowsChanged(row, row);
}

void GridModel::SetCellCode(int row, int col, int code) {
    if (!Valid(row, col)) return;
    const QStringList& items = drops_[static_cast<std::size_t>(col)];
    const QString text = code >= 0 && code < items.size() ? items[code] : QString::number(code);
    At(row, col) = CellData{text, static_cast<double>(code)};
    Touch(row);
    RowsChanged(row, row);
}

void GridModel::AddRow(int row, const QString& tabbed) {
    if (row < 1 || row >= rows_) return;
    const QStringList parts = tabbed.split('\t');
    for (int c = 0; c < cols_; ++c) At(row, c) = CellData{c < parts.size() ? parts[c] : QString(), std::nullopt};
    Touch(row);
    RowsChanged(row, row);
}

void GridModel::Clear() {
    for (int r = 1; r < rows_; ++r)
        for (int c = 0; c < cols_; ++c) At(r, c) = CellData{};
    inUse_ = 0;
    RowsChanged(1, rows_ - 1);
}

std::optional<double> GridModel::Value(int row, int col) const {
    if (!Valid(row, col)) return 0.0;
    const CellData& d = At(row, col);
    if (d.kept) return d.kept;
    return NumericValue(Utf8(d.text));
}

bool GridModel::HasKeptValue(int row, int col) const { return Valid(row, col) && At(row, col).kept.has_value(); }

int GridModel::Code(int row, int col) const {
    if (!Valid(row, col)) return -1;
    const CellData& d = At(row, col);
    if (d.kept) return static_cast<int>(*d.kept);
    return static_cast<int>(drops_[static_cast<std::size_t>(col)].indexOf(d.text));
}

void GridModel::SetFormat(int col, const QString& pattern) {
    if (col >= 0 && col < cols_) formats_[static_cast<std::size_t>(col)] = pattern;
}
QString GridModel::Format(int col) const {
    return col >= 0 && col < cols_ ? formats_[static_cast<std::size_t>(col)] : QString();
}
void GridModel::SetDropDown(int col, bool on) {
    if (col >= 0 && col < cols_) dropOn_[static_cast<std::size_t>(col)] = on;
}
bool GridModel::IsDropDown(int col) const { return col >= 0 && col < cols_ && dropOn_[static_cast<std::size_t>(col)]; }
void GridModel::SetDropItems(int col, const QString& joined) {
    if (col >= 0 && col < cols_) drops_[static_cast<std::size_t>(col)] = joined.split('|');
}
void GridModel::SetNumeric(int col, bool on) {
    if (col >= 0 && col < cols_) numeric_[static_cast<std::size_t>(col)] = on;
}
bool GridModel::IsNumeric(int col) const {
    if (col < 0 || col >= cols_ || dropOn_[static_cast<std::size_t>(col)]) return false;
    if (numeric_[static_cast<std::size_t>(col)]) return true;
    const QString& f = formats_[static_cast<std::size_t>(col)];
    return f != QLatin1String(kDatePattern.data(), static_cast<qsizetype>(kDatePattern.size())) &&
           (f.contains(QLatin1Char('0')) || f.contains(QLatin1Char('#')));
}
QStringList GridModel::DropItems(int col) const {
    return col >= 0 && col < cols_ ? drops_[static_cast<std::size_t>(col)] : QStringList();
}

void GridModel::SetRowsInUse(int n) {
    inUse_ = std::clamp(n, 0, rows_ - 1);
    RowsChanged(1, rows_ - 1);
}

int GridModel::LastEditableRow() const { return std::min(inUse_ + 1, rows_ - 1); }

bool GridModel::IsEditable(int row, int col) const {
    return !readOnly_ && row >= 1 && row <= LastEditableRow() && col >= headerCols_ && col < cols_;
}

bool GridModel::CanInsertAt(int row) const { return !tied_ && !readOnly_ && row >= 1 && row <= inUse_ && inUse_ < rows_ - 1; }
bool GridModel::CanDeleteAt(int row) const { return !tied_ && !readOnly_ && row >= 1 && row <= inUse_; }

bool GridModel::InsertRowAt(int row) {
    if (!CanInsertAt(row)) return false;
    for (int r = inUse_ + 1; r > row; --r)
        for (int c = 0; c < cols_; ++c) At(r, c) = At(r - 1, c);
    for (int c = 0; c < cols_; ++c) At(row, c) = CellData{};
    ++inUse_;
    lastAction_ = Action::Insert;
    RowsChanged(row, inUse_);
    return true;
}

bool GridModel::DeleteRowAt(int row) {
    if (!CanDeleteAt(row)) return false;
    for (int r = row; r < inUse_; ++r)
        for (int c = 0; c < cols_; ++c) At(r, c) = At(r + 1, c);
    for (int c = 0; c < cols_; ++c) At(inUse_, c) = CellData{};
    --inUse_;
    lastAction_ = Action::Delete;
    RowsChanged(row, inUse_ + 1);
    return true;
}

void GridModel::RevertLastEdit() {
    if (lastAction_ != Action::Edit || !Valid(last_.row, last_.col) || last_.row < 1) return;
    lastAction_ = Action::None;
    At(last_.row, last_.col) = CellData{last_.oldText, last_.oldKept};
    inUse_ = last_.oldInUse;
    RowsChanged(last_.row, last_.row);
    emit editReverted(last_.row, last_.col);
}

int GridModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : rows_ - 1; }
int GridModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : cols_; }

QVariant GridModel::data(const QModelIndex& index, int role) const {
    const int row = index.row() + 1, col = index.column();
    if (!index.isValid() || !Valid(row, col)) return {};
    const bool storedZero = blankShowsZero_ && row <= inUse_ && col >= headerCols_ && IsNumeric(col) &&
                            IsBlankText(Utf8(At(row, col).text));
    switch (role) {
    case Qt::DisplayRole:
        if (storedZero) return Qs(StoredNumberText("", Utf8(formats_[static_cast<std::size_t>(col)]), true));
        return At(row, col).text;
    case Qt::EditRole:
        return At(row, col).text;
    case Qt::TextAlignmentRole:
        if (col < headerCols_) return int(Qt::AlignCenter);
        // Numbers stand right-aligned, texts left.
        if (storedZero || (!dropOn_[static_cast<std::size_t>(col)] && LooksNumeric(At(row, col).text)))
            return int(Qt::AlignRight | Qt::AlignVCenter);
        return int(Qt::AlignLeft | Qt::AlignVCenter);
    case Qt::BackgroundRole:
        if (col < headerCols_) return QBrush(QPalette().color(QPalette::Button));
        return {};
    default:
        return {};
    }
}

QVariant GridModel::headerData(int section, Qt::Orientation o, int role) const {
    if (o == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < cols_) return At(0, section).text;
    if (o == Qt::Vertical && role == Qt::DisplayRole) return section + 1;
    return QAbstractTableModel::headerData(section, o, role);
}

Qt::ItemFlags GridModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (IsEditable(index.row() + 1, index.column())) f |= Qt::ItemIsEditable;
    return f;
}

bool GridModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    const int row = index.row() + 1, col = index.column();
    if ((role != Qt::EditRole && role != TypedRole) || !index.isValid() || !IsEditable(row, col)) return false;
    QString text = value.toString();
    if (IsNumeric(col)) {
        const std::string typed = Utf8(text);
        if (!IsBlankText(typed) && !IsWholeNumber(typed)) {
            emit editRefused(row, col);
            return false;
        }
    }
    if (IsNumeric(col)) {
        text = Qs(StoredNumberText(Utf8(text), Utf8(formats_[static_cast<std::size_t>(col)]), row <= inUse_));
    } else if (!dropOn_[static_cast<std::size_t>(col)]) {
        text = Qs(ApplyPattern(Utf8(text), Utf8(formats_[static_cast<std::size_t>(col)])));
    } else if (!text.isEmpty() && !drops_[static_cast<std::size_t>(col)].contains(text)) {
        return false;  // drop-down cells take only an item of their list
    }
    CellData& d = At(row, col);
    if (text == d.text && (role != TypedRole || !d.kept || NumericValue(Utf8(text)) == d.kept))
        return true;  // nothing changed: no edit to report
    last_ = LastEdit{row, col, d.text, d.kept, inUse_, ++editSerial_};
    lastAction_ = Action::Edit;
    d = CellData{text, std::nullopt};
    if (!text.isEmpty() && row == inUse_ + 1) ++inUse_;
    emit dataChanged(index, index);
    emit cellEdited(row, col);
    return true;
}

}  // namespace kova::grid
