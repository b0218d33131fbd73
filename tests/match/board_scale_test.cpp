// The board at every scale it can be shown at: every grid line, disc and marker whole, the
// lines of one board equally thick, and a window that changes screens drawn anew there.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QScreen>
#include <QWindow>

#include "match_test_support.h"

namespace reversi {
namespace {

using BoardScale = test_support::MatchTest;

// The runs of `colour` along a device row (or column) of the canvas: their lengths.
std::vector<int> runLengths(const Canvas& canvas, bool alongRow, int at, QColor colour) {
    const QSize size = canvas.image().size();
    std::vector<int> runs;
    bool inRun = false;
    for (int i = 0; i < (alongRow ? size.width() : size.height()); ++i) {
        const bool inked =
            (alongRow ? canvas.devicePixel(i, at) : canvas.devicePixel(at, i)) == colour;
        if (inked && !inRun) runs.push_back(0);
        if (inked) ++runs.back();
        inRun = inked;
    }
    return runs;
}

// The first and last device pixel of `colour` on the line through a disc box's middle.
std::pair<int, int> extent(const Canvas& canvas, bool alongRow, int at, int from, int to,
                           QColor colour) {
    int first = -1, last = -1;
    for (int i = from; i <= to; ++i) {
        if ((alongRow ? canvas.devicePixel(i, at) : canvas.devicePixel(at, i)) != colour) continue;
        if (first < 0) first = i;
        last = i;
    }
    return {first, last};
}

TEST_F(BoardScale, EveryLineDiscAndMarkerKeepsItsDevicePixelsAtEveryFitAndScreen) {
    MatchWindow& w = window(1);
    start(w);
    clickCell(w, 4, 2);  // e3: the first side's disc, flipping e4
    clickCell(w, 0, 0);  // a1 captures nothing: the marker
    ASSERT_TRUE(w.game().markerShown());
    const QColor grid = colourOf(w.theme().gridColour);
    const QColor first = colourOf(w.theme().firstColour);
    const QColor second = colourOf(w.theme().secondColour);
    const QColor marker = colourOf(w.theme().markerColour);
    const struct {
        CellPos cell;
        QColor colour;
    } shapes[] = {{{0, 0}, marker}, {{4, 2}, first},  {{4, 3}, first},
                  {{3, 3}, first},  {{3, 4}, second}, {{4, 4}, first}};
    for (const qreal fit : {0.5, 0.6, 0.7, 0.8, 0.9, 1.0}) {
        for (const qreal screen : {1.0, 1.25, 1.5, 1.75, 2.0, 3.0}) {
            SCOPED_TRACE(testing::Message() << "fit " << fit << ", device pixel ratio " << screen);
            Canvas canvas = w.canvas();
            const qreal ratio = fit * screen;
            canvas.setDevicePixelRatio(ratio);
            // Between the grid's first line and the disc boxes of the first row (and column) a
            // scan crosses grid lines only.
            const int between = static_cast<int>((geometry::gridOrigin + 5) * ratio);
            for (const bool alongRow : {true, false}) {
                const std::vector<int> lines = runLengths(canvas, alongRow, between, grid);
                ASSERT_EQ(lines.size(), 9u);
                EXPECT_EQ(std::count(lines.begin(), lines.end(), lines.front()), 9);
            }
            // Each disc and the marker reach their box's edges at its middle, both ways.
            for (const auto& shape : shapes) {
                for (const bool alongRow : {true, false}) {
                    const int origin = geometry::discOrigin(alongRow ? shape.cell.x : shape.cell.y);
                    const int middle = static_cast<int>(
                        (geometry::discOrigin(alongRow ? shape.cell.y : shape.cell.x) +
                         geometry::discSize / 2) *
                        ratio);
                    const auto [from, to] = extent(
                        canvas, alongRow, middle, static_cast<int>(origin * ratio) - 2,
                        static_cast<int>((origin + geometry::discSize) * ratio) + 2, shape.colour);
                    EXPECT_LE(std::abs(from - origin * ratio), 1.0);
                    EXPECT_LE(std::abs(to + 1 - (origin + geometry::discSize) * ratio), 1.0);
                }
            }
        }
    }
}

const QScreen* screenNamed(const char* name) {
    for (const QScreen* screen : QGuiApplication::screens()) {
        if (screen->name() == QLatin1String(name)) return screen;
    }
    return nullptr;
}

TEST_F(BoardScale, AWindowMovedToAScreenOfAnotherScaleShowsWhatAFreshWindowThereShows) {
    QScreen* sharp = const_cast<QScreen*>(screenNamed("sharp"));
    ASSERT_NE(sharp, nullptr);
    const auto play = [](MatchWindow& w) {
        start(w);
        clickCell(w, 4, 2);
        clickCell(w, 0, 0);
    };
    MatchWindow& moved = window(1);
    moved.show();
    play(moved);
    moved.windowHandle()->setScreen(sharp);
    moved.move(sharp->geometry().topLeft() + QPoint(20, 20));
    ASSERT_EQ(moved.devicePixelRatioF(), 2.0);

    MatchWindow fresh(styleFor(MatchKind::twoPlayer, 1));
    fresh.setGrowStep(std::chrono::nanoseconds(0));
    fresh.move(sharp->geometry().topLeft() + QPoint(40, 40));
    fresh.show();
    play(fresh);
    ASSERT_EQ(fresh.devicePixelRatioF(), 2.0);
    const QRect board(0, 0, geometry::gridEnd + 1, geometry::gridEnd + 1);
    EXPECT_EQ(moved.grab(board).toImage(), fresh.grab(board).toImage());
}

}  // namespace
}  // namespace reversi
