#pragma once
// Dialog6 "載荷情報の入力": start day and construction days of each loading
// stage, written back on OK only. Row r is stage r.
#include "dialogs/table_dialog.hpp"

class QLabel;

namespace kova {

class Dialog6 : public CommitTableDialog {
    Q_OBJECT
public:
    Dialog6(EditorHost& host, QWidget* owner);

    grid::QEX_FLG* Qflg_KK = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QWidget* Picture1 = nullptr;

protected:
    bool Commit() override;
    void Unload() override;
    void CellEdited() override;
};

}  // namespace kova
