#include "resource_picture.h"

#include <QPainter>

#include "file_error.h"
#include "resource_names.h"
#include "resources.h"
#include "widgets.h"

namespace reversi {

using namespace resources;

ResourcePicture::ResourcePicture(QWidget* parent) : QWidget(parent) {}

void ResourcePicture::setPicture(const QString& name) {
    if (!name.isEmpty()) resourceImageSize(ResourceType::rawData, name);
    name_ = name;
    update();
}

void ResourcePicture::paintEvent(QPaintEvent*) {
    if (name_.isEmpty()) return;
    QImage image;
    try {
        image = resourceImage(ResourceType::rawData, name_);
    } catch (const FileError&) {
        // Its header was read when it was set, so only damaged data fails here: nothing shows,
        // as no handler runs to report it.
        return;
    }
    const auto* layout = dynamic_cast<const LayoutWindow*>(window());
    const qreal scale = layout ? layout->layoutScale() : 1;
    QPainter painter(this);
    // Smoothed where the picture's pixels are not the screen's: a scaled layout, or a screen
    // with more device pixels to a logical one.
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(QRectF(QPointF(0, 0), QSizeF(image.size()) * scale), image);
}

}  // namespace reversi
