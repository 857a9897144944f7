#pragma once
// Dialog0 "境界点の入力": the boundary points as a live-edit table. Lines of
// both line sets follow every row insert and delete.
#include "dialogs/table_dialog.hpp"

namespace kova {

class Dialog0 : public LiveTableDialog {
    Q_OBJECT
public:
    Dialog0(EditorHost& host, QWidget* owner);

    grid::QEX_FLG* Qflg_NB = nullptr;

protected:
    bool CheckOnOk() override;
    void CellEdited() override;

private:
    void DuplicateMessage(int first, int second);
};

}  // namespace kova
