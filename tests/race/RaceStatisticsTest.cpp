// The true chances: many races at once, counted the same way however they are split.

#include "RaceTestDay.h"
#include "race/Chances.h"
#include "race/RaceModel.h"

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <set>
#include <thread>
#include <tuple>

namespace sw {
namespace {

using test::RaceTestDay;
using test::seeded;

TEST(Chances, ASeedGivesTheSameCountsWhateverTheThreadsAndBatchesAndLeavesTheDayAlone) {
    RaceTestDay t(seeded(5));
    SeededRandom untouched(5);
    t.day.result.finishOrder[0] = 4;
    const ChanceField field = chanceFieldOf(t.day, 3);
    // One thread in one run against two threads in batches of 50.
    ChanceSimulation whole(field, ChanceSimulation::DefaultSeed, 1), otherSeed(field, 78, 2);
    ASSERT_TRUE(whole.run(120) && otherSeed.run(120));
    ChanceRunner runner(field, 120, {.batch = 50, .threads = 2});
    while (!runner.finished())
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    EXPECT_EQ(runner.latest().races, 120);
    for (std::size_t e = 0; e < FieldSize; ++e)
        EXPECT_EQ(runner.latest().entries[e].wins, whole.wins()[e]) << e;
    EXPECT_NE(whole.wins(), otherSeed.wins());
    // The day's generator and result are the day's own.
    EXPECT_EQ(t.random->uniform(), untouched.uniform());
    EXPECT_EQ(std::pair(int(t.day.result.finishOrder[0]), t.day.result.complete), std::pair(4, false));
}

// A field's counts are fixed by its runners and the seed: the cache runs each field once for every
// asker, whatever the race number or the tote's odds. It keeps each race's first four, whose first
// three are those of the races counted to three places.
TEST(Chances, TheCacheRunsAFieldOnceForEveryAsker) {
    RaceTestDay t(seeded(5));
    const ChanceField field = chanceFieldOf(t.day, 3);
    ChanceSimulation fresh(field, ChanceSimulation::DefaultSeed, 2);
    ASSERT_TRUE(fresh.run(150));
    ChanceCache cache;
    const ChanceCounts ordered = cache.counts(field, 150);
    ASSERT_EQ(ordered.orders.size(), 150u);
    std::array<int, FieldSize> wins{};
    for (const auto& order : ordered.orders) {
        EXPECT_EQ(std::set<int>(order.begin(), order.end()).size(), 4u);
        ++wins[static_cast<std::size_t>(order[0] - 1)];
    }
    EXPECT_EQ(std::tuple(wins, ordered.wins, ordered.topThree),
              std::tuple(fresh.wins(), fresh.wins(), fresh.topThree()));
    ChanceField again = field;
    again.race = 7;
    again.toteOdds[0] = 42.0f;
    const ChanceEstimate shown = cache.estimate(again, 150);
    ChanceRunner runner(field, 150, {.cache = &cache});
    EXPECT_EQ(std::tuple(cache.simulated(), shown.race, shown.entries[0].toteOdds, shown.entries[0].wins,
                         runner.finished(), runner.progress(), runner.latest().entries[3].wins),
              std::tuple(1, 7, 42.0f, fresh.wins()[0], true, 150, fresh.wins()[3]));
    // Another count of races, or another horse's rating, is another run.
    ChanceField other = field;
    other.segmentRating[2][1] += 3;
    cache.counts(other, 150);
    cache.counts(field, 120);
    EXPECT_EQ(cache.simulated(), 3);
    // A window's run that completes is kept for the next asker.
    ChanceRunner first(other, 60, {.batch = 25, .threads = 1, .lowPriority = true, .cache = &cache});
    while (!first.finished())
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    const std::optional<ChanceCounts> kept = cache.find(other, 60);
    ASSERT_TRUE(kept);
    for (std::size_t e = 0; e < FieldSize; ++e)
        EXPECT_EQ(kept->wins[e], first.latest().entries[e].wins) << e;
}

TEST(Chances, SharesAddUpTheBestEntryLeadsAndValueIsWhereTheTotePaysMore) {
    RaceTestDay t(seeded(3));
    const std::size_t best = 4, hopeless = 0, middling = 6, unbacked = 2;
    t.day.entries.segmentRating[best].fill(9);     // clearly the best
    t.day.entries.segmentRating[hopeless].fill(0); // never gets there first
    t.day.pools.winOdds[best] = 60.0f;             // the public missed it
    t.day.pools.winOdds[hopeless] = 50.0f;         // no price is fair for a horse that never wins
    t.day.pools.winOdds[middling] = 0.0f;          // nobody bet it
    t.day.pools.winOdds[unbacked] = 9999.0f;       // next to nothing on it
    ChanceSimulation simulation(chanceFieldOf(t.day, 3), ChanceSimulation::DefaultSeed, 2);
    ASSERT_TRUE(simulation.run(300));
    const ChanceEstimate estimate = simulation.estimate();
    ASSERT_EQ(estimate.races, 300);

    double win = 0, topThree = 0;
    for (const EntryChance& e : estimate.entries) {
        win += e.win;
        topThree += e.topThreeShare;
        EXPECT_LE(e.win, estimate.entries[best].win);
        EXPECT_LE(e.topThreeShare, estimate.entries[best].topThreeShare);
        EXPECT_TRUE(e.winRange.low <= e.win && e.win <= e.winRange.high);
        EXPECT_TRUE(e.topThreeRange.low <= e.topThreeShare && e.topThreeShare <= e.topThreeRange.high);
    }
    EXPECT_NEAR(win, 1.0, 1e-9);
    EXPECT_NEAR(topThree, 3.0, 1e-9);

    // Value only where the tote pays more than the fair odds; no fair price for a horse that never wins,
    // though its chance is not shown as nil. Long odds read in whole numbers, at most 99-1.
    const auto rows = chanceRows(estimate);
    EXPECT_EQ((std::array{rows[best].value, rows[hopeless].fairOdds, rows[hopeless].value, rows[hopeless].win,
                          rows[middling].toteOdds, rows[middling].value, rows[best].toteOdds,
                          rows[unbacked].toteOdds}),
              (std::array<std::string, 8>{"value", "-", "", "0.0% (0.0-1.3)", "-", "", "60-1", "99-1"}));

    // The value mark needs the whole interval to beat the tote: tote odds between the fair odds of the
    // figure and those of the interval's low end are no value.
    RaceTestDay plain(seeded(3)); // a field without a sure winner
    ChanceSimulation first(chanceFieldOf(plain.day, 3), ChanceSimulation::DefaultSeed, 2);
    ASSERT_TRUE(first.run(300));
    const ChanceEstimate spread = first.estimate();
    std::size_t leader = 0;
    for (std::size_t e = 0; e < FieldSize; ++e)
        if (spread.entries[e].wins > spread.entries[leader].wins)
            leader = e;
    const EntryChance& runner = spread.entries[leader];
    ASSERT_GT(runner.winRange.low, 0.0);
    const double lowFair = (1 - runner.winRange.low) / runner.winRange.low;
    for (const auto& [odds, value] :
         {std::pair((runner.fairOdds + lowFair) / 2, false), std::pair(lowFair + 0.5, true)}) {
        plain.day.pools.winOdds[leader] = static_cast<float>(odds);
        ChanceSimulation again(chanceFieldOf(plain.day, 3), ChanceSimulation::DefaultSeed, 2);
        ASSERT_TRUE(again.run(300));
        EXPECT_EQ(again.estimate().entries[leader].value, value) << odds;
    }
}

// Wilson's 95 % score interval: never outside 0..1, and never a point where the races saw no win
// (or nothing else).
TEST(Chances, AShareCarriesItsNinetyFivePercentInterval) {
    struct Case {
        int hits, races;
        double low, high;
    };
    for (const Case& c :
         {Case{0, 100, 0.0, 0.036993}, Case{50, 100, 0.403832, 0.596168}, Case{100, 100, 0.963007, 1.0},
          Case{1, 10, 0.017876, 0.404150}, Case{214, 1000, 0.189700, 0.240489}, Case{0, 10000, 0.0, 0.000384},
          Case{0, 0, 0.0, 1.0}}) {
        const ChanceInterval range = wilsonInterval(c.hits, c.races);
        EXPECT_NEAR(range.low, c.low, 1e-6) << c.hits << "/" << c.races;
        EXPECT_NEAR(range.high, c.high, 1e-6) << c.hits << "/" << c.races;
    }
    // Shown to tenths of a point, but a top below a tenth keeps its first digit.
    ChanceEstimate estimate;
    estimate.races = 10000;
    for (int wins : {0, 1, 5, 2140}) {
        EntryChance& entry = estimate.entries[static_cast<std::size_t>(wins % FieldSize)];
        entry.win = wins / 10000.0;
        entry.winRange = wilsonInterval(wins, 10000);
    }
    const auto rows = chanceRows(estimate);
    EXPECT_EQ((std::array{rows[0].win, rows[1].win, rows[5].win, rows[2140 % FieldSize].win}),
              (std::array<std::string, 4>{"0.0% (0.0-0.04)", "0.0% (0.0-0.06)", "0.1% (0.0-0.1)",
                                          "21.4% (20.6-22.2)"}));
}

} // namespace
} // namespace sw
