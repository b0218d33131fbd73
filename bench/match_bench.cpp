// Timings of the match window's drawing on a real display (run it under an X server, e.g.
// xvfb-run): one growing disc at its normal pace, with the processor time the whole process
// spends on it (the CPU column; its share of the wall time is the load while discs grow), and a
// click up to the placed disc on screen.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QPaintEvent>
#include <QPainter>

#include "board_view.h"
#include "widgets.h"

namespace {

using namespace reversi;

// A window that shows a board, as a match window does.
class BoardWindow : public LayoutWindow {
  public:
    BoardView board{*this, styleFor(MatchKind::twoPlayer, 1).theme, {976, 700}};

  protected:
    void paintEvent(QPaintEvent* event) override {
        QPainter painter(this);
        board.paint(painter, event->rect());
    }
};

BoardWindow* theWindow = nullptr;

void growingDisc(benchmark::State& state) {
    for (auto _ : state)
        theWindow->board.growDisc({2, 2}, CellCode::first);
}
BENCHMARK(growingDisc)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(20)
    ->MeasureProcessCPUTime()
    ->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    BoardWindow window;
    window.resize(976, 700);
    window.show();
    QApplication::processEvents();
    theWindow = &window;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
