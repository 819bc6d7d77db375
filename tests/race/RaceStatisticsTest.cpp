#include "RaceTestDay.h"
#include "race/RaceModel.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

namespace sw {
namespace {

using test::RaceTestDay;
using test::seeded;

struct Tally {
    std::array<int, FieldSize> wins{};
    double winnerSeconds = 0;
    float fastest = 1e9f;
    float slowest = 0;
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

TEST(RaceStatistics, ABetterRatedHorseWinsMoreOftenEvenWithTheFavouritesBand) {
    // A fair share would be 25 of 200.
    EXPECT_GT(runMany(200, [](RaceDay& day, Random&) { day.entries.segmentRating[3].fill(7); }).wins[3], 100);
    // Entry 0 rated best and carrying the favourite's band of 8 still beats each of the rest.
    const Tally tally = runMany(200, [](RaceDay& day, Random&) {
        day.entries.segmentRating[0].fill(8);
        day.pools.consistencyBand = {8, 8, 6, 6, 4, 4, 2, 2};
    });
    for (std::size_t e = 1; e < FieldSize; ++e)
        EXPECT_GT(tally.wins[0], tally.wins[e]);
}

TEST(RaceStatistics, TheFavouritesWideBandIsAHandicap) {
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
    const double mean = tally.winnerSeconds / 400;
    EXPECT_GT(mean, 110.0);
    EXPECT_LT(mean, 135.0);
    EXPECT_GT(tally.fastest, 95.0f);
    EXPECT_LT(tally.slowest, 150.0f);
    // Every race finished on its own, long before the stall guard would step in.
    EXPECT_LT(tally.longestRace, RaceModel::StallPasses / 4);
    // The rail saves ground in the turns, but no post is shut out.
    for (std::size_t e = 0; e < FieldSize; ++e)
        EXPECT_GE(tally.wins[e], 12) << "post " << e + 1;
}

} // namespace
} // namespace sw
