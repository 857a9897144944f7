#pragma once
// What every fixed dialog of both programs must be: a title and a close box,
// no minimise or maximise box, and a minimised, maximised or full-screen
// state undone at once (a window manager may offer them from its own title
// bar whatever the window asks for).
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QDialog>
#include <QTest>
#include <QWidget>
#include <cstdlib>
#include <initializer_list>
#include <string>
#include <vector>

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

// True when the dialog's centre lies within a pixel of the area's (the
// halves of odd sizes round either way).
inline bool CentredIn(const QWidget* d, const QRect& area) {
    const QPoint c = d->pos() + QPoint(d->width() / 2, d->height() / 2);
    return std::abs(c.x() - area.center().x()) <= 1 && std::abs(c.y() - area.center().y()) <= 1;
}

// What the shared base gives every dialog it opens: a fixed size, and
// Enter, Return and Esc (or the given keys, for a dialog that gives one of
// them a meaning of its own) that neither close it nor press any of its
// buttons.
inline void ExpectFixedAndDeafToEnterAndEsc(QDialog* d, std::initializer_list<Qt::Key> keys = {
                                                            Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
    const std::string name = d->windowTitle().toStdString();
    EXPECT_EQ(d->minimumSize(), d->maximumSize()) << name;
    EXPECT_EQ(d->size(), d->minimumSize()) << name;
    int pressed = 0;
    std::vector<QMetaObject::Connection> watching;
    for (QAbstractButton* b : d->findChildren<QAbstractButton*>())
        watching.push_back(QObject::connect(b, &QAbstractButton::pressed, d, [&pressed] { ++pressed; }));
    d->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(d)) << name;
    for (Qt::Key key : keys) {
        QTest::keyClick(d, key);
        EXPECT_TRUE(d->isVisible()) << name << " key " << int(key);
    }
    EXPECT_EQ(pressed, 0) << name;
    for (const QMetaObject::Connection& c : watching) QObject::disconnect(c);
}

}  // namespace kova::test
