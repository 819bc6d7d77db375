// The stable's files: each record's fields, tolerant reading of hand-edited text, loading
// and saving the tables, and trimming the past performances to each horse's fifteen latest.

#include "database/DatabaseFiles.h"
#include "core/Constants.h"
#include "core/RaceDay.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

using namespace sw;
using test::writeAll;

namespace {

const std::string HorseLine =
    "Copper Lantern,AA,31,9,7,4,3,87525,63,AA,M,121.35,5,13,4,8,-1,2,0,0,3,0,4,True";
const std::string PastLine =
    "17,3/14/2026,0,12,550,F,121.5,71,8,3,2,\u00BD,1,hd,2,1\u00BE,121.84,4.5,B,Gamely-md,8";

// A field a line lacks, or that is no number, keeps the value it had.
TEST(Records, ReadTolerantlyAndWriteTheFileLayout) {
    Horse horse;
    parseHorse(HorseLine, horse);
    EXPECT_EQ(std::tuple(horse.bestTime, horse.segmentRating, horse.spareFlag),
              std::tuple(121.35f, std::array<int16_t, 5>{5, 13, 4, 8, -1}, true));
    parseHorse("Renamed,J,x", horse);
    EXPECT_EQ(horseRecord(horse),
              "Renamed,J,31,9,7,4,3,87525,63,AA,M,121.35,5,13,4,8,-1,2,0,0,3,0,4,True\r\n");

    Jockey jockey;
    parseJockey("Tobin Harrow,2,140,31,22,19,15,1234567.3\r\n", jockey);
    EXPECT_EQ(jockeyRecord(jockey), "Tobin Harrow,2,140,31,22,19,15,1234567.3\r\n");
    EXPECT_EQ(jockey.earnings, 1234567.3);

    const PastPerformance past = parsePastPerformance(PastLine);
    EXPECT_EQ(pastPerformanceRecord(past), PastLine + "\r\n");
    EXPECT_EQ(std::tuple(past.finishLengths, past.finalTime), std::tuple("1\u00BE", 121.84f));
    EXPECT_EQ(pastPerformanceRecord(parsePastPerformance(" 017, 3/14/2026,0,2")),
              "17,3/14/2026,0,2,550,F,0,0,0,0,0,,0,,0,,0,0,,,8\r\n");
}

TEST(StableText, RecordsFillTheTableFromSlotOneInOrderUpToItsSize) {
    std::string text = HorseLine + "\r\n \t\nMidnight Ledger,C\r\n";
    for (int i = 3; i <= HorseCount + 5; ++i)
        text += "H" + std::to_string(i) + ",M\r\n";
    HorseTable horses;
    EXPECT_EQ(parseHorses(text, horses), static_cast<std::size_t>(HorseCount));
    EXPECT_EQ(horses[0].name, "");
    EXPECT_EQ(horseRecord(horses[1]), HorseLine + "\r\n");
    EXPECT_EQ(horses[2].name + horses[2].grade, "Midnight LedgerC") << "blank lines are no records";
    EXPECT_EQ(horses[HorseCount].name, "H200") << "lines beyond the table are ignored";

    const Settings settings = parseSettingsFile("\r\n  \r\n400,2,,,999\r\n1,1,,,1\r\n");
    EXPECT_EQ(std::tuple(settings.startAmount, settings.defaultBetAmount, settings.trackRecord),
              std::tuple(Cents{40000}, Cents{200}, 999.0f));
    EXPECT_EQ(parseSettingsFile("").trackRecord, 0.0f) << "an empty file holds no settings";

    // A hand edit left a blank line and an unfinished last line.
    const auto past = parsePastPerformances("\r\n5,1/2/2026,0,1\r\n" + PastLine);
    ASSERT_EQ(past.size(), 2u);
    EXPECT_EQ(std::tuple(past[0].horse, past[1].comment), std::tuple(5, "Gamely-md"));
}

struct DatabaseFilesTest : ::testing::Test, test::DayOnDisk<> {
    DatabaseFilesTest() : DayOnDisk(1) {}
};

TEST_F(DatabaseFilesTest, FilesThatCannotBeReadShowTheirMessageAndKeepTheTables) {
    std::filesystem::create_directory(dir / "jockeys.dat");
    day.db.horses[1].name = "Kept";
    EXPECT_EQ(loadHorses(day), ReadStatus::Missing);
    EXPECT_EQ(loadJockeys(day), ReadStatus::Unreadable);
    EXPECT_EQ(loadSettings(day), ReadStatus::Missing);
    std::vector<std::string> shown;
    for (const auto& message : prompter.shown())
        shown.push_back(message.text);
    EXPECT_EQ(shown, (std::vector<std::string>{"Error reading horses.dat", "Error reading jockeys.dat",
                                               "Error reading settings.dat"}));
    EXPECT_EQ(day.db.horses[1].name, "Kept");
    EXPECT_EQ(day.db.settings.startAmount, 40000) << "the factory settings";
    EXPECT_EQ(day.folder.loaded("jockeys.dat"), ReadStatus::Unreadable);
}

// A hand edit made a line longer than a reader keeps: its record is never rebuilt from the part
// that was read. The horse and the jockey sit out blank, every save writes their lines back as they
// stand, the trim keeps a past line whole, and the player is told.
TEST_F(DatabaseFilesTest, ALineTooLongToReadWholeIsKeptAsItStandsAndSaid) {
    const std::string longName(70 * 1024, 'n');
    std::map<std::string, std::string> files;
    for (int h = 1; h <= HorseCount; ++h)
        files["horses.dat"] += (h == 7 ? longName : "Horse " + std::to_string(h)) +
                               HorseLine.substr(HorseLine.find(',')) + "\r\n";
    for (int j = 1; j <= JockeyCount; ++j)
        files["jockeys.dat"] += (j == 32 ? longName : "Rider " + std::to_string(j)) + ",1,2,1,0,0,0,10.5\r\n";
    for (const auto& [name, text] : files)
        writeAll(dir / name, text);
    EXPECT_EQ(loadHorses(day), ReadStatus::Read);
    EXPECT_EQ(loadJockeys(day), ReadStatus::Read);
    EXPECT_EQ(std::tuple(day.db.horses[7].name, day.db.horses[7].grade, day.db.jockeys[32].name),
              std::tuple("", "", ""));
    EXPECT_EQ(day.db.horses[8].name, "Horse 8");
    ASSERT_EQ(prompter.shown().size(), 2u);
    EXPECT_EQ(prompter.shown()[0].text,
              "horses.dat: the line of horse 7 is longer than 64 KiB and was not read. "
              "It sits out the day, and its line is kept as it stands.");
    day.db.horses[8].starts = 99;
    ASSERT_FALSE(saveHorses(day) || saveJockeys(day));
    EXPECT_EQ(test::readAll(dir / "jockeys.dat"), files["jockeys.dat"]);
    const std::string horses = test::readAll(dir / "horses.dat");
    EXPECT_NE(horses.find("\r\n" + longName + HorseLine.substr(HorseLine.find(',')) + "\r\nHorse 8,"),
              std::string::npos);
    EXPECT_NE(horses.find("Horse 8,AA,99,"), std::string::npos) << "the other records are saved";

    const std::string longPast = "1,1/1/2026,0,1,550,F,0,0,0,0,0,,0,,1,,120.5,0,M," + longName + ",8";
    EXPECT_EQ(trimmedPastPerformances(longPast + "\n" + PastLine), longPast + "\r\n" + PastLine + "\r\n");
}

// A line of horse h whose race number tells its place in the horse's history.
std::string pastLine(int horse, int serial) {
    return std::to_string(horse) + ",1/" + std::to_string(serial) + "/2026,0," + std::to_string(serial) +
           ",550,F,0,0,0,0,0,,0,,1,,120.5,0,M,Driving-in,8\r\n";
}

TEST(TrimmedPastPerformances, KeepEachHorsesFifteenLatestLinesInFileOrder) {
    // Horses 1 (16 lines) and 200 (15) as a season interleaves them, a blank line, and lines of no
    // known horse, which are kept as they stand however many there are.
    const std::map<int, int> counts = {{1, 16}, {200, 15}};
    const std::string strays[] = {"0,odd line", "201,1/1/2026,0,1", "-3,  x", "abc,def", "99999,1/1/2026"};
    std::string text = "  \r\n", expected;
    for (int serial = 1; serial <= 16; ++serial) {
        for (auto [horse, count] : counts) {
            if (serial > count)
                continue;
            text += pastLine(horse, serial);
            if (serial > count - 15)
                expected += pastLine(horse, serial);
        }
        text += strays[serial % 5] + "\n";
        expected += strays[serial % 5] + "\r\n";
    }
    EXPECT_EQ(trimmedPastPerformances(text), expected);
    EXPECT_EQ(trimmedPastPerformances(""), "");
}

} // namespace
