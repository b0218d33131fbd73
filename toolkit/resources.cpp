#include "resources.h"

#include <QDir>
#include <QFile>
#include <QImageReader>
#include <functional>

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

// Runs `read` on a reader of the resource's image, which reads straight from the resource, with
// no copy of its bytes. The program's pictures are PNG, which Qt decodes itself: said so, and
// with the format not guessed, Qt loads none of the image format plug-ins to ask each whether it
// knows the data. Only where that fails is another format looked for by the content. `read`
// says whether it got what it wanted; throws FileError when it never does.
void readImage(const QString& type, const QString& name,
               const std::function<bool(QImageReader&)>& read) {
    QFile file(findResource(type, name));
    if (file.fileName().isEmpty() || !file.open(QIODevice::ReadOnly)) missing(type, name);
    QImageReader png(&file, "png");
    png.setAutoDetectImageFormat(false);
    if (read(png)) return;
    file.seek(0);
    QImageReader any(&file);
    if (!read(any)) missing(type, name);
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
    QImage image;
    readImage(type, name, [&image](QImageReader& reader) { return reader.read(&image); });
    return image;
}

QSize resourceImageSize(const QString& type, const QString& name) {
    QSize size;
    readImage(type, name, [&size](QImageReader& reader) {
        size = reader.size();
        return size.isValid();
    });
    return size;
}

}  // namespace reversi
