#pragma once

#include <QByteArrayView>
#include <QString>
#include <cstdint>
#include <optional>

#include "program_info.h"

class QIODevice;

namespace reversi {

// The program's own version number; a published number above it means an update.
inline constexpr std::int32_t thisProgramsVersion = program::majorVersion;

// Reads one whole number: leading blanks, tabs and line ends are skipped, then the characters up
// to the next blank, tab or line end are read as a decimal number with an optional sign. A text
// that is empty or only blanks yields 0. nullopt when the word is not a whole number, is longer
// than 32 characters, or lies outside the 32-bit range.
std::optional<std::int32_t> parseVersionNumber(QByteArrayView text);
std::optional<std::int32_t> readVersionNumber(QIODevice& input);

// Reads the number from the file `fileName`; throws FileError when it cannot be opened or read.
std::optional<std::int32_t> readVersionFile(const QString& fileName);

}  // namespace reversi
