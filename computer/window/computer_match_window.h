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
    explicit ComputerMatchWindow(const Theme& theme, std::unique_ptr<RandomSource> random = {});

    void btn2Click() override;
    void btn3Click() override {}  // no board dump in these windows
    void Timer2Timer();
    void clear();

    // Controls added to the two-player layout.
    QSlider* level1;
    OpaqueLabel* lbl6;
    OpaqueLabel* lbl7;
    OpaqueLabel* lbl8;
    OpaqueLabel* BETA;
    PeriodicTimer* Timer2;

    Computer computer;
    // A game has started in this window and has not ended.
    bool matchLive = false;
    // The computer's turn was due when the player left with "Exit"; "Redraw" resumes it.
    bool computerTurnHeld = false;

  protected:
    bool acceptsClicks() const override { return game.sideToMove == CellCode::first; }
    bool redrawResumes() const override { return matchLive; }
    void turnHandedOver() override;
    void showResult(std::string_view name, std::string_view drawText) override;
    void closeEvent(QCloseEvent* event) override;

  public:
    void Redraw() override;
};

}  // namespace reversi
