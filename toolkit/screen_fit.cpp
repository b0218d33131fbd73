#include "screen_fit.h"

#include <algorithm>
#include <cmath>

namespace reversi {

qreal fittingScale(QSize clientSize, QMargins frame, QRect available) {
    if (clientSize.isEmpty()) return 1;
    const qreal width = available.width() - frame.left() - frame.right();
    const qreal height = available.height() - frame.top() - frame.bottom();
    const qreal scale =
        std::min({qreal(1), width / clientSize.width(), height / clientSize.height()});
    return std::max(scale, qreal(0.1));  // a screen too small for anything still gets a window
}

ScreenFit fitToScreen(QPoint layoutPosition, QSize clientSize, QMargins frame, QRect screen,
                      QRect available) {
    ScreenFit fit;
    fit.scale = fittingScale(clientSize, frame, available);
    fit.clientSize = fit.scale < 1 ? QSize(static_cast<int>(clientSize.width() * fit.scale),
                                           static_cast<int>(clientSize.height() * fit.scale))
                                   : clientSize;
    const QSize outer = fit.clientSize.grownBy(frame);
    // Moved the least distance into the area: each coordinate on its own, the top-left corner
    // winning where the window is as large as the area.
    const auto place = [](int wanted, int first, int length, int room) {
        return std::max(first, std::min(wanted, first + room - length));
    };
    const QPoint wanted = screen.topLeft() + layoutPosition;
    fit.frame = QRect(place(wanted.x(), available.x(), outer.width(), available.width()),
                      place(wanted.y(), available.y(), outer.height(), available.height()),
                      outer.width(), outer.height());
    return fit;
}

QRect scaledRect(QRect rect, qreal scale) {
    if (scale == 1) return rect;
    const auto at = [scale](int coordinate) {
        return static_cast<int>(std::lround(coordinate * scale));
    };
    const int left = at(rect.left()), top = at(rect.top());
    return {left, top, std::max(1, at(rect.left() + rect.width()) - left),
            std::max(1, at(rect.top() + rect.height()) - top)};
}

QRect coveringRect(QRect rect, qreal scale) {
    if (scale == 1) return rect;
    return QRectF(QPointF(rect.topLeft()) * scale, QSizeF(rect.size()) * scale)
        .toAlignedRect()
        .adjusted(-1, -1, 1, 1);
}

}  // namespace reversi
