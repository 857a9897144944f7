#pragma once
// Dialog13 "沈下量・沈下時間の予測": the calculation conditions asked before
// every run. "計算" stores them; "ｷｬﾝｾﾙ", Esc and the close box cancel the
// run (cmd_mode -1).
#include <array>

#include "dialogs/dialog_base.hpp"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace kova {

namespace grid {
class NumberBox;
}

class Dialog13 : public CommitDialog {
    Q_OBJECT
public:
    Dialog13(EditorHost& host, QWidget* owner);

    QPushButton* OKButton = nullptr;
    QPushButton* CancelButton = nullptr;
    std::array<QCheckBox*, 3> chk_dg12{};
    std::array<QComboBox*, 2> cmb_dg12{};
    std::array<QRadioButton*, 2> opt_dg12{};
    std::array<QLineEdit*, 2> txt_dg12{};

    void CancelRun();

protected:
    bool Commit() override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    QGroupBox* Frame(const QString& caption, int left, int top, int width, int height);
    void PlaceIn(QWidget* w, int left, int top, int width, int height);

    QString shownLeave_, shownResidual_;
    std::array<grid::NumberBox*, 2> checks_{};
};

}  // namespace kova
