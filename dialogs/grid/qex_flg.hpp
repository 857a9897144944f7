#pragma once
// QEX_FLG: the table grid of every data dialog of both programs. A thin view
// over GridModel that adds sizes in twips, the editing keys (Enter and Tab
// commit and move; Insert, or the context menu, inserts a row above the
// current one; Ctrl+Delete deletes it), drop-down cells chosen from their
// list, and the CellEdited event.
#include <QString>
#include <QTableView>
#include <vector>

#include "dialogs/grid/grid_model.hpp"
#include "platform/message.hpp"

namespace kova::grid {

class QEX_FLG : public QTableView {
    Q_OBJECT
public:
    explicit QEX_FLG(QWidget* parent = nullptr);

    GridModel& Model() { return model_; }
    const GridModel& Model() const { return model_; }

    // ---- the operations the dialogs use --------------------------------
    void SetDrawing(bool on);  // off while filling: no repaint
    void SetRows(int rows) { model_.SetRowCount(rows); }
    int Rows() const { return model_.RowCount(); }
    void SetCols(int cols);
    int Cols() const { return model_.ColCount(); }
    void SetHeaderRows(int) {}  // always 1
    int HeaderRows() const { return 1; }
    void SetHeaderCols(int n) { model_.SetHeaderCols(n); }
    int HeaderCols() const { return model_.HeaderCols(); }
    void SetColWidth(int col, int twips);
    int ColWidthTwips(int col) const;
    void SetRowHeight(int row, int twips);
    QString CellText(int row, int col) const { return model_.Cell(row, col); }
    void SetCellText(int row, int col, const QString& text) { model_.SetCell(row, col, text); }
    void AddRow(int row, const QString& tabbed) { model_.AddRow(row, tabbed); }
    int RowsInUse() const { return model_.RowsInUse(); }
    void SetFormat(int col, const QString& pattern) { model_.SetFormat(col, pattern); }
    void SetDropDown(int col, bool on) { model_.SetDropDown(col, on); }
    void SetDropItems(int col, const QString& joined) { model_.SetDropItems(col, joined); }
    void SetHeaderColStyle(int col, int value);
    void SetGridStyle(int value) { gridStyle_ = value; }
    int GridStyle() const { return gridStyle_; }
    void SetGridName(const QString& name) { name_ = name; }
    QString GridName() const { return name_; }
    void Initialise(bool flag, int number);
    void Clear() { model_.Clear(); }
    void SetTiedRows(bool on) { model_.SetTiedRows(on); }
    bool TiedRows() const { return model_.TiedRows(); }
    int CurrentRow() const;
    int CurrentCol() const;
    void SetCurrentCell(int row, int col);
    // Outer width in twips; the grid is never narrower than its columns.
    void SetControlWidth(int twips);

    // Where a refused number is told; without one the refusal is silent
    // (the cell keeps its text either way).
    void SetMessages(MessageSink* sink) { messages_ = sink; }
    // What an insert into a full table says (nothing when empty).
    void SetFullMessage(std::string text) { fullMessage_ = std::move(text); }
    // The message for a text that number column `col` refused in `row`.
    QString NotANumberMessage(int row, int col) const;

    // ---- user actions (also reached from keys and the context menu) -----
    bool InsertRow();  // above the current row
    bool DeleteRow();  // the current row

    // Width in pixels that shows every column whole, with the frame and the
    // vertical scroll bar.
    int NeededWidth() const;
    // Makes a short table (a few fixed rows) tall enough to show every row
    // in the installed font, so that it needs no scroll bar.
    void GrowToShowAllRows();

signals:
    // The user finished editing a cell, or inserted or deleted a row.
    void CellEdited();

protected:
    void keyPressEvent(QKeyEvent* e) override;
    // No type-ahead: keys typed on a cell that takes no text must not jump
    // to a row whose text they begin, where the next keys would overwrite it.
    void keyboardSearch(const QString&) override {}
    void contextMenuEvent(QContextMenuEvent* e) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers mods) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;

private:
    void ApplyWidths();
    void MoveTo(int row, int col);
    // After a refused or reverted edit: that cell stays current and keeps
    // the focus, whatever key closed its editor.
    void StayAt(int row, int col);
    // An open editor on the cell shows the cell's text again.
    void ShowCellInEditor(int row, int col);

    MessageSink* messages_ = nullptr;
    std::string fullMessage_;
    QPersistentModelIndex pressedOnCurrent_;
    int stayRow_ = 0, stayCol_ = 0;

    GridModel model_;
    std::vector<int> widthTwips_;
    int gridStyle_ = 0;
    QString name_;
    std::vector<int> headerColStyle_;
    int controlTwips_ = 0;
    bool initialised_ = false;
};

// A column's header as a message names it: its lines joined and the runs
// of blanks that only place the text dropped, a single blank between words
// kept ("   荷重値    (kN)" is "荷重値(kN)", "応力分担比 n" stays).
QString HeaderName(const QString& header);

}  // namespace kova::grid
