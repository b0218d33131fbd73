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
class Canvas {
  public:
    explicit Canvas(QSize size, QColor background);

    const QImage& image() const { return image_; }
    QColor pixel(int x, int y) const { return image_.pixelColor(x, y); }

    // Grows the surface to at least `size`; new pixels take `background`.
    void ensureSize(QSize size, QColor background);
    // Paints the whole surface in one colour.
    void fill(QColor colour);

    void setPenColour(QColor colour) { pen_ = colour.rgb(); }
    void setBrushColour(QColor colour) { brush_ = colour.rgb(); }

    // A filled ellipse given by two opposite corners of its bounding box, in any order:
    // filled with the brush colour, with a one-pixel outline in the pen colour. Returns the
    // rectangle it may have touched.
    QRect ellipse(int x1, int y1, int x2, int y2);
    void moveTo(int x, int y) { penPosition_ = {x, y}; }
    // A horizontal or vertical line in the pen colour from the pen position to (x, y).
    QRect lineTo(int x, int y);

  private:
    void put(int x, int y, QRgb colour);

    QImage image_;
    std::vector<std::pair<int, int>> spans_;  // reused by every ellipse
    QRgb pen_ = qRgb(0, 0, 0);
    QRgb brush_ = qRgb(255, 255, 255);
    QPoint penPosition_;
};

}  // namespace reversi
