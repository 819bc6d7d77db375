#include "database/DatabaseFiles.h"
#include "core/Constants.h"
#include "core/RaceDay.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

using namespace sw;
using sw::test::readAll;
using sw::test::readLines;
using sw::test::writeAll;

namespace {

class DatabaseFilesTest : public ::testing::Test {
protected:
    test::TempDir dir;
    SeededRandom random{1};
    test::ScriptedPrompter prompter;
    RaceDay day{dir.path(), random, prompter};
};

Horse sampleHorse() {
    Horse h;
    h.name = "Copper Lantern";
    h.grade = "AA";
    h.starts = 31;
    h.firsts = 9;
    h.seconds = 7;
    h.thirds = 4;
    h.fourths = 3;
    h.earnings = 87525;
    h.horseRating = 63;
    h.earnedGrade = "AA";
    h.gradeMark = "M";
    h.bestTime = 121.35f;
    h.segmentRating = {5, 13, 4, 8, -1};
    h.path = 2;
    h.spareRating = {0, 0, 3, 0};
    h.formValue = 4;
    h.spareFlag = true;
    return h;
}

// --- Record encoding ---

TEST(HorseRecord, FreshHorseLineMatchesTheFileLayout) {
    Horse h;
    h.name = "Silver Arrow";
    h.grade = h.earnedGrade = h.gradeMark = "M";
    h.horseRating = 63;
    h.bestTime = 999;
    h.segmentRating = {5, 7, 4, 8, 6};
    EXPECT_EQ(horseRecord(h), "Silver Arrow,M,0,0,0,0,0,0,63,M,M,999,5,7,4,8,6,0,0,0,0,0,0,False\r\n");
}

TEST(HorseRecord, RoundTripsEveryField) {
    Horse in = sampleHorse();
    std::string line = horseRecord(in);
    EXPECT_EQ(line, "Copper Lantern,AA,31,9,7,4,3,87525,63,AA,M,121.35,5,13,4,8,-1,2,0,0,3,0,4,True\r\n");
    Horse out;
    parseHorse(line.substr(0, line.size() - 2), out);
    EXPECT_EQ(horseRecord(out), line);
    EXPECT_EQ(out.bestTime, in.bestTime);
    EXPECT_EQ(out.segmentRating, in.segmentRating);
    EXPECT_TRUE(out.spareFlag);
}

TEST(HorseRecord, ShortOrBadFieldsLeaveTheValuesAsTheyWere) {
    Horse h = sampleHorse();
    parseHorse("Renamed,J,x", h);
    EXPECT_EQ(h.name, "Renamed");
    EXPECT_EQ(h.grade, "J");
    EXPECT_EQ(h.starts, 31) << "a field that is not a number is passed over";
    EXPECT_EQ(h.earnings, 87525) << "fields past the line's end are left alone";
    Horse fresh;
    parseHorse("Lonely", fresh);
    EXPECT_EQ(fresh.name, "Lonely");
    EXPECT_EQ(fresh.grade, "");
    EXPECT_EQ(fresh.horseRating, 0);
}

TEST(JockeyRecord, RoundTripsEveryField) {
    Jockey in{"Tobin Harrow", 2, 140, 31, 22, 19, 15, 1234567.3};
    std::string line = jockeyRecord(in);
    EXPECT_EQ(line, "Tobin Harrow,2,140,31,22,19,15,1234567.3\r\n");
    Jockey out;
    parseJockey(line, out);
    EXPECT_EQ(jockeyRecord(out), line);
    EXPECT_DOUBLE_EQ(out.earnings, 1234567.3);
}

PastPerformance samplePast() {
    PastPerformance p;
    p.horse = 17;
    p.date = "3/14/2026";
    p.raceNumber = 12;
    p.winnerTime = 121.5f;
    p.horseRating = 71;
    p.postPosition = 8;
    p.quarterPos = 3;
    p.halfPos = 2;
    p.halfLengths = "\u00BD";
    p.threeQuarterPos = 1;
    p.threeQuarterLengths = "hd";
    p.finishPos = 2;
    p.finishLengths = "1\u00BE";
    p.finalTime = 121.84f;
    p.odds = 4.5f;
    p.raceGrade = "B";
    p.comment = "Gamely-md";
    return p;
}

TEST(PastPerformanceRecord, RoundTripsEveryField) {
    std::string line = pastPerformanceRecord(samplePast());
    EXPECT_EQ(line,
              "17,3/14/2026,0,12,550,F,121.5,71,8,3,2,\u00BD,1,hd,2,1\u00BE,121.84,4.5,B,Gamely-md,8\r\n");
    PastPerformance back = parsePastPerformance(line);
    EXPECT_EQ(pastPerformanceRecord(back), line);
    EXPECT_EQ(back.finishLengths, "1\u00BE");
    EXPECT_FLOAT_EQ(back.finalTime, 121.84f);
}

TEST(PastPerformanceRecord, ParsesHandEditedTextTolerantly) {
    PastPerformance p = parsePastPerformance(" 017, 3/14/2026,0,2");
    EXPECT_EQ(p.horse, 17);
    EXPECT_EQ(p.date, "3/14/2026");
    EXPECT_EQ(p.raceNumber, 2);
    EXPECT_EQ(p.finishPos, 0);
    EXPECT_EQ(parsePastPerformance("horse,x").horse, 0);
    EXPECT_EQ(parsePastPerformance("99999,x").horse, 0) << "a number beyond 16 bits is passed over";
}

// --- Parsing and loading ---

TEST(StableText, RecordsFillTheTableFromSlotOneInOrderUpToItsSize) {
    Horse b = sampleHorse();
    b.name = "Midnight Ledger";
    b.grade = "C";
    std::string text = horseRecord(sampleHorse()) + "\r\n \t\n" + horseRecord(b);
    for (int i = 3; i <= HorseCount + 5; ++i)
        text += "H" + std::to_string(i) + ",M\r\n";
    HorseTable horses;
    EXPECT_EQ(parseHorses(text, horses), static_cast<std::size_t>(HorseCount));
    EXPECT_EQ(horses[0].name, "");
    EXPECT_EQ(horses[1].name, "Copper Lantern");
    EXPECT_EQ(horses[2].name, "Midnight Ledger") << "blank lines are no records";
    EXPECT_EQ(horses[2].grade, "C");
    EXPECT_EQ(horses[HorseCount].name, "H200") << "lines beyond the table are ignored";
}

TEST(StableText, SettingsComeFromTheFirstLineThatIsNotBlank) {
    const Settings settings = parseSettingsFile("\r\n  \r\n400,2,,,999\r\n1,1,,,1\r\n");
    EXPECT_EQ(settings.startAmount, 400.0f);
    EXPECT_EQ(settings.defaultBetAmount, 2.0f);
    EXPECT_EQ(settings.trackRecord, 999.0f);
    EXPECT_EQ(parseSettingsFile("").trackRecord, 0.0f) << "an empty file holds no settings";
}

TEST_F(DatabaseFilesTest, FilesThatCannotBeReadShowTheirMessageAndKeepTheTables) {
    std::filesystem::create_directory(dir / "jockeys.dat");
    EXPECT_EQ(loadHorses(day), ReadStatus::Missing);
    EXPECT_EQ(loadJockeys(day), ReadStatus::Unreadable);
    EXPECT_EQ(loadSettings(day), ReadStatus::Missing);
    ASSERT_EQ(prompter.shown().size(), 3u);
    EXPECT_EQ(prompter.shown()[0].text, "Error reading horses.dat");
    EXPECT_EQ(prompter.shown()[1].text, "Error reading jockeys.dat");
    EXPECT_EQ(prompter.shown()[2].text, "Error reading settings.dat");
    for (const auto& shown : prompter.shown()) {
        EXPECT_EQ(shown.title, "Stridewell - Horse Racing Message");
        EXPECT_FALSE(shown.question);
    }
    EXPECT_EQ(day.db.horses[1].name, "");
    EXPECT_EQ(day.folder.loaded("jockeys.dat"), ReadStatus::Unreadable);
}

TEST_F(DatabaseFilesTest, SavesAndReloadsTheWholeStable) {
    for (int h = 1; h <= HorseCount; ++h) {
        day.db.horses[h] = sampleHorse();
        day.db.horses[h].name = "Horse " + std::to_string(h);
    }
    for (int j = 1; j <= JockeyCount; ++j)
        day.db.jockeys[j] =
            Jockey{"Rider " + std::to_string(j), static_cast<int16_t>(j % 3), j, 1, 2, 3, 4, j * 10.5};
    day.db.settings = Settings{400, 2, 121.35f};
    ASSERT_FALSE(saveHorses(day));
    ASSERT_FALSE(saveJockeys(day));
    ASSERT_FALSE(saveSettings(day));
    EXPECT_EQ(readAll(dir / "settings.dat"), "400,2,,,121.35\r\n");

    test::ScriptedPrompter quiet;
    RaceDay again(dir.path(), random, quiet);
    ASSERT_EQ(loadHorses(again), ReadStatus::Read);
    ASSERT_EQ(loadJockeys(again), ReadStatus::Read);
    ASSERT_EQ(loadSettings(again), ReadStatus::Read);
    for (int h = 1; h <= HorseCount; ++h)
        EXPECT_EQ(horseRecord(again.db.horses[h]), horseRecord(day.db.horses[h]));
    for (int j = 1; j <= JockeyCount; ++j)
        EXPECT_EQ(jockeyRecord(again.db.jockeys[j]), jockeyRecord(day.db.jockeys[j]));
    EXPECT_EQ(again.db.settings.trackRecord, 121.35f);
}

TEST_F(DatabaseFilesTest, FailedRewriteLeavesTheOldFile) {
    writeAll(dir / "horses.dat", "Old Stable,M\r\n");
    writeAll(dir / "settings.dat", "400,2,1,0,999\r\n");
    std::filesystem::create_directory(dir / "horses.dat.new");
    std::filesystem::create_directory(dir / "settings.dat.new");
    day.db.horses[1].name = "New Stable";
    day.db.settings.startAmount = 10;
    EXPECT_TRUE(saveHorses(day));
    EXPECT_TRUE(saveSettings(day));
    EXPECT_EQ(readAll(dir / "horses.dat"), "Old Stable,M\r\n");
    EXPECT_EQ(readAll(dir / "settings.dat"), "400,2,1,0,999\r\n");
}

// --- Past performances, the card and the results file ---

TEST_F(DatabaseFilesTest, AppendsAndReadsPastPerformancesInOrder) {
    // A hand edit left the last line unfinished and a blank line above it.
    writeAll(dir / "pastperformances.dat", "\r\n5,1/2/2026,0,1,550,F,120,60,1,1,1,,1,,1,,120,2,M,Won-in,8");
    PastPerformance added = samplePast();
    added.comment = "Closed fast-in";
    ASSERT_FALSE(
        day.folder.commit(FileChanges().append("pastperformances.dat", pastPerformanceRecord(added))));

    const std::vector<PastPerformance> read = parsePastPerformances(readAll(dir / "pastperformances.dat"));
    ASSERT_EQ(read.size(), 2u);
    EXPECT_EQ(read[0].horse, 5);
    EXPECT_EQ(read[1].horse, 17);
    EXPECT_EQ(read[1].comment, "Closed fast-in");
}

TEST_F(DatabaseFilesTest, RaceCardLinesCarryNumberDateAndPosts) {
    day.date = "3/14/2026";
    for (int r = 0; r < RacesPerDay; ++r)
        for (int p = 0; p < FieldSize; ++p)
            day.card.raceHorse[r][p] = r * FieldSize + p + 1;
    ASSERT_FALSE(writeRaceCard(day));
    auto lines = readLines(dir / "races.dat");
    ASSERT_EQ(lines.size(), 12u);
    EXPECT_EQ(lines[0], "1,1,0,3/14/2026,1,2,3,4,5,6,7,8");
    EXPECT_EQ(lines[11], "12,1,0,3/14/2026,89,90,91,92,93,94,95,96");
    EXPECT_EQ(readAll(dir / "races.dat").substr(0, 33), "1,1,0,3/14/2026,1,2,3,4,5,6,7,8\r\n");
}

} // namespace
