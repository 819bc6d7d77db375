#include "race/presentation/SoundCues.h"
#include "../race/RaceTestDay.h"
#include "core/Durations.h"
#include "race/RaceModel.h"

#include <gtest/gtest.h>

using namespace sw;

namespace {

TEST(SoundCues, AFixedRaceCallsToThePostOpensTheGateGallopsAtItsPaceAndRoarsInTheStretch) {
    test::RaceTestDay t(test::seeded(7));
    TrackScene scene;
    RaceModel race(t.day, &scene);
    SoundCues cues;
    race.start();
    scene.beginRace({}, DesignTrackWidth);
    cues.begin(scene);
    // The gate a wait at a time, then the race a pass at a time, as the window's timer steps them.
    int64_t ms = 0;
    while (!scene.gateDone()) {
        scene.advanceGate(1);
        cues.update(scene, ms += RacePassMs);
    }
    for (bool more = true; more;) {
        more = race.step();
        cues.update(scene, ms += RacePassMs);
    }
    std::vector<SoundCue> events;
    std::vector<int64_t> strides;
    for (const SoundCue& c : cues.take()) {
        if (c.sound != Sound::Hooves)
            events.push_back(c);
        else
            strides.push_back(c.ms);
    }
    const int64_t gate = TrackScene::gateLength() * RacePassMs;
    ASSERT_EQ(events.size(), 5u);
    EXPECT_EQ(std::vector(events.begin(), events.begin() + 3),
              (std::vector<SoundCue>{{Sound::Bugle, 0}, {Sound::Bell, gate}, {Sound::Gates, gate}}));
    EXPECT_EQ(events[3].sound, Sound::Crowd);
    EXPECT_EQ(events[4].sound, Sound::Photo);
    EXPECT_GT(events[3].ms, gate + 15000);
    EXPECT_GT(events[4].ms, events[3].ms);
    // Hoofbeats from the gate on, a stride at a time at the field's pace (steady up to the
    // stretch), easing off as the finishers pull up; none before the gate.
    ASSERT_GT(strides.size(), 50u);
    EXPECT_GE(strides.front(), gate);
    for (std::size_t i = 1; i < strides.size(); ++i) {
        SCOPED_TRACE(strides[i]);
        EXPECT_GE(strides[i] - strides[i - 1], HoofStrideShortestMs);
        if (strides[i] < events[3].ms) {
            EXPECT_LT(strides[i] - strides[i - 1], 3 * HoofStrideMs);
        }
    }
    EXPECT_TRUE(cues.take().empty());
}

} // namespace
