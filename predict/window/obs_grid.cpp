#include "predict/window/obs_grid.hpp"

#include <QHeaderView>
#include <QTableWidget>
#include <QVBoxLayout>

#include "platform/qt/qt_text.hpp"
#include "predict/numfmt.hpp"

namespace kova::predict {

ObservationGrid::ObservationGrid(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("QEXFLG"));
    auto* lay = new QVBoxLayout(this);
    lay->setContentsMargins(0, 0, 0, 0);
    table_ = new QTableWidget(kGridRows - 1, kGridColumns - 1, this);
    lay->addWidget(table_);
    connect(table_, &QTableWidget::cellChanged, this, [this](int r, int) {
        if (filling_) return;
        int used = 0;
        for (int row = 0; row < table_->rowCount(); ++row)
            for (int c = 0; c < table_->columnCount(); ++c)
                if (auto* it = table_->item(row, c); it && !it->text().isEmpty()) used = row + 1;
        rowsInUse_ = std::max(used, std::min(rowsInUse_, r + 1));
        rowsInUse_ = used;
        emit CellEdited();
    });
    setFocusProxy(table_);
}

void ObservationGrid::SetUpEmpty() {
    filling_ = true;
    table_->clearContents();
    table_->setHorizontalHeaderLabels({Q(" 測定年月日  (yyyy/mm/dd)"), Q("沈下量(m)"), Q("備考"), Q("SW")});
    rowsInUse_ = 0;
    filling_ = false;
}

void ObservationGrid::ShowStation(const StationRecord& s) {
    SetUpEmpty();
    filling_ = true;
    for (int i = 1; i <= s.Count; ++i) {
        SetText(i, kColDate, GridDateText(s.ObsDate[i]));
        SetText(i, kColSettlement, FormatFixed(s.Settlement[i], 3));
        SetText(i, kColRemark, s.Remark[i]);
        SetText(i, kColSW, s.SW[i] == 1 ? "1" : "");
    }
    rowsInUse_ = s.Count;
    filling_ = false;
}

int ObservationGrid::RowsInUse() const { return rowsInUse_; }

std::string ObservationGrid::Text(int row, int col) const {
    if (col == kColNo) return std::to_string(row);
    auto* it = table_->item(row - 1, col - 1);
    return it ? U(it->text()) : std::string();
}

void ObservationGrid::SetText(int row, int col, const std::string& text) {
    if (col == kColNo) return;
    const bool was = filling_;
    filling_ = true;
    table_->setItem(row - 1, col - 1, new QTableWidgetItem(Q(text)));
    filling_ = was;
}

int ObservationGrid::CurrentRow() const { return table_->currentRow() + 1; }
int ObservationGrid::CurrentCol() const { return table_->currentColumn() + 1; }
void ObservationGrid::SetCurrentCell(int row, int col) { table_->setCurrentCell(row - 1, col - 1); }
void ObservationGrid::CommitEdit() {}

void ObservationGrid::SetReadOnly(bool readOnly) {
    readOnly_ = readOnly;
    table_->setEditTriggers(readOnly ? QAbstractItemView::NoEditTriggers : QAbstractItemView::AllEditTriggers);
}

bool ObservationGrid::ReadOnly() const { return readOnly_; }

GridTexts ObservationGrid::Texts() const {
    return GridTexts{RowsInUse(), [this](int r, int c) { return Text(r, c); }};
}

}  // namespace kova::predict
