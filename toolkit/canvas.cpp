#include "canvas.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

namespace reversi {

Canvas::Canvas(QSize size, QColor background) : size_(size) {
    fillColour_ = indexOf(background);
}

Canvas::ColourIndex Canvas::indexOf(QColor colour) {
    const QRgb rgb = colour.rgb();
    auto found = std::find(colours_.begin(), colours_.end(), rgb);
    if (found != colours_.end()) return static_cast<ColourIndex>(found - colours_.begin());
    // Full: the nearest colour of the table stands in (a board never needs that many).
    if (colours_.size() == 256) {
        found = std::min_element(colours_.begin(), colours_.end(), [rgb](QRgb a, QRgb b) {
            const auto distance = [rgb](QRgb c) {
                return std::abs(qRed(c) - qRed(rgb)) + std::abs(qGreen(c) - qGreen(rgb)) +
                       std::abs(qBlue(c) - qBlue(rgb));
            };
            return distance(a) < distance(b);
        });
        return static_cast<ColourIndex>(found - colours_.begin());
    }
    colours_.append(rgb);
    if (isAllocated()) image_.setColorTable(colours_);
    return static_cast<ColourIndex>(colours_.size() - 1);
}

QImage& Canvas::surface() const {
    if (image_.isNull()) {
        image_ = QImage(size_, QImage::Format_Indexed8);
        image_.setColorTable(colours_);
        image_.fill(fillColour_);
    }
    return image_;
}

void Canvas::fill(QColor colour) {
    fillColour_ = indexOf(colour);
    if (isAllocated()) image_.fill(fillColour_);
}

void Canvas::put(int x, int y, ColourIndex colour) {
    QImage& image = surface();
    if (x < 0 || y < 0 || x >= image.width() || y >= image.height()) return;
    image.scanLine(y)[x] = colour;
}

QRect Canvas::ellipse(int x1, int y1, int x2, int y2) {
    const int left = std::min(x1, x2), right = std::max(x1, x2);
    const int top = std::min(y1, y2), bottom = std::max(y1, y2);
    const int width = right - left, height = bottom - top;
    if (width <= 0 || height <= 0) return {};  // an empty box covers no pixel centre

    // For each row, the span of pixel centres inside the ellipse (first > last when none).
    const double rx = width / 2.0, ry = height / 2.0;
    const double cx = left + rx, cy = top + ry;
    spans_.assign(static_cast<std::size_t>(height) + 2, {0, -1});  // a blank row each side
    for (int row = 0; row < height; ++row) {
        const double dy = (top + row + 0.5 - cy) / ry;
        const double reach = 1.0 - dy * dy;
        if (reach < 0) continue;
        const double half = rx * std::sqrt(reach);
        // Pixel x is inside when |x + 0.5 - cx| <= half.
        spans_[static_cast<std::size_t>(row) + 1] = {static_cast<int>(std::ceil(cx - half - 0.5)),
                                                     static_cast<int>(std::floor(cx + half - 0.5))};
    }
    QImage& image = surface();
    for (int row = 0; row < height; ++row) {
        const int y = top + row;
        if (y < 0 || y >= image.height()) continue;
        const auto [first, last] = spans_[static_cast<std::size_t>(row) + 1];
        const auto [firstAbove, lastAbove] = spans_[static_cast<std::size_t>(row)];
        const auto [firstBelow, lastBelow] = spans_[static_cast<std::size_t>(row) + 2];
        uchar* line = image.scanLine(y);
        const int from = std::max(first, 0), to = std::min(last, image.width() - 1);
        for (int x = from; x <= to; ++x) {
            // The outline: pixels of the shape with a neighbour outside it.
            const bool edge = x == first || x == last || x < firstAbove || x > lastAbove ||
                              x < firstBelow || x > lastBelow;
            line[x] = edge ? pen_ : brush_;
        }
    }
    return {left, top, width, height};
}

QRect Canvas::lineTo(int x, int y) {
    const QPoint from = penPosition_;
    penPosition_ = {x, y};
    const int dx = (x > from.x()) - (x < from.x());
    const int dy = (y > from.y()) - (y < from.y());
    if (dx != 0 && dy != 0) return {};  // the board needs only straight lines
    QPoint p = from;
    while (p != penPosition_) {
        put(p.x(), p.y(), pen_);
        p += QPoint(dx, dy);
    }
    return QRect(from, penPosition_).normalized();
}

}  // namespace reversi
