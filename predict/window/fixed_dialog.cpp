#include "predict/window/fixed_dialog.hpp"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>

#include "platform/qt/fixed_dialog_qt.hpp"
#include "platform/qt/screen_qt.hpp"
#include "shell/form_geometry.hpp"

namespace kova::predict {

FixedDialog::FixedDialog(QWidget* owner, const QString& caption, int clientTwipsW, int clientTwipsH)
    : QDialog(owner) {
    MakeFixedDialog(this);
    setWindowTitle(caption);
    const TwipsScale s = ScreenTwips(this);
    setFixedSize(s.ToPixelsX(clientTwipsW), s.ToPixelsY(clientTwipsH));
}

void FixedDialog::PlaceTwips(QWidget* w, int left, int top, int width, int height) const {
    kova::PlaceTwips(w, ScreenTwips(this), left, top, width, height);
}

void FixedDialog::CentreOn(const QWidget* on) {
    QRect area;
    if (on) {
        area = on->frameGeometry();
    } else if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        area = screen->availableGeometry();
    }
    if (area.isValid()) move(area.center() - rect().center());
}

void FixedDialog::keyPressEvent(QKeyEvent* e) {
    // Neither Enter nor Esc closes the dialog or presses a button.
    if (e->key() == Qt::Key_Escape || e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
        e->accept();
        return;
    }
    QDialog::keyPressEvent(e);
}

}  // namespace kova::predict
