#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace reversi {

// The content of a board cell.
using Cell = std::int32_t;

namespace CellCode {
inline constexpr Cell empty = 0;
inline constexpr Cell first = 3;   // the side that moves first
inline constexpr Cell second = 7;  // the other side
}  // namespace CellCode

// The opposing side of `side` (3 <-> 7).
constexpr Cell opponentOf(Cell side) {
    return side == CellCode::second ? CellCode::first : CellCode::second;
}

struct CellPos {
    int x = 0;  // column, 0 at the left
    int y = 0;  // row, 0 at the top
    friend bool operator==(const CellPos&, const CellPos&) = default;
};

// The 8 by 8 playing area inside a ring of border cells that always read empty, so that a
// line scan may read one cell past the edge in any direction without a bounds test.
class Board {
  public:
    static constexpr int size = 8;
    static constexpr int cellCount = size * size;

    // Reads a cell; x and y may lie one step outside 0..7 (the border ring).
    Cell at(int x, int y) const { return cells_[index(x, y)]; }
    Cell at(CellPos c) const { return at(c.x, c.y); }

    // Writes a cell of the playing area (x and y in 0..7).
    void set(int x, int y, Cell code) { cells_[index(x, y)] = code; }
    void set(CellPos c, Cell code) { set(c.x, c.y, code); }

    // Every cell, border included, becomes empty.
    void clear() { cells_.fill(CellCode::empty); }

    // Clears the board and sets the four starting discs.
    void setStartPosition();

    // Copies each of the 64 playing cells of `other` that holds 0, 3 or 7; the border stays.
    void refreshFrom(const Board& other);

    // Number of playing cells holding `code`.
    int count(Cell code) const;

    // The border ring, for checks: every border cell reads empty.
    bool borderIsEmpty() const;

    friend bool operator==(const Board&, const Board&) = default;

  private:
    static constexpr int stride = size + 2;
    static constexpr int index(int x, int y) { return (y + 1) * stride + (x + 1); }

    std::array<Cell, stride * stride> cells_{};
};

// A board written as 64 characters, rows from the top, each row left to right: '.' empty,
// 'X' the first side, 'O' the second side. Nothing when the text is not such a board.
std::optional<Board> boardFromText(std::string_view text);
// The inverse of boardFromText.
std::string boardToText(const Board& board);

}  // namespace reversi
