#include "handoff.h"

#include <QFile>

#include "files.h"

namespace reversi {

std::optional<int> handoffCountdown(std::string_view line) {
    constexpr std::size_t longestDigits = 4;
    if (line.empty() || line.size() > longestDigits) return std::nullopt;
    int value = 0;
    for (const char c : line) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
    }
    if (value < shortestCountdown || value > longestCountdown || value % countdownStep != 0)
        return std::nullopt;
    return value;
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
