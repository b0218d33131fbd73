// computer_window_long_play [GAMES [SEED]]: many games in a row against the computer, in the
// versus-computer windows of the program (offscreen), driven move by move: the person's moves as
// clicks on random legal cells, the computer's when its pause would be over. The windows play at
// the five levels in turn, each game after the first in a window started with "Clear". Prints
// the memory (VmRSS) before and after and the program time of each move, timed around the
// click and around the computer's turn (discs drawn with no pause between their steps), and of
// the computer's choice alone.
//
// Exit status: 0 when every game ended by the rules; 1 when one did not (a move refused, the
// computer passing with a move, a message shown, a game that never ends); 2 for bad arguments.
// The times are figures to read, never judged here.
#include <malloc.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "computer_match_window.h"
#include "error_display.h"
#include "rules.h"

namespace reversi {
namespace {

using Clock = std::chrono::steady_clock;

long residentKilobytes() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0) return std::strtol(line.c_str() + 6, nullptr, 10);
    }
    return -1;
}

// The bytes the C library's heap has handed out and not had back: unlike the resident size it
// does not count freed memory the heap keeps. 0 where the heap is not the C library's (under
// AddressSanitizer).
long heapInUseKilobytes() {
    return static_cast<long>(mallinfo2().uordblks / 1024);
}

// Move times, in room taken and written before the games, so that the figures of the program's
// memory do not grow with them.
struct Times {
    std::vector<double> microseconds;
    size_t count = 0;

    void makeRoom(size_t moves) { microseconds.assign(moves, 0.0); }
    void add(double value) {
        if (count < microseconds.size()) {
            microseconds[count] = value;
        } else {
            microseconds.push_back(value);
        }
        ++count;
    }
    double last() const { return microseconds[count - 1]; }
    template <typename Step>
    void time(Step&& step) {
        const auto begin = Clock::now();
        step();
        add(std::chrono::duration<double, std::micro>(Clock::now() - begin).count());
    }
    void print(const char* what) {
        if (count == 0) return;
        microseconds.resize(count);
        std::sort(microseconds.begin(), microseconds.end());
        const auto at = [this](double share) {
            return microseconds[static_cast<size_t>(share * static_cast<double>(count - 1))] / 1000;
        };
        std::printf("%-16s %6zu moves, ms: median %.3f, 99th percentile %.3f, max %.3f\n", what,
                    count, at(0.5), at(0.99), microseconds.back() / 1000);
    }
};

struct Tally {
    Times person, computer, both, choice;
    int personWins = 0, computerWins = 0, draws = 0;
};

bool failed(const char* what, int game) {
    std::fprintf(stderr, "FAIL: game %d: %s\n", game, what);
    return false;
}

// One game from "Play!" or "Clear" to its end by the rules.
bool playGame(ComputerMatchWindow& window, std::mt19937& random, Tally* tally, int number) {
    window.findChild<QPushButton*>(QStringLiteral("playButton"))->click();
    if (!window.game().inProgress()) return failed("the game did not start", number);
    const Game& game = window.game();
    auto& computerTurnTimer =
        *window.findChild<PeriodicTimer*>(QStringLiteral("computerTurnTimer"));
    for (int turn = 0; window.game().inProgress(); ++turn) {
        if (turn >= 200) return failed("the game does not end", number);
        const Board before = game.board();
        if (computerTurnTimer.isActive()) {
            // The computer's pause over at once.
            const auto computerMove = [&computerTurnTimer] {
                QTimerEvent due(computerTurnTimer.timerId());
                QCoreApplication::sendEvent(&computerTurnTimer, &due);
            };
            if (tally) {
                // The choice alone, on a copy of the game, without playing or drawing.
                Game copy = game;
                Computer chooser(copy, std::make_unique<MersenneRandom>(number));
                chooser.setLevel(window.computerLevel());
                tally->choice.time([&chooser] { chooser.chooseMove(); });
                tally->computer.time(computerMove);
                tally->both.add(tally->computer.last());
            } else {
                computerMove();
            }
            if (game.board() == before) return failed("the computer passed with a move", number);
            continue;
        }
        const auto moves = legalMoves(game.board(), game.sideToMove(), game.sideWaiting());
        if (game.sideToMove() != CellCode::first || moves.empty())
            return failed("the person is to move without a move", number);
        const CellPos cell = moves[random() % moves.size()];
        const auto personMove = [&window, cell] {
            QTest::mouseClick(&window, Qt::LeftButton, {}, geometry::cellCentre(cell));
        };
        if (tally) {
            tally->person.time(personMove);
            tally->both.add(tally->person.last());
        } else {
            personMove();
        }
        if (game.board() == before) return failed("the person's move was refused", number);
    }
    if (game.phase() == Game::Phase::running)
        return failed("the clocks still run after the end", number);
    if (tally) {
        const int person = game.board().count(CellCode::first);
        const int computer = game.board().count(CellCode::second);
        (person > computer   ? tally->personWins
         : person < computer ? tally->computerWins
                             : tally->draws)++;
    }
    // What the event loop would deliver between games, short of the timers.
    QCoreApplication::sendPostedEvents();
    return true;
}

int run(int games, unsigned seed) {
    QTemporaryDir folder;
    if (!folder.isValid() || !QDir::setCurrent(folder.path())) return 1;
    QStringList messages;
    setErrorPresenter([&messages](const QString& text) { messages << text; });

    std::mt19937 random(seed);
    std::vector<std::unique_ptr<ComputerMatchWindow>> windows;
    for (int level = Computer::lowestLevel; level <= Computer::highestLevel; ++level) {
        const int theme = (level - 1) % 3 + 1;
        auto window = std::make_unique<ComputerMatchWindow>(
            styleFor(MatchKind::versusComputer, theme),
            std::make_unique<MersenneRandom>(seed + static_cast<unsigned>(level)));
        window->setGrowStep(std::chrono::nanoseconds(0));
        window->show();
        window->findChild<QSlider*>(QStringLiteral("levelSlider"))->setValue(level);
        // The countdown the menu hands to a window's first game.
        QFile handoff(QStringLiteral("0.db"));
        if (!handoff.open(QIODevice::WriteOnly) || handoff.write("300\r\n") != 5) return 1;
        handoff.close();
        // A first game in each window, not counted: it makes what the window keeps for good.
        if (!playGame(*window, random, nullptr, 0)) return 1;
        windows.push_back(std::move(window));
    }

    Tally tally;
    // A game has at most 60 moves, fewer than 40 of them by one side.
    for (Times* times : {&tally.person, &tally.computer, &tally.choice})
        times->makeRoom(static_cast<size_t>(games) * 40);
    tally.both.makeRoom(static_cast<size_t>(games) * 60);
    const long before = residentKilobytes();
    const long heapBefore = heapInUseKilobytes();
    std::string memory = "memory (VmRSS/heap in use, MB) after each tenth of the games:";
    for (int game = 1; game <= games; ++game) {
        if (!playGame(*windows[static_cast<size_t>(game) % windows.size()], random, &tally, game))
            return 1;
        if (!messages.isEmpty()) {
            std::fprintf(stderr, "FAIL: game %d showed: %s\n", game,
                         qPrintable(messages.join(QLatin1Char('\n'))));
            return 1;
        }
        if (game % std::max(1, games / 10) == 0) {
            char sample[32];
            std::snprintf(sample, sizeof sample, " %d:%.1f/%.1f", game,
                          residentKilobytes() / 1024.0, heapInUseKilobytes() / 1024.0);
            memory += sample;
        }
    }
    const long after = residentKilobytes();
    const long heapAfter = heapInUseKilobytes();

    std::printf("%d games (seed %u): the person won %d, the computer %d, %d drawn\n", games, seed,
                tally.personWins, tally.computerWins, tally.draws);
    std::printf("memory (VmRSS): %.1f MB before, %.1f MB after, %+ld kB\n", before / 1024.0,
                after / 1024.0, after - before);
    std::printf("heap in use: %.1f MB before, %.1f MB after, %+ld kB\n", heapBefore / 1024.0,
                heapAfter / 1024.0, heapAfter - heapBefore);
    std::printf("%s\n", memory.c_str());
    tally.person.print("person move");
    tally.computer.print("computer move");
    tally.both.print("every move");
    tally.choice.print("computer choice");
    return 0;
}

bool parse(const char* text, unsigned long max, unsigned long& value) {
    char* end = nullptr;
    value = std::strtoul(text, &end, 10);
    return end != text && *end == '\0' && text[0] != '-' && value >= 1 && value <= max;
}

}  // namespace
}  // namespace reversi

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    unsigned long games = 500;
    unsigned long seed = 1;
    if (argc > 3 || (argc > 1 && !reversi::parse(argv[1], 1000000, games)) ||
        (argc > 2 && !reversi::parse(argv[2], 0xffffffffUL, seed))) {
        std::fprintf(stderr, "usage: computer_window_long_play [GAMES [SEED]]\n");
        return 2;
    }
    return reversi::run(static_cast<int>(games), static_cast<unsigned>(seed));
}
