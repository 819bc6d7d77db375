#include "race/presentation/RaceReplay.h"
#include "../race/RaceTestDay.h"
#include "race/RaceModel.h"
#include "race/presentation/RaceRecorder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <utility>
#include <vector>

using namespace sw;

namespace {

constexpr std::array<GallopFrame, 8> Strides = {GallopFrame::A, GallopFrame::B, GallopFrame::B,
                                                GallopFrame::A, GallopFrame::A, GallopFrame::B,
                                                GallopFrame::A, GallopFrame::B};

// Runs a whole race through the recorder the window's way: the race starts, the gate opens, then
// the passes (or the gate first). Returns the track after each pass.
std::vector<TrackView> runRecorded(TrackScene& scene, RaceRecorder& recorder, uint64_t seed,
                                   bool gateFirst = false) {
    test::RaceTestDay t(test::seeded(seed));
    RaceModel race(t.day, &recorder);
    const auto gate = [&] {
        scene.beginRace(Strides, DesignTrackWidth);
        scene.advanceGate(TrackScene::gateLength());
    };
    if (gateFirst)
        gate();
    race.start();
    if (!gateFirst)
        gate();
    std::vector<TrackView> views;
    for (bool running = true; running;) {
        running = race.step();
        recorder.passEnded();
        views.push_back(scene.view());
    }
    return views;
}

TEST(RaceReplay, ReproducesTheTrackFromACompactRecordingAndIsWatchedAgainAtRaceSpeedOrSlowedDown) {
    for (bool gateFirst : {true, false}) {
        SCOPED_TRACE(gateFirst ? "gate first" : "race first");
        TrackScene live;
        live.fractionTime(0, "stale");
        RaceRecorder recorder(live);
        const std::vector<TrackView> views = runRecorded(live, recorder, 11, gateFirst);
        recorder.passEnded(); // after the end nothing is counted
        const RaceRecording& rec = recorder.recording();
        ASSERT_EQ(rec.passCount(), static_cast<int>(views.size()));
        // Nine moves and nine lane reports a pass; unchanged lane reports are not kept.
        EXPECT_LT(rec.wordCount(), views.size() * 18 * 6 / 10);

        TrackScene again(4000); // another scene, another width: the recording carries its own
        RaceReplay replay(rec, again);
        for (std::size_t p = 0; p < views.size(); ++p) {
            ASSERT_TRUE(replay.stepPass());
            ASSERT_EQ(again.view(), views[p]) << "pass " << p;
        }
        EXPECT_FALSE(replay.stepPass());
        EXPECT_TRUE(replay.finished());
        if (gateFirst)
            continue;

        // Watched again on the same track, pass by pass, at race speed or slowed down for the
        // finish: each starts from the race's first pass and ends as the race did.
        RaceReplay watched(rec, live, 1, 7);
        watched.stepPass();
        TrackView shown = live.view();
        shown.caption.clear();
        EXPECT_EQ(shown, views[0]);
        while (watched.stepPass()) {
        }
        EXPECT_EQ(live.view(), views.back()) << "the recorded race end takes the caption away";

        RaceReplay atSpeed(rec, live);
        int64_t t = 0;
        while (atSpeed.play(t += 16)) {
        }
        EXPECT_EQ(atSpeed.passesPlayed(), static_cast<int64_t>(views.size()));
        EXPECT_EQ(t, (static_cast<int64_t>(views.size()) * 5 + 15) / 16 * 16) << "a pass every 5 ms";
        EXPECT_EQ(live.view(), views.back());

        RaceReplay slow(rec, live, RaceReplay::FinishSlowdown);
        ASSERT_LT(slow.slowFrom(), rec.passOfPlacing(0));
        ASSERT_EQ(slow.slowTo(), std::min(rec.passOfPlacing(4) + RaceReplay::SlowTail, rec.passCount()))
            << "slowed until the fifth horse home is past the line";
        for (t = 0; slow.play(t += 16);) {
        }
        EXPECT_GE(t, (static_cast<int64_t>(views.size()) + 3 * (slow.slowTo() - slow.slowFrom())) * 5);
        EXPECT_EQ(live.view(), views.back());

        // A new race starts an empty recording, and a recording of nothing replays nothing.
        recorder.raceStarted();
        EXPECT_EQ(std::pair(rec.passCount(), rec.hasStart()), std::pair(0, false));
        const TrackView before = live.view();
        const RaceRecording none;
        RaceReplay empty(none, live, RaceReplay::FinishSlowdown);
        EXPECT_TRUE(empty.finished());
        EXPECT_FALSE(empty.play(100000));
        EXPECT_EQ(live.view(), before);
    }
}

TEST(RacePacer, RunsEachPassDueOnceNeverCatchesUpAStallInOneBurstAndCanSlowAWindowDown) {
    // One pass every 5 ms; a clock that goes back runs nothing; two seconds lost run only one burst
    // of 10, and after the stall the race keeps its pace.
    RacePacer pacer(10);
    const std::pair<int64_t, int> due[] = {{4, 0},     {20, 4},   {20, 0},  {-100, 0},
                                           {2020, 10}, {2025, 1}, {2045, 4}};
    for (const auto& [ms, passes] : due)
        EXPECT_EQ(pacer.due(ms), passes) << ms;
    EXPECT_EQ(pacer.passesRun(), 19);
    pacer.reset();
    EXPECT_EQ(pacer.passesRun(), 0);
    EXPECT_EQ(pacer.due(10), 2) << "a reset forgets the stall";

    // Slow motion stretches passes 10 to 20 four times, and every pass's time gives it back.
    RacePacer slow(1000);
    slow.setSlowMotion(10, 20, 4);
    const std::pair<int64_t, int64_t> times[] = {{50, 10}, {69, 10}, {70, 11}, {250, 20}, {255, 21}};
    for (const auto& [ms, passes] : times)
        EXPECT_EQ(slow.passesAt(ms), passes) << ms;
    for (int64_t p = 0; p < 40; ++p)
        EXPECT_EQ(slow.passesAt(slow.timeOf(p)), p) << p;
    slow.setSlowMotion(10, 20, 1); // undone
    EXPECT_EQ(slow.timeOf(25), 125);
}

TEST(RaceRecording, KeepsValuesOfAnyWidthAndSign) {
    TrackScene live;
    RaceRecorder recorder(live);
    recorder.raceStarted();
    live.beginRace(Strides, DesignTrackWidth);
    live.advanceGate(TrackScene::gateLength());
    // Either side of what one word holds, and far beyond it.
    const int values[] = {524287, -524288, 524288, -524289, 2000000000, -2000000000};
    for (int v : values) {
        recorder.entryMoved(6, v, 1);
        recorder.passEnded();
    }

    TrackScene again;
    RaceReplay replay(recorder.recording(), again);
    double run = 0;
    for (int v : values) {
        replay.stepPass();
        run -= v; // moves on the far straight are signed to the left
        EXPECT_EQ(again.distanceRun(6), run) << v;
    }
    EXPECT_EQ(again.view(), live.view());
}

} // namespace
