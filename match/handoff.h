#pragma once

#include <QString>
#include <optional>
#include <string_view>

namespace reversi {

// The settings hand-off file through which the menu gives the match windows the countdown.
inline constexpr const char* handoffFileName = "0.db";

// The countdowns the menu offers, and so the only ones the hand-off file may hold.
inline constexpr int shortestCountdown = 250;
inline constexpr int longestCountdown = 3600;
inline constexpr int countdownStep = 5;

// The countdown a hand-off line holds, as the menu writes it: decimal digits alone, a value from
// 250 to 3600 and a multiple of 5. Anything else (an empty or blank line, other characters, a
// sign, another value) gives nothing.
std::optional<int> handoffCountdown(std::string_view line);

// The first line of the hand-off file, without its line end; throws FileError.
QString readHandoffLine();

// Writes the countdown into the hand-off file as one line, "300\r\n"; throws FileError, also
// when a file of that name holds anything else: that one is somebody else's, and stays.
void writeHandoffFile(int countdown);

// Deletes the hand-off file, unless it is somebody else's; a missing file or a failure is
// ignored.
void deleteHandoffFile();

}  // namespace reversi
