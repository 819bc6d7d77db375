#include "program/PrintProgram.h"
#include "program/ProgramTexts.h"
#include "program/RacingProgram.h"

#include "ProgramFixture.h"

#include "tote/Tote.h"

#include <gtest/gtest.h>

using namespace sw;

namespace {

TEST(PrintRange, OpensOnTheRacesStillToRun) {
    test::ProgramFixture fixture;
    fixture.day.currentRace = 4;
    PrintRange range = printRangeFor(fixture.day);
    EXPECT_EQ(range.from, 5);
    EXPECT_EQ(range.to, 12);
    EXPECT_EQ(range.minimum, 5);
    EXPECT_EQ(range.maximum, 12);
}

TEST(PrintRange, ToFollowsFromUpwards) {
    PrintRange range{1, 5, 1, 12};
    setPrintFrom(range, 7);
    EXPECT_EQ(range.from, 7);
    EXPECT_EQ(range.to, 7);
    setPrintFrom(range, 3);
    EXPECT_EQ(range.from, 3);
    EXPECT_EQ(range.to, 7) << "lowering From leaves To";
    setPrintFrom(range, 30);
    EXPECT_EQ(range.from, 12);
    EXPECT_EQ(range.to, 12);
}

TEST(PrintRange, FromFollowsToDownwardsButNotBelowTheCurrentRace) {
    PrintRange range{4, 12, 2, 12}; // race 2 is about to be run
    setPrintTo(range, 2);
    EXPECT_EQ(range.to, 2);
    EXPECT_EQ(range.from, 2);
    setPrintTo(range, 1);
    EXPECT_EQ(range.to, 2);
    EXPECT_EQ(range.from, 2);
    setPrintTo(range, 9);
    EXPECT_EQ(range.from, 2) << "raising To leaves From";
}

struct Printing : ::testing::Test, test::ProgramFixture {};

TEST_F(Printing, PageHasHeaderColumnsAndElevenLinesPerEntry) {
    addPastLines(17, 12); // race 3, post 1
    addPastLines(18, 2);  // race 3, post 2
    day.db.horses[17].earnings = 1500;
    ProgramView view = showRace(day, 3, false);
    PrintPage page = programPage(view);
    EXPECT_EQ(page.race, 3);
    ASSERT_EQ(page.lines.size(), 3u + 8 * 11);
    EXPECT_EQ(page.lines[0].text, "Race 3 Grade $3000 550 Yards");
    EXPECT_EQ(page.lines[1].text,
              "Win Place Show Quiniela Exacta Trifecta Superfecta 2nd Half Daily Double Betting");
    EXPECT_FALSE(page.lines[0].bold);
    EXPECT_EQ(page.lines[2].text, "PP \u00BC  \u00BD    \u00BE   Fin   Time   Gr Odds Comment");

    const PrintLine& entry = page.lines[3];
    EXPECT_TRUE(entry.bold);
    // Name and jockey each fill 20 columns.
    EXPECT_EQ(entry.text, "1 Horse 17" + std::string(12, ' ') + "Jockey 17 (V)" + std::string(7, ' ') +
                              "          Starts: 3 2 0 0 0 $1500");
    // Twelve past lines print nine.
    EXPECT_EQ(page.lines[4].text, view.entries[0].pastLines[0]);
    EXPECT_EQ(page.lines[12].text, view.entries[0].pastLines[8]);
    EXPECT_FALSE(page.lines[12].bold);
    EXPECT_EQ(page.lines[13].text, "");
    // Two past lines print two and seven blank ones.
    EXPECT_TRUE(page.lines[14].bold);
    EXPECT_EQ(page.lines[15].text, view.entries[1].pastLines[0]);
    EXPECT_EQ(page.lines[16].text, view.entries[1].pastLines[1]);
    for (std::size_t n = 17; n <= 24; ++n)
        EXPECT_EQ(page.lines[n].text, "") << n;
    EXPECT_TRUE(page.lines[25].bold);
    EXPECT_EQ(page.lines.back().text, "");
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
    const struct {
        std::size_t widest;
        double pointSize;
    } cases[] = {{100, 10.0}, {120, 600.0 / 72}, {50, 12.0}, {4, 12.0}};
    for (const auto& c : cases) {
        const PrintLayout layout = layoutProgram({racePage(1, c.widest)}, {600, 100000, 0.6, 1.2});
        EXPECT_DOUBLE_EQ(layout.pointSize, c.pointSize) << c.widest;
        EXPECT_EQ(layout.sheets.size(), 1u) << "a sheet tall enough holds the race";
    }
}

TEST(PrintLayout, ARaceTooLongForASheetGoesOnBetweenEntriesUnderItsHeadings) {
    // 10-point type at 1.2 spacing: 60 lines a sheet, the headings and five entries.
    const PrintSheet sheet{600, 720, 0.6, 1.2};
    const PrintLayout layout = layoutProgram({racePage(1, 100), racePage(2, 10)}, sheet);
    ASSERT_EQ(layout.sheets.size(), 4u);
    const struct {
        std::size_t sheet;
        std::size_t lines;
        const char* first;
        const char* firstEntry;
    } cases[] = {{0, 3 + 5 * 11, "Race 1", "entry 0"},
                 {1, 3 + 3 * 11, "Race 1", "entry 5"},
                 {2, 3 + 5 * 11, "Race 2", "entry 0"},
                 {3, 3 + 3 * 11, "Race 2", "entry 5"}};
    for (const auto& c : cases) {
        const auto& lines = layout.sheets[c.sheet];
        ASSERT_EQ(lines.size(), c.lines) << c.sheet;
        EXPECT_EQ(lines[0].text, c.first) << c.sheet;
        EXPECT_TRUE(lines[3].bold) << c.sheet;
        EXPECT_EQ(lines[3].text, c.firstEntry) << c.sheet;
    }
}

TEST_F(Printing, OnePagePerRaceOfTheRange) {
    openRacingProgram(day);
    auto single = programPages(day, 3, 3);
    ASSERT_EQ(single.size(), 1u);
    EXPECT_EQ(single[0].race, 3);
    auto several = programPages(day, 10, 12);
    ASSERT_EQ(several.size(), 3u);
    EXPECT_EQ(several[2].race, 12);
    EXPECT_EQ(programPages(day, 0, 40).size(), 12u);
}

TEST_F(Printing, LeavesThePoolFilesAndRestoresTheRaceAboutToBeRun) {
    openRacingProgram(day);
    appendPoolLines(day, PoolFile::Exactas, "2125,3,1,20\r\n");
    toteRefresh(day);
    const Pools before = day.pools;
    const auto files = allPoolFiles();

    programPages(day, 1, 12);
    EXPECT_EQ(allPoolFiles(), files);
    EXPECT_EQ(day.entries.name[0], "Horse 1");
    EXPECT_EQ(day.pools.win, before.win);
    EXPECT_EQ(day.pools.exacta, before.exacta);
    EXPECT_EQ(day.pools.exactaTotal, before.exactaTotal);
    EXPECT_EQ(day.pools.trifecta, before.trifecta);
    EXPECT_EQ(day.pools.winOdds, before.winOdds);
}

} // namespace
