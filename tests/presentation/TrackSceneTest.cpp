#include "race/presentation/TrackScene.h"
#include "../race/RaceTestDay.h"
#include "race/RaceModel.h"
#include "race/presentation/TrackOval.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <ranges>
#include <string>

using namespace sw;

namespace {

// At the design width a leg is 10655, a turn takes 1700 either side of a leg's end (so the first
// turn's centre is at Left 8955, the second's at 1700) and the finish line is at 29610. Lane k's
// turn radii are 295 + 330k up and down and 0.6 of that across, round the top 2605.
// Distance, lane, then Left, Top and whether it faces right: the start on the rail and at the
// widest post, the near straight, into the first turn, its apex on the rail and in lane 4, out of
// it, the far straight, into the second turn, its apex in lane 2, out of it onto the home straight
// and the finish line. Each end of a turn is where the straight beside it would put the horse.
TEST(TrackOval, PlacesEachStageOfTheRaceInItsLane) {
    const double cases[][5] = {
        {0, 0, 0, 2900, 1},        {0, 7, 0, 5210, 1},        {5000, 3, 5000, 3890, 1},
        {8955, 2, 8955, 3560, 1},  {10656, 0, 9132, 2605, 0}, {10656, 4, 9924, 2605, 0},
        {12355, 1, 8955, 1980, 0}, {15000, 0, 6310, 2310, 0}, {19610, 2, 1700, 1650, 0},
        {21311, 2, 1127, 2605, 1}, {23010, 5, 1700, 4550, 1}, {29610, 3, 8300, 3890, 1}};
    const TrackOval oval(11355);
    for (const auto& [distance, lane, left, top, facingRight] : cases) {
        SCOPED_TRACE(distance);
        const OvalPlace at = oval.place(distance, lane);
        EXPECT_NEAR(at.left, left, 2.0);
        EXPECT_NEAR(at.top, top, 2.0);
        EXPECT_EQ(at.facingRight, facingRight == 1);
    }
}

// A scene with the field through the gate, all eight showing, first strides all A.
TrackScene sceneAtGate() {
    TrackScene scene;
    scene.beginRace({}, DesignTrackWidth);
    scene.advanceGate(TrackScene::gateLength());
    scene.raceStarted();
    return scene;
}

TEST(RaceStart, TheParadeStopsAndTheGateLetsTheFieldIn) {
    TrackScene scene = sceneAtGate();
    scene.startParade();
    scene.paradeTick();
    scene.beginRace({}, DesignTrackWidth);
    for (int i = 0; i < 8; ++i) {
        const HorsePicture& p = scene.picture(i);
        EXPECT_EQ(std::tuple(p.left, p.top, p.visible),
                  std::tuple(TrackLayout::StartLeft, TrackLayout::laneTop(0, i), i == 0));
        EXPECT_FALSE(scene.picture(8 + i).visible);
    }
    EXPECT_FALSE(scene.paradeRunning());

    // Horses appear eighty-one waits apart, and the last gets its waits too. Waits added, then
    // horses showing, the gate done and the waits counted.
    const int steps[][4] = {
        {80, 1, 0, 80}, {1, 2, 0, 81}, {566, 8, 0, 647}, {1, 8, 1, 648}, {500, 8, 1, 648}};
    for (const auto& [waits, shown, done, counted] : steps) {
        scene.advanceGate(waits);
        const int n = int(
            std::ranges::count_if(std::views::iota(0, 8), [&](int i) { return scene.picture(i).visible; }));
        EXPECT_TRUE(scene.picture(n - 1).visible);
        EXPECT_EQ(std::tuple(n, scene.gateDone(), scene.gateWaits()), std::tuple(shown, done == 1, counted));
    }
}

TEST(Moves, RunTheDistanceRoundTheOvalInTheLaneLastToldAndGallopInTheStridesOfTheirFacing) {
    // The race signs each move by its leg; the picture goes by the distance run, so the move that
    // ends the first straight carries on round the turn rather than across the infield.
    TrackScene scene = sceneAtGate();
    // A move of dx on a leg, or a lane report (leg -1), then the distance run, the lane and the
    // stride shown.
    const int steps[][5] = {{23, 0, 23, 3, 0},      {-10600, 1, 10623, 3, 0}, {-40, 1, 10663, 3, 2},
                            {5, -1, 10663, 5, 2},   {-4000, 1, 14663, 5, 2},  {9000, 2, 23663, 5, 0},
                            {6000, 2, 29663, 5, 0}, {0, 3, 29663, 5, 0}};
    for (const auto& [amount, leg, distance, lane, frame] : steps) {
        SCOPED_TRACE(distance);
        if (leg < 0)
            scene.laneSet(3, 1, amount);
        else
            scene.entryMoved(3, amount, leg);
        const OvalPlace at = scene.oval().place(distance, lane);
        EXPECT_EQ(scene.picture(3), (HorsePicture{int(std::lround(at.left)), int(std::lround(at.top)), true,
                                                  GallopFrame(frame)}));
    }
    EXPECT_EQ(scene.picture(2).left, 0);

    // Reports about no such entry or mark change nothing.
    const TrackView before = scene.view();
    scene.entryMoved(8, 100, 0);
    scene.entryMoved(-1, 100, 0);
    scene.laneSet(9, 1, 3);
    scene.callPassed(0, 12, 1);
    scene.callPassed(5, 0, 1);
    scene.fractionTime(3, "0:99.99");
    EXPECT_EQ(scene.view(), before);
    // Nor do a picture index out of range or a nonsense track width break the scene.
    EXPECT_EQ(&scene.picture(99), &scene.picture(15));
    EXPECT_EQ(&scene.picture(-1), &scene.picture(0));
    for (const int width : {0, -50}) {
        TrackScene odd(width);
        EXPECT_TRUE(odd.trackWidth() >= 1 && odd.trackScale() > 0.0) << width;
    }
}

TEST(RaceEnd, KeepsEachMarksFractionWrittenOnceAndThePhotoSignUntilTheNextStart) {
    TrackScene scene = sceneAtGate();
    scene.fractionTime(0, "0:24.31");
    scene.fractionTime(0, "0:25.00");
    scene.fractionTime(2, "1:12.05");
    scene.raceEnded();
    EXPECT_EQ(scene.view().fractionTimes, (std::array<std::string, 3>{"0:24.31", "", "1:12.05"}));
    scene.photoFinishRaised(); // a replay stopped at its photo finish
    scene.raceEnded();
    EXPECT_TRUE(scene.view().photoStill.visible); // the judges still study it
    scene.beginRace({}, DesignTrackWidth);
    EXPECT_EQ(
        std::tuple(scene.view().fractionTimes, scene.view().photoVisible, scene.view().photoStill.visible),
        std::tuple(std::array<std::string, 3>{}, false, false));
    scene.fractionTime(0, "0:23.90");
    EXPECT_EQ(scene.view().fractionTimes[0], "0:23.90");
}

// Runs a seeded race on `scene` the window's way, calling `afterPass` after every pass while the
// field is still showing.
template <typename AfterPass> void runRace(TrackScene& scene, uint64_t seed, AfterPass afterPass) {
    test::RaceTestDay t(test::seeded(seed));
    RaceModel race(t.day, &scene);
    race.start();
    scene.beginRace({}, DesignTrackWidth);
    scene.advanceGate(TrackScene::gateLength());
    while (race.step())
        afterPass();
}

TEST(Finish, TheSignsAndThePhotoStandWhereNoHorseIsFromTheLinesShowingToTheLastPlacing) {
    int photos = 0;
    for (const uint64_t seed : {3, 11, 27, 42, 77, 101}) {
        SCOPED_TRACE(seed);
        TrackScene scene;
        int passesChecked = 0;
        runRace(scene, seed, [&] {
            const TrackView& v = scene.view();
            if (!v.finishLineVisible)
                return;
            ++passesChecked;
            std::vector<TwipsRect> signs = {TrackLayout::finishSign(1.0)};
            if (v.photoVisible)
                signs.push_back(TrackLayout::photoSign(1.0));
            if (v.photoStill.visible)
                signs.push_back(TrackLayout::photoStill(1.0, false));
            for (int e = 0; e < 8; ++e) {
                const HorsePicture& p = scene.picture(e);
                const TwipsRect horse = TrackLayout::horseFootprint(p.left, p.top, facesRight(p.frame));
                for (const TwipsRect& sign : signs)
                    ASSERT_FALSE(p.visible && horse.intersects(sign)) << "post " << e + 1 << " at " << p.left;
            }
        });
        EXPECT_GT(passesChecked, 100);
        photos += scene.view().photoStill.visible ? 1 : 0;
    }
    EXPECT_GT(photos, 0);
    // The photo sign stands beside the finish sign, not on it.
    EXPECT_FALSE(TrackLayout::photoSign(0.5).intersects(TrackLayout::finishSign(0.5)));
}

// The horses' drawings as a wide track frame shows them (about 1366 by 260 pixels).
constexpr double WideFrameAspect = 0.36;

long overlap(const TwipsRect& a, const TwipsRect& b) {
    return a.intersects(b) ? long(std::min(a.right(), b.right()) - std::max(a.left, b.left)) *
                                 (std::min(a.bottom(), b.bottom()) - std::max(a.top, b.top))
                           : 0;
}

TEST(Finish, FinishersPullUpInTheirLanesSpacedByTheirOrder) {
    // Finishers in the order placed, by entry and lane: three share lane 2, the rest run near it.
    const int finishers[][2] = {{4, 2}, {1, 2}, {6, 4}, {0, 0}, {2, 5}, {7, 2}};
    TrackScene scene = sceneAtGate();
    scene.setDrawnAspect(WideFrameAspect);
    const int line = scene.oval().finishLine();
    const auto sprite = [&](int e) {
        const HorsePicture& p = scene.picture(e);
        return TrackLayout::horseFootprint(p.left, p.top, true, WideFrameAspect);
    };
    int place = 0;
    for (const auto& [e, lane] : finishers) {
        scene.laneSet(e, 2, lane);
        // The race runs the first two straights, then the finishing move brings the nose to the line.
        scene.entryMoved(e, 2 * scene.oval().legLength(), 0);
        scene.entryMoved(e, line - 2 * scene.oval().legLength() + 5, 2);
        scene.entryPlaced(e, ++place);
        // A finisher told of another lane stays in its own.
        scene.laneSet(e, 2, 7);
    }
    // Everyone gallops on, far past the line, and stops.
    for (int run = 0; run < 200; ++run)
        for (const auto& [e, lane] : finishers)
            scene.entryMoved(e, 250, 2);
    for (int i = 0; i < place; ++i) {
        const auto [e, lane] = finishers[i];
        SCOPED_TRACE(e);
        const OvalPlace stop = scene.oval().pullUpPlace(scene.stopRoom(e), lane);
        EXPECT_EQ(std::pair(scene.picture(e).left, scene.picture(e).top),
                  std::pair(int(std::lround(stop.left)), int(std::lround(stop.top))));
        EXPECT_GT(scene.stopRoom(e), 0);
        // Each stands clear of those that beat it, and behind every one whose lane is near its own.
        for (int j = 0; j < i; ++j) {
            const int before = finishers[j][0];
            EXPECT_FALSE(sprite(e).intersects(sprite(before))) << "on post " << before + 1;
            if (sprite(e).top < sprite(before).bottom() && sprite(before).top < sprite(e).bottom()) {
                EXPECT_LT(scene.stopRoom(e), scene.stopRoom(before));
            }
        }
    }
}

TEST(Finish, NoFinisherRunsOntoAnotherInAnyRace) {
    // A photo finish draws two horses over each other at the line; from there on they only draw
    // apart, however the rest of the field comes home. On a wide frame and on a square one.
    for (const double aspect : {WideFrameAspect, 1.0})
        for (uint64_t seed = 1; seed <= 100; ++seed) {
            SCOPED_TRACE(seed);
            TrackScene scene;
            scene.setDrawnAspect(aspect);
            std::vector<int> placed;
            std::array<std::array<long, 8>, 8> atFinish{};
            const auto sprite = [&](int e) {
                const HorsePicture& p = scene.picture(e);
                return TrackLayout::horseFootprint(p.left, p.top, true, aspect);
            };
            runRace(scene, seed, [&] {
                for (int e = 0; e < 8; ++e)
                    if (scene.stopRoom(e) >= 0 && std::ranges::find(placed, e) == placed.end()) {
                        for (int j : placed)
                            atFinish[j][e] = atFinish[e][j] = overlap(sprite(j), sprite(e));
                        placed.push_back(e);
                    }
                // Pictures stand on whole twips: a twip's rounding either way is no closing in.
                for (int a : placed)
                    for (int b : placed)
                        ASSERT_LE(a == b ? 0 : overlap(sprite(a), sprite(b)),
                                  atFinish[a][b] + 2 * sprite(a).height)
                            << "posts " << a + 1 << " and " << b + 1;
            });
            ASSERT_GE(placed.size(), 6u); // the last placing ends the race and clears the track
        }
}

} // namespace
