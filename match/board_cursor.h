#pragma once

#include <QColor>
#include <QWidget>
#include <array>
#include <functional>

#include "accessibility.h"
#include "board.h"

namespace reversi {

// The board as the keyboard and assistive technologies meet it: a see-through widget over the
// grid that takes the keyboard focus. The arrow keys move a cell cursor, which stops at the
// board's edges, and Enter or Space plays the cursor's cell. The cursor is a thin outline inside
// the cell's grid lines, shown only once one of these keys has been pressed and only while the
// board has the focus: a player who uses only the mouse never sees it. It is painted over the
// window's board picture and never into it. Mouse presses pass through to the window.
//
// To assistive technologies it is a table of 64 cells, each named by its place and what it
// holds; the cursor's cell is the focused one, and each cell's action plays it.
class BoardCursor : public QWidget {
  public:
    // Where the cursor starts: d4, the top-left disc of the starting position, in the middle.
    static constexpr CellPos startCell{3, 3};

    // What a cell holds, in words: "empty" or the name of the side whose disc it is.
    using CellContent = std::function<QString(CellPos)>;

    // `play` is called with the cursor's cell when Enter or Space plays it.
    BoardCursor(QColor colour, std::function<void(CellPos)> play, CellContent content,
                QWidget* parent);

    CellPos cell() const { return cell_; }
    // Plays a cell as Enter or Space on it would.
    void play(CellPos cell) { play_(cell); }
    // A cell's place and content, as a screen reader says it: "d4, Red".
    QString cellText(CellPos cell) const;
    // Assistive technologies hear of each cell whose content changed since they last did.
    void cellsChanged();
    // Says `text` to assistive technologies: the board's description, and the focused cell's
    // until the cursor moves on.
    void say(const QString& text);
    const QString& lastSaid() const { return lastSaid_; }
    QString lastSaidHere() const { return saidHere_ ? lastSaid_ : QString(); }
    // Where a cell lies on this widget, at the window's scale.
    QRect cellArea(CellPos cell) const;
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

    // Assistive technologies hear that the cursor's cell has the focus.
    void announceFocusedCell();

    QColor colour_;
    std::function<void(CellPos)> play_;
    CellContent content_;
    std::array<QString, Board::cellCount> contentSeen_;  // what assistive technologies last heard
    accessibility::Announcer* announcer_;
    QString lastSaid_;
    bool saidHere_ = false;  // the last thing said was said about the cursor's cell
    CellPos cell_ = startCell;
    bool outlineShown_ = false;
    qreal scale_ = 1;
};

}  // namespace reversi
