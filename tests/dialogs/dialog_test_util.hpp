#pragma once
// Driving the real dialogs in tests: typing into grid cells through their
// editors, keys on the grid, and the fake main window.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

#include "dialogs/grid/qex_flg.hpp"
#include "testing/fakes.hpp"
#include "testing/qt/fake_editor_host.hpp"
#include "tests/support/qt_app.hpp"

namespace kova::test {

// Types text into cell (row, col) through the cell editor and ends the edit
// with `end` (Enter by default), as the user does.
inline void TypeCell(grid::QEX_FLG& g, int row, int col, const QString& text, Qt::Key end = Qt::Key_Return) {
    g.setFocus();
    g.SetCurrentCell(row, col);
    g.edit(g.currentIndex());
    auto* ed = g.viewport()->findChild<QLineEdit*>();
    ASSERT_NE(ed, nullptr) << "cell " << row << "," << col << " cannot be edited";
    ed->selectAll();
    KeyText(ed, text);
    QTest::keyClick(ed, end);
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
}

// Types text into cell (row, col) and ends the edit by clicking cell
// (toRow, toCol) with the mouse, as the user does when leaving a cell for
// another one.
inline void TypeCellThenClick(grid::QEX_FLG& g, int row, int col, const QString& text, int toRow, int toCol) {
    // The click moves the focus out of the editor only in the active window.
    g.window()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(g.window()));
    g.setFocus();
    g.SetCurrentCell(row, col);
    g.edit(g.currentIndex());
    auto* ed = g.viewport()->findChild<QLineEdit*>();
    ASSERT_NE(ed, nullptr) << "cell " << row << "," << col << " cannot be edited";
    ed->selectAll();
    KeyText(ed, text);
    const QRect at = g.visualRect(g.Model().index(toRow - 1, toCol));
    ASSERT_TRUE(at.isValid()) << "cell " << toRow << "," << toCol << " is not shown";
    QTest::mouseClick(g.viewport(), Qt::LeftButton, Qt::NoModifier, at.center());
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
}

// Picks item `index` of a drop-down cell.
inline void PickCell(grid::QEX_FLG& g, int row, int col, int index) {
    g.setFocus();
    g.SetCurrentCell(row, col);
    g.edit(g.currentIndex());
    auto* box = g.viewport()->findChild<QComboBox*>();
    ASSERT_NE(box, nullptr) << "cell " << row << "," << col << " has no list";
    box->setCurrentIndex(index);
    QTest::keyClick(box, Qt::Key_Return);
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
}

// A key on the grid itself (Insert, Ctrl+Delete) at a cell.
inline void GridKey(grid::QEX_FLG& g, int row, int col, Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    g.setFocus();
    g.SetCurrentCell(row, col);
    QTest::keyClick(&g, key, mods);
}

inline bool CellEditable(const grid::QEX_FLG& g, int row, int col) { return g.Model().IsEditable(row, col); }

// The texts of the boxes shown, in order.
inline std::vector<std::string> Texts(const RecordingMessages& m) {
    std::vector<std::string> out;
    for (const Message& x : m.shown) out.push_back(x.text);
    return out;
}

}  // namespace kova::test
