#pragma once
// One QApplication for the whole GUI test program (gtest_main has no hook
// of its own for it), and helpers to answer modal windows from a test.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>

namespace kova::test {

class QtAppEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        static int argc = 1;
        static char name[] = "kova_gui_tests";
        static char* argv[] = {name, nullptr};
        app_ = std::make_unique<QApplication>(argc, argv);
    }
    void TearDown() override { app_.reset(); }

private:
    std::unique_ptr<QApplication> app_;
};

inline ::testing::Environment* const kQtEnv = ::testing::AddGlobalTestEnvironment(new QtAppEnvironment);

// Waits (inside the modal loop about to start) for a modal window of type T
// and hands it to `act`, which must close it.
template <class T>
void WhenModal(std::function<void(T*)> act, int triesLeft = 200) {
    QTimer::singleShot(10, [act, triesLeft] {
        if (auto* w = qobject_cast<T*>(QApplication::activeModalWidget())) {
            act(w);
        } else if (triesLeft > 0) {
            WhenModal<T>(act, triesLeft - 1);
        } else {
            ADD_FAILURE() << "no modal window appeared";
        }
    });
}

}  // namespace kova::test

namespace kova::test {

// Types a text into a widget one character at a time, as key presses that
// carry the text (QTest's key clicks take ASCII only).
inline void KeyText(QWidget* w, const QString& text) {
    for (const QChar ch : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(ch));
        QApplication::sendEvent(w, &press);
        QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(ch));
        QApplication::sendEvent(w, &release);
    }
}

}  // namespace kova::test
