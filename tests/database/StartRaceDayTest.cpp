// Starting a race day: the twelve races drawn from the stable in the game's draw order, the
// day's files made fresh together, and a stable that cannot fill the day stopped early.

#include "database/StartRaceDay.h"
#include "core/Constants.h"
#include "core/GradeTables.h"
#include "core/RaceDay.h"
#include "database/DatabaseFiles.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <set>

using namespace sw;
using test::readAll;
using test::writeAll;

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

// A stable of the counts of each grade letter, the rest of no grade; jockeys and settings as a
// reset leaves them.
using Stable = std::vector<std::pair<int, std::string>>;

void writeStable(const std::filesystem::path& dir, const Stable& groups) {
    std::string horses, jockeys;
    for (const auto& [count, letter] : groups)
        for (int n = 0; n < count; ++n)
            horses += "Horse," + letter + ",0,0,0,0,0,0,60,M,M,999\r\n";
    for (int j = 1; j <= JockeyCount; ++j)
        jockeys += "Rider " + std::to_string(j) + "," + std::to_string(j % 3) + ",0,0,0,0,0,0\r\n";
    writeAll(dir / "horses.dat", horses);
    writeAll(dir / "jockeys.dat", jockeys);
    writeAll(dir / "settings.dat", "400,2,1,0,999\r\n");
    writeAll(dir / "pastperformances.dat", "");
}

// What every drawn card must satisfy: no horse twice in the day, no jockey twice in a race, every
// horse of the race's grade.
void expectSoundCard(const RaceDay& day) {
    std::set<int32_t> dayHorses;
    for (int r = 0; r < RacesPerDay; ++r) {
        const int g = day.card.raceGrade[r];
        ASSERT_TRUE(g >= 1 && g <= 6) << g;
        std::set<int16_t> raceJockeys;
        for (int p = 0; p < FieldSize; ++p) {
            const int32_t h = day.card.raceHorse[r][p];
            const int16_t j = day.card.raceJockey[r][p];
            ASSERT_TRUE(h >= 1 && h <= HorseCount && j >= 1 && j <= JockeyCount) << h << " " << j;
            EXPECT_TRUE(dayHorses.insert(h).second) << "horse " << h << " twice in the day";
            EXPECT_EQ(day.db.horses[h].grade, GradeLetters[g]) << "race " << r + 1 << " post " << p + 1;
            EXPECT_TRUE(raceJockeys.insert(j).second) << "jockey " << j << " twice in race " << r + 1;
        }
        EXPECT_FALSE(day.card.racePoolsOpened[r]);
    }
}

struct StartRaceDayTest : ::testing::Test {
    test::TempDir dir;
    test::ScriptedPrompter prompter;
};

TEST_F(StartRaceDayTest, EveryCardDrawnIsSound) {
    test::copyBundledData(dir.path());
    for (bool mixed : {false, true}) {
        if (mixed)
            writeStable(dir.path(),
                        {{60, "M"}, {40, "J"}, {30, "C"}, {30, "B"}, {20, "A"}, {12, "AA"}, {8, "X"}});
        std::set<int> gradesSeen;
        for (uint64_t seed = 1; seed <= 25; ++seed) {
            SeededRandom random(seed);
            RaceDay day(dir.path(), random, prompter);
            const StartResult result = startRaceDay(day);
            ASSERT_TRUE(result.ready) << result.message;
            EXPECT_EQ(result.message, "");
            EXPECT_TRUE(day.cardDrawn);
            expectSoundCard(day);
            gradesSeen.insert(day.card.raceGrade.begin(), day.card.raceGrade.end());
        }
        EXPECT_EQ(gradesSeen.size(), 6u) << "every grade with eight horses gets races";
    }
    EXPECT_TRUE(prompter.shown().empty());
}

TEST_F(StartRaceDayTest, FollowsTheDrawOrderOfGradeThenHorseAndJockeyPerPost) {
    writeStable(dir.path(), {{8, "J"}, {192, "M"}}); // horses 1..8 are the only "J" horses
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
    for (int r = 1; r < RacesPerDay; ++r)
        EXPECT_EQ(day.card.raceGrade[r], 1) << "the eight J horses are all taken by race 1";
    expectSoundCard(day);
}

TEST_F(StartRaceDayTest, AStableThatCannotFillTheDayStopsBeforeTheRace) {
    const struct {
        Stable stable;
        int unfilledRace;
    } cases[] = {{{{90, "M"}}, 12},
                 // Ninety horses, but only one race per grade.
                 {{{15, "M"}, {15, "J"}, {15, "C"}, {15, "B"}, {15, "A"}, {15, "AA"}, {110, "Z"}}, 7}};
    for (const auto& c : cases) {
        writeStable(dir.path(), c.stable);
        writeAll(dir / "players.dat", "1,Ann,12\r\n");
        prompter.clear();
        SeededRandom random(3);
        RaceDay day(dir.path(), random, prompter);
        const StartResult result = startRaceDay(day);
        EXPECT_FALSE(result.ready);
        EXPECT_FALSE(day.cardDrawn);
        EXPECT_EQ(result.unfilledRace, c.unfilledRace);
        EXPECT_NE(result.message.find("race " + std::to_string(c.unfilledRace) + ":"), std::string::npos);
        ASSERT_EQ(prompter.shown().size(), 1u);
        EXPECT_EQ(prompter.shown()[0].text, result.message);
        EXPECT_EQ(prompter.shown()[0].title, MessageTitle);
        EXPECT_EQ(readAll(dir / "races.dat"), "") << "no card is recorded for a day that cannot run";
        EXPECT_EQ(readAll(dir / "players.dat"), "1,Ann,12\r\n") << "the start went no further";
    }
}

TEST_F(StartRaceDayTest, AMissingStableFileStopsTheDayBeforeAnythingIsDrawnOrWritten) {
    for (const std::string missing : {"horses.dat", "jockeys.dat"}) {
        test::copyBundledData(dir.path());
        std::filesystem::remove(dir / missing);
        std::filesystem::remove(dir / "races.dat");
        prompter.clear();
        SeededRandom random(5);
        RaceDay day(dir.path(), random, prompter);
        const StartResult result = startRaceDay(day);
        EXPECT_FALSE(result.ready);
        EXPECT_EQ(result.missingFile, missing);
        EXPECT_TRUE(prompter.sawText("Error reading " + missing));
        EXPECT_TRUE(prompter.sawText(result.message));
        EXPECT_EQ(result.message.rfind(missing + " is missing", 0), 0u) << result.message;
        EXPECT_NE(result.message.find("backup"), std::string::npos);
        EXPECT_NE(result.message.find("reset"), std::string::npos);
        EXPECT_FALSE(std::filesystem::exists(dir / "races.dat")) << missing;
    }
}

TEST_F(StartRaceDayTest, ANewDayWritesItsCardAndDropsWhatTheLastDayLeft) {
    test::copyBundledData(dir.path());
    writeAll(dir / "results.dat", "old results\r\n");
    writeAll(dir / "tickets.dat", "1,2,$2 Win 3\r\n");
    writeAll(dir / "races.dat", "stale\r\n");
    // A day quit part-way leaves multi-race halves, Twin-Tri and Tri-Super halves and credits.
    const char* leftovers[] = {"dailydoubles.dat",      "pick3s.dat",         "pick6s.dat",
                               "twintris.dat",          "trisupers.dat",      "twintriexchanges.dat",
                               "trisuperexchanges.dat", "exchangecredits.dat"};
    for (const char* name : leftovers)
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

    std::string card;
    for (int r = 0; r < RacesPerDay; ++r) {
        card += std::to_string(r + 1) + ",1,0,3/14/2026";
        for (int p = 0; p < FieldSize; ++p)
            card += "," + std::to_string(day.card.raceHorse[r][p]);
        card += "\r\n";
    }
    EXPECT_EQ(readAll(dir / "races.dat"), card);
    EXPECT_EQ(readAll(dir / "results.dat"), "");
    EXPECT_EQ(readAll(dir / "tickets.dat"), "");
    for (const char* name : leftovers)
        EXPECT_EQ(readAll(dir / name), "") << name;
    EXPECT_EQ(readAll(dir / "pastperformances.dat"), pastLines.substr(pastLines.find("\r\n") + 2));
    EXPECT_TRUE(day.exchangeCredits.empty());
    EXPECT_TRUE(day.tickets.empty());
    EXPECT_EQ(day.currentRace, 0);
    EXPECT_FALSE(day.loadingPassDone);
    EXPECT_TRUE(prompter.shown().empty());

    // Without a date set, the day is today's.
    day.date.clear();
    ASSERT_TRUE(startRaceDay(day).ready);
    EXPECT_FALSE(day.date.empty());
    EXPECT_EQ(day.date.find(','), std::string::npos);
    EXPECT_EQ(test::readLines(dir / "races.dat")[0].rfind("1,1,0," + day.date + ",", 0), 0u);
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

    // Missing settings are reported and the day has the factory settings.
    std::filesystem::remove(dir / "settings.dat");
    writeAll(dir / "players.dat", "1,Ann,50\r\n");
    day.db.settings = Settings{650, 5, 118.2f};
    ASSERT_TRUE(startRaceDay(day).ready);
    EXPECT_TRUE(prompter.sawText("Error reading settings.dat"));
    EXPECT_EQ(day.db.settings.startAmount, 400.0f);
    EXPECT_EQ(day.db.settings.defaultBetAmount, 2.0f);
    EXPECT_EQ(day.db.settings.trackRecord, 999.0f);
    EXPECT_EQ(day.players.entries[0].balance, "400");
}

TEST_F(StartRaceDayTest, AnUnwritableCardRecordStillDrawsTheDay) {
    test::copyBundledData(dir.path());
    std::filesystem::create_directory(dir / "races.dat");
    SeededRandom random(4);
    RaceDay day(dir.path(), random, prompter);
    EXPECT_TRUE(startRaceDay(day).ready);
    EXPECT_TRUE(prompter.sawText("Cannot write races.dat: Is a directory"));
    expectSoundCard(day);
}

TEST(AmountSpinnerStart, RoundsHalfToEvenWithinTheSpinnerRange) {
    std::vector<int> starts;
    for (float amount : {2.0f, 2.5f, 3.5f, 2.6f, -5.0f, 32000.4f, 3.0e38f})
        starts.push_back(amountSpinnerStart(Settings{400, amount, 999}));
    EXPECT_EQ(starts, (std::vector<int>{2, 2, 4, 3, 0, 32000, 32000}));
}

} // namespace
