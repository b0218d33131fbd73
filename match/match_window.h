#pragma once

#include <QPushButton>
#include <chrono>
#include <functional>
#include <optional>

#include "board_cursor.h"
#include "board_view.h"
#include "game.h"
#include "theme.h"
#include "widgets.h"

namespace reversi {

// A match window: the board, two clocks, the counts and the result, played with the mouse or
// the keyboard. This class is the two-player window; the versus-computer window builds on it
// through the steps it may add to.
class MatchWindow : public ModalWindow, private GameView {
  public:
    explicit MatchWindow(const MatchStyle& style, QWidget* parent = nullptr);

    // The least time one step of a growing disc takes (31 by 31 steps); 0 draws without pausing.
    void setGrowStep(std::chrono::nanoseconds step) { board_.setGrowStep(step); }

    const Theme& theme() const { return theme_; }
    const WindowProfile& profile() const { return profile_; }
    const Canvas& canvas() const { return board_.canvas(); }
    const Game& game() const { return game_; }
    // The game goes on from `board`, `toMove` to move, drawn at once: for tests and tools that
    // start from a position rather than play up to it.
    void setPosition(const Board& board, Cell toMove);

  protected:
    // The steps the versus-computer window adds to this window's.
    //
    // Before a new game is laid out ("Play!" or "Clear").
    virtual void beforeNewGame() {}
    // Whether a click on the board is taken now. Before a game a click shows the marker at most:
    // with nobody to move, no move captures.
    virtual bool acceptsClicks() const { return true; }
    // "Redraw" sets a paused or finished game running again.
    virtual void resumeGame() { game_.resume(); }
    // The turn has been handed over at the end of a move.
    void turnHandedOver() override {}

    Game& gameInPlay() { return game_; }
    // Paints the grid and every cell of the board at once.
    void redrawBoard();
    // Plays a move through `move` (a click on `clicked`, or the computer's turn) and says to
    // assistive technologies what it did: the cell, the discs turned, the counts, a pass and a
    // result, or that the click was not a move.
    void playAndSay(const std::function<void()>& move, std::optional<CellPos> clicked = {});

    void mousePressEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void layoutScaled() override;

  private:
    // The controls' handlers.
    void onExitClicked();
    void onPlayClicked();
    void onDumpBoardClicked();
    void onRedrawClicked();
    void onClockTick();
    // A click or a key on a cell.
    void playCell(CellPos cell);

    // Hides the labels and the redraw button, paints the background, sets the start position.
    void setInitialState();
    QPushButton* makeButton(const char* name, const QString& caption, QRect geometry);
    OpaqueLabel* makeLabel(const char* name, QPoint position, int fontPixels, Colour fontColour,
                           Colour background);

    // The steps of a new game: the last position, then the four starting discs grow, then the
    // countdown from the hand-off file (read before the window's first game, then deleted; it
    // throws when the countdown is not one the menu offers), then the labels.
    void growStartingDiscs();
    void startGameFromHandoff();
    void showStartLabels();
    void sayMove(const Board& before, Cell mover);
    // The verdict as the window shows it, followed by a comma; nothing where it shows none.
    QString shownVerdict() const;
    // Names the count and clock labels by side for assistive technologies, with their numbers as
    // values; a label that shows words (a result) is named by them.
    void nameLabels();
    // A side's name, and what a cell holds, as the window words them.
    QString sideName(Cell side) const;
    QString cellContent(CellPos cell) const;
    // The counts, as "Red 4, Yellow 1".
    QString countsText() const;

    // GameView
    void showCounts(int firstCount, int secondCount) override;
    void showVerdict(Verdict verdict) override;
    void drawPlacedDisc(CellPos cell, Cell side) override { board_.drawDisc(cell, side); }
    void drawGrowingDisc(CellPos cell, Cell side) override { board_.growDisc(cell, side); }
    void drawMarker(CellPos cell, bool shown) override { board_.drawMarker(cell, shown); }
    void showClocks(int firstClock, int secondClock) override;
    void showResult(Outcome outcome) override;

    const Theme& theme_;
    const WindowProfile& profile_;
    BoardView board_;
    Game game_;
    // The hand-off file is read once, before the window's first game.
    bool handoffRead_ = false;
    QString handoffText_;
    // A move is being played: its result is said with it, not on its own.
    bool playingMove_ = false;
    QString resultWords_;  // the last result as the window words it, e.g. "Red lose!"

    // The controls, each named as its member is without the underscore. The board's keyboard
    // cursor comes first in the keyboard's order, then the buttons.
    BoardCursor* boardCursor_;
    QPushButton* exitButton_;
    QPushButton* playButton_;
    QPushButton* dumpBoardButton_;
    QPushButton* redrawButton_;
    OpaqueLabel* firstCountLabel_;
    OpaqueLabel* secondCountLabel_;
    OpaqueLabel* firstClockLabel_;
    OpaqueLabel* secondClockLabel_;
    OpaqueLabel* verdictLabel_;
    OpaqueLabel* debugLabel_;
    PeriodicTimer* clockTimer_;
};

}  // namespace reversi
