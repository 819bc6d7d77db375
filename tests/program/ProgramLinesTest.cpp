// The racing program's fixed-column texts, and how its printout is ranged and laid out on sheets.

#include "program/ProgramLines.h"

#include "core/RaceDay.h"
#include "database/DatabaseFiles.h"
#include "program/PrintProgram.h"

#include <gtest/gtest.h>

using namespace sw;

namespace {

using Texts = std::vector<std::string>;

TEST(ProgramLines, PastLinesKeepTheirColumns) {
    PastPerformance line =
        parsePastPerformance("12,d,0,1,550,F,0,0,3,2,1,hd,1,\u00BD,1,1,118.3,4.5,AA,Drew clear-in");
    EXPECT_EQ(pastPerformanceText(line), "3  2 1-hd 1-\u00BD  1-1   1:58.30 6K   4.5 Drew clear-in");
    line = parsePastPerformance("12,d,0,1,550,F,0,0,3,2,1,,1,12,1,3\u00BC,27.35,12,M,");
    EXPECT_EQ(pastPerformanceText(line), "3  2 1-   1-12 1-3\u00BC  0:27.35 1K  12.0 ");
    line.odds = 105.25f;
    line.finalTime = 600.0f;
    EXPECT_EQ(pastPerformanceText(line), "3  2 1-   1-12 1-3\u00BC  10:00.00 1K 105.2 ");
    Texts purses;
    for (const char* grade : {"M", "J", "C", "B", "A", "AA", "-", "Q"})
        purses.push_back(pastPurseText(grade));
    EXPECT_EQ(purses, (Texts{"1K", "2K", "3K", "4K", "5K", "6K", "", ""}));
}

TEST(ProgramLines, BetsOfferedNameTheMultiRaceBetOrItsLeg) {
    Texts tails;
    const std::string all = "Win Place Show Quiniela Exacta Trifecta Superfecta ";
    for (int race = 1; race <= 13; ++race) {
        const std::string text = betsOfferedText(race);
        EXPECT_EQ(text.substr(0, all.size()), all);
        tails.push_back(text.substr(std::min(all.size(), text.size())));
    }
    EXPECT_EQ(tails,
              (Texts{"Betting", "Daily Double Betting", "2nd Half Daily Double Betting", "Pick 3 Betting",
                     "2nd Leg of Pick 3 Betting", "3rd Leg of Pick 3 Betting", "Pick 6 Betting",
                     "2nd Leg of Pick 6 Betting", "3rd Leg of Pick 6 Betting", "4th Leg of Pick 6 Betting",
                     "5th Leg of Pick 6 Betting", "6th Leg of Pick 6 Betting", "Betting"}));
}

TEST(ProgramLines, JockeysAreMarkedAndStandByEarnings) {
    EXPECT_EQ((Texts{jockeyMarker(0), jockeyMarker(1), jockeyMarker(2), jockeyMarker(3), jockeyMarker(-1)}),
              (Texts{" (A)", " (R)", " (V)", "", ""}));
    EXPECT_EQ(jockeyRecordText(Jockey{"", 0, 41, 9, 7, 5, 3, 18250.5}), "41   9 7 5 3  $18250.5");

    std::array<Jockey, JockeyCount + 1> jockeys{};
    jockeys[1] = {"Tobin Harrow", 2, 120, 31, 25, 18, 9, 61234.5};
    jockeys[2] = {"Ines Calloway", 1, 7, 0, 1, 0, 2, 999.5};
    jockeys[3] = {"Big", 0, 1, 1, 0, 0, 0, 1e20}; // a hand-edited figure does not break the line
    Texts lines = jockeyStandings(jockeys);
    ASSERT_EQ(lines.size(), static_cast<std::size_t>(JockeyCount));
    EXPECT_EQ(Texts(lines.begin(), lines.begin() + 4),
              (Texts{"Big               1     1    0    0    0   $100000000000000000000",
                     "Tobin Harrow    120    31   25   18    9   $  61234",
                     "Ines Calloway     7     0    1    0    2   $   1000",
                     "                  0     0    0    0    0   $      0"}));

    for (int n = 1; n <= JockeyCount; ++n)
        jockeys[n] = {"J" + std::to_string(n)};
    jockeys[1].earnings = jockeys[3].earnings = 100;
    jockeys[2].earnings = jockeys[4].earnings = 300;
    jockeys[9].earnings = 200;
    // Equal earnings come out in the order the exchanges leave them: J5 was swapped to the back.
    Texts names;
    for (const std::string& line : jockeyStandings(jockeys))
        names.push_back(line.substr(0, line.find(' ')));
    EXPECT_EQ(Texts(names.begin(), names.begin() + 10),
              (Texts{"J2", "J4", "J9", "J1", "J3", "J6", "J7", "J8", "J5", "J10"}));
}

TEST(ProgramLines, TrackRecordIsATimeAndItsHoldersAreNamed) {
    EXPECT_EQ(
        (Texts{trackRecordText(27.35f), trackRecordText(121.3f), trackRecordText(999), trackRecordText(0)}),
        (Texts{"0:27.35", "2:01.30", "none yet", "none yet"}));
    Database db;
    for (int n = 1; n <= HorseCount; ++n) {
        db.horses[n].name = "H" + std::to_string(n);
        db.horses[n].bestTime = 999;
    }
    db.horses[17].bestTime = db.horses[140].bestTime = 27.35f;
    db.horses[141].bestTime = 27.36f;
    db.settings.trackRecord = 27.35f;
    EXPECT_EQ(trackRecordHolders(db), (Texts{"H17", "H140"}));
    db.settings.trackRecord = 999;
    EXPECT_TRUE(trackRecordHolders(db).empty());
    db.settings.trackRecord = 0;
    db.horses[5].bestTime = 0;
    EXPECT_TRUE(trackRecordHolders(db).empty()) << "a missing settings file holds no record";
}

// From and To stay within the races still to run (race 2 is about to be run); raising From pushes
// To, lowering To pulls From.
TEST(PrintRange, FromAndToFollowEachOther) {
    PrintRange range{2, 5, 2, 12};
    std::vector<int> seen;
    const std::pair<bool, int> steps[] = {{true, 7},  {true, 3},  {true, 30},
                                          {false, 2}, {false, 1}, {false, 9}};
    for (const auto& [from, value] : steps) {
        from ? setPrintFrom(range, value) : setPrintTo(range, value);
        seen.insert(seen.end(), {range.from, range.to, range.minimum, range.maximum});
    }
    EXPECT_EQ(seen, (std::vector<int>{7, 7, 2, 12, 3, 7, 2, 12, 12, 12, 2, 12,
                                      2, 2, 2, 12, 2, 2, 2, 12, 2,  9,  2, 12}));
}

// A race of three heading lines and eight entries of eleven lines, the widest line `widest` long.
PrintPage racePage(int race, std::size_t widest) {
    PrintPage page{
        race, {{"Race " + std::to_string(race), false}, {"bets", false}, {"PP \u00BC \u00BD \u00BE", false}}};
    for (int e = 0; e < FieldSize; ++e) {
        page.lines.push_back({"entry " + std::to_string(e), true});
        for (int n = 0; n < 10; ++n)
            page.lines.push_back({std::string(n == 0 && e == 0 ? widest : 10, 'x'), false});
    }
    return page;
}

TEST(PrintLayout, TheWidestLineFillsTheSheetUpToTwelvePoints) {
    const std::pair<std::size_t, double> cases[] = {{100, 10.0}, {120, 600.0 / 72}, {50, 12.0}, {4, 12.0}};
    for (const auto& [widest, pointSize] : cases) {
        const PrintLayout layout = layoutProgram({racePage(1, widest)}, {600, 100000, 0.6, 1.2});
        EXPECT_DOUBLE_EQ(layout.pointSize, pointSize) << widest;
        EXPECT_EQ(layout.sheets.size(), 1u) << "a sheet tall enough holds the race";
    }
}

TEST(PrintLayout, ARaceTooLongForASheetGoesOnBetweenEntriesUnderItsHeadings) {
    // 10-point type at 1.2 spacing: 60 lines a sheet, the headings and five entries.
    const PrintLayout layout = layoutProgram({racePage(1, 100), racePage(2, 10)}, {600, 720, 0.6, 1.2});
    Texts sheets;
    for (const auto& lines : layout.sheets)
        sheets.push_back(lines[0].text + " " + std::to_string(lines.size()) + " " + lines[3].text +
                         (lines[3].bold ? " bold" : ""));
    EXPECT_EQ(sheets, (Texts{"Race 1 58 entry 0 bold", "Race 1 36 entry 5 bold", "Race 2 58 entry 0 bold",
                             "Race 2 36 entry 5 bold"}));
}

} // namespace
