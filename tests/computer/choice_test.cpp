// Which cell the computer chooses: ratings, the corner rule, the level's choice and its ties.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <set>
#include <utility>
#include <vector>

#include "computer_test_support.h"

namespace reversi {
namespace {

using test_support::ComputerGame;
using test_support::fiveOrOne;
using test_support::onlyElevenAtBottom;
using test_support::position;
using test_support::TestGame;
using ::testing::ElementsAre;
using ::testing::Optional;

TEST(Opening, AfterTheFirstSideTakesTwoFourTheComputerAnswersFourFive) {
    for (int level = 1; level <= 5; ++level) {
        for (int draw : {0, 9}) {
            SCOPED_TRACE(testing::Message() << "level " << level << " draw " << draw);
            ComputerGame t(level);
            t.clickCell(2, 4);
            t.view.events.clear();
            if (level <= 3) t.random->draws = {draw};
            CountTable expected{};
            expected[2][3] = expected[2][5] = expected[4][5] = 1;
            EXPECT_EQ(t.computer.rate().captureCounts, expected);
            ASSERT_TRUE(t.computer.playTurn());

            // The disc grows in its cell, then the captured one flips.
            EXPECT_THAT(t.view.only("grow"), ElementsAre("grow 4,5 side 7", "grow 4,4 side 7"));
            EXPECT_EQ(t.game.sideToMove(), CellCode::first);
        }
    }
}

TEST(Opening, TheOtherOpeningsAreAnsweredAtFiveFour) {
    for (const CellPos first : {CellPos{4, 2}, CellPos{5, 3}}) {
        for (int level : {1, 4}) {
            ComputerGame t(level);
            t.clickCell(first.x, first.y);
            EXPECT_THAT(t.choose({5}), Optional(CellPos{5, 4}));
        }
    }
}

TEST(Corners, ACornerIsTakenAtOnceFromLevelTwoButNotAtLevelOne) {
    Board board = onlyElevenAtBottom();
    board.set(0, 1, CellCode::first);  // (0, 0) now captures this one disc
    board.set(0, 2, CellCode::second);
    for (int level = 2; level <= 5; ++level) {
        ComputerGame t(level);
        t.setBoard(board);
        EXPECT_THAT(t.choose({}), Optional(CellPos{0, 0})) << "level " << level;
        EXPECT_TRUE(t.random->ranges.empty()) << "a corner needs no draw";
    }
    ComputerGame t(1);
    t.setBoard(board);
    EXPECT_THAT(t.choose({2}), Optional(CellPos{3, 7}));
    // The corner is chosen only as the level-one choice would choose any cell.
    EXPECT_THAT(t.choose({1}), Optional(CellPos{0, 0}));
}

TEST(Corners, OfSeveralCornersTheLastInColumnOrderWins) {
    Board board = position({{1, 0}, {6, 0}, {1, 7}, {6, 7}}, {{2, 0}, {5, 0}, {2, 7}, {5, 7}});
    ComputerGame t(2);
    t.setBoard(board);
    EXPECT_THAT(t.choose({}), Optional(CellPos{7, 7}));
    board.set(6, 7, CellCode::empty);
    t.setBoard(board);
    EXPECT_THAT(t.choose({}), Optional(CellPos{7, 0}));
    board.set(6, 0, CellCode::empty);
    t.setBoard(board);
    EXPECT_THAT(t.choose({}), Optional(CellPos{0, 7}));
}

TEST(Levels, LevelFourKeepsOutOfTheSecondRingWhereLevelTwoTakesTheMost) {
    ComputerGame four(4);
    four.setBoard(fiveOrOne());
    EXPECT_THAT(four.choose({}), Optional(CellPos{2, 0}));

    ComputerGame two(2);
    two.setBoard(fiveOrOne());
    EXPECT_THAT(two.choose({2}), Optional(CellPos{1, 3}));
    EXPECT_THAT(two.choose({1}), Optional(CellPos{2, 0}));
}

TEST(Levels, TheSmallestCaptureIsTakenExactlyWhenTheDrawIsZeroOrOne) {
    for (int level = 1; level <= 3; ++level) {
        for (int draw = 0; draw < 10 * level; ++draw) {
            ComputerGame t(level);
            t.setBoard(fiveOrOne());
            const CellPos expected = draw <= 1 ? CellPos{2, 0} : CellPos{1, 3};
            EXPECT_THAT(t.choose({draw}), Optional(expected)) << level << " " << draw;
            EXPECT_THAT(t.random->ranges, ElementsAre(10 * level));
        }
    }
}

// The computer's two tables on every side of the board. For corner (0, 0) a position offers a
// corner neighbour capturing three, a second-ring cell capturing two and an inner cell capturing
// one; the board's eight symmetries carry it to the other corners, to column 6 and to rows 1
// and 6. Level 1 filters nothing, levels 2 and 3 leave out the corner neighbours, levels 4 and
// 5 the whole second ring and then the neighbours.
TEST(Levels, EachLevelKeepsOutOfItsCellsOnEverySideOfTheBoard) {
    struct Line {
        CellPos move;
        std::vector<CellPos> captured;
        CellPos closer;
    };
    const Line neighbours[] = {{{0, 1}, {{1, 1}, {2, 1}, {3, 1}}, {4, 1}},
                               {{1, 0}, {{2, 0}, {3, 0}, {4, 0}}, {5, 0}},
                               {{1, 1}, {{2, 2}, {3, 3}, {4, 4}}, {5, 5}}};
    const Line ring{{1, 2}, {{1, 3}, {1, 4}}, {1, 5}};
    const Line inner{{5, 2}, {{6, 2}}, {7, 2}};
    struct Variant {
        const char* what;
        bool withRing, withInner;
        const char* choices;  // levels 1 to 5: the Neighbour, the Ring cell or the Inner cell
    };
    const Variant variants[] = {{"all three", true, true, "NRRII"},
                                {"no inner move", true, false, "NRRRR"},
                                {"only the neighbour", false, false, "NNNNN"}};
    for (int symmetry = 0; symmetry < 8; ++symmetry) {
        const auto map = [symmetry](CellPos c) {
            if (symmetry & 4) std::swap(c.x, c.y);
            if (symmetry & 1) c.x = 7 - c.x;
            if (symmetry & 2) c.y = 7 - c.y;
            return c;
        };
        for (const Line& neighbour : neighbours) {
            for (const Variant& variant : variants) {
                Board board;
                const auto put = [&](const Line& line) {
                    for (const CellPos& c : line.captured)
                        board.set(map(c), CellCode::first);
                    board.set(map(line.closer), CellCode::second);
                };
                put(neighbour);
                if (variant.withRing) put(ring);
                if (variant.withInner) put(inner);
                const CellPos at = map(neighbour.move);
                SCOPED_TRACE(testing::Message()
                             << variant.what << ", neighbour " << at.x << "," << at.y << "\n"
                             << boardToText(board));
                for (int level = 1; level <= 5; ++level) {
                    ComputerGame t(level);
                    t.setBoard(board);
                    const char choice = variant.choices[level - 1];
                    const Line& expected = choice == 'N' ? neighbour : choice == 'R' ? ring : inner;
                    EXPECT_THAT(level <= 3 ? t.choose({5}) : t.choose({}),
                                Optional(map(expected.move)))
                        << "level " << level;
                    // The position offers exactly the captures it was built for.
                    const Rating rating = t.computer.rate();
                    EXPECT_EQ(rating.captureCounts[at.x][at.y], 3);
                    EXPECT_FALSE(rating.corner);
                    EXPECT_EQ(hasCandidate(rating.innerCounts()), variant.withInner);
                }
            }
        }
    }
}

TEST(Levels, AFailedSmallestCaptureIsRetriedWithAFreshDraw) {
    ComputerGame t(1);
    t.setBoard(onlyElevenAtBottom());
    // Every move takes more than ten discs, so the smallest-capture choice finds nothing.
    EXPECT_THAT(t.choose({0, 1, 7}), Optional(CellPos{3, 7}));
    EXPECT_THAT(t.random->ranges, ElementsAre(10, 10, 10));
}

TEST(Levels, DrawsThatAlwaysFailStillEndInTheLargestCapture) {
    struct AlwaysZero final : RandomSource {
        int calls = 0;
        int below(int) override { return ++calls, 0; }
    };
    TestGame t;
    t.setPosition(boardToText(onlyElevenAtBottom()), CellCode::second);
    auto source = std::make_unique<AlwaysZero>();
    AlwaysZero& draws = *source;
    Computer computer(t.game, std::move(source));
    computer.setLevel(3);
    EXPECT_TRUE(computer.playTurn());
    EXPECT_EQ(t.game.board().at(3, 7), CellCode::second);
    EXPECT_EQ(draws.calls, Computer::maxChoiceAttempts);
}

TEST(Picks, TiesGoToTheLastCellInColumnOrder) {
    ComputerGame t(4);
    t.setBoard(Board());
    CountTable table{};
    table[5][2] = table[2][5] = 4;  // column order ends with (5, 2), row order with (2, 5)
    table[3][3] = 2;
    EXPECT_THAT(t.computer.pickMost(table), Optional(CellPos{5, 2}));
    table[5][6] = 4;
    EXPECT_THAT(t.computer.pickMost(table), Optional(CellPos{5, 6}));
    // An occupied cell is never chosen, whatever its value.
    Board occupied;
    occupied.set(5, 6, CellCode::first);
    occupied.set(5, 2, CellCode::first);
    t.setBoard(occupied);
    EXPECT_THAT(t.computer.pickMost(table), Optional(CellPos{2, 5}));
}

TEST(Picks, PickLeastTakesTheLastSmallestThenTensThenTheCorner) {
    ComputerGame t(1);
    t.setBoard(Board());
    CountTable table{};
    table[0][2] = 3;
    table[2][5] = 1;
    table[4][1] = 1;
    table[6][5] = 2;
    EXPECT_THAT(t.computer.pickLeast(table, std::nullopt), Optional(CellPos{4, 1}));

    table = {};
    table[1][4] = 12;
    table[2][2] = 10;
    table[3][0] = 10;
    EXPECT_THAT(t.computer.pickLeast(table, std::nullopt), Optional(CellPos{3, 0}));

    table[2][2] = table[3][0] = 11;
    EXPECT_EQ(t.computer.pickLeast(table, std::nullopt), std::nullopt);
    EXPECT_THAT(t.computer.pickLeast(table, CellPos{7, 0}), Optional(CellPos{7, 0}));
}

TEST(Levels, SetLevelAcceptsOnlyLevelsOneToFive) {
    ComputerGame t(3);
    for (int position : {0, 6, -1, 1000}) {
        t.computer.setLevel(position);
        EXPECT_EQ(t.computer.level(), 3);
    }
    t.computer.setLevel(5);
    EXPECT_EQ(t.computer.level(), 5);
    // Before any level is set the computer still makes a move: the largest capture.
    ComputerGame unset(0);
    unset.setBoard(fiveOrOne());
    EXPECT_THAT(unset.choose({}), Optional(CellPos{1, 3}));
}

TEST(Random, DrawsCoverTheRangeAndRepeatForASeed) {
    MersenneRandom a(42), b(42);
    std::set<int> seen;
    for (int i = 0; i < 300; ++i) {
        const int d = a.below(30);
        EXPECT_EQ(d, b.below(30));
        seen.insert(d);
    }
    EXPECT_EQ(seen, (std::set<int>{0,  1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12, 13, 14,
                                   15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29}));
}

}  // namespace
}  // namespace reversi
