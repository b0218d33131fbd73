#include <gtest/gtest.h>

#include "board.h"
#include "perft.h"

namespace reversi {
namespace {

TEST(Board, StartPositionHoldsFourCentreDiscsAndAnEmptyBorder) {
    Board board;
    board.set(0, 0, CellCode::second);
    board.setStartPosition();
    EXPECT_EQ(boardToText(board),
              "........"
              "........"
              "........"
              "...XO..."
              "...OX..."
              "........"
              "........"
              "........");
    EXPECT_EQ(board.count(CellCode::first), 2);
    EXPECT_EQ(board.count(CellCode::second), 2);
    EXPECT_TRUE(board.borderIsEmpty());
    for (int i = -1; i <= 8; ++i) {
        EXPECT_EQ(board.at(i, -1), 0);
        EXPECT_EQ(board.at(-1, i), 0);
        EXPECT_EQ(board.at(i, 8), 0);
        EXPECT_EQ(board.at(8, i), 0);
    }
}

TEST(Board, RefreshCopiesOnlyValidCodesOfThePlayingArea) {
    Board source;
    source.setStartPosition();
    source.set(0, 0, 5);  // not a cell code: left alone
    Board target;
    target.set(0, 0, CellCode::first);
    target.set(7, 7, CellCode::second);
    target.refreshFrom(source);
    EXPECT_EQ(target.at(0, 0), CellCode::first);
    EXPECT_EQ(target.at(7, 7), CellCode::empty);
    EXPECT_EQ(target.at(3, 3), CellCode::first);
}

TEST(Board, TextFormRoundTripsAndRejectsOtherText) {
    const std::string text = "X......O" + std::string(48, '.') + "O......X";
    const auto board = boardFromText(text);
    ASSERT_TRUE(board);
    EXPECT_EQ(board->at(0, 0), CellCode::first);
    EXPECT_EQ(board->at(7, 0), CellCode::second);
    EXPECT_EQ(board->at(0, 7), CellCode::second);
    EXPECT_EQ(boardToText(*board), text);
    EXPECT_FALSE(boardFromText(text.substr(1)));
    std::string other = text;
    other[0] = 'x';
    EXPECT_FALSE(boardFromText(other));
}

// Leaf counts of the whole game tree from the start position: a check of the capture rule,
// the direction pre-tests and passing together.
TEST(Perft, MatchesTheKnownLeafCounts) {
    Board start;
    start.setStartPosition();
    const std::uint64_t expected[] = {1, 4, 12, 56, 244, 1396, 8200, 55092};
    for (int depth = 0; depth < 8; ++depth) {
        EXPECT_EQ(perft(start, CellCode::first, depth), expected[depth]) << "depth " << depth;
    }
}

}  // namespace
}  // namespace reversi
