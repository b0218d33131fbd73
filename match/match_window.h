#pragma once

#include <QPushButton>
#include <chrono>

#include "board_cursor.h"
#include "canvas.h"
#include "game.h"
#include "theme.h"
#include "widgets.h"

namespace reversi {

// A match window: the board, two clocks, the counts and the result, played with the mouse or
// the keyboard. This class is the two-player window; the versus-computer window builds on it.
class MatchWindow : public ModalWindow, protected GameView {
  public:
    explicit MatchWindow(const MatchStyle& style, QWidget* parent = nullptr);

    // The least time one step of a growing disc takes (31 by 31 steps); 0 draws without pausing.
    void setGrowStep(std::chrono::nanoseconds step) { growStep_ = step; }

    const Theme& theme() const { return theme_; }
    const WindowProfile& profile() const { return profile_; }
    const Canvas& canvas() const { return canvas_; }
    const Game& game() const { return game_; }
    // The game goes on from `board`, `toMove` to move: for tests and tools that start from a
    // position rather than play up to it.
    void setPosition(const Board& board, Cell toMove) { game_.setPosition(board, toMove); }

    // Event handlers, public so that the program and tests can drive them directly.
    void onExitClicked();
    virtual void onPlayClicked();
    virtual void onDumpBoardClicked();
    void onRedrawClicked();
    void onWindowClicked(int x, int y);
    // Enter or Space on the board: the cursor's cell, played as a click on its centre.
    void onCellKeyed(CellPos cell);
    void onClockTick();

    // Paints the grid and every cell of the board at once.
    void redrawBoard();
    // A disc of `side` growing in a cell, as a flipped disc grows.
    void growDisc(CellPos cell, Cell side);

  protected:
    // The window's controls and its one-second clock, each named as
    // its member is without the underscore. The board's keyboard cursor comes first
    // in the keyboard's order, then the buttons.
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

    Game& gameInPlay() { return game_; }

    // Steps of a new game that both window kinds take.
    void growStartingDiscs();
    void readHandoffIfFirstStart();
    // A new game at the hand-off file's countdown, which it then deletes; throws when the
    // countdown is not one the menu offers.
    void startGameFromHandoff();
    void setStartLabelBackgrounds();

    // Whether a click on the board is taken now. Before a game a click shows the marker at most:
    // with nobody to move, no move captures.
    virtual bool acceptsClicks() const { return true; }
    // "Redraw" sets a paused or finished game running again.
    virtual void resumeGame() { game_.resume(); }

    // GameView
    void showCounts(int firstCount, int secondCount) override;
    void showVerdict(std::string_view text) override;
    void drawPlacedDisc(int discX, int discY, Cell side) override;
    void drawGrowingDisc(int discX, int discY, Cell side) override;
    void drawMarker(int discX, int discY, bool shown) override;
    void showClocks(int firstClock, int secondClock) override;
    void showResult(std::string_view name, std::string_view drawText) override;
    void turnHandedOver() override {}

    void mousePressEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void layoutScaled() override;

  private:
    // Hides the labels and the redraw button, paints the background, sets the start position.
    void setInitialState();
    QPushButton* makeButton(const char* name, const QString& caption, QRect geometry);
    OpaqueLabel* makeLabel(const char* name, QPoint position, int fontPixels, Colour fontColour,
                           Colour background);

    // Drawing in the disc box whose top-left corner is `origin`.
    void drawGrowingDisc(QPoint origin, QColor colour);
    void drawDiscAtOnce(QPoint origin, QColor colour);
    void drawCentreDot(QPoint origin);
    // The rejected-move marker when `shown`, otherwise the disc box in background colour.
    void drawMarkerOrBlank(QPoint origin, bool shown);
    // The canvas at the resolution the window shows it at: the screen's, times the layout's
    // scale.
    void matchCanvasToScreen();
    QColor sideColour(Cell side) const;
    // Whether growing discs are seen growing: a visible window with a pause between steps.
    bool animated() const;
    void growDelay();
    void flush(QRect area);
    void flushIfDue(QRect area);
    static QRect discBox(QPoint origin);

    const Theme& theme_;
    const WindowProfile& profile_;
    Canvas canvas_;
    Game game_;
    // The hand-off file is read once, before the window's first game.
    bool handoffRead_ = false;
    QString handoffText_;
    std::chrono::nanoseconds growStep_;
    std::chrono::steady_clock::time_point growDeadline_;
    std::chrono::steady_clock::time_point lastFlush_;
    QRect pendingFlush_;
};

}  // namespace reversi
