// Whole games, results and a long run of random events on the two-player windows.
#include <gtest/gtest.h>

#include <random>

#include "match_test_support.h"

namespace reversi {
namespace {

using test_support::control;

using Play = test_support::MatchTest;

TEST_F(Play, AFullBoardAtThirtyTwoAllIsADrawShownInTheme3) {
    MatchWindow& w = window(3);
    start(w);
    w.setPosition(*boardFromText(std::string(32, 'O') + std::string(24, 'X') + "XXXXXXO."),
                  CellCode::first);
    clickCell(w, 7, 7);
    EXPECT_EQ(control<OpaqueLabel>(w, "firstClockLabel")->text(), "No one");
    EXPECT_EQ(control<OpaqueLabel>(w, "secondClockLabel")->text(), "lose!");
    EXPECT_EQ(control<OpaqueLabel>(w, "verdictLabel")->text(), "Draw!");
    EXPECT_FALSE(control<OpaqueLabel>(w, "verdictLabel")->isHidden());
    EXPECT_EQ(control<OpaqueLabel>(w, "firstClockLabel")->background(), QColor(Qt::magenta));
    EXPECT_EQ(control<OpaqueLabel>(w, "secondClockLabel")->background(), QColor(Qt::magenta));
    // Frozen: ticks keep the result, clicks do nothing.
    tick(w);
    tick(w);
    EXPECT_EQ(control<OpaqueLabel>(w, "firstClockLabel")->text(), "No one");
    EXPECT_EQ(control<OpaqueLabel>(w, "firstCountLabel")->text(), "32");
    EXPECT_EQ(w.game().phase(), Game::Phase::over);
}

TEST_F(Play, ALossOnTimeAndAResumedClockBelowZero) {
    MatchWindow& w = window(1);
    start(w);
    while (w.game().firstClock() > 2)
        tick(w);
    tick(w);
    EXPECT_EQ(control<OpaqueLabel>(w, "firstClockLabel")->text(), "1");
    tick(w);
    EXPECT_EQ(control<OpaqueLabel>(w, "firstClockLabel")->text(), "Red");
    EXPECT_EQ(control<OpaqueLabel>(w, "secondClockLabel")->text(), "lose!");
    EXPECT_EQ(control<OpaqueLabel>(w, "firstCountLabel")->text(), "2");
    tick(w);
    EXPECT_EQ(control<OpaqueLabel>(w, "firstClockLabel")->text(), "Red");
    // "Redraw" sets the finished game running again; the clock only ever ends it at zero.
    control<QPushButton>(w, "redrawButton")->click();
    tick(w);
    EXPECT_EQ(control<OpaqueLabel>(w, "firstClockLabel")->text(), "-1");
    EXPECT_EQ(w.game().phase(), Game::Phase::running);
}

TEST_F(Play, TakingTheLastDiscWinsAtOnce) {
    MatchWindow& w = window(2);
    start(w);
    w.setPosition(*boardFromText(".OX....." + std::string(56, '.')), CellCode::first);
    clickCell(w, 0, 0);
    EXPECT_EQ(control<OpaqueLabel>(w, "firstClockLabel")->text(), "Black");
    EXPECT_EQ(control<OpaqueLabel>(w, "secondClockLabel")->text(), "lose!");
    EXPECT_NE(w.game().phase(), Game::Phase::running);
}

TEST_F(Play, WholeGamesByClicksEndByTheRules) {
    std::mt19937 random(42);
    for (int theme = 1; theme <= 3; ++theme) {
        MatchWindow& w = window(theme);
        start(w);
        int moves = 0;
        while (w.game().phase() == Game::Phase::running) {
            const auto legal = legalMoves(w);
            ASSERT_FALSE(legal.empty());
            const CellPos move = legal[random() % legal.size()];
            clickCell(w, move.x, move.y);
            ASSERT_NE(w.game().board().at(move.x, move.y), CellCode::empty);
            ASSERT_LE(++moves, 60);
            tick(w);
        }
        const int first = w.game().firstCount(), second = w.game().secondCount();
        const char* expected = first < second   ? w.theme().firstName
                               : first > second ? w.theme().secondName
                                                : "No one";
        EXPECT_EQ(control<OpaqueLabel>(w, "firstClockLabel")->text(), expected);
        EXPECT_EQ(control<OpaqueLabel>(w, "secondClockLabel")->text(), "lose!");
        EXPECT_EQ(control<OpaqueLabel>(w, "firstCountLabel")->text(),
                  QString::number(w.game().board().count(CellCode::first)));
    }
}

// Random clicks anywhere with any button, ticks, "Exit", "Redraw" and "Clear", checking the
// game's invariants after every event.
TEST_F(Play, SurvivesLongRunsOfRandomEvents) {
    for (int theme = 1; theme <= 3; ++theme) {
        std::mt19937 random(1000 + theme);
        MatchWindow& w = window(theme);
        start(w);
        for (int event = 0; event < 1500; ++event) {
            const unsigned pick = random() % 100;
            if (pick < 60) {
                click(w, {static_cast<int>(random() % 976), static_cast<int>(random() % 700)});
            } else if (pick < 75) {
                const auto legal = legalMoves(w);
                if (!legal.empty()) {
                    const CellPos move = legal[random() % legal.size()];
                    clickCell(w, move.x, move.y);
                }
            } else if (pick < 93) {
                tick(w);
            } else if (pick < 96) {
                control<QPushButton>(w, "exitButton")->click();
            } else if (pick < 98) {
                control<QPushButton>(w, "redrawButton")->click();
            } else {
                control<QPushButton>(w, "playButton")->click();
            }
            const Game& g = w.game();
            ASSERT_TRUE(g.board().borderIsEmpty());
            for (int x = 0; x < 8; ++x) {
                for (int y = 0; y < 8; ++y) {
                    const Cell c = g.board().at(x, y);
                    ASSERT_TRUE(c == 0 || c == 3 || c == 7);
                }
            }
            ASSERT_TRUE((g.sideToMove() == 3 && g.sideWaiting() == 7) ||
                        (g.sideToMove() == 7 && g.sideWaiting() == 3));
        }
        EXPECT_TRUE(errors.isEmpty());
    }
}

}  // namespace
}  // namespace reversi
