#pragma once
// Dialog10 "切り土情報の入力": names and unit weights of the cut blocks,
// written back on OK only.
#include "dialogs/dialog_base.hpp"
#include "dialogs/grid/qex_flg.hpp"

class QPushButton;

namespace kova {

class Dialog10 : public CommitDialog {
    Q_OBJECT
public:
    Dialog10(EditorHost& host, QWidget* owner);

    grid::QEX_FLG* Qflg_KB = nullptr;
    QPushButton* OKButton = nullptr;
    QPushButton* CancelButton = nullptr;

protected:
    bool Commit() override;
    void Unload() override;

private:
    void CellEdited();
};

}  // namespace kova
