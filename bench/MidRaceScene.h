#pragma once

// The busiest moment of a race for the painter, shared by the track benchmarks.

#include "race/presentation/TrackScene.h"

#include <array>

namespace sw::bench {

// A field strung out over both straights with every label showing: the busiest frame a race draws.
inline TrackScene midRace(int trackWidth) {
    TrackScene scene(trackWidth);
    std::array<GallopFrame, 8> frames{};
    scene.beginRace(frames, trackWidth);
    scene.advanceGate(TrackScene::gateLength());
    scene.raceStarted();
    for (int e = 0; e < 8; ++e) {
        // Even entries on the near straight, odd ones past the first turn on the far one.
        const int leg = e % 2;
        const int run = leg == 0 ? 900 + 1200 * e : 13000 + 1200 * e;
        scene.entryMoved(e, run * legDirection(leg), leg);
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

} // namespace sw::bench
