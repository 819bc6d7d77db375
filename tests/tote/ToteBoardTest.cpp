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

// One column as "number name win place show odds tooltip".
std::string column(const ToteBoardEntry& e) {
    return e.number + " " + e.horseName + " " + e.winTotal + " " + e.placeTotal + " " + e.showTotal + " " +
           e.odds + " " + e.oddsTooltip;
}

TEST_F(BoardFixture, ShowsPoolsOddsAndPayoffsPerPost) {
    ToteBoard board = toteBoard(day);
    EXPECT_EQ(column(board.entries[2]), "3 Runner 3 300 222 252 2 $2 Win Bet pays: $6.60");
    EXPECT_EQ(column(board.entries[0]), "1 Runner 1 100 74 84 10 $2 Win Bet pays: $22.00");
    EXPECT_EQ(board.winPool + " " + board.placePool + " " + board.showPool + " " + board.quinielaPool + " " +
                  board.exactaPool,
              "3600 2664 3024 512 1024");
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

TEST_F(BoardFixture, GridsPairEachPostWithTheAndHorseFirstForTheExacta) {
    day.pools.quinielaOdds[Pools::idx2(0, 2)] = 4.5f;
    day.pools.quinielaOdds[Pools::idx2(2, 6)] = 0.05f; // post 7 with post 3 is the pair {3, 7}
    day.pools.exactaOdds[Pools::idx2(4, 1)] = 35.0f;
    day.pools.exactaOdds[Pools::idx2(1, 4)] = 1.0f;
    auto cell = [](const OddsGrid& grid, int post) {
        auto h = static_cast<std::size_t>(post - 1);
        return grid.odds[h] + " " + grid.tooltip[h] + " / " + grid.hoverTooltip[h];
    };
    OddsGrid quiniela = quinielaGrid(day, 3);
    EXPECT_EQ(quiniela.andHorse, 3);
    EXPECT_EQ(cell(quiniela, 3), "  / ");
    EXPECT_EQ(cell(quiniela, 1), "9/2 $2 Quiniela Bet pays: $11.00 / $2 Quiniela pays: $11.00");
    EXPECT_EQ(cell(quiniela, 7), "1/9 $2 Quiniela Bet pays: $2.10 / $2 Quiniela pays: $2.10");
    OddsGrid exacta = exactaGrid(day, 5);
    EXPECT_EQ(cell(exacta, 5), "  / ");
    EXPECT_EQ(cell(exacta, 2), "35 $2 Exacta Bet pays: $72.00 / $2 Exacta pays: $72.00");

    // An "and" horse outside the field is clamped.
    EXPECT_EQ(quinielaGrid(day, 0).andHorse, 1);
    EXPECT_EQ(quinielaGrid(day, 0).odds[0], "");
    EXPECT_EQ(exactaGrid(day, 12).andHorse, 8);
    EXPECT_EQ(exactaGrid(day, 12).odds[7], "");
}

} // namespace
