#include "MidRaceScene.h"
#include "ui/track/TrackPainter.h"

#include <QApplication>
#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

using namespace sw;
using sw::bench::midRace;

namespace {

constexpr int Width = 1920;
constexpr int Height = 1080;

// The first frame after a resize, when the track and the horses are drawn afresh; a frame of a
// race as it runs is in the budget table (scripts/bench).
void paintAfterResize(benchmark::State& state) {
    const TrackScene scene = midRace(20000);
    QImage image(Width, Height, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        TrackPainter painter;
        QPainter p(&image);
        painter.paint(p, scene.view(), image.size());
        p.end();
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(paintAfterResize)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
