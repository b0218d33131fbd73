#pragma once

#include <QMargins>
#include <QPoint>
#include <QRect>
#include <QSize>

namespace reversi {

// Where a window drawn for a layout goes on a screen, and how much its layout is scaled.
struct ScreenFit {
    QRect frame;       // the window's outer rectangle, frame included, in screen coordinates
    QSize clientSize;  // the area inside the frame
    qreal scale = 1;   // 1 where the layout fits; else the factor that makes it fit
};

// Fits a window to the available area of a screen (the screen less its panels). The layout puts
// the window's frame at `layoutPosition`, relative to the screen's top-left corner, around a
// client area of `clientSize`. Where the window fits, it keeps its layout position, or is moved
// the least distance that brings it inside the area; where it is larger than the area, its
// client area is scaled down by one factor until the window fits. `frame` is the frame the
// window system puts around a window (none without a window manager).
ScreenFit fitToScreen(QPoint layoutPosition, QSize clientSize, QMargins frame, QRect screen,
                      QRect available);

// The factor alone: what a window of `clientSize` needs on `available` with `frame` around it.
qreal fittingScale(QSize clientSize, QMargins frame, QRect available);

// A layout rectangle at a scale, each edge rounded on its own, so that neighbours stay
// neighbours.
QRect scaledRect(QRect rect, qreal scale);
// The pixels that show a layout rectangle at a scale, with one more each side where it is
// scaled: what must be repainted when the rectangle changes.
QRect coveringRect(QRect rect, qreal scale);

}  // namespace reversi
