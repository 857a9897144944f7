#pragma once
// "促進工法の入力": the ground improvement of every soil layer, stored on OK.
#include "dialogs/dialog11_form.hpp"
#include "dialogs/dialog_base.hpp"
#include "dialogs/grid/qex_flg.hpp"

class QPushButton;

namespace kova {

class Dialog11 : public CommitDialog {
    Q_OBJECT
public:
    Dialog11(EditorHost& host, QWidget* owner);

    grid::QEX_FLG* Qflg_SB() { return grid_; }
    QPushButton* OKButton() { return ok_; }
    QPushButton* CancelButton() { return cancel_; }

protected:
    bool Commit() override;

private:
    void CheckEdit();

    grid::QEX_FLG* grid_ = nullptr;
    QPushButton* ok_ = nullptr;
    QPushButton* cancel_ = nullptr;
};

}  // namespace kova
