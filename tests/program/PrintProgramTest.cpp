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
    ASSERT_EQ(page.lines.size(), 2u + 8 * 11);
    EXPECT_EQ(page.lines[0].text,
              "Race 3 Grade $3000 550 Yards        Win Place Show Quiniela Exacta Trifecta "
              "Superfecta 2nd Half Daily Double Betting");
    EXPECT_FALSE(page.lines[0].bold);
    EXPECT_EQ(page.lines[1].text, "PP \u00BC  \u00BD    \u00BE   Fin   Time   Gr Odds Comment");

    const PrintLine& entry = page.lines[2];
    EXPECT_TRUE(entry.bold);
    // Name and jockey each fill 20 columns.
    EXPECT_EQ(entry.text, "1 Horse 17" + std::string(12, ' ') + "Jockey 17 (V)" + std::string(7, ' ') +
                              "          Starts: 3 2 0 0 0 $1500");
    // Twelve past lines print nine.
    EXPECT_EQ(page.lines[3].text, view.entries[0].pastLines[0]);
    EXPECT_EQ(page.lines[11].text, view.entries[0].pastLines[8]);
    EXPECT_FALSE(page.lines[11].bold);
    EXPECT_EQ(page.lines[12].text, "");
    // Two past lines print two and seven blank ones.
    EXPECT_TRUE(page.lines[13].bold);
    EXPECT_EQ(page.lines[14].text, view.entries[1].pastLines[0]);
    EXPECT_EQ(page.lines[15].text, view.entries[1].pastLines[1]);
    for (std::size_t n = 16; n <= 23; ++n)
        EXPECT_EQ(page.lines[n].text, "") << n;
    EXPECT_TRUE(page.lines[24].bold);
    EXPECT_EQ(page.lines.back().text, "");
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
