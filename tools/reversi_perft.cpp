// Counts the leaf positions reached from the starting position, one line per depth.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "perft.h"

int main(int argc, char** argv) {
    char* end = nullptr;
    const long maxDepth = argc == 2 ? std::strtol(argv[1], &end, 10) : 0;
    if (argc != 2 || *end != '\0' || maxDepth < 1 || maxDepth > 10) {
        std::fprintf(stderr, "usage: reversi-perft DEPTH   (DEPTH from 1 to 10)\n");
        return 2;
    }
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
