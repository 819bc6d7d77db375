#include "program/RacingProgram.h"
#include "program/ProgramTexts.h"

#include "ProgramFixture.h"

#include "tote/PoolFiles.h"
#include "tote/Tote.h"

#include <gtest/gtest.h>

using namespace sw;

namespace {

struct RacingProgram : ::testing::Test, test::ProgramFixture {};

TEST_F(RacingProgram, ShowsTheRaceItsEntriesAndTheirRecords) {
    day.db.horses[17].earnings = 1500;
    day.db.horses[17].starts = 4;
    day.db.horses[17].firsts = 2;
    day.db.horses[17].seconds = 1;
    day.db.horses[17].thirds = 0;
    day.db.horses[17].fourths = 1;
    ProgramView view = showRace(day, 3, false);
    EXPECT_EQ(view.race, 3);
    EXPECT_EQ(view.raceNumber, "3");
    EXPECT_EQ(view.purse, "$3000");
    EXPECT_EQ(view.distance, "1 1/4 Miles");
    const ProgramEntryView& first = view.entries[0]; // horse 17, jockey 17
    EXPECT_EQ(first.horseName, "Horse 17");
    EXPECT_EQ(first.jockey, "Jockey 17 (V)");
    EXPECT_EQ(first.jockeyRecord, "17   0 0 0 0  $1700");
    EXPECT_EQ(first.starts, "4");
    EXPECT_EQ(first.firsts, "2");
    EXPECT_EQ(first.seconds, "1");
    EXPECT_EQ(first.thirds, "0");
    EXPECT_EQ(first.fourths, "1");
    EXPECT_EQ(first.earnings, "$1500");
    EXPECT_EQ(view.entries[7].horseName, "Horse 24");
    EXPECT_EQ(view.entries[7].jockey, "Jockey 24 (A)");
    EXPECT_EQ(view.jockeyStandings.size(), static_cast<std::size_t>(JockeyCount));
    EXPECT_EQ(view.jockeyStandings.front().substr(0, 15), "Jockey 32      ");
}

TEST_F(RacingProgram, FillsTheEntryTablesTheRaceReads) {
    Horse& horse = day.db.horses[42]; // race 6, post 2
    horse.segmentRating = {8, 7, 6, 5, 4};
    horse.path = 2;
    horse.formValue = 3;
    horse.bestTime = 117.5f;
    horse.spareFlag = true;
    day.entries.segmentRating[1][7] = 55; // a carried column, not the horse's
    showRace(day, 6, true);
    EXPECT_EQ(day.entries.name[1], "Horse 42");
    EXPECT_EQ(day.entries.starts[1], horse.starts);
    EXPECT_EQ(day.entries.earnings[1], horse.earnings);
    EXPECT_EQ(day.entries.segmentRating[1][0], 8);
    EXPECT_EQ(day.entries.segmentRating[1][4], 4);
    EXPECT_EQ(day.entries.segmentRating[1][7], 55);
    EXPECT_EQ(day.entries.path[1], 2);
    EXPECT_EQ(day.entries.formValue[1], 3);
    EXPECT_FLOAT_EQ(day.entries.bestTime[1], 117.5f);
    EXPECT_TRUE(day.entries.spareFlag[1]);
}

TEST_F(RacingProgram, ListsEachHorsesPastLinesInFileOrder) {
    addPastLines(17, 2, "AA");
    addPastLines(99, 3);
    addPastLines(18, 20);
    addPastLines(17, 1, "M");
    ProgramView view = showRace(day, 3, false);
    ASSERT_EQ(view.entries[0].pastLines.size(), 3u);
    EXPECT_EQ(view.entries[0].pastLines[0], "2  4 3-1  2-nk 3-2   1:58.30 6K   6.5 line 1");
    EXPECT_EQ(view.entries[0].pastLines[2], "2  4 3-1  2-nk 3-2   1:58.30 1K   6.5 line 1");
    EXPECT_EQ(view.entries[1].pastLines.size(), 20u) << "every line is shown, not only the rated ones";
    EXPECT_TRUE(view.entries[2].pastLines.empty());
}

TEST_F(RacingProgram, PastLinesRaiseTheWinMoney) {
    showRace(day, 1, true);
    const int32_t without = day.pools.win[0];
    addPastLines(1, 20, "B", 5); // 25 points each, 15 counted
    showRace(day, 1, true);
    EXPECT_EQ(day.pools.win[0], without + 15 * 25);
}

TEST_F(RacingProgram, BetsOfferedAndTheirFlagsFollowTheRaceShown) {
    struct Case {
        int race;
        const char* tail;
        bool dailyDouble, pick3, pick6;
    };
    const Case cases[] = {{1, "Betting", false, false, false},
                          {2, "Daily Double Betting", true, false, false},
                          {3, "2nd Half Daily Double Betting", false, false, false},
                          {4, "Pick 3 Betting", false, true, false},
                          {7, "Pick 6 Betting", false, false, true},
                          {12, "6th Leg of Pick 6 Betting", false, false, false}};
    for (const Case& c : cases) {
        ProgramView view = showRace(day, c.race, true);
        EXPECT_EQ(view.betsOffered,
                  "Win Place Show Quiniela Exacta Trifecta Superfecta " + std::string(c.tail));
        EXPECT_EQ(day.dailyDoubleOffered, c.dailyDouble) << c.race;
        EXPECT_EQ(day.pick3Offered, c.pick3) << c.race;
        EXPECT_EQ(day.pick6Offered, c.pick6) << c.race;
    }
}

TEST_F(RacingProgram, TrackRecordAndItsHolders) {
    ProgramView none = showRace(day, 1, true);
    EXPECT_EQ(none.trackRecord, "none yet");
    EXPECT_TRUE(none.trackRecordHolders.empty());

    day.db.settings.trackRecord = 27.35f;
    day.db.horses[3].bestTime = 27.35f;
    day.db.horses[150].bestTime = 27.35f;
    ProgramView held = showRace(day, 1, true);
    EXPECT_EQ(held.trackRecord, "0:27.35");
    EXPECT_EQ(held.trackRecordHolders, (std::vector<std::string>{"Horse 3", "Horse 150"}));
}

TEST_F(RacingProgram, StandingsAreReadFromTheJockeysFileEachTime) {
    Jockey star;
    star.name = "Ada Quill";
    star.skill = 2;
    star.earnings = 99999;
    std::string jockeys = jockeyRecord(star);
    for (int n = 2; n <= JockeyCount; ++n)
        jockeys += jockeyRecord(day.db.jockeys[static_cast<std::size_t>(n)]);
    test::writeAll(dir / "jockeys.dat", jockeys);
    ProgramView view = showRace(day, 1, true);
    EXPECT_EQ(day.db.jockeys[1].name, "Ada Quill");
    EXPECT_EQ(view.jockeyStandings.front(), "Ada Quill         0     0    0    0    0   $  99999");
    EXPECT_EQ(view.entries[0].jockey, "Ada Quill (V)");
}

TEST_F(RacingProgram, MissingFilesLeaveListsShortAndGoOn) {
    std::filesystem::remove(dir / "jockeys.dat");
    ProgramView view = showRace(day, 2, false);
    EXPECT_TRUE(prompter.shown().empty());
    EXPECT_EQ(view.entries[0].jockey, "Jockey 9 (A)") << "the table keeps what it held";
    EXPECT_TRUE(view.entries[0].pastLines.empty());
    EXPECT_GT(day.pools.winTotal, 0);
}

TEST_F(RacingProgram, RaceOutsideTheDayShowsNothing) {
    EXPECT_EQ(showRace(day, 0, false).race, 0);
    EXPECT_EQ(showRace(day, 13, false).race, 0);
    EXPECT_EQ(day.entries.name[0], "");
    EXPECT_FALSE(std::filesystem::exists(dir / "wins.dat"));
}

TEST_F(RacingProgram, CardSlotsOutsideTheStableShowEmptyEntries) {
    day.card.raceHorse[0][3] = 0;
    day.card.raceHorse[0][4] = 201;
    day.card.raceJockey[0][3] = 33;
    ProgramView view = showRace(day, 1, false);
    EXPECT_EQ(view.entries[3].horseName, "");
    EXPECT_EQ(view.entries[3].jockey, " (A)");
    EXPECT_EQ(view.entries[4].horseName, "");
    EXPECT_EQ(view.entries[5].horseName, "Horse 6");
}

TEST_F(RacingProgram, FirstOpeningLoadsEveryRaceThenOpensRaceOne) {
    std::vector<int> progress;
    ProgramView view = openRacingProgram(day, [&](int percent) { progress.push_back(percent); });
    EXPECT_EQ(progress, (std::vector<int>{4,  9,  14, 19, 23, 28, 33, 38, 42, 47, 52,
                                          57, 61, 66, 71, 76, 80, 85, 90, 95, 100}));
    EXPECT_TRUE(day.loadingPassDone);
    EXPECT_EQ(view.race, 1);
    EXPECT_EQ(day.entries.name[0], "Horse 1");
    for (int race = 1; race <= RacesPerDay; ++race)
        for (std::size_t h = 0; h < FieldSize; ++h)
            EXPECT_GE(day.pools.oddsByRace[static_cast<std::size_t>(race)][h], 0.05f) << race;
    EXPECT_TRUE(day.card.racePoolsOpened[0]);
    EXPECT_FALSE(day.card.racePoolsOpened[1]);
    EXPECT_EQ(day.pools.ticketCounter, 2124);
    EXPECT_EQ(test::readLines(dir / "superfectas.dat").size(), 1680u);
    EXPECT_EQ(test::readLines(dir / "wins.dat").front().substr(0, 4), "1,1,");
}

TEST_F(RacingProgram, ReopeningTheSameRaceNeitherReloadsNorRewrites) {
    openRacingProgram(day);
    auto files = allPoolFiles();
    std::vector<int> progress;
    openRacingProgram(day, [&](int percent) { progress.push_back(percent); });
    EXPECT_TRUE(progress.empty());
    EXPECT_EQ(allPoolFiles(), files);
}

TEST_F(RacingProgram, TheNextRaceOpensItsOwnPools) {
    openRacingProgram(day);
    appendPoolLines(day, PoolFile::Wins, "2125,1,50\r\n");
    day.pools.ticketCounter = 2125;
    day.currentRace = 1;
    ProgramView view = openRacingProgram(day);
    EXPECT_EQ(view.race, 2);
    EXPECT_TRUE(day.card.racePoolsOpened[1]);
    EXPECT_EQ(day.pools.ticketCounter, 2124) << "public lines are numbered from 1 again";
    EXPECT_EQ(test::readLines(dir / "wins.dat").size(), 8u);
    EXPECT_EQ(day.entries.name[0], "Horse 9");
}

TEST_F(RacingProgram, LeavingAfterBrowsingRestoresTheRaceAboutToBeRun) {
    openRacingProgram(day);
    // A player's $10 quiniela on 5 and 2, paid as the ticket writer does it.
    day.pools.ticketCounter += 1;
    const int16_t pair[] = {2, 5};
    appendPoolLines(day, PoolFile::Quinielas, poolLineText(day.pools.ticketCounter, pair, 10));
    const int16_t post[] = {5};
    appendPoolLines(day, PoolFile::Wins, poolLineText(day.pools.ticketCounter, post, 10));
    toteRefresh(day);
    const Pools paid = day.pools;
    const auto files = allPoolFiles();

    showRace(day, 5, false);
    EXPECT_EQ(allPoolFiles(), files) << "browsing never writes the pool files";
    EXPECT_NE(day.pools.win, paid.win);
    EXPECT_EQ(day.entries.name[0], "Horse 33");

    leaveRacingProgram(day);
    EXPECT_EQ(allPoolFiles(), files);
    EXPECT_EQ(day.entries.name[0], "Horse 1");
    EXPECT_FALSE(day.dailyDoubleOffered);
    EXPECT_EQ(day.pools.win, paid.win);
    EXPECT_EQ(day.pools.winTotal, paid.winTotal);
    EXPECT_EQ(day.pools.quiniela, paid.quiniela);
    EXPECT_EQ(day.pools.quinielaTotal, paid.quinielaTotal);
    EXPECT_EQ(day.pools.superfecta, paid.superfecta);
    EXPECT_EQ(day.pools.winOdds, paid.winOdds);
    EXPECT_EQ(day.pools.quinielaOdds, paid.quinielaOdds);
    EXPECT_EQ(day.pools.ticketCounter, paid.ticketCounter) << "the next ticket follows the last one";
}

TEST_F(RacingProgram, APoolFileThatCannotBeWrittenIsReportedAndRetried) {
    std::filesystem::create_directory(dir / "wins.dat.new"); // the atomic write cannot create its file
    ProgramView view = openRacingProgram(day);
    EXPECT_EQ(view.race, 1);
    ASSERT_FALSE(prompter.shown().empty());
    EXPECT_EQ(prompter.shown().front().title, "Stridewell - Horse Racing Message");
    EXPECT_NE(prompter.shown().front().text.find("wins.dat"), std::string::npos);
    EXPECT_FALSE(day.card.racePoolsOpened[0]);
    EXPECT_GT(day.pools.winTotal, 0) << "the generated pools stand instead of stale files";

    std::filesystem::remove(dir / "wins.dat.new");
    leaveRacingProgram(day);
    EXPECT_TRUE(day.card.racePoolsOpened[0]);
    EXPECT_EQ(test::readLines(dir / "wins.dat").size(), 8u);
}

} // namespace
