// Every window on the screens people have: where it fits, as its layout puts it; where not,
// inside the screen and scaled down by one factor, with every control and cell still reachable.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QScreen>
#include <QScrollBar>
#include <QTest>

#include "screen_fit.h"
#include "widget_test_support.h"
#include "window_set.h"

namespace reversi {
namespace {

using test_support::control;

using ScreenFitting = test_support::WidgetTest;

struct Screen {
    const char* name;
    QRect geometry;   // logical pixels: the physical size divided by the scale factor
    QRect available;  // less the panels
};

TEST_F(ScreenFitting, EveryWindowLiesInsideTheAvailableAreaAtItsLayoutPlaceWhereItFits) {
    const Screen screens[] = {
        {"1920x1200", {0, 0, 1920, 1200}, {0, 0, 1920, 1200}},
        {"1366x768 with a panel", {0, 0, 1366, 768}, {0, 0, 1366, 740}},
        {"1280x720", {0, 0, 1280, 720}, {0, 0, 1280, 720}},
        {"1024x768", {0, 0, 1024, 768}, {0, 0, 1024, 768}},
        {"1920x1080 at 1.5", {0, 0, 1280, 720}, {0, 0, 1280, 720}},
        {"1920x1080 at 1.75", {0, 0, 1097, 617}, {0, 0, 1097, 617}},
        {"1920x1080 at 2", {0, 0, 960, 540}, {0, 0, 960, 540}},
        {"2560x1600 at 2", {0, 0, 1280, 800}, {0, 0, 1280, 800}},
        {"a second monitor left of the primary", {-1024, 300, 1024, 768}, {-1024, 300, 1024, 768}},
    };
    const QMargins frames[] = {{}, {8, 31, 8, 8}};  // without and with a window manager
    WindowSet windows({});
    for (const QWidget* widget : windows.windows()) {
        const auto* window = dynamic_cast<const LayoutWindow*>(widget);
        ASSERT_NE(window, nullptr) << widget->objectName().toStdString();
        const QSize client = window->layoutClientSize();
        for (const Screen& screen : screens) {
            for (const QMargins& frame : frames) {
                SCOPED_TRACE(widget->objectName().toStdString() + " on " + screen.name +
                             (frame.isNull() ? "" : " with a window manager"));
                const ScreenFit fit = fitToScreen(window->layoutPosition(), client, frame,
                                                  screen.geometry, screen.available);
                EXPECT_TRUE(screen.available.contains(fit.frame));
                EXPECT_EQ(fit.frame.size(), fit.clientSize.grownBy(frame));
                const QRect atLayout(screen.geometry.topLeft() + window->layoutPosition(),
                                     client.grownBy(frame));
                if (screen.available.contains(atLayout)) {
                    EXPECT_EQ(fit.frame, atLayout);
                    EXPECT_EQ(fit.scale, 1);
                } else if (fit.scale == 1) {
                    // Moved the least distance: against the edge it was beyond.
                    EXPECT_TRUE(fit.frame.bottom() == screen.available.bottom() ||
                                fit.frame.right() == screen.available.right() ||
                                fit.frame.topLeft() == screen.available.topLeft());
                } else {
                    // Scaled by the largest factor that fits, the same on both axes.
                    const QSize room = screen.available.size().shrunkBy(frame);
                    EXPECT_TRUE(client.width() * fit.scale <= room.width() + 0.5 &&
                                client.height() * fit.scale <= room.height() + 0.5);
                    EXPECT_TRUE(client.width() * fit.scale > room.width() - 1 ||
                                client.height() * fit.scale > room.height() - 1);
                }
            }
        }
    }
}

// The small screen of the test platform, 1024 by 600, right of the primary one.
const QScreen* smallScreen() {
    for (const QScreen* screen : QGuiApplication::screens()) {
        if (screen->name() == QLatin1String("small")) return screen;
    }
    return nullptr;
}

TEST_F(ScreenFitting, OnASmallScreenEveryControlShowsAndEveryCellIsClickable) {
    const QScreen* small = smallScreen();
    ASSERT_NE(small, nullptr);
    WindowSet windows({});
    for (QWidget* widget : windows.windows()) {
        auto* window = dynamic_cast<LayoutWindow*>(widget);
        SCOPED_TRACE(widget->objectName().toStdString());
        window->placeOn(small);
        EXPECT_TRUE(small->availableGeometry().contains(window->frameGeometry()));
        // All but the two controls a match window never shows.
        for (const QWidget* child : window->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (child->isWindow() || child->objectName() == "debugLabel" ||
                child->objectName() == "dumpBoardButton") {
                continue;
            }
            EXPECT_TRUE(window->rect().contains(child->geometry()))
                << child->objectName().toStdString() << " at " << child->geometry().x() << ","
                << child->geometry().y();
        }
    }

    // The board is drawn at the window's scale, as sharp as the screen, and a press on a cell
    // plays that cell: h8 shows the marker at the start, e3 is a move.
    MatchWindow& match = *windows.matchWindow(MatchKind::twoPlayer, 1);
    const qreal scale = match.layoutScale();
    ASSERT_LT(scale, 1);
    match.setGrowStep(std::chrono::nanoseconds(0));
    match.show();
    writeFile("0.db", "300\r\n");
    control<QPushButton>(match, "playButton")->click();
    EXPECT_DOUBLE_EQ(match.canvas().devicePixelRatio(), scale);
    const auto press = [&](int column, int row) {
        const QPointF centre(geometry::discOrigin(column) + 30, geometry::discOrigin(row) + 30);
        QTest::mouseClick(&match, Qt::LeftButton, {}, (centre * scale).toPoint());
    };
    press(7, 7);
    EXPECT_TRUE(match.game().markerShown());
    EXPECT_EQ(match.canvas().pixel(geometry::discOrigin(7) + 30, geometry::discOrigin(7) + 30),
              match.theme().markerColour.resolve());
    for (int tick = 0; tick < 3; ++tick)  // the marker's two ticks, then clicks play again
        test_support::tick(match, "clockTimer");
    press(4, 2);
    EXPECT_EQ(match.game().board().at(4, 2), CellCode::first);

    // Help: the grid within the window, its scroll bars inside it.
    HelpWindow& help = *static_cast<HelpWindow*>(windows.helpWindow());
    help.show();
    EXPECT_TRUE(help.rect().contains(control<QTableWidget>(help, "grid")->geometry()));
    EXPECT_TRUE(control<QTableWidget>(help, "grid")->horizontalScrollBar()->isVisible());
    help.hide();
}

}  // namespace
}  // namespace reversi
