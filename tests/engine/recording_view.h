#pragma once

#include <string>
#include <vector>

#include "game.h"

namespace reversi::test_support {

// Records what the rules show and draw, in order, as short lines.
class RecordingView : public GameView {
  public:
    std::vector<std::string> events;
    std::string firstCountText, secondCountText, firstClockText, secondClockText, verdictText;

    void showCounts(int first, int second) override {
        firstCountText = std::to_string(first);
        secondCountText = std::to_string(second);
        events.push_back("counts " + firstCountText + " " + secondCountText);
    }
    void showVerdict(Verdict verdict) override {
        verdictText = verdict == Verdict::correctStep ? "Correct step" : "Incorrect step";
        events.push_back("verdict " + verdictText);
    }
    void drawPlacedDisc(CellPos cell, Cell side) override {
        events.push_back(disc("placed", cell, side));
    }
    void drawGrowingDisc(CellPos cell, Cell side) override {
        events.push_back(disc("grow", cell, side));
    }
    void drawMarker(CellPos cell, bool shown) override {
        events.push_back(disc(shown ? "marker" : "erase", cell, 0));
    }
    void showClocks(int first, int second) override {
        firstClockText = std::to_string(first);
        secondClockText = std::to_string(second);
    }
    // The result as a window of the first theme words it: the loser's name and "lose!".
    void showResult(Outcome outcome) override {
        firstClockText = outcome == Outcome::firstLoses    ? "Red"
                         : outcome == Outcome::secondLoses ? "Yellow"
                                                           : "No one";
        secondClockText = "lose!";
        verdictText = outcome == Outcome::draw ? "Draw!" : "";
        events.push_back("result " + firstClockText + " " + secondClockText + " " + verdictText);
    }
    void turnHandedOver() override { events.push_back("handed over"); }

    // The events of one kind, e.g. every "grow".
    std::vector<std::string> only(const std::string& kind) const {
        std::vector<std::string> out;
        for (const auto& e : events) {
            if (e.rfind(kind, 0) == 0) out.push_back(e);
        }
        return out;
    }

  private:
    static std::string disc(const char* what, CellPos cell, Cell side) {
        std::string s =
            std::string(what) + " " + std::to_string(cell.x) + "," + std::to_string(cell.y);
        if (side != 0) s += " side " + std::to_string(side);
        return s;
    }
};

// A game as a match window holds it, with a new game started.
struct TestGame {
    RecordingView view;
    Game game{view};

    TestGame() { game.newGame(300); }

    // Starts from a position written as text, `toMove` to move.
    void setPosition(const std::string& text, Cell toMove) {
        const auto board = boardFromText(text);
        if (!board) throw std::invalid_argument("bad board text");
        game.setPosition(*board, toMove);
    }
    void clickCell(int x, int y) { game.click({x, y}); }
};

}  // namespace reversi::test_support
