#pragma once

#include <QString>
#include <optional>
#include <string_view>

namespace reversi {

// The settings hand-off file through which the menu gives the match windows the countdown.
inline constexpr const char* handoffFileName = "0.db";

// The whole number at the start of a line: leading blanks and a sign are accepted, reading
// stops at the first other character, and no digits give 0. A number outside the 32-bit range
// gives nothing.
std::optional<int> leadingInteger(std::string_view text);

// The first line of the hand-off file, without its line end; throws FileError.
QString readHandoffLine();

// Deletes the hand-off file; a missing file or a failure is ignored.
void deleteHandoffFile();

}  // namespace reversi
