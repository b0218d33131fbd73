#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "recording_view.h"
#include "rules.h"

namespace reversi {
namespace {

using test_support::RecordingView;
using test_support::TestGame;
using ::testing::ElementsAre;
using ::testing::UnorderedElementsAreArray;

std::vector<CellPos> acceptedCells(TestGame& t) {
    std::vector<CellPos> cells;
    for (int x = 0; x < 8; ++x) {
        for (int y = 0; y < 8; ++y) {
            if (t.game.board().at(x, y) != CellCode::empty) continue;
            const int flips = t.game.testMove({x, y});
            EXPECT_EQ(t.view.verdictText, flips > 0 ? "Correct step" : "Incorrect step");
            if (flips > 0) {
                EXPECT_EQ(flips, 1);
                cells.push_back({x, y});
            }
        }
    }
    return cells;
}

TEST(MoveTest, OpeningMovesOfBothSides) {
    TestGame t;
    EXPECT_THAT(acceptedCells(t),
                UnorderedElementsAreArray<CellPos>({{4, 2}, {2, 4}, {5, 3}, {3, 5}}));
    t.clickCell(4, 2);
    EXPECT_EQ(t.game.board().at(4, 3), CellCode::first);
    EXPECT_EQ(t.game.sideToMove(), CellCode::second);
    EXPECT_THAT(acceptedCells(t), UnorderedElementsAreArray<CellPos>({{3, 2}, {5, 2}, {5, 4}}));
}

TEST(MoveTest, RunsThatAreNotClosedCaptureNothing) {
    TestGame t;
    // Row 0: a run of O reaching the right edge; row 2: a run ending at an empty cell;
    // row 4: an own disc next to the cell.
    t.setPosition(
        "X.OOOOOO"
        "........"
        ".OOO.X.."
        "........"
        ".X.....O"
        "........"
        "........"
        "........",
        CellCode::first);
    for (const CellPos cell : {CellPos{1, 0}, CellPos{0, 2}, CellPos{0, 4}, CellPos{4, 2}})
        EXPECT_EQ(t.game.testMove(cell), 0);
}

TEST(MoveTest, NoSideCodesMeansNoCaptureAnywhere) {
    RecordingView view;
    Game game(view);
    game.setStartPosition();
    for (int x = 0; x < 8; ++x) {
        for (int y = 0; y < 8; ++y) {
            for (const Direction& d : directions) {
                EXPECT_EQ(captureRun(game.board(), x, y, d, 0, 0), 0);
            }
        }
    }
    EXPECT_FALSE(game.sideToMoveCanMove());
}

// A cell closing lines in all eight directions, each two discs long.
const char* const star =
    "X..X..X."
    ".O.O.O.."
    "..OOO..."
    "XOO.OOX."
    "..OOO..."
    ".O.O.O.."
    "X..X..X."
    "........";

TEST(MoveTest, ASingleTestFlipsEveryDirectionWithoutPlaying) {
    TestGame t;
    t.setPosition(star, CellCode::first);
    const Board before = t.game.board();
    EXPECT_EQ(t.game.testMove({3, 3}), 16);
    EXPECT_EQ(t.game.board(), before);
    // The counts include the flips, not the mover's disc, which is not placed.
    EXPECT_EQ(t.view.firstCountText, "24");
    EXPECT_EQ(t.view.secondCountText, "0");
}

TEST(MoveTest, ARejectedTestKeepsTheCountsAsTheyWere) {
    TestGame t;
    EXPECT_EQ(t.game.testMove({4, 2}), 1);  // counted as tested: 3 and 1, not from the board
    EXPECT_EQ(t.game.testMove({0, 0}), 0);
    EXPECT_EQ(t.game.firstCount(), 3);
    EXPECT_EQ(t.game.secondCount(), 1);
    // The rejected test started from the board, not from the accepted test's flips.
    EXPECT_EQ(t.game.testMove({2, 4}), 1);
}

TEST(Flips, GoInDirectionOrderAndVisitingOrder) {
    TestGame t;
    t.setPosition(star, CellCode::first);
    t.view.events.clear();
    t.clickCell(3, 3);
    EXPECT_THAT(t.view.only("grow"),
                ElementsAre(
                    // left and up: from the closing disc toward the placed one
                    "grow 1,3 side 3", "grow 2,3 side 3", "grow 4,3 side 3", "grow 5,3 side 3",
                    "grow 3,1 side 3", "grow 3,2 side 3", "grow 3,4 side 3", "grow 3,5 side 3",
                    // the diagonals: outward
                    "grow 4,4 side 3", "grow 5,5 side 3", "grow 2,2 side 3", "grow 1,1 side 3",
                    "grow 4,2 side 3", "grow 5,1 side 3", "grow 2,4 side 3", "grow 1,5 side 3"));
    EXPECT_EQ(t.game.board().count(CellCode::first), 25);
}

TEST(Flips, AClickRunsTestPlacementFlipsCountAndHandOverInOrder) {
    TestGame t;
    t.view.events.clear();
    t.clickCell(4, 2);
    EXPECT_THAT(t.view.events, ElementsAre("counts 3 1",  // testMove: flips, not the disc
                                           "verdict Correct step",
                                           "placed 4,2 side 3",  // placeDisc
                                           "counts 3 2",         // the placed disc, no flips yet
                                           "grow 4,3 side 3",    // flipCapturedDiscs
                                           "counts 4 1", "handed over"));
    EXPECT_EQ(t.game.sideToMove(), CellCode::second);
    EXPECT_EQ(t.game.sideWaiting(), CellCode::first);
}

TEST(Click, OccupiedCellsDoNothing) {
    TestGame t;
    t.view.events.clear();
    t.clickCell(3, 3);
    EXPECT_TRUE(t.view.events.empty());
    EXPECT_FALSE(t.game.markerShown());
}

TEST(Click, ARejectedClickShowsTheMarkerForTwoTicks) {
    TestGame t;
    t.clickCell(0, 0);
    EXPECT_EQ(t.view.events.back(), "marker 0,0");
    EXPECT_TRUE(t.game.markerShown());
    t.view.events.clear();
    t.clickCell(4, 2);  // ignored while the marker shows
    EXPECT_TRUE(t.view.events.empty());
    t.game.tick();
    EXPECT_TRUE(t.view.only("erase").empty());
    t.game.tick();
    EXPECT_THAT(t.view.only("erase"), ElementsAre("erase 0,0"));
    t.clickCell(4, 2);  // still ignored: the counter is 0
    EXPECT_EQ(t.game.board().at(4, 2), CellCode::empty);
    t.game.tick();
    EXPECT_FALSE(t.game.markerShown());
    t.clickCell(4, 2);
    EXPECT_EQ(t.game.board().at(4, 2), CellCode::first);
}

TEST(Click, BeforeTheFirstGameEveryEmptyCellIsRejected) {
    RecordingView view;
    Game game(view);
    game.setStartPosition();
    game.click({3, 3});  // a centre disc: nothing
    EXPECT_TRUE(view.only("marker").empty());
    game.click({4, 2});
    EXPECT_THAT(view.only("marker"), ElementsAre("marker 4,2"));
    EXPECT_EQ(view.verdictText, "Incorrect step");
}

TEST(CanMove, FalseWithoutDiscsAndOnAFullBoard) {
    TestGame t;
    t.setPosition(std::string(63, 'X') + ".", CellCode::second);
    EXPECT_FALSE(t.game.sideToMoveCanMove());  // the second side has no discs
    for (const Cell toMove : {CellCode::first, CellCode::second}) {
        t.setPosition(std::string(32, 'X') + std::string(32, 'O'), toMove);
        EXPECT_FALSE(t.game.sideToMoveCanMove());
    }
}

}  // namespace
}  // namespace reversi
