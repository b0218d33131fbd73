#pragma once

#include <climits>
#include <string>
#include <string_view>
#include <utility>

#include "board.h"

namespace reversi {

// Texts the rules show.
namespace texts {
inline constexpr std::string_view correctStep = "Correct step";
inline constexpr std::string_view incorrectStep = "Incorrect step";
inline constexpr std::string_view lose = "lose!";
inline constexpr std::string_view noOne = "No one";
inline constexpr std::string_view draw = "Draw!";
}  // namespace texts

// Everything the rules show or draw. A match window implements it; tests record it.
class GameView {
  public:
    virtual ~GameView() = default;

    // The disc counts of the first and second side (the two count labels).
    virtual void showCounts(int firstCount, int secondCount) = 0;
    // The verdict on a tested move (the verdict label).
    virtual void showVerdict(std::string_view text) = 0;
    // The mover's disc placed by placeDisc, drawn at once in the disc box at (discX, discY).
    virtual void drawPlacedDisc(int discX, int discY, Cell side) = 0;
    // A flipped disc growing in the mover's colour at (discX, discY).
    virtual void drawGrowingDisc(int discX, int discY, Cell side) = 0;
    // The rejected-move marker when `shown`, otherwise the disc box in background colour.
    virtual void drawMarker(int discX, int discY, bool shown) = 0;
    // The clocks (the two clock labels), shown on every tick until a result freezes them.
    virtual void showClocks(int firstClock, int secondClock) = 0;
    // The end of a game: the loser's name or "No one", "lose!", and the draw text or nothing.
    virtual void showResult(std::string_view name, std::string_view drawText) = 0;
    // The turn hand-over at the end of a move has finished (also when it ended the game).
    virtual void turnHandedOver() = 0;
};

// A view that shows nothing, for tools and benchmarks.
class SilentView final : public GameView {
  public:
    void showCounts(int, int) override {}
    void showVerdict(std::string_view) override {}
    void drawPlacedDisc(int, int, Cell) override {}
    void drawGrowingDisc(int, int, Cell) override {}
    void drawMarker(int, int, bool) override {}
    void showClocks(int, int) override {}
    void showResult(std::string_view, std::string_view) override {}
    void turnHandedOver() override {}
};

enum class Outcome { firstLoses, secondLoses, draw };

// The side that loses by disc counts, or a draw.
constexpr Outcome outcomeByCounts(int firstCount, int secondCount) {
    if (firstCount < secondCount) return Outcome::firstLoses;
    if (firstCount > secondCount) return Outcome::secondLoses;
    return Outcome::draw;
}

// The game state of one match window and the rule operations on it. The operations read and
// change the fields below and report through the view, in the order the game's rules fix.
class Game {
  public:
    // markerCountdown values.
    static constexpr int markerIdle = -1;
    static constexpr int markerShownTicks = 2;
    static constexpr int gameOver = 99999999;

    Game(GameView& view, std::string firstName, std::string secondName)
        : firstName(std::move(firstName)), secondName(std::move(secondName)), view_(view) {}

    Board mainBoard;
    Board trialBoard;
    Cell sideToMove = CellCode::empty;
    Cell sideWaiting = CellCode::empty;
    int cellX = 0;
    int cellY = 0;
    int firstCount = 0;
    int secondCount = 0;
    int flipCount = 0;
    bool moveAccepted = false;
    bool canMove = false;
    int markerCountdown = markerIdle;
    bool gameRunning = false;
    int firstClock = 0;
    int secondClock = 0;
    // The disc origin: top-left pixel of the disc box being drawn.
    int discX = 0;
    int discY = 0;

    // The names shown when a side loses.
    std::string firstName;
    std::string secondName;

    // Counts both sides on mainBoard and shows the counts.
    void countDiscs();
    // canMove := whether sideToMove has a legal move on mainBoard.
    void updateCanMove();
    // Tests the move of sideToMove at (cellX, cellY) on trialBoard and shows the verdict.
    void testMove();
    // Places the mover's disc at (cellX, cellY) on mainBoard, draws it at once, recounts.
    void placeDisc();
    // Flips the discs the placed disc captures, recounts and hands the turn over.
    void flipCapturedDiscs();

    // Swaps the sides, or keeps the mover when the other side must pass, or ends the game.
    void handOver();
    // Clears both boards, sets the starting discs and shows 2 and 2.
    void setStartPosition();
    // Starts the clocks of a new game with a countdown of n ticks; false when n + 1 overflows.
    bool startClocks(int n);
    // One tick of the window's one-second timer: the marker, the clocks and the end rules.
    void tick();
    // The part of the tick that runs while gameRunning.
    void clockStep();
    // Shows the outcome and freezes the game.
    void gameEnd(Outcome outcome);

    // A click at window pixel (x, y): tests and plays a move, or shows the rejected-move
    // marker. Returns nothing; ignored while markerCountdown is not idle.
    void click(int x, int y);

    // A move chosen by the computer: the mover's disc grows at `cell`, the cell is written,
    // then flipCapturedDiscs. The caller makes sure the cell is empty and captures.
    void playCellAnimated(CellPos cell);

    // Puts the disc origin on the current cell.
    void setDiscOriginToCell() {
        discX = geometry::discOrigin(cellX);
        discY = geometry::discOrigin(cellY);
    }

  private:
    void swapSides();

    GameView& view_;
};

}  // namespace reversi
