#include "players/TopTen.h"
#include "core/RaceDay.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

using namespace sw;
using sw::test::readAll;
using sw::test::readLines;
using sw::test::writeAll;
using Lines = std::vector<std::string>;

namespace {

class TopTenTest : public ::testing::Test {
protected:
    test::TempDir dir;
    SeededRandom random{1};
    test::ScriptedPrompter prompter;
    RaceDay day{dir.path(), random, prompter};
};

TEST_F(TopTenTest, ADaysResultsAreAddedOnTheirOwnLinesAndShownBestFirst) {
    EXPECT_TRUE(showTopTen(day).empty()) << "no file yet";
    writeAll(dir / "top10players.dat", "Old,900");
    day.players.entries = {{1, "Ann", "510"}, {2, "Bob", "397.5"}, {3, "Cleo", "612.5"}};
    ASSERT_FALSE(recordDayResults(day));
    EXPECT_EQ(readAll(dir / "top10players.dat"), "Old,900\r\nAnn,510\r\nBob,397.5\r\nCleo,612.5\r\n");
    EXPECT_EQ(showTopTen(day),
              (Lines{"   $900.00 - Old", "   $612.50 - Cleo", "   $510.00 - Ann", "   $397.50 - Bob"}));
    EXPECT_EQ(readAll(dir / "top10players.dat"), "Old,900\r\nCleo,612.5\r\nAnn,510\r\nBob,397.5\r\n");
}

TEST_F(TopTenTest, TheBestTenAreKeptEqualAmountsInFileOrder) {
    // Eight clear leaders, then three equal results recorded in the order Early, Middle, Late.
    std::string content = "Early,50\r\n";
    for (int i = 1; i <= 8; ++i)
        content += "Lead" + std::to_string(i) + "," + std::to_string(1000 + i) + "\r\n";
    content += "Middle,50\r\nLow,10\r\nLate,50\r\n";
    writeAll(dir / "top10players.dat", content);

    auto lines = showTopTen(day);
    ASSERT_EQ(lines.size(), 10u);
    EXPECT_EQ(lines.front(), "  $1008.00 - Lead8");
    EXPECT_EQ(Lines(lines.end() - 3, lines.end()),
              (Lines{"  $1001.00 - Lead1", "    $50.00 - Early", "    $50.00 - Middle"}));
    auto file = readLines(dir / "top10players.dat");
    ASSERT_EQ(file.size(), 10u);
    EXPECT_EQ(Lines(file.end() - 3, file.end()), (Lines{"Lead1,1001", "Early,50", "Middle,50"}));
}

TEST_F(TopTenTest, ZeroShowsWithoutALeadingDigitAndAmountsComeBackCanonical) {
    writeAll(dir / "top10players.dat", "Broke,junk\nRich, 01234.50\n");
    EXPECT_EQ(showTopTen(day), (Lines{"  $1234.50 - Rich", "      $.00 - Broke"}));
    EXPECT_EQ(readAll(dir / "top10players.dat"), "Rich,1234.5\r\nBroke,0\r\n");
}

TEST_F(TopTenTest, ReadsNoMoreThanItsTableHolds) {
    std::string content;
    for (int i = 0; i < TopTenReadLimit; ++i)
        content += "Same,5\r\n";
    writeAll(dir / "top10players.dat", content + "Beyond,9999\r\n");
    auto lines = showTopTen(day);
    ASSERT_EQ(lines.size(), 10u);
    EXPECT_EQ(lines.front(), "     $5.00 - Same");
}

} // namespace
