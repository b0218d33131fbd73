#include <gtest/gtest.h>

#include <random>

#include "computer_match_window.h"
#include "keyboard_test_support.h"
#include "rules.h"
#include "widget_test_support.h"

namespace reversi {
namespace {

using test_support::control;

// Draws that always give the same number, so the computer's choice is known.
class FixedRandom final : public RandomSource {
  public:
    explicit FixedRandom(int value) : value_(value) {}
    int below(int n) override { return value_ % n; }

  private:
    int value_;
};

class VersusComputer : public test_support::WidgetTest {
  protected:
    std::unique_ptr<ComputerMatchWindow> make(int theme, int draw = 5) {
        auto w = std::make_unique<ComputerMatchWindow>(styleFor(MatchKind::versusComputer, theme),
                                                       std::make_unique<FixedRandom>(draw));
        w->setGrowStep(std::chrono::nanoseconds(0));
        return w;
    }
    static void start(ComputerMatchWindow& w, int level = 1) {
        writeFile("0.db", "300\r\n");
        control<QSlider>(w, "levelSlider")->setValue(level);
        control<QPushButton>(w, "playButton")->click();
    }
    static void clickCell(ComputerMatchWindow& w, int x, int y) {
        QTest::mouseClick(&w, Qt::LeftButton, {}, geometry::cellCentre({x, y}));
    }
    static void tick(ComputerMatchWindow& w) { test_support::tick(w, "clockTimer"); }
    static void computerTurnDue(ComputerMatchWindow& w) {
        test_support::tick(w, "computerTurnTimer");
    }
    // Puts a position on the board, by default with the person to move.
    static void setPosition(ComputerMatchWindow& w, const std::string& text,
                            Cell toMove = CellCode::first) {
        w.setPosition(*boardFromText(text), toMove);
    }
    static std::vector<CellPos> legalMoves(const Game& g) {
        return reversi::legalMoves(g.board(), g.sideToMove(), g.sideWaiting());
    }
};

TEST_F(VersusComputer, IsCreatedWithItsLevelSelectorAndClicksIgnored) {
    const char* names[] = {"versusComputer1", "versusComputer2", "versusComputer3"};
    for (int theme = 1; theme <= 3; ++theme) {
        auto w = make(theme);
        EXPECT_EQ(w->objectName(), names[theme - 1]);
        EXPECT_EQ(control<PeriodicTimer>(*w, "clockTimer")->isActive(), theme != 1);
        EXPECT_FALSE(control<PeriodicTimer>(*w, "computerTurnTimer")->isActive());
        EXPECT_EQ(control<PeriodicTimer>(*w, "computerTurnTimer")->interval(),
                  theme == 1 ? 2500 : 5000);
        EXPECT_EQ(control<OpaqueLabel>(*w, "levelTitleLabel")->text(), "Complication:");
        EXPECT_EQ(control<QSlider>(*w, "levelSlider")->minimum(), 1);
        EXPECT_EQ(control<QSlider>(*w, "levelSlider")->maximum(), 5);
        EXPECT_EQ(control<OpaqueLabel>(*w, "betaLabel")->text(), "BETA");
        EXPECT_EQ(control<OpaqueLabel>(*w, "betaLabel")->fontColour(), QColor(Qt::red));
        EXPECT_FALSE(w->game().inProgress());
        clickCell(*w, 4, 2);
        EXPECT_FALSE(w->game().markerShown());  // no marker: nobody is to move yet
    }
}

TEST_F(VersusComputer, TheFirstStartFixesTheLevelForTheRun) {
    auto w = make(2);
    start(*w, 4);
    EXPECT_EQ(w->computerLevel(), 4);
    EXPECT_TRUE(control<QSlider>(*w, "levelSlider")->isHidden());
    EXPECT_TRUE(control<OpaqueLabel>(*w, "levelTitleLabel")->isHidden());
    EXPECT_TRUE(w->game().inProgress());
    EXPECT_EQ(control<OpaqueLabel>(*w, "firstCountLabel")->text(), "2");
    EXPECT_EQ(control<OpaqueLabel>(*w, "secondCountLabel")->text(), "2");
    EXPECT_FALSE(control<OpaqueLabel>(*w, "verdictLabel")->isHidden());
    EXPECT_EQ(control<QPushButton>(*w, "playButton")->text(), "Clear");
    EXPECT_EQ(w->game().firstClock(), 301);
    // Theme 2 plays the first side in red under the name "White".
    EXPECT_EQ(control<OpaqueLabel>(*w, "firstCountLabel")->background(), QColor(Qt::red));
    control<QSlider>(*w, "levelSlider")->setValue(2);
    control<QPushButton>(*w, "playButton")->click();
    EXPECT_EQ(w->computerLevel(), 4);
    EXPECT_TRUE(control<QSlider>(*w, "levelSlider")->isHidden());
}

TEST_F(VersusComputer, TheComputerAnswersWhenItsTimerFires) {
    auto w = make(1);
    start(*w);
    EXPECT_TRUE(control<PeriodicTimer>(*w, "clockTimer")->isActive());
    clickCell(*w, 2, 4);
    EXPECT_EQ(w->game().sideToMove(), CellCode::second);
    EXPECT_TRUE(control<PeriodicTimer>(*w, "computerTurnTimer")->isActive());
    // The pause comes off the computer's clock, and the person's clicks are ignored.
    tick(*w);
    EXPECT_EQ(control<OpaqueLabel>(*w, "secondClockLabel")->text(), "299");
    clickCell(*w, 0, 0);
    EXPECT_FALSE(w->game().markerShown());
    test_support::playByKeys(*w, *control<BoardCursor>(*w, "boardCursor"),
                             {0, 0});  // and so are its keys
    EXPECT_FALSE(w->game().markerShown());
    computerTurnDue(*w);
    EXPECT_FALSE(control<PeriodicTimer>(*w, "computerTurnTimer")->isActive());
    EXPECT_EQ(w->game().board().at(4, 5), CellCode::second);  // its answer to (2, 4)
    EXPECT_EQ(w->game().board().at(4, 4), CellCode::second);
    EXPECT_EQ(w->game().sideToMove(), CellCode::first);
    const QPoint centre(geometry::discOrigin(4) + 30, geometry::discOrigin(5) + 30);
    EXPECT_EQ(w->canvas().pixel(centre.x() + 15, centre.y()), QColor(Qt::yellow));
}

TEST_F(VersusComputer, PassesGoBothWays) {
    auto w = make(1);
    start(*w, 5);
    // The computer has no move after the person's: the person moves again at once.
    setPosition(*w, ".OX....." + std::string(48, '.') + "XO......");
    clickCell(*w, 0, 0);
    EXPECT_EQ(w->game().sideToMove(), CellCode::first);
    EXPECT_FALSE(control<PeriodicTimer>(*w, "computerTurnTimer")->isActive());
    // The person has no move after the computer's: the computer goes again after a pause.
    setPosition(*w, "OXXXXXX." + std::string(48, '.') + "......XO", CellCode::second);
    control<PeriodicTimer>(*w, "computerTurnTimer")->setEnabled(true);
    computerTurnDue(*w);
    EXPECT_EQ(w->game().board().at(7, 0), CellCode::second);
    EXPECT_EQ(w->game().sideToMove(), CellCode::second);
    EXPECT_TRUE(control<PeriodicTimer>(*w, "computerTurnTimer")->isActive());
    computerTurnDue(*w);
    EXPECT_EQ(w->game().board().at(5, 7), CellCode::second);
    EXPECT_FALSE(w->game().inProgress());  // the person has no disc left
}

TEST_F(VersusComputer, AClockRunningOutDuringThePauseEndsTheGameWithoutAMove) {
    auto w = make(1);
    start(*w);
    clickCell(*w, 2, 4);
    while (w->game().secondClock() > 1)
        tick(*w);
    tick(*w);
    EXPECT_EQ(control<OpaqueLabel>(*w, "firstClockLabel")->text(), "Yellow");
    EXPECT_EQ(control<OpaqueLabel>(*w, "secondClockLabel")->text(), "lose!");
    EXPECT_EQ(control<OpaqueLabel>(*w, "firstClockLabel")->fontColour(), QColor(Qt::red));
    EXPECT_EQ(control<OpaqueLabel>(*w, "secondClockLabel")->fontColour(), QColor(Qt::red));
    EXPECT_FALSE(w->game().inProgress());
    const Board before = w->game().board();
    computerTurnDue(*w);
    EXPECT_EQ(w->game().board(), before);
    // "Redraw" after a result only repaints: empty cells stay empty.
    control<QPushButton>(*w, "redrawButton")->click();
    EXPECT_EQ(w->canvas().pixel(geometry::discOrigin(0) + 30, geometry::discOrigin(0) + 30),
              w->theme().backgroundColour.resolve());
    tick(*w);
    EXPECT_NE(w->game().phase(), Game::Phase::running);
    EXPECT_EQ(control<OpaqueLabel>(*w, "firstClockLabel")->text(), "Yellow");
    clickCell(*w, 0, 0);
    EXPECT_EQ(w->game().phase(), Game::Phase::over);
}

TEST_F(VersusComputer, ANewGameCancelsAPendingComputerTurn) {
    auto w = make(3);
    start(*w);
    clickCell(*w, 2, 4);
    ASSERT_TRUE(control<PeriodicTimer>(*w, "computerTurnTimer")->isActive());
    control<QPushButton>(*w, "playButton")->click();
    EXPECT_FALSE(control<PeriodicTimer>(*w, "computerTurnTimer")->isActive());
    EXPECT_EQ(w->game().sideToMove(), CellCode::first);
    EXPECT_EQ(w->game().board().count(CellCode::first) + w->game().board().count(CellCode::second),
              4);
}

TEST_F(VersusComputer, ExitHoldsAPendingTurnUntilRedrawResumesTheGame) {
    auto w = make(1);
    start(*w);
    w->show();
    clickCell(*w, 2, 4);
    ASSERT_TRUE(control<PeriodicTimer>(*w, "computerTurnTimer")->isActive());
    control<QPushButton>(*w, "exitButton")->click();
    EXPECT_FALSE(w->isVisible());
    EXPECT_FALSE(control<PeriodicTimer>(*w, "computerTurnTimer")->isActive());
    const int clock = w->game().secondClock();
    tick(*w);
    EXPECT_EQ(w->game().secondClock(), clock);
    w->show();
    control<QPushButton>(*w, "redrawButton")->click();
    EXPECT_EQ(w->game().phase(), Game::Phase::running);
    EXPECT_TRUE(control<PeriodicTimer>(*w, "computerTurnTimer")->isActive());
    computerTurnDue(*w);
    EXPECT_EQ(w->game().sideToMove(), CellCode::first);
    w->close();
}

TEST_F(VersusComputer, TheComputersAnswerInAPausedMatchSetsTheClocksGoing) {
    auto w = make(1);
    start(*w);
    w->show();
    control<QPushButton>(*w, "exitButton")->click();
    w->show();
    clickCell(*w, 2, 4);  // paused, a click still plays
    ASSERT_TRUE(control<PeriodicTimer>(*w, "computerTurnTimer")->isActive());
    EXPECT_NE(w->game().phase(), Game::Phase::running);
    computerTurnDue(*w);
    EXPECT_EQ(w->game().phase(), Game::Phase::running);
    const int clock = w->game().firstClock();
    tick(*w);
    EXPECT_EQ(w->game().firstClock(), clock - 1);
    w->close();
}

TEST_F(VersusComputer, ClosingByTheTitleBarKeepsThePendingComputerTurn) {
    auto w = make(1);
    start(*w);
    w->show();
    clickCell(*w, 2, 4);
    w->close();  // not "Exit": the game goes on in the closed window
    EXPECT_TRUE(control<PeriodicTimer>(*w, "computerTurnTimer")->isActive());
    computerTurnDue(*w);
    EXPECT_EQ(w->game().board().at(4, 5), CellCode::second);
    EXPECT_EQ(w->game().sideToMove(), CellCode::first);
}

class WholeGames : public VersusComputer, public ::testing::WithParamInterface<int> {};

// Every game is played from the keyboard: the arrows take the cursor to each of the person's
// moves, then Enter or Space plays it.
TEST_P(WholeGames, AtEveryLevelEndByTheRules) {
    const int theme = GetParam();
    std::mt19937 random(7 + theme);
    {
        for (int level = 1; level <= 5; ++level) {
            auto w = make(theme, static_cast<int>(random() % 30));
            start(*w, level);
            ASSERT_EQ(w->computerLevel(), level);
            for (int turn = 0; w->game().inProgress(); ++turn) {
                ASSERT_LT(turn, 200);
                if (control<PeriodicTimer>(*w, "computerTurnTimer")->isActive()) {
                    const Board before = w->game().board();
                    computerTurnDue(*w);
                    ASSERT_NE(w->game().board(), before) << "the computer passed with a move";
                    continue;
                }
                const auto moves = legalMoves(w->game());
                ASSERT_EQ(w->game().sideToMove(), CellCode::first);
                ASSERT_FALSE(moves.empty());
                const CellPos move = moves[random() % moves.size()];
                test_support::playByKeys(*w, *control<BoardCursor>(*w, "boardCursor"), move,
                                         turn % 2 ? Qt::Key_Return : Qt::Key_Space);
            }
            EXPECT_EQ(control<OpaqueLabel>(*w, "secondClockLabel")->text(), "lose!");
            EXPECT_NE(w->game().phase(), Game::Phase::running);
        }
    }
}
INSTANTIATE_TEST_SUITE_P(EachTheme, WholeGames, ::testing::Values(1, 2, 3));

}  // namespace
}  // namespace reversi
