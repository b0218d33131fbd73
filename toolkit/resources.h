#pragma once

#include <QByteArray>
#include <QImage>
#include <QPixmap>
#include <QString>

#include "files.h"

namespace reversi {

// Resources carried in the executable live at ":/TYPE/NAME"; both parts are matched without
// regard to letter case, so "Image1" of type "rcdata" finds ":/RCDATA/IMAGE1".

// The resource's path, or an empty string when there is no such resource.
QString findResource(const QString& type, const QString& name);

// The resource's bytes; throws FileError when it is missing.
QByteArray resourceBytes(const QString& type, const QString& name);

// Writes the resource to `fileName` as writeFile does; throws FileError.
FileIdentity saveResource(const QString& type, const QString& name, const QString& fileName);

// The resource decoded as an image; throws FileError when it is missing or not an image.
QImage resourceImage(const QString& type, const QString& name);

// The resource as a picture for a screen with `devicePixelRatio` device pixels to a logical one:
// as it is at a ratio of 1, otherwise scaled smoothly to the screen's pixels, keeping its size in
// logical pixels. Throws FileError.
QPixmap resourcePixmap(const QString& type, const QString& name, qreal devicePixelRatio);

}  // namespace reversi
