#include "editor/run_notice.hpp"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

#include "platform/qt/qt_text.hpp"
#include "platform/qt/screen_qt.hpp"
#include "shell/app_identity.hpp"

namespace kova {

RunningBox::RunningBox(QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setObjectName("running_box");
    setWindowTitle(Q(KovaApp().title));
    setModal(true);
    setFont(FormFont("ＭＳ Ｐゴシック", 9));
    const TwipsScale s = ScreenTwips(this);
    auto* label = new QLabel(Q(kRunningText), this);
    label->setAlignment(Qt::AlignCenter);
    label->setGeometry(TwipsRect(s, 120, 180, 2760, 300));
    stopButton_ = new QPushButton(Q(kStopCaption), this);
    stopButton_->setAutoDefault(false);
    stopButton_->setGeometry(TwipsRect(s, 960, 660, 1080, 375));
    connect(stopButton_, &QPushButton::clicked, this, &RunningBox::StopClicked);
    setFixedSize(s.ToPixelsX(3000), s.ToPixelsY(1200));
}

void RunningBox::Show(std::function<void()> stop) {
    stop_ = std::move(stop);
    stopButton_->setEnabled(true);
    // A disabled owner disables its child windows; this one must answer.
    setEnabled(true);
    if (QWidget* owner = parentWidget()) {
        const QRect area = owner->window()->frameGeometry();
        move(area.center() - QPoint(width() / 2, height() / 2));
    }
    show();
    raise();
    activateWindow();
}

void RunningBox::Hide() {
    // The program has ended: its stop must not be called any more.
    stop_ = nullptr;
    hiding_ = true;
    hide();
    hiding_ = false;
}

void RunningBox::StopClicked() {
    stopButton_->setEnabled(false);
    if (auto stop = stop_) stop();
}

void RunningBox::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Escape) {
        e->accept();
        return;
    }
    QDialog::keyPressEvent(e);
}

void RunningBox::closeEvent(QCloseEvent* e) {
    if (hiding_) {
        e->accept();
        return;
    }
    e->ignore();
}

}  // namespace kova
