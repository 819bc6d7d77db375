// One frame of a race painted as the window paints it, on a full-HD image. Its floor is the one
// thing every frame must do whatever the race shows: copying a full-size picture onto the image.

#include "FrameBenchmark.h"

#include "../Floor.h"
#include "bench/MidRaceScene.h"
#include "ui/track/TrackPainter.h"

#include <QImage>
#include <QPainter>
#include <QPixmap>

#include <benchmark/benchmark.h>

namespace sw::bench {

namespace {

constexpr int Width = 1920;
constexpr int Height = 1080;

void PaintFrame(benchmark::State& state) {
    const TrackScene scene = midRace(20000);
    QImage image(Width, Height, QImage::Format_ARGB32_Premultiplied);
    TrackPainter painter;
    {
        // The first frame draws the track once; every later one reuses it, as in a race.
        QPainter p(&image);
        painter.paint(p, scene.view(), image.size());
    }
    QPixmap picture(Width, Height);
    picture.fill(QColor(40, 120, 50));
    double floorSeconds = 0;
    for (auto _ : state) {
        {
            QPainter p(&image);
            painter.paint(p, scene.view(), image.size());
        }
        benchmark::DoNotOptimize(image.constBits());
        state.PauseTiming();
        const double start = cpuSeconds();
        {
            QPainter p(&image);
            p.drawPixmap(0, 0, picture);
        }
        benchmark::DoNotOptimize(image.constBits());
        floorSeconds += cpuSeconds() - start;
        state.ResumeTiming();
    }
    state.counters["floor"] = benchmark::Counter(floorSeconds, benchmark::Counter::kAvgIterations);
}

} // namespace

void registerFrameBenchmark() {
    benchmark::RegisterBenchmark("PaintFrame", PaintFrame)
        ->Unit(benchmark::kMicrosecond)
        ->MeasureProcessCPUTime();
}

BudgetLine frameBudgetLine() {
    return {"PaintFrame", "One race frame painted at 1920 x 1080 (the field strung out, every label shown)",
            "picture copy", 4};
}

} // namespace sw::bench
