// A full repaint of the worst chart there can be: 32 cams of 512 phases each (every other
// position ON), drawn by the painter the screen, the printouts and the screenshots share,
// at the window's design size and at twice that, and as the chart widget repaints itself.
#include "core/model/program.h"
#include "paint/chart_painter.h"
#include "widgets/editor/chart_widget.h"

#include <benchmark/benchmark.h>
#include <QApplication>
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

// The same chart as the window paints it: the chart widget (its phase list and boxes
// included) at a logical width (the height in proportion), rendered whole on an image of
// the device's pixels: twice as many each way at a device pixel ratio of 2, as on a
// high-resolution screen or with QT_SCALE_FACTOR=2.
// With range(2) 0, the chart alone, without the phase list, its scroll bar and the labels
// (Qt's own widgets); with range(2) 2, only the window filled once, the least any repaint of
// every pixel costs.
void BM_RepaintChartWidget(benchmark::State& state) {
    cam::Program p = WorstChart();
    cam::ChartWidget chart(p);
    const int ratio = int(state.range(1));
    chart.resize(int(state.range(0)), int(state.range(0) * 768 / 1024));
    chart.RedrawChart();
    QImage image(chart.size() * ratio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    const auto part = state.range(2);
    const QWidget::RenderFlags flags =
        part == 1 ? QWidget::DrawWindowBackground | QWidget::DrawChildren : QWidget::DrawWindowBackground;
    for (auto _ : state) {
        if (part == 2)
            image.fill(Qt::gray);
        else
            chart.render(&image, {}, {}, flags);
    }
}
BENCHMARK(BM_RepaintChartWidget)
    ->ArgNames({"width", "ratio", "part"})
    ->ArgsProduct({{1024, 2048}, {1}, {1, 0, 2}})
    ->Args({1024, 2, 1})
    ->Args({1024, 2, 0})
    ->Args({1024, 2, 2})
    ->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
