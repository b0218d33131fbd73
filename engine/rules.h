#pragma once

#include <array>
#include <vector>

#include "board.h"

namespace reversi {

// One of the eight scan directions with the pre-test that skips lines leaving the board.
struct Direction {
    int dx;
    int dy;
    int minX, maxX, minY, maxY;  // the pre-test: the cell must lie in this range
    bool farEndFirst;            // captured discs are visited from the closing disc inward

    constexpr bool applies(int x, int y) const {
        return x >= minX && x <= maxX && y >= minY && y <= maxY;
    }
};

// Every scan of the eight directions uses this order: left, right, up, down, right down,
// left up, up right, down left.
inline constexpr std::array<Direction, 8> directions{{
    {-1, 0, 1, 7, 0, 7, true},
    {1, 0, 0, 5, 0, 7, false},
    {0, -1, 0, 7, 1, 7, true},
    {0, 1, 0, 7, 0, 5, false},
    {1, 1, 0, 5, 0, 5, false},
    {-1, -1, 2, 7, 2, 7, false},
    {1, -1, 0, 5, 2, 7, false},
    {-1, 1, 2, 7, 0, 5, false},
}};

// The capture line: the number of `waiting` discs that a move of `toMove` at (x, y) closes
// in direction `d`, or 0 when the direction captures nothing (including when it fails its
// pre-test). The cell (x, y) itself is not read. A side code of 0 (no game yet) never
// captures: an empty cell is not a disc of either side.
inline int captureRun(const Board& board, int x, int y, const Direction& d, Cell toMove,
                      Cell waiting) {
    if (toMove == CellCode::empty || waiting == CellCode::empty || !d.applies(x, y)) return 0;
    int n = 0;
    // The border ring reads empty, so the walk stops at most one cell past the edge.
    while (board.at(x + (n + 1) * d.dx, y + (n + 1) * d.dy) == waiting)
        ++n;
    if (n == 0 || board.at(x + (n + 1) * d.dx, y + (n + 1) * d.dy) != toMove) return 0;
    return n;
}

// Calls visit(i, j) for each of the n captured discs of a run, in the order in which they
// flip: from the closing disc toward the placed one for left and up, outward otherwise.
template <class Visit>
void visitRun(int x, int y, const Direction& d, int n, Visit&& visit) {
    for (int step = 0; step < n; ++step) {
        const int k = d.farEndFirst ? n - step : step + 1;
        visit(x + k * d.dx, y + k * d.dy);
    }
}

// Total number of discs a move at (x, y) captures over all eight directions.
inline int captureTotal(const Board& board, int x, int y, Cell toMove, Cell waiting) {
    int total = 0;
    for (const Direction& d : directions)
        total += captureRun(board, x, y, d, toMove, waiting);
    return total;
}

// The empty cells where `toMove` captures, in column order.
inline std::vector<CellPos> legalMoves(const Board& board, Cell toMove, Cell waiting) {
    std::vector<CellPos> moves;
    for (int x = 0; x < Board::size; ++x) {
        for (int y = 0; y < Board::size; ++y) {
            if (board.at(x, y) == CellCode::empty &&
                captureTotal(board, x, y, toMove, waiting) > 0) {
                moves.push_back({x, y});
            }
        }
    }
    return moves;
}

// Whether `toMove` has a capturing move on any empty cell.
inline bool hasAnyMove(const Board& board, Cell toMove, Cell waiting) {
    for (int x = 0; x < Board::size; ++x) {
        for (int y = 0; y < Board::size; ++y) {
            if (board.at(x, y) != CellCode::empty) continue;
            for (const Direction& d : directions) {
                if (captureRun(board, x, y, d, toMove, waiting) > 0) return true;
            }
        }
    }
    return false;
}

// Applies the flips of a move at (x, y) in every direction, calling visit(i, j) before each
// disc changes; returns the number of discs flipped. The mover's disc is not placed.
template <class Visit>
int flipCaptures(Board& board, int x, int y, Cell toMove, Cell waiting, Visit&& beforeFlip) {
    int flipped = 0;
    for (const Direction& d : directions) {
        const int n = captureRun(board, x, y, d, toMove, waiting);
        visitRun(x, y, d, n, [&](int i, int j) {
            ++flipped;
            beforeFlip(i, j);
            board.set(i, j, toMove);
        });
    }
    return flipped;
}

}  // namespace reversi
