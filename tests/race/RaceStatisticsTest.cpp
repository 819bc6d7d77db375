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
    int races = 0;
    int longestRace = 0;
};

// Runs `races` races on seeds 1.., each field set up by `configure`, and counts the winners.
Tally runMany(int races, const std::function<void(RaceDay&, Random&)>& configure) {
    Tally tally;
    for (int i = 1; i <= races; ++i) {
        RaceTestDay t(seeded(static_cast<uint64_t>(i) * 7919));
        configure(t.day, *t.random);
        RaceModel race(t.day);
        race.runToEnd();
        EXPECT_TRUE(t.day.result.complete);
        const int winner = t.day.result.finishOrder[0] - 1;
        ++tally.wins[static_cast<std::size_t>(winner)];
        const float time = t.day.result.finishTime[0];
        tally.winnerSeconds += time;
        tally.fastest = std::min(tally.fastest, time);
        tally.slowest = std::max(tally.slowest, time);
        tally.longestRace = std::max(tally.longestRace, race.passes());
        ++tally.races;
    }
    return tally;
}

void sameBand(RaceDay& day, int band) {
    day.pools.consistencyBand.fill(band);
}

void rateEntry(RaceDay& day, int e, int rating) {
    for (std::size_t k = 0; k < 5; ++k)
        day.entries.segmentRating[static_cast<std::size_t>(e)][k] = rating;
}

TEST(RaceStatistics, ABetterRatedHorseWinsMoreOften) {
    const Tally tally = runMany(200, [](RaceDay& day, Random&) {
        sameBand(day, 4);
        rateEntry(day, 3, 7);
    });
    // A fair share would be 25 of 200.
    EXPECT_GT(tally.wins[3], 100);
}

TEST(RaceStatistics, TheFavouritesWideBandIsAHandicap) {
    // The same races with only entry 0's band changed: the favourite's band of 8 halves its inner
    // step far more often than the outsider's band of 2.
    auto winsOfEntry0 = [](int band) {
        return runMany(200,
                       [band](RaceDay& day, Random&) {
                           sameBand(day, 4);
                           day.pools.consistencyBand[0] = band;
                       })
            .wins[0];
    };
    const int asFavourite = winsOfEntry0(8);
    const int asOutsider = winsOfEntry0(2);
    EXPECT_LT(asFavourite * 2, asOutsider);
}

TEST(RaceStatistics, AFavouriteThatIsAlsoTheBestRatedStillWinsMostOften) {
    const Tally tally = runMany(200, [](RaceDay& day, Random&) {
        // Entry 0 is rated best and carries the favourite's band; the rest follow the tote's order.
        rateEntry(day, 0, 8);
    });
    for (int e = 1; e < FieldSize; ++e)
        EXPECT_GT(tally.wins[0], tally.wins[static_cast<std::size_t>(e)]);
}

// A field as the reset draws a stable: every rating 4..8, any path, any grade; the public backs
// the horses with the best ratings, so the bands follow the rating totals.
void realisticField(RaceDay& day, Random& rnd) {
    std::array<int, FieldSize> total{};
    for (std::size_t e = 0; e < FieldSize; ++e) {
        for (std::size_t k = 0; k < 5; ++k) {
            day.entries.segmentRating[e][k] = rnd.between(4, 8);
            total[e] += day.entries.segmentRating[e][k];
        }
        day.entries.path[e] = static_cast<int16_t>(rnd.between(0, 2));
    }
    std::array<int, FieldSize> byTotal{0, 1, 2, 3, 4, 5, 6, 7};
    std::stable_sort(byTotal.begin(), byTotal.end(), [&](int a, int b) {
        return total[static_cast<std::size_t>(a)] > total[static_cast<std::size_t>(b)];
    });
    for (std::size_t rank = 0; rank < FieldSize; ++rank)
        day.pools.consistencyBand[static_cast<std::size_t>(byTotal[rank])] =
            8 - 2 * static_cast<int>(rank / 2);
    day.card.raceGrade[2] = static_cast<int16_t>(rnd.between(1, 6));
}

TEST(RaceStatistics, WinningTimesAreNearTwoMinutesAtTheDesignWidth) {
    const Tally tally = runMany(200, realisticField);
    const double mean = tally.winnerSeconds / tally.races;
    EXPECT_GT(mean, 110.0);
    EXPECT_LT(mean, 135.0);
    EXPECT_GT(tally.fastest, 95.0f);
    EXPECT_LT(tally.slowest, 150.0f);
    // Every race finished on its own, long before the stall guard would step in.
    EXPECT_LT(tally.longestRace, RaceModel::StallPasses / 4);
}

TEST(RaceStatistics, EveryPostWinsItsShareOfRealisticRaces) {
    // The rail saves ground in the turns, but no post is shut out.
    const Tally tally = runMany(400, realisticField);
    for (int e = 0; e < FieldSize; ++e)
        EXPECT_GE(tally.wins[static_cast<std::size_t>(e)], 12) << "post " << e + 1;
}

} // namespace
} // namespace sw
