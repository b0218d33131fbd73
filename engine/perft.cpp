#include "perft.h"

#include "rules.h"

namespace reversi {

std::uint64_t perft(const Board& board, Cell toMove, int depth) {
    if (depth == 0) return 1;
    const Cell waiting = opponentOf(toMove);
    std::uint64_t leaves = 0;
    bool moved = false;
    for (int x = 0; x < Board::size; ++x) {
        for (int y = 0; y < Board::size; ++y) {
            if (board.at(x, y) != CellCode::empty) continue;
            if (captureTotal(board, x, y, toMove, waiting) == 0) continue;
            moved = true;
            Board next = board;
            next.set(x, y, toMove);
            flipCaptures(next, x, y, toMove, waiting, [](int, int) {});
            leaves += perft(next, waiting, depth - 1);
        }
    }
    if (moved) return leaves;
    if (hasAnyMove(board, waiting, toMove)) return perft(board, waiting, depth - 1);
    return 1;
}

}  // namespace reversi
