#include "board_view.h"

#include <QCoreApplication>
#include <QPainter>
#include <thread>

#include "screen_fit.h"
#include "widgets.h"

namespace reversi {
namespace {

using Clock = std::chrono::steady_clock;

constexpr int growSteps = 30;  // the disc widens and heightens in 31 steps each
constexpr int growStepCount = (growSteps + 1) * (growSteps + 1);
// One growing disc takes about this long on any machine: every step due a little after the one
// before.
constexpr auto defaultGrowStep =
    std::chrono::nanoseconds(std::chrono::milliseconds(160)) / growStepCount;
// The screen is brought up to date at most this often while a disc grows; when the steps are
// this far ahead of their time, the window shows them and the program sleeps until they are due.
constexpr auto flushInterval = std::chrono::milliseconds(8);

// What the window does while discs grow: it answers the window system (pings, exposures,
// repaints), while the player's input and every timer wait until the drawing is done.
constexpr auto whileDrawing = QEventLoop::ExcludeUserInputEvents | QEventLoop::X11ExcludeTimers;

}  // namespace

namespace geometry {

std::optional<CellPos> cellAt(QPoint pixel) {
    // Truncation toward zero, not flooring: pixels just left of or above the grid give 0.
    const auto index = [](int coordinate) {
        return static_cast<int>(static_cast<double>(coordinate - gridOrigin) / cellSize);
    };
    const CellPos cell{index(pixel.x()), index(pixel.y())};
    const auto inside = [](int i) { return i >= 0 && i < Board::size; };
    if (!inside(cell.x) || !inside(cell.y)) return std::nullopt;
    return cell;
}

}  // namespace geometry

BoardView::BoardView(LayoutWindow& window, const Theme& theme, QSize layoutSize)
    : window_(window),
      theme_(theme),
      canvas_(layoutSize, theme.backgroundColour.resolve()),
      growStep_(defaultGrowStep) {}

bool BoardView::animated() const {
    return growStep_.count() > 0 && window_.isVisible();
}

QRect BoardView::discBox(CellPos cell) {
    return {geometry::discOrigin(cell.x), geometry::discOrigin(cell.y), geometry::discSize,
            geometry::discSize};
}

QColor BoardView::sideColour(Cell side) const {
    return (side == CellCode::second ? theme_.secondColour : theme_.firstColour).resolve();
}

void BoardView::drawBoard(const Board& board) {
    canvas_.setPenColour(theme_.gridColour.resolve());
    constexpr int first = geometry::gridOrigin, last = geometry::gridEnd;
    // Each line runs through the last line's pixel, so the grid's corners close.
    for (int x = first; x <= last; x += geometry::cellSize) {
        canvas_.moveTo(x, first);
        canvas_.lineTo(x, last + 1);
    }
    for (int y = first; y <= last; y += geometry::cellSize) {
        canvas_.moveTo(first, y);
        canvas_.lineTo(last + 1, y);
    }
    for (int column = 0; column < Board::size; ++column) {
        for (int row = 0; row < Board::size; ++row) {
            const Cell code = board.at(column, row);
            if (code == CellCode::first || code == CellCode::second) {
                drawDisc({column, row}, code);
            } else if (code == CellCode::empty) {
                drawMarker({column, row}, false);
            }
        }
    }
    flush({0, 0, last + 1, last + 1});
}

void BoardView::fillDisc(CellPos cell, QColor colour) {
    canvas_.setPenColour(colour);
    canvas_.setBrushColour(colour);
    const QRect box = discBox(cell);
    canvas_.ellipse(box.left(), box.top(), box.left() + box.width(), box.top() + box.height());
}

void BoardView::drawMarker(CellPos cell, bool shown) {
    fillDisc(cell, (shown ? theme_.markerColour : theme_.backgroundColour).resolve());
    flush(discBox(cell));
}

void BoardView::drawDisc(CellPos cell, Cell side) {
    fillDisc(cell, sideColour(side));
    drawCentreDot(cell);
    flush(discBox(cell));
}

void BoardView::growDisc(CellPos cell, Cell side) {
    // The disc widens from a vertical line through its centre, one pixel each side a step.
    const QColor colour = sideColour(side);
    const QPoint centre = geometry::cellCentre(cell);
    growDeadline_ = Clock::now();
    // Every step lies inside the last one, in the same colour. Where no step can be seen (no
    // pause between steps, or a hidden window) the last step alone gives the same pixels.
    const int firstStep = animated() ? 0 : growSteps;
    for (int i = firstStep; i <= growSteps; ++i) {
        for (int j = firstStep; j <= growSteps; ++j) {
            canvas_.setPenColour(colour);
            canvas_.setBrushColour(colour);
            canvas_.ellipse(centre.x() + i, centre.y() + j, centre.x() - i, centre.y() - j);
            flushIfDue(discBox(cell));
            growDelay();
        }
    }
    drawCentreDot(cell);
    flush(discBox(cell));
}

void BoardView::drawCentreDot(CellPos cell) {
    const QColor background = theme_.backgroundColour.resolve();
    canvas_.setPenColour(background);
    canvas_.setBrushColour(background);
    const QPoint centre = geometry::cellCentre(cell);
    constexpr int r = geometry::dotRadius;
    canvas_.ellipse(centre.x() - r, centre.y() - r, centre.x() + r, centre.y() + r);
}

void BoardView::growDelay() {
    // Paced by the clock, so that a disc takes the same time on every machine and time lost to
    // a slow step is made up by the next ones. Steps run ahead until a frame's worth is drawn,
    // then the window shows them, answers the window system and sleeps until they are due: no
    // busy waiting, and never a window that seems to hang. A hidden window shows no progress,
    // so it has nothing to wait for.
    if (!animated()) return;
    growDeadline_ += growStep_;
    if (growDeadline_ - Clock::now() < flushInterval) return;
    flush(QRect());
    QCoreApplication::processEvents(whileDrawing);
    std::this_thread::sleep_until(growDeadline_);
    lastFlush_ = Clock::now();  // nothing was drawn meanwhile: the screen is still current
}

void BoardView::flush(QRect area) {
    pendingFlush_ |= area;
    // The window's pixels that show the area, at its scale.
    if (window_.isVisible() && !pendingFlush_.isEmpty())
        window_.repaint(coveringRect(pendingFlush_, window_.layoutScale()));
    pendingFlush_ = QRect();
    lastFlush_ = Clock::now();
}

void BoardView::flushIfDue(QRect area) {
    pendingFlush_ |= area;
    if (Clock::now() - lastFlush_ >= flushInterval) flush(QRect());
}

void BoardView::matchCanvasToScreen() {
    canvas_.setDevicePixelRatio(window_.devicePixelRatioF() * window_.layoutScale());
}

void BoardView::paint(QPainter& painter, QRect area) {
    // The canvas holds the layout's pixels at the window's own resolution: each of its device
    // pixels is one of the window's. Beyond it the window is all background, which Qt fills in
    // itself.
    matchCanvasToScreen();
    const qreal ratio = window_.devicePixelRatioF();
    const QRect deviceArea =
        QRectF(QRectF(area).topLeft() * ratio, QSizeF(area.size()) * ratio).toAlignedRect() &
        canvas_.image().rect();
    if (deviceArea.isEmpty()) return;
    painter.drawImage(
        QRectF(QPointF(deviceArea.topLeft()) / ratio, QSizeF(deviceArea.size()) / ratio),
        canvas_.image(), deviceArea);
}

}  // namespace reversi
