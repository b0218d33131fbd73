#include "resources.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImageReader>

#include "file_error.h"

namespace reversi {
namespace {

// The entry of `dir` whose name equals `name` ignoring case.
QString findEntry(const QString& dir, const QString& name) {
    const auto entries = QDir(dir).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    for (const QString& entry : entries) {
        if (entry.compare(name, Qt::CaseInsensitive) == 0) return dir + QLatin1Char('/') + entry;
    }
    return {};
}

[[noreturn]] void missing(const QString& type, const QString& name) {
    throw FileError(
        QStringLiteral("Resource %1 of type %2 not found").arg(name, type).toStdString());
}

}  // namespace

QString findResource(const QString& type, const QString& name) {
    const QString typeDir = findEntry(QStringLiteral(":"), type);
    return typeDir.isEmpty() ? QString() : findEntry(typeDir, name);
}

QByteArray resourceBytes(const QString& type, const QString& name) {
    QFile file(findResource(type, name));
    if (file.fileName().isEmpty() || !file.open(QIODevice::ReadOnly)) missing(type, name);
    return file.readAll();
}

FileIdentity saveResource(const QString& type, const QString& name, const QString& fileName) {
    return writeFile(fileName, resourceBytes(type, name));
}

QImage resourceImage(const QString& type, const QString& name) {
    QByteArray bytes = resourceBytes(type, name);
    // The program's pictures are PNG, which Qt decodes itself: said so, and with the format not
    // guessed, Qt loads none of the image format plug-ins to ask each whether it knows the data.
    QBuffer buffer(&bytes);
    QImageReader png(&buffer, "png");
    png.setAutoDetectImageFormat(false);
    QImage image = png.read();
    if (image.isNull() && !image.loadFromData(bytes)) missing(type, name);
    return image;
}

QPixmap resourcePixmap(const QString& type, const QString& name, qreal devicePixelRatio) {
    QImage image = resourceImage(type, name);
    if (devicePixelRatio != 1) {
        image = image.scaled((QSizeF(image.size()) * devicePixelRatio).toSize(),
                             Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        image.setDevicePixelRatio(devicePixelRatio);
    }
    return QPixmap::fromImage(std::move(image));
}

}  // namespace reversi
