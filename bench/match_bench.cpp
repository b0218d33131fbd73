// Timings of the match window's drawing on a real display (run it under an X server, e.g.
// xvfb-run): one growing disc at its normal pace, with the processor time the whole process
// spends on it (the CPU column; its share of the wall time is the load while discs grow), and a
// click up to the placed disc on screen.
#include <benchmark/benchmark.h>

#include <QApplication>

#include "match_window.h"

namespace {

using namespace reversi;

MatchWindow* theWindow = nullptr;

MatchWindow& shownWindow() {
    return *theWindow;
}

void growingDisc(benchmark::State& state) {
    MatchWindow& window = shownWindow();
    for (auto _ : state)
        window.growDisc({2, 2}, CellCode::first);
}
BENCHMARK(growingDisc)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(20)
    ->MeasureProcessCPUTime()
    ->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    MatchWindow window(styleFor(MatchKind::twoPlayer, 1));
    window.show();
    QApplication::processEvents();
    theWindow = &window;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
