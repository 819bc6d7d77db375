// Starting a race day: the twelve races drawn from the stable, the day's files made fresh together,
// and a stable that cannot fill the day stopped before any draw.

#include "database/StartRaceDay.h"
#include "core/Constants.h"
#include "core/GradeTables.h"
#include "core/RaceDay.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <set>

using namespace sw;
using test::readAll;
using test::writeAll;

namespace {

// A stable of so many horses of each grade letter, the rest of no grade; the jockeys and the
// settings as a reset leaves them.
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

// No horse twice in the day, no jockey twice in a race, every horse of its race's grade.
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

// A day drawn from a stable of every grade: its card record cannot be written, which is reported,
// and the day is drawn all the same.
TEST_F(StartRaceDayTest, EveryCardDrawnIsSound) {
    writeStable(dir.path(), {{60, "M"}, {40, "J"}, {30, "C"}, {30, "B"}, {20, "A"}, {12, "AA"}, {8, "X"}});
    std::filesystem::create_directory(dir / "races.dat");
    SeededRandom random(1);
    RaceDay day(dir.path(), random, prompter);
    ASSERT_TRUE(startRaceDay(day).ready && day.cardDrawn);
    EXPECT_EQ(prompter.shown().at(0).text, "Cannot write races.dat: Is a directory");
    expectSoundCard(day);
    EXPECT_EQ(std::set<int>(day.card.raceGrade.begin(), day.card.raceGrade.end()).size(), 6u)
        << "every grade with eight horses gets races";
}

// The day stops before the race no grade can fill, or before any draw when the stable's horses
// or jockeys are missing; it writes nothing, and the player is told what to do.
TEST_F(StartRaceDayTest, AStableThatCannotFillTheDayStopsAndWritesNothing) {
    const struct {
        Stable stable;
        const char* missing;
        int unfilledRace;
        const char* message;
    } cases[] = {
        {{{90, "M"}}, "", 12, "The stable cannot fill race 12: no grade has eight horses left to draw."},
        {{{200, "M"}}, "horses.dat", 0, "horses.dat is missing from the data folder"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        writeStable(dir.path(), c.stable);
        if (*c.missing)
            std::filesystem::remove(dir / c.missing);
        std::filesystem::remove(dir / "races.dat");
        writeAll(dir / "players.dat", "1,Ann,12\r\n");
        prompter.clear();
        SeededRandom random(3);
        RaceDay day(dir.path(), random, prompter);
        const StartResult result = startRaceDay(day);
        EXPECT_FALSE(result.ready || day.cardDrawn);
        EXPECT_EQ(std::tie(result.unfilledRace, result.missingFile), std::tuple(c.unfilledRace, c.missing));
        EXPECT_NE(result.message.find(c.message), std::string::npos) << result.message;
        std::vector<std::string> expected = {result.message}, shown;
        if (*c.missing)
            expected.insert(expected.begin(), "Error reading " + std::string(c.missing));
        for (const auto& message : prompter.shown())
            shown.push_back(message.text);
        EXPECT_EQ(shown, expected);
        EXPECT_EQ(readAll(dir / "races.dat"), "") << "no card is recorded for a day that cannot run";
        EXPECT_EQ(std::filesystem::exists(dir / "races.dat"), !*c.missing)
            << "nor written before the stable is in";
        EXPECT_EQ(readAll(dir / "players.dat"), "1,Ann,12\r\n") << "the start went no further";
    }
}

TEST_F(StartRaceDayTest, ANewDayWritesItsCardAndDropsWhatTheLastDayLeft) {
    test::copyBundledData(dir.path());
    // A day quit part-way leaves its results, tickets, multi-race halves and exchange credits.
    const std::string leftovers[] = {
        "results",        "tickets",  "races",     "pick3s",           "dailydoubles",
        "pick6s",         "twintris", "trisupers", "twintriexchanges", "trisuperexchanges",
        "exchangecredits"};
    for (const std::string& name : leftovers)
        writeAll(dir / (name + ".dat"), "2125,1,2,3,2\r\n");
    std::string pastLines;
    for (int i = 1; i <= 16; ++i)
        pastLines += "4,1/" + std::to_string(i) + "/2026,0,1,550,F,120,60,1,1,1,,1,,1,,120,2,M,Won,8\r\n";
    writeAll(dir / "pastperformances.dat", pastLines);
    writeAll(dir / "players.dat", "");
    SeededRandom random(11);
    RaceDay day(dir.path(), random, prompter);
    day.date = "3/14/2026";
    day.currentRace = 7;
    day.card.racePoolsOpened.fill(true);
    day.loadingPassDone = true;
    day.tickets.push_back({"$2 Win 3", 1, true});
    day.exchangeCredits.push_back({2125, 1, 2, "Twin-Tri", 8, "1-2-3", 900, 0});
    ASSERT_TRUE(startRaceDay(day).ready);
    EXPECT_TRUE(prompter.shown().empty());

    std::string card;
    for (int r = 0; r < RacesPerDay; ++r) {
        card += std::to_string(r + 1) + ",1,0,3/14/2026";
        for (int p = 0; p < FieldSize; ++p)
            card += "," + std::to_string(day.card.raceHorse[r][p]);
        card += "\r\n";
    }
    for (const std::string& name : leftovers)
        EXPECT_EQ(readAll(dir / (name + ".dat")), name == "races" ? card : "") << name;
    EXPECT_EQ(readAll(dir / "pastperformances.dat"), pastLines.substr(pastLines.find("\r\n") + 2));
    EXPECT_TRUE(day.exchangeCredits.empty() && day.tickets.empty());
    EXPECT_EQ(day.currentRace, 0);
    EXPECT_FALSE(day.loadingPassDone);
    EXPECT_EQ(day.players.selected, -1) << "nobody";

    // Without a date: today's date, and the players start at the starting amount with the first
    // selected (a missing settings file's factory settings are the reader's own test).
    day.date.clear();
    day.db.settings.startAmount = 65000;
    writeAll(dir / "players.dat", "5,Ann,3\r\n6,Bob,0.5\r\n");
    ASSERT_TRUE(startRaceDay(day).ready);
    EXPECT_EQ(day.date.find(','), std::string::npos);
    EXPECT_EQ(test::readLines(dir / "races.dat").at(0).rfind("1,1,0," + day.date + ",", 0), 0u) << day.date;
    EXPECT_EQ(readAll(dir / "players.dat"), "5,Ann,400\r\n6,Bob,400\r\n");
    EXPECT_EQ(std::tie(day.players.selected, day.players.balanceLabel), std::tuple(0, "400.00"));
}

} // namespace
