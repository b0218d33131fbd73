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
    // The "Complication:" and "BETA" labels are in the bold code font, `codeFamily`.
    explicit ComputerMatchWindow(const MatchStyle& style, std::unique_ptr<RandomSource> random = {},
                                 const QString& codeFamily = {});

    // The level the computer plays at: 1 to 5 once the window's first game has started.
    int computerLevel() const { return computer_.level(); }

  protected:
    // A new game ends any computer turn still pending, and the first one fixes the level.
    void beforeNewGame() override;
    // Only the person's: never before the first game (nobody is to move yet, so not even the
    // marker) nor during the computer's turn.
    bool acceptsClicks() const override { return game().sideToMove() == CellCode::first; }
    // A finished game stays finished here; a computer turn held by "Exit" is due again.
    void resumeGame() override;
    void turnHandedOver() override;
    void closeEvent(QCloseEvent* event) override;

  private:
    // The computer's pause is over: it plays its turn.
    void onComputerTurnDue();

    // Controls added to the two-player layout.
    QSlider* levelSlider_;
    OpaqueLabel* levelTitleLabel_;
    OpaqueLabel* lowestLevelLabel_;
    OpaqueLabel* highestLevelLabel_;
    OpaqueLabel* betaLabel_;
    PeriodicTimer* computerTurnTimer_;

    Computer computer_;
    // The computer's turn was due when the player left with "Exit"; "Redraw" resumes it.
    bool computerTurnHeld_ = false;
};

}  // namespace reversi
