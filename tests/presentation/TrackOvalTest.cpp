#include "race/presentation/TrackOval.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace sw;

namespace {

// At the design width a leg is 10655, a turn takes 1700 either side of a leg's end (so the first
// turn's centre is at Left 8955, the second's at 1700) and the finish line is at 29610. Lane k's
// turn radii are 295 + 330k up and down and 0.6 of that across, round the top 2605.
// Distance, lane, then Left, Top and whether it faces right: the start on the rail and at the
// widest post, the near straight, into the first turn, its apex on the rail and in lane 4, out of
// it, the far straight, the second turn's apex in lane 2, the home straight and the finish line.
TEST(TrackOval, PlacesEachStageOfTheRaceInItsLane) {
    const double cases[][5] = {
        {0, 0, 0, 2900, 1},        {0, 7, 0, 5210, 1},        {5000, 3, 5000, 3890, 1},
        {8955, 2, 8955, 3560, 1},  {10656, 0, 9132, 2605, 0}, {10656, 4, 9924, 2605, 0},
        {12355, 1, 8955, 1980, 0}, {15000, 0, 6310, 2310, 0}, {21311, 2, 1127, 2605, 1},
        {24010, 5, 2700, 4550, 1}, {29610, 3, 8300, 3890, 1}};
    const TrackOval oval(11355);
    for (const auto& [distance, lane, left, top, facingRight] : cases) {
        SCOPED_TRACE(distance);
        const OvalPlace at = oval.place(distance, lane);
        EXPECT_NEAR(at.left, left, 2.0);
        EXPECT_NEAR(at.top, top, 2.0);
        EXPECT_EQ(at.facingRight, facingRight == 1);
    }
}

TEST(TrackOval, TurnsAreArcsOfEachLanesRadiiAndTheJoinsAreSeamless) {
    for (const int width : {11355, 22710}) {
        const TrackOval oval(width);
        const double a = oval.turnHalf();
        const double leg = oval.legLength();
        for (int lane = 0; lane <= 8; ++lane) {
            SCOPED_TRACE(testing::Message() << "width " << width << " lane " << lane);
            const double rx = oval.radiusAcross(lane);
            const double ry = TrackOval::radiusUpDown(lane);
            for (const auto& [start, centre] :
                 {std::pair{leg - a, oval.firstTurnLeft()}, std::pair{2 * leg - a, oval.secondTurnLeft()}}) {
                for (double d = start; d <= start + 2 * a; d += a / 8) {
                    const OvalPlace at = oval.place(d, lane);
                    const double across = (at.left - centre) / rx;
                    const double upDown = (at.top - TrackOval::centreTop()) / ry;
                    EXPECT_NEAR(across * across + upDown * upDown, 1.0, 1e-9) << "at " << d;
                }
                // A stride either side of each end of the turn lands next to the other side's place.
                for (const double join : {start, start + 2 * a}) {
                    const OvalPlace before = oval.place(join - 0.25, lane);
                    const OvalPlace after = oval.place(join + 0.25, lane);
                    EXPECT_LT(std::hypot(after.left - before.left, after.top - before.top), 2.0)
                        << "at " << join;
                }
            }
        }
    }
}

TEST(TrackOval, FinishedHorsesPullUpPastTheLineInTheirLanesShortOfTheNextTurn) {
    const TrackOval oval(11355);
    const double line = oval.finishLine();
    EXPECT_DOUBLE_EQ(oval.shownDistance(line), line);
    double last = line;
    for (const double past : {10.0, 200.0, 1000.0, 5000.0, 100000.0}) {
        const double shown = oval.shownDistance(line + past);
        EXPECT_GT(shown, last) << past;
        EXPECT_LT(shown, line + past) << "slower than it runs, " << past;
        last = shown;
    }
    // However far it gallops on, it stops within the first quarter of the turn, in its own lane.
    EXPECT_LE(last, 3.0 * oval.legLength() - oval.turnHalf() / 2);
    const OvalPlace stopped = oval.place(line + 100000, 5);
    EXPECT_GT(stopped.left, oval.place(line, 5).left);
    const double across = (stopped.left - oval.firstTurnLeft()) / oval.radiusAcross(5);
    const double upDown = (stopped.top - TrackOval::centreTop()) / TrackOval::radiusUpDown(5);
    EXPECT_NEAR(across * across + upDown * upDown, 1.0, 1e-9);
    EXPECT_TRUE(stopped.facingRight);
}

} // namespace
