#include "race/presentation/RaceReplay.h"
#include "race/presentation/RaceRecorder.h"

#include "core/Random.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

using namespace sw;

namespace {

// A stand-in race that tells its observer what a real one does, in the same order and
// rhythm: moves signed by leg, lane reports on every move, gallops every eighth pass, calls,
// fractions, the finish line, placings and a photo. Only the notifications matter here.
class StandInRace {
public:
    StandInRace(RaceObserver& to, uint64_t seed) : m_to(to), m_rnd(seed) {}

    static constexpr int LegLength = 10655;
    static constexpr int FinishLine = 29610;
    static constexpr int Marks[3] = {5964, 11928, 17892};

    void start() {
        m_to.raceStarted();
        for (int e = 0; e < 8; ++e)
            m_lane[e] = e;
    }

    // One pass; false once all eight are placed.
    bool step() {
        ++m_tick;
        if (m_tick % 1096 == 0)
            m_to.phaseChanged(++m_phase);
        const int h = static_cast<int>(m_rnd.uniform() * 8);
        if (m_position[h] < FinishLine) {
            if (m_tick % 15 == 0)
                m_lane[h] = std::clamp(m_lane[h] + static_cast<int>(m_rnd.uniform() * 3) - 1, 0, 8);
            m_to.laneSet(h, leg(h), m_lane[h]);
            move(h, 6 + static_cast<int>(m_rnd.uniform() * 20));
        }
        if (m_tick % 8 == 0)
            m_to.gallop();
        for (int i = 0; i < 8; ++i) {
            const int c = (h + i) % 8;
            // Now and then a runner checks behind a blocker and loses ground.
            const int step = m_rnd.uniform() < 0.02 ? -3 : 2 + static_cast<int>(m_rnd.uniform() * 6);
            m_to.laneSet(c, leg(c), m_lane[c]);
            if (m_finished[c]) {
                move(c, step);
                continue;
            }
            if (m_position[c] + step < FinishLine) {
                move(c, step);
                calls(c);
            } else {
                m_position[c] += step;
                m_to.entryMoved(c, step, leg(c));
                m_to.callHidden();
                m_finished[c] = true;
                // Places are told counting from 1, as the race does.
                ++m_placed;
                m_to.entryPlaced(c, m_placed);
                if (m_placed == 2)
                    m_to.photoFinishRaised();
            }
        }
        if (m_placed < 8)
            return true;
        m_to.raceEnded();
        return false;
    }

private:
    int leg(int e) const { return std::min(std::max(m_position[e], 0) / LegLength, 3); }

    void move(int e, int step) {
        m_position[e] += step;
        const int l = leg(e);
        m_to.entryMoved(e, (l == 1 ? -1 : l == 3 ? 0 : 1) * step, l);
    }

    void calls(int c) {
        for (int m = 0; m < 3; ++m) {
            if (m_passed[c][m] || m_position[c] < Marks[m])
                continue;
            m_passed[c][m] = true;
            const int count = ++m_count[m];
            if (count == 1)
                m_to.fractionTime(m, m == 0 ? "0:24.10" : m == 1 ? "0:48.35" : "1:12.80");
            m_to.callPassed(m, c, count);
            if (m == 2 && count == 8)
                m_to.finishLineShown();
        }
    }

    RaceObserver& m_to;
    SeededRandom m_rnd;
    int m_position[8] = {};
    int m_lane[8] = {};
    bool m_finished[8] = {};
    bool m_passed[8][3] = {};
    int m_count[3] = {};
    int m_tick = 0;
    int m_phase = 0;
    int m_placed = 0;
};

std::array<GallopFrame, 8> mixedStrides() {
    using enum GallopFrame;
    return {A, B, B, A, A, B, A, B};
}

// Runs a whole stand-in race through a recorder, the window's way: the race starts, the gate
// opens, then the passes. Returns the track after each pass.
std::vector<TrackView> runRecorded(TrackScene& scene, RaceRecorder& recorder, uint64_t seed,
                                   bool gateBeforeStart = false) {
    StandInRace race(recorder, seed);
    if (gateBeforeStart) {
        scene.beginRace(mixedStrides(), TrackLayout::DesignWidth);
        scene.advanceGate(TrackScene::gateLength());
        race.start();
    } else {
        race.start();
        scene.beginRace(mixedStrides(), TrackLayout::DesignWidth);
        scene.advanceGate(TrackScene::gateLength());
    }
    std::vector<TrackView> views;
    bool running = true;
    while (running) {
        running = race.step();
        recorder.passEnded();
        views.push_back(scene.view());
    }
    return views;
}

TEST(RaceReplay, ReproducesTheTrackAfterEveryPass) {
    for (bool gateFirst : {false, true}) {
        TrackScene live;
        live.fractionTime(0, "stale");
        RaceRecorder recorder(live);
        const std::vector<TrackView> views = runRecorded(live, recorder, 7, gateFirst);
        const RaceRecording& rec = recorder.recording();
        ASSERT_EQ(rec.passCount(), static_cast<int>(views.size()));
        ASSERT_GT(views.size(), 3000u) << "the stand-in race runs the whole distance";

        TrackScene again(4000); // another scene, another width: the recording carries its own
        RaceReplay replay(rec, again);
        for (std::size_t p = 0; p < views.size(); ++p) {
            ASSERT_TRUE(replay.stepPass());
            ASSERT_EQ(again.view(), views[p]) << "pass " << p << (gateFirst ? " gate first" : "");
        }
        EXPECT_FALSE(replay.stepPass());
        EXPECT_TRUE(replay.finished());
    }
}

TEST(RaceReplay, TheRaceItShowsHadItsEvents) {
    TrackScene live;
    RaceRecorder recorder(live);
    const std::vector<TrackView> views = runRecorded(live, recorder, 11);
    bool photo = false, finish = false, call = false, moved = false, lane = false, gallop = false;
    for (std::size_t p = 1; p < views.size(); ++p) {
        photo |= views[p].photoVisible;
        finish |= views[p].finishLineVisible;
        call |= views[p].call.visible;
        moved |= views[p].pictures[3].left != views[p - 1].pictures[3].left;
        lane |= views[p].pictures[3].top != views[p - 1].pictures[3].top;
        gallop |= views[p].pictures[3].frame != views[p - 1].pictures[3].frame;
    }
    EXPECT_TRUE(photo && finish && call && moved && lane && gallop);
    EXPECT_EQ(views.back().fractionTimes[2], "1:12.80");
    EXPECT_FALSE(views.back().pictures[0].visible) << "the last pass ends the race";
}

TEST(RaceReplay, CanBeWatchedAgainOnTheSameTrack) {
    TrackScene scene;
    RaceRecorder recorder(scene);
    const std::vector<TrackView> views = runRecorded(scene, recorder, 3);
    RaceReplay replay(recorder.recording(), scene);
    EXPECT_TRUE(scene.picture(0).visible) << "rewound to the start, the field shows again";
    for (int p = 0; p < 1000; ++p)
        replay.stepPass();
    EXPECT_EQ(scene.view(), views[999]);
    replay.rewind();
    replay.stepPass();
    EXPECT_EQ(scene.view(), views[0]);
}

TEST(RaceReplay, SaysWhichRaceItShowsUntilTheRaceEnds) {
    TrackScene scene;
    RaceRecorder recorder(scene);
    runRecorded(scene, recorder, 4);
    RaceReplay replay(recorder.recording(), scene, 1, 7);
    EXPECT_EQ(scene.view().caption, "Replay of race 7");
    replay.stepPass();
    EXPECT_EQ(scene.view().caption, "Replay of race 7");
    while (replay.stepPass()) {
    }
    EXPECT_EQ(scene.view().caption, "") << "the recorded race end takes it away";
    const RaceReplay silent(recorder.recording(), scene);
    EXPECT_EQ(scene.view().caption, "") << "a replay not told its race says nothing";
}

TEST(RaceReplay, RecordingIsCompact) {
    TrackScene scene;
    RaceRecorder recorder(scene);
    const std::vector<TrackView> views = runRecorded(scene, recorder, 5);
    // Nine moves and nine lane reports a pass; unchanged lane reports are not kept.
    const std::size_t told = views.size() * 18;
    EXPECT_LT(recorder.recording().wordCount(), told * 6 / 10);
}

TEST(RaceReplay, PlaysAtRaceSpeed) {
    TrackScene scene;
    RaceRecorder recorder(scene);
    const std::vector<TrackView> views = runRecorded(scene, recorder, 9);
    RaceReplay replay(recorder.recording(), scene);
    EXPECT_EQ(replay.slowFrom(), replay.slowTo());
    EXPECT_TRUE(replay.play(0));
    EXPECT_EQ(replay.passesPlayed(), 0);
    int64_t t = 0;
    while (replay.play(t += 16)) {
    }
    EXPECT_EQ(replay.passesPlayed(), static_cast<int>(views.size()));
    EXPECT_EQ(t, (static_cast<int64_t>(views.size()) * 5 + 15) / 16 * 16);
    EXPECT_EQ(scene.view(), views.back());
}

TEST(RaceReplay, SlowsDownForTheFinishAndEndsTheSame) {
    TrackScene scene;
    RaceRecorder recorder(scene);
    const std::vector<TrackView> views = runRecorded(scene, recorder, 9);
    const RaceRecording& rec = recorder.recording();
    RaceReplay replay(rec, scene, RaceReplay::FinishSlowdown);

    const int winnerPass = rec.passOfPlacing(0);
    ASSERT_GT(winnerPass, RaceReplay::SlowLead);
    EXPECT_EQ(replay.slowFrom(), winnerPass - RaceReplay::SlowLead);
    EXPECT_EQ(replay.slowTo(), std::min(rec.passOfPlacing(4) + RaceReplay::SlowTail, rec.passCount()));
    ASSERT_LT(replay.slowFrom(), replay.slowTo());

    // Up to the slow window passes come every 5 ms, inside it every 20 ms.
    const int64_t slowStart = int64_t{replay.slowFrom()} * 5;
    for (int64_t t = 0; t <= slowStart; t += 5)
        replay.play(t);
    EXPECT_EQ(replay.passesPlayed(), replay.slowFrom());
    replay.play(slowStart + 100);
    EXPECT_EQ(replay.passesPlayed(), replay.slowFrom() + 5);

    int64_t t = slowStart + 100;
    while (replay.play(t += 16)) {
    }
    const int64_t slowPasses = replay.slowTo() - replay.slowFrom();
    EXPECT_GE(t, (static_cast<int64_t>(views.size()) + 3 * slowPasses) * 5);
    EXPECT_EQ(scene.view(), views.back());
}

TEST(RaceRecording, KeepsValuesOfAnyWidthAndSign) {
    TrackScene live;
    RaceRecorder recorder(live);
    recorder.raceStarted();
    live.beginRace(mixedStrides(), TrackLayout::DesignWidth);
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

TEST(RaceRecording, EmptyRecordingReplaysNothing) {
    RaceRecording rec;
    TrackScene scene;
    const TrackView before = scene.view();
    RaceReplay replay(rec, scene, RaceReplay::FinishSlowdown);
    EXPECT_TRUE(replay.finished());
    EXPECT_FALSE(replay.stepPass());
    EXPECT_FALSE(replay.play(100000));
    EXPECT_EQ(scene.view(), before);
    EXPECT_EQ(rec.passOfPlacing(0), -1);
}

TEST(RaceRecorder, ANewRaceStartsANewRecording) {
    TrackScene scene;
    RaceRecorder recorder(scene);
    runRecorded(scene, recorder, 1);
    const std::size_t first = recorder.recording().wordCount();
    recorder.raceStarted();
    EXPECT_LT(recorder.recording().wordCount(), first);
    EXPECT_EQ(recorder.recording().passCount(), 0);
    EXPECT_FALSE(recorder.recording().hasStart());
}

TEST(RaceRecorder, PassesAfterTheEndAreNotCounted) {
    TrackScene scene;
    RaceRecorder recorder(scene);
    const std::vector<TrackView> views = runRecorded(scene, recorder, 2);
    recorder.passEnded();
    EXPECT_EQ(recorder.recording().passCount(), static_cast<int>(views.size()));
}

} // namespace
