#pragma once
// Dialog0 "境界点の入力": the boundary points as a live-edit table. Lines of
// both line sets follow every row insert and delete.
#include <vector>

#include "dialogs/dialog_base.hpp"
#include "dialogs/grid/qex_flg.hpp"

class QPushButton;

namespace kova {

class Dialog0 : public LiveEditDialog {
    Q_OBJECT
public:
    Dialog0(EditorHost& host, QWidget* owner);

    grid::QEX_FLG* Qflg_NB = nullptr;
    QPushButton* OKButton = nullptr;
    QPushButton* CancelButton = nullptr;

protected:
    void TakeSnapshot() override;
    void RestoreSnapshot() override;
    bool CheckOnOk() override;

private:
    void CellEdited();
    void Renumber();
    void DuplicateMessage(int first, int second);

    std::vector<BoundaryPoint> savedPts_;
    i16 savedPtCount_ = 0;
    std::vector<BoundaryLine> savedBnd_, savedCut_;
    i16 savedBndCount_ = 0, savedCutCount_ = 0;
};

}  // namespace kova
