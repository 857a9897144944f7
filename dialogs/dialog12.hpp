#pragma once
// Dialog12 "上載荷重の入力": point, line and strip loads in three grids,
// checked and written back on OK only.
#include "dialogs/dialog_base.hpp"
#include "dialogs/grid/qex_flg.hpp"

class QPushButton;

namespace kova {

class Dialog12 : public CommitDialog {
    Q_OBJECT
public:
    Dialog12(EditorHost& host, QWidget* owner);

    grid::QEX_FLG* Qflg_SK = nullptr;  // point loads
    grid::QEX_FLG* Qflg_LK = nullptr;  // line loads
    grid::QEX_FLG* Qflg_OK = nullptr;  // strip loads
    QPushButton* OKButton = nullptr;
    QPushButton* CancelButton = nullptr;

protected:
    bool Commit() override;
    void Unload() override;
};

}  // namespace kova
