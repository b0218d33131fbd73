#include <gtest/gtest.h>

#include <QAccessible>
#include <QDir>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <optional>
#include <stdexcept>
#include <vector>

#include "accessibility.h"
#include "desktop_session.h"
#include "file_error.h"
#include "help_windows.h"
#include "intro_animation.h"
#include "main_menu.h"
#include "program_run.h"
#include "resource_names.h"
#include "resources.h"
#include "widget_test_support.h"

namespace reversi {
namespace {

using test_support::control;

// Records the windows the menu asks for instead of opening them.
struct RecordingDirectory final : WindowDirectory {
    std::vector<std::pair<MatchKind, int>> opened;
    int helpOpened = 0, infoOpened = 0;
    ModalWindow* matchWindow(MatchKind kind, int theme) override {
        opened.push_back({kind, theme});
        return nullptr;
    }
    ModalWindow* helpWindow() override {
        ++helpOpened;
        return nullptr;
    }
    ModalWindow* infoWindow() override {
        ++infoOpened;
        return nullptr;
    }
};

class Menu : public test_support::WidgetTest {
  protected:
    // The menu with the program's start-up work done, whose exit work runs when `run` goes.
    void makeMenu(UpdateHalves update = {}) {
        run.emplace(std::move(update));
        menu = std::make_unique<MainMenu>(directory);
        run->startUp(*menu);
    }
    void TearDown() override {
        run.reset();  // the exit work, in the test's folder
        WidgetTest::TearDown();
    }
    // A part of the menu, found from outside by its name.
    template <class Part>
    Part* find(const char* name) const {
        return control<Part>(*menu, name);
    }
    void finishIntro() {
        auto* intro = find<IntroAnimation>("intro");
        for (int tick = 0; tick < 13 && intro->isRunning(); ++tick)
            intro->tick();
        ASSERT_FALSE(intro->isRunning()) << "the intro ends at the 13th tick";
    }
    RecordingDirectory directory;
    std::optional<ProgramRun> run;
    std::unique_ptr<MainMenu> menu;
};

TEST_F(Menu, TheIntroShowsItsFramesThenTheMenuAtTheThirteenthTick) {
    makeMenu();
    auto* intro = find<IntroAnimation>("intro");
    EXPECT_TRUE(intro->isRunning());
    EXPECT_EQ(intro->tickInterval(), 200);
    EXPECT_TRUE(find<QPushButton>("goToPlayButton")->isHidden());
    EXPECT_FALSE(intro->isHidden());
    EXPECT_FALSE(find<QLabel>("versionLabel")->isHidden());
    const QColor buttonFace = QApplication::palette().color(QPalette::Button);
    for (int tick = 1; tick <= 13; ++tick) {
        intro->tick();
        if (tick <= 11) {
            // The frame from its top-left corner, cut off at the intro's edges.
            const QImage frame = resourceImage("RCDATA", QString("IMAGE%1").arg(tick + 3));
            EXPECT_EQ(intro->grab().toImage().convertToFormat(QImage::Format_RGB32),
                      frame.copy(intro->rect()).convertToFormat(QImage::Format_RGB32))
                << "tick " << tick;
        }
        const QColor background = menu->palette().color(QPalette::Window);
        EXPECT_EQ(background, tick >= 11 && tick < 13 ? QColor(Qt::black) : buttonFace) << tick;
        EXPECT_EQ(find<QPushButton>("goToPlayButton")->isHidden(), tick < 13) << "tick " << tick;
    }
    EXPECT_TRUE(intro->isHidden());
    EXPECT_FALSE(intro->isRunning());
    for (const char* shown :
         {"countdownSlider", "theme3Radio", "countdownValueLabel", "theme1Preview"})
        EXPECT_FALSE(find<QWidget>(shown)->isHidden()) << shown;
}

TEST_F(Menu, StartsWithThemeOneTwoPlayersAndACountdownOf300) {
    makeMenu();
    EXPECT_EQ(menu->objectName(), "menu");
    EXPECT_EQ(menu->windowTitle(), "Welcome!");
    EXPECT_EQ(menu->countdown(), 300);
    EXPECT_EQ(find<QLabel>("countdownValueLabel")->text(), "300");
    EXPECT_TRUE(find<QRadioButton>("theme1Radio")->isChecked());
    EXPECT_FALSE(menu->versusComputer());
    EXPECT_EQ(find<QPushButton>("opponentButton")->text(), "Click to play with pc");
    EXPECT_EQ(find<QSlider>("countdownSlider")->minimum(), 250);
    EXPECT_EQ(find<QSlider>("countdownSlider")->maximum(), 3600);
    EXPECT_EQ(find<QSlider>("countdownSlider")->tickInterval(), 50);
    const QImage preview = resourceImage("RCDATA", "IMAGE1");
    EXPECT_EQ(find<QWidget>("theme1Preview")
                  ->grab()
                  .toImage()
                  .copy(preview.rect())
                  .convertToFormat(QImage::Format_RGB32),
              preview.convertToFormat(QImage::Format_RGB32));
    EXPECT_TRUE(errors.isEmpty());
    EXPECT_TRUE(QFile::exists("5.db"));
    EXPECT_TRUE(QFile::exists("6.db"));
    EXPECT_NE(run->fonts().decorativeFamily(), QFont().family());
    EXPECT_EQ(find<QLabel>("versionLabel")->font().family(),
              resources::ResourceName::sourceCodeFamily);
}

TEST_F(Menu, OnlyMultiplesOfFiveChangeTheCountdown) {
    makeMenu();
    finishIntro();
    auto* slider = find<QSlider>("countdownSlider");
    const auto* value = find<QLabel>("countdownValueLabel");
    QStringList shown;
    for (int press = 0; press < 5; ++press) {
        QTest::keyClick(slider, Qt::Key_Right);
        shown << value->text();
    }
    EXPECT_EQ(shown, QStringList({"300", "300", "300", "300", "305"}));
    QTest::keyClick(slider, Qt::Key_PageUp);
    EXPECT_EQ(slider->value(), 307);
    slider->setValue(300);
    slider->setValue(313);  // a drag reporting no multiple of five on the way
    EXPECT_EQ(value->text(), "300");
    slider->setValue(315);
    EXPECT_EQ(menu->countdown(), 315);
    slider->setValue(250);
    EXPECT_EQ(value->text(), "250");
    slider->setValue(3600);
    EXPECT_EQ(value->text(), "3600");
}

TEST_F(Menu, StartingAMatchWritesTheCountdownAndOpensTheChosenWindow) {
    makeMenu();
    finishIntro();
    auto* goToPlay = find<QPushButton>("goToPlayButton");
    auto* opponent = find<QPushButton>("opponentButton");
    goToPlay->click();
    EXPECT_EQ(readFile("0.db"), QByteArray("300\r\n"));
    for (const char* gone : {"countdownSlider", "countdownValueLabel"})
        EXPECT_TRUE(find<QWidget>(gone)->isHidden()) << gone;
    // Later matches use the same countdown whatever the mode or theme.
    opponent->click();
    EXPECT_EQ(opponent->text(), "Click to play with 2nd player");
    find<QRadioButton>("theme3Radio")->click();
    goToPlay->click();
    EXPECT_EQ(readFile("0.db"), QByteArray("300\r\n"));
    opponent->click();
    EXPECT_EQ(opponent->text(), "Click to play with pc");
    std::vector<std::pair<MatchKind, int>> expected = {{MatchKind::twoPlayer, 1},
                                                       {MatchKind::versusComputer, 3}};
    // Every theme in every mode opens its own window.
    for (const MatchKind kind : {MatchKind::twoPlayer, MatchKind::versusComputer}) {
        for (int theme = 1; theme <= 3; ++theme) {
            find<QRadioButton>(qPrintable(QString("theme%1Radio").arg(theme)))->click();
            goToPlay->click();
            expected.push_back({kind, theme});
        }
        opponent->click();
    }
    EXPECT_EQ(directory.opened, expected);
    find<QPushButton>("helpButton")->click();
    EXPECT_EQ(directory.helpOpened, 1);
}

TEST_F(Menu, VersionOpensTheInfoWindowOnALeftClickReleasedOverIt) {
    struct Case {
        const char* what;
        Qt::MouseButton button;
        QPoint release;
        int opened;
    };
    const Case cases[] = {{"left click", Qt::LeftButton, {20, 7}, 1},
                          {"right click", Qt::RightButton, {20, 7}, 0},
                          {"middle click", Qt::MiddleButton, {20, 7}, 0},
                          {"left, released off the label", Qt::LeftButton, {20, 60}, 0}};
    makeMenu();
    finishIntro();
    auto* version = find<QLabel>("versionLabel");
    for (const Case& c : cases) {
        directory.infoOpened = 0;
        QTest::mousePress(version, c.button, {}, {20, 7});
        EXPECT_EQ(directory.infoOpened, 0) << c.what << ": opened on the press";
        QTest::mouseRelease(version, c.button, {}, c.release);
        EXPECT_EQ(directory.infoOpened, c.opened) << c.what;
    }
}

// "v5 STABLE" for a player without the mouse: last on the Tab key's way round the menu, after
// the intro only, and opened with Enter or Space, or a screen reader's press, as with a click.
TEST_F(Menu, VersionComesLastOnTheKeyboardsWayAndOpensInfoWithoutTheMouse) {
    accessibility::install();
    makeMenu();
    auto* version = find<QLabel>("versionLabel");
    EXPECT_FALSE(version->focusPolicy() & Qt::TabFocus) << "reached under the intro";
    finishIntro();
    menu->show();
    QApplication::setActiveWindow(menu.get());
    QStringList order;
    for (int step = 0; step < 8 && QApplication::focusWidget(); ++step) {
        order << QApplication::focusWidget()->objectName();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    EXPECT_EQ(order,
              QStringList({"exitButton", "goToPlayButton", "theme1Radio", "helpButton",
                           "countdownSlider", "opponentButton", "versionLabel", "exitButton"}));

    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Space})
        QTest::keyClick(version, key);
    EXPECT_EQ(directory.infoOpened, 3);
    QAccessible::queryAccessibleInterface(version)->actionInterface()->doAction(
        QAccessibleActionInterface::pressAction());
    QCoreApplication::processEvents();  // the press comes from the event loop, as a button's
    EXPECT_EQ(directory.infoOpened, 4);
    // A click leaves the keyboard where it was: no focus outline for a mouse player.
    QTest::mouseClick(version, Qt::LeftButton, {}, {20, 7});
    EXPECT_EQ(directory.infoOpened, 5);
    EXPECT_FALSE(version->hasFocus());
}

TEST_F(Menu, DecorativeTextsKeepTheirLayoutWidthsAndEachButtonRowOneCaptionSize) {
    makeMenu();
    finishIntro();
    const auto width = [](const QWidget* w, const QString& text) {
        return QFontMetrics(w->font()).horizontalAdvance(text);
    };
    const std::pair<const char*, int> labels[] = {{"themeTitleLabel", 195},
                                                  {"countdownTitleLabel", 155},
                                                  {"countdownMinLabel", 21},
                                                  {"countdownMidLabel", 31},
                                                  {"countdownMaxLabel", 28}};
    for (const auto& [name, layoutWidth] : labels)
        EXPECT_LE(width(find<QLabel>(name), find<QLabel>(name)->text()), layoutWidth) << name;
    InfoWindow info(run->fonts());
    EXPECT_LE(width(control<QLabel>(info, "engineVersionLabel"),
                    control<QLabel>(info, "engineVersionLabel")->text()),
              229);

    const int rowPixels = find<QPushButton>("exitButton")->font().pixelSize();
    for (const char* name : {"exitButton", "goToPlayButton", "helpButton"}) {
        const auto* button = find<QPushButton>(name);
        EXPECT_EQ(button->font().pixelSize(), rowPixels) << name;
        EXPECT_LE(width(button, button->text()), button->width());
    }
    auto* opponent = find<QPushButton>("opponentButton");
    opponent->click();  // the longer of its two captions
    EXPECT_LE(width(opponent, opponent->text()), opponent->width());
}

TEST_F(Menu, AHandoffFileThatCannotBeWrittenOpensNothing) {
    makeMenu();
    finishIntro();
    QDir().mkdir("0.db");
    find<QPushButton>("goToPlayButton")->click();
    EXPECT_EQ(errors.size(), 1);
    EXPECT_TRUE(directory.opened.empty());
}

TEST_F(Menu, AFailedStartupStepIsReportedOnceAndTheRestStillRuns) {
    // Not the game's font: left as it is, the font comes from memory instead.
    writeFile("5.db", "my notes");
    UpdateHalves update;
    update.atStartup = [] { throw FileError("Cannot write \"check.bat\""); };
    makeMenu(update);
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].contains("check.bat"));
    EXPECT_NE(run->fonts().decorativeFamily(), QFont().family());
    EXPECT_EQ(readFile("5.db"), "my notes");
    EXPECT_TRUE(QFile::exists("6.db"));
    EXPECT_EQ(find<QSlider>("countdownSlider")->value(), 300);
    EXPECT_TRUE(find<QRadioButton>("theme1Radio")->isChecked());
    finishIntro();
    find<QPushButton>("goToPlayButton")->click();
    EXPECT_EQ(directory.opened.size(), 1u);
    run.reset();
    EXPECT_EQ(readFile("5.db"), "my notes");
    EXPECT_FALSE(QFile::exists("6.db"));
}

TEST_F(Menu, TheExitHandlerRemovesTheFontsAndTheHandoffFile) {
    std::vector<QString> steps;
    UpdateHalves update;
    update.atStartup = [&] { steps.push_back("startup"); };
    update.atExit = [&](const std::function<void()>& removeFonts) {
        steps.push_back(QFile::exists("0.db") ? "exit with 0.db" : "exit");
        steps.push_back(QFile::exists("5.db") ? "fonts present" : "fonts gone");
        removeFonts();
    };
    makeMenu(update);
    EXPECT_EQ(steps, std::vector<QString>{"startup"});
    finishIntro();
    find<QPushButton>("goToPlayButton")->click();
    run.reset();
    EXPECT_EQ(steps, (std::vector<QString>{"startup", "exit", "fonts present"}));
    for (const char* file : {"0.db", "5.db", "6.db"})
        EXPECT_FALSE(QFile::exists(file)) << file;
}

TEST_F(Menu, HelpHoldsItsFifteenRowsOfUkrainianText) {
    ProgramFonts fonts;
    HelpWindow help(fonts);
    EXPECT_EQ(help.objectName(), "help");
    EXPECT_EQ(help.windowTitle(), "Help");
    EXPECT_TRUE(help.findChildren<QWidget*>().isEmpty()) << "made before it first shows";
    help.show();
    // The first row and column are the grid's headers, the rest its cells.
    ASSERT_EQ(control<QTableWidget>(help, "grid")->rowCount(), 14);
    ASSERT_EQ(control<QTableWidget>(help, "grid")->columnCount(), 1);
    const auto text = [&](int row, int column) {
        const QTableWidget& g = *control<QTableWidget>(help, "grid");
        const QString shown = row == 0 && column == 0
                                  ? control<GridCorner>(help, "gridCorner")->text()
                              : row == 0    ? g.horizontalHeaderItem(column - 1)->text()
                              : column == 0 ? g.verticalHeaderItem(row - 1)->text()
                                            : g.item(row - 1, column - 1)->text();
        return shown.toUtf8();
    };
    EXPECT_EQ(text(0, 0), "Що?");
    EXPECT_EQ(text(0, 1), "Як?");
    EXPECT_EQ(text(3, 1),
              "Виконуючи хід у грі ви маєте обов\x60язково \x22з\x60їсти\x22 фішку противника.");
    EXPECT_EQ(text(4, 1), "Щоб \x22з\x60їсти\x22 фішку або декілька фішок противника потрібно,");
    EXPECT_EQ(text(4, 0), "");
    EXPECT_EQ(text(7, 1), " - закінчився час");
    EXPECT_TRUE(text(9, 1).startsWith(" - коли все поле"));
    EXPECT_EQ(text(14, 0), "Вибрати складність гри");
    EXPECT_EQ(control<QTableWidget>(help, "grid")->columnWidth(0), 970);
    EXPECT_EQ(control<QTableWidget>(help, "grid")->rowHeight(13), 50);
    EXPECT_FALSE(control<QTableWidget>(help, "grid")->item(4, 0)->flags() & Qt::ItemIsEditable);
    // A screen reader reads a row's cells, not its header: each answer comes after its question.
    const auto spoken = [&](int row) {
        return QAccessible::queryAccessibleInterface(control<QTableWidget>(help, "grid"))
            ->tableInterface()
            ->cellAt(row - 1, 0)
            ->text(QAccessible::Name)
            .toUtf8();
    };
    EXPECT_TRUE(spoken(1).startsWith("Змінити кольори: На головній формі"));
    EXPECT_EQ(spoken(7), "Програє той, у кого: - закінчився час");
    EXPECT_EQ(spoken(8), "- не залишилося жодної фішки");
}

TEST_F(Menu, HelpGridsFixedCellsStayInPlaceAndCannotBeSelected) {
    ProgramFonts fonts;
    HelpWindow help(fonts);
    help.show();
    QApplication::setActiveWindow(&help);
    QTableWidget& grid = *control<QTableWidget>(help, "grid");
    const auto selected = [&] { return grid.selectionModel()->selectedIndexes().size(); };
    EXPECT_EQ(selected(), 0);
    EXPECT_FALSE(grid.currentIndex().isValid());  // not even a current cell when it opens

    // Clicks on the corner, the first row and the first column select nothing; a click on
    // another cell selects it.
    const auto clickAt = [&](QPoint at) {
        QWidget* target = grid.childAt(at);
        ASSERT_NE(target, nullptr);
        QTest::mouseClick(target, Qt::LeftButton, {}, target->mapFrom(&grid, at));
    };
    for (const QPoint fixed : {QPoint(100, 25), QPoint(600, 25), QPoint(100, 125)})
        clickAt(fixed);
    EXPECT_EQ(selected(), 0);
    clickAt({600, 125});
    EXPECT_EQ(selected(), 1);

    // Scrolled sideways, the cells move under the first column, which stays as it was.
    const int sideways = grid.horizontalScrollBar()->maximum();
    ASSERT_GT(sideways, 0);
    const QImage before = grid.grab().toImage();
    grid.horizontalScrollBar()->setValue(sideways);
    const QImage after = grid.grab().toImage();
    const QRect firstColumn(0, 0, 251, 700), cells(300, 0, 500, 700);
    EXPECT_EQ(after.copy(firstColumn), before.copy(firstColumn));
    EXPECT_NE(after.copy(cells), before.copy(cells));
    help.close();
}

TEST_F(Menu, HelpOpensMaximisedAndInfoMinimisedOnlyWhereItCanBeRestored) {
    ProgramFonts fonts;
    HelpWindow help(fonts);
    bool maximised = false;
    bool escaped = false;
    QTimer::singleShot(0, &help, [&] {
        maximised = help.isMaximized();
        // "X" reads dark on its button, and lies inside the window's right edge.
        EXPECT_LT(control<QPushButton>(help, "closeButton")
                      ->palette()
                      .color(QPalette::ButtonText)
                      .lightness(),
                  100);
        EXPECT_LE(control<QPushButton>(help, "closeButton")->geometry().right(),
                  help.rect().right());
        QTest::keyClick(control<QPushButton>(help, "closeButton"), Qt::Key_Escape);
        escaped = !help.isVisible();
        help.close();
    });
    help.showModal();
    EXPECT_TRUE(maximised);
    EXPECT_TRUE(escaped);

    // Minimised only where a task bar can bring it back; the next showing keeps the state it
    // was closed in, and Escape closes it.
    for (const bool restorable : {true, false}) {
        overrideDesktopSession(
            DesktopSession{.managesWindows = true, .restoresMinimised = restorable});
        InfoWindow info(fonts);
        EXPECT_EQ(control<QLabel>(info, "versionLabel")->text(), "Version 4");
        EXPECT_EQ(control<QLabel>(info, "engineVersionLabel")->text(),
                  "Reversi engine version 0.6 BETA");
        bool minimised = false;
        QTimer::singleShot(0, &info, [&] {
            minimised = info.isMinimized();
            control<QPushButton>(info, "okButton")->click();
        });
        info.showModal();
        EXPECT_EQ(minimised, restorable);
        QTimer::singleShot(0, &info, [&] {
            minimised = info.isMinimized();
            info.showNormal();
            QTest::keyClick(control<QPushButton>(info, "okButton"), Qt::Key_Escape);
            escaped = !info.isVisible();
            info.close();
        });
        info.showModal();
        EXPECT_EQ(minimised, restorable) << "reopened in the state it was closed in";
        EXPECT_TRUE(escaped);
    }
    overrideDesktopSession(std::nullopt);
}

}  // namespace
}  // namespace reversi
