// The board's geometry: which cell a press plays, and the board at every scale it can be shown
// at: every grid line, disc and marker whole, the lines of one board equally thick, and a window
// that changes screens drawn anew there.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QScreen>
#include <QWindow>

#include "match_test_support.h"

namespace reversi {
namespace {

using BoardScale = test_support::MatchTest;

// The runs of `colour` along a device row (or column) of the canvas, from `from` up to `to`:
// each run's first pixel and length.
std::vector<std::pair<int, int>> runs(const Canvas& canvas, bool row, int at, int from, int to,
                                      QColor colour) {
    std::vector<std::pair<int, int>> found;
    const QSize size = canvas.image().size();
    bool inRun = false;
    for (int i = from; i < std::min(to, row ? size.width() : size.height()); ++i) {
        const bool inked = (row ? canvas.devicePixel(i, at) : canvas.devicePixel(at, i)) == colour;
        if (inked && !inRun) found.push_back({i, 0});
        if (inked) ++found.back().second;
        inRun = inked;
    }
    return found;
}

TEST(BoardGeometry, APressPlaysTheCellItsDistanceFromTheGridGivesTruncatedTowardZero) {
    const std::pair<QPoint, std::optional<CellPos>> presses[] = {
        {{130, 50}, CellPos{1, 0}},  {{689, 689}, CellPos{7, 7}}, {{129, 129}, CellPos{0, 0}},
        {{20, 300}, CellPos{0, 3}},  {{300, 0}, CellPos{3, 0}},   // the bands left of and above
        {{-29, 300}, CellPos{0, 3}}, {{-30, 300}, std::nullopt},  // -79 / 80 is 0, -80 / 80 is -1
        {{690, 300}, std::nullopt},  {{300, 690}, std::nullopt},  {{900, 100}, std::nullopt}};
    for (const auto& [pixel, cell] : presses)
        EXPECT_EQ(geometry::cellAt(pixel), cell) << pixel.x() << "," << pixel.y();
}

TEST_F(BoardScale, EveryLineDiscAndMarkerKeepsItsDevicePixelsAtEveryFitAndScreen) {
    MatchWindow& w = window(1);
    start(w);
    clickCell(w, 4, 2);  // e3: the first side's disc, flipping e4
    clickCell(w, 0, 0);  // a1 captures nothing: the marker
    const QColor first = colourOf(w.theme().firstColour);
    const std::pair<CellPos, QColor> shapes[] = {{{0, 0}, colourOf(w.theme().markerColour)},
                                                 {{4, 2}, first},
                                                 {{4, 3}, first},
                                                 {{3, 4}, colourOf(w.theme().secondColour)}};
    for (const qreal fit : {0.5, 0.6, 0.7, 0.8, 0.9, 1.0}) {
        for (const qreal screen : {1.0, 1.25, 1.5, 1.75, 2.0, 3.0}) {
            SCOPED_TRACE(testing::Message() << "fit " << fit << ", device pixel ratio " << screen);
            Canvas canvas = w.canvas();
            const qreal ratio = fit * screen;
            canvas.setDevicePixelRatio(ratio);
            const auto device = [ratio](int logical) { return static_cast<int>(logical * ratio); };
            for (const bool row : {true, false}) {
                // Between the first line and the first disc boxes a scan meets grid lines only.
                const auto lines = runs(canvas, row, device(geometry::gridOrigin + 5), 0, INT_MAX,
                                        colourOf(w.theme().gridColour));
                ASSERT_EQ(lines.size(), 9u);
                for (const auto& line : lines)
                    EXPECT_EQ(line.second, lines.front().second);
                // Each disc and the marker reach their box's edges through its middle.
                for (const auto& [cell, colour] : shapes) {
                    const int origin = geometry::discOrigin(row ? cell.x : cell.y);
                    const int middle = device(geometry::discOrigin(row ? cell.y : cell.x) + 30);
                    const auto parts = runs(canvas, row, middle, device(origin) - 2,
                                            device(origin + geometry::discSize) + 2, colour);
                    ASSERT_FALSE(parts.empty());
                    EXPECT_LE(std::abs(parts.front().first - origin * ratio), 1.0);
                    EXPECT_LE(std::abs(parts.back().first + parts.back().second -
                                       (origin + geometry::discSize) * ratio),
                              1.0);
                }
            }
        }
    }
}

TEST_F(BoardScale, AWindowMovedToAScreenOfAnotherScaleShowsWhatAFreshWindowThereShows) {
    QScreen* sharp = nullptr;  // the test platform's screen with two device pixels to one
    for (QScreen* screen : QGuiApplication::screens())
        sharp = screen->name() == QLatin1String("sharp") ? screen : sharp;
    ASSERT_NE(sharp, nullptr);
    MatchWindow fresh(styleFor(MatchKind::twoPlayer, 1));
    fresh.setGrowStep(std::chrono::nanoseconds(0));
    fresh.move(sharp->geometry().topLeft());
    MatchWindow& moved = window(1);
    for (MatchWindow* w : {&moved, &fresh}) {
        w->show();
        start(*w);
        clickCell(*w, 4, 2);
        clickCell(*w, 0, 0);
    }
    moved.windowHandle()->setScreen(sharp);
    moved.move(sharp->geometry().topLeft());
    ASSERT_EQ(moved.devicePixelRatioF(), 2.0);
    ASSERT_EQ(fresh.devicePixelRatioF(), 2.0);
    const QRect board(0, 0, geometry::gridEnd + 1, geometry::gridEnd + 1);
    EXPECT_EQ(moved.grab(board).toImage(), fresh.grab(board).toImage());
}

}  // namespace
}  // namespace reversi
