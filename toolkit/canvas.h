#pragma once

#include <QColor>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <utility>
#include <vector>

namespace reversi {

// A retained drawing surface: the picture stays until it is drawn over, whatever happens to
// the window showing it. Shapes follow the classic device conventions: an ellipse fills the
// pixels whose centres lie inside the ellipse inscribed in its bounding box, whose right and
// bottom edges are excluded; a line leaves out its end point.
//
// Coordinates are logical pixels; the surface may have more device pixels to each (a screen
// with a device pixel ratio of 2), and shapes are computed on the device pixels, so their edges
// are as fine as the screen. At a ratio of 1 the two are the same.
//
// A board needs a handful of colours, so each pixel is one byte naming a colour of the
// surface's own table: a quarter of the memory of full colour. The pixels are allocated when
// they are first drawn or looked at, so a surface that is only filled (its window was never
// shown) costs none at all.
class Canvas {
  public:
    Canvas(QSize size, QColor background);

    // The device pixels, with the ratio set so that painting them maps logical to device.
    const QImage& image() const { return surface(); }
    // The colour of a logical pixel (the device pixel at its centre), and of a device pixel.
    QColor pixel(int x, int y) const;
    QColor devicePixel(int x, int y) const;
    QSize size() const { return size_; }
    // Device pixels to a logical one; takes effect when the pixels are allocated.
    void setDevicePixelRatio(qreal ratio);
    qreal devicePixelRatio() const { return ratio_; }
    // Whether the pixels exist yet.
    bool isAllocated() const { return !image_.isNull(); }

    // Paints the whole surface in one colour.
    void fill(QColor colour);

    void setPenColour(QColor colour) { pen_ = indexOf(colour); }
    void setBrushColour(QColor colour) { brush_ = indexOf(colour); }

    // A filled ellipse given by two opposite corners of its bounding box, in any order:
    // filled with the brush colour, with a one-pixel outline in the pen colour. Returns the
    // rectangle it may have touched.
    QRect ellipse(int x1, int y1, int x2, int y2);
    void moveTo(int x, int y) { penPosition_ = {x, y}; }
    // A horizontal or vertical line in the pen colour from the pen position to (x, y).
    QRect lineTo(int x, int y);

  private:
    using ColourIndex = uchar;
    ColourIndex indexOf(QColor colour);
    // Paints the device pixels covering a logical rectangle.
    void paintArea(QRect area, ColourIndex colour);
    // The pixels, allocated and painted in the fill colour on first use.
    QImage& surface() const;

    QSize size_;
    qreal ratio_ = 1;
    QList<QRgb> colours_;  // the table the pixels index; at most 256 colours
    ColourIndex fillColour_ = 0;
    mutable QImage image_;
    std::vector<std::pair<int, int>> spans_;  // reused by every ellipse
    ColourIndex pen_ = 0;
    ColourIndex brush_ = 0;
    QPoint penPosition_;
};

}  // namespace reversi
