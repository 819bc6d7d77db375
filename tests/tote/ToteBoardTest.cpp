#include "tote/ToteBoard.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace sw;
using sw::test::ListRandom;
using sw::test::ScriptedPrompter;

namespace {

struct BoardFixture : ::testing::Test {
    ListRandom random{{0.5}};
    ScriptedPrompter prompter;
    RaceDay day{"/nonexistent", random, prompter};

    void SetUp() override {
        for (int h = 0; h < FieldSize; ++h) {
            auto cell = static_cast<std::size_t>(h);
            day.entries.name[cell] = "Runner " + std::to_string(h + 1);
            day.pools.win[cell] = 100 * (h + 1);
            day.pools.place[cell] = 74 * (h + 1);
            day.pools.show[cell] = 84 * (h + 1);
            day.pools.winOdds[cell] = 10.0f - static_cast<float>(h);
        }
        day.pools.winOdds[2] = 2.3f;
        day.pools.winTotal = 3600;
        day.pools.placeTotal = 2664;
        day.pools.showTotal = 3024;
        day.pools.quinielaTotal = 512;
        day.pools.exactaTotal = 1024;
    }
};

TEST_F(BoardFixture, ShowsPoolsOddsAndPayoffsPerPost) {
    ToteBoard board = toteBoard(day);
    const ToteBoardEntry& third = board.entries[2];
    EXPECT_EQ(third.number, "3");
    EXPECT_EQ(third.horseName, "Runner 3");
    EXPECT_EQ(third.winTotal, "300");
    EXPECT_EQ(third.placeTotal, "222");
    EXPECT_EQ(third.showTotal, "252");
    EXPECT_EQ(third.odds, "2");
    EXPECT_EQ(third.oddsTooltip, "$2 Win Bet pays: $6.60");
    EXPECT_EQ(board.entries[0].odds, "10");
    EXPECT_EQ(board.entries[0].oddsTooltip, "$2 Win Bet pays: $22.00");
    EXPECT_EQ(board.winPool, "3600");
    EXPECT_EQ(board.placePool, "2664");
    EXPECT_EQ(board.showPool, "3024");
    EXPECT_EQ(board.quinielaPool, "512");
    EXPECT_EQ(board.exactaPool, "1024");
}

TEST_F(BoardFixture, MarksTheLowestOddsAsFavourite) {
    EXPECT_EQ(toteBoard(day).favourite, 2);
    day.pools.winOdds[6] = 0.05f;
    day.pools.winOdds[7] = 0.05f;
    EXPECT_EQ(toteBoard(day).favourite, 6) << "the first of equal odds";
    day.pools.win[6] = 0;
    EXPECT_EQ(toteBoard(day).favourite, 7) << "a horse without money is nobody's favourite";
    day.pools.win.fill(0);
    EXPECT_EQ(toteBoard(day).favourite, -1);
}

TEST_F(BoardFixture, ACellExplainsThePayoffItsTooltipShows) {
    day.pools.winOdds[7] = 2.3f; // 3600 * .75 / 800 - 1 = 2.375, cut to 2.3
    day.pools.win[1] = 0;
    const ToteBoard board = toteBoard(day);
    struct Case {
        int entry;
        const char* step;
    } cases[] = {
        {7, "Cut to tenths: 2.3; the breakage, 0.0750 a $1, keeps $0.15 of every $2 ticket (rounded to cents "
            "here)"},
        {0, "The board still shows the odds of its last refresh"},
        {1, "Nobody has bet 2 to win: the board keeps the odds it last showed"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> lines = explainWinCell(day, c.entry);
        ASSERT_FALSE(lines.empty());
        EXPECT_NE(std::find(lines.begin(), lines.end(), c.step), lines.end()) << c.entry;
        const std::string& tooltip = board.entries[static_cast<std::size_t>(c.entry)].oddsTooltip;
        const std::string payoff = tooltip.substr(tooltip.find('$', 1) + 1);
        EXPECT_EQ(lines.back().substr(lines.back().size() - payoff.size()), payoff) << c.entry;
    }
    EXPECT_TRUE(explainWinCell(day, FieldSize).empty());
}

TEST_F(BoardFixture, QuinielaGridPairsEachPostWithTheAndHorse) {
    day.pools.quinielaOdds[Pools::idx2(0, 2)] = 4.5f;
    day.pools.quinielaOdds[Pools::idx2(2, 6)] = 0.05f;
    OddsGrid grid = quinielaGrid(day, 3);
    EXPECT_EQ(grid.andHorse, 3);
    EXPECT_EQ(grid.odds[2], "");
    EXPECT_EQ(grid.tooltip[2], "");
    EXPECT_EQ(grid.odds[0], "9/2");
    EXPECT_EQ(grid.tooltip[0], "$2 Quiniela Bet pays: $11.00");
    EXPECT_EQ(grid.hoverTooltip[0], "$2 Quiniela pays: $11.00");
    EXPECT_EQ(grid.odds[6], "1/9") << "post 7 with post 3 is the pair {3, 7}";
    EXPECT_EQ(grid.tooltip[6], "$2 Quiniela Bet pays: $2.10");
}

TEST_F(BoardFixture, ExactaGridPutsTheAndHorseFirst) {
    day.pools.exactaOdds[Pools::idx2(4, 1)] = 35.0f;
    day.pools.exactaOdds[Pools::idx2(1, 4)] = 1.0f;
    OddsGrid grid = exactaGrid(day, 5);
    EXPECT_EQ(grid.odds[4], "");
    EXPECT_EQ(grid.odds[1], "35");
    EXPECT_EQ(grid.tooltip[1], "$2 Exacta Bet pays: $72.00");
    EXPECT_EQ(grid.hoverTooltip[1], "$2 Exacta pays: $72.00");
}

TEST_F(BoardFixture, AndHorseOutsideTheFieldIsClamped) {
    EXPECT_EQ(quinielaGrid(day, 0).andHorse, 1);
    EXPECT_EQ(quinielaGrid(day, 0).odds[0], "");
    EXPECT_EQ(exactaGrid(day, 12).andHorse, 8);
    EXPECT_EQ(exactaGrid(day, 12).odds[7], "");
}

} // namespace
