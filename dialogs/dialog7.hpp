#pragma once
// Dialog7 "沈下予測個所の入力": the project title and the calculation
// positions, live-edit; the canvas follows every position edit.
#include <QString>

#include "dialogs/dialog_base.hpp"
#include "dialogs/grid/qex_flg.hpp"

class QLineEdit;
class QPushButton;

namespace kova {

class Dialog7 : public LiveEditDialog {
    Q_OBJECT
public:
    Dialog7(EditorHost& host, QWidget* owner);

    QLineEdit* txt_dg7 = nullptr;
    grid::QEX_FLG* Qflg_KP = nullptr;
    QPushButton* OKButton = nullptr;
    QPushButton* CancelButton = nullptr;

protected:
    void TakeSnapshot() override;
    void RestoreSnapshot() override;
    void Unload() override;

private:
    void TitleChanged(const QString& text);
    void CellEdited();

    StudyCond saved_;
    i16 savedCount_ = 0;
    QString shownTitle_;
};

}  // namespace kova
