#pragma once
// The base of the table dialogs, over their kind (LiveEditDialog or
// CommitDialog): grids that show their messages through the main window,
// OK above Cancel, and the connects. A live-edit table snapshots the whole
// model on load: the dialog is modal, so nothing but its edits can change
// the model while it is open.
#include <memory>
#include <string>

#include "dialogs/dialog_base.hpp"
#include "dialogs/grid/qex_flg.hpp"

class QPushButton;

namespace kova {

template <class Kind>
class TableDialog : public Kind {
public:
    QPushButton* OKButton = nullptr;
    QPushButton* CancelButton = nullptr;

protected:
    using Kind::Kind;

    // A grid at its twips; fullMessage is what Ins on a full table says.
    grid::QEX_FLG* AddGrid(int left, int top, int width, int height, const std::string& fullMessage = {});
    // OK at (left, top), Cancel 480 twips below it.
    void AddOkCancel(int left, int top);
    // Edits of `edited` (none: nullptr) go to CellEdited, the buttons to the
    // kind's handlers; the keyboard starts in the first cell of the first
    // grid, so that typing goes there at once.
    void Connect(grid::QEX_FLG* edited);
    virtual void CellEdited() {}

private:
    grid::QEX_FLG* first_ = nullptr;
};

// Puts the keyboard into the first cell of `g` (row 1, first column after
// the header columns).
void FocusFirstCell(grid::QEX_FLG& g);

// Tells a check's refusal and puts the cursor on the cell it is about;
// false, which the check returns.
bool RefuseAt(grid::QEX_FLG& g, int row, int col, MessageSink& ui, std::string message, MsgIcon icon);

using CommitTableDialog = TableDialog<CommitDialog>;

class LiveTableDialog : public TableDialog<LiveEditDialog> {
protected:
    using TableDialog::TableDialog;
    void TakeSnapshot() override;
    void RestoreSnapshot() override;

private:
    std::unique_ptr<const Model> saved_;  // large: on the heap
};

extern template class TableDialog<LiveEditDialog>;
extern template class TableDialog<CommitDialog>;

}  // namespace kova
