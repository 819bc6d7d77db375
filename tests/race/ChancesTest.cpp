#include "race/Chances.h"
#include "RaceTestDay.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <numeric>
#include <stop_token>
#include <thread>

namespace sw {
namespace {

using test::RaceTestDay;
using test::seeded;

ChanceField fieldOf(RaceTestDay& t) {
    return chanceFieldOf(t.day, 3); // RaceTestDay readies the third race
}

TEST(Chances, ASeedGivesTheSameCountsWhateverTheThreadsAndBatchesAndLeavesTheDayAlone) {
    RaceTestDay t(seeded(5));
    SeededRandom untouched(5);
    t.day.result.finishOrder[0] = 4;
    const ChanceField field = fieldOf(t);
    ChanceSimulation oneThread(field, 77, 1);
    ASSERT_TRUE(oneThread.run(40));
    ChanceSimulation twoThreads(field, 77, 2);
    ASSERT_TRUE(twoThreads.run(15));
    ASSERT_TRUE(twoThreads.run(25));
    EXPECT_EQ(twoThreads.races(), 40);
    EXPECT_EQ(oneThread.wins(), twoThreads.wins());
    EXPECT_EQ(oneThread.topThree(), twoThreads.topThree());

    ChanceSimulation otherSeed(field, 78, 2);
    ASSERT_TRUE(otherSeed.run(40));
    EXPECT_NE(oneThread.wins(), otherSeed.wins());
    // The day's generator and result are the day's own.
    EXPECT_EQ(t.random->uniform(), untouched.uniform());
    EXPECT_EQ(t.day.result.finishOrder[0], 4);
    EXPECT_FALSE(t.day.result.complete);
}

TEST(Chances, SharesAddUpTheBestEntryLeadsAndValueIsWhereTheTotePaysMore) {
    RaceTestDay t(seeded(3));
    const std::size_t best = 4, hopeless = 0, middling = 6;
    t.day.entries.segmentRating[best].fill(9);     // clearly the best
    t.day.entries.segmentRating[hopeless].fill(0); // never gets there first
    t.day.pools.winOdds[best] = 60.0f;             // the public missed it
    t.day.pools.winOdds[hopeless] = 50.0f;         // no price is fair for a horse that never wins
    t.day.pools.winOdds[middling] = 0.0f;          // nobody bet it
    ChanceSimulation simulation(fieldOf(t), ChanceSimulation::DefaultSeed, 2);
    ASSERT_TRUE(simulation.run(300));
    const ChanceEstimate estimate = simulation.estimate();
    ASSERT_EQ(estimate.races, 300);

    double win = 0, topThree = 0;
    for (const EntryChance& e : estimate.entries) {
        win += e.win;
        topThree += e.topThreeShare;
        EXPECT_LE(e.win, estimate.entries[best].win);
    }
    EXPECT_NEAR(win, 1.0, 1e-9);
    EXPECT_NEAR(topThree, 3.0, 1e-9);
    const EntryChance& b = estimate.entries[best];
    EXPECT_NEAR(b.winError, std::sqrt(b.win * (1 - b.win) / 300), 1e-12);
    EXPECT_NEAR(b.topThreeError, std::sqrt(b.topThreeShare * (1 - b.topThreeShare) / 300), 1e-12);
    EXPECT_NEAR(b.fairOdds, (1 - b.win) / b.win, 1e-12);

    const auto rows = chanceRows(estimate);
    EXPECT_EQ(std::tie(rows[best].toteOdds, rows[best].value), std::tuple("60.0-1", "value"));
    EXPECT_EQ(
        std::tie(rows[hopeless].win, rows[hopeless].fairOdds, rows[hopeless].toteOdds, rows[hopeless].value),
        std::tuple("0.0% \u00B10.0", "-", "50.0-1", ""));
    EXPECT_EQ(std::tie(rows[middling].toteOdds, rows[middling].value), std::tuple("-", ""));
    EXPECT_EQ(chanceRows(ChanceEstimate{})[best].win, "") << "no figures before the first race";
}

TEST(Chances, ACancelledRunKeepsOnlyWholeBatches) {
    RaceTestDay t(seeded(1));
    const ChanceField field = fieldOf(t);
    ChanceSimulation simulation(field, 1, 2);
    ASSERT_TRUE(simulation.run(4));
    // Stopped part way through a batch far too long to finish first.
    std::stop_source stop;
    std::jthread stopper([&] {
        while (simulation.progress() < 10)
            std::this_thread::yield();
        stop.request_stop();
    });
    EXPECT_FALSE(simulation.run(1'000'000, stop.get_token()));
    EXPECT_EQ(simulation.races(), 4);
    EXPECT_EQ(simulation.progress(), 4);
    EXPECT_EQ(std::accumulate(simulation.wins().begin(), simulation.wins().end(), 0), 4);

    // The runner's batches add up to the same counts as one run, and a cancel drops the batch
    // under way.
    ChanceRunner runner(field, 120, 50, 2);
    while (!runner.finished())
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    ChanceSimulation whole(field, ChanceSimulation::DefaultSeed, 2);
    ASSERT_TRUE(whole.run(120));
    EXPECT_EQ(runner.latest().races, 120);
    for (std::size_t e = 0; e < FieldSize; ++e)
        EXPECT_EQ(runner.latest().entries[e].wins, whole.wins()[e]) << e;

    ChanceRunner endless(field, 100'000'000, 50, 2);
    while (endless.progress() < 60)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    endless.cancel();
    EXPECT_GE(endless.latest().races, 50);
    EXPECT_EQ(endless.latest().races % 50, 0);
}

} // namespace
} // namespace sw
