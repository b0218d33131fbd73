#pragma once

#include <QFont>
#include <QPointer>
#include <QRect>
#include <QWidget>
#include <functional>
#include <vector>

namespace reversi {

// How a control of a window meets the window's scale.
enum class LayoutScaling {
    geometry,     // its position, size and font scale (the default)
    sizedToText,  // its position and font scale; it sizes itself to its text
    fontOnly,     // only its font scales: the window places it itself
};
void setLayoutScaling(QWidget* control, LayoutScaling scaling);

// Scales the controls of a window by one factor: positions, sizes and font sizes. What each
// control had when first scaled is its layout; a change the program makes later (a new font, a
// new place) becomes the new layout. At a factor of 1 a window that was never scaled is left
// exactly as it is.
class LayoutScaler {
  public:
    explicit LayoutScaler(QWidget* window) : window_(window) {}

    void apply(qreal scale);
    qreal scale() const { return scale_; }
    // Runs a change of the layout at the layout's own scale, then scales again, so that what the
    // change computes from sizes (a text fitted to a box) is computed at scale 1.
    void relayout(const std::function<void()>& change);

  private:
    struct Control {
        QPointer<QWidget> widget;
        QRect layoutGeometry;
        QFont layoutFont;
        QRect appliedGeometry;
        QFont appliedFont;
    };
    Control& record(QWidget* widget);
    void applyTo(Control& control) const;

    QWidget* window_;
    qreal scale_ = 1;
    std::vector<Control> controls_;
};

// A font at a scale: its pixel or point size multiplied, at least 1.
QFont scaledFont(QFont font, qreal scale);

}  // namespace reversi
