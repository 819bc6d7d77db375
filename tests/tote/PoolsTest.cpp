#include "tote/PoolFiles.h"
#include "tote/PublicPoolGeneration.h"
#include "tote/Tote.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstring>
#include <iomanip>
#include <numeric>
#include <sstream>
#include <string>
#include <tuple>

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

// The stored days' boards pin what form, earnings per start, segments and their rank earn; these
// are the figures only a hand-edited stable holds.
TEST(MoneyRating, UnknownGradesMoneyWithoutStartsAndTermsBeyond32BitsEarnNothing) {
    EXPECT_EQ(gradePoints("X") + gradePoints("a") + gradePoints(""), 0);
    FieldForm field = risingField();
    auto rating = [&](int post) { return moneyRatings(field)[static_cast<std::size_t>(post - 1)]; };
    // Post 3 rates 81 without form; money without starts earns nothing, a C line 2nd earns 18.
    field[2].horse.earnings = 5000;
    field[2].pastLines = {pastLine("C", 2)};
    EXPECT_EQ(rating(3), 81 + 18);
    // Post 1, last of eight, rates 20: a term that leaves 32 bits is skipped; a rating that does is none.
    field[0].horse.starts = 1;
    field[0].horse.earnings = 2000000000;
    EXPECT_EQ(rating(1), 20);
    field[0].horse.earnings = 715827882;
    EXPECT_EQ(rating(1), std::nullopt);
}

// A day in a temp folder and the rising field.
struct ToteDay : ::testing::Test, test::DayOnDisk<> {
    ToteDay() : DayOnDisk(42) {}
    FieldForm field = risingField();

    void write(PoolFile file, std::string_view content) { test::writeAll(dir / poolFileName(file), content); }
    std::vector<std::string> lines(PoolFile file) { return test::readLines(dir / poolFileName(file)); }
};

TEST_F(ToteDay, QuickModeMakesOnlyTheWinMoneyAndOddsOfARaceOfTheDay) {
    ListRandom counting{{0.3}};
    RaceDay quick{dir.path(), counting, prompter};
    quick.pools.place[0] = 123;
    const Pools before = quick.pools;
    publicPoolGeneration(quick, 0, false, field);
    publicPoolGeneration(quick, 13, false, field);
    EXPECT_EQ(std::memcmp(&quick.pools, &before, sizeof(Pools)), 0)
        << "a race outside the day changes nothing";

    EXPECT_FALSE(publicPoolGeneration(quick, 5, true, field).poolFilesWritten);
    EXPECT_EQ(counting.drawsTaken(), 0u);
    EXPECT_EQ(std::pair(quick.pools.win[7], quick.pools.place[0]), std::pair(3927, 123));
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
    EXPECT_EQ(std::tuple(quick.pools.win[0], quick.pools.winOdds[0], quick.pools.oddsByRace[2][0]),
              std::tuple(0, 7.5f, 7.5f));
    EXPECT_GT(quick.pools.winOdds[1], 0.0f);
}

// Place and show money follow the win money as the stored days' boards pin them; the consistency
// bands follow the money's rank, and horses tied for a rank share the worse band.
TEST_F(ToteDay, TiedHorsesShareTheWorseConsistencyBand) {
    field[5].horse = horseWithRatings(7); // posts 6 and 7 tie for second and third
    publicPoolGeneration(day, 1, false, field);
    EXPECT_EQ(day.pools.consistencyBand, (std::array<int32_t, Pools::N>{2, 2, 4, 4, 6, 6, 6, 8, 0}));
}

TEST_F(ToteDay, OpeningTheRaceWritesEveryCombinationOnceNumberedInOrderAsTheToteReadsIt) {
    RaceDay lost{dir / "missing-folder", random, prompter};
    auto failed = publicPoolGeneration(lost, 1, false, field);
    EXPECT_FALSE(failed.poolFilesWritten || lost.card.racePoolsOpened[0])
        << "a failed write leaves it unopened";
    EXPECT_TRUE(failed.error);

    day.currentRace = 2; // race 3 is the one shown
    day.raceSeeds[2] = 99;
    std::vector<int> progress; // the loading bar's last eight of its 21 steps, the files written last
    auto outcome =
        publicPoolGeneration(day, 3, false, field, [&](int percent) { progress.push_back(percent); });
    EXPECT_EQ(progress, (std::vector<int>{61, 66, 71, 76, 80, 85, 90, 95, 100}));
    ASSERT_TRUE(outcome.poolFilesWritten && !outcome.error && day.card.racePoolsOpened[2]);
    EXPECT_EQ(day.pools.ticketCounter, 2124);
    // Its money comes from the race's own stream, seeded from its seed alone.
    Pools fromSeed = day.pools;
    SeededRandom own(99);
    generateExoticPools(fromSeed, own);
    EXPECT_EQ(std::tuple(fromSeed.exacta, fromSeed.superfecta),
              std::tuple(day.pools.exacta, day.pools.superfecta));
    EXPECT_EQ(random.uniform(), SeededRandom(42).uniform()) << "nothing is drawn from the day's generator";

    // Numbered win, place, show for each post, then quiniela, exacta, trifecta, superfecta per pair.
    auto wins = lines(PoolFile::Wins), places = lines(PoolFile::Places), shows = lines(PoolFile::Shows);
    auto quinielas = lines(PoolFile::Quinielas), exactas = lines(PoolFile::Exactas);
    auto trifectas = lines(PoolFile::Trifectas), superfectas = lines(PoolFile::Superfectas);
    ASSERT_EQ((std::vector<std::size_t>{wins.size(), places.size(), shows.size(), quinielas.size(),
                                        exactas.size(), trifectas.size(), superfectas.size()}),
              (std::vector<std::size_t>{8, 8, 8, 28, 56, 336, 1680}));
    EXPECT_EQ(wins[7], "22,8," + std::to_string(day.pools.win[7]));
    EXPECT_EQ(shows[7].substr(0, 3), "24,");
    EXPECT_EQ(quinielas.front(), "25,1,2," + std::to_string(day.pools.quiniela[Pools::idx2(0, 1)]));
    EXPECT_EQ(superfectas.front().substr(0, 11), "28,1,2,3,4,");
    EXPECT_EQ(superfectas.back(),
              "2124,8,7,6,5," + std::to_string(day.pools.superfecta[Pools::idx4(7, 6, 5, 4)]));
    const auto written = test::folderContents(dir.path());

    // The tote reads back from the files exactly the money and odds generated.
    const Pools opened = day.pools;
    toteRefresh(day);
    EXPECT_EQ(std::memcmp(&day.pools, &opened, sizeof(Pools)), 0);

    // Browsing back after players' tickets and the race's own run, or to another race, writes nothing again.
    day.pools.ticketCounter = 2130;
    field[0].horse = horseWithRatings(9);
    for (bool quick : {false, true}) {
        EXPECT_FALSE(publicPoolGeneration(day, 3, quick, field).poolFilesWritten);
        EXPECT_NE(day.pools.winOdds, opened.winOdds) << "the program shows the race as its records stand";
        EXPECT_EQ(day.pools.oddsByRace[3], opened.oddsByRace[3])
            << "its multi-race legs pay on the odds bet on";
    }
    EXPECT_FALSE(publicPoolGeneration(day, 6, false, field).poolFilesWritten);
    EXPECT_EQ(day.pools.ticketCounter, 2130);
    EXPECT_EQ(test::folderContents(dir.path()), written);
    EXPECT_EQ(std::tie(day.pools.quinielaOdds, day.pools.exactaOdds),
              std::tie(opened.quinielaOdds, opened.exactaOdds));
    EXPECT_NE(day.pools.exacta, opened.exacta);
}

// ---- Pool files ----

// A line as read: "ticket posts amount", or "-" when it is refused.
std::string read(std::string_view text, PoolFile file) {
    auto line = parsePoolLine(text, file);
    if (!line)
        return "-";
    std::ostringstream out;
    out << std::setprecision(15) << line->ticket << " ";
    for (int i = 0; i < line->count; ++i)
        out << (i ? "-" : "") << line->horses[static_cast<std::size_t>(i)];
    out << " " << line->amount;
    return out.str();
}

// Lines as the game writes them take a quicker reading than padded or hand-edited ones: each line
// is read plain and padded, on either side of each limit of the quicker reading.
TEST(PoolLine, IsWrittenAsTicketPostsAndAmountAndReadBackOnlyWhenWellFormed) {
    const int16_t posts[] = {3, 1, 4};
    EXPECT_EQ(poolLineText(57, posts, 2), "57,3,1,4,2\r\n");
    EXPECT_EQ(poolLineText(2124, std::span(posts, 1), 0), "2124,3,0\r\n");
    struct Case {
        const char* text;
        PoolFile file;
        const char* read;
    } cases[] = {
        {"57,2,5,10", PoolFile::Quinielas, "57 2-5 10"},
        {" 8, 3, 7.5", PoolFile::Wins, "8 3 7.5"},      // amounts are read as numbers
        {"9,3,3,2", PoolFile::DailyDoubles, "9 3-3 2"}, // legs of different races may repeat a post
        {"9,1,1,1,1,1,1,2", PoolFile::Pick6s, "9 1-1-1-1-1-1 2"},
        {"1,3,3,2", PoolFile::Exactas, "-"},          // a horse cannot finish twice
        {"1,1,2,3,4,5,6,7,2", PoolFile::Pick6s, "-"}, // more fields than a pick 6 line
        {"2124,8,999999999", PoolFile::Wins, "2124 8 999999999"},
        {"2124,8,1000000000", PoolFile::Wins, "2124 8 1000000000"},
        {"00000000001,8,2", PoolFile::Wins, "1 8 2"},
        {"0,5,2", PoolFile::Wins, "0 5 2"}, // each field is read from its own first digit
        {"2147483648,1,2", PoolFile::Wins, "-"},
    };
    auto padded = [](std::string_view text) {
        std::string out = " ";
        for (char c : text)
            out += c == ',' ? std::string(", ") : std::string(1, c);
        return out;
    };
    for (const Case& c : cases) {
        EXPECT_EQ(read(c.text, c.file), c.read) << c.text;
        EXPECT_EQ(read(padded(c.text), c.file), c.read) << c.text;
    }
    for (const char* text :
         {"", "1,9,2", "1,0,2", "1,x,2", "x,1,2", "1,2", "1,2,3,4", "1,2,abc", "1,,2", "5000000000,1,2"}) {
        EXPECT_EQ(read(text, PoolFile::Wins), "-") << text;
        EXPECT_EQ(read(padded(text), PoolFile::Wins), "-") << text;
    }
}

TEST_F(ToteDay, RefreshStartsFromEmptyPoolsAndAddsEveryWellFormedLineToItsCellAndTotal) {
    Pools& p = day.pools;
    p.win.fill(77);
    p.winOdds.fill(3.5f);
    p.quinielaOdds[Pools::idx2(0, 1)] = p.exactaOdds[Pools::idx2(0, 2)] = 12.0f;
    p.oddsByRace[1][0] = 4.0f; // the public odds of the day stay as generated
    write(PoolFile::Wins, "1,1,100\r\n4,2,300\r\n2125,2,20\r\n\r\n2,9,500\r\nnonsense\r\n");
    write(PoolFile::Places, "2,1,74\r\n");
    write(PoolFile::Shows, "3,8,84\n");
    write(PoolFile::Quinielas, "25,2,5,40\r\n2126,5,2,10\r\n7,3,3,99\r\n");
    write(PoolFile::Exactas, "26,1,2,18\r\n27,2,1,6\r\n");
    write(PoolFile::Trifectas, "28,1,2,3,5\r\n");
    write(PoolFile::Superfectas, "29,4,3,2,1,7\r");
    toteRefresh(day);
    EXPECT_EQ(p.win, (std::array<int32_t, Pools::N>{100, 320, 0, 0, 0, 0, 0, 0, 0}));
    // A quiniela 5-2 adds to the pair's lower-first cell.
    EXPECT_EQ((std::vector<int32_t>{p.winTotal, p.place[0], p.placeTotal, p.show[7], p.showTotal,
                                    p.quiniela[Pools::idx2(1, 4)], p.quiniela[Pools::idx2(4, 1)],
                                    p.quinielaTotal, p.exacta[Pools::idx2(0, 1)], p.exacta[Pools::idx2(1, 0)],
                                    p.exactaTotal, p.trifecta[Pools::idx3(0, 1, 2)], p.trifectaTotal,
                                    p.superfecta[Pools::idx4(3, 2, 1, 0)], p.superfectaTotal}),
              (std::vector<int32_t>{420, 74, 74, 84, 84, 50, 0, 50, 18, 6, 24, 5, 5, 7, 7}));
    // Win 1: 420 * 0.75 / 100 - 1 = 2.15; win 2: 420 * 0.75 / 320 - 1 < 0; post 3, without money, keeps its
    // odds. Odds are truncated to tenths in single precision, so they compare exactly.
    EXPECT_EQ((std::vector<float>{p.winOdds[0], p.winOdds[1], p.winOdds[2], p.quinielaOdds[Pools::idx2(1, 4)],
                                  p.exactaOdds[Pools::idx2(1, 0)], p.exactaOdds[Pools::idx2(0, 1)],
                                  p.oddsByRace[1][0], p.quinielaOdds[Pools::idx2(0, 1)],
                                  p.exactaOdds[Pools::idx2(0, 2)]}),
              (std::vector<float>{2.1f, 0.05f, 3.5f, 0.05f, 2.0f, 0.05f, 4.0f, 12.0f, 12.0f}));

    // An amount that would overflow a pool is ignored; a missing file leaves its pool empty.
    write(PoolFile::Wins, "1,1,2000000000\r\n2,1,2000000000\r\n3,2,5\r\n");
    std::filesystem::remove(dir / poolFileName(PoolFile::Trifectas));
    toteRefresh(day);
    EXPECT_EQ(std::to_string(p.win[0]) + " " + std::to_string(p.winTotal) + " " +
                  std::to_string(p.trifecta[Pools::idx3(0, 1, 2)] + p.trifectaTotal),
              "2000000000 2000000005 0");
}

} // namespace
