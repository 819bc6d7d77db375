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
        scene.beginRace(Strides, TrackLayout::DesignWidth);
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

        // Watched again on the same track: at race speed, or slowed down for the finish.
        const auto passes = static_cast<int64_t>(views.size());
        // The race shown had every kind of event.
        bool photo = false, finish = false, call = false, moved = false, lane = false, gallop = false;
        for (std::size_t p = 1; p < views.size(); ++p) {
            const HorsePicture &now = views[p].pictures[3], &before = views[p - 1].pictures[3];
            photo |= views[p].photoVisible;
            finish |= views[p].finishLineVisible;
            call |= views[p].call.visible;
            moved |= now.left != before.left;
            lane |= now.top != before.top;
            gallop |= now.frame != before.frame;
        }
        EXPECT_TRUE(photo && finish && call && moved && lane && gallop);
        EXPECT_FALSE(views.back().pictures[0].visible) << "the last pass ends the race";

        RaceReplay watched(rec, live, 1, 7);
        EXPECT_TRUE(live.picture(0).visible) << "rewound to the start, the field shows again";
        const auto shownAt = [&](std::size_t pass) {
            EXPECT_EQ(live.view().caption, "Replay of race 7");
            TrackView shown = live.view();
            shown.caption.clear();
            EXPECT_EQ(shown, views[pass]);
        };
        for (int p = 0; p < 1000; ++p)
            watched.stepPass();
        shownAt(999);
        watched.rewind();
        watched.stepPass();
        shownAt(0);
        while (watched.stepPass()) {
        }
        EXPECT_EQ(live.view(), views.back()) << "the recorded race end takes the caption away";

        // At race speed a pass every 5 ms; a replay not told its race says nothing.
        RaceReplay atSpeed(rec, live);
        EXPECT_EQ(live.view().caption, "");
        EXPECT_EQ(atSpeed.slowFrom(), atSpeed.slowTo());
        EXPECT_TRUE(atSpeed.play(0));
        EXPECT_EQ(atSpeed.passesPlayed(), 0);
        int64_t t = 0;
        while (atSpeed.play(t += 16)) {
        }
        EXPECT_EQ(atSpeed.passesPlayed(), passes);
        EXPECT_EQ(t, (passes * 5 + 15) / 16 * 16);
        EXPECT_EQ(live.view(), views.back());

        RaceReplay slow(rec, live, RaceReplay::FinishSlowdown);
        ASSERT_GT(rec.passOfPlacing(0), RaceReplay::SlowLead);
        EXPECT_EQ(slow.slowFrom(), rec.passOfPlacing(0) - RaceReplay::SlowLead);
        EXPECT_EQ(slow.slowTo(), std::min(rec.passOfPlacing(4) + RaceReplay::SlowTail, rec.passCount()));
        ASSERT_LT(slow.slowFrom(), slow.slowTo());
        // Up to the slow window passes come every 5 ms, inside it every 20 ms.
        const int64_t slowStart = int64_t{slow.slowFrom()} * 5;
        for (t = 0; t <= slowStart; t += 5)
            slow.play(t);
        EXPECT_EQ(slow.passesPlayed(), slow.slowFrom());
        slow.play(slowStart + 100);
        EXPECT_EQ(slow.passesPlayed(), slow.slowFrom() + 5);
        t = slowStart + 100;
        while (slow.play(t += 16)) {
        }
        EXPECT_GE(t, (passes + 3 * (slow.slowTo() - slow.slowFrom())) * 5);
        EXPECT_EQ(live.view(), views.back());

        // A new race starts an empty recording, and a recording of nothing replays nothing.
        const std::size_t words = rec.wordCount();
        recorder.raceStarted();
        EXPECT_LT(rec.wordCount(), words);
        EXPECT_EQ(rec.passCount(), 0);
        EXPECT_FALSE(rec.hasStart());
        const RaceRecording none;
        EXPECT_EQ(none.passOfPlacing(0), -1);
        const TrackView before = live.view();
        RaceReplay empty(none, live, RaceReplay::FinishSlowdown);
        EXPECT_TRUE(empty.finished());
        EXPECT_FALSE(empty.stepPass());
        EXPECT_FALSE(empty.play(100000));
        EXPECT_EQ(live.view(), before);
    }
}

TEST(RacePacer, RunsEachPassDueOnceNeverCatchesUpAStallInOneBurstAndCanSlowAWindowDown) {
    struct Case {
        int maxBurst;
        std::vector<std::pair<int64_t, int>> due; // elapsed ms, passes run then
        int passesRun;
    };
    // One pass every 5 ms; a clock that goes back runs nothing; two seconds lost run only one burst,
    // and after the stall the race keeps its pace.
    for (const Case& c : {Case{24, {{0, 0}, {4, 0}, {5, 1}, {5, 0}, {21, 3}, {37, 3}}, 7},
                          Case{24, {{50, 10}, {20, 0}, {-100, 0}, {55, 1}}, 11},
                          Case{10, {{20, 4}, {2020, 10}, {2020, 0}, {2025, 1}, {2045, 4}}, 19}}) {
        RacePacer pacer(c.maxBurst);
        for (const auto& [ms, passes] : c.due)
            EXPECT_EQ(pacer.due(ms), passes) << ms;
        EXPECT_EQ(pacer.passesRun(), c.passesRun);
        // A reset starts over, time lost to a stall forgotten.
        pacer.reset();
        EXPECT_EQ(pacer.passesRun(), 0);
        EXPECT_EQ(pacer.due(10), 2);
    }
    // Slow motion stretches a window of passes.
    RacePacer pacer(1000);
    pacer.setSlowMotion(10, 20, 4);
    const std::pair<int64_t, int64_t> times[] = {{50, 10},  {69, 10},  {70, 11},
                                                 {250, 20}, {255, 21}, {275, 25}};
    for (const auto& [ms, passes] : times) {
        EXPECT_EQ(pacer.passesAt(ms), passes) << ms;
        if (ms % 5 == 0) { // at a pass's own time
            EXPECT_EQ(pacer.timeOf(passes), ms) << passes;
        }
    }
    for (int64_t p = 0; p < 40; ++p)
        EXPECT_EQ(pacer.passesAt(pacer.timeOf(p)), p) << p;
    EXPECT_EQ(pacer.due(260), 22);
    pacer.setSlowMotion(10, 20, 1); // undone
    EXPECT_EQ(pacer.timeOf(25), 125);
}

TEST(RaceRecording, KeepsValuesOfAnyWidthAndSign) {
    TrackScene live;
    RaceRecorder recorder(live);
    recorder.raceStarted();
    live.beginRace(Strides, TrackLayout::DesignWidth);
    live.advanceGate(TrackScene::gateLength());
    const int values[] = {1, -1, 524287, -524288, 524288, -524289, 2000000000, -2000000000};
    for (int v : values) {
        recorder.entryMoved(6, v, 1);
        recorder.passEnded();
    }
    recorder.laneSet(2, 1, 8);
    recorder.passEnded();

    TrackScene again;
    RaceReplay replay(recorder.recording(), again);
    double run = 0;
    for (int v : values) {
        replay.stepPass();
        run -= v; // moves on the far straight are signed to the left
        EXPECT_EQ(again.distanceRun(6), run) << v;
    }
    replay.stepPass();
    EXPECT_EQ(again.picture(2).top, TrackLayout::laneTop(0, 8));
    EXPECT_EQ(again.view(), live.view());
}

} // namespace
