#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <initializer_list>
#include <memory>
#include <ostream>
#include <vector>

#include "computer.h"
#include "recording_view.h"

namespace reversi {
// Cells in failure messages as (x, y).
inline void PrintTo(const CellPos& cell, std::ostream* out) {
    *out << "(" << cell.x << ", " << cell.y << ")";
}
}  // namespace reversi

namespace reversi::test_support {

// Hands out the draws a test lists; a draw nobody listed fails the test.
class ScriptedRandom final : public RandomSource {
  public:
    std::deque<int> draws;
    std::vector<int> ranges;  // n of every draw asked for

    int below(int n) override {
        ranges.push_back(n);
        if (draws.empty()) {
            ADD_FAILURE() << "unexpected draw from 0.." << n - 1;
            return 0;
        }
        const int d = draws.front();
        draws.pop_front();
        EXPECT_LT(d, n);
        return d;
    }
};

// A game with the computer, its draws scripted, the second side to move.
struct ComputerGame : TestGame {
    ScriptedRandom* random = nullptr;
    Computer computer{game, keep(random)};

    explicit ComputerGame(int level) { computer.setLevel(level); }

    void setBoard(const Board& board, Cell toMove = CellCode::second) {
        game.setPosition(board, toMove);
    }
    // Rates and chooses with the given draws, without playing.
    std::optional<CellPos> choose(std::initializer_list<int> draws) {
        random->draws = draws;
        return computer.chooseMove();
    }

  private:
    static std::unique_ptr<RandomSource> keep(ScriptedRandom*& out) {
        auto source = std::make_unique<ScriptedRandom>();
        out = source.get();
        return source;
    }
};

// A board holding the first side's discs at `first` and the second side's at `second`.
inline Board position(std::initializer_list<CellPos> first, std::initializer_list<CellPos> second) {
    Board board;
    for (const CellPos& c : first)
        board.set(c, CellCode::first);
    for (const CellPos& c : second)
        board.set(c, CellCode::second);
    return board;
}

// The second side can take (1, 3) capturing five discs or (2, 0) capturing one.
inline Board fiveOrOne() {
    return position({{2, 3}, {3, 3}, {4, 3}, {5, 3}, {6, 3}, {3, 0}}, {{7, 3}, {4, 0}});
}

// The second side's only move, (3, 7), captures eleven discs.
inline Board onlyElevenAtBottom() {
    return position(
        {{3, 1}, {3, 2}, {3, 3}, {3, 4}, {3, 5}, {3, 6}, {4, 6}, {5, 5}, {6, 4}, {2, 6}, {1, 5}},
        {{3, 0}, {7, 3}, {0, 4}});
}

}  // namespace reversi::test_support
