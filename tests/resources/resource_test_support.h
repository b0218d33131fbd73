#pragma once

#include <QByteArray>
#include <QColor>
#include <QFile>
#include <QString>

#include <ostream>

namespace reversi::resources {

// The resource system path of a resource: one prefix per type.
inline QString resourcePath(const char* type, const char* name) {
    return QStringLiteral(":/%1/%2").arg(QLatin1String(type), QLatin1String(name));
}

// The bytes of a resource; empty when it is missing.
inline QByteArray resourceBytes(const char* type, const char* name) {
    QFile file(resourcePath(type, name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace reversi::resources

// Colours in test failure messages as #rrggbb.
inline void PrintTo(const QColor& colour, std::ostream* out) {
    *out << colour.name().toStdString();
}
