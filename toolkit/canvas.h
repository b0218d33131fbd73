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
// Coordinates are logical pixels; the surface may have any number of device pixels to each (a
// screen with a device pixel ratio of 2, a layout scaled down to fit a small screen), and
// shapes are computed on the device pixels, so their edges are as fine as the screen. At a
// ratio of 1 the two are the same. Every shape keeps at least one device pixel at every ratio,
// and all lines are equally thick.
//
// The surface remembers what was drawn since its last fill, so that a change of ratio draws
// it again at the new resolution rather than resampling, and its pixels can be given back
// while nobody looks at them. A shape covered entirely by a later one is forgotten, so the
// record stays as small as the picture's distinct shapes.
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
    // Device pixels to a logical one. A new ratio draws the picture again at that resolution
    // when its pixels are next needed.
    void setDevicePixelRatio(qreal ratio);
    qreal devicePixelRatio() const { return ratio_; }
    // The thickness of every line, in device pixels.
    int lineWidth() const;
    // Whether the pixels exist yet.
    bool isAllocated() const { return !image_.isNull(); }
    // Gives the pixels back; the picture is drawn again from what was drawn when next needed.
    void release();

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
    struct Shape {
        enum class Kind { ellipse, line } kind;
        QRect box;  // the ellipse's bounding box; the line's logical pixels
        ColourIndex pen;
        ColourIndex brush;
    };

    ColourIndex indexOf(QColor colour);
    // Adds a shape to the record, forgetting the shapes it covers, and paints it.
    void draw(const Shape& shape);
    void paint(const Shape& shape) const;
    void paintEllipse(const Shape& shape) const;
    void paintLine(const Shape& shape) const;
    // The pixels, allocated, filled and drawn again from the record on first use.
    QImage& surface() const;

    QSize size_;
    qreal ratio_ = 1;
    QList<QRgb> colours_;  // the table the pixels index; at most 256 colours
    ColourIndex fillColour_ = 0;
    mutable QImage image_;
    std::vector<Shape> shapes_;  // what was drawn since the last fill, in order
    mutable std::vector<std::pair<int, int>> spans_;  // reused by every ellipse
    ColourIndex pen_ = 0;
    ColourIndex brush_ = 0;
    QPoint penPosition_;
};

}  // namespace reversi
