#pragma once
// "土質定数の入力": the consolidation curves of the clay layers, chosen in a
// selector, edited point by point and shown in a plot. Live edit: every
// finished edit is stored at once; "ｷｬﾝｾﾙ" and the close box put back the
// curves as they were on opening.
#include <memory>

#include "dialogs/dialog5_form.hpp"
#include "dialogs/dialog_base.hpp"
#include "dialogs/grid/qex_flg.hpp"

class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace kova {

namespace grid {
class NumberBox;
}
class PictureBoxWidget;

class Dialog5 : public LiveEditDialog {
    Q_OBJECT
public:
    Dialog5(EditorHost& host, QWidget* owner);
    ~Dialog5() override;

    Dialog5Form& Form() { return *form_; }
    QTableWidget* Qflg_YD() { return selector_; }
    grid::QEX_FLG* Qflg_GD() { return points_; }
    PictureBoxWidget* Picture1() { return plot_; }
    QLineEdit* txt_x() { return txtX_; }
    QLineEdit* txt_y() { return txtY_; }
    QLabel* lbl_1() { return lbl1_; }
    QLabel* lbl_2() { return lbl2_; }
    // The line above the point grid: what to do next.
    QLabel* Label1_1() { return head1_; }
    QPushButton* OKButton() { return ok_; }
    QPushButton* CancelButton() { return cancel_; }
    QPushButton* cmd_dg5() { return sand_; }

protected:
    void TakeSnapshot() override;
    void RestoreSnapshot() override;
    bool CheckOnOk() override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void FillSelector();
    void SelectorMoved(int row, int col, int prevRow, int prevCol);
    void LoadPointGrid();
    void SetPointsEditable(bool on);
    void PointsEdited();
    void BoxEdited(bool xBox, const QString& text);
    void BoxRestored(bool xBox, const QString& text);
    void OpenSandCurves();

    std::unique_ptr<Dialog5Form> form_;
    QTableWidget* selector_ = nullptr;
    grid::QEX_FLG* points_ = nullptr;
    PictureBoxWidget* plot_ = nullptr;
    QLineEdit* txtX_ = nullptr;
    QLineEdit* txtY_ = nullptr;
    grid::NumberBox* checkX_ = nullptr;
    grid::NumberBox* checkY_ = nullptr;
    QLabel* head1_ = nullptr;
    QLabel* lbl1_ = nullptr;
    QLabel* lbl2_ = nullptr;
    QPushButton* ok_ = nullptr;
    QPushButton* cancel_ = nullptr;
    QPushButton* sand_ = nullptr;
};

}  // namespace kova
