#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "recording_view.h"

namespace reversi {
namespace {

using test_support::RecordingView;
using test_support::TestGame;
using ::testing::ElementsAre;

const std::string emptyRows(int n) {
    return std::string(8 * n, '.');
}

TEST(HandOver, TheMoverMovesAgainWhenTheOpponentMustPass) {
    TestGame t;
    t.setPosition(".OX....." + emptyRows(6) + "......OX", CellCode::first);
    t.clickCell(0, 0);
    EXPECT_EQ(t.game.sideToMove(), CellCode::first);
    EXPECT_EQ(t.game.sideWaiting(), CellCode::second);
    EXPECT_TRUE(t.view.only("result").empty());
    // The pass is silent and the mover's clock keeps running.
    t.game.tick();
    EXPECT_EQ(t.game.firstClock(), 300);
    EXPECT_EQ(t.game.secondClock(), 300);
}

TEST(HandOver, FlippingTheLastOpposingDiscEndsTheGameAtOnce) {
    TestGame t;
    t.setPosition(".OX....." + emptyRows(7), CellCode::first);
    t.clickCell(0, 0);
    EXPECT_THAT(t.view.only("result"), ElementsAre("result Yellow lose! "));
    EXPECT_NE(t.game.phase(), Game::Phase::running);
    EXPECT_EQ(t.game.phase(), Game::Phase::over);
    // The result comes before the hand-over notice.
    EXPECT_EQ(t.view.events.back(), "handed over");
}

TEST(HandOver, FillingTheBoardThirtyTwoAllIsADraw) {
    TestGame t;
    t.setPosition(std::string(32, 'O') + std::string(24, 'X') + "XXXXXXO.", CellCode::first);
    t.clickCell(7, 7);
    EXPECT_EQ(t.game.firstCount(), 32);
    EXPECT_EQ(t.game.secondCount(), 32);
    EXPECT_EQ(t.view.firstClockText, "No one");
    EXPECT_EQ(t.view.secondClockText, "lose!");
    EXPECT_EQ(t.view.verdictText, "Draw!");
}

TEST(HandOver, NoMoveForEitherSideWithEmptyCellsLeftEndsByCounts) {
    TestGame t;
    t.setPosition(".OX....." + emptyRows(6) + ".......O", CellCode::first);
    t.clickCell(0, 0);
    EXPECT_THAT(t.view.only("result"), ElementsAre("result Yellow lose! "));
    // The mirror case: the second side ahead.
    t.setPosition(".XO....." + emptyRows(2) + "X......." + emptyRows(3) + "......OO",
                  CellCode::second);
    t.game.resume();
    t.clickCell(0, 0);
    EXPECT_EQ(t.view.firstClockText, "Red");
}

TEST(Clocks, TheFirstSideStartsOneTickHigher) {
    TestGame t;
    t.game.newGame(250);
    EXPECT_EQ(t.game.firstClock(), 251);
    EXPECT_EQ(t.game.secondClock(), 250);
    EXPECT_EQ(t.game.phase(), Game::Phase::running);
    t.game.tick();
    EXPECT_EQ(t.view.firstClockText, "250");
    EXPECT_EQ(t.view.secondClockText, "250");
    t.clickCell(4, 2);
    t.game.tick();
    EXPECT_EQ(t.view.firstClockText, "250");
    EXPECT_EQ(t.view.secondClockText, "249");
    // A countdown whose first clock would overflow is refused.
    EXPECT_FALSE(t.game.newGame(2147483647));
    EXPECT_TRUE(t.game.newGame(2147483646));
    EXPECT_EQ(t.game.firstClock(), 2147483647);
}

TEST(Clocks, AClockAtZeroLosesWhateverTheCountsAndFreezesTheLabels) {
    TestGame t;
    t.game.newGame(1);
    t.clickCell(4, 2);  // the first side leads 4 to 1
    t.game.tick();      // second: 0
    EXPECT_EQ(t.view.firstClockText, "Yellow");
    EXPECT_EQ(t.view.secondClockText, "lose!");
    EXPECT_NE(t.game.phase(), Game::Phase::running);
    for (int i = 0; i < 3; ++i)
        t.game.tick();
    EXPECT_EQ(t.game.secondClock(), 0);
    EXPECT_EQ(t.view.firstClockText, "Yellow");
    EXPECT_EQ(t.view.secondClockText, "lose!");
    EXPECT_EQ(t.view.only("result").size(), 1u);
}

TEST(Clocks, OnlyExactlyZeroEndsTheGame) {
    TestGame t;
    t.game.newGame(1);
    t.game.tick();
    t.game.tick();
    EXPECT_EQ(t.view.firstClockText, "Red");
    // Resumed after the result (as "Redraw" does), the clock goes on below zero.
    t.game.resume();
    t.game.tick();
    t.game.tick();
    EXPECT_EQ(t.game.firstClock(), -2);
    EXPECT_EQ(t.game.phase(), Game::Phase::running);
    EXPECT_EQ(t.view.firstClockText, "-2");
}

// One tick with the given clocks and position: every end rule that holds shows its result, in
// the rules' order, so the last one's texts stay.
TEST(EndRules, EveryRuleThatHoldsOnATickAppliesInOrder) {
    const std::string full = std::string(40, 'X') + std::string(24, 'O');
    const std::string start = emptyRows(3) + "...XO..." + "...OX..." + emptyRows(3);
    struct Case {
        const char* what;
        std::string board;
        int countdown;  // the first side's clock is one tick higher
        std::vector<std::string> results;
        int firstClockAfter;
    };
    const Case cases[] = {
        {"both clocks reach zero", start, 0, {"result Red lose! ", "result Yellow lose! "}, 0},
        {"clocks and a full board",
         full,
         0,
         {"result Red lose! ", "result Yellow lose! ", "result Yellow lose! "},
         0},
        {"no first side discs", "OOOO" + std::string(60, '.'), 8, {"result Red lose! "}, 8},
        {"no second side discs", "XXXX" + std::string(60, '.'), 8, {"result Yellow lose! "}, 8},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TestGame t;
        t.game.newGame(c.countdown);
        t.setPosition(c.board, CellCode::first);
        t.game.tick();
        EXPECT_EQ(t.view.only("result"), c.results);
        EXPECT_EQ(t.game.firstClock(), c.firstClockAfter);
    }
}

TEST(Ticks, BeforeAGameTheClocksShowTheirValuesAndNothingCounts) {
    RecordingView view;
    Game game(view);
    game.setStartPosition();
    game.tick();
    EXPECT_EQ(view.firstClockText, "0");
    EXPECT_EQ(view.secondClockText, "0");
    EXPECT_TRUE(view.only("result").empty());
}

}  // namespace
}  // namespace reversi
