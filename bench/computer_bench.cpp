// The computer's choice of move (rating and level's choice, without drawing or playing) in an
// opening, a middle-game and an end-game position, at levels 1, 3 and 5.
#include <benchmark/benchmark.h>

#include <array>
#include <memory>
#include <string_view>

#include "computer.h"

namespace {

// The second side to move in each.
constexpr std::array<std::string_view, 3> positions{
    // After the first side's opening at (2, 4): three moves.
    "...........................XO.....XXX...........................",
    // Move 22 of a random game: thirteen moves.
    ".OOO......O.X...XXXXX....XOOX...XXXXXO.....XXO......XO..........",
    // Move 52 of the same game: four moves.
    "OOOOXOO.OXOXOX..OXXXXXX.OXOOOXO.OOOXXOO.OOXOOXOOOXOOOOO.X.O.OOOX",
};

void chooseMove(benchmark::State& state) {
    reversi::SilentView view;
    reversi::Game game(view);
    game.setPosition(reversi::boardFromText(positions[state.range(0)]).value(),
                     reversi::CellCode::second);
    reversi::Computer computer(game, std::make_unique<reversi::MersenneRandom>(1));
    computer.setLevel(static_cast<int>(state.range(1)));
    for (auto _ : state)
        benchmark::DoNotOptimize(computer.chooseMove());
}

}  // namespace

BENCHMARK(chooseMove)->ArgNames({"position", "level"})->ArgsProduct({{0, 1, 2}, {1, 3, 5}});

BENCHMARK_MAIN();
