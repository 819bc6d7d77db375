#include "tote/PublicPoolGeneration.h"
#include "tote/PoolFiles.h"
#include "tote/Tote.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace sw;
using sw::test::ListRandom;
using sw::test::ScriptedPrompter;
using sw::test::TempDir;

namespace {

Horse horseWithRatings(int16_t rating) {
    Horse horse;
    horse.name = "Horse " + std::to_string(rating);
    horse.segmentRating = {rating, rating, rating, rating, rating};
    return horse;
}

PastPerformance pastLine(std::string grade, int16_t finishPos) {
    PastPerformance line;
    line.raceGrade = std::move(grade);
    line.finishPos = finishPos;
    return line;
}

// Entry h runs with all five ratings h + 1, so post 8 has the best segment sum.
FieldForm risingField() {
    FieldForm field;
    for (int h = 0; h < FieldSize; ++h)
        field[static_cast<std::size_t>(h)].horse = horseWithRatings(static_cast<int16_t>(h + 1));
    return field;
}

int32_t ratingOf(const FieldForm& field, int h) {
    return moneyRatings(field)[static_cast<std::size_t>(h)].value();
}

TEST(MoneyRating, AddsSegmentsAndRankBonusForAnUnracedHorse) {
    FieldForm field = risingField();
    // Post 1: segment sum 5, early sum 2, last of eight: 2*2 + 5 + 5 + round(2.5^2).
    EXPECT_EQ(ratingOf(field, 0), 20);
    // Post 8: segment sum 40, early sum 16, first: 32 + 40 + 40 + round(2.5^9) = 112 + 3815.
    EXPECT_EQ(ratingOf(field, 7), 3927);
    // Post 4: segment sum 20, fifth: 16 + 20 + 20 + round(97.66).
    EXPECT_EQ(ratingOf(field, 3), 154);
}

TEST(MoneyRating, CountsPastLinesAndEarningsPerStart) {
    FieldForm field = risingField();
    EntryForm& entry = field[3]; // segment sum 20, early sum 8, fifth of eight
    entry.horse.starts = 4;
    entry.horse.earnings = 1001;
    entry.pastLines = {pastLine("AA", 1), pastLine("M", 8), pastLine("X", 3)};
    // Lines: 80 + 9, 1 + 2, 0 + 7; earnings: 3 * floor(250.25); 2 * 8 + 20; position part 20 + 98.
    EXPECT_EQ(ratingOf(field, 3), 89 + 3 + 7 + 750 + 36 + 118);
}

TEST(MoneyRating, HorseWithoutStartsGetsNoEarningsPoints) {
    FieldForm field = risingField();
    const int32_t base = ratingOf(field, 2);
    field[2].horse.earnings = 5000; // a hand-edited record: money but no starts
    field[2].pastLines = {pastLine("C", 2)};
    EXPECT_EQ(ratingOf(field, 2), base + 10 + 8);
}

TEST(MoneyRating, OnlyTheFirstFifteenPastLinesCount) {
    FieldForm field = risingField();
    const int32_t base = ratingOf(field, 5);
    for (int i = 0; i < 15; ++i)
        field[5].pastLines.push_back(pastLine("B", 5)); // 25 each
    for (int i = 0; i < 5; ++i)
        field[5].pastLines.push_back(pastLine("AA", 1)); // would be 89 each
    EXPECT_EQ(ratingOf(field, 5), base + 15 * 25);
}

TEST(MoneyRating, EqualSegmentSumsShareTheWorsePosition) {
    FieldForm field = risingField();
    field[6].horse = horseWithRatings(8); // posts 7 and 8 both sum 40
    auto ratings = moneyRatings(field);
    // Both are second of eight: 2*16 + 40 + 40 + 1526.
    EXPECT_EQ(ratings[6].value(), 1638);
    EXPECT_EQ(ratings[7].value(), 1638);
    // Post 6 (sum 30) is still third.
    EXPECT_EQ(ratings[5].value(), 2 * 12 + 60 + 610);
}

TEST(MoneyRating, SkipsTermsThatOverflow) {
    FieldForm field = risingField();
    const int32_t base = ratingOf(field, 0);
    field[0].horse.starts = 1;
    field[0].horse.earnings = 2000000000; // 3 * earnings per start leaves 32 bits
    EXPECT_EQ(ratingOf(field, 0), base);

    field[0].horse.earnings = 715827882; // the earnings fit, the rating does not
    EXPECT_FALSE(moneyRatings(field)[0].has_value());
}

struct GenerationFixture : ::testing::Test {
    TempDir dir;
    SeededRandom random{42};
    ScriptedPrompter prompter;
    RaceDay day{dir.path(), random, prompter};
    FieldForm field = risingField();

    std::vector<std::string> lines(PoolFile file) { return test::readLines(dir / poolFileName(file)); }
    static int32_t ticketOf(const std::string& line) { return std::stoi(line.substr(0, line.find(','))); }
};

TEST_F(GenerationFixture, QuickModeMakesOnlyTheWinMoneyAndOdds) {
    ListRandom counting{{0.3}};
    RaceDay quickDay{dir.path(), counting, prompter};
    quickDay.pools.place[0] = 123;
    auto outcome = publicPoolGeneration(quickDay, 5, true, field);
    EXPECT_FALSE(outcome.poolFilesWritten);
    EXPECT_EQ(counting.drawsTaken(), 0u);
    EXPECT_EQ(quickDay.pools.win[7], 3927);
    EXPECT_EQ(quickDay.pools.place[0], 123);
    int32_t total = 0;
    for (int h = 0; h < FieldSize; ++h)
        total += quickDay.pools.win[static_cast<std::size_t>(h)];
    EXPECT_EQ(quickDay.pools.winTotal, total);
    for (std::size_t h = 0; h < FieldSize; ++h) {
        EXPECT_FLOAT_EQ(quickDay.pools.winOdds[h], *oddsFor(total, 1.0f, quickDay.pools.win[h]));
        EXPECT_FLOAT_EQ(quickDay.pools.oddsByRace[5][h], quickDay.pools.winOdds[h]);
    }
    EXPECT_FALSE(std::filesystem::exists(dir / "wins.dat"));
}

TEST_F(GenerationFixture, PlaceAndShowFollowTheWinMoney) {
    publicPoolGeneration(day, 3, false, field);
    for (std::size_t h = 0; h < FieldSize; ++h) {
        EXPECT_EQ(day.pools.place[h], static_cast<int32_t>(std::floor(day.pools.win[h] * 0.74)));
        EXPECT_EQ(day.pools.show[h], static_cast<int32_t>(std::floor(day.pools.win[h] * 0.84)));
    }
    EXPECT_EQ(day.pools.place[7], 2905); // floor(3927 * 0.74)
    EXPECT_EQ(day.pools.show[7], 3298);  // floor(3927 * 0.84)
}

TEST_F(GenerationFixture, ExoticMoneyDrawsOneFactorPerHorseInOrder) {
    std::vector<double> draws;
    for (int n = 0; n < 10000; ++n)
        draws.push_back((n % 97) / 97.0);
    ListRandom scripted{draws};
    RaceDay scriptedDay{dir.path(), scripted, prompter};
    scriptedDay.currentRace = 3; // not the race shown: no files
    publicPoolGeneration(scriptedDay, 2, false, field);
    EXPECT_EQ(scripted.drawsTaken(), 28u * 2 + 56 * 2 + 336 * 3 + 1680 * 4);

    const Pools& p = scriptedDay.pools;
    auto f = [&](int n) { return 0.5 + 0.5 * draws[static_cast<std::size_t>(n)]; };
    auto w = [&](int h) { return static_cast<double>(p.win[static_cast<std::size_t>(h)]); };
    // i = 0, j = 1: quiniela (draws 0, 1), exacta (2, 3), trifecta 1-2-3 (4..6), superfecta 1-2-3-4 (7..10).
    EXPECT_EQ(p.quiniela[Pools::idx2(0, 1)], std::floor((w(0) * f(0) + w(1) * f(1)) / 4));
    EXPECT_EQ(p.exacta[Pools::idx2(0, 1)], std::floor((3 * w(0) * f(2) + w(1) * f(3)) / 18));
    EXPECT_EQ(p.trifecta[Pools::idx3(0, 1, 2)],
              std::floor((3 * w(0) * f(4) + 2 * w(1) * f(5) + w(2) * f(6)) / 100));
    EXPECT_EQ(p.superfecta[Pools::idx4(0, 1, 2, 3)],
              std::floor((4 * w(0) * f(7) + 3 * w(1) * f(8) + 2 * w(2) * f(9) + w(3) * f(10)) / 500));
    EXPECT_EQ(p.superfecta[Pools::idx4(0, 1, 2, 4)],
              std::floor((4 * w(0) * f(11) + 3 * w(1) * f(12) + 2 * w(2) * f(13) + w(4) * f(14)) / 500));
    // i = 1, j = 0 has no quiniela: its exacta takes the two draws after the last of i = 0.
    const int afterFirstHorse = 7 * 2 + 7 * 2 + 42 * 3 + 210 * 4;
    EXPECT_EQ(p.exacta[Pools::idx2(1, 0)],
              std::floor((3 * w(1) * f(afterFirstHorse) + w(0) * f(afterFirstHorse + 1)) / 18));

    int32_t quiniela = 0, superfecta = 0;
    for (int i = 0; i < FieldSize; ++i)
        for (int j = 0; j < FieldSize; ++j) {
            if (i < j)
                quiniela += p.quiniela[Pools::idx2(i, j)];
            else
                EXPECT_EQ(p.quiniela[Pools::idx2(i, j)], 0) << "only lower-first pairs hold quiniela money";
            for (int k = 0; k < FieldSize; ++k)
                for (int l = 0; l < FieldSize; ++l)
                    superfecta += p.superfecta[Pools::idx4(i, j, k, l)];
        }
    EXPECT_EQ(p.quinielaTotal, quiniela);
    EXPECT_EQ(p.superfectaTotal, superfecta);
    EXPECT_EQ(p.exacta[Pools::idx2(2, 2)], 0);
    EXPECT_EQ(p.trifecta[Pools::idx3(2, 2, 3)], 0);
}

TEST_F(GenerationFixture, ConsistencyBandsFollowTheWinMoneyRank) {
    publicPoolGeneration(day, 1, false, field);
    const int32_t expected[] = {2, 2, 4, 4, 6, 6, 8, 8};
    for (std::size_t h = 0; h < FieldSize; ++h)
        EXPECT_EQ(day.pools.consistencyBand[h], expected[h]) << "post " << h + 1;

    field[5].horse = horseWithRatings(7); // posts 6 and 7 tie for second and third
    publicPoolGeneration(day, 1, false, field);
    EXPECT_EQ(day.pools.consistencyBand[5], 6);
    EXPECT_EQ(day.pools.consistencyBand[6], 6) << "a tie takes the worse band";
    EXPECT_EQ(day.pools.consistencyBand[7], 8);
}

TEST_F(GenerationFixture, OpeningTheRaceWritesEveryCombinationNumberedInOrder) {
    std::vector<int> progress;
    auto outcome =
        publicPoolGeneration(day, 1, false, field, [&](int percent) { progress.push_back(percent); });
    ASSERT_TRUE(outcome.poolFilesWritten);
    EXPECT_FALSE(outcome.error);
    EXPECT_TRUE(day.card.racePoolsOpened[0]);
    EXPECT_EQ(day.pools.ticketCounter, 2124);
    EXPECT_EQ(progress, (std::vector<int>{61, 66, 71, 76, 80, 85, 90, 95, 100}));

    auto wins = lines(PoolFile::Wins), places = lines(PoolFile::Places), shows = lines(PoolFile::Shows);
    ASSERT_EQ(wins.size(), 8u);
    ASSERT_EQ(places.size(), 8u);
    ASSERT_EQ(shows.size(), 8u);
    for (int h = 0; h < FieldSize; ++h) {
        auto cell = static_cast<std::size_t>(h);
        EXPECT_EQ(wins[cell], std::to_string(3 * h + 1) + "," + std::to_string(h + 1) + "," +
                                  std::to_string(day.pools.win[cell]));
        EXPECT_EQ(ticketOf(places[cell]), 3 * h + 2);
        EXPECT_EQ(ticketOf(shows[cell]), 3 * h + 3);
    }
    auto quinielas = lines(PoolFile::Quinielas), exactas = lines(PoolFile::Exactas);
    auto trifectas = lines(PoolFile::Trifectas), superfectas = lines(PoolFile::Superfectas);
    EXPECT_EQ(quinielas.size(), 28u);
    EXPECT_EQ(exactas.size(), 56u);
    EXPECT_EQ(trifectas.size(), 336u);
    ASSERT_EQ(superfectas.size(), 1680u);
    EXPECT_EQ(quinielas.front(), "25,1,2," + std::to_string(day.pools.quiniela[Pools::idx2(0, 1)]));
    EXPECT_EQ(ticketOf(exactas.front()), 26);
    EXPECT_EQ(ticketOf(trifectas.front()), 27);
    EXPECT_EQ(superfectas.front().substr(0, 11), "28,1,2,3,4,");
    EXPECT_EQ(superfectas.back(),
              "2124,8,7,6,5," + std::to_string(day.pools.superfecta[Pools::idx4(7, 6, 5, 4)]));

    // Every number 1..2124 is used exactly once.
    std::vector<int> seen(2125, 0);
    for (PoolFile file : SingleRacePoolFiles)
        for (const auto& line : lines(file))
            ++seen[static_cast<std::size_t>(ticketOf(line))];
    for (int n = 1; n <= 2124; ++n)
        EXPECT_EQ(seen[static_cast<std::size_t>(n)], 1) << n;
}

TEST_F(GenerationFixture, ExoticOddsAreSetWhenTheFilesAreWritten) {
    publicPoolGeneration(day, 1, false, field);
    const Pools& p = day.pools;
    EXPECT_FLOAT_EQ(p.quinielaOdds[Pools::idx2(2, 5)],
                    *oddsFor(p.quinielaTotal, 1.0f, p.quiniela[Pools::idx2(2, 5)]));
    EXPECT_FLOAT_EQ(p.exactaOdds[Pools::idx2(5, 2)],
                    *oddsFor(p.exactaTotal, 1.0f, p.exacta[Pools::idx2(5, 2)]));

    // Browsing another race changes the pools but not the exotic odds.
    Pools before = day.pools;
    publicPoolGeneration(day, 6, false, field);
    EXPECT_EQ(day.pools.quinielaOdds, before.quinielaOdds);
    EXPECT_EQ(day.pools.exactaOdds, before.exactaOdds);
    EXPECT_NE(day.pools.exacta, before.exacta);
}

TEST_F(GenerationFixture, FilesAreWrittenOnceForTheRaceAboutToBeRun) {
    publicPoolGeneration(day, 1, false, field);
    std::vector<std::string> before;
    for (PoolFile file : SingleRacePoolFiles)
        before.push_back(test::readAll(dir / poolFileName(file)));
    day.pools.ticketCounter = 2130; // players' tickets followed

    std::vector<int> progress;
    auto again =
        publicPoolGeneration(day, 1, false, field, [&](int percent) { progress.push_back(percent); });
    auto other = publicPoolGeneration(day, 4, false, field);
    EXPECT_FALSE(again.poolFilesWritten);
    EXPECT_FALSE(other.poolFilesWritten);
    EXPECT_TRUE(progress.empty());
    EXPECT_EQ(day.pools.ticketCounter, 2130);
    std::size_t n = 0;
    for (PoolFile file : SingleRacePoolFiles)
        EXPECT_EQ(test::readAll(dir / poolFileName(file)), before[n++]) << poolFileName(file);
}

TEST_F(GenerationFixture, OnlyTheRaceAboutToBeRunOpensItsPools) {
    day.currentRace = 2;
    auto browsed = publicPoolGeneration(day, 1, false, field);
    EXPECT_FALSE(browsed.poolFilesWritten);
    EXPECT_FALSE(day.card.racePoolsOpened[2]);
    EXPECT_FALSE(std::filesystem::exists(dir / "wins.dat"));

    auto opened = publicPoolGeneration(day, 3, false, field);
    EXPECT_TRUE(opened.poolFilesWritten);
    EXPECT_TRUE(day.card.racePoolsOpened[2]);
    EXPECT_EQ(day.pools.ticketCounter, 2124);
}

TEST_F(GenerationFixture, ARaceKeepsThePublicOddsItsPoolsOpenedWith) {
    publicPoolGeneration(day, 1, false, field);
    const auto opened = day.pools.oddsByRace[1];
    field[0].horse = horseWithRatings(9); // the race was run and changed its horses' records
    for (bool quick : {false, true}) {
        publicPoolGeneration(day, 1, quick, field);
        EXPECT_NE(day.pools.winOdds, opened) << "the program shows the race as its records stand";
        EXPECT_EQ(day.pools.oddsByRace[1], opened) << "its multi-race legs pay on the odds it was bet on";
    }
}

TEST_F(GenerationFixture, RefreshFromFreshFilesGivesTheGeneratedMoney) {
    publicPoolGeneration(day, 1, false, field);
    Pools generated = day.pools;
    toteRefresh(day);
    const Pools& p = day.pools;
    EXPECT_EQ(p.win, generated.win);
    EXPECT_EQ(p.place, generated.place);
    EXPECT_EQ(p.show, generated.show);
    EXPECT_EQ(p.quiniela, generated.quiniela);
    EXPECT_EQ(p.exacta, generated.exacta);
    EXPECT_EQ(p.trifecta, generated.trifecta);
    EXPECT_EQ(p.superfecta, generated.superfecta);
    EXPECT_EQ(p.winTotal, generated.winTotal);
    EXPECT_EQ(p.placeTotal, generated.placeTotal);
    EXPECT_EQ(p.showTotal, generated.showTotal);
    EXPECT_EQ(p.quinielaTotal, generated.quinielaTotal);
    EXPECT_EQ(p.exactaTotal, generated.exactaTotal);
    EXPECT_EQ(p.trifectaTotal, generated.trifectaTotal);
    EXPECT_EQ(p.superfectaTotal, generated.superfectaTotal);
    EXPECT_EQ(p.winOdds, generated.winOdds);
    EXPECT_EQ(p.quinielaOdds, generated.quinielaOdds);
    EXPECT_EQ(p.exactaOdds, generated.exactaOdds);
}

TEST_F(GenerationFixture, AFailedWriteLeavesTheRaceUnopened) {
    RaceDay lost{dir / "missing-folder", random, prompter};
    auto outcome = publicPoolGeneration(lost, 1, false, field);
    EXPECT_FALSE(outcome.poolFilesWritten);
    EXPECT_TRUE(outcome.error);
    EXPECT_FALSE(lost.card.racePoolsOpened[0]);
}

TEST_F(GenerationFixture, AnEntryWithoutMoneyKeepsItsOldOdds) {
    day.pools.winOdds[0] = 7.5f;
    day.pools.oddsByRace[2][0] = 7.5f;
    field[0].horse = horseWithRatings(0);
    // Segment sum 0, last of eight (bonus 6): a line worth -6 leaves no money at all.
    field[0].pastLines = {pastLine("X", 16)};
    ASSERT_EQ(ratingOf(field, 0), 0);
    publicPoolGeneration(day, 2, true, field);
    EXPECT_EQ(day.pools.win[0], 0);
    EXPECT_FLOAT_EQ(day.pools.winOdds[0], 7.5f);
    EXPECT_FLOAT_EQ(day.pools.oddsByRace[2][0], 7.5f);
    EXPECT_GT(day.pools.winOdds[1], 0.0f);
}

TEST_F(GenerationFixture, RaceOutsideTheDayChangesNothing) {
    Pools before = day.pools;
    publicPoolGeneration(day, 0, false, field);
    publicPoolGeneration(day, 13, false, field);
    EXPECT_EQ(day.pools.win, before.win);
    EXPECT_EQ(day.pools.winTotal, before.winTotal);
}

} // namespace
