// A full repaint of the worst chart there can be: 32 cams of 512 phases each (every other
// position ON), drawn by the painter the screen, the printouts and the screenshots share,
// at the window's design size and at twice that.
#include "core/model/program.h"
#include "paint/chart_painter.h"

#include <benchmark/benchmark.h>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

namespace {

cam::Program WorstChart() {
    cam::Program p;
    cam::ResizeTables(p);
    for (int c = 0; c < p.NCams; ++c)
        for (int on = 0; on < cam::kPositions; on += 2) cam::SetPhase(p, 1, c, on, on + 1);
    return p;
}

void BM_PaintWorstChart(benchmark::State& state) {
    const double scale = static_cast<double>(state.range(0)) / 100.0;
    const cam::Program p = WorstChart();
    QImage image(int(cam::chart::kWidth * scale), int(cam::chart::kHeight * scale), QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter g(&image);
        cam::ChartPainter(g, scale, scale).DrawChart(p);
    }
}
BENCHMARK(BM_PaintWorstChart)->Arg(100)->Arg(200)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
