// Prints the computer's move for positions read from standard input, one per line:
//
//   BOARD LEVEL [SEED]
//
// BOARD is 64 characters, rows from the top, each row left to right ('.' empty, 'X' the first
// side, 'O' the second side); LEVEL is 1 to 5; SEED (0 to 4294967295) drives the random draws
// and is required at levels 1 to 3. For each good line the cell the second side would play is
// printed as "x y" (column, row), or "none" when it has no capturing move. A bad line gets a
// message on standard error and no output line; the exit status is then 1.
#include <cstdint>
#include <cstdio>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "computer.h"
#include "decimal.h"

namespace {

std::vector<std::string_view> splitOnBlanks(std::string_view line) {
    std::vector<std::string_view> fields;
    std::size_t i = 0;
    while (i < line.size()) {
        if (line[i] == ' ' || line[i] == '\t') {
            ++i;
            continue;
        }
        const std::size_t start = i;
        while (i < line.size() && line[i] != ' ' && line[i] != '\t')
            ++i;
        fields.push_back(line.substr(start, i - start));
    }
    return fields;
}

// The answer for one line, or an explanation of what is wrong with it.
struct Answer {
    std::string text;
    bool ok = true;
};

Answer answer(std::string_view line) {
    const auto fields = splitOnBlanks(line);
    if (fields.size() < 2 || fields.size() > 3) {
        return {"expected BOARD LEVEL [SEED], got " + std::to_string(fields.size()) + " fields",
                false};
    }
    const auto board = reversi::boardFromText(fields[0]);
    if (!board) {
        return {"the board must be 64 characters of '.', 'X' and 'O'", false};
    }
    const auto level = reversi::parseDecimal<int>(fields[1], reversi::Computer::highestLevel);
    if (!level || *level < reversi::Computer::lowestLevel) {
        return {"the level must be a number from 1 to 5", false};
    }
    std::uint32_t seed = 0;
    if (fields.size() == 3) {
        const auto parsed = reversi::parseDecimal<std::uint32_t>(fields[2], UINT32_MAX);
        if (!parsed) return {"the seed must be a number from 0 to 4294967295", false};
        seed = *parsed;
    } else if (*level <= 3) {
        return {"levels 1 to 3 need a seed", false};
    }

    reversi::SilentView view;
    reversi::Game game(view);
    game.setPosition(*board, reversi::CellCode::second);
    reversi::Computer computer(game, std::make_unique<reversi::MersenneRandom>(seed));
    computer.setLevel(*level);
    const auto cell = computer.chooseMove();
    if (!cell) return {"none"};
    return {std::to_string(cell->x) + " " + std::to_string(cell->y)};
}

}  // namespace

int main() {
    std::string line;
    long lineNumber = 0;
    bool anyBad = false;
    while (std::getline(std::cin, line)) {
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const Answer result = answer(line);
        if (result.ok) {
            std::cout << result.text << '\n';
        } else {
            anyBad = true;
            std::cout.flush();
            std::cerr << "reversi-probe: line " << lineNumber << ": " << result.text << '\n';
        }
    }
    return anyBad ? 1 : 0;
}
