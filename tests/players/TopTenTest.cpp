#include "players/TopTen.h"
#include "core/RaceDay.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

using namespace sw;
using sw::test::readAll;
using sw::test::readLines;
using sw::test::writeAll;

namespace {

class TopTenTest : public ::testing::Test {
protected:
    test::TempDir dir;
    SeededRandom random{1};
    test::ScriptedPrompter prompter;
    RaceDay day{dir.path(), random, prompter};
};

TEST_F(TopTenTest, FirstDayOfThreePlayersListsBestFirst) {
    day.players.entries = {{1, "Ann", "510"}, {2, "Bob", "400"}, {3, "Cleo", "612.5"}};
    ASSERT_FALSE(recordDayResults(day));
    EXPECT_EQ(readAll(dir / "top10players.dat"), "Ann,510\r\nBob,400\r\nCleo,612.5\r\n");

    auto lines = showTopTen(day);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], "   $612.50 - Cleo");
    EXPECT_EQ(lines[1], "   $510.00 - Ann");
    EXPECT_EQ(lines[2], "   $400.00 - Bob");
    EXPECT_EQ(readAll(dir / "top10players.dat"), "Cleo,612.5\r\nAnn,510\r\nBob,400\r\n");
}

TEST_F(TopTenTest, ResultsAreAddedToEarlierDaysOnTheirOwnLines) {
    writeAll(dir / "top10players.dat", "Old,900");
    day.players.entries = {{1, "Ann", "397.5"}};
    ASSERT_FALSE(recordDayResults(day));
    EXPECT_EQ(readLines(dir / "top10players.dat"), (std::vector<std::string>{"Old,900", "Ann,397.5"}));
}

TEST_F(TopTenTest, ElevenEntriesKeepTheBestTen) {
    std::string content;
    for (int i = 1; i <= 11; ++i)
        content += "P" + std::to_string(i) + "," + std::to_string(i * 100) + "\r\n";
    writeAll(dir / "top10players.dat", content);

    auto lines = showTopTen(day);
    ASSERT_EQ(lines.size(), 10u);
    EXPECT_EQ(lines.front(), "  $1100.00 - P11");
    EXPECT_EQ(lines.back(), "   $200.00 - P2");
    auto file = readLines(dir / "top10players.dat");
    ASSERT_EQ(file.size(), 10u);
    EXPECT_EQ(file.front(), "P11,1100");
    EXPECT_EQ(file.back(), "P2,200");
}

TEST_F(TopTenTest, EqualAmountsKeepFileOrderAcrossTheTenthPlace) {
    // Eight clear leaders, then three equal results recorded in the order Early, Middle, Late.
    std::string content = "Early,50\r\n";
    for (int i = 1; i <= 8; ++i)
        content += "Lead" + std::to_string(i) + "," + std::to_string(1000 + i) + "\r\n";
    content += "Middle,50\r\nLow,10\r\nLate,50\r\n";
    writeAll(dir / "top10players.dat", content);

    auto lines = showTopTen(day);
    ASSERT_EQ(lines.size(), 10u);
    EXPECT_EQ(lines[8], "    $50.00 - Early");
    EXPECT_EQ(lines[9], "    $50.00 - Middle");
    auto file = readLines(dir / "top10players.dat");
    EXPECT_EQ(file[8], "Early,50");
    EXPECT_EQ(file[9], "Middle,50");
}

TEST_F(TopTenTest, ZeroShowsWithoutALeadingDigitAndAmountsComeBackCanonical) {
    writeAll(dir / "top10players.dat", "Broke,junk\nRich, 01234.50\n");
    auto lines = showTopTen(day);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], "  $1234.50 - Rich");
    EXPECT_EQ(lines[1], "      $.00 - Broke");
    EXPECT_EQ(readAll(dir / "top10players.dat"), "Rich,1234.5\r\nBroke,0\r\n");
}

TEST_F(TopTenTest, ReadsNoMoreThanItsTableHolds) {
    std::string content;
    for (int i = 0; i < TopTenReadLimit; ++i)
        content += "Same,5\r\n";
    content += "Beyond,9999\r\n";
    writeAll(dir / "top10players.dat", content);
    auto lines = showTopTen(day);
    ASSERT_EQ(lines.size(), 10u);
    EXPECT_EQ(lines.front(), "     $5.00 - Same");
}

TEST_F(TopTenTest, MissingFileGivesAnEmptyList) {
    EXPECT_TRUE(showTopTen(day).empty());
    EXPECT_EQ(readAll(dir / "top10players.dat"), "");
}

} // namespace
