// The published version number: whatever the update server sends as "version.txt" (any bytes,
// UTF-16 text with its byte order mark included) is read as one whole number or as none. Each
// input goes through the file reader, the stream reader and the in-memory parser, which must
// agree with each other and with a plain reading of the rules.

#include <QBuffer>
#include <charconv>
#include <cstdint>
#include <cstdlib>
#include <optional>

#include "file_error.h"
#include "fuzz_support.h"
#include "update_version.h"

namespace {

bool isSeparator(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// The rules as the header states them: the first word after blanks, empty meaning 0, at most 32
// characters, decimal with an optional sign, inside the 32-bit range.
std::optional<std::int32_t> expectedNumber(std::string_view text) {
    std::size_t start = 0;
    while (start < text.size() && isSeparator(text[start]))
        ++start;
    std::size_t end = start;
    while (end < text.size() && !isSeparator(text[end]))
        ++end;
    std::string_view word = text.substr(start, end - start);
    if (word.empty()) return 0;
    if (word.size() > 32) return std::nullopt;
    const bool negative = word.front() == '-';
    if (word.front() == '+' || negative) word.remove_prefix(1);
    if (word.empty() || word.front() == '+' || word.front() == '-') return std::nullopt;
    std::int64_t magnitude = 0;
    const auto [stop, error] = std::from_chars(word.data(), word.data() + word.size(), magnitude);
    if (error != std::errc{} || stop != word.data() + word.size()) return std::nullopt;
    const std::int64_t value = negative ? -magnitude : magnitude;
    if (value < INT32_MIN || value > INT32_MAX) return std::nullopt;
    return static_cast<std::int32_t>(value);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text = reversi::fuzz::asText(data, size);
    const auto parsed = reversi::parseVersionNumber(QByteArrayView(text.data(), text.size()));

    QByteArray bytes(text.data(), static_cast<qsizetype>(text.size()));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    const auto streamed = reversi::readVersionNumber(buffer);

    const reversi::fuzz::InPrivateDirectory here;
    reversi::fuzz::putFile("version.txt", text);
    std::optional<std::int32_t> fromFile;
    try {
        fromFile = reversi::readVersionFile(QStringLiteral("version.txt"));
    } catch (const reversi::FileError&) {
        std::abort();  // a regular file that was just written can always be read
    }

    if (parsed != streamed || parsed != fromFile || parsed != expectedNumber(text)) std::abort();
    return 0;
}
