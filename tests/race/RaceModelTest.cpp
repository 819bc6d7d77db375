#include "race/RaceModel.h"
#include "RaceTestDay.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace sw {
namespace {

using test::RaceTestDay;
using test::scripted;
using test::seeded;

// Writes every notification as a line, so a test can look at what was told and in which order.
class Trace final : public RaceObserver {
public:
    void raceStarted() override { add("start"); }
    void entryMoved(int e, int dx, int leg) override { add("move " + n(e) + " " + n(dx) + " " + n(leg)); }
    void laneSet(int e, int leg, int lane) override {
        if (keepLanes)
            add("lane " + n(e) + " " + n(leg) + " " + n(lane));
    }
    void phaseChanged(int phase) override { add("phase " + n(phase)); }
    void gallop() override { add("gallop"); }
    void callPassed(int mark, int e, int count) override {
        add("call " + n(mark) + " " + n(e) + " " + n(count));
    }
    void fractionTime(int mark, std::string_view text) override {
        add("fraction " + n(mark) + " " + std::string(text));
    }
    void finishLineShown() override { add("finishline"); }
    void callHidden() override { add("callhidden"); }
    void entryPlaced(int e, int place) override { add("placed " + n(e) + " " + n(place)); }
    void photoFinishRaised() override { add("photo"); }
    void raceEnded() override { add("end"); }

    int count(const std::string& prefix) const {
        int c = 0;
        for (const auto& line : lines)
            if (line.rfind(prefix, 0) == 0)
                ++c;
        return c;
    }
    std::size_t indexOf(const std::string& line) const {
        for (std::size_t i = 0; i < lines.size(); ++i)
            if (lines[i] == line)
                return i;
        return lines.size();
    }

    bool keepLanes = true;
    std::vector<std::string> lines;

private:
    static std::string n(int v) { return std::to_string(v); }
    void add(std::string line) { lines.push_back(std::move(line)); }
};

// Parks every entry far behind the start in its own lane, where it neither blocks nor is blocked.
void parkAll(RaceModel& race) {
    for (int e = 0; e < FieldSize; ++e)
        race.placeEntry(e, -50000 - 1000 * e, e);
}

// With every draw 0.99, h is always 7; an entry 7 past the line never takes its base move, so r10
// is never drawn and stays 0: every inner step is round(0.4 x 6) = 2.
void holdR10AtZero(RaceModel& race) {
    race.placeEntry(7, race.finishLine() + 100000, 7);
}

// ---- Track geometry --------------------------------------------------------------------------

TEST(RaceGeometry, DesignWidthPutsTheFinishOnTheThirdStraight) {
    RaceTestDay t(seeded(1));
    RaceModel race(t.day);
    race.start();
    EXPECT_DOUBLE_EQ(race.trackScale(), 1.0);
    EXPECT_EQ(race.legLength(), 10655);
    EXPECT_EQ(race.finishLine(), 2 * 10655 + 8300);
    EXPECT_EQ(race.quarterMark(), 5964);
    EXPECT_EQ(race.halfMark(), 11928);
    EXPECT_EQ(race.threeQuarterMark(), 17892);
    EXPECT_EQ(race.turnOneStart(), 10215);
    EXPECT_EQ(race.turnTwoEnd(), 22355);
}

TEST(RaceGeometry, DistancesScaleWithTheTrackWidthRoundedHalfToEven) {
    RaceTestDay t(seeded(1));
    RaceModel race(t.day, nullptr, 2 * DesignTrackWidth);
    race.start();
    EXPECT_DOUBLE_EQ(race.trackScale(), 2.0);
    EXPECT_EQ(race.legLength(), 21310);
    // The finish line's straight part grows with the width itself, not with the scale.
    EXPECT_EQ(race.finishLine(), 16600 + (2 * DesignTrackWidth - 700) * 2);

    RaceModel half(t.day, nullptr, 5678); // scale 0.50004...: 5964 x scale = 2982.26
    half.start();
    EXPECT_EQ(half.quarterMark(), 2982);
}

TEST(RaceGeometry, ClockRunsFasterInBetterRaces) {
    RaceTestDay t(seeded(1));
    t.day.card.raceGrade[2] = 6;
    RaceModel race(t.day);
    race.start();
    EXPECT_EQ(race.clockSpeed(), 1.065f);
    race.step();
    EXPECT_NEAR(race.raceClock(), 8 * 1.065 * 3.1027, 1e-3);
}

// ---- One pass ---------------------------------------------------------------------------------

TEST(RacePass, AnEntryWithNothingAheadTakesItsFullSteps) {
    // h = 0, r10 = 5, then r100 = 99 for everyone (far outside every band: k = 10).
    RaceTestDay t(scripted({0.01, 0.5, 0.99}));
    RaceModel race(t.day);
    race.start();
    parkAll(race);
    race.placeEntry(0, 1000, 0);
    race.step();
    // Base: Int(1.5 x 6) + 5 = 14; inner: round(0.4 x 6 + 0.4 x 5) = 4.
    EXPECT_EQ(race.position(0), 1018);
    EXPECT_EQ(race.lane(0), 0);
}

TEST(RacePass, AnEntryInsideItsBandTakesHalfAnInnerStep) {
    // r100 = 6 equals the rating: inside any band above 0, so k = 20.
    RaceTestDay t(scripted({0.01, 0.5, 0.065}));
    RaceModel race(t.day);
    race.start();
    parkAll(race);
    race.placeEntry(0, 1000, 0);
    race.placeEntry(7, 1000, 7);
    race.step();
    EXPECT_EQ(race.position(0), 1000 + 14 + 2);
    EXPECT_EQ(race.position(7), 1000 + 2);
}

TEST(RacePass, TurnsCostTheOuterLanesGround) {
    RaceTestDay t(scripted({0.99, 0.99}));
    // h = 7, r10 = 9, r100 = 99: inner step round(0.4 x 15) = 6 for everyone; base step of 7 is 18.
    RaceModel race(t.day);
    race.start();
    parkAll(race);
    for (int lane = 0; lane <= 4; ++lane)
        race.placeEntry(lane, 11000 + 200 * lane, lane); // all inside turn one
    race.placeEntry(5, 20075, 5);                        // first unit of turn two
    race.placeEntry(6, 12496, 6);                        // just past turn one
    race.step();
    EXPECT_EQ(race.position(0) - 11000, 6);
    EXPECT_EQ(race.position(1) - 11200, 5); // floor(6 x 0.97)
    EXPECT_EQ(race.position(2) - 11400, 5); // floor(5.64)
    EXPECT_EQ(race.position(3) - 11600, 5); // floor(5.46)
    EXPECT_EQ(race.position(4) - 11800, 5); // floor(5.28)
    EXPECT_EQ(race.position(5) - 20075, 5); // lane 5 pays as lane 4
    EXPECT_EQ(race.position(6) - 12496, 6);
}

TEST(RacePass, TheFirstOfTwoCrossingInOnePassIsTheFirstInTheInnerOrder) {
    for (int h : {1, 3}) {
        // h, then r10 = 0, r100 = 99: every inner step is round(0.4 x 6) = 2.
        RaceTestDay t(scripted({(h + 0.5) / 8.0, 0.0, 0.99}));
        RaceModel race(t.day);
        race.start();
        parkAll(race);
        race.placeEntry(2, race.finishLine() - 2, 2); // lands exactly on the line
        race.placeEntry(5, race.finishLine() - 1, 5); // lands one unit past it
        race.step();
        const RaceResult& r = t.day.result;
        SCOPED_TRACE("h = " + std::to_string(h));
        if (h == 1) {
            // Inner order 1, 2, 3, 4, 5: entry 2 is placed first though less far past the line.
            EXPECT_EQ(r.finishOrder[0], 3);
            EXPECT_EQ(r.finishOrder[1], 6);
        } else {
            // Inner order 3, 4, 5, 6, 7, 0, 1, 2: now entry 5 comes first.
            EXPECT_EQ(r.finishOrder[0], 6);
            EXPECT_EQ(r.finishOrder[1], 3);
        }
        EXPECT_EQ(r.finishLengths[0], "- ");
        EXPECT_EQ(r.finishLengths[1], "ns");
        EXPECT_EQ(race.placedCount(), 2);
    }
}

TEST(RacePass, CrossingInTheBaseMovePlacesOnlyAtTheInnerMove) {
    RaceTestDay t(scripted({3.5 / 8.0, 0.0, 0.99}));
    Trace trace;
    RaceModel race(t.day, &trace);
    race.start();
    parkAll(race);
    race.placeEntry(3, race.finishLine() - 5, 3);
    trace.lines.clear();
    trace.keepLanes = false;
    race.step();
    // The base move of 9 takes entry 3 over the line on leg 2 (running right) ...
    ASSERT_GE(trace.lines.size(), 4u);
    EXPECT_EQ(trace.lines[0], "move 3 9 2");
    // ... but only its inner move, drawn straight to the right, places it.
    EXPECT_EQ(trace.lines[1], "move 3 2 2");
    EXPECT_EQ(trace.lines[2], "callhidden");
    EXPECT_EQ(trace.lines[3], "placed 3 1");
    EXPECT_EQ(trace.count("placed"), 1);
    EXPECT_EQ(race.position(3), race.finishLine() + 6);
    EXPECT_TRUE(race.finished(3));
    // Placed at the first inner move of the first pass: the clock had not run yet.
    EXPECT_EQ(t.day.result.finishTime[0], 0.0f);
}

TEST(RacePass, PlacedHorsesKeepGallopingAndAreNeverPlacedTwice) {
    RaceTestDay t(scripted({0.99, 0.0, 0.99}));
    RaceModel race(t.day);
    race.start();
    parkAll(race);
    race.placeEntry(4, race.finishLine() - 1, 4);
    race.step();
    const int32_t after = race.position(4);
    for (int i = 0; i < 10; ++i)
        race.step();
    EXPECT_GT(race.position(4), after);
    EXPECT_EQ(race.placedCount(), 1);
    EXPECT_EQ(t.day.result.finishOrder[0], 5);
    EXPECT_EQ(t.day.result.finishOrder[1], 0);
}

// ---- Calls ------------------------------------------------------------------------------------

TEST(RaceCalls, MarksRecordOrderMarginsAndTheLeadersFractionTime) {
    RaceTestDay t(scripted({0.99}));
    Trace trace;
    trace.keepLanes = false;
    RaceModel race(t.day, &trace);
    race.start();
    parkAll(race);
    holdR10AtZero(race);
    // Entry 1 reaches three quarters in the first pass, entry 6 a hundred passes later; both pass
    // the quarter and the half at once, in the inner order 7, 0, 1, ..., 6.
    race.placeEntry(1, race.threeQuarterMark() - 2, 1);
    race.placeEntry(6, race.threeQuarterMark() - 2 * 101, 6);
    race.step();
    const RaceResult& r = t.day.result;
    EXPECT_EQ(r.quarterPos[1], 1);
    EXPECT_EQ(r.halfPos[1], 1);
    EXPECT_EQ(r.halfLengths[1], "- ");
    EXPECT_EQ(r.threeQuarterPos[1], 1);
    EXPECT_EQ(r.threeQuarterLengths[1], "- ");
    EXPECT_EQ(r.quarterPos[6], 2);
    EXPECT_EQ(r.halfPos[6], 2);
    EXPECT_EQ(r.halfLengths[6], "ns"); // five inner moves later
    EXPECT_EQ(r.threeQuarterPos[6], 0);
    EXPECT_LT(trace.indexOf("call 0 1 1"), trace.indexOf("call 1 1 1"));
    EXPECT_LT(trace.indexOf("call 1 1 1"), trace.indexOf("call 2 1 1"));
    EXPECT_NE(trace.indexOf("fraction 2 " + r.fractionTimes[2]), trace.lines.size());

    for (int i = 0; i < 100; ++i)
        race.step();
    EXPECT_EQ(r.threeQuarterPos[6], 2);
    // 805 clock steps of 1.026 x 3.1027 ms: 2562 ms, just over a length.
    EXPECT_EQ(r.threeQuarterLengths[6], "1 ");
    EXPECT_EQ(trace.count("fraction"), 3);
}

TEST(RaceCalls, FractionTimeIsTheLeadersClockAsMinutesAndSeconds) {
    RaceTestDay t(scripted({0.99}));
    t.day.card.raceGrade[2] = 1; // clock steps of exactly 3.1027 ms
    RaceModel race(t.day);
    race.start();
    parkAll(race);
    holdR10AtZero(race);
    // Passed at the second inner move of pass 3000: 23993 clock steps of 3.1027 ms would be
    // 74.443 s, but the single-precision clock drops a little of each step once it is large.
    race.placeEntry(0, race.quarterMark() - 2 * 3000, 0);
    while (t.day.result.quarterPos[0] == 0)
        race.step();
    EXPECT_EQ(race.passes(), 3000);
    EXPECT_EQ(t.day.result.fractionTimes[0], "1:14.43");
}

// ---- Lane decisions ---------------------------------------------------------------------------

// Entry 0 at 10000 moving 10 (n = 10010, skill 0 looks 945 ahead) from lane `from`; one blocker
// per listed lane stands 800 + 10 t ahead of n, so the gap behind the blocker of lane t is 179 + 10 t.
struct LaneCase {
    const char* name;
    int from;
    int path;
    std::vector<int> blocked;
    int lane;    // where entry 0 ends up
    int gapLane; // whose gap it takes, or -1 for the full step
    bool allowed = true;
};

void PrintTo(const LaneCase& c, std::ostream* os) {
    *os << c.name;
}

class LaneDecisionTest : public ::testing::TestWithParam<LaneCase> {};

TEST_P(LaneDecisionTest, EndsInTheRightLaneWithTheRightStep) {
    const LaneCase& c = GetParam();
    RaceTestDay t(seeded(5));
    RaceModel race(t.day);
    race.start();
    parkAll(race);
    race.placeEntry(0, 10000, c.from);
    int blocker = 1;
    for (int lane : c.blocked)
        race.placeEntry(blocker++, 10810 + 10 * lane, lane);
    const int step = race.laneDecision(0, 10, c.allowed, c.path, 0);
    EXPECT_EQ(race.lane(0), c.lane);
    EXPECT_EQ(step, c.gapLane < 0 ? 10 : 179 + 10 * c.gapLane);
}

INSTANTIATE_TEST_SUITE_P(
    EveryPathAndLane, LaneDecisionTest,
    ::testing::Values(
        LaneCase{"NoChangeFree", 3, 0, {2, 4}, 3, -1, false},
        LaneCase{"NoChangeBlocked", 3, 0, {3}, 3, 3, false},
        // On the rail.
        LaneCase{"RailWideMovesOut", 0, 2, {}, 1, -1}, LaneCase{"RailWideStays", 0, 2, {1}, 0, -1},
        LaneCase{"RailWideBoxed", 0, 2, {1, 0}, 0, 0}, LaneCase{"RailInsideStays", 0, 0, {}, 0, -1},
        LaneCase{"RailMiddleSlipsOut", 0, 1, {0}, 1, -1},
        // Boxed on the rail the gap is taken before lane 1 is looked at.
        LaneCase{"RailInsideBoxed", 0, 0, {0, 1}, 0, 0},
        // Lanes 1..4, inside path: seeks the rail.
        LaneCase{"InsideMovesIn", 3, 0, {}, 2, -1}, LaneCase{"InsideStays", 3, 0, {2}, 3, -1},
        LaneCase{"InsideGoesOut", 3, 0, {2, 3}, 4, -1}, LaneCase{"InsideBoxed", 3, 0, {2, 3, 4}, 3, 3},
        // Middle path.
        LaneCase{"MiddleHolds", 3, 1, {}, 3, -1}, LaneCase{"MiddleGoesOut", 3, 1, {3}, 4, -1},
        LaneCase{"MiddleGoesIn", 3, 1, {3, 4}, 2, -1}, LaneCase{"MiddleBoxed", 3, 1, {3, 4, 2}, 3, 3},
        LaneCase{"MiddleFromOneToTwo", 1, 1, {}, 2, -1}, LaneCase{"MiddleStaysInOne", 1, 1, {2}, 1, -1},
        LaneCase{"MiddleBoxedInOne", 1, 1, {2, 1}, 1, 1},
        // Wide path.
        LaneCase{"WideMovesOut", 3, 2, {}, 4, -1}, LaneCase{"WideStays", 3, 2, {4}, 3, -1},
        LaneCase{"WideCutsIn", 3, 2, {4, 3}, 2, -1}, LaneCase{"WideBoxed", 3, 2, {4, 3, 2}, 3, 3},
        // Lane 5 and wider.
        LaneCase{"OutsideInsideMovesIn", 6, 0, {}, 5, -1}, LaneCase{"OutsideMiddleMovesIn", 6, 1, {}, 5, -1},
        LaneCase{"OutsideInsideStays", 6, 0, {5}, 6, -1}, LaneCase{"OutsideMiddleBoxed", 6, 1, {5, 6}, 6, 6},
        LaneCase{"WideSettlesInFive", 5, 2, {}, 5, -1}, LaneCase{"WideFromFiveToFour", 5, 2, {5}, 4, -1},
        // Boxed in lane 5 a wide runner takes the gap of lane 4, the last lane it looked at.
        LaneCase{"WideBoxedInFive", 5, 2, {5, 4}, 5, 4}, LaneCase{"WideComesInToFive", 6, 2, {}, 5, -1},
        LaneCase{"WideStaysInSix", 6, 2, {5}, 6, -1}, LaneCase{"WideGoesOutToSeven", 6, 2, {5, 6}, 7, -1},
        LaneCase{"WideBoxedInSix", 6, 2, {5, 6, 7}, 6, 7},
        // A boxed-in wide runner may reach lane 8, but there is no lane 9.
        LaneCase{"WideToLaneEight", 7, 2, {6, 7}, 8, -1}, LaneCase{"NoLaneNine", 8, 2, {7, 8}, 8, 8}),
    [](const ::testing::TestParamInfo<LaneCase>& info) { return std::string(info.param.name); });

// ---- LaneFree ---------------------------------------------------------------------------------

TEST(LaneFree, ReachDependsOnTheJockeysSkill) {
    RaceTestDay t(seeded(5));
    RaceModel race(t.day);
    race.start();
    parkAll(race);
    race.placeEntry(0, 10000, 3);
    const int n = 10010;
    struct Case {
        int skill;
        int reach;
    };
    for (Case c : {Case{0, 945}, Case{1, 787}, Case{2, 630}, Case{7, 630}, Case{-1, 630}}) {
        SCOPED_TRACE("skill " + std::to_string(c.skill));
        EXPECT_EQ(reachOf(c.skill), c.reach);
        race.placeEntry(1, n + c.reach, 3);
        EXPECT_FALSE(race.laneFree(0, 3, 10, c.skill));
        EXPECT_EQ(race.blocker(), 1);
        race.placeEntry(1, n + c.reach + 1, 3);
        EXPECT_TRUE(race.laneFree(0, 3, 10, c.skill));
    }
}

TEST(LaneFree, AnEntryAlongsideOccupiesItsBodyLength) {
    RaceTestDay t(seeded(5));
    RaceModel race(t.day);
    race.start();
    parkAll(race);
    race.placeEntry(0, 10000, 3);
    race.placeEntry(1, 10010, 3); // n at its very start
    EXPECT_FALSE(race.laneFree(0, 3, 10, 2));
    race.placeEntry(1, 10010 - BodyLength, 3); // n at its very end
    EXPECT_FALSE(race.laneFree(0, 3, 10, 2));
    race.placeEntry(1, 10010 - BodyLength - 1, 3);
    EXPECT_TRUE(race.laneFree(0, 3, 10, 2));
    // Other lanes and the entry itself never count.
    race.placeEntry(1, 10010, 4);
    EXPECT_TRUE(race.laneFree(0, 3, 10, 2));
}

TEST(LaneFree, OverlapStopsBehindTheFirstEntryAlongsideNotAnOldBlocker) {
    RaceTestDay t(seeded(5));
    RaceModel race(t.day);
    race.start();
    parkAll(race);
    race.placeEntry(0, 10000, 3);
    // An earlier check in another lane named entry 7, far ahead, as the blocker.
    race.placeEntry(7, 14000, 5);
    race.placeEntry(6, 13500, 5);
    EXPECT_FALSE(race.laneFree(6, 5, 10, 0));
    EXPECT_EQ(race.blocker(), 7);
    // Now two entries overlap entry 0's landing place in its own lane.
    race.placeEntry(4, 9700, 3);
    race.placeEntry(2, 9500, 3);
    EXPECT_EQ(race.laneDecision(0, 10, false, 0, 0), 9500 - 10631);
    EXPECT_EQ(race.blocker(), 2);
}

TEST(LaneFree, AnEntryAheadWithinReachWinsOverAnEarlierOverlap) {
    RaceTestDay t(seeded(5));
    RaceModel race(t.day);
    race.start();
    parkAll(race);
    race.placeEntry(0, 10000, 3);
    race.placeEntry(2, 9500, 3);  // overlapping, scanned first
    race.placeEntry(5, 10500, 3); // ahead within reach
    EXPECT_EQ(race.laneDecision(0, 10, false, 0, 0), 10500 - 10631);
    EXPECT_EQ(race.blocker(), 5);
}

// ---- Lane changes over whole races ------------------------------------------------------------

TEST(RaceLanes, LanesChangeOnlyInBaseMovesOnTicksDivisibleByFifteen) {
    int changes = 0;
    for (uint64_t seed = 1; seed <= 20; ++seed) {
        RaceTestDay t(seeded(seed));
        RaceModel race(t.day);
        race.start();
        std::array<int, FieldSize> before{};
        while (true) {
            for (int e = 0; e < FieldSize; ++e)
                before[static_cast<std::size_t>(e)] = race.lane(e);
            const bool more = race.step();
            int changed = 0;
            for (int e = 0; e < FieldSize; ++e) {
                const int was = before[static_cast<std::size_t>(e)];
                if (race.lane(e) == was)
                    continue;
                ++changed;
                EXPECT_EQ(std::abs(race.lane(e) - was), 1);
                EXPECT_LE(race.lane(e), MaxLane);
            }
            if (race.tick() % 15 != 0) {
                ASSERT_EQ(changed, 0) << "seed " << seed << " pass " << race.passes();
            }
            ASSERT_LE(changed, 1);
            changes += changed;
            if (!more)
                break;
        }
    }
    EXPECT_GT(changes, 20);
}

// ---- Photo flag -------------------------------------------------------------------------------

// With every draw 0.99 each unplaced entry but 7 moves 6 a pass; entry e set at finishLine - 6p
// is placed in pass p. Entry 7 starts far back and finishes last.
RaceResult finishAtPasses(const std::array<int, 7>& pass, bool& raised) {
    RaceTestDay t(scripted({0.99}));
    Trace trace;
    trace.keepLanes = false;
    RaceModel race(t.day, &trace);
    race.start();
    for (int e = 0; e < 7; ++e)
        race.placeEntry(e, race.finishLine() - 6 * pass[static_cast<std::size_t>(e)], e);
    race.placeEntry(7, 0, 7);
    for (int i = 0; i < 300; ++i)
        race.step();
    raised = trace.count("photo") > 0;
    EXPECT_EQ(trace.count("photo"), t.day.result.photoFinish ? 1 : 0);
    return t.day.result;
}

TEST(RacePhoto, AClose6thOrLaterRaisesNoPhoto) {
    bool raised = true;
    const RaceResult r = finishAtPasses({10, 50, 90, 130, 170, 171, 172}, raised);
    EXPECT_EQ(r.finishOrder[5], 6);
    EXPECT_LE(r.finishTime[5] - r.finishTime[4], 0.05f);
    EXPECT_FALSE(r.photoFinish);
    EXPECT_FALSE(raised);
}

TEST(RacePhoto, AClose2ndTo5thRaisesThePhoto) {
    for (int close = 1; close <= 4; ++close) {
        std::array<int, 7> pass = {10, 50, 90, 130, 170, 210, 250};
        pass[static_cast<std::size_t>(close)] =
            pass[static_cast<std::size_t>(close - 1)] + 17; // 0.42 s behind
        bool raised = false;
        const RaceResult r = finishAtPasses(pass, raised);
        SCOPED_TRACE("close place " + std::to_string(close + 1));
        EXPECT_TRUE(r.photoFinish);
        EXPECT_TRUE(raised);
    }
}

TEST(RacePhoto, HalfASecondBehindIsNoPhoto) {
    bool raised = true;
    const RaceResult r = finishAtPasses({10, 31, 90, 130, 170, 210, 250}, raised); // 0.52 s
    EXPECT_FALSE(r.photoFinish);
    EXPECT_FALSE(raised);
}

// ---- Whole races ------------------------------------------------------------------------------

// The whole result of a race in one line per finisher, then the fractions and the photo flag.
std::string chartOf(const RaceResult& r) {
    std::ostringstream out;
    for (std::size_t f = 0; f < FieldSize; ++f)
        out << int(r.finishOrder[f]) << ' ' << r.finishTime[f] << ' ' << r.finishLengths[f] << " | "
            << int(r.quarterPos[f]) << ' ' << int(r.halfPos[f]) << ' ' << r.halfLengths[f] << ' '
            << int(r.threeQuarterPos[f]) << ' ' << r.threeQuarterLengths[f] << ";\n";
    out << r.fractionTimes[0] << ' ' << r.fractionTimes[1] << ' ' << r.fractionTimes[2] << ' '
        << r.photoFinish;
    return out.str();
}

// One race pinned whole: a field whose ratings change from phase to phase, so running a phase on
// another phase's ratings, or any change to the draws, moves something below.
TEST(RaceRun, AFixedFieldAndSeedRunTheGoldenRace) {
    RaceTestDay t(seeded(42));
    for (std::size_t e = 0; e < FieldSize; ++e)
        for (std::size_t k = 0; k < 5; ++k)
            t.day.entries.segmentRating[e][k] = static_cast<int32_t>(4 + (3 * e + 2 * k) % 5);
    RaceModel race(t.day);
    race.runToEnd();
    EXPECT_EQ(chartOf(t.day.result), R"(4 133.85 -  | 8 7 4  3 3 ;
8 134.53  ½ | 3 5 3  5 4 ;
5 134.65  ½ | 6 4 3  8 6 ;
7 134.93  ½ | 1 1 -  1 - ;
1 135.32  ¾ | 4 2  ¼ 2 1 ;
2 137.1 1  | 7 8 4  6 4 ;
3 141.28 3  | 2 6 3  4 3 ;
6 142.01 3  | 5 3 2  7 4 ;
0:22.67 0:49.22 1:15.14 1)");

    // Another seed runs another race over the same field.
    RaceTestDay other(seeded(43));
    other.day.entries.segmentRating = t.day.entries.segmentRating;
    RaceModel(other.day).runToEnd();
    EXPECT_NE(chartOf(other.day.result), chartOf(t.day.result));
}

TEST(RaceRun, ARaceLeavesACompleteConsistentResult) {
    RaceTestDay t(seeded(7));
    Trace trace;
    trace.keepLanes = false;
    RaceModel race(t.day, &trace);
    race.runToEnd();
    const RaceResult& r = t.day.result;
    EXPECT_TRUE(r.complete);
    std::array<int, FieldSize + 1> seenPost{};
    for (int f = 0; f < FieldSize; ++f)
        ++seenPost[r.finishOrder[static_cast<std::size_t>(f)]];
    for (int post = 1; post <= FieldSize; ++post)
        EXPECT_EQ(seenPost[static_cast<std::size_t>(post)], 1);
    for (int f = 1; f < FieldSize; ++f)
        EXPECT_GE(r.finishTime[static_cast<std::size_t>(f)], r.finishTime[static_cast<std::size_t>(f - 1)]);
    std::array<int, FieldSize + 1> seenCall{};
    for (int e = 0; e < FieldSize; ++e)
        ++seenCall[r.threeQuarterPos[static_cast<std::size_t>(e)]];
    for (int c = 1; c <= FieldSize; ++c)
        EXPECT_EQ(seenCall[static_cast<std::size_t>(c)], 1);
    EXPECT_EQ(trace.count("end"), 1);
    EXPECT_EQ(trace.count("finishline"), 1);
    EXPECT_EQ(trace.count("fraction"), 3);
    EXPECT_EQ(trace.count("placed"), 8);
    EXPECT_EQ(trace.lines.back(), "end");
    // Phases advance every 1096 passes up to phase 4 and are told once each.
    EXPECT_EQ(trace.count("phase"), std::min(4, race.passes() / 1096));
    EXPECT_FALSE(race.step());
    EXPECT_EQ(trace.count("end"), 1);
}

TEST(RaceRun, GallopIsToldOnEveryEighthTick) {
    RaceTestDay t(seeded(9));
    Trace trace;
    trace.keepLanes = false;
    RaceModel race(t.day, &trace);
    race.start();
    for (int i = 0; i < 80; ++i)
        race.step();
    EXPECT_EQ(trace.count("gallop"), 10);
}

TEST(RaceRun, EveryMoveIsToldSignedForItsLeg) {
    class Mirror final : public RaceObserver {
    public:
        void entryMoved(int e, int dx, int leg) override {
            left[static_cast<std::size_t>(e)] += dx;
            EXPECT_GE(leg, 0);
            EXPECT_LE(leg, 3);
        }
        std::array<int64_t, FieldSize> left{};
    } mirror;
    RaceTestDay t(seeded(11));
    RaceModel race(t.day, &mirror);
    race.start();
    // Until anyone reaches leg 1 the picture follows the position exactly.
    while (race.step()) {
        bool allOnLegZero = true;
        for (int e = 0; e < FieldSize; ++e)
            allOnLegZero = allOnLegZero && race.leg(e) == 0;
        if (!allOnLegZero)
            break;
        for (int e = 0; e < FieldSize; ++e)
            ASSERT_EQ(mirror.left[static_cast<std::size_t>(e)], race.position(e));
    }
    EXPECT_GT(race.passes(), 1000);
}

TEST(RaceRun, CorruptRatingsStillFinish) {
    for (int rating : {0, -5, -30000, 30000}) {
        RaceTestDay t(seeded(static_cast<uint64_t>(rating + 40000)));
        for (int e = 0; e < FieldSize; ++e)
            for (std::size_t k = 0; k < 5; ++k)
                t.day.entries.segmentRating[static_cast<std::size_t>(e)][k] = e % 2 == 0 ? rating : 6;
        t.day.pools.consistencyBand = {};
        RaceModel race(t.day);
        race.runToEnd();
        SCOPED_TRACE("rating " + std::to_string(rating));
        EXPECT_TRUE(t.day.result.complete);
        EXPECT_EQ(race.placedCount(), 8);
    }
}

TEST(RaceRun, AFieldThatCannotMoveFinishesAfterTheStallLimit) {
    // Every draw 0: r10 = 0 and r100 = 0, and a rating of 0 gives steps of 0 everywhere.
    RaceTestDay t(scripted({0.0}));
    for (auto& ratings : t.day.entries.segmentRating)
        ratings = {};
    RaceModel race(t.day);
    race.runToEnd();
    EXPECT_TRUE(t.day.result.complete);
    EXPECT_GT(race.passes(), RaceModel::StallPasses);
}

TEST(RaceRun, AnOrderOnlyRaceFinishesInTheFullRacesOrderWithoutAChart) {
    for (uint64_t seed : {3u, 17u, 29u, 41u}) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        RaceTestDay full(seeded(seed));
        RaceTestDay bare(seeded(seed));
        for (RaceTestDay* t : {&full, &bare})
            for (int e = 0; e < FieldSize; ++e)
                t->day.entries.segmentRating[static_cast<std::size_t>(e)] = {20 + e, 60 - 5 * e, 40,
                                                                             30 + 3 * e, 50};
        RaceModel fullRace(full.day);
        RaceModel bareRace(bare.day);
        bareRace.keepOrderOnly(true);
        fullRace.runToEnd();
        bareRace.runToEnd();
        EXPECT_EQ(bare.day.result.finishOrder, full.day.result.finishOrder);
        EXPECT_EQ(bareRace.passes(), fullRace.passes());
        EXPECT_EQ(bare.day.result.quarterPos, decltype(bare.day.result.quarterPos){});
        EXPECT_EQ(bare.day.result.finishTime[0], 0.0f);
        EXPECT_GT(full.day.result.finishTime[0], 0.0f);
    }
}

} // namespace
} // namespace sw
