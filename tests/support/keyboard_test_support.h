#pragma once

#include <gtest/gtest.h>

#include <QTest>

#include "board_cursor.h"

namespace reversi::test_support {

// A key to whichever widget of the window has its keyboard focus, as the keyboard sends it.
inline void press(QWidget& window, Qt::Key key) {
    QWidget* focus = window.focusWidget();
    ASSERT_NE(focus, nullptr);
    QTest::keyClick(focus, key);
}

// Takes the board cursor to a cell with the arrow keys, the first key showing it, and presses
// `play` there.
inline void playByKeys(QWidget& window, const BoardCursor& cursor, CellPos cell,
                       Qt::Key play = Qt::Key_Return) {
    if (!cursor.outlineShown()) press(window, Qt::Key_Up);
    while (cursor.cell() != cell) {
        const CellPos at = cursor.cell();
        press(window, at.x < cell.x   ? Qt::Key_Right
                      : at.x > cell.x ? Qt::Key_Left
                      : at.y < cell.y ? Qt::Key_Down
                                      : Qt::Key_Up);
        ASSERT_NE(cursor.cell(), at) << "the cursor did not move";
    }
    press(window, play);
}

}  // namespace reversi::test_support
