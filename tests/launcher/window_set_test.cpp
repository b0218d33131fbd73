#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QStringList>
#include <QTimer>
#include <csignal>

#include "main_menu.h"
#include "termination.h"
#include "widget_test_support.h"
#include "window_set.h"

namespace reversi {
namespace {

using Program = test_support::WidgetTest;

TEST_F(Program, CreatesItsNineWindowsOnceInOrderAndShowsOnlyTheMenu) {
    QStringList order;
    QStringList destroyed;
    std::vector<QString> atExit;
    UpdateHalves update;
    update.atExit = [&](const std::function<void()>&) {
        atExit.push_back(QString::number(destroyed.size()));
    };
    bool controlsHiddenWhenShown = false;
    {
        // The menu is shown before the start-up work: the intro alone, no control over it yet.
        WindowSet windows(update, {}, [&](MainMenu& menu) {
            controlsHiddenWhenShown =
                test_support::control<QWidget>(menu, "goToPlayButton")->isHidden();
        });
        EXPECT_TRUE(controlsHiddenWhenShown);
        for (QWidget* w : windows.windows()) {
            order << w->objectName();
            QObject::connect(w, &QObject::destroyed,
                             [&destroyed, name = w->objectName()] { destroyed << name; });
        }
        EXPECT_EQ(order, QStringList({"menu", "info", "versusComputer3", "twoPlayer1", "twoPlayer2",
                                      "twoPlayer3", "help", "versusComputer1", "versusComputer2"}));
        windows.menu().show();
        for (QWidget* w : windows.windows())
            EXPECT_EQ(w->isVisible(), w == &windows.menu());
        // Single instances: the same window every time.
        EXPECT_EQ(windows.matchWindow(MatchKind::twoPlayer, 2),
                  windows.matchWindow(MatchKind::twoPlayer, 2));
        EXPECT_EQ(windows.matchWindow(MatchKind::twoPlayer, 2)->objectName(), "twoPlayer2");
        EXPECT_EQ(windows.matchWindow(MatchKind::versusComputer, 1)->objectName(),
                  "versusComputer1");
        EXPECT_EQ(windows.helpWindow()->objectName(), "help");
        EXPECT_EQ(windows.infoWindow()->objectName(), "info");
    }
    EXPECT_EQ(destroyed,
              QStringList({"versusComputer2", "versusComputer1", "help", "twoPlayer3", "twoPlayer2",
                           "twoPlayer1", "versusComputer3", "info", "menu"}));
    // The exit handler ran when all eight other windows were gone.
    EXPECT_EQ(atExit, std::vector<QString>{"8"});
    EXPECT_FALSE(QFile::exists("5.db"));
}

// What a screen reader says for each control the keyboard reaches: words, not a symbol.
TEST_F(Program, EveryControlTheKeyboardReachesHasAName) {
    WindowSet windows(UpdateHalves{});
    windows.helpWindow()->show();  // which makes its controls
    int controls = 0;
    for (QWidget* window : windows.windows()) {
        for (QWidget* control : window->findChildren<QWidget*>()) {
            if (!(control->focusPolicy() & Qt::TabFocus)) continue;
            ++controls;
            const QString name =
                QAccessible::queryAccessibleInterface(control)->text(QAccessible::Name);
            const auto letters =
                std::count_if(name.begin(), name.end(), [](QChar c) { return c.isLetter(); });
            EXPECT_GE(letters, 2) << window->objectName().toStdString() << ": "
                                  << control->metaObject()->className() << " named \""
                                  << name.toStdString() << "\"";
        }
    }
    EXPECT_GT(controls, 40);
}

TEST_F(Program, ATerminationSignalEndsEveryEventLoopSoTheExitHandlerRuns) {
    quitOnTerminationSignals(qApp);
    ModalWindow window(FirstShowing::normal);
    bool modalReturned = false;
    QTimer::singleShot(0, [&] {
        QTimer::singleShot(0, [] { std::raise(SIGTERM); });
        window.showModal();  // a nested loop, as when a match window is open
        modalReturned = true;
    });
    QTimer::singleShot(10000, [] { QCoreApplication::exit(1); });  // a guard, never reached
    EXPECT_EQ(QApplication::exec(), 0);
    EXPECT_TRUE(modalReturned);
}

}  // namespace
}  // namespace reversi
