#pragma once

#include <QSlider>
#include <memory>

#include "computer.h"
#include "match_window.h"

namespace reversi {

// The match window in which a person plays the first side against the computer, which answers
// each move after a pause. Everything else is the two-player window's.
class ComputerMatchWindow : public MatchWindow {
  public:
    explicit ComputerMatchWindow(const MatchStyle& style,
                                 std::unique_ptr<RandomSource> random = {});

    void onPlayClicked() override;
    void onDumpBoardClicked() override {}  // no board dump in these windows
    // The computer's pause is over: it plays its turn.
    void onComputerTurnDue();
    // The rest of a start once the discs have grown: clocks, labels, position, game running.
    void startGame();

    // Controls added to the two-player layout.
    QSlider* levelSlider;
    OpaqueLabel* levelTitleLabel;
    OpaqueLabel* lowestLevelLabel;
    OpaqueLabel* highestLevelLabel;
    OpaqueLabel* betaLabel;
    PeriodicTimer* computerTurnTimer;

    Computer computer;
    // A game has started in this window and has not ended.
    bool matchLive = false;
    // The computer's turn was due when the player left with "Exit"; "Redraw" resumes it.
    bool computerTurnHeld = false;

  protected:
    bool acceptsClicks() const override {
        return MatchWindow::acceptsClicks() && game().sideToMove() == CellCode::first;
    }
    bool redrawResumes() const override { return matchLive; }
    void turnHandedOver() override;
    void showResult(std::string_view name, std::string_view drawText) override;
    void closeEvent(QCloseEvent* event) override;

  public:
    void redrawBoard() override;
};

}  // namespace reversi
