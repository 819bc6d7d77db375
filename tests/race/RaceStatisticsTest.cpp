// Many races at once: what the model does on average, and the true chances that count on it.

#include "RaceTestDay.h"
#include "race/Chances.h"
#include "race/RaceModel.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <functional>
#include <numeric>
#include <stop_token>
#include <thread>

namespace sw {
namespace {

using test::RaceTestDay;
using test::seeded;

struct Tally {
    std::array<int, FieldSize> wins{};
    double winnerSeconds = 0;
    float fastest = 1e9f, slowest = 0;
    int longestRace = 0;
};

// Runs `races` races on seeds 1.., each field set up by `configure` (the bands all 4 unless it
// says otherwise), and counts the winners.
Tally runMany(int races, const std::function<void(RaceDay&, Random&)>& configure) {
    Tally tally;
    for (int i = 1; i <= races; ++i) {
        RaceTestDay t(seeded(static_cast<uint64_t>(i) * 7919));
        t.day.pools.consistencyBand.fill(4);
        configure(t.day, *t.random);
        RaceModel race(t.day);
        race.runToEnd();
        EXPECT_TRUE(t.day.result.complete);
        ++tally.wins[static_cast<std::size_t>(t.day.result.finishOrder[0] - 1)];
        const float time = t.day.result.finishTime[0];
        tally.winnerSeconds += time;
        tally.fastest = std::min(tally.fastest, time);
        tally.slowest = std::max(tally.slowest, time);
        tally.longestRace = std::max(tally.longestRace, race.passes());
    }
    return tally;
}

TEST(RaceStatistics, TheBetterRatedWinMoreOftenAndTheFavouritesWideBandIsAHandicap) {
    // A fair share would be 25 of 200.
    EXPECT_GT(runMany(200, [](RaceDay& day, Random&) { day.entries.segmentRating[3].fill(7); }).wins[3], 100);
    // Entry 0 rated best and carrying the favourite's band of 8 still beats each of the rest.
    const auto wins = runMany(200, [](RaceDay& day, Random&) {
                          day.entries.segmentRating[0].fill(8);
                          day.pools.consistencyBand = {8, 8, 6, 6, 4, 4, 2, 2};
                      }).wins;
    EXPECT_LT(*std::max_element(wins.begin() + 1, wins.end()), wins[0]);
    // The same races with only entry 0's band changed: the favourite's band of 8 halves its inner
    // step far more often than the outsider's band of 2.
    auto winsOfEntry0 = [](int band) {
        return runMany(200, [band](RaceDay& day, Random&) { day.pools.consistencyBand[0] = band; }).wins[0];
    };
    EXPECT_LT(winsOfEntry0(8) * 2, winsOfEntry0(2));
}

// A field as the reset draws a stable: every rating 4..8, any path, any grade; the public backs
// the horses with the best ratings, so the bands follow the rating totals.
void realisticField(RaceDay& day, Random& rnd) {
    std::array<int, FieldSize> total{};
    for (std::size_t e = 0; e < FieldSize; ++e) {
        for (std::size_t k = 0; k < 5; ++k)
            total[e] += day.entries.segmentRating[e][k] = rnd.between(4, 8);
        day.entries.path[e] = static_cast<int16_t>(rnd.between(0, 2));
    }
    std::array<std::size_t, FieldSize> byTotal{0, 1, 2, 3, 4, 5, 6, 7};
    std::ranges::stable_sort(byTotal, [&](std::size_t a, std::size_t b) { return total[a] > total[b]; });
    for (std::size_t rank = 0; rank < FieldSize; ++rank)
        day.pools.consistencyBand[byTotal[rank]] = 8 - 2 * static_cast<int>(rank / 2);
    day.card.raceGrade[2] = static_cast<int16_t>(rnd.between(1, 6));
}

TEST(RaceStatistics, RealisticRacesTakeNearTwoMinutesAndEveryPostWinsItsShare) {
    const Tally tally = runMany(400, realisticField);
    EXPECT_GT(tally.winnerSeconds / 400, 110.0);
    EXPECT_LT(tally.winnerSeconds / 400, 135.0);
    EXPECT_GT(tally.fastest, 95.0f);
    EXPECT_LT(tally.slowest, 150.0f);
    // Every race finished on its own, long before the stall guard would step in.
    EXPECT_LT(tally.longestRace, RaceModel::StallPasses / 4);
    // The rail saves ground in the turns, but no post is shut out.
    EXPECT_GE(std::ranges::min(tally.wins), 12);
}

TEST(Chances, ASeedGivesTheSameCountsWhateverTheThreadsAndBatchesAndLeavesTheDayAlone) {
    RaceTestDay t(seeded(5));
    SeededRandom untouched(5);
    t.day.result.finishOrder[0] = 4;
    const ChanceField field = chanceFieldOf(t.day, 3);
    ChanceSimulation oneThread(field, 77, 1), twoThreads(field, 77, 2), otherSeed(field, 78, 2);
    ASSERT_TRUE(oneThread.run(40) && twoThreads.run(15) && twoThreads.run(25) && otherSeed.run(40));
    EXPECT_EQ(twoThreads.races(), 40);
    EXPECT_EQ(oneThread.wins(), twoThreads.wins());
    EXPECT_EQ(oneThread.topThree(), twoThreads.topThree());
    EXPECT_NE(oneThread.wins(), otherSeed.wins());
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
    const ChanceField field = chanceFieldOf(t.day, 3);
    ChanceSimulation simulation(field, 1, 2), whole(field, ChanceSimulation::DefaultSeed, 2);
    ASSERT_TRUE(simulation.run(4));
    // Stopped part way through a batch far too long to finish first.
    std::stop_source stop;
    std::jthread stopper([&] {
        while (simulation.progress() < 10)
            std::this_thread::yield();
        stop.request_stop();
    });
    EXPECT_FALSE(simulation.run(1'000'000, stop.get_token()));
    EXPECT_EQ(std::pair(simulation.races(), simulation.progress()), std::pair(4, 4));
    EXPECT_EQ(std::accumulate(simulation.wins().begin(), simulation.wins().end(), 0), 4);

    // The runner's batches add up to the same counts as one run, and a cancel drops the batch
    // under way.
    ChanceRunner runner(field, 120, 50, 2);
    while (!runner.finished())
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
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
