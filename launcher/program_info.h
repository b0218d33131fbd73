#pragma once

// What the program says about itself.
namespace reversi::program {
inline constexpr char name[] = "Reversi";
inline constexpr char version[] = "5.0.25.736";
inline constexpr char productVersion[] = "5 Alpha";
inline constexpr char description[] = "THE REVERSI GAME";
}  // namespace reversi::program
