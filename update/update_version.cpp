#include "update_version.h"

#include <QBuffer>
#include <QFile>

#include "decimal.h"
#include "file_error.h"
#include "files.h"

namespace reversi {
namespace {

constexpr qsizetype longestWord = 32;

bool isSeparator(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

std::optional<std::int32_t> wordToNumber(const QByteArray& word) {
    if (word.isEmpty()) return 0;
    if (word.size() > longestWord) return std::nullopt;
    const qsizetype digitsStart = (word[0] == '+' || word[0] == '-') ? 1 : 0;
    // The magnitude of the lowest value, -2^31, is one more than the highest's.
    const auto magnitude =
        parseDecimal(std::string_view(word.constData() + digitsStart, word.size() - digitsStart),
                     std::int64_t{INT32_MAX} + 1);
    if (!magnitude) return std::nullopt;
    const std::int64_t value = word[0] == '-' ? -*magnitude : *magnitude;
    if (value > INT32_MAX) return std::nullopt;
    return static_cast<std::int32_t>(value);
}

}  // namespace

std::optional<std::int32_t> readVersionNumber(QIODevice& input) {
    QByteArray word;
    char c = 0;
    bool haveChar = input.getChar(&c);
    while (haveChar && isSeparator(c))
        haveChar = input.getChar(&c);
    // Reading stops one character past the limit: that is enough to know the word is too long.
    while (haveChar && !isSeparator(c) && word.size() <= longestWord) {
        word.append(c);
        haveChar = input.getChar(&c);
    }
    return wordToNumber(word);
}

std::optional<std::int32_t> parseVersionNumber(QByteArrayView text) {
    QByteArray bytes = text.toByteArray();
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    return readVersionNumber(buffer);
}

std::optional<std::int32_t> readVersionFile(const QString& fileName) {
    QFile file;
    openRegularFile(fileName, file);
    const auto number = readVersionNumber(file);
    if (file.error() != QFileDevice::NoError) {
        throw FileError(QStringLiteral("Cannot read \"%1\": %2")
                            .arg(fileName, file.errorString())
                            .toStdString());
    }
    return number;
}

}  // namespace reversi
