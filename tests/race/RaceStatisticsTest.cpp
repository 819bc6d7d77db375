// The true chances: many races at once, counted the same way however they are split.

#include "RaceTestDay.h"
#include "race/Chances.h"
#include "race/RaceModel.h"

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <cmath>
#include <thread>

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
    ChanceRunner runner(field, 120, 50, 2);
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

TEST(Chances, SharesAddUpTheBestEntryLeadsAndValueIsWhereTheTotePaysMore) {
    RaceTestDay t(seeded(3));
    const std::size_t best = 4, hopeless = 0, middling = 6;
    t.day.entries.segmentRating[best].fill(9);     // clearly the best
    t.day.entries.segmentRating[hopeless].fill(0); // never gets there first
    t.day.pools.winOdds[best] = 60.0f;             // the public missed it
    t.day.pools.winOdds[hopeless] = 50.0f;         // no price is fair for a horse that never wins
    t.day.pools.winOdds[middling] = 0.0f;          // nobody bet it
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
        // A share's standard error is at most half over the root of the races.
        EXPECT_LE(std::fmax(e.winError, e.topThreeError), 0.5 / std::sqrt(300.0));
        EXPECT_EQ(std::pair(e.winError > 0, e.topThreeError > 0),
                  std::pair((e.win > 0 && e.win < 1), (e.topThreeShare > 0 && e.topThreeShare < 1)));
    }
    EXPECT_NEAR(win, 1.0, 1e-9);
    EXPECT_NEAR(topThree, 3.0, 1e-9);

    // Value only where the tote pays more than the fair odds; no fair price for a horse that never wins.
    const auto rows = chanceRows(estimate);
    EXPECT_EQ((std::array{rows[best].value, rows[hopeless].fairOdds, rows[hopeless].value,
                          rows[middling].toteOdds, rows[middling].value}),
              (std::array<std::string, 5>{"value", "-", "", "-", ""}));
}

} // namespace
} // namespace sw
