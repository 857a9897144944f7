#pragma once
// Dialog15 "矢板（仕切り線）": the sheet pile walls, live-edit.
#include "dialogs/table_dialog.hpp"

class QLabel;

namespace kova {

class Dialog15 : public LiveTableDialog {
    Q_OBJECT
public:
    Dialog15(EditorHost& host, QWidget* owner);

    grid::QEX_FLG* Qflg_YT = nullptr;
    QLabel* Label1 = nullptr;

protected:
    void Unload() override;
    void CellEdited() override;
};

}  // namespace kova
