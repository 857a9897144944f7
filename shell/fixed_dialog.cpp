#include "shell/fixed_dialog.hpp"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>

#include "platform/qt/fixed_dialog_qt.hpp"
#include "platform/qt/screen_qt.hpp"
#include "shell/form_geometry.hpp"

namespace kova {

FixedDialog::FixedDialog(QWidget* owner, const QString& caption, Qt::WindowType kind) : QDialog(owner) {
    MakeFixedDialog(this, kind);
    setWindowTitle(caption);
}

TwipsScale FixedDialog::Twips() const { return ScreenTwips(this); }
int FixedDialog::Px(int twipsX) const { return Twips().ToPixelsX(twipsX); }
int FixedDialog::Py(int twipsY) const { return Twips().ToPixelsY(twipsY); }

void FixedDialog::SetClientTwips(int width, int height) { setFixedSize(Px(width), Py(height)); }

void FixedDialog::PlaceTwips(QWidget* w, int left, int top, int width, int height) const {
    w->setGeometry(TwipsRect(Twips(), left, top, width, height));
}

void FixedDialog::PlaceTextTwips(QWidget* w, int left, int top, int width, int height) const {
    kova::PlaceTwips(w, Twips(), left, top, width, height);
}

void FixedDialog::CentreOn(const QWidget* on) {
    QRect area = on ? on->window()->frameGeometry() : QRect();
    if (!on || !on->isVisible()) {
        if (QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen()) area = s->availableGeometry();
    }
    if (area.isValid()) move(area.center() - QPoint(width() / 2, height() / 2));
}

void FixedDialog::keyPressEvent(QKeyEvent* e) {
    // The buttons answer neither Enter nor Esc.
    if (e->key() == Qt::Key_Escape || e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
        e->accept();
        return;
    }
    QDialog::keyPressEvent(e);
}

}  // namespace kova
