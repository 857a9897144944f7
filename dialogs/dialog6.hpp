#pragma once
// Dialog6 "載荷情報の入力": start day and construction days of each loading
// stage, written back on OK only. Row r is stage r.
#include "dialogs/dialog_base.hpp"
#include "dialogs/grid/qex_flg.hpp"

class QLabel;
class QPushButton;

namespace kova {

class Dialog6 : public CommitDialog {
    Q_OBJECT
public:
    Dialog6(EditorHost& host, QWidget* owner);

    grid::QEX_FLG* Qflg_KK = nullptr;
    QPushButton* OKButton = nullptr;
    QPushButton* CancelButton = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QWidget* Picture1 = nullptr;

protected:
    bool Commit() override;
    void Unload() override;
};

}  // namespace kova
