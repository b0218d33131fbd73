// Counts the leaf positions reached from the starting position, one line per depth.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "decimal.h"
#include "perft.h"

int main(int argc, char** argv) {
    const auto parsed =
        argc == 2 ? reversi::parseDecimal(std::string_view(argv[1]), 10) : std::nullopt;
    if (!parsed || *parsed < 1) {
        std::fprintf(stderr, "usage: reversi-perft DEPTH   (DEPTH from 1 to 10)\n");
        return 2;
    }
    const int maxDepth = *parsed;
    reversi::Board start;
    start.setStartPosition();
    for (int depth = 1; depth <= maxDepth; ++depth) {
        const auto began = std::chrono::steady_clock::now();
        const auto leaves = reversi::perft(start, reversi::CellCode::first, depth);
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - began;
        std::printf("depth %d: %llu leaves (%.3f s)\n", depth,
                    static_cast<unsigned long long>(leaves), took.count());
    }
    return 0;
}
