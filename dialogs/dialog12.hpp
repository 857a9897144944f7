#pragma once
// Dialog12 "上載荷重の入力": point, line and strip loads in three grids,
// checked and written back on OK only.
#include "dialogs/table_dialog.hpp"

namespace kova {

class Dialog12 : public CommitTableDialog {
    Q_OBJECT
public:
    Dialog12(EditorHost& host, QWidget* owner);

    grid::QEX_FLG* Qflg_SK = nullptr;  // point loads
    grid::QEX_FLG* Qflg_LK = nullptr;  // line loads
    grid::QEX_FLG* Qflg_OK = nullptr;  // strip loads

protected:
    bool Commit() override;
    void Unload() override;
};

}  // namespace kova
