#include <gtest/gtest.h>

#include <qpa/qwindowsysteminterface.h>
#include <QApplication>
#include <QDir>
#include <QSignalSpy>

#include "computer_match_window.h"
#include "match_test_support.h"

namespace reversi {
namespace {

using test_support::control;

using Window = test_support::MatchTest;

TEST_F(Window, IsCreatedHiddenWithANewBoardAndNoPixels) {
    for (int theme = 1; theme <= 3; ++theme) {
        MatchWindow& w = window(theme);
        EXPECT_FALSE(w.isVisible());
        EXPECT_TRUE(control<QPushButton>(w, "dumpBoardButton")->isHidden());
        for (QWidget* hidden : {static_cast<QWidget*>(control<OpaqueLabel>(w, "firstCountLabel")),
                                static_cast<QWidget*>(control<OpaqueLabel>(w, "verdictLabel")),
                                static_cast<QWidget*>(control<QPushButton>(w, "redrawButton"))}) {
            EXPECT_TRUE(hidden->isHidden());
        }
        EXPECT_EQ(control<OpaqueLabel>(w, "firstCountLabel")->text(), "2");
        EXPECT_EQ(control<OpaqueLabel>(w, "secondCountLabel")->text(), "2");
        EXPECT_TRUE(control<PeriodicTimer>(w, "clockTimer")->isActive());
        EXPECT_NE(w.game().phase(), Game::Phase::running);
        EXPECT_FALSE(w.canvas().isAllocated());  // never shown, never drawn: no pixels yet
        EXPECT_EQ(w.canvas().pixel(5, 5), colourOf(w.theme().backgroundColour));
    }
}

TEST_F(Window, ATallWindowShowsOnlyItsBackgroundBelowTheBoard) {
    for (int theme = 1; theme <= 3; ++theme) {
        MatchWindow& w = window(theme);
        w.resize(976, 1000);
        const QImage shot = w.grab().toImage();
        const QColor background = colourOf(w.theme().backgroundColour);
        int others = 0;
        for (int y = 700; y < shot.height(); ++y) {
            for (int x = 0; x < shot.width(); ++x)
                others += shot.pixelColor(x, y) != background;
        }
        EXPECT_EQ(others, 0) << "theme " << theme;
    }
}

TEST_F(Window, AStartReadsTheCountdownDeletesTheFileAndShowsTheLabels) {
    for (int theme = 1; theme <= 3; ++theme) {
        MatchWindow& w = window(theme);
        start(w);
        EXPECT_FALSE(QFile::exists("0.db"));
        EXPECT_EQ(w.game().phase(), Game::Phase::running);
        EXPECT_EQ(w.game().firstClock(), 301);
        EXPECT_EQ(w.game().secondClock(), 300);
        EXPECT_EQ(control<QPushButton>(w, "playButton")->text(), "Clear");
        EXPECT_FALSE(control<OpaqueLabel>(w, "firstCountLabel")->isHidden());
        EXPECT_FALSE(control<OpaqueLabel>(w, "secondClockLabel")->isHidden());
        EXPECT_FALSE(control<QPushButton>(w, "redrawButton")->isHidden());
        EXPECT_EQ(control<OpaqueLabel>(w, "verdictLabel")->isHidden(),
                  theme != 3);  // the verdict shows in theme 3 only
        EXPECT_EQ(control<OpaqueLabel>(w, "firstCountLabel")->background(),
                  colourOf(w.theme().firstColour));
        EXPECT_EQ(control<OpaqueLabel>(w, "firstClockLabel")->background(),
                  colourOf(w.theme().firstColour));
        EXPECT_EQ(control<OpaqueLabel>(w, "secondCountLabel")->background(),
                  colourOf(w.theme().secondColour));
        EXPECT_EQ(control<OpaqueLabel>(w, "secondClockLabel")->background(),
                  colourOf(w.theme().secondColour));
        if (theme == 2) {
            EXPECT_EQ(control<OpaqueLabel>(w, "verdictLabel")->background(), QColor(Qt::black));
        }
        tick(w);
        EXPECT_EQ(control<OpaqueLabel>(w, "firstClockLabel")->text(), "300");
        EXPECT_EQ(control<OpaqueLabel>(w, "secondClockLabel")->text(), "300");
        // Every later start keeps the countdown read the first time; no file is needed.
        clickCell(w, 4, 2);
        control<QPushButton>(w, "playButton")->click();
        EXPECT_TRUE(errors.isEmpty());
        EXPECT_EQ(w.game().firstClock(), 301);
        EXPECT_EQ(w.game().board().at(4, 2), CellCode::empty);
    }
}

TEST_F(Window, AMissingHandoffFileIsReportedAndTheNextPressTriesAgain) {
    MatchWindow& w = window(1);
    control<QPushButton>(w, "playButton")->click();
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].contains("0.db"));
    EXPECT_EQ(control<QPushButton>(w, "playButton")->text(), "Play!");
    EXPECT_TRUE(control<OpaqueLabel>(w, "firstCountLabel")->isHidden());
    // No game is left running: the next tick shows the clocks and ends nothing.
    tick(w);
    EXPECT_NE(w.game().phase(), Game::Phase::running);
    EXPECT_EQ(control<OpaqueLabel>(w, "secondClockLabel")->text(), "0");
    start(w);
    EXPECT_EQ(errors.size(), 1);
    EXPECT_EQ(w.game().secondClock(), 300);
}

TEST_F(Window, OnlyACountdownTheMenuWritesStartsAGameAndNoMoveIsPlayedWithoutOne) {
    struct Case {
        QByteArray content;
        std::optional<int> countdown;
    };
    const Case cases[] = {{"300\r\n", 300},
                          {"250", 250},
                          {"3600\n", 3600},
                          {"", {}},
                          {"\r\n", {}},
                          {"abc", {}},
                          {QByteArray("\0", 1), {}},
                          {QByteArray("3\0"
                                      "0\0"
                                      "0\0",
                                      6),
                           {}},  // UTF-16
                          {" 300", {}},
                          {"+300", {}},
                          {"-5", {}},
                          {"249", {}},
                          {"3601", {}},
                          {"301", {}},
                          {"2147483646", {}},
                          {"-2147483648", {}}};
    for (const Case& c : cases) {
        MatchWindow w(styleFor(MatchKind::twoPlayer, 1));
        w.setGrowStep(std::chrono::nanoseconds(0));
        errors.clear();
        start(w, c.content);
        clickCell(w, 4, 2);
        if (c.countdown) {
            EXPECT_TRUE(errors.isEmpty()) << c.content.toHex().constData();
            EXPECT_EQ(w.game().secondClock(), *c.countdown) << c.content.toHex().constData();
            EXPECT_EQ(w.game().board().at(4, 2), CellCode::first);
        } else {
            // Reported like an unreadable file; no game, and the board takes no move.
            EXPECT_EQ(errors.size(), 1) << c.content.toHex().constData();
            EXPECT_NE(w.game().phase(), Game::Phase::running);
            EXPECT_EQ(w.game().board().at(4, 2), CellCode::empty);
            EXPECT_TRUE(w.game().markerShown());  // the marker alone: no move without a game
        }
    }
}

TEST_F(Window, BeforeTheFirstGameAClickShowsTheMarkerAloneAndACentreCellNothing) {
    MatchWindow& w = window(2);
    const QColor background = colourOf(w.theme().backgroundColour);
    const Board before = w.game().board();
    clickCell(w, 3, 3);
    EXPECT_FALSE(w.game().markerShown());
    clickCell(w, 4, 2);
    EXPECT_TRUE(w.game().markerShown());
    EXPECT_EQ(discColour(w, 4, 2), colourOf(w.theme().markerColour));
    EXPECT_EQ(w.canvas().pixel(50, 300), background);  // no grid: the marker alone
    EXPECT_EQ(w.game().board(), before);
    tick(w);
    tick(w);
    EXPECT_EQ(discColour(w, 4, 2), background);
    EXPECT_NE(w.game().phase(), Game::Phase::running);
}

// Runs a check at every repaint of a window.
struct AtEachPaint : QObject {
    AtEachPaint(QWidget& window, std::function<void()> check) : check_(std::move(check)) {
        window.installEventFilter(this);
    }
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) check_();
        return false;
    }
    std::function<void()> check_;
};

TEST_F(Window, ClearWhileAMarkerShowsNeverPaintsItOutsideItsCell) {
    for (const MatchKind kind : {MatchKind::twoPlayer, MatchKind::versusComputer}) {
        for (int theme = 1; theme <= 2; ++theme) {
            SCOPED_TRACE(testing::Message() << "kind " << int(kind) << ", theme " << theme);
            std::unique_ptr<MatchWindow> w;
            if (kind == MatchKind::twoPlayer)
                w = std::make_unique<MatchWindow>(styleFor(kind, theme));
            else
                w = std::make_unique<ComputerMatchWindow>(styleFor(kind, theme));
            w->setGrowStep(std::chrono::nanoseconds(0));
            w->show();
            ASSERT_TRUE(QTest::qWaitForWindowExposed(w.get()));
            start(*w);
            clickCell(*w, 0, 0);
            ASSERT_TRUE(w->game().markerShown());
            int paints = 0, strayMarkers = 0;
            const AtEachPaint watch(*w, [&] {
                ++paints;
                for (int x = 0; x < Board::size; ++x) {
                    for (int y = 0; y < Board::size; ++y) {
                        strayMarkers += (x > 0 || y > 0) &&
                                        w->game().board().at(x, y) == CellCode::empty &&
                                        discColour(*w, x, y) == colourOf(w->theme().markerColour);
                    }
                }
            });
            control<QPushButton>(*w, "playButton")->click();
            EXPECT_GT(paints, 0);
            EXPECT_EQ(strayMarkers, 0);
        }
    }
}

TEST_F(Window, PressesThatComeWhileANewGameIsLaidOutAreDropped) {
    MatchWindow& w = window(1);
    w.setGrowStep(std::chrono::microseconds(50));
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    start(w);
    auto* play = control<QPushButton>(w, "playButton");
    // A player's press of "Clear" while the discs grow: it waits in the window system's queue.
    bool pressed = false;
    const AtEachPaint pressWhileGrowing(w, [&] {
        if (std::exchange(pressed, true)) return;
        QWindow* window = w.windowHandle();
        const QPointF at = play->geometry().center();
        for (const auto type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
            QWindowSystemInterface::handleMouseEvent<QWindowSystemInterface::AsynchronousDelivery>(
                window, at, window->mapToGlobal(at),
                type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::LeftButton,
                type);
        }
    });
    QSignalSpy presses(play, &QPushButton::clicked);
    play->click();
    QCoreApplication::processEvents();
    EXPECT_TRUE(pressed);
    EXPECT_EQ(presses.count(), 1);
}

TEST_F(Window, TheBoardIsDrawnInTheThemesColours) {
    for (int theme = 1; theme <= 3; ++theme) {
        MatchWindow& w = window(theme);
        start(w);
        const QColor grid = colourOf(w.theme().gridColour);
        const QColor background = colourOf(w.theme().backgroundColour);
        for (int line = 50; line <= 690; line += 80) {
            for (int along : {50, 377, 690}) {
                EXPECT_EQ(w.canvas().pixel(line, along), grid) << line << "," << along;
                EXPECT_EQ(w.canvas().pixel(along, line), grid) << along << "," << line;
            }
        }
        EXPECT_EQ(w.canvas().pixel(49, 300), background);
        EXPECT_EQ(w.canvas().pixel(691, 300), background);
        EXPECT_EQ(discColour(w, 3, 3), colourOf(w.theme().firstColour));
        EXPECT_EQ(discColour(w, 4, 3), colourOf(w.theme().secondColour));
        EXPECT_EQ(dotColour(w, 3, 3), background);
        EXPECT_EQ(dotColour(w, 4, 4), background);
        EXPECT_EQ(discColour(w, 0, 0), background);
    }
}

TEST_F(Window, ARejectedClickShowsTheMarkerUntilTheSecondTick) {
    for (int theme = 1; theme <= 3; ++theme) {
        MatchWindow& w = window(theme);
        start(w);
        clickCell(w, 0, 0);
        const QColor marker = colourOf(w.theme().markerColour);
        const QColor background = colourOf(w.theme().backgroundColour);
        EXPECT_EQ(discColour(w, 0, 0), marker);
        EXPECT_EQ(dotColour(w, 0, 0), marker);  // the marker has no centre dot
        tick(w);
        EXPECT_EQ(dotColour(w, 0, 0), marker);
        tick(w);
        EXPECT_EQ(dotColour(w, 0, 0), background);
        EXPECT_EQ(discColour(w, 0, 0), background);
        EXPECT_EQ(w.canvas().pixel(50, 90), colourOf(w.theme().gridColour));
        EXPECT_EQ(w.canvas().pixel(130, 90), colourOf(w.theme().gridColour));
        clickCell(w, 4, 2);  // still ignored on the counter's last step
        EXPECT_EQ(w.game().board().at(4, 2), CellCode::empty);
        tick(w);
        clickCell(w, 4, 2);
        EXPECT_EQ(w.game().board().at(4, 2), CellCode::first);
    }
}

TEST_F(Window, EveryMouseButtonPlaysAndTheFlipsAreDrawn) {
    MatchWindow& w = window(2);
    start(w);
    w.show();
    QTest::mouseClick(&w, Qt::RightButton, {}, centreOf(4, 2));
    EXPECT_EQ(w.game().board().at(4, 3), CellCode::first);
    EXPECT_EQ(discColour(w, 4, 3), QColor(Qt::white));
    EXPECT_EQ(discColour(w, 4, 2), QColor(Qt::white));
    EXPECT_EQ(dotColour(w, 4, 2), QColor(Qt::blue));
    QTest::mouseClick(&w, Qt::MiddleButton, {}, centreOf(3, 2));
    EXPECT_EQ(discColour(w, 3, 3), QColor(Qt::black));
    QTest::mouseClick(&w, Qt::LeftButton, {}, centreOf(2, 2));
    EXPECT_EQ(w.game().board().at(3, 3), CellCode::first);
    EXPECT_EQ(control<OpaqueLabel>(w, "firstCountLabel")->text(), "6");
    EXPECT_EQ(control<OpaqueLabel>(w, "secondCountLabel")->text(), "1");
    // Off the grid and on occupied cells nothing happens.
    QTest::mouseClick(&w, Qt::LeftButton, {}, {700, 300});
    QTest::mouseClick(&w, Qt::LeftButton, {}, centreOf(3, 3));
    EXPECT_FALSE(w.game().markerShown());
    w.close();
}

TEST_F(Window, TheArrowsMoveTheCursorFromD4AndStopAtTheEdges) {
    MatchWindow& w = window(1);
    const BoardCursor& cursor = *control<BoardCursor>(w, "boardCursor");
    EXPECT_EQ(cursor.accessibleName(), "Board");
    EXPECT_FALSE(cursor.outlineShown());
    struct Step {
        Qt::Key key;
        int times;
        CellPos cell;
    };
    const Step steps[] = {{Qt::Key_Right, 1, {3, 3}},  // the first key only shows the cursor
                          {Qt::Key_Right, 1, {4, 3}}, {Qt::Key_Down, 1, {4, 4}},
                          {Qt::Key_Up, 5, {4, 0}},    {Qt::Key_Left, 5, {0, 0}},
                          {Qt::Key_Down, 8, {0, 7}},  {Qt::Key_Right, 8, {7, 7}}};
    for (const Step& step : steps) {
        for (int i = 0; i < step.times; ++i)
            test_support::press(w, step.key);
        EXPECT_TRUE(cursor.cell() == step.cell)
            << "expected " << step.cell.x << "," << step.cell.y << " got " << cursor.cell().x << ","
            << cursor.cell().y;
    }
    EXPECT_TRUE(cursor.outlineShown());
    EXPECT_EQ(cursor.cellText(cursor.cell()), "h8, empty");
}

TEST_F(Window, EnterAndSpacePlayTheCursorsCellExactlyAsAClickOnItsCentre) {
    MatchWindow& clicked = window(2);
    MatchWindow keyed(styleFor(MatchKind::twoPlayer, 2));
    keyed.setGrowStep(std::chrono::nanoseconds(0));
    start(clicked);
    start(keyed);
    struct Move {
        CellPos cell;
        Qt::Key key;
    };
    // Three moves, then an empty cell that captures nothing.
    const Move moves[] = {{{4, 2}, Qt::Key_Return},
                          {{3, 2}, Qt::Key_Space},
                          {{2, 2}, Qt::Key_Enter},
                          {{0, 0}, Qt::Key_Return}};
    for (const Move& move : moves) {
        clickCell(clicked, move.cell.x, move.cell.y);
        test_support::playByKeys(keyed, *control<BoardCursor>(keyed, "boardCursor"), move.cell,
                                 move.key);
        EXPECT_EQ(keyed.game().board(), clicked.game().board())
            << move.cell.x << "," << move.cell.y;
        EXPECT_EQ(keyed.game().markerShown(), clicked.game().markerShown());
        EXPECT_EQ(keyed.canvas().image().convertToFormat(QImage::Format_RGB32),
                  clicked.canvas().image().convertToFormat(QImage::Format_RGB32));
    }
    EXPECT_EQ(keyed.game().board().count(CellCode::empty), 57);
    EXPECT_TRUE(keyed.game().markerShown());
}

TEST_F(Window, TabTakesTheKeyboardFromTheBoardToEachButtonAndSpacePressesIt) {
    MatchWindow& w = window(1);
    w.show();
    QApplication::setActiveWindow(&w);
    writeFile("0.db", "300\r\n");
    // A click on a button leaves the keyboard on the board: a focused button looks different.
    QTest::mouseClick(control<QPushButton>(w, "playButton"), Qt::LeftButton);
    EXPECT_EQ(control<QPushButton>(w, "playButton")->text(), "Clear");
    EXPECT_EQ(QApplication::focusWidget(), control<BoardCursor>(w, "boardCursor"));
    clickCell(w, 4, 2);
    struct Step {
        Qt::Key key;
        QWidget* focus;
    };
    const Step steps[] = {{Qt::Key_Tab, control<QPushButton>(w, "exitButton")},
                          {Qt::Key_Tab, control<QPushButton>(w, "playButton")},
                          {Qt::Key_Tab, control<QPushButton>(w, "redrawButton")},
                          {Qt::Key_Tab, control<BoardCursor>(w, "boardCursor")},
                          {Qt::Key_Backtab, control<QPushButton>(w, "redrawButton")},
                          {Qt::Key_Backtab, control<QPushButton>(w, "playButton")},
                          {Qt::Key_Space, control<QPushButton>(w, "playButton")}};
    for (const Step& step : steps) {
        test_support::press(w, step.key);
        EXPECT_EQ(QApplication::focusWidget(), step.focus) << QTest::toString(step.key);
    }
    // Space pressed "Clear", which started a new game; no key reached the board.
    EXPECT_EQ(w.game().board().count(CellCode::empty), 60);
    EXPECT_FALSE(control<BoardCursor>(w, "boardCursor")->outlineShown());
    // A click on the board gives it the keyboard back.
    QTest::mouseClick(&w, Qt::LeftButton, {}, centreOf(3, 3));
    EXPECT_EQ(QApplication::focusWidget(), control<BoardCursor>(w, "boardCursor"));
    w.close();
}

TEST_F(Window, TheCursorIsPaintedOverTheBoardOnlyOnceAKeyIsUsed) {
    for (const MatchKind kind : {MatchKind::twoPlayer, MatchKind::versusComputer}) {
        for (int theme = 1; theme <= 3; ++theme) {
            const Theme& t = styleFor(kind, theme).theme;
            for (const Colour& other :
                 {t.firstColour, t.secondColour, t.backgroundColour, t.gridColour, t.markerColour})
                EXPECT_NE(colourOf(t.cursorColour), colourOf(other)) << theme;
        }
    }
    for (int theme = 1; theme <= 3; ++theme) {
        MatchWindow& w = window(theme);
        start(w);
        w.show();
        QApplication::setActiveWindow(&w);
        ASSERT_TRUE(control<BoardCursor>(w, "boardCursor")->hasFocus());
        // The canvas left of the buttons and labels.
        const QRect area(0, 0, 760, 700);
        const auto drawn = [&] {
            return w.canvas().image().copy(area).convertToFormat(QImage::Format_RGB32);
        };
        const auto shown = [&] {
            return w.grab(area).toImage().convertToFormat(QImage::Format_RGB32);
        };
        const QImage board = drawn();
        EXPECT_EQ(shown(), board) << "theme " << theme << ": before any key";

        test_support::press(w, Qt::Key_Down);
        // A two-pixel square around d4, three pixels inside its grid lines, and nothing else.
        const QImage withCursor = shown();
        const QRect outline(293, 293, 75, 75);
        const QColor cursor = colourOf(w.theme().cursorColour);
        int onOutline = 0, elsewhere = 0;
        for (int y = 0; y < board.height(); ++y) {
            for (int x = 0; x < board.width(); ++x) {
                if (withCursor.pixel(x, y) == board.pixel(x, y)) continue;
                const bool expected =
                    outline.contains(x, y) && withCursor.pixelColor(x, y) == cursor;
                ++(expected ? onOutline : elsewhere);
            }
        }
        EXPECT_EQ(onOutline, 75 * 75 - 71 * 71) << "theme " << theme;
        EXPECT_EQ(elsewhere, 0) << "theme " << theme;
        EXPECT_EQ(drawn(), board);
        test_support::press(w, Qt::Key_Tab);  // the keyboard on "Exit": the board shows no cursor
        EXPECT_EQ(shown(), board) << "theme " << theme << ": the board without the keyboard";
        test_support::press(w, Qt::Key_Backtab);
        EXPECT_NE(shown(), board) << "theme " << theme << ": the keyboard back on the board";

        QTest::mouseClick(&w, Qt::LeftButton, {}, centreOf(3, 3));  // occupied: plays nothing
        EXPECT_EQ(shown(), board) << "theme " << theme << ": after a click";
        w.close();
    }
}

TEST_F(Window, ExitPausesAndRedrawResumes) {
    MatchWindow& w = window(1);
    start(w);
    w.show();
    clickCell(w, 4, 2);
    control<QPushButton>(w, "exitButton")->click();
    EXPECT_FALSE(w.isVisible());
    EXPECT_NE(w.game().phase(), Game::Phase::running);
    const int clock = w.game().secondClock();
    tick(w);
    EXPECT_EQ(w.game().secondClock(), clock);
    EXPECT_EQ(control<OpaqueLabel>(w, "secondClockLabel")->text(), QString::number(clock));
    // Paused, clicks still play.
    clickCell(w, 5, 4);
    EXPECT_EQ(w.game().board().at(5, 4), CellCode::second);
    // The picture survives closing; "Redraw" repaints it and sets the clocks going. A file
    // "data/0.db", which the game never writes, is the user's: it stays.
    EXPECT_EQ(discColour(w, 5, 4), QColor(Qt::yellow));
    QDir().mkdir("data");
    writeFile("data/0.db", "x");
    control<QPushButton>(w, "redrawButton")->click();
    EXPECT_EQ(readFile("data/0.db"), "x");
    EXPECT_EQ(w.game().phase(), Game::Phase::running);
    tick(w);
    EXPECT_EQ(w.game().firstClock(), 300);
}

TEST_F(Window, RedrawRebuildsAFinishedPositionAtOnce) {
    MatchWindow& w = window(3);
    start(w);
    const auto text = std::string(20, 'X') + std::string(20, 'O') + std::string(24, '.');
    w.setPosition(*boardFromText(text), CellCode::first);
    clickCell(w, 0, 0);  // leave a marker behind
    control<QPushButton>(w, "redrawButton")->click();
    EXPECT_FALSE(w.game().markerShown());
    for (int x = 0; x < 8; ++x) {
        for (int y = 0; y < 8; ++y) {
            const Cell code = w.game().board().at(x, y);
            const QColor expected = code == CellCode::first    ? QColor(Qt::green)
                                    : code == CellCode::second ? QColor(Qt::yellow)
                                                               : QColor(Qt::magenta);
            EXPECT_EQ(discColour(w, x, y), expected) << x << "," << y;
            EXPECT_EQ(dotColour(w, x, y), QColor(Qt::magenta));
        }
    }
}

TEST_F(Window, TheHiddenDumpWritesTheBoardRowByRow) {
    MatchWindow& w = window(1);
    start(w);
    clickCell(w, 4, 2);
    control<QPushButton>(w, "dumpBoardButton")->click();
    const QByteArray empty = " 0 0 0 0 0 0 0 0\r\n";
    EXPECT_EQ(readFile("otladka.txt"), empty + empty + " 0 0 0 0 3 0 0 0\r\n" +
                                           " 0 0 0 3 3 0 0 0\r\n" + " 0 0 0 7 3 0 0 0\r\n" + empty +
                                           empty + empty);
    // Unwritable: the error is shown, the game goes on.
    QFile::remove("otladka.txt");
    QDir().mkdir("otladka.txt");
    control<QPushButton>(w, "dumpBoardButton")->click();
    EXPECT_EQ(errors.size(), 1);
}

}  // namespace
}  // namespace reversi
