#include "race/presentation/TrackScene.h"
#include "race/presentation/qt/TrackPainter.h"

#include <QApplication>
#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

using namespace sw;

namespace {

// A field strung out over both straights with every label showing: the busiest frame a race draws.
TrackScene midRace(int trackWidth) {
    TrackScene scene(trackWidth);
    std::array<GallopFrame, 8> frames{};
    scene.beginRace(frames, trackWidth);
    scene.advanceGate(TrackScene::gateLength());
    scene.raceStarted();
    for (int e = 0; e < 8; ++e) {
        const int leg = e % 2;
        scene.entryMoved(e, 900 + 1200 * e, leg);
        scene.laneSet(e, leg, e);
    }
    scene.gallop();
    scene.fractionTime(0, "0:23.87");
    scene.fractionTime(1, "0:47.95");
    scene.fractionTime(2, "1:12.40");
    scene.callPassed(2, 3, 1);
    scene.finishLineShown();
    scene.photoFinishRaised();
    return scene;
}

constexpr int Width = 1920;
constexpr int Height = 1080;

void paintRaceFrame(benchmark::State& state) {
    const TrackScene scene = midRace(20000);
    QImage image(Width, Height, QImage::Format_ARGB32_Premultiplied);
    TrackPainter painter;
    {
        QPainter p(&image);
        painter.paint(p, scene.view(), image.size());
    }
    for (auto _ : state) {
        QPainter p(&image);
        painter.paint(p, scene.view(), image.size());
        p.end();
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(paintRaceFrame)->Unit(benchmark::kMicrosecond)->MeasureProcessCPUTime()->UseRealTime();

// The first frame after a resize, when the track and the horses are drawn afresh.
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
