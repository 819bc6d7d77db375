#include "race/presentation/TrackOval.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace sw;

namespace {

// At the design width a leg is 10655, a turn takes 1700 either side of a leg's end (so the first
// turn's centre is at Left 8955, the second's at 1700) and the finish line is at 29610. Lane k's
// turn radii are 295 + 330k up and down and 0.6 of that across, round the top 2605.
struct PlaceCase {
    const char* where;
    double distance;
    int lane;
    double left;
    double top;
    bool facingRight;
};

const PlaceCase PlaceCases[] = {
    {"the start, on the rail", 0, 0, 0, 2900, true},
    {"the start, widest post", 0, 7, 0, 5210, true},
    {"the near straight", 5000, 3, 5000, 3890, true},
    {"into the first turn", 8955, 2, 8955, 3560, true},
    {"the first turn's apex, on the rail", 10656, 0, 8955 + 177, 2605, false},
    {"the first turn's apex, lane 4", 10656, 4, 8955 + 969, 2605, false},
    {"out of the first turn", 12355, 1, 8955, 1980, false},
    {"the far straight", 15000, 0, 6310, 2310, false},
    {"the second turn's apex, lane 2", 21311, 2, 1700 - 573, 2605, true},
    {"the home straight", 24010, 5, 2700, 4550, true},
    {"the finish line", 29610, 3, 8300, 3890, true},
};

TEST(TrackOval, PlacesEachStageOfTheRaceInItsLane) {
    const TrackOval oval(11355);
    for (const PlaceCase& c : PlaceCases) {
        SCOPED_TRACE(c.where);
        const OvalPlace at = oval.place(c.distance, c.lane);
        EXPECT_NEAR(at.left, c.left, 2.0);
        EXPECT_NEAR(at.top, c.top, 2.0);
        EXPECT_EQ(at.facingRight, c.facingRight);
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
