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

constexpr std::array<Theme, 6> themes{{
    {1,
     MatchKind::twoPlayer,
     "TForm2",
     red,
     yellow,
     buttonFace,
     black,
     black,
     "Red",
     "Yellow",
     {white, black, white, black},
     280,
     buttonFace,
     VerdictLabelAtStart::hide,
     false,
     true,
     2500,
     false},
    {2,
     MatchKind::twoPlayer,
     "TForm3",
     white,
     black,
     blue,
     red,
     red,
     "White",
     "Black",
     {black, white, black, white},
     272,
     buttonFace,
     VerdictLabelAtStart::keep,
     true,
     true,
     5000,
     false},
    {3,
     MatchKind::twoPlayer,
     "TForm4",
     lime,
     yellow,
     fuchsia,
     black,
     black,
     "Lime",
     "Yellow",
     {windowText, windowText, windowText, windowText},
     272,
     fuchsia,
     VerdictLabelAtStart::show,
     false,
     true,
     5000,
     false},
    {1,
     MatchKind::versusComputer,
     "TForm7",
     red,
     yellow,
     buttonFace,
     black,
     black,
     "Red",
     "Yellow",
     {white, windowText, white, windowText},
     280,
     buttonFace,
     VerdictLabelAtStart::show,
     false,
     false,
     2500,
     true},
    // The theme-2 computer window plays the first side in red under the name "White".
    {2,
     MatchKind::versusComputer,
     "TForm8",
     red,
     black,
     blue,
     red,
     red,
     "White",
     "Black",
     {windowText, white, windowText, white},
     272,
     buttonFace,
     VerdictLabelAtStart::show,
     false,
     true,
     5000,
     false},
    {3,
     MatchKind::versusComputer,
     "TForm9",
     lime,
     yellow,
     fuchsia,
     black,
     black,
     "Lime",
     "Yellow",
     {windowText, windowText, windowText, windowText},
     272,
     buttonFace,
     VerdictLabelAtStart::show,
     false,
     true,
     5000,
     false},
}};

}  // namespace

const Theme& themeFor(MatchKind kind, int number) {
    for (const Theme& theme : themes) {
        if (theme.kind == kind && theme.number == number) return theme;
    }
    throw std::out_of_range("no such theme");
}

}  // namespace reversi
