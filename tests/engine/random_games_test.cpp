// Random games played through the engine's own operations, checked against a deliberately
// simple, independent statement of the rules after every move.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "recording_view.h"

namespace reversi {
namespace {

using test_support::RecordingView;
using test_support::TestGame;

bool onBoard(int x, int y) {
    return x >= 0 && x < 8 && y >= 0 && y < 8;
}

// Plays `me` at (x, y) on a copy with plain bounds tests; returns the flips made.
int simpleMove(Board& board, int x, int y, Cell me, Cell other) {
    int flipped = 0;
    for (int dx = -1; dx <= 1; ++dx) {
        for (int dy = -1; dy <= 1; ++dy) {
            if (dx == 0 && dy == 0) continue;
            int i = x + dx, j = y + dy, n = 0;
            while (onBoard(i, j) && board.at(i, j) == other) {
                i += dx;
                j += dy;
                ++n;
            }
            if (n == 0 || !onBoard(i, j) || board.at(i, j) != me) continue;
            for (int k = 1; k <= n; ++k)
                board.set(x + k * dx, y + k * dy, me);
            flipped += n;
        }
    }
    if (flipped > 0) board.set(x, y, me);
    return flipped;
}

std::vector<CellPos> simpleLegalMoves(const Board& board, Cell me, Cell other) {
    std::vector<CellPos> moves;
    for (int x = 0; x < 8; ++x) {
        for (int y = 0; y < 8; ++y) {
            Board copy = board;
            if (board.at(x, y) == CellCode::empty && simpleMove(copy, x, y, me, other) > 0) {
                moves.push_back({x, y});
            }
        }
    }
    return moves;
}

void expectInvariants(const Game& game) {
    EXPECT_TRUE(game.board().borderIsEmpty());
    for (int x = 0; x < 8; ++x) {
        for (int y = 0; y < 8; ++y) {
            const Cell c = game.board().at(x, y);
            EXPECT_TRUE(c == 0 || c == 3 || c == 7) << x << "," << y << " holds " << c;
        }
    }
    EXPECT_EQ(game.firstCount(), game.board().count(CellCode::first));
    EXPECT_EQ(game.secondCount(), game.board().count(CellCode::second));
}

TEST(RandomGames, AgreeWithASimpleStatementOfTheRules) {
    std::mt19937 random(20261208);
    for (int gameNumber = 0; gameNumber < 300; ++gameNumber) {
        TestGame t;
        Game& game = t.game;
        // Every move fills a cell, so a game has at most 60 of them.
        for (int moves = 0; game.phase() == Game::Phase::running; ++moves) {
            ASSERT_LT(moves, 60) << "game " << gameNumber;
            const Cell me = game.sideToMove();
            const Cell other = game.sideWaiting();
            const auto legal = simpleLegalMoves(game.board(), me, other);
            ASSERT_EQ(game.sideToMoveCanMove(), !legal.empty()) << "game " << gameNumber;
            ASSERT_FALSE(legal.empty()) << "the hand-over left a side to move without a move";

            // Now and then an illegal click: rejected, marker shown, nothing changes.
            if (random() % 4 == 0) {
                const int x = static_cast<int>(random() % 8), y = static_cast<int>(random() % 8);
                if (game.board().at(x, y) == CellCode::empty &&
                    std::find(legal.begin(), legal.end(), CellPos{x, y}) == legal.end()) {
                    const Board before = game.board();
                    t.clickCell(x, y);
                    EXPECT_EQ(game.board(), before);
                    EXPECT_TRUE(game.markerShown());
                    for (int i = 0; i < 3; ++i)
                        game.tick();
                    if (game.phase() != Game::Phase::running)
                        break;  // the clock may not run out at 300
                }
            }

            const CellPos move = legal[random() % legal.size()];
            Board expected = game.board();
            simpleMove(expected, move.x, move.y, me, other);
            t.clickCell(move.x, move.y);
            ASSERT_EQ(game.board(), expected) << "game " << gameNumber << " move " << moves;
            expectInvariants(game);

            // The side to move next: the opponent if it can, else the mover, else nobody.
            const bool otherCan = !simpleLegalMoves(expected, other, me).empty();
            const bool meCan = !simpleLegalMoves(expected, me, other).empty();
            if (otherCan) {
                EXPECT_EQ(game.sideToMove(), other);
            } else if (meCan) {
                EXPECT_EQ(game.sideToMove(), me);
            } else {
                EXPECT_EQ(game.phase(), Game::Phase::over);
            }
        }
    }
}

}  // namespace
}  // namespace reversi
