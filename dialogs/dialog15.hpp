#pragma once
// Dialog15 "矢板（仕切り線）": the sheet pile walls, live-edit.
#include <vector>

#include "dialogs/dialog_base.hpp"
#include "dialogs/grid/qex_flg.hpp"

class QLabel;
class QPushButton;

namespace kova {

class Dialog15 : public LiveEditDialog {
    Q_OBJECT
public:
    Dialog15(EditorHost& host, QWidget* owner);

    grid::QEX_FLG* Qflg_YT = nullptr;
    QPushButton* OKButton = nullptr;
    QPushButton* CancelButton = nullptr;
    QLabel* Label1 = nullptr;

protected:
    void TakeSnapshot() override;
    void RestoreSnapshot() override;
    void Unload() override;

private:
    void CellEdited();
    std::vector<SheetPileRec> saved_;
    i16 savedCount_ = 0;
};

}  // namespace kova
