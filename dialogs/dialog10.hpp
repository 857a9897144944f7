#pragma once
// Dialog10 "切り土情報の入力": names and unit weights of the cut blocks,
// written back on OK only.
#include "dialogs/table_dialog.hpp"

namespace kova {

class Dialog10 : public CommitTableDialog {
    Q_OBJECT
public:
    Dialog10(EditorHost& host, QWidget* owner);

    grid::QEX_FLG* Qflg_KB = nullptr;

protected:
    bool Commit() override;
    void Unload() override;
    void CellEdited() override;
};

}  // namespace kova
