#include "predict/window/obs_grid.hpp"

#include <QFontMetrics>
#include <QHeaderView>

#include "textio/cell_text.hpp"
#include "platform/qt/screen_qt.hpp"
#include "platform/qt/qt_text.hpp"

namespace kova::predict {
namespace {

struct Column {
    const char* header;
    int twips;
    const char* format;
};
// Column 1 shows dates; its empty layout keeps the number format "#0".
constexpr Column kColumns[kGridColumns] = {
    {kColumnHeaders[kColNo], 500, ""},
    {kColumnHeaders[kColDate], 1200, "#0"},
    {kColumnHeaders[kColSettlement], 1000, "#0.000"},
    {kColumnHeaders[kColRemark], 1000, ""},
    {kColumnHeaders[kColSW], 500, "#0"},
};

}  // namespace

ObservationGrid::ObservationGrid(QWidget* parent) : grid::QEX_FLG(parent) {
    setObjectName(QStringLiteral("QEXFLG"));
    editable_ = editTriggers();
    // Columns keep their designed widths (the date header wraps at its
    // blanks into the two lines its row has room for): a long remark or the
    // header's one-line width would otherwise widen the grid and push the
    // graphs out of the window.
    horizontalHeader()->setDefaultAlignment(Qt::Alignment(Qt::AlignCenter | Qt::TextWordWrap));
    connect(horizontalHeader(), &QHeaderView::sectionResized, this, [this](int col, int, int size) {
        if (capping_ || col < 0 || col >= kGridColumns) return;
        const int cap = ColumnPixels(col);
        if (size <= cap) return;
        capping_ = true;
        setColumnWidth(col, cap);
        capping_ = false;
    });
}

int ObservationGrid::ColumnPixels(int col) const {
    const QFontMetrics fm(font());
    const QFontMetrics hfm(horizontalHeader()->font());
    int px = ScreenTwips(this).ToPixelsX(kColumns[col].twips);
    if (col == kColDate) px = std::max(px, fm.horizontalAdvance(QStringLiteral("0000/00/00")) + 10);
    // The widest row number is the last observation's.
    if (col == kColNo) px = std::max(px, fm.horizontalAdvance(QString::number(kMaxObservations)) + 10);
    for (const QString& word : Q(kColumns[col].header).split(QLatin1Char(' '), Qt::SkipEmptyParts))
        px = std::max(px, hfm.horizontalAdvance(word) + 12);
    return px;
}

void ObservationGrid::SetUpEmpty() {
    SetDrawing(false);
    Clear();
    SetCols(kGridColumns);
    SetRows(kGridRows);
    SetHeaderRows(1);
    SetHeaderCols(1);
    SetRowHeight(0, 500);
    for (int c = 0; c < kGridColumns; ++c) SetColWidth(c, kColumns[c].twips);
    SetControlWidth(4600);
    SetGridStyle(4);
    for (int c = 0; c < kGridColumns; ++c) {
        SetCellText(0, c, Q(kColumns[c].header));
        SetFormat(c, Q(kColumns[c].format));
    }
    Initialise(true, 0);
    SetTiedRows(readOnly_);
    SetDrawing(true);
    ForgetEdits();
}

void ObservationGrid::ShowStation(const StationRecord& s) {
    SetDrawing(false);
    Clear();
    SetGridStyle(4);
    for (int c = 0; c < kGridColumns; ++c) {
        SetCellText(0, c, Q(kColumns[c].header));
        SetFormat(c, Q(kColumns[c].format));
    }
    SetFormat(kColDate, QString::fromLatin1(grid::kDatePattern.data(), static_cast<qsizetype>(grid::kDatePattern.size())));
    const int count = std::min<int>(s.Count, kGridRows - 1);
    for (int i = 1; i <= count; ++i) ShowRow(i, s);
    Model().SetRowsInUse(count);
    Initialise(true, 0);
    SetDrawing(true);
    ForgetEdits();
}

void ObservationGrid::ShowRow(int i, const StationRecord& s) {
    const auto k = static_cast<std::size_t>(i);
    if (i < 1 || i > s.Count || k >= s.SW.size()) return;
    const int inUse = RowsInUse();
    SetCellText(i, kColNo, QString::number(i));
    SetCellText(i, kColDate, Q(GridDateText(s.ObsDate[k])));
    Model().SetCellValue(i, kColSettlement, s.Settlement[k], QStringLiteral("0.000"));
    SetCellText(i, kColRemark, Q(s.Remark[k]));
    SetCellText(i, kColSW, s.SW[k] == 1 ? QStringLiteral("1") : QString());
    // An emptied SW cell must not change the rows in use.
    if (i <= inUse) Model().SetRowsInUse(inUse);
}

void ObservationGrid::Renumber() {
    for (int i = 1; i <= RowsInUse(); ++i) {
        const QString no = QString::number(i);
        if (CellText(i, kColNo) != no) SetCellText(i, kColNo, no);
    }
}

std::string ObservationGrid::Text(int row, int col) const { return U(CellText(row, col)); }

void ObservationGrid::SetText(int row, int col, const std::string& text) {
    const int inUse = RowsInUse();
    SetCellText(row, col, Q(text));
    // Emptying a cell below the rows in use must not add a row.
    if (RowsInUse() != inUse && text.empty()) Model().SetRowsInUse(inUse);
}

void ObservationGrid::CommitEdit() {
    if (state() != QAbstractItemView::EditingState) return;
    QWidget* editor = indexWidget(currentIndex());
    if (!editor) return;
    commitData(editor);
    closeEditor(editor, QAbstractItemDelegate::NoHint);
}

void ObservationGrid::SetReadOnly(bool readOnly) {
    readOnly_ = readOnly;
    setEditTriggers(readOnly ? QAbstractItemView::NoEditTriggers : editable_);
    SetTiedRows(readOnly);
}

bool ObservationGrid::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) {
    if (readOnly_) return false;
    return grid::QEX_FLG::edit(index, trigger, event);
}

GridTexts ObservationGrid::Texts() const {
    GridTexts t;
    t.rowsInUse = RowsInUse();
    t.text = [this](int r, int c) { return Text(r, c); };
    t.value = [this](int r, int c) { return Model().Value(r, c); };
    return t;
}

std::optional<std::pair<int, int>> ObservationGrid::TakeTextEdit() {
    const grid::GridModel::LastEdit& last = Model().Last();
    if (last.serial == seen_) return std::nullopt;
    seen_ = last.serial;
    return std::make_pair(last.row, last.col);
}

void ObservationGrid::RevertTextEdit() {
    Model().RevertLastEdit();
    seen_ = Model().Last().serial;
}

void ObservationGrid::ForgetEdits() { seen_ = Model().Last().serial; }

}  // namespace kova::predict
