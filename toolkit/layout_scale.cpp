#include "layout_scale.h"

#include <QVariant>
#include <algorithm>
#include <cmath>

#include "screen_fit.h"

namespace reversi {
namespace {

const char* const scalingProperty = "reversiLayoutScaling";

LayoutScaling scalingOf(const QWidget* control) {
    const QVariant value = control->property(scalingProperty);
    return value.isValid() ? static_cast<LayoutScaling>(value.toInt()) : LayoutScaling::geometry;
}

}  // namespace

void setLayoutScaling(QWidget* control, LayoutScaling scaling) {
    control->setProperty(scalingProperty, static_cast<int>(scaling));
}

QFont scaledFont(QFont font, qreal scale) {
    if (scale == 1) return font;
    if (font.pixelSize() > 0) {
        font.setPixelSize(std::max(1, static_cast<int>(std::lround(font.pixelSize() * scale))));
    } else if (font.pointSizeF() > 0) {
        font.setPointSizeF(std::max(1.0, font.pointSizeF() * scale));
    }
    return font;
}

LayoutScaler::Control& LayoutScaler::record(QWidget* widget) {
    auto found = std::find_if(controls_.begin(), controls_.end(),
                              [widget](const Control& c) { return c.widget == widget; });
    if (found == controls_.end()) {
        controls_.push_back(
            {widget, widget->geometry(), widget->font(), widget->geometry(), widget->font()});
        return controls_.back();
    }
    Control& control = *found;
    // What the program changed since the last scaling is layout.
    if (widget->font() != control.appliedFont) control.layoutFont = widget->font();
    if (scalingOf(widget) == LayoutScaling::sizedToText) {
        if (widget->pos() != control.appliedGeometry.topLeft())
            control.layoutGeometry.moveTopLeft(widget->pos());
    } else if (widget->geometry() != control.appliedGeometry) {
        control.layoutGeometry = widget->geometry();
    }
    return control;
}

void LayoutScaler::applyTo(Control& control) const {
    QWidget* widget = control.widget;
    const LayoutScaling scaling = scalingOf(widget);
    const QFont font = scaledFont(control.layoutFont, scale_);
    if (widget->font() != font) widget->setFont(font);
    control.appliedFont = widget->font();
    const QRect geometry = scaledRect(control.layoutGeometry, scale_);
    switch (scaling) {
        case LayoutScaling::fontOnly:
            break;
        case LayoutScaling::sizedToText:
            widget->move(geometry.topLeft());
            widget->adjustSize();
            break;
        case LayoutScaling::geometry:
            widget->setGeometry(geometry);
            break;
    }
    control.appliedGeometry = widget->geometry();
}

void LayoutScaler::apply(qreal scale) {
    // A window that was never scaled is left exactly as its layout made it.
    if (scale == 1 && controls_.empty()) return;
    scale_ = scale;
    const auto children = window_->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    for (QWidget* child : children) {
        if (child->isWindow()) continue;
        applyTo(record(child));
    }
    std::erase_if(controls_, [](const Control& c) { return c.widget.isNull(); });
}

void LayoutScaler::relayout(const std::function<void()>& change) {
    const qreal scale = scale_;
    apply(1);
    change();
    apply(scale);
}

}  // namespace reversi
