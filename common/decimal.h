#pragma once

#include <charconv>
#include <optional>
#include <string_view>

namespace reversi {

// A whole number written in decimal digits only (no sign, no space), at most `max`. The one
// reader of numbers from files, command lines and answers.
template <class Int>
std::optional<Int> parseDecimal(std::string_view text, Int max) {
    if (text.empty() || text.find_first_not_of("0123456789") != std::string_view::npos) {
        return std::nullopt;
    }
    Int value{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || end != text.data() + text.size() || value > max) {
        return std::nullopt;
    }
    return value;
}

}  // namespace reversi
