#pragma once
// What every fixed dialog of both programs must be: a title and a close box,
// no minimise or maximise box, and a minimised, maximised or full-screen
// state undone at once (a window manager may offer them from its own title
// bar whatever the window asks for).
#include <gtest/gtest.h>

#include <QTest>
#include <QWidget>
#include <string>

namespace kova::test {

inline void ExpectFixedDialog(QWidget* d) {
    const std::string name = d->windowTitle().toStdString();
    const Qt::WindowFlags f = d->windowFlags();
    EXPECT_TRUE(f & Qt::CustomizeWindowHint) << name;
    EXPECT_TRUE(f & Qt::WindowCloseButtonHint) << name;
    EXPECT_FALSE(f & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)) << name;
    d->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(d)) << name;
    for (Qt::WindowState state : {Qt::WindowMinimized, Qt::WindowMaximized, Qt::WindowFullScreen}) {
        d->setWindowState(state);
        EXPECT_TRUE(QTest::qWaitFor([d] { return d->windowState() == Qt::WindowNoState; }, 1000))
            << name << " state " << int(state);
    }
    EXPECT_TRUE(d->isVisible()) << name;
    d->hide();
}

}  // namespace kova::test
