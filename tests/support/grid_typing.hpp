#pragma once
// Typing into a table grid as a user does it: a click on the cell that is
// already current and the keys straight after it, with no pause, each key
// going to whatever has the keyboard focus at that moment.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QTest>

#include "dialogs/grid/qex_flg.hpp"

namespace kova::test {

// The keys of `text`, then Enter, each to the focus widget of the moment.
inline void KeysToFocus(const QString& text, bool enter = true) {
    for (const QChar ch : text) {
        QWidget* to = QApplication::focusWidget();
        ASSERT_NE(to, nullptr) << "no focus for '" << QString(ch).toStdString() << "'";
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(ch));
        QApplication::sendEvent(to, &press);
        QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(ch));
        QApplication::sendEvent(QApplication::focusWidget(), &release);
    }
    if (enter) {
        QWidget* to = QApplication::focusWidget();
        ASSERT_NE(to, nullptr);
        QTest::keyClick(to, Qt::Key_Return);
    }
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
}

// Makes (row, col) current, clicks it once more and types at once.
inline void ClickCurrentAndType(grid::QEX_FLG& g, int row, int col, const QString& text) {
    g.window()->activateWindow();
    g.setFocus();
    g.SetCurrentCell(row, col);
    QCoreApplication::processEvents();
    const QRect at = g.visualRect(g.Model().index(row - 1, col));
    ASSERT_TRUE(at.isValid()) << "cell " << row << "," << col << " is not shown";
    QTest::mouseClick(g.viewport(), Qt::LeftButton, Qt::NoModifier, at.center());
    KeysToFocus(text);
}

}  // namespace kova::test
