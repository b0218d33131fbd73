#include <gtest/gtest.h>

#include <QApplication>
#include <QStringList>
#include <QTimer>
#include <csignal>

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
    {
        WindowSet windows(update);
        for (QWidget* w : windows.windows()) {
            order << w->objectName();
            QObject::connect(w, &QObject::destroyed,
                             [&destroyed, name = w->objectName()] { destroyed << name; });
        }
        EXPECT_EQ(order, QStringList({"TForm1", "TForm6", "TForm9", "TForm2", "TForm3", "TForm4",
                                      "TForm5", "TForm7", "TForm8"}));
        windows.menu().show();
        for (QWidget* w : windows.windows())
            EXPECT_EQ(w->isVisible(), w == &windows.menu());
        // Single instances: the same window every time.
        EXPECT_EQ(windows.matchWindow(MatchKind::twoPlayer, 2),
                  windows.matchWindow(MatchKind::twoPlayer, 2));
        EXPECT_EQ(windows.matchWindow(MatchKind::twoPlayer, 2)->objectName(), "TForm3");
        EXPECT_EQ(windows.matchWindow(MatchKind::versusComputer, 1)->objectName(), "TForm7");
        EXPECT_EQ(windows.helpWindow()->objectName(), "TForm5");
        EXPECT_EQ(windows.infoWindow()->objectName(), "TForm6");
    }
    EXPECT_EQ(destroyed, QStringList({"TForm8", "TForm7", "TForm5", "TForm4", "TForm3", "TForm2",
                                      "TForm9", "TForm6", "TForm1"}));
    // The exit handler ran when all eight other windows were gone.
    EXPECT_EQ(atExit, std::vector<QString>{"8"});
    EXPECT_FALSE(QFile::exists("5.db"));
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
