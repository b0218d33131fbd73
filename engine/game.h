#pragma once

#include <climits>

#include "board.h"

namespace reversi {

enum class Outcome { firstLoses, secondLoses, draw };

// The side that loses by disc counts, or a draw.
constexpr Outcome outcomeByCounts(int firstCount, int secondCount) {
    if (firstCount < secondCount) return Outcome::firstLoses;
    if (firstCount > secondCount) return Outcome::secondLoses;
    return Outcome::draw;
}

// The verdict on a tested move: whether it captures.
enum class Verdict { correctStep, incorrectStep };

// Everything the rules show or draw. A match window implements it; tests record it.
class GameView {
  public:
    virtual ~GameView() = default;

    // The disc counts of the first and second side (the two count labels).
    virtual void showCounts(int firstCount, int secondCount) = 0;
    // The verdict on a tested move (the verdict label).
    virtual void showVerdict(Verdict verdict) = 0;
    // The mover's disc placed in a cell, drawn at once.
    virtual void drawPlacedDisc(CellPos cell, Cell side) = 0;
    // A disc growing in a cell in the mover's colour: a flipped one, or the computer's own.
    virtual void drawGrowingDisc(CellPos cell, Cell side) = 0;
    // The rejected-move marker in a cell when `shown`, otherwise the cell's disc erased.
    virtual void drawMarker(CellPos cell, bool shown) = 0;
    // The clocks (the two clock labels), shown on every tick until a result freezes them.
    virtual void showClocks(int firstClock, int secondClock) = 0;
    // The end of a game.
    virtual void showResult(Outcome outcome) = 0;
    // The turn hand-over at the end of a move has finished (also when it ended the game).
    virtual void turnHandedOver() = 0;
};

// A view that shows nothing, for tools and benchmarks.
class SilentView final : public GameView {
  public:
    void showCounts(int, int) override {}
    void showVerdict(Verdict) override {}
    void drawPlacedDisc(CellPos, Cell) override {}
    void drawGrowingDisc(CellPos, Cell) override {}
    void drawMarker(CellPos, bool) override {}
    void showClocks(int, int) override {}
    void showResult(Outcome) override {}
    void turnHandedOver() override {}
};

// The game of one match window and the rule operations on it. The operations report through
// the view, in the order the game's rules fix.
class Game {
  public:
    enum class Phase {
        notStarted,  // no game yet: the clocks do not run
        running,     // the clocks run
        paused,      // the player left the window; clicks still play
        over,        // a result is shown: clicks and the marker wait for a new game or a resume
    };

    explicit Game(GameView& view) : view_(view) {}

    Phase phase() const { return phase_; }
    // A game has started and has not ended.
    bool inProgress() const { return phase_ == Phase::running || phase_ == Phase::paused; }
    const Board& board() const { return board_; }
    Cell sideToMove() const { return sideToMove_; }
    Cell sideWaiting() const { return sideWaiting_; }
    // The disc counts last counted; a rejected move's test leaves them as they were.
    int firstCount() const { return firstCount_; }
    int secondCount() const { return secondCount_; }
    int firstClock() const { return firstClock_; }
    int secondClock() const { return secondClock_; }
    // Whether the rejected-move marker is on the board.
    bool markerShown() const { return phase_ != Phase::over && markerTicks_ > 0; }
    // Whether the side to move has a capturing move.
    bool sideToMoveCanMove() const;

    // The start position on the board; shows 2 and 2.
    void setStartPosition();
    // A new game: the start position, the first side to move, the clocks at `countdown` ticks
    // (the first side one tick more), running. False, changing nothing, when the first side's
    // clock would overflow.
    bool newGame(int countdown);
    // A position to go on from, `toMove` to move; counts and shows the discs.
    void setPosition(const Board& board, Cell toMove);
    // The clocks stop; a result stays a result.
    void pause();
    // A paused or finished game runs again and a shown marker is dropped; no effect before the
    // first game.
    void resume();
    // The rejected-move marker goes (the board is drawn without it) and clicks count again.
    void dropMarker() { markerTicks_ = markerIdle; }

    // One tick of the window's one-second timer: the marker, the clocks and the end rules.
    void tick();
    // A click on a cell: tests and plays a move there, or shows the rejected-move marker; an
    // occupied cell does nothing. Ignored from a rejected click until the tick after its
    // marker is erased, and while a result stands.
    void click(CellPos cell);
    // Tests the move of the side to move at `cell` without playing it: shows the counts it
    // would give and the verdict. Returns the number of discs it captures.
    int testMove(CellPos cell);

    // A move chosen by the computer: the mover's disc grows at `cell`, the cell is written,
    // then the captured discs flip. The caller makes sure the cell is empty and captures.
    void playCellAnimated(CellPos cell);
    // Swaps the sides, or keeps the mover when the other side must pass, or ends the game.
    void handOver();

  private:
    static constexpr int markerIdle = -1;
    static constexpr int markerShownTicks = 2;

    void countDiscs();
    void placeDisc();
    void flipCapturedDiscs();
    void swapSides();
    void clockStep();
    void gameEnd(Outcome outcome);

    Board board_;
    // The board a move is tested on before it is played.
    Board trialBoard_;
    Cell sideToMove_ = CellCode::empty;
    Cell sideWaiting_ = CellCode::empty;
    CellPos cell_{0, 0};
    int firstCount_ = 0;
    int secondCount_ = 0;
    int firstClock_ = 0;
    int secondClock_ = 0;
    // Ticks until the marker is erased; idle when no marker is pending.
    int markerTicks_ = markerIdle;
    CellPos markerCell_{0, 0};
    Phase phase_ = Phase::notStarted;

    GameView& view_;
};

}  // namespace reversi
