// Micro-benchmarks of the rules engine.
#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include "game.h"
#include "rules.h"

namespace {

using namespace reversi;

// Cells the side to move may play.
std::vector<CellPos> legalMoves(const Game& game) {
    return reversi::legalMoves(game.board(), game.sideToMove(), game.sideWaiting());
}

// Clicks the cell, as the window does.
void play(Game& game, CellPos cell) {
    game.click(cell);
}

void newGame(Game& game) {
    game.newGame(300);
}

// Plays up to `plies` random moves from the start; returns the number played.
int playRandom(Game& game, std::mt19937& random, int plies) {
    newGame(game);
    int played = 0;
    while (played < plies && !game.markerShown() && game.phase() == Game::Phase::running) {
        const auto moves = legalMoves(game);
        if (moves.empty()) break;
        play(game, moves[std::uniform_int_distribution<std::size_t>(0, moves.size() - 1)(random)]);
        ++played;
    }
    return played;
}

void canMoveAfter(benchmark::State& state, int plies) {
    SilentView view;
    Game game(view);
    std::mt19937 random(7);
    playRandom(game, random, plies);
    for (auto _ : state) {
        benchmark::DoNotOptimize(game.sideToMoveCanMove());
    }
}
BENCHMARK_CAPTURE(canMoveAfter, opening, 0);
BENCHMARK_CAPTURE(canMoveAfter, middle_game, 24);
BENCHMARK_CAPTURE(canMoveAfter, end_game, 52);

// One accepted click: test, placement, flips, recount and hand-over.
void acceptedMove(benchmark::State& state) {
    SilentView view;
    Game game(view);
    newGame(game);
    const Game start = game;
    for (auto _ : state) {
        game.setPosition(start.board(), start.sideToMove());
        play(game, {4, 2});
        benchmark::DoNotOptimize(game.firstCount());
    }
}
BENCHMARK(acceptedMove);

void randomGameToEnd(benchmark::State& state) {
    SilentView view;
    Game game(view);
    std::mt19937 random(11);
    for (auto _ : state)
        benchmark::DoNotOptimize(playRandom(game, random, 64));
}
BENCHMARK(randomGameToEnd);

}  // namespace

BENCHMARK_MAIN();
