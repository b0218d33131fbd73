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
    void showVerdict(std::string_view text) override {
        verdictText = text;
        events.push_back("verdict " + verdictText);
    }
    void drawPlacedDisc(int x, int y, Cell side) override {
        events.push_back(disc("placed", x, y, side));
    }
    void drawGrowingDisc(int x, int y, Cell side) override {
        events.push_back(disc("grow", x, y, side));
    }
    void drawMarker(int x, int y, bool shown) override {
        events.push_back(disc(shown ? "marker" : "erase", x, y, 0));
    }
    void showClocks(int first, int second) override {
        firstClockText = std::to_string(first);
        secondClockText = std::to_string(second);
    }
    void showResult(std::string_view name, std::string_view drawText) override {
        firstClockText = name;
        secondClockText = texts::lose;
        verdictText = drawText;
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
    static std::string disc(const char* what, int x, int y, Cell side) {
        // Report the cell rather than the pixel: the disc origin of column c is 80c + 60.
        std::string s = std::string(what) + " " + std::to_string((x - 60) / 80) + "," +
                        std::to_string((y - 60) / 80);
        if (side != 0) s += " side " + std::to_string(side);
        return s;
    }
};

// A game as a match window holds it, with a new game started.
struct TestGame {
    RecordingView view;
    Game game{view, "Red", "Yellow"};

    TestGame() { game.newGame(300); }

    // Starts from a position written as text, `toMove` to move.
    void setPosition(const std::string& text, Cell toMove) {
        const auto board = boardFromText(text);
        if (!board) throw std::invalid_argument("bad board text");
        game.setPosition(*board, toMove);
    }
    // Clicks the centre of a cell.
    void clickCell(int x, int y) { game.click(80 * x + 90, 80 * y + 90); }
};

}  // namespace reversi::test_support
