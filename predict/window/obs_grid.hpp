#pragma once
// The observation grid of the prediction window: the shared grid widget set
// up with the five observation columns, filled from a station, read back as
// cell texts.
#include <QWidget>
#include <string>

#include "predict/obsdata.hpp"
#include "predict/window/screen_copy.hpp"

class QTableWidget;

namespace kova::predict {

inline constexpr int kGridRows = kMaxObservations + 1;  // the header row and 500 rows

class ObservationGrid : public QWidget {
    Q_OBJECT
public:
    explicit ObservationGrid(QWidget* parent = nullptr);

    // The empty layout: five columns, 500 data rows, the headers, widths
    // and number formats.
    void SetUpEmpty();
    // Clears and shows the station's rows.
    void ShowStation(const StationRecord& s);

    int RowsInUse() const;
    std::string Text(int row, int col) const;
    // Writes a cell from code (no CellEdited).
    void SetText(int row, int col, const std::string& text);
    int CurrentRow() const;
    int CurrentCol() const;
    void SetCurrentCell(int row, int col);
    // Finishes an edit still open in a cell (CellEdited follows when the
    // text changed).
    void CommitEdit();
    // No editing, no inserts or deletes.
    void SetReadOnly(bool readOnly);
    bool ReadOnly() const;
    GridTexts Texts() const;

    // Twips the layout gives the control.
    int ControlWidthTwips() const { return 4600; }

signals:
    // The user finished editing a cell, or inserted or deleted a row.
    void CellEdited();

private:
    QTableWidget* table_ = nullptr;
    int rowsInUse_ = 0;
    bool readOnly_ = false;
    bool filling_ = false;
};

}  // namespace kova::predict
