#include "platform/qt/fixed_dialog_qt.hpp"

#include <QEvent>
#include <QMetaObject>

namespace kova {
namespace {

class KeepNormalState : public QObject {
public:
    explicit KeepNormalState(QWidget* window) : QObject(window), window_(window) {}

    bool eventFilter(QObject* watched, QEvent* e) override {
        if (watched == window_ && e->type() == QEvent::WindowStateChange &&
            (window_->windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen))) {
            // After the change has run its course, not inside it.
            QMetaObject::invokeMethod(
                this,
                [w = window_] {
                    w->setWindowState(w->windowState() &
                                      ~(Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen));
                    if (w->isVisible()) {
                        w->raise();
                        w->activateWindow();
                    }
                },
                Qt::QueuedConnection);
        }
        return false;
    }

private:
    QWidget* window_;
};

}  // namespace

void MakeFixedDialog(QWidget* window, Qt::WindowType kind) {
    window->setWindowFlags((kFixedDialogFlags & ~Qt::WindowType_Mask) | kind);
    window->installEventFilter(new KeepNormalState(window));
}

}  // namespace kova
