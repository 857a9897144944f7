#pragma once
// The observation grid of the prediction window: the shared table grid set
// up with the five observation columns, filled from a station and read back
// as cell texts and values.
#include <optional>
#include <string>
#include <utility>

#include "dialogs/grid/qex_flg.hpp"
#include "predict/obsdata.hpp"
#include "predict/commands/screen_copy.hpp"

namespace kova::predict {

inline constexpr int kGridRows = kMaxObservations + 1;  // the header row and 500 rows
// An insert into a station that has all its readings.
inline constexpr const char* kTooManyReadingsText = "観測データは500件までです。";

class ObservationGrid : public grid::QEX_FLG {
    Q_OBJECT
public:
    explicit ObservationGrid(QWidget* parent = nullptr);

    // The empty layout: five columns, 500 data rows, the headers, widths
    // and number formats; the user may insert and delete rows.
    void SetUpEmpty();
    // Clears and shows the station's rows (the header texts, formats and
    // widths written again).
    void ShowStation(const StationRecord& s);
    // Writes row i from the station's observation i, as stored.
    void ShowRow(int i, const StationRecord& s);
    // Numbers the rows in use in column "No" after rows moved.
    void Renumber();

    std::string Text(int row, int col) const;
    // Writes a cell from code (no CellEdited).
    void SetText(int row, int col, const std::string& text);
    // Finishes an edit still open in a cell; CellEdited follows when it
    // changed the text.
    void CommitEdit();
    // Without a station nothing may be typed, inserted or deleted.
    void SetReadOnly(bool readOnly);
    bool ReadOnly() const { return readOnly_; }
    // Texts and settlement values of the rows in use; an untouched
    // settlement reads back exactly as it was shown.
    GridTexts Texts() const;

    // The cell of the user's latest text edit, once: nothing when the last
    // CellEdited came from a row insert or delete.
    std::optional<std::pair<int, int>> TakeTextEdit();
    // Puts the text (and rows in use) back as they were before the latest
    // text edit.
    void RevertTextEdit();

    using grid::QEX_FLG::edit;

protected:
    // Without a station no editor opens, however it is asked for (a click
    // on the current cell opens one in the shared grid).
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;

private:
    void ForgetEdits();
    int ColumnPixels(int col) const;

    bool readOnly_ = false;
    bool capping_ = false;
    EditTriggers editable_;
    int seen_ = 0;  // serial of the last edit taken
};

}  // namespace kova::predict
