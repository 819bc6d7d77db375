#include "database/StartRaceDay.h"
#include "core/Constants.h"
#include "core/Format.h"
#include "core/GradeTables.h"
#include "core/RaceDay.h"
#include "database/DatabaseFiles.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <set>

using namespace sw;
using sw::test::readAll;
using sw::test::readLines;
using sw::test::writeAll;

namespace {

// Replays scripted draws first, then carries on with a seeded generator, so a test can pin the
// first draws of a day without scripting all of them.
class ScriptThenSeeded final : public Random {
public:
    ScriptThenSeeded(std::vector<double> script, uint64_t seed) : m_script(std::move(script)), m_rest(seed) {}
    double uniform() override { return m_next < m_script.size() ? m_script[m_next++] : m_rest.uniform(); }
    std::size_t scriptedTaken() const { return m_next; }

private:
    std::vector<double> m_script;
    std::size_t m_next = 0;
    SeededRandom m_rest;
};

// The uniform value that draws k of n.
double drawing(int k, int n) {
    return (k - 0.5) / n;
}

// A stable whose horse h carries grades[h - 1]; jockeys and settings as a reset leaves them.
void writeStable(const std::filesystem::path& dir, const std::vector<std::string>& grades) {
    std::string horses;
    for (int h = 1; h <= HorseCount; ++h) {
        Horse horse;
        horse.name = "Horse " + std::to_string(h);
        horse.grade = grades[static_cast<std::size_t>(h) - 1];
        horse.earnedGrade = horse.gradeMark = "M";
        horse.bestTime = 999;
        horse.horseRating = 60;
        horses += horseRecord(horse);
    }
    writeAll(dir / "horses.dat", horses);
    std::string jockeys;
    for (int j = 1; j <= JockeyCount; ++j)
        jockeys +=
            jockeyRecord(Jockey{"Rider " + std::to_string(j), static_cast<int16_t>(j % 3), 0, 0, 0, 0, 0, 0});
    writeAll(dir / "jockeys.dat", jockeys);
    writeAll(dir / "settings.dat", "400,2,1,0,999\r\n");
    writeAll(dir / "pastperformances.dat", "");
}

std::vector<std::string> gradesOf(std::initializer_list<std::pair<int, std::string>> groups) {
    std::vector<std::string> grades;
    for (const auto& [count, letter] : groups)
        grades.insert(grades.end(), static_cast<std::size_t>(count), letter);
    grades.resize(HorseCount, "-");
    return grades;
}

// Checks what every drawn card must satisfy.
void expectSoundCard(const RaceDay& day) {
    std::set<int32_t> dayHorses;
    for (int r = 0; r < RacesPerDay; ++r) {
        const int g = day.card.raceGrade[r];
        ASSERT_GE(g, 1);
        ASSERT_LE(g, 6);
        std::set<int16_t> raceJockeys;
        for (int p = 0; p < FieldSize; ++p) {
            const int32_t h = day.card.raceHorse[r][p];
            ASSERT_GE(h, 1);
            ASSERT_LE(h, HorseCount);
            EXPECT_TRUE(dayHorses.insert(h).second) << "horse " << h << " twice in the day";
            EXPECT_EQ(day.db.horses[h].grade, GradeLetters[g]) << "race " << r + 1 << " post " << p + 1;
            const int16_t j = day.card.raceJockey[r][p];
            ASSERT_GE(j, 1);
            ASSERT_LE(j, JockeyCount);
            EXPECT_TRUE(raceJockeys.insert(j).second) << "jockey " << j << " twice in race " << r + 1;
        }
        EXPECT_FALSE(day.card.racePoolsOpened[r]);
    }
}

class StartRaceDayTest : public ::testing::Test {
protected:
    test::TempDir dir;
    test::ScriptedPrompter prompter;
};

// --- The card ---

TEST_F(StartRaceDayTest, BundledStableGivesSoundCards) {
    test::copyBundledData(dir.path());
    for (uint64_t seed = 1; seed <= 25; ++seed) {
        SeededRandom random(seed);
        RaceDay day(dir.path(), random, prompter);
        StartResult result = startRaceDay(day);
        ASSERT_TRUE(result.ready) << result.message;
        EXPECT_TRUE(result.message.empty());
        EXPECT_TRUE(day.cardDrawn);
        expectSoundCard(day);
    }
    EXPECT_TRUE(prompter.shown().empty());
}

TEST_F(StartRaceDayTest, MixedGradesDrawOnlyHorsesOfTheRaceGrade) {
    writeStable(dir.path(),
                gradesOf({{60, "M"}, {40, "J"}, {30, "C"}, {30, "B"}, {20, "A"}, {12, "AA"}, {8, "X"}}));
    std::set<int> gradesSeen;
    for (uint64_t seed = 1; seed <= 25; ++seed) {
        SeededRandom random(seed);
        RaceDay day(dir.path(), random, prompter);
        ASSERT_TRUE(startRaceDay(day).ready);
        expectSoundCard(day);
        for (int r = 0; r < RacesPerDay; ++r)
            gradesSeen.insert(day.card.raceGrade[r]);
    }
    EXPECT_EQ(gradesSeen.size(), 6u) << "every grade with eight horses gets races";
}

TEST_F(StartRaceDayTest, FollowsTheDrawOrderOfGradeThenHorseAndJockeyPerPost) {
    // Horses 1..8 are the only "J" horses; the rest are maidens.
    auto grades = gradesOf({{8, "J"}, {192, "M"}});
    writeStable(dir.path(), grades);
    ScriptThenSeeded random(
        {
            1.0,              // beyond the table: a miss
            drawing(3, 6),    // "C": no horses, drawn again
            drawing(2, 6),    // "J"
            drawing(10, 200), // post 1: a maiden, drawn again
            drawing(3, 200),  // post 1: horse 3
            drawing(5, 32),   // post 1: jockey 5
            drawing(3, 200),  // post 2: horse 3 again, already drawn
            1.0,              // beyond the table
            drawing(1, 200),  // post 2: horse 1
            drawing(5, 32),   // post 2: jockey 5 is booked in this race
            drawing(32, 32),  // post 2: jockey 32
        },
        7);
    RaceDay day(dir.path(), random, prompter);
    ASSERT_TRUE(startRaceDay(day).ready);
    EXPECT_EQ(random.scriptedTaken(), 11u);
    EXPECT_EQ(day.card.raceGrade[0], 2);
    EXPECT_EQ(day.card.raceHorse[0][0], 3);
    EXPECT_EQ(day.card.raceJockey[0][0], 5);
    EXPECT_EQ(day.card.raceHorse[0][1], 1);
    EXPECT_EQ(day.card.raceJockey[0][1], 32);
    for (int p = 0; p < FieldSize; ++p)
        EXPECT_LE(day.card.raceHorse[0][p], 8);
    for (int r = 1; r < RacesPerDay; ++r)
        EXPECT_EQ(day.card.raceGrade[r], 1) << "the eight J horses are all taken by race 1";
    expectSoundCard(day);
}

TEST_F(StartRaceDayTest, SameSeedGivesTheSameDay) {
    test::copyBundledData(dir.path());
    SeededRandom first(42), second(42);
    RaceDay a(dir.path(), first, prompter), b(dir.path(), second, prompter);
    ASSERT_TRUE(startRaceDay(a).ready);
    ASSERT_TRUE(startRaceDay(b).ready);
    EXPECT_EQ(a.card.raceHorse, b.card.raceHorse);
    EXPECT_EQ(a.card.raceJockey, b.card.raceJockey);
}

// --- A stable that cannot fill the day ---

TEST_F(StartRaceDayTest, NinetyGradedHorsesStopBeforeTheTwelfthRace) {
    writeStable(dir.path(), gradesOf({{90, "M"}}));
    writeAll(dir / "players.dat", "1,Ann,12\r\n");
    SeededRandom random(3);
    RaceDay day(dir.path(), random, prompter);
    StartResult result = startRaceDay(day);
    EXPECT_FALSE(result.ready);
    EXPECT_FALSE(day.cardDrawn);
    EXPECT_EQ(result.unfilledRace, 12);
    EXPECT_NE(result.message.find("race 12"), std::string::npos);
    ASSERT_EQ(prompter.shown().size(), 1u);
    EXPECT_EQ(prompter.shown()[0].text, result.message);
    EXPECT_EQ(prompter.shown()[0].title, MessageTitle);
    EXPECT_EQ(readAll(dir / "races.dat"), "") << "no card is recorded for a day that cannot run";
    EXPECT_EQ(readAll(dir / "players.dat"), "1,Ann,12\r\n") << "the start went no further";
}

TEST_F(StartRaceDayTest, GradesSpreadTooThinStopEarly) {
    // Fifteen of each grade: ninety horses, but only one race per grade.
    writeStable(dir.path(),
                gradesOf({{15, "M"}, {15, "J"}, {15, "C"}, {15, "B"}, {15, "A"}, {15, "AA"}, {110, "Z"}}));
    SeededRandom random(5);
    RaceDay day(dir.path(), random, prompter);
    StartResult result = startRaceDay(day);
    EXPECT_FALSE(result.ready);
    EXPECT_EQ(result.unfilledRace, 7);
}

TEST_F(StartRaceDayTest, AMissingStableFileStopsTheDayBeforeAnythingIsDrawnOrWritten) {
    for (const char* missing : {"horses.dat", "jockeys.dat"}) {
        test::copyBundledData(dir.path());
        std::filesystem::remove(dir / missing);
        std::filesystem::remove(dir / "races.dat");
        prompter.clear();
        SeededRandom random(5);
        RaceDay day(dir.path(), random, prompter);
        StartResult result = startRaceDay(day);
        EXPECT_FALSE(result.ready);
        EXPECT_EQ(result.missingFile, missing);
        EXPECT_TRUE(prompter.sawText("Error reading " + std::string(missing)));
        EXPECT_TRUE(prompter.sawText(result.message));
        EXPECT_EQ(result.message.rfind(std::string(missing) + " is missing", 0), 0u) << result.message;
        EXPECT_NE(result.message.find("backup"), std::string::npos);
        EXPECT_NE(result.message.find("reset"), std::string::npos);
        EXPECT_FALSE(std::filesystem::exists(dir / "races.dat")) << missing;
    }
}

// --- The files and the day's state ---

TEST_F(StartRaceDayTest, NewDayWritesItsCardAndDropsWhatTheLastDayLeft) {
    test::copyBundledData(dir.path());
    writeAll(dir / "results.dat", "old results\r\n");
    writeAll(dir / "tickets.dat", "1,2,$2 Win 3\r\n");
    writeAll(dir / "races.dat", "stale\r\n");
    // A day quit between the halves of a Twin-Tri or Tri-Super leaves halves and credits.
    const char* exchangeFiles[] = {"twintris.dat", "trisupers.dat", "twintriexchanges.dat",
                                   "trisuperexchanges.dat", "exchangecredits.dat"};
    for (const char* name : exchangeFiles)
        writeAll(dir / name, "2125,1,2,3,2\r\n");
    std::string pastLines;
    for (int i = 1; i <= 16; ++i)
        pastLines += "4,1/" + std::to_string(i) + "/2026,0,1,550,F,120,60,1,1,1,,1,,1,,120,2,M,Won,8\r\n";
    writeAll(dir / "pastperformances.dat", pastLines);
    SeededRandom random(11);
    RaceDay day(dir.path(), random, prompter);
    day.date = "3/14/2026";
    day.currentRace = 7;
    day.card.racePoolsOpened.fill(true);
    day.loadingPassDone = true;
    day.tickets.push_back({"$2 Win 3", 1, true});
    day.exchangeCredits.push_back({2125, 1, 2, "Twin-Tri", 8, "1-2-3", 9.0f, 0});
    ASSERT_TRUE(startRaceDay(day).ready);

    auto lines = readLines(dir / "races.dat");
    ASSERT_EQ(lines.size(), 12u);
    for (int r = 0; r < RacesPerDay; ++r) {
        std::string expected = std::to_string(r + 1) + ",1,0,3/14/2026";
        for (int p = 0; p < FieldSize; ++p)
            expected += "," + std::to_string(day.card.raceHorse[r][p]);
        EXPECT_EQ(lines[r], expected);
    }
    EXPECT_EQ(readAll(dir / "results.dat"), "");
    EXPECT_EQ(readAll(dir / "tickets.dat"), "");
    for (const char* name : exchangeFiles)
        EXPECT_EQ(readAll(dir / name), "") << name;
    EXPECT_TRUE(day.exchangeCredits.empty());
    EXPECT_EQ(readLines(dir / "pastperformances.dat").size(), 15u);
    EXPECT_EQ(day.currentRace, 0);
    EXPECT_FALSE(day.loadingPassDone);
    EXPECT_TRUE(day.tickets.empty());
    for (bool opened : day.card.racePoolsOpened)
        EXPECT_FALSE(opened);
}

TEST_F(StartRaceDayTest, FillsTodaysDateWhenNoneIsSet) {
    test::copyBundledData(dir.path());
    SeededRandom random(1);
    RaceDay day(dir.path(), random, prompter);
    ASSERT_TRUE(startRaceDay(day).ready);
    EXPECT_FALSE(day.date.empty());
    EXPECT_EQ(day.date.find(','), std::string::npos);
    EXPECT_NE(readLines(dir / "races.dat")[0].find("," + day.date + ","), std::string::npos);
}

TEST_F(StartRaceDayTest, PlayersStartAtTheStartingAmountWithTheFirstSelected) {
    test::copyBundledData(dir.path());
    SeededRandom random(2);
    RaceDay day(dir.path(), random, prompter);
    day.players.balanceLabel = "design";
    ASSERT_TRUE(startRaceDay(day).ready);
    EXPECT_EQ(day.players.selected, -1) << "no players, nobody selected";
    EXPECT_EQ(day.players.balanceLabel, "design");

    writeAll(dir / "players.dat", "5,Ann,3\r\n6,Bob,0.5\r\n");
    ASSERT_TRUE(startRaceDay(day).ready);
    ASSERT_EQ(day.players.entries.size(), 2u);
    EXPECT_EQ(day.players.selected, 0);
    EXPECT_EQ(day.players.balanceLabel, "400.00");
    EXPECT_EQ(readAll(dir / "players.dat"), "5,Ann,400\r\n6,Bob,400\r\n");
    EXPECT_EQ(amountSpinnerStart(day.db.settings), 2);
}

TEST_F(StartRaceDayTest, MissingSettingsShowTheMessageAndTheDayHasTheFactorySettings) {
    test::copyBundledData(dir.path());
    std::filesystem::remove(dir / "settings.dat");
    writeAll(dir / "players.dat", "1,Ann,50\r\n");
    SeededRandom random(2);
    RaceDay day(dir.path(), random, prompter);
    ASSERT_TRUE(startRaceDay(day).ready);
    EXPECT_TRUE(prompter.sawText("Error reading settings.dat"));
    EXPECT_EQ(day.db.settings.startAmount, 400.0f);
    EXPECT_EQ(day.db.settings.defaultBetAmount, 2.0f);
    EXPECT_EQ(day.db.settings.trackRecord, 999.0f);
    EXPECT_EQ(day.players.entries[0].balance, "400");
    EXPECT_EQ(readLines(dir / "races.dat").size(), 12u);
}

TEST_F(StartRaceDayTest, UnwritableCardRecordStillDrawsTheDay) {
    test::copyBundledData(dir.path());
    std::filesystem::create_directory(dir / "races.dat");
    SeededRandom random(4);
    RaceDay day(dir.path(), random, prompter);
    StartResult result = startRaceDay(day);
    EXPECT_TRUE(result.ready);
    EXPECT_TRUE(prompter.sawText("Cannot write races.dat: Is a directory"));
    expectSoundCard(day);
}

TEST(AmountSpinnerStart, RoundsHalfToEvenWithinTheSpinnerRange) {
    auto start = [](float amount) { return amountSpinnerStart(Settings{400, amount, 999}); };
    EXPECT_EQ(start(2), 2);
    EXPECT_EQ(start(2.5f), 2);
    EXPECT_EQ(start(3.5f), 4);
    EXPECT_EQ(start(2.6f), 3);
    EXPECT_EQ(start(-5), 0);
    EXPECT_EQ(start(32000.4f), 32000);
    EXPECT_EQ(start(3.0e38f), 32000);
}

} // namespace
