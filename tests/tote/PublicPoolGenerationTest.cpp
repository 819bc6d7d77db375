#include "tote/PublicPoolGeneration.h"
#include "tote/PoolFiles.h"
#include "tote/Tote.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <numeric>

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

bool samePools(const Pools& a, const Pools& b) {
    return std::memcmp(&a, &b, sizeof(Pools)) == 0;
}

TEST(MoneyRating, AddsFormEarningsPerStartSegmentsAndABonusForTheSegmentRank) {
    EXPECT_EQ(gradePoints("M") + gradePoints("J") + gradePoints("C"), 1 + 5 + 10);
    EXPECT_EQ(gradePoints("B") + gradePoints("A") + gradePoints("AA"), 20 + 40 + 80);
    EXPECT_EQ(gradePoints("X") + gradePoints("a") + gradePoints(""), 0);

    // Without form a post rates 2 * early sum + segment sum + round(segment sum + 2.5 ^ (9 - rank)).
    FieldForm field = risingField();
    auto rating = [&](int post) { return moneyRatings(field)[static_cast<std::size_t>(post - 1)]; };
    EXPECT_EQ(rating(1), 20);   // last of eight: 4 + 5 + round(5 + 6.25)
    EXPECT_EQ(rating(4), 154);  // fifth: 16 + 20 + round(20 + 97.66)
    EXPECT_EQ(rating(8), 3927); // first: 32 + 40 + round(40 + 3814.7)
    // Lines AA 1st, M 8th, X 3rd earn 89, 3 and 7; $1001 in 4 starts 3 * 250.
    field[3].horse.starts = 4;
    field[3].horse.earnings = 1001;
    field[3].pastLines = {pastLine("AA", 1), pastLine("M", 8), pastLine("X", 3)};
    EXPECT_EQ(rating(4), 154 + 89 + 3 + 7 + 750);
    // Money without starts (a hand-edited record) earns nothing; a C line 2nd earns 18.
    field[2].horse.earnings = 5000;
    field[2].pastLines = {pastLine("C", 2)};
    EXPECT_EQ(rating(3), 81 + 18);
    // Only the first fifteen lines count.
    field[5].pastLines.assign(15, pastLine("B", 5));
    field[5].pastLines.insert(field[5].pastLines.end(), 5, pastLine("AA", 1));
    EXPECT_EQ(rating(6), 694 + 15 * 25);

    // The five segments each count: 1, 2, 4, 8 and 16 sum 31, third of eight, early sum 3.
    field[0].horse.segmentRating = {1, 2, 4, 8, 16};
    EXPECT_EQ(rating(1), 6 + 31 + 641); // round(31 + 610.35)

    // Posts 7 and 8 both sum 40 and share the worse rank, second; post 6 stays third.
    field = risingField();
    field[6].horse = horseWithRatings(8);
    EXPECT_EQ(rating(7), 1638); // 32 + 40 + round(40 + 1525.9)
    EXPECT_EQ(rating(8), 1638);
    EXPECT_EQ(rating(6), 694);
    // A term that leaves 32 bits is skipped; a rating that does is none.
    field[0].horse.starts = 1;
    field[0].horse.earnings = 2000000000;
    EXPECT_EQ(rating(1), 20);
    field[0].horse.earnings = 715827882;
    EXPECT_EQ(rating(1), std::nullopt);
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

TEST_F(GenerationFixture, QuickModeMakesOnlyTheWinMoneyAndOddsOfARaceOfTheDay) {
    ListRandom counting{{0.3}};
    RaceDay quick{dir.path(), counting, prompter};
    quick.pools.place[0] = 123;
    const Pools before = quick.pools;
    publicPoolGeneration(quick, 0, false, field);
    publicPoolGeneration(quick, 13, false, field);
    EXPECT_TRUE(samePools(quick.pools, before)) << "a race outside the day changes nothing";

    EXPECT_FALSE(publicPoolGeneration(quick, 5, true, field).poolFilesWritten);
    EXPECT_EQ(counting.drawsTaken(), 0u);
    EXPECT_EQ(quick.pools.win[7], 3927);
    EXPECT_EQ(quick.pools.place[0], 123);
    const int32_t total = std::accumulate(quick.pools.win.begin(), quick.pools.win.begin() + FieldSize, 0);
    EXPECT_EQ(quick.pools.winTotal, total);
    for (std::size_t h = 0; h < FieldSize; ++h) {
        EXPECT_FLOAT_EQ(quick.pools.winOdds[h], *oddsFor(total, 1.0f, quick.pools.win[h]));
        EXPECT_FLOAT_EQ(quick.pools.oddsByRace[5][h], quick.pools.winOdds[h]);
    }
    EXPECT_FALSE(std::filesystem::exists(dir / "wins.dat"));

    // Segment sum 0, last of eight (bonus 6): a line worth -6 leaves no money, and the old odds stay.
    field[0].horse = horseWithRatings(0);
    field[0].pastLines = {pastLine("X", 16)};
    ASSERT_EQ(moneyRatings(field)[0], 0);
    quick.pools.winOdds[0] = quick.pools.oddsByRace[2][0] = 7.5f;
    publicPoolGeneration(quick, 2, true, field);
    EXPECT_EQ(quick.pools.win[0], 0);
    EXPECT_FLOAT_EQ(quick.pools.winOdds[0], 7.5f);
    EXPECT_FLOAT_EQ(quick.pools.oddsByRace[2][0], 7.5f);
    EXPECT_GT(quick.pools.winOdds[1], 0.0f);
}

TEST_F(GenerationFixture, PlaceShowAndConsistencyBandsFollowTheWinMoney) {
    publicPoolGeneration(day, 3, false, field);
    int32_t place = 0, show = 0;
    for (std::size_t h = 0; h < FieldSize; ++h) {
        EXPECT_EQ(day.pools.place[h], static_cast<int32_t>(std::floor(day.pools.win[h] * 0.74)));
        EXPECT_EQ(day.pools.show[h], static_cast<int32_t>(std::floor(day.pools.win[h] * 0.84)));
        place += day.pools.place[h];
        show += day.pools.show[h];
    }
    // floor(3927 * 0.74) and floor(3927 * 0.84)
    EXPECT_EQ((std::vector<int32_t>{day.pools.place[7], day.pools.show[7], day.pools.placeTotal,
                                    day.pools.showTotal}),
              (std::vector<int32_t>{2905, 3298, place, show}));
    EXPECT_EQ(day.pools.consistencyBand, (std::array<int32_t, Pools::N>{2, 2, 4, 4, 6, 6, 8, 8, 0}));

    field[5].horse = horseWithRatings(7); // posts 6 and 7 tie for second and third: the worse band
    publicPoolGeneration(day, 1, false, field);
    EXPECT_EQ(day.pools.consistencyBand, (std::array<int32_t, Pools::N>{2, 2, 4, 4, 6, 6, 6, 8, 0}));
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

    for (int i = 0; i < FieldSize; ++i)
        for (int j = 0; j <= i; ++j)
            EXPECT_EQ(p.quiniela[Pools::idx2(i, j)], 0) << "only lower-first pairs hold quiniela money";
    auto sum = [](const auto& cells) { return std::accumulate(cells.begin(), cells.end(), int32_t{0}); };
    EXPECT_EQ(std::vector<int32_t>({p.quinielaTotal, p.exactaTotal, p.trifectaTotal, p.superfectaTotal}),
              std::vector<int32_t>({sum(p.quiniela), sum(p.exacta), sum(p.trifecta), sum(p.superfecta)}));
    EXPECT_EQ(p.exacta[Pools::idx2(2, 2)], 0);
    EXPECT_EQ(p.trifecta[Pools::idx3(2, 2, 3)], 0);
}

TEST_F(GenerationFixture, OpeningTheRaceWritesEveryCombinationOnceNumberedInOrderAsTheToteReadsIt) {
    RaceDay lost{dir / "missing-folder", random, prompter};
    auto failed = publicPoolGeneration(lost, 1, false, field);
    EXPECT_FALSE(failed.poolFilesWritten || lost.card.racePoolsOpened[0])
        << "a failed write leaves it unopened";
    EXPECT_TRUE(failed.error);

    day.currentRace = 2;
    EXPECT_FALSE(publicPoolGeneration(day, 1, false, field).poolFilesWritten) << "a race browsed";
    EXPECT_FALSE(day.card.racePoolsOpened[2]);
    EXPECT_FALSE(std::filesystem::exists(dir / "wins.dat"));

    std::vector<int> progress;
    auto track = [&](int percent) { progress.push_back(percent); };
    auto outcome = publicPoolGeneration(day, 3, false, field, track);
    ASSERT_TRUE(outcome.poolFilesWritten);
    EXPECT_FALSE(outcome.error);
    EXPECT_TRUE(day.card.racePoolsOpened[2]);
    EXPECT_EQ(day.pools.ticketCounter, 2124);
    EXPECT_EQ(progress, (std::vector<int>{61, 66, 71, 76, 80, 85, 90, 95, 100}));

    auto wins = lines(PoolFile::Wins), places = lines(PoolFile::Places), shows = lines(PoolFile::Shows);
    ASSERT_EQ(wins.size() + places.size() + shows.size(), 24u);
    for (int h = 0; h < FieldSize; ++h) {
        auto cell = static_cast<std::size_t>(h);
        EXPECT_EQ(wins[cell], std::to_string(3 * h + 1) + "," + std::to_string(h + 1) + "," +
                                  std::to_string(day.pools.win[cell]));
        EXPECT_EQ(ticketOf(places[cell]), 3 * h + 2);
        EXPECT_EQ(ticketOf(shows[cell]), 3 * h + 3);
    }
    auto quinielas = lines(PoolFile::Quinielas), exactas = lines(PoolFile::Exactas);
    auto trifectas = lines(PoolFile::Trifectas), superfectas = lines(PoolFile::Superfectas);
    ASSERT_EQ(
        (std::vector<std::size_t>{quinielas.size(), exactas.size(), trifectas.size(), superfectas.size()}),
        (std::vector<std::size_t>{28, 56, 336, 1680}));
    EXPECT_EQ(quinielas.front(), "25,1,2," + std::to_string(day.pools.quiniela[Pools::idx2(0, 1)]));
    EXPECT_EQ(ticketOf(exactas.front()), 26);
    EXPECT_EQ(ticketOf(trifectas.front()), 27);
    EXPECT_EQ(superfectas.front().substr(0, 11), "28,1,2,3,4,");
    EXPECT_EQ(superfectas.back(),
              "2124,8,7,6,5," + std::to_string(day.pools.superfecta[Pools::idx4(7, 6, 5, 4)]));
    // Every number 1..2124 is used exactly once.
    std::vector<int> seen(2125, 0);
    std::vector<std::string> written;
    for (PoolFile file : SingleRacePoolFiles) {
        for (const auto& line : lines(file))
            ++seen[static_cast<std::size_t>(ticketOf(line))];
        written.push_back(test::readAll(dir / poolFileName(file)));
    }
    EXPECT_EQ(std::count(seen.begin() + 1, seen.end(), 1), 2124);

    // The exotic odds are set as the files are written.
    const Pools& p = day.pools;
    EXPECT_FLOAT_EQ(p.quinielaOdds[Pools::idx2(2, 5)],
                    *oddsFor(p.quinielaTotal, 1.0f, p.quiniela[Pools::idx2(2, 5)]));
    EXPECT_FLOAT_EQ(p.exactaOdds[Pools::idx2(5, 2)],
                    *oddsFor(p.exactaTotal, 1.0f, p.exacta[Pools::idx2(5, 2)]));
    // The tote reads back from the files exactly the money generated.
    const Pools opened = day.pools;
    toteRefresh(day);
    EXPECT_TRUE(samePools(day.pools, opened));

    // Browsing back after players' tickets and the race's own run, or to another race, writes nothing again.
    day.pools.ticketCounter = 2130;
    field[0].horse = horseWithRatings(9);
    progress.clear();
    for (bool quick : {false, true}) {
        EXPECT_FALSE(publicPoolGeneration(day, 3, quick, field, track).poolFilesWritten);
        EXPECT_NE(day.pools.winOdds, opened.winOdds) << "the program shows the race as its records stand";
        EXPECT_EQ(day.pools.oddsByRace[3], opened.oddsByRace[3])
            << "its multi-race legs pay on the odds bet on";
    }
    EXPECT_FALSE(publicPoolGeneration(day, 6, false, field).poolFilesWritten);
    EXPECT_TRUE(progress.empty());
    EXPECT_EQ(day.pools.ticketCounter, 2130);
    std::size_t n = 0;
    for (PoolFile file : SingleRacePoolFiles)
        EXPECT_EQ(test::readAll(dir / poolFileName(file)), written[n++]) << poolFileName(file);
    EXPECT_EQ(day.pools.quinielaOdds, opened.quinielaOdds);
    EXPECT_EQ(day.pools.exactaOdds, opened.exactaOdds);
    EXPECT_NE(day.pools.exacta, opened.exacta);
}

} // namespace
