#pragma once

#include <QPoint>
#include <QRect>
#include <chrono>
#include <optional>

#include "board.h"
#include "canvas.h"
#include "theme.h"

class QPainter;

namespace reversi {

class LayoutWindow;

// Where the board lies in a match window's layout, in its pixels.
namespace geometry {
inline constexpr int gridOrigin = 50;  // top-left corner of cell (0, 0)
inline constexpr int gridEnd = 690;    // the last grid line
inline constexpr int cellSize = 80;
inline constexpr int discInset = 10;  // disc box inside its cell square
inline constexpr int discSize = 60;
inline constexpr int dotRadius = 5;

// Top-left pixel of the disc box of a column or row.
constexpr int discOrigin(int index) {
    return index * cellSize + gridOrigin + discInset;
}

// The cell a press at a layout pixel plays, or nothing when it lies outside the 8 by 8 grid.
// The index is the distance from the grid's corner divided by the cell size and truncated
// toward zero, so the 50-pixel bands left of and above the grid play column or row 0, and a
// press on a grid line plays the cell right of or below it.
std::optional<CellPos> cellAt(QPoint pixel);

// The centre of a cell's disc: where the keyboard plays the cell.
constexpr QPoint cellCentre(CellPos cell) {
    return {discOrigin(cell.x) + discSize / 2, discOrigin(cell.y) + discSize / 2};
}
}  // namespace geometry

// The board as a match window shows it: the grid, the discs and the rejected-move marker,
// drawn into a retained canvas at the resolution the window shows it at, and discs that grow.
// What it draws shows at once, so that a growing disc can be seen growing.
class BoardView {
  public:
    BoardView(LayoutWindow& window, const Theme& theme, QSize layoutSize);

    const Canvas& canvas() const { return canvas_; }
    // The least time one step of a growing disc takes (31 by 31 steps); 0 draws without pausing.
    void setGrowStep(std::chrono::nanoseconds step) { growStep_ = step; }
    // Whether growing discs are seen growing: a visible window with a pause between steps.
    bool animated() const;

    // The grid and every cell of `board` at once, empty cells blank.
    void drawBoard(const Board& board);
    // A disc with its centre dot at once.
    void drawDisc(CellPos cell, Cell side);
    // A disc growing from a vertical line through the cell's centre to the whole disc, over
    // whatever the cell showed.
    void growDisc(CellPos cell, Cell side);
    // The rejected-move marker when `shown`, otherwise the cell's disc box blank.
    void drawMarker(CellPos cell, bool shown);

    // Paints the part of the window's `area` (its logical pixels) that shows the board.
    void paint(QPainter& painter, QRect area);
    // Nobody sees the board: its pixels go until it is painted again.
    void release() { canvas_.release(); }
    // The canvas at the resolution the window shows it at: the screen's, times the layout's
    // scale. A new one draws the board again, never resampled.
    void matchCanvasToScreen();

  private:
    static QRect discBox(CellPos cell);
    QColor sideColour(Cell side) const;
    void fillDisc(CellPos cell, QColor colour);
    void drawCentreDot(CellPos cell);
    void growDelay();
    // Shows the window's pixels of what was drawn at once, and of anything pending.
    void flush(QRect area);
    // The same at most once a frame.
    void flushIfDue(QRect area);

    LayoutWindow& window_;
    const Theme& theme_;
    Canvas canvas_;
    std::chrono::nanoseconds growStep_;
    std::chrono::steady_clock::time_point growDeadline_;
    std::chrono::steady_clock::time_point lastFlush_;
    QRect pendingFlush_;
};

}  // namespace reversi
