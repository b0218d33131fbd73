#pragma once

#include <QColor>
#include <QPalette>
#include <QString>
#include <array>

namespace reversi {

// A colour that is either fixed or one of the system palette's roles (button face, window
// text), resolved when it is used.
struct Colour {
    QRgb rgb = 0;
    QPalette::ColorRole systemRole = QPalette::NoRole;

    QColor resolve() const;
};

namespace colours {
inline constexpr Colour red{qRgb(255, 0, 0)};
inline constexpr Colour yellow{qRgb(255, 255, 0)};
inline constexpr Colour white{qRgb(255, 255, 255)};
inline constexpr Colour black{qRgb(0, 0, 0)};
inline constexpr Colour lime{qRgb(0, 255, 0)};
inline constexpr Colour blue{qRgb(0, 0, 255)};
inline constexpr Colour fuchsia{qRgb(255, 0, 255)};
inline constexpr Colour cyan{qRgb(0, 255, 255)};
inline constexpr Colour buttonFace{0, QPalette::Button};
inline constexpr Colour windowText{0, QPalette::WindowText};
}  // namespace colours

enum class MatchKind { twoPlayer, versusComputer };

// The colour themes, numbered from 1; each has a window of both kinds.
inline constexpr int themeCount = 3;

// What the verdict label does when a two-player game starts.
enum class VerdictLabelAtStart { hide, keep, show };

// A colour theme: the board's colours and the names its two sides go by.
struct Theme {
    Colour firstColour;
    Colour secondColour;
    Colour backgroundColour;
    Colour gridColour;
    Colour markerColour;
    // The outline of the keyboard's cell cursor: unlike every other colour on the board (the
    // red first side of the theme-2 computer window included) and clear on the background.
    Colour cursorColour;
    const char* firstName;
    const char* secondName;
};

// How one of the six match windows looks and behaves beyond its colours.
struct WindowProfile {
    int themeNumber;  // 1 to 3
    MatchKind kind;
    const char* objectName;  // the window's name: twoPlayer1 ... 3, versusComputer1 ... 3

    std::array<Colour, 4> labelFontColours;  // the two count labels, then the two clock labels
    int verdictLabelTop;                     // the verdict label's top edge
    Colour verdictLabelColour;               // the verdict label's background at creation
    VerdictLabelAtStart verdictLabelAtStart;
    bool verdictLabelBlackAtStart;

    // What the window's kind gives it: the two-player windows can write the board dump; the
    // versus-computer windows show the first clock in white at each start and a result in the
    // first side's colour.
    bool writesBoardDump;
    bool firstClockWhiteAtStart;
    bool resultInFirstColour;

    // Versus-computer windows only.
    bool clockEnabledAtCreation;
    int computerDelayMs;
    bool betaInCodeFont;  // the "BETA" label in the bold code font, else in the window font
};

// One match window's theme and profile.
struct MatchStyle {
    Theme theme;
    WindowProfile profile;
};

// The style of the window of a kind and theme (1 to 3).
const MatchStyle& styleFor(MatchKind kind, int themeNumber);

}  // namespace reversi
