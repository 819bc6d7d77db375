#include "race/RaceModel.h"
#include "RaceTestDay.h"
#include "race/MarginText.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <ranges>
#include <string>
#include <vector>

namespace sw {
namespace {

using test::RaceTestDay;
using test::scripted;
using test::seeded;

// Keeps what the race tells: each notification but the lane reports as a line, counted by kind;
// the last lane and leg told per entry, as a picture would follow them.
class Trace final : public RaceObserver {
public:
    void raceStarted() override { add("start"); }
    void entryMoved(int e, int dx, int l) override {
        add("move", e, dx, leg[static_cast<std::size_t>(e)] = l);
    }
    void laneSet(int e, int, int l) override { lane[static_cast<std::size_t>(e)] = l; }
    void phaseChanged(int phase) override { add("phase", phase); }
    void gallop() override { add("gallop"); }
    void callPassed(int mark, int e, int count) override { add("call", mark, e, count); }
    void fractionTime(int mark, std::string_view text) override {
        add("fraction", mark);
        lines.back() += " " + std::string(text);
    }
    void finishLineShown() override { add("finishline"); }
    void callHidden() override { add("callhidden"); }
    void entryPlaced(int e, int place) override { add("placed", e, place); }
    void photoFinishRaised() override { add("photo"); }
    void raceEnded() override { add("end"); }

    std::vector<std::string> lines;
    std::map<std::string, int> count;
    std::array<int, FieldSize> lane{}, leg{};

private:
    template <typename... V> void add(std::string line, V... v) {
        ++count[line];
        ((line += " " + std::to_string(v)), ...);
        lines.push_back(std::move(line));
    }
};

// A started race whose entries are all parked far behind the start, each in its own lane, where
// they neither block nor are blocked: a test sets up only the entries it looks at.
struct Parked {
    explicit Parked(std::unique_ptr<Random> rnd) : t(std::move(rnd)), race(t.day, &trace) {
        race.start();
        for (int e = 0; e < FieldSize; ++e)
            race.placeEntry(e, -50000 - 1000 * e, e);
        trace = {};
    }

    RaceTestDay t;
    Trace trace;
    RaceModel race;
};

TEST(RacePass, CrossingInTheBaseMovePlacesOnlyAtTheInnerMoveAndPlacedHorsesGallopOn) {
    Parked p(scripted({3.5 / 8.0, 0.0, 0.99}));
    p.race.placeEntry(3, p.race.finishLine() - 5, 3);
    p.race.step();
    // The base move of 9 takes entry 3 over the line on leg 2 (running right), but only its inner
    // move, drawn straight to the right, places it.
    ASSERT_GE(p.trace.lines.size(), 4u);
    EXPECT_EQ(std::vector(p.trace.lines.begin(), p.trace.lines.begin() + 4),
              (std::vector<std::string>{"move 3 9 2", "move 3 2 2", "callhidden", "placed 3 1"}));
    EXPECT_EQ(p.race.position(3), p.race.finishLine() + 6);
    EXPECT_TRUE(p.race.finished(3));
    // Placed at the first inner move of the first pass: the clock had not run yet.
    EXPECT_EQ(p.t.day.result.finishTime[0], 0.0f);
    // Then every draw is 0.99: r10 = 9 and inner steps of round(0.4 x 15) = 6, even past the line.
    for (int i = 0; i < 10; ++i)
        p.race.step();
    EXPECT_EQ(p.race.position(3), p.race.finishLine() + 6 + 10 * 6);
    EXPECT_EQ(std::pair(p.trace.count["placed"], p.race.placedCount()), std::pair(1, 1));
}

TEST(MarginText, EachBandIncludesItsUpperBoundAndWholeLengthsAreFloored) {
    // Fractions of a length have a leading blank, whole lengths below ten a trailing one.
    const std::pair<float, const char*> cases[] = {
        {148.0f, "ns"},       {148.5f, "nk"},       {296.0f, "nk"},       {296.5f, "hd"},
        {444.0f, "hd"},       {444.5f, " \u00BC"},  {592.0f, " \u00BC"},  {592.5f, " \u00BD"},
        {1184.0f, " \u00BD"}, {1184.5f, " \u00BE"}, {1776.0f, " \u00BE"}, {1776.5f, "1 "},
        {4735.0f, "1 "},      {4736.0f, "2 "},      {23679.0f, "9 "},     {23680.0f, "10"}};
    for (const auto& [gap, text] : cases)
        EXPECT_EQ(marginText(gap), text) << gap;
}

TEST(LaneDecision, EveryPathAndLaneEndsInTheRightLaneWithTheRightStep) {
    // Entry 0 at 10000 moving 10 (n = 10010, skill 0 looks 945 ahead) from lane `from` on `path`
    // (0 inside, 1 middle, 2 wide); one blocker per listed lane stands 800 + 10 t ahead of n, so the
    // gap behind the blocker of lane t is 179 + 10 t. The first two may not change lanes. Boxed on
    // the rail, the gap is taken before lane 1 is looked at; boxed in lane 5 a wide runner takes the
    // gap of lane 4, the last it looked at; a boxed-in wide runner may reach lane 8, never lane 9.
    struct Case {
        int from, path;
        std::string_view blocked;
        int lane;    // where entry 0 ends up
        int gapLane; // whose gap it takes, or -1 for the full step
        bool allowed = true;
    };
    const Case cases[] = {
        {3, 0, "24", 3, -1, false}, {3, 0, "3", 3, 3, false}, {0, 2, "", 1, -1},   {0, 2, "1", 0, -1},
        {0, 2, "10", 0, 0},         {0, 0, "", 0, -1},        {0, 1, "0", 1, -1},  {0, 0, "01", 0, 0},
        {3, 0, "", 2, -1},          {3, 0, "2", 3, -1},       {3, 0, "23", 4, -1}, {3, 0, "234", 3, 3},
        {3, 1, "", 3, -1},          {3, 1, "3", 4, -1},       {3, 1, "34", 2, -1}, {3, 1, "342", 3, 3},
        {1, 1, "", 2, -1},          {1, 1, "2", 1, -1},       {1, 1, "21", 1, 1},  {3, 2, "", 4, -1},
        {3, 2, "4", 3, -1},         {3, 2, "43", 2, -1},      {3, 2, "432", 3, 3}, {6, 0, "", 5, -1},
        {6, 0, "5", 6, -1},         {6, 1, "56", 6, 6},       {5, 2, "", 5, -1},   {5, 2, "5", 4, -1},
        {5, 2, "54", 5, 4},         {6, 2, "", 5, -1},        {6, 2, "5", 6, -1},  {6, 2, "56", 7, -1},
        {6, 2, "567", 6, 7},        {7, 2, "67", 8, -1},      {8, 2, "78", 8, 8}};
    for (const Case& c : cases) {
        SCOPED_TRACE(&c - cases);
        Parked p(seeded(5));
        p.race.placeEntry(0, 10000, c.from);
        int blocker = 1;
        for (char lane : c.blocked)
            p.race.placeEntry(blocker++, 10810 + 10 * (lane - '0'), lane - '0');
        const int step = p.race.laneDecision(0, 10, c.allowed, c.path, 0);
        EXPECT_EQ(p.race.lane(0), c.lane);
        EXPECT_EQ(step, c.gapLane < 0 ? 10 : 179 + 10 * c.gapLane);
    }
}

TEST(LaneFree, ReachDependsOnSkillAnEntryAlongsideBlocksAndTheNearestBlockerIsNamed) {
    Parked p(seeded(5));
    p.race.placeEntry(0, 10000, 3); // moving 10: n = 10010
    for (const auto& [skill, reach] : {std::pair{0, 945}, {1, 787}, {2, 630}, {-1, 630}}) {
        SCOPED_TRACE(skill);
        EXPECT_EQ(reachOf(skill), reach);
        p.race.placeEntry(1, 10010 + reach, 3);
        EXPECT_FALSE(p.race.laneFree(0, 3, 10, skill));
        EXPECT_EQ(p.race.blocker(), 1);
        p.race.placeEntry(1, 10010 + reach + 1, 3);
        EXPECT_TRUE(p.race.laneFree(0, 3, 10, skill));
    }
    // Alongside from n at its very start to n at its very end; other lanes never count.
    for (const auto& [at, lane, free] : {std::tuple{10010, 3, false},
                                         {10010 - BodyLength, 3, false},
                                         {10010 - BodyLength - 1, 3, true},
                                         {10010, 4, true}}) {
        p.race.placeEntry(1, at, lane);
        EXPECT_EQ(p.race.laneFree(0, 3, 10, 2), free) << at << " in lane " << lane;
    }
    p.race.placeEntry(1, -51000, 1);
    // An earlier check in another lane named entry 7, far ahead, as the blocker.
    p.race.placeEntry(7, 14000, 5);
    p.race.placeEntry(6, 13500, 5);
    EXPECT_FALSE(p.race.laneFree(6, 5, 10, 0));
    EXPECT_EQ(p.race.blocker(), 7);
    // Two entries overlap entry 0's landing place in its own lane: it stops behind the first.
    p.race.placeEntry(4, 9700, 3);
    p.race.placeEntry(2, 9500, 3);
    EXPECT_EQ(p.race.laneDecision(0, 10, false, 0, 0), 9500 - 10631);
    EXPECT_EQ(p.race.blocker(), 2);
    // One ahead within reach counts though the overlap was scanned first.
    p.race.placeEntry(4, -50000, 4);
    p.race.placeEntry(5, 10500, 3);
    EXPECT_EQ(p.race.laneDecision(0, 10, false, 0, 0), 10500 - 10631);
    EXPECT_EQ(p.race.blocker(), 5);
}

// Each seed runs a field whose ratings differ by entry and phase twice: told step by step, and for
// the order only, which must finish in the same order without the chart.
TEST(RaceRun, WholeRacesAreToldAsTheyRunAndAnOrderOnlyRaceFinishesInTheSameOrder) {
    int laneChanges = 0;
    for (uint64_t seed = 1; seed <= 20; ++seed) {
        SCOPED_TRACE(seed);
        RaceTestDay t(seeded(seed)), bare(seeded(seed));
        for (RaceTestDay* d : {&t, &bare})
            for (int e = 0; e < FieldSize; ++e)
                d->day.entries.segmentRating[static_cast<std::size_t>(e)] = {20 + e, 60 - 5 * e, 40,
                                                                             30 + 3 * e, 50};
        Trace trace;
        RaceModel race(t.day, &trace);
        race.start();
        int gallops = 0; // one a pass whose tick is divisible by eight
        for (bool more = true; more;) {
            std::array<int, FieldSize> before{};
            for (int e = 0; e < FieldSize; ++e)
                before[static_cast<std::size_t>(e)] = race.lane(e);
            more = race.step();
            gallops += race.tick() % 8 == 0;
            // Lanes change one at a time, only in base moves on ticks divisible by fifteen.
            int changed = 0;
            for (int e = 0; e < FieldSize; ++e) {
                const auto ei = static_cast<std::size_t>(e);
                changed += race.lane(e) != before[ei];
                ASSERT_LE(std::abs(race.lane(e) - before[ei]), 1);
                ASSERT_EQ(trace.lane[ei], race.lane(e));
                ASSERT_EQ(trace.leg[ei], std::clamp(race.position(e) / race.legLength(), 0, 3));
            }
            ASSERT_LE(changed, race.tick() % 15 == 0 ? 1 : 0) << "pass " << race.passes();
            laneChanges += changed;
        }
        const RaceResult& r = t.day.result;
        EXPECT_TRUE(r.complete);
        EXPECT_TRUE(std::ranges::is_sorted(r.finishTime));
        EXPECT_TRUE(std::ranges::is_permutation(r.finishOrder, std::array{1, 2, 3, 4, 5, 6, 7, 8}));
        EXPECT_TRUE(std::ranges::is_permutation(r.threeQuarterPos, r.finishOrder));
        // Phases advance every 1096 passes up to phase 4 and are told once each.
        EXPECT_EQ((std::array{trace.count["finishline"], trace.count["fraction"], trace.count["placed"],
                              trace.count["phase"], trace.count["gallop"]}),
                  (std::array{1, 3, 8, std::min(4, race.passes() / 1096), gallops}));
        EXPECT_EQ(trace.lines.back(), "end");
        EXPECT_FALSE(race.step());
        EXPECT_EQ(trace.count["end"], 1);

        RaceModel bareRace(bare.day);
        bareRace.keepOrderOnly(true);
        bareRace.runToEnd();
        EXPECT_EQ(bare.day.result.finishOrder, r.finishOrder);
        EXPECT_EQ(bareRace.passes(), race.passes());
        EXPECT_EQ(bare.day.result.quarterPos, decltype(r.quarterPos){});
        EXPECT_EQ(bare.day.result.finishTime[0], 0.0f);
    }
    EXPECT_GT(laneChanges, 20);
}

// The chances run a race straight through with what it needs held in registers; it must stand
// exactly as the same race stepped pass by pass with everything kept, whatever is placed so far.
TEST(RaceRun, ARaceRunForItsOrderStandsAsTheSameRaceSteppedWithEverythingKept) {
    for (const auto& [seed, trackWidth] : {std::pair{3, DesignTrackWidth}, std::pair{11, DesignTrackWidth},
                                           std::pair{29, DesignTrackWidth}, std::pair{7, 500}}) {
        RaceTestDay run(seeded(static_cast<uint64_t>(seed))), stepped(seeded(static_cast<uint64_t>(seed)));
        for (RaceTestDay* t : {&run, &stepped})
            for (std::size_t e = 0; e < FieldSize; ++e)
                t->day.entries.segmentRating[e] = {4 + static_cast<int>(e), 9, 3 + static_cast<int>(e % 4), 7,
                                                   12};
        RaceModel simulated(run.day, nullptr, trackWidth), full(stepped.day, nullptr, trackWidth);
        simulated.keepOrderOnly(true);
        simulated.start();
        full.start();
        for (int places = 1; places <= FieldSize; ++places) {
            EXPECT_EQ(simulated.runUntilPlaced(places), full.runUntilPlaced(places));
            ASSERT_EQ(simulated.passes(), full.passes()) << seed << " " << places;
            for (int e = 0; e < FieldSize; ++e)
                ASSERT_EQ(std::pair(simulated.position(e), simulated.lane(e)),
                          std::pair(full.position(e), full.lane(e)))
                    << seed << " " << places << " " << e;
        }
        EXPECT_EQ(run.day.result.finishOrder, stepped.day.result.finishOrder);
        EXPECT_EQ(run.random->uniform(), stepped.random->uniform());
    }
}

TEST(RaceRun, CorruptRatingsAndAFieldThatCannotMoveStillFinish) {
    for (int rating : {0, -5, -30000, 30000}) {
        RaceTestDay t(seeded(static_cast<uint64_t>(rating + 40000)));
        for (std::size_t e = 0; e < FieldSize; ++e)
            t.day.entries.segmentRating[e].fill(e % 2 == 0 ? rating : 6);
        t.day.pools.consistencyBand = {};
        RaceModel race(t.day);
        race.runToEnd();
        EXPECT_TRUE(t.day.result.complete) << rating;
        EXPECT_EQ(race.placedCount(), 8) << rating;
    }
    // Every draw 0: r10 = 0 and r100 = 0, and a rating of 0 gives steps of 0 everywhere.
    RaceTestDay t(scripted({0.0}));
    for (auto& ratings : t.day.entries.segmentRating)
        ratings = {};
    RaceModel race(t.day);
    race.runToEnd();
    EXPECT_TRUE(t.day.result.complete);
    EXPECT_GT(race.passes(), RaceModel::StallPasses);
}

} // namespace
} // namespace sw
