#include "handoff.h"

#include <QFile>
#include <cstdint>

#include "files.h"

namespace reversi {

std::optional<int> leadingInteger(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    std::int64_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > std::int64_t{INT32_MAX} + 1) return std::nullopt;
    }
    if (negative) value = -value;
    if (value > INT32_MAX || value < INT32_MIN) return std::nullopt;
    return static_cast<int>(value);
}

QString readHandoffLine() {
    QFile file;
    openRegularFile(QString::fromLatin1(handoffFileName), file);
    QByteArray line = file.readLine(4096);  // the countdown needs a few characters
    while (line.endsWith('\n') || line.endsWith('\r'))
        line.chop(1);
    return QString::fromLatin1(line);
}

void deleteHandoffFile() {
    removeFile(QString::fromLatin1(handoffFileName));
}

}  // namespace reversi
