#pragma once
// Dialog1, the graph options: the target of the prediction with its value,
// the end condition of the curve and the notation of the time axis. Stored
// on OK only.
#include <array>

#include <QString>

#include "platform/message.hpp"
#include "predict/obsdata.hpp"
#include "shell/fixed_dialog.hpp"

class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace kova::grid {
class NumberBox;
}

namespace kova::predict {

class Dialog1 : public FixedDialog {
    Q_OBJECT
public:
    Dialog1(ObsSettings& settings, MessageSink& messages, QWidget* owner);

    void Form_Load();
    void OKButton_Click();
    void CancelButton_Click() { reject(); }

    QRadioButton* O2(int i) const { return o2_[static_cast<std::size_t>(i)]; }
    QRadioButton* O3(int i) const { return o3_[static_cast<std::size_t>(i)]; }
    QLineEdit* T1(int i) const { return t1_[static_cast<std::size_t>(i)]; }
    QLineEdit* T2() const { return t2_; }
    QPushButton* OKButton() const { return ok_; }
    QPushButton* CancelButton() const { return cancel_; }

private:
    ObsSettings& settings_;
    MessageSink& messages_;
    std::array<QRadioButton*, 4> o2_{};
    std::array<QRadioButton*, 2> o3_{};
    std::array<QLineEdit*, 3> t1_{};
    QLineEdit* t2_ = nullptr;
    // T1(0), T1(1), T1(2), T2 in the order they are made.
    std::array<grid::NumberBox*, 4> checks_{};
    std::array<QString, 4> filled_;  // what Form_Load wrote into them
    QPushButton* ok_ = nullptr;
    QPushButton* cancel_ = nullptr;
};

}  // namespace kova::predict
