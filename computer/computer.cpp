#include "computer.h"

#include <chrono>
#include <limits>

#include "rules.h"

namespace reversi {

namespace {

bool isCorner(int x, int y) {
    return (x == 0 || x == Board::size - 1) && (y == 0 || y == Board::size - 1);
}

// Columns 1 and 6 and rows 1 and 6: the ring just inside the edge.
bool inSecondRing(int x, int y) {
    return x == 1 || x == Board::size - 2 || y == 1 || y == Board::size - 2;
}

}  // namespace

MersenneRandom::MersenneRandom() {
    const auto ticks =
        static_cast<std::uint64_t>(std::chrono::system_clock::now().time_since_epoch().count());
    std::seed_seq seed{static_cast<std::uint32_t>(ticks), static_cast<std::uint32_t>(ticks >> 32)};
    engine_.seed(seed);
}

int MersenneRandom::below(int n) {
    if (n <= 1) return 0;
    const auto range = static_cast<std::uint32_t>(n);
    // Reject the top partial block of the 32-bit range so every remainder is equally likely.
    const std::uint32_t limit = std::numeric_limits<std::uint32_t>::max() -
                                std::numeric_limits<std::uint32_t>::max() % range;
    std::uint32_t value = 0;
    do {
        value = static_cast<std::uint32_t>(engine_());
    } while (value >= limit);
    return static_cast<int>(value % range);
}

bool hasCandidate(const CountTable& table) {
    int sum = 0;
    for (const auto& column : table) {
        for (int value : column)
            sum += value;
    }
    return sum != 0;
}

CountTable Rating::safeCounts() const {
    CountTable safe = captureCounts;
    for (const CellPos& c : Computer::cornerNeighbours)
        safe[c.x][c.y] = 0;
    return safe;
}

CountTable Rating::innerCounts() const {
    CountTable inner = captureCounts;
    for (int x = 0; x < Board::size; ++x) {
        for (int y = 0; y < Board::size; ++y) {
            if (inSecondRing(x, y)) inner[x][y] = 0;
        }
    }
    return inner;
}

Computer::Computer(Game& game) : Computer(game, std::make_unique<MersenneRandom>()) {}

Computer::Computer(Game& game, std::unique_ptr<RandomSource> random)
    : game_(game), random_(std::move(random)) {}

void Computer::setLevel(int position) {
    if (position >= lowestLevel && position <= highestLevel) level_ = position;
}

bool Computer::playTurn() {
    // Only the second side is the computer's; a turn arriving for the person plays nothing.
    if (game_.sideToMove() != CellCode::second || game_.sideWaiting() != CellCode::first) {
        return false;
    }
    return playOrHandOver(chooseMove());
}

std::optional<CellPos> Computer::chooseMove() {
    const Rating rating = rate();
    if (const auto corner = cornerChoice(rating)) return corner;
    return chooseByLevel(rating);
}

Rating Computer::rate() const {
    Rating rating;
    const Board& board = game_.board();
    for (int x = 0; x < Board::size; ++x) {
        for (int y = 0; y < Board::size; ++y) {
            if (board.at(x, y) != CellCode::empty) continue;
            int count = 0;
            for (const Direction& d : directions) {
                const int n = captureRun(board, x, y, d, game_.sideToMove(), game_.sideWaiting());
                if (n == 0) continue;
                count += n;
                if (isCorner(x, y)) rating.corner = CellPos{x, y};
            }
            rating.captureCounts[x][y] = count;
        }
    }
    return rating;
}

std::optional<CellPos> Computer::cornerChoice(const Rating& rating) const {
    if (rating.corner && level_ != 1) return rating.corner;
    return std::nullopt;
}

std::optional<CellPos> Computer::chooseByLevel(const Rating& rating) {
    // Without a capturing move no choice can succeed; no draw is spent on it.
    if (!hasCandidate(rating.captureCounts)) return std::nullopt;
    const CountTable safe = rating.safeCounts();
    const CountTable inner = rating.innerCounts();
    for (int attempt = 0; attempt < maxChoiceAttempts; ++attempt) {
        const auto cell = levelChoice(rating, safe, inner, true);
        if (cell && capturesAt(*cell)) return cell;
    }
    const auto cell = levelChoice(rating, safe, inner, false);
    if (cell && capturesAt(*cell)) return cell;
    return std::nullopt;
}

std::optional<CellPos> Computer::levelChoice(const Rating& rating, const CountTable& safe,
                                             const CountTable& inner, bool mayTakeLeast) {
    const CountTable& all = rating.captureCounts;
    // The smallest capture with probability 2 in 10 × level.
    const auto pick = [&](const CountTable& table, int drawRange) {
        if (mayTakeLeast && random_->below(drawRange) <= 1) return pickLeast(table, rating.corner);
        return pickMost(table);
    };
    switch (level_) {
        case 4:
        case 5:
            if (hasCandidate(inner)) return pickMost(inner);
            if (hasCandidate(safe)) return pickMost(safe);
            return pickMost(all);
        case 2:
        case 3:
            return pick(hasCandidate(safe) ? safe : all, 10 * level_);
        case 1:
            return pick(all, 10);
        default:  // no level set yet: a legal move still beats a pass
            return pickMost(all);
    }
}

std::optional<CellPos> Computer::pickMost(const CountTable& table) const {
    const Board& board = game_.board();
    int best = 0;
    for (int x = 0; x < Board::size; ++x) {
        for (int y = 0; y < Board::size; ++y) {
            if (table[x][y] > best && board.at(x, y) == CellCode::empty) best = table[x][y];
        }
    }
    std::optional<CellPos> chosen;
    for (int x = 0; x < Board::size; ++x) {
        for (int y = 0; y < Board::size; ++y) {
            if (table[x][y] == best && board.at(x, y) == CellCode::empty) chosen = CellPos{x, y};
        }
    }
    return chosen;
}

std::optional<CellPos> Computer::pickLeast(const CountTable& table,
                                           std::optional<CellPos> corner) const {
    const Board& board = game_.board();
    int least = 10;
    for (int x = 0; x < Board::size; ++x) {
        for (int y = 0; y < Board::size; ++y) {
            const int value = table[x][y];
            if (value > 0 && value < least && board.at(x, y) == CellCode::empty) least = value;
        }
    }
    std::optional<CellPos> chosen;
    for (int x = 0; x < Board::size; ++x) {
        for (int y = 0; y < Board::size; ++y) {
            if (table[x][y] == least && board.at(x, y) == CellCode::empty) chosen = CellPos{x, y};
        }
    }
    return chosen ? chosen : corner;
}

bool Computer::capturesAt(CellPos cell) const {
    return game_.board().at(cell) == CellCode::empty &&
           captureTotal(game_.board(), cell.x, cell.y, game_.sideToMove(), game_.sideWaiting()) > 0;
}

bool Computer::playOrHandOver(std::optional<CellPos> cell) {
    // Both sources of a cell, the corner rule and chooseByLevel, give only capturing cells.
    if (cell) {
        game_.playCellAnimated(*cell);
        return true;
    }
    // Without a capturing move the computer passes: the person moves, or the game ends when
    // the person cannot move either.
    game_.handOver();
    return false;
}

}  // namespace reversi
