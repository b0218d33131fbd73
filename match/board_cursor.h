#pragma once

#include <QColor>
#include <QWidget>
#include <functional>

#include "board.h"

namespace reversi {

// The board as the keyboard and assistive technologies meet it: a see-through widget over the
// grid that takes the keyboard focus. The arrow keys move a cell cursor, which stops at the
// board's edges, and Enter or Space plays the cursor's cell. The cursor is a thin outline inside
// the cell's grid lines, shown only once one of these keys has been pressed and only while the
// board has the focus: a player who uses only the mouse never sees it. It is painted over the
// window's board picture and never into it. Mouse presses pass through to the window.
class BoardCursor : public QWidget {
  public:
    // Where the cursor starts: d4, the top-left disc of the starting position, in the middle.
    static constexpr CellPos startCell{3, 3};

    // `play` is called with the cursor's cell when Enter or Space plays it.
    BoardCursor(QColor colour, std::function<void(CellPos)> play, QWidget* parent);

    CellPos cell() const { return cell_; }
    bool outlineShown() const { return outlineShown_; }
    // Hides the outline until the next key; the cursor keeps its cell.
    void hideOutline();
    // The scale the window shows the board at (its layout is scaled down to fit a screen).
    void setScale(qreal scale);

    // A cell in the usual notation: columns a to h from the left, rows 1 to 8 from the top.
    static QString cellName(CellPos cell);

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

  private:
    void moveTo(CellPos cell);
    // The outline's outer edge around a cell, in the layout's pixels from the grid's corner.
    static QRect outline(CellPos cell);
    // Schedules the repainting of the outline around a cell.
    void updateOutline(CellPos cell);

    QColor colour_;
    std::function<void(CellPos)> play_;
    CellPos cell_ = startCell;
    bool outlineShown_ = false;
    qreal scale_ = 1;
};

}  // namespace reversi
