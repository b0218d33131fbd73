#pragma once

#include "board.h"

namespace reversi {

// The board's cells as assistive technologies count them: row by row from the top, each row
// from the left.
constexpr int cellIndex(CellPos cell) {
    return cell.y * Board::size + cell.x;
}
constexpr CellPos cellAtIndex(int index) {
    return {index % Board::size, index / Board::size};
}

// Makes assistive technologies meet every board cursor as a table of 8 by 8 cells; once is
// enough for the whole program.
void installBoardAccessibility();

}  // namespace reversi
