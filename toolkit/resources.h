#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
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

// The resource decoded as an image, in the format its file holds (a picture with a table of
// colours stays one byte a pixel); throws FileError when it is missing or not an image.
QImage resourceImage(const QString& type, const QString& name);

// The size of the resource's image, read from its header alone; throws FileError when it is
// missing or not an image.
QSize resourceImageSize(const QString& type, const QString& name);

}  // namespace reversi
