#include "theme.h"

#include <QApplication>
#include <stdexcept>

namespace reversi {

QColor Colour::resolve() const {
    if (systemRole == QPalette::NoRole) return QColor(rgb);
    return QApplication::palette().color(systemRole);
}

namespace {

using namespace colours;

// The colour themes, shared by the two window kinds of each theme.
struct Scheme {
    Colour first, second, background, grid, marker, cursor;
    const char* firstName;
    const char* secondName;
    int verdictLabelTop;
    int computerDelayMs;
};

// clang-format off
constexpr Scheme schemes[] = {
    // colours: first, second, background, grid, marker, cursor; names; verdict top; computer pause
    {red,   yellow, buttonFace, black, black, blue,   "Red",   "Yellow", 280,      2500},
    {white, black,  blue,       red,   red,   cyan,   "White", "Black",  272,      5000},
    {lime,  yellow, fuchsia,    black, black, white,  "Lime",  "Yellow", 272,      5000},
};
// clang-format on
static_assert(std::size(schemes) == themeCount);

// What each window adds to its theme.
struct WindowRow {
    int number;
    MatchKind kind;
    const char* objectName;
    std::array<Colour, 4> labelFontColours;
    Colour verdictLabelColour;
    VerdictLabelAtStart verdictLabelAtStart;
    bool verdictLabelBlackAtStart;
    bool clockEnabledAtCreation;
    bool betaInCodeFont;
};

using enum MatchKind;
using enum VerdictLabelAtStart;
// clang-format off
constexpr WindowRow windowRows[] = {
    // theme, kind, name, font colours of the count and clock labels, verdict label colour,
    // verdict label at a start, verdict label black at a start, clock running from creation,
    // "BETA" in the code font
    {1, twoPlayer,      "twoPlayer1", {white, black, white, black}, buttonFace, hide, false, true, false},
    {2, twoPlayer,      "twoPlayer2", {black, white, black, white}, buttonFace, keep, true,  true, false},
    {3, twoPlayer,      "twoPlayer3", {windowText, windowText, windowText, windowText}, fuchsia, show, false, true, false},
    {1, versusComputer, "versusComputer1", {white, windowText, white, windowText}, buttonFace, show, false, false, true},
    {2, versusComputer, "versusComputer2", {windowText, white, windowText, white}, buttonFace, show, false, true,  false},
    {3, versusComputer, "versusComputer3", {windowText, windowText, windowText, windowText}, buttonFace, show, false, true, false},
};
// clang-format on

constexpr MatchStyle makeStyle(const WindowRow& row) {
    const Scheme& scheme = schemes[row.number - 1];
    // The theme-2 computer window plays the first side in red under the name "White".
    const bool redFirstSide = row.kind == versusComputer && row.number == 2;
    return {{redFirstSide ? red : scheme.first, scheme.second, scheme.background, scheme.grid,
             scheme.marker, scheme.cursor, scheme.firstName, scheme.secondName},
            {row.number, row.kind, row.objectName, row.labelFontColours, scheme.verdictLabelTop,
             row.verdictLabelColour, row.verdictLabelAtStart, row.verdictLabelBlackAtStart,
             row.kind == twoPlayer, row.kind == versusComputer, row.kind == versusComputer,
             row.clockEnabledAtCreation, scheme.computerDelayMs, row.betaInCodeFont}};
}

static_assert(std::size(windowRows) == 2 * themeCount);

constexpr std::array<MatchStyle, std::size(windowRows)> styles = [] {
    std::array<MatchStyle, std::size(windowRows)> all{};
    for (std::size_t i = 0; i < all.size(); ++i)
        all[i] = makeStyle(windowRows[i]);
    return all;
}();

}  // namespace

const MatchStyle& styleFor(MatchKind kind, int themeNumber) {
    for (const MatchStyle& style : styles) {
        if (style.profile.kind == kind && style.profile.themeNumber == themeNumber) return style;
    }
    throw std::out_of_range("no such match window");
}

}  // namespace reversi
