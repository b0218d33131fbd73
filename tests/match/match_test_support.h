#pragma once

#include <QTest>
#include <memory>

#include "keyboard_test_support.h"
#include "match_window.h"
#include "rules.h"
#include "widget_test_support.h"

namespace reversi::test_support {

// A match window of each kind and theme, drawn without pauses, in a fresh directory.
class MatchTest : public WidgetTest {
  protected:
    MatchWindow& window(int themeNumber) {
        auto& slot = windows_[themeNumber - 1];
        if (!slot) {
            slot = std::make_unique<MatchWindow>(styleFor(MatchKind::twoPlayer, themeNumber));
            slot->setGrowStep(std::chrono::nanoseconds(0));
        }
        return *slot;
    }

    // Writes the hand-off file and presses "Play!".
    static void start(MatchWindow& w, const QByteArray& handoff = "300\r\n") {
        writeFile("0.db", handoff);
        control<QPushButton>(w, "playButton")->click();
    }

    static QPoint centreOf(int x, int y) { return geometry::cellCentre({x, y}); }
    // A click on the window at a pixel of its layout (the window is at its layout's scale).
    static void click(MatchWindow& w, QPoint at) { QTest::mouseClick(&w, Qt::LeftButton, {}, at); }
    static void clickCell(MatchWindow& w, int x, int y) { click(w, centreOf(x, y)); }
    // The window's one-second tick.
    static void tick(MatchWindow& w) { test_support::tick(w, "clockTimer"); }
    // A pixel inside the disc of a cell, off its centre dot.
    static QColor discColour(const MatchWindow& w, int x, int y) {
        const QPoint p = centreOf(x, y);
        return w.canvas().pixel(p.x() + 15, p.y());
    }
    static QColor dotColour(const MatchWindow& w, int x, int y) {
        const QPoint p = centreOf(x, y);
        return w.canvas().pixel(p.x(), p.y());
    }

    // The legal moves of the side to move.
    static std::vector<CellPos> legalMoves(const MatchWindow& w) {
        return reversi::legalMoves(w.game().board(), w.game().sideToMove(), w.game().sideWaiting());
    }

    static QColor colourOf(const Colour& c) { return c.resolve(); }

  private:
    std::unique_ptr<MatchWindow> windows_[3];
};

}  // namespace reversi::test_support
