#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <random>

#include "board.h"
#include "game.h"

namespace reversi {

// Where the computer's random choices come from, so tests can script them.
class RandomSource {
  public:
    virtual ~RandomSource() = default;
    // A uniform integer from 0 to n - 1 (n >= 1).
    virtual int below(int n) = 0;
};

// A Mersenne Twister, seeded from the clock unless a seed is given. The draw is made by
// rejection on the raw 32-bit output, so a seed gives the same draws with any standard library.
class MersenneRandom final : public RandomSource {
  public:
    MersenneRandom();
    explicit MersenneRandom(std::uint32_t seed) : engine_(seed) {}

    int below(int n) override;

  private:
    std::mt19937 engine_;
};

// A board-shaped table of counts indexed [x][y]: looping over the outer index and then the
// inner one visits the cells in column order.
using CountTable = std::array<std::array<int, Board::size>, Board::size>;

// Whether a table holds anything to choose from: the sum of its cells is not 0.
bool hasCandidate(const CountTable& table);

// What the computer sees on the board for the side to move.
struct Rating {
    // Discs a move of the side to move would capture at each empty cell; 0 elsewhere.
    CountTable captureCounts{};
    // The last corner in column order where a move captures.
    std::optional<CellPos> corner;

    // captureCounts without the corner neighbours.
    CountTable safeCounts() const;
    // captureCounts without columns 1 and 6 and rows 1 and 6.
    CountTable innerCounts() const;
};

// The computer's side of a versus-computer game: it rates every empty cell by the discs a move
// there captures, takes a corner at once from level 2 up, avoids the cells next to the corners
// (and at levels 4 and 5 the whole second ring), and picks one cell by its level. It plays the
// side to move of `game`, which is the second side whenever the window starts its turn.
class Computer {
  public:
    static constexpr int lowestLevel = 1;
    static constexpr int highestLevel = 5;
    // Attempts of the level's choice before the computer settles for its largest capture. Only
    // the smallest-capture choice can fail, and only when every candidate takes more than ten
    // discs, so with real draws the limit is never reached.
    static constexpr int maxChoiceAttempts = 100;

    // The three cells next to each corner: (0, 0), (0, 7), (7, 7), (7, 0).
    // clang-format off
    static constexpr std::array<CellPos, 12> cornerNeighbours{{
        {0, 1}, {1, 1}, {1, 0},
        {0, 6}, {1, 6}, {1, 7},
        {6, 7}, {6, 6}, {7, 6},
        {6, 0}, {6, 1}, {7, 1},
    }};
    // clang-format on

    // Draws from a Mersenne Twister seeded from the clock now.
    explicit Computer(Game& game);
    Computer(Game& game, std::unique_ptr<RandomSource> random);

    // 1 to 5 once the window's first game has started; 0 before.
    int level() const { return level_; }
    // level := position when it is a level from 1 to 5; any other position changes nothing.
    void setLevel(int position);

    // The board as the computer sees it for the side to move.
    Rating rate() const;

    // The computer's turn: rates the cells, then plays the corner or lets the level choose.
    // Returns whether a disc was placed; when the computer has no capturing move it places
    // nothing and hands the turn back. Does nothing unless the second side is to move.
    bool playTurn();

    // The rating and choice of playTurn without playing: the cell the computer would play
    // for the side to move, or nothing when that side has no capturing move.
    std::optional<CellPos> chooseMove();

    // The largest value of `table` on an empty cell; ties go to the last in column order.
    std::optional<CellPos> pickMost(const CountTable& table) const;
    // The smallest value from 1 to 9 of `table` on an empty cell, or when there is none, a
    // cell holding exactly 10; ties go to the last in column order. Falls back to `corner`,
    // else chooses nothing.
    std::optional<CellPos> pickLeast(const CountTable& table, std::optional<CellPos> corner) const;

  private:
    // The rating's corner when the corner rule applies at this level.
    std::optional<CellPos> cornerChoice(const Rating& rating) const;
    // The level's choice, retried with fresh draws while an attempt fails.
    std::optional<CellPos> chooseByLevel(const Rating& rating);
    // One attempt of the level's choice; `mayTakeLeast` false skips the draw and takes the most.
    std::optional<CellPos> levelChoice(const Rating& rating, const CountTable& safe,
                                       const CountTable& inner, bool mayTakeLeast);
    // An empty cell where the side to move captures at least one disc.
    bool capturesAt(CellPos cell) const;
    // Plays the cell, or hands the turn back when there is none.
    bool playOrHandOver(std::optional<CellPos> cell);

    Game& game_;
    std::unique_ptr<RandomSource> random_;
    int level_ = 0;
};

}  // namespace reversi
