#pragma once
// Dialog7 "沈下予測個所の入力": the project title and the calculation
// positions, live-edit; the canvas follows every position edit.
#include <QString>

#include "dialogs/table_dialog.hpp"

class QLineEdit;

namespace kova {

class Dialog7 : public LiveTableDialog {
    Q_OBJECT
public:
    Dialog7(EditorHost& host, QWidget* owner);

    QLineEdit* txt_dg7 = nullptr;
    grid::QEX_FLG* Qflg_KP = nullptr;

protected:
    void Unload() override;
    void CellEdited() override;

private:
    void TitleChanged(const QString& text);

    QString shownTitle_;
};

}  // namespace kova
