// The hand-off file "0.db" through which the menu passes the countdown to a match window: any
// bytes a user, another program or a damaged disk left there. Only a first line the menu could
// have written (250 to 3600 in steps of 5, digits alone) may start a game with that countdown.

#include <QString>
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "file_error.h"
#include "fuzz_support.h"
#include "handoff.h"

namespace {

// The countdown a line names by the menu's own rules, or nothing.
std::optional<int> expectedCountdown(std::string_view line) {
    if (line.empty() || line.size() > 4) return std::nullopt;
    int value = 0;
    for (const char c : line) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
    }
    if (value < reversi::shortestCountdown || value > reversi::longestCountdown ||
        value % reversi::countdownStep != 0) {
        return std::nullopt;
    }
    return value;
}

void check(std::string_view line) {
    const auto countdown = reversi::handoffCountdown(line);
    if (countdown != expectedCountdown(line)) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes = reversi::fuzz::asText(data, size);
    check(bytes);

    // The way a match window reads it: the file's first line, then its text.
    const reversi::fuzz::InPrivateDirectory here;
    reversi::fuzz::putFile(reversi::handoffFileName, bytes);
    QString line;
    try {
        line = reversi::readHandoffLine();
    } catch (const reversi::FileError&) {
        std::abort();  // a regular file that was just written can always be read
    }
    const std::string text = line.toStdString();
    check(text);
    // The line is the file's first line without its line end; the reader looks at no more than
    // its first 4095 bytes, which hold any countdown the menu writes.
    std::string_view first = bytes.substr(0, std::min(bytes.find('\n'), std::size_t{4095}));
    while (!first.empty() && first.back() == '\r')
        first.remove_suffix(1);
    if (reversi::handoffCountdown(first) != reversi::handoffCountdown(text)) std::abort();
    return 0;
}
