#include <gtest/gtest.h>

#include <random>

#include "computer_match_window.h"
#include "keyboard_test_support.h"
#include "rules.h"
#include "widget_test_support.h"

namespace reversi {
namespace {

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
        w.levelSlider->setValue(level);
        w.playButton->click();
    }
    static void clickCell(ComputerMatchWindow& w, int x, int y) {
        w.onWindowClicked(geometry::discOrigin(x) + 30, geometry::discOrigin(y) + 30);
    }
    // Puts a position on the board, by default with the person to move.
    static void setPosition(ComputerMatchWindow& w, const std::string& text,
                            Cell toMove = CellCode::first) {
        w.setPosition(*boardFromText(text), toMove);
        w.redrawBoard();
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
        EXPECT_EQ(w->clockTimer->isActive(), theme != 1);
        EXPECT_FALSE(w->computerTurnTimer->isActive());
        EXPECT_EQ(w->computerTurnTimer->interval(), theme == 1 ? 2500 : 5000);
        EXPECT_EQ(w->levelTitleLabel->text(), "Complication:");
        EXPECT_EQ(w->levelSlider->minimum(), 1);
        EXPECT_EQ(w->levelSlider->maximum(), 5);
        EXPECT_EQ(w->betaLabel->text(), "BETA");
        EXPECT_EQ(w->betaLabel->fontColour(), QColor(Qt::red));
        EXPECT_FALSE(w->matchLive);
        clickCell(*w, 4, 2);
        EXPECT_FALSE(w->game().markerShown());  // no marker: nobody is to move yet
    }
}

TEST_F(VersusComputer, TheFirstStartFixesTheLevelForTheRun) {
    auto w = make(2);
    start(*w, 4);
    EXPECT_EQ(w->computer.level(), 4);
    EXPECT_TRUE(w->levelSlider->isHidden());
    EXPECT_TRUE(w->levelTitleLabel->isHidden());
    EXPECT_TRUE(w->matchLive);
    EXPECT_EQ(w->firstCountLabel->text(), "2");
    EXPECT_EQ(w->secondCountLabel->text(), "2");
    EXPECT_FALSE(w->verdictLabel->isHidden());
    EXPECT_EQ(w->playButton->text(), "Clear");
    EXPECT_EQ(w->game().firstClock(), 301);
    // Theme 2 plays the first side in red under the name "White".
    EXPECT_EQ(w->firstCountLabel->background(), QColor(Qt::red));
    w->levelSlider->setValue(2);
    w->playButton->click();
    EXPECT_EQ(w->computer.level(), 4);
    EXPECT_TRUE(w->levelSlider->isHidden());
}

TEST_F(VersusComputer, TheComputerAnswersWhenItsTimerFires) {
    auto w = make(1);
    start(*w);
    EXPECT_TRUE(w->clockTimer->isActive());
    clickCell(*w, 2, 4);
    EXPECT_EQ(w->game().sideToMove(), CellCode::second);
    EXPECT_TRUE(w->computerTurnTimer->isActive());
    // The pause comes off the computer's clock, and the person's clicks are ignored.
    w->onClockTick();
    EXPECT_EQ(w->secondClockLabel->text(), "299");
    clickCell(*w, 0, 0);
    EXPECT_FALSE(w->game().markerShown());
    test_support::playByKeys(*w, *w->boardCursor, {0, 0});  // and so are its keys
    EXPECT_FALSE(w->game().markerShown());
    w->onComputerTurnDue();
    EXPECT_FALSE(w->computerTurnTimer->isActive());
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
    EXPECT_FALSE(w->computerTurnTimer->isActive());
    // The person has no move after the computer's: the computer goes again after a pause.
    setPosition(*w, "OXXXXXX." + std::string(48, '.') + "......XO", CellCode::second);
    w->computerTurnTimer->setEnabled(true);
    w->onComputerTurnDue();
    EXPECT_EQ(w->game().board().at(7, 0), CellCode::second);
    EXPECT_EQ(w->game().sideToMove(), CellCode::second);
    EXPECT_TRUE(w->computerTurnTimer->isActive());
    w->onComputerTurnDue();
    EXPECT_EQ(w->game().board().at(5, 7), CellCode::second);
    EXPECT_FALSE(w->matchLive);  // the person has no disc left
}

TEST_F(VersusComputer, AClockRunningOutDuringThePauseEndsTheGameWithoutAMove) {
    auto w = make(1);
    start(*w);
    clickCell(*w, 2, 4);
    while (w->game().secondClock() > 1)
        w->onClockTick();
    w->onClockTick();
    EXPECT_EQ(w->firstClockLabel->text(), "Yellow");
    EXPECT_EQ(w->secondClockLabel->text(), "lose!");
    EXPECT_EQ(w->firstClockLabel->fontColour(), QColor(Qt::red));
    EXPECT_EQ(w->secondClockLabel->fontColour(), QColor(Qt::red));
    EXPECT_FALSE(w->matchLive);
    const Board before = w->game().board();
    w->onComputerTurnDue();
    EXPECT_EQ(w->game().board(), before);
    // "Redraw" after a result only repaints: empty cells stay empty.
    w->redrawButton->click();
    EXPECT_EQ(w->canvas().pixel(geometry::discOrigin(0) + 30, geometry::discOrigin(0) + 30),
              w->theme().backgroundColour.resolve());
    w->onClockTick();
    EXPECT_NE(w->game().phase(), Game::Phase::running);
    EXPECT_EQ(w->firstClockLabel->text(), "Yellow");
    clickCell(*w, 0, 0);
    EXPECT_EQ(w->game().phase(), Game::Phase::over);
}

TEST_F(VersusComputer, ANewGameCancelsAPendingComputerTurn) {
    auto w = make(3);
    start(*w);
    clickCell(*w, 2, 4);
    ASSERT_TRUE(w->computerTurnTimer->isActive());
    w->playButton->click();
    EXPECT_FALSE(w->computerTurnTimer->isActive());
    EXPECT_EQ(w->game().sideToMove(), CellCode::first);
    EXPECT_EQ(w->game().board().count(CellCode::first) + w->game().board().count(CellCode::second),
              4);
}

TEST_F(VersusComputer, ExitHoldsAPendingTurnUntilRedrawResumesTheGame) {
    auto w = make(1);
    start(*w);
    w->show();
    clickCell(*w, 2, 4);
    ASSERT_TRUE(w->computerTurnTimer->isActive());
    w->exitButton->click();
    EXPECT_FALSE(w->isVisible());
    EXPECT_FALSE(w->computerTurnTimer->isActive());
    const int clock = w->game().secondClock();
    w->onClockTick();
    EXPECT_EQ(w->game().secondClock(), clock);
    w->show();
    w->redrawButton->click();
    EXPECT_EQ(w->game().phase(), Game::Phase::running);
    EXPECT_TRUE(w->computerTurnTimer->isActive());
    w->onComputerTurnDue();
    EXPECT_EQ(w->game().sideToMove(), CellCode::first);
    w->close();
}

TEST_F(VersusComputer, TheComputersAnswerInAPausedMatchSetsTheClocksGoing) {
    auto w = make(1);
    start(*w);
    w->show();
    w->exitButton->click();
    w->show();
    clickCell(*w, 2, 4);  // paused, a click still plays
    ASSERT_TRUE(w->computerTurnTimer->isActive());
    EXPECT_NE(w->game().phase(), Game::Phase::running);
    w->onComputerTurnDue();
    EXPECT_EQ(w->game().phase(), Game::Phase::running);
    const int clock = w->game().firstClock();
    w->onClockTick();
    EXPECT_EQ(w->game().firstClock(), clock - 1);
    w->close();
}

TEST_F(VersusComputer, ClosingByTheTitleBarKeepsThePendingComputerTurn) {
    auto w = make(1);
    start(*w);
    w->show();
    clickCell(*w, 2, 4);
    w->close();  // not "Exit": the game goes on in the closed window
    EXPECT_TRUE(w->computerTurnTimer->isActive());
    w->onComputerTurnDue();
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
            ASSERT_EQ(w->computer.level(), level);
            for (int turn = 0; w->matchLive; ++turn) {
                ASSERT_LT(turn, 200);
                if (w->computerTurnTimer->isActive()) {
                    const Board before = w->game().board();
                    w->onComputerTurnDue();
                    ASSERT_NE(w->game().board(), before) << "the computer passed with a move";
                    continue;
                }
                const auto moves = legalMoves(w->game());
                ASSERT_EQ(w->game().sideToMove(), CellCode::first);
                ASSERT_FALSE(moves.empty());
                const CellPos move = moves[random() % moves.size()];
                test_support::playByKeys(*w, *w->boardCursor, move,
                                         turn % 2 ? Qt::Key_Return : Qt::Key_Space);
            }
            EXPECT_EQ(w->secondClockLabel->text(), "lose!");
            EXPECT_NE(w->game().phase(), Game::Phase::running);
        }
    }
}
INSTANTIATE_TEST_SUITE_P(EachTheme, WholeGames, ::testing::Values(1, 2, 3));

}  // namespace
}  // namespace reversi
