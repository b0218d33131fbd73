#include "handoff.h"

#include <QFile>

#include "decimal.h"
#include "file_error.h"
#include "files.h"

namespace reversi {

std::optional<int> handoffCountdown(std::string_view line) {
    // As the menu writes it: no leading zeros beyond the longest countdown's four digits.
    constexpr std::size_t longestDigits = 4;
    if (line.size() > longestDigits) return std::nullopt;
    const auto value = parseDecimal(line, longestCountdown);
    if (!value || *value < shortestCountdown || *value % countdownStep != 0) return std::nullopt;
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

namespace {

// Whether the hand-off file is somebody else's: it holds more or other than a line the menu
// writes.
bool isOthersHandoffFile() {
    constexpr qint64 longestLine = 6;  // four digits and CR LF
    return isOthersFile(
        QString::fromLatin1(handoffFileName), longestLine, [](const QByteArray& content) {
            return content.endsWith("\r\n") && handoffCountdown(content.chopped(2).toStdString());
        });
}

}  // namespace

void writeHandoffFile(int countdown) {
    const QString name = QString::fromLatin1(handoffFileName);
    // The player asked for a game: the box says why none opens.
    if (isOthersHandoffFile()) {
        throw FileError(QStringLiteral("Cannot write \"%1\": the file there is not the game's, "
                                       "and it is left as it is")
                            .arg(name)
                            .toStdString());
    }
    writeFile(name, QByteArray::number(countdown) + "\r\n");
}

void deleteHandoffFile() {
    if (isOthersHandoffFile()) {
        reportLeftAlone(QString::fromLatin1(handoffFileName));
        return;
    }
    removeFile(QString::fromLatin1(handoffFileName));
}

}  // namespace reversi
