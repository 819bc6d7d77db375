#include "program/ProgramLines.h"

#include <gtest/gtest.h>

using namespace sw;

namespace {

PastPerformance sampleLine() {
    PastPerformance line;
    line.horse = 12;
    line.postPosition = 3;
    line.quarterPos = 2;
    line.halfPos = 1;
    line.halfLengths = "hd";
    line.threeQuarterPos = 1;
    line.threeQuarterLengths = "\u00BD";
    line.finishPos = 1;
    line.finishLengths = "1";
    line.finalTime = 118.3f;
    line.raceGrade = "AA";
    line.odds = 4.5f;
    line.comment = "Drew clear-in";
    return line;
}

TEST(PastPerformanceLine, LaysOutCallsTimePurseOddsAndComment) {
    EXPECT_EQ(pastPerformanceText(sampleLine()), "3  2 1-hd 1-\u00BD  1-1   1:58.30 6K   4.5 Drew clear-in");
}

TEST(PastPerformanceLine, PadsShortFieldsToTheirColumns) {
    PastPerformance line = sampleLine();
    line.finalTime = 27.35f;
    line.odds = 12.0f;
    line.halfLengths = "";
    line.threeQuarterLengths = "12";
    line.finishLengths = "3\u00BC";
    line.raceGrade = "M";
    line.comment = "";
    EXPECT_EQ(pastPerformanceText(line), "3  2 1-   1-12 1-3\u00BC  0:27.35 1K  12.0 ");
    line.odds = 105.25f;
    line.finalTime = 600.0f;
    EXPECT_EQ(pastPerformanceText(line), "3  2 1-   1-12 1-3\u00BC  10:00.00 1K 105.2 ");
}

TEST(PastPerformanceLine, PurseColumnFollowsTheRaceGrade) {
    EXPECT_EQ(pastPurseText("M"), "1K");
    EXPECT_EQ(pastPurseText("J"), "2K");
    EXPECT_EQ(pastPurseText("C"), "3K");
    EXPECT_EQ(pastPurseText("B"), "4K");
    EXPECT_EQ(pastPurseText("A"), "5K");
    EXPECT_EQ(pastPurseText("AA"), "6K");
    EXPECT_EQ(pastPurseText("-"), "");
    EXPECT_EQ(pastPurseText("Q"), "");
}

TEST(BetsOffered, NameTheLegsOfThePick3AndPick6) {
    const std::string all = "Win Place Show Quiniela Exacta Trifecta Superfecta ";
    EXPECT_EQ(betsOfferedText(5), all + "2nd Leg of Pick 3 Betting");
    EXPECT_EQ(betsOfferedText(6), all + "3rd Leg of Pick 3 Betting");
    EXPECT_EQ(betsOfferedText(8), all + "2nd Leg of Pick 6 Betting");
    EXPECT_EQ(betsOfferedText(11), all + "5th Leg of Pick 6 Betting");
    EXPECT_EQ(betsOfferedText(13), all + "Betting");
}

TEST(JockeyTexts, MarkTheClassAndListTheRecord) {
    EXPECT_EQ(jockeyMarker(0), " (A)");
    EXPECT_EQ(jockeyMarker(1), " (R)");
    EXPECT_EQ(jockeyMarker(2), " (V)");
    EXPECT_EQ(jockeyMarker(3), "");
    EXPECT_EQ(jockeyMarker(-1), "");
    Jockey jockey;
    jockey.starts = 41;
    jockey.firsts = 9;
    jockey.seconds = 7;
    jockey.thirds = 5;
    jockey.fourths = 3;
    jockey.earnings = 18250.5;
    EXPECT_EQ(jockeyRecordText(jockey), "41   9 7 5 3  $18250.5");
}

TEST(JockeyStandings, LinesKeepTheirColumns) {
    std::array<Jockey, JockeyCount + 1> jockeys{};
    jockeys[1] = {"Tobin Harrow", 2, 120, 31, 25, 18, 9, 61234.5};
    jockeys[2] = {"Ines Calloway", 1, 7, 0, 1, 0, 2, 999.5};
    auto lines = jockeyStandings(jockeys);
    ASSERT_EQ(lines.size(), static_cast<std::size_t>(JockeyCount));
    EXPECT_EQ(lines[0], "Tobin Harrow    120    31   25   18    9   $  61234");
    EXPECT_EQ(lines[1], "Ines Calloway     7     0    1    0    2   $   1000");
    EXPECT_EQ(lines[2], "                  0     0    0    0    0   $      0");
}

TEST(JockeyStandings, ExchangeSortPutsTheBestEarnerFirst) {
    std::array<Jockey, JockeyCount + 1> jockeys{};
    for (int n = 1; n <= JockeyCount; ++n)
        jockeys[static_cast<std::size_t>(n)].name = "J" + std::to_string(n);
    jockeys[1].earnings = 100;
    jockeys[2].earnings = 300;
    jockeys[3].earnings = 100;
    jockeys[4].earnings = 300;
    jockeys[9].earnings = 200;
    auto lines = jockeyStandings(jockeys);
    auto nameOf = [&](std::size_t i) { return lines[i].substr(0, lines[i].find(' ')); };
    EXPECT_EQ(nameOf(0), "J2");
    EXPECT_EQ(nameOf(1), "J4");
    EXPECT_EQ(nameOf(2), "J9");
    EXPECT_EQ(nameOf(3), "J1");
    EXPECT_EQ(nameOf(4), "J3");
    // Equal earnings come out in the order the exchanges leave them: J5 was swapped to the back.
    EXPECT_EQ(nameOf(5), "J6");
    EXPECT_EQ(nameOf(8), "J5");
    EXPECT_EQ(nameOf(9), "J10");
    EXPECT_EQ(lines.size(), static_cast<std::size_t>(JockeyCount));
}

TEST(JockeyStandings, HugeEarningsDoNotBreakTheLine) {
    std::array<Jockey, JockeyCount + 1> jockeys{};
    jockeys[1] = {"Big", 0, 1, 1, 0, 0, 0, 1e20};
    auto lines = jockeyStandings(jockeys);
    EXPECT_EQ(lines[0], "Big               1     1    0    0    0   $100000000000000000000");
}

TEST(TrackRecordText, ARecordIsATimeAndNoRecordSaysSo) {
    const struct {
        float record;
        const char* text;
    } cases[] = {{27.35f, "0:27.35"}, {121.3f, "2:01.30"}, {999, "none yet"}, {0, "none yet"}};
    for (const auto& c : cases)
        EXPECT_EQ(trackRecordText(c.record), c.text) << c.record;
}

TEST(TrackRecordHolders, ListEveryHorseWithTheRecordTime) {
    Database db;
    for (int n = 1; n <= HorseCount; ++n) {
        db.horses[static_cast<std::size_t>(n)].name = "H" + std::to_string(n);
        db.horses[static_cast<std::size_t>(n)].bestTime = 999;
    }
    db.horses[17].bestTime = 27.35f;
    db.horses[140].bestTime = 27.35f;
    db.horses[141].bestTime = 27.36f;
    db.settings.trackRecord = 27.35f;
    EXPECT_EQ(trackRecordHolders(db), (std::vector<std::string>{"H17", "H140"}));
    db.settings.trackRecord = 999;
    EXPECT_TRUE(trackRecordHolders(db).empty());
    db.settings.trackRecord = 0;
    db.horses[5].bestTime = 0;
    EXPECT_TRUE(trackRecordHolders(db).empty()) << "a missing settings file holds no record";
}

} // namespace
