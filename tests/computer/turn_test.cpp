// The computer's turn on a game: what it places, when it passes, and whole games.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "computer_test_support.h"
#include "rules.h"

namespace reversi {
namespace {

using test_support::ComputerGame;
using test_support::position;
using ::testing::Contains;

// The cells where `side` captures.
std::vector<CellPos> legalMoves(const Board& board, Cell side) {
    return reversi::legalMoves(board, side, opponentOf(side));
}

// `board` after `side` plays at `cell`.
Board afterMove(Board board, CellPos cell, Cell side) {
    flipCaptures(board, cell.x, cell.y, side, opponentOf(side), [](int, int) {});
    board.set(cell, side);
    return board;
}

TEST(NoCapturingMove, TheComputerPlacesNothingAndHandsTheTurnBack) {
    const Board onlyFirstCanMove = position({{0, 0}}, {{1, 0}});
    for (int level = 1; level <= 5; ++level) {
        ComputerGame t(level);  // no draws scripted: drawing fails the test
        t.setBoard(onlyFirstCanMove);
        EXPECT_FALSE(t.computer.playTurn());
        EXPECT_EQ(t.game.board(), onlyFirstCanMove);
        EXPECT_EQ(t.game.sideToMove(), CellCode::first);
        EXPECT_TRUE(t.view.only("grow").empty());
    }
}

TEST(NoCapturingMove, WhenNeitherSideCanMoveTheGameEnds) {
    const Board stuck = position({{0, 0}}, {{7, 7}, {6, 7}});
    const Board full = boardFromText(std::string(40, 'O') + std::string(24, 'X')).value();
    for (const Board& board : {stuck, full}) {
        ComputerGame t(4);
        t.setBoard(board);
        EXPECT_FALSE(t.computer.playTurn());
        EXPECT_EQ(t.game.board(), board);
        EXPECT_EQ(t.game.phase(), Game::Phase::over);
        EXPECT_EQ(t.view.firstClockText, "Red");
    }
}

TEST(NoCapturingMove, ATurnArrivingWhileThePersonIsToMovePlaysNothing) {
    ComputerGame t(4);
    const Board start = t.game.board();
    EXPECT_FALSE(t.computer.playTurn());
    EXPECT_EQ(t.game.board(), start);
    EXPECT_EQ(t.game.sideToMove(), CellCode::first);
}

TEST(Levels, LevelsFourAndFiveChooseTheSameMoveInRandomGames) {
    std::mt19937 rng(2024);
    ComputerGame four(4), five(5);
    for (int game = 0; game < 60; ++game) {
        Board board;
        board.setStartPosition();
        Cell mover = CellCode::first;
        for (int move = 0;; ++move, mover = opponentOf(mover)) {
            ASSERT_LE(move, 60) << "every move fills a cell";
            auto moves = legalMoves(board, mover);
            if (moves.empty()) {  // a pass
                mover = opponentOf(mover);
                moves = legalMoves(board, mover);
            }
            if (moves.empty()) break;
            if (mover == CellCode::second) {
                four.setBoard(board);
                five.setBoard(board);
                const auto chosen = four.choose({});
                ASSERT_TRUE(chosen.has_value());
                EXPECT_EQ(five.choose({}), chosen) << boardToText(board);
            }
            board = afterMove(board, moves[rng() % moves.size()], mover);
        }
    }
}

TEST(WholeGames, TheComputerOnlyEverPlaysLegalMovesToTheEnd) {
    for (int level = 1; level <= 5; ++level) {
        for (unsigned seed = 1; seed <= 8; ++seed) {
            SCOPED_TRACE(testing::Message() << "level " << level << " seed " << seed);
            test_support::TestGame t;
            Computer computer(t.game, std::make_unique<MersenneRandom>(seed));
            computer.setLevel(level);
            std::mt19937 person(seed);
            for (int move = 0; t.game.phase() != Game::Phase::over; ++move) {
                ASSERT_LT(move, 60) << "every move fills a cell";
                const Board before = t.game.board();
                const auto legal = legalMoves(before, t.game.sideToMove());
                ASSERT_FALSE(legal.empty());
                if (t.game.sideToMove() == CellCode::first) {
                    const CellPos cell = legal[person() % legal.size()];
                    t.clickCell(cell.x, cell.y);
                    continue;
                }
                ASSERT_TRUE(computer.playTurn());
                const auto played = std::find_if(legal.begin(), legal.end(), [&](CellPos cell) {
                    return t.game.board() == afterMove(before, cell, CellCode::second);
                });
                EXPECT_NE(played, legal.end()) << "not a legal move's result";
            }
            EXPECT_TRUE(legalMoves(t.game.board(), CellCode::first).empty() &&
                        legalMoves(t.game.board(), CellCode::second).empty());
        }
    }
}

}  // namespace
}  // namespace reversi
