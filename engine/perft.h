#pragma once

#include <cstdint>

#include "board.h"

namespace reversi {

// Number of leaf positions reached from `board` with `toMove` to move after `depth` plies. A
// forced pass is one ply; a position in which neither side can move is a leaf where reached.
std::uint64_t perft(const Board& board, Cell toMove, int depth);

}  // namespace reversi
