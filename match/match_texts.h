#pragma once

#include <string_view>

#include "game.h"
#include "theme.h"

namespace reversi {

// The words a match window shows for what the rules decide.

constexpr std::string_view verdictText(Verdict verdict) {
    return verdict == Verdict::correctStep ? "Correct step" : "Incorrect step";
}

// A result in the window's three labels: the loser's name or "No one", then "lose!", then the
// draw text or nothing.
struct ResultText {
    std::string_view name;
    std::string_view lose;
    std::string_view drawText;
};

constexpr ResultText resultText(Outcome outcome, const Theme& theme) {
    switch (outcome) {
        case Outcome::firstLoses:
            return {theme.firstName, "lose!", ""};
        case Outcome::secondLoses:
            return {theme.secondName, "lose!", ""};
        case Outcome::draw:
            break;
    }
    return {"No one", "lose!", "Draw!"};
}

}  // namespace reversi
