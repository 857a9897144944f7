#pragma once
// The cells of one table grid. Grid coordinates as the dialogs use them:
// row 0 is the header row (shown in the view's header), data rows start at 1;
// columns count from 0 and the first HeaderCols() of them are header columns.
// The view's model row m is grid row m + 1, model column c is grid column c.
//
// Two ways in, and only the first means "the user edited": setData (reached
// from the view's editors) may raise cellEdited; every other writer (filling,
// clearing, reformatting) never does.
#include <QAbstractTableModel>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace kova::grid {

class GridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit GridModel(QObject* parent = nullptr);

    // ---- shape ---------------------------------------------------------
    void SetRowCount(int rows);  // header row included
    int RowCount() const { return rows_; }
    void SetColCount(int cols);
    int ColCount() const { return cols_; }
    void SetHeaderCols(int n);
    int HeaderCols() const { return headerCols_; }
    int HeaderRows() const { return 1; }

    // ---- cells written by code (never cellEdited) --------------------------
    QString Cell(int row, int col) const;
    // Writes a text; the cell forgets any kept value. Writing into a data
    // row below the rows in use makes that row the last one in use.
    void SetCell(int row, int col, const QString& text);
    // Writes v with the pattern and keeps v itself, so that the cell reads
    // back exactly while the user leaves it alone (the kept value moves with
    // its row on inserts and deletes).
    void SetCellValue(int row, int col, double v, const QString& pattern);
    // Writes a text and keeps the cell's kept value (a row number shown
    // over the point the row came from).
    void SetCellTextKeepingValue(int row, int col, const QString& text);
    // A drop-down cell: the item `code` (0-based) of the column's list; a
    // code outside the list shows as its number and is kept.
    void SetCellCode(int row, int col, int code);
    // Fills data row `row` from tab-separated texts, column 0 first.
    void AddRow(int row, const QString& tabbed);
    // Empties every data cell; rows in use 0. Shape, widths and header texts stay.
    void Clear();

    // ---- reading back ----------------------------------------------------
    // The kept value of an untouched cell, else the numeric value of its
    // text (0 for no number); nothing when the text holds a number too large
    // to hold.
    std::optional<double> Value(int row, int col) const;
    bool HasKeptValue(int row, int col) const;
    // A drop-down cell's code: its kept code while untouched, else the index
    // of its text in the list; -1 when neither.
    int Code(int row, int col) const;

    // ---- column settings -------------------------------------------------
    void SetFormat(int col, const QString& pattern);
    QString Format(int col) const;
    void SetDropDown(int col, bool on);
    bool IsDropDown(int col) const;
    void SetDropItems(int col, const QString& joined);  // items joined by "|"
    QStringList DropItems(int col) const;
    // A number column takes only a number typed in full (full-width forms
    // folded, blanks anywhere ignored) or an emptied cell; anything else is
    // refused before it reaches the cell. Columns with a number pattern are
    // number columns without being marked.
    void SetNumeric(int col, bool on);
    bool IsNumeric(int col) const;
    // A table whose owner stores a number cell left empty in a row in use
    // as 0: such a cell shows that 0 as the column writes it (its text, and
    // what an editor opens with, stay empty).
    void SetBlankShowsZero(bool on) { blankShowsZero_ = on; }

    // ---- rows ------------------------------------------------------------
    int RowsInUse() const { return inUse_; }
    void SetRowsInUse(int n);
    void SetTiedRows(bool on) { tied_ = on; }
    bool TiedRows() const { return tied_; }
    // A read-only table takes no edit, insert or delete at all.
    void SetReadOnly(bool on) { readOnly_ = on; }
    bool ReadOnly() const { return readOnly_; }
    // Rows the user may edit: 1 to rows in use + 1, never past the last row
    // (tables tied to blocks have no row beyond their blocks).
    int LastEditableRow() const;
    bool IsEditable(int row, int col) const;
    // User actions on rows; false (nothing changed) when refused: in tied
    // tables, in a full table (insert), on rows not in use.
    bool CanInsertAt(int row) const;
    bool CanDeleteAt(int row) const;
    bool InsertRowAt(int row);
    bool DeleteRowAt(int row);

    // The cell and texts before the last user edit, so that an owner that
    // refuses the edit can put the old text (and its kept value) back.
    struct LastEdit {
        int row = 0, col = 0;
        QString oldText;
        std::optional<double> oldKept;
        int oldInUse = 0;
        // Counts the user's cell edits, so that two edits of one cell from
        // the same old text (the second after a refusal put it back) are
        // told apart.
        int serial = 0;
    };
    const LastEdit& Last() const { return last_; }
    // What the user did last: a cell edit, a row insert or a row delete.
    enum class Action { None, Edit, Insert, Delete };
    Action LastAction() const { return lastAction_; }
    // Puts the old text back when the last user action was a cell edit.
    void RevertLastEdit();

    // ---- QAbstractTableModel ---------------------------------------------
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation o, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    // The user's edit: the column's pattern is applied, the kept value is
    // dropped, filling the first empty row adds it to the rows in use, and
    // cellEdited is raised when the text changed. TypedRole marks text the
    // user typed: typed over a kept value, the text the cell already shows
    // is an edit too when its number differs from the kept one.
    static constexpr int TypedRole = Qt::UserRole + 1;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

signals:
    void cellEdited(int row, int col);
    // A typed text that the column cannot take; the cell kept its text.
    void editRefused(int row, int col);
    // An owner put the old text of the last edit back.
    void editReverted(int row, int col);

private:
    struct CellData {
        QString text;
        std::optional<double> kept;
    };
    bool Valid(int row, int col) const { return row >= 0 && row < rows_ && col >= 0 && col < cols_; }
    CellData& At(int row, int col) { return cells_[static_cast<std::size_t>(row * cols_ + col)]; }
    const CellData& At(int row, int col) const { return cells_[static_cast<std::size_t>(row * cols_ + col)]; }
    void Reshape(int rows, int cols);
    void Touch(int row);
    void RowsChanged(int first, int last);

    int rows_ = 1, cols_ = 1, headerCols_ = 1, inUse_ = 0;
    bool tied_ = false;
    bool readOnly_ = false;
    bool blankShowsZero_ = false;
    std::vector<CellData> cells_{1};
    std::vector<QString> formats_{1};
    std::vector<QStringList> drops_{1};
    std::vector<bool> dropOn_ = std::vector<bool>(1, false);
    std::vector<bool> numeric_ = std::vector<bool>(1, false);
    int editSerial_ = 0;
    LastEdit last_;
    Action lastAction_ = Action::None;
};

}  // namespace kova::grid
