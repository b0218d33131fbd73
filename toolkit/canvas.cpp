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
        image_ = QImage((QSizeF(size_) * ratio_).toSize(), QImage::Format_Indexed8);
        image_.setDevicePixelRatio(ratio_);
        image_.setColorTable(colours_);
        image_.fill(fillColour_);
        for (const Shape& shape : shapes_)
            paint(shape);
    }
    return image_;
}

void Canvas::fill(QColor colour) {
    fillColour_ = indexOf(colour);
    shapes_.clear();
    if (isAllocated()) image_.fill(fillColour_);
}

void Canvas::setDevicePixelRatio(qreal ratio) {
    if (ratio <= 0 || ratio == ratio_) return;
    ratio_ = ratio;
    release();
}

void Canvas::release() {
    image_ = QImage();
}

int Canvas::lineWidth() const {
    return std::max(1, static_cast<int>(std::lround(ratio_)));
}

QColor Canvas::pixel(int x, int y) const {
    // The device pixel at the logical pixel's centre.
    return devicePixel(static_cast<int>((x + 0.5) * ratio_), static_cast<int>((y + 0.5) * ratio_));
}

QColor Canvas::devicePixel(int x, int y) const {
    return QColor(colours_[surface().pixelIndex(x, y)]);
}

QRect Canvas::ellipse(int x1, int y1, int x2, int y2) {
    const int left = std::min(x1, x2), right = std::max(x1, x2);
    const int top = std::min(y1, y2), bottom = std::max(y1, y2);
    if (right == left || bottom == top) return {};  // an empty box covers no pixel centre
    const QRect box(left, top, right - left, bottom - top);
    draw({Shape::Kind::ellipse, box, pen_, brush_});
    return box;
}

QRect Canvas::lineTo(int x, int y) {
    const QPoint from = penPosition_;
    penPosition_ = {x, y};
    if (from.x() != x && from.y() != y) return {};  // the board needs only straight lines
    if (from == penPosition_) return {};
    // The pixels from the start up to the end point, which is left out.
    const QRect line = QRect(from, penPosition_)
                           .normalized()
                           .adjusted(0, 0, from.x() == x ? 0 : -1, from.y() == y ? 0 : -1);
    draw({Shape::Kind::line, line, pen_, brush_});
    return line;
}

void Canvas::draw(const Shape& shape) {
    // A concentric ellipse no larger either way lies inside this one at every resolution, as
    // does a line within this one's pixels: such shapes can no longer be seen.
    const auto covered = [&shape](const Shape& earlier) {
        if (earlier.kind != shape.kind) return false;
        if (shape.kind == Shape::Kind::line) return shape.box.contains(earlier.box);
        const QRect& a = earlier.box;
        const QRect& b = shape.box;
        return 2 * a.left() + a.width() == 2 * b.left() + b.width() &&
               2 * a.top() + a.height() == 2 * b.top() + b.height() && a.width() <= b.width() &&
               a.height() <= b.height();
    };
    std::erase_if(shapes_, covered);
    shapes_.push_back(shape);
    if (isAllocated())
        paint(shape);
    else
        surface();  // allocated now, which draws the record, this shape included
}

void Canvas::paint(const Shape& shape) const {
    if (shape.kind == Shape::Kind::ellipse)
        paintEllipse(shape);
    else
        paintLine(shape);
}

void Canvas::paintEllipse(const Shape& shape) const {
    const QRect& box = shape.box;
    // The same ellipse on the device pixels. For each device row, the span of pixel centres
    // inside it (first > last when none).
    const double rx = box.width() * ratio_ / 2.0, ry = box.height() * ratio_ / 2.0;
    const double cx = box.left() * ratio_ + rx, cy = box.top() * ratio_ + ry;
    const int firstRow = static_cast<int>(std::floor(box.top() * ratio_));
    const int rows = static_cast<int>(std::ceil((box.top() + box.height()) * ratio_)) - firstRow;
    spans_.assign(static_cast<std::size_t>(rows) + 2, {0, -1});  // a blank row each side
    for (int row = 0; row < rows; ++row) {
        const double dy = (firstRow + row + 0.5 - cy) / ry;
        const double reach = 1.0 - dy * dy;
        if (reach < 0) continue;
        const double half = rx * std::sqrt(reach);
        // Pixel x is inside when |x + 0.5 - cx| <= half.
        spans_[static_cast<std::size_t>(row) + 1] = {static_cast<int>(std::ceil(cx - half - 0.5)),
                                                     static_cast<int>(std::floor(cx + half - 0.5))};
    }
    for (int row = 0; row < rows; ++row) {
        const int y = firstRow + row;
        if (y < 0 || y >= image_.height()) continue;
        const auto [first, last] = spans_[static_cast<std::size_t>(row) + 1];
        const auto [firstAbove, lastAbove] = spans_[static_cast<std::size_t>(row)];
        const auto [firstBelow, lastBelow] = spans_[static_cast<std::size_t>(row) + 2];
        uchar* line = image_.scanLine(y);
        const int from = std::max(first, 0), to = std::min(last, image_.width() - 1);
        for (int x = from; x <= to; ++x) {
            // The outline: pixels of the shape with a neighbour outside it.
            const bool edge = x == first || x == last || x < firstAbove || x > lastAbove ||
                              x < firstBelow || x > lastBelow;
            line[x] = edge ? shape.pen : shape.brush;
        }
    }
}

void Canvas::paintLine(const Shape& shape) const {
    // Each logical pixel of the line starts at the device pixel its corner rounds to and is
    // lineWidth() device pixels thick: however the ratio rounds, no line thins or vanishes.
    const auto device = [this](int logical) {
        return static_cast<int>(std::lround(logical * ratio_));
    };
    const QRect& area = shape.box;
    const int width = lineWidth();
    const int left = std::max(device(area.left()), 0);
    const int right = std::min(device(area.right()) + width, image_.width());
    const int top = std::max(device(area.top()), 0);
    const int bottom = std::min(device(area.bottom()) + width, image_.height());
    for (int y = top; y < bottom; ++y) {
        uchar* line = image_.scanLine(y);
        std::fill(line + left, line + std::max(right, left), shape.pen);
    }
}

}  // namespace reversi
