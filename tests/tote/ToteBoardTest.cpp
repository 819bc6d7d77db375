#include "tote/ToteBoard.h"
#include "tote/Tote.h"

#include "core/Format.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace sw;

namespace {

TEST(OddsRule, TakesAQuarterSharesTruncatesToTenthsAndNeverGoesBelowFiveCents) {
    struct Case {
        double total;
        float share;
        double money;
        float odds; // -1: none
    } cases[] = {
        {337, 1.0f, 75, 2.3f},     // 2.37
        {1000, 1.0f, 100, 6.5f},   // exactly
        {999, 1.0f, 100, 6.4f},    // 6.4925
        {440, 1.0f, 100, 2.3f},    // 2.3, which single precision holds as 2.2999999
        {1000, 0.5f, 100, 2.7f},   // place: 2.75
        {1000, 0.333f, 100, 1.4f}, // show: 1.4975
        {107, 1.0f, 75, 0.05f},    // 0.07 truncates to 0.0 first, then is raised
        {100, 1.0f, 100, 0.05f},   // all the money on one horse pays back less than was bet
        {1000, 1.0f, 0, -1},       // no money, no odds
        {1e300, 1.0f, 1e-300, -1}, // beyond single precision
        {1000, 1.0f, std::nan(""), -1},
    };
    for (const Case& c : cases)
        EXPECT_FLOAT_EQ(oddsFor(c.total, c.share, c.money).value_or(-1), c.odds) << c.total << " " << c.money;
}

TEST(OddsText, FractionalBandsIncludeTheirLowerBoundAndLongOddsShowTwoColumns) {
    struct Case {
        float odds;
        const char* text;
    };
    // The lowest odds of each band, and the top of the first and the fractional ones.
    const Case cases[] = {{0.05f, "1/9"}, {0.19f, "1/9"}, {0.2f, "1/5"}, {0.4f, "2/5"}, {0.5f, "1/2"},
                          {0.6f, "3/5"},  {0.8f, "4/5"},  {1.0f, "1"},   {1.2f, "6/5"}, {1.4f, "7/5"},
                          {1.5f, "3/2"},  {1.6f, "8/5"},  {1.8f, "9/5"}, {2.0f, "2"},   {2.5f, "5/2"},
                          {3.0f, "3"},    {3.5f, "7/2"},  {4.0f, "4"},   {4.5f, "9/2"}, {4.99f, "9/2"},
                          {5.0f, " 5"},   {9.9f, " 9"},   {10.0f, "10"}, {98.9f, "98"}, {99.0f, "99"},
                          {1e30f, "99"}};
    for (const Case& c : cases)
        EXPECT_EQ(oddsText(c.odds), c.text) << c.odds;
}

struct BoardFixture : ::testing::Test {
    test::ListRandom random{{0.5}};
    test::ScriptedPrompter prompter;
    RaceDay day{"/nonexistent", random, prompter};

    void SetUp() override {
        for (std::size_t h = 0; h < FieldSize; ++h) {
            day.pools.win[h] = 100 * static_cast<int32_t>(h + 1);
            day.pools.winOdds[h] = 10.0f - static_cast<float>(h);
        }
        day.pools.winOdds[2] = 2.3f;
        day.pools.winTotal = 3600;
        day.pools.quinielaTotal = 512;
        day.pools.exactaTotal = 1024;
    }
};

// Each cell of the board and of its grids explains the payoff its tooltip shows, worked from the
// money when the cell shows the money's odds.
TEST_F(BoardFixture, ACellsWorkingEndsOnWhatTheBoardSaysItPays) {
    day.pools.winOdds[0] = 26.0f; // 3600 x 0.75 / 100 - 1: the money's odds now, worked step by step
    day.pools.win[1] = 0;
    day.pools.quiniela[Pools::idx2(0, 2)] = 32; // 512 x 0.75 / 32 - 1 = 11
    day.pools.quinielaOdds[Pools::idx2(0, 2)] = 11.0f;
    day.pools.quiniela[Pools::idx2(3, 5)] = 32;
    day.pools.quinielaOdds[Pools::idx2(3, 5)] = 4.5f; // not yet refreshed
    day.pools.exacta[Pools::idx2(4, 1)] = 40;         // 1024 x 0.75 / 40 - 1 = 18.2
    day.pools.exactaOdds[Pools::idx2(4, 1)] = *oddsFor(1024, 1.0f, 40);
    day.pools.exactaOdds[Pools::idx2(1, 4)] = 1.0f; // nobody on 2-5: the odds it last showed
    const ToteBoard board = toteBoard(day);
    enum Kind { Win, Quiniela, Exacta };
    const struct {
        Kind kind;
        int a, b; // posts: the "and" horse and the cell's post
        const char* reason;
        const char* tooltip;
    } cells[] = {
        {Win, 1, 0, "Win pool total: $3600.00", "$54.00"},
        {Win, 2, 0, "Nobody has bet 2 to win", "$20.00"},
        {Win, 3, 0, "The board still shows the odds of its last refresh", "$6.60"},
        {Quiniela, 3, 1, "Quiniela pool total: $512.00", "$24.00"},
        {Quiniela, 1, 3, "Quiniela pool total: $512.00", "$24.00"},
        {Quiniela, 6, 4, "The board still shows the odds of its last refresh", "$11.00"},
        {Quiniela, 7, 3, "Nobody has bet 3-7", ""},
        {Exacta, 5, 2, "Exacta pool total: $1024.00", "$38.40"},
        {Exacta, 2, 5, "Nobody has bet 2-5", "$4.00"},
    };
    for (const auto& c : cells) {
        SCOPED_TRACE(std::to_string(c.kind) + ": " + std::to_string(c.a) + " " + std::to_string(c.b));
        const std::vector<std::string> lines = c.kind == Win
                                                   ? explainWinCell(day, c.a - 1)
                                                   : explainGridCell(day, c.kind == Exacta, c.a - 1, c.b - 1);
        ASSERT_GE(lines.size(), 3u);
        const std::string tip = c.kind == Win ? board.entries[static_cast<std::size_t>(c.a - 1)].oddsTooltip
                                : c.kind == Exacta
                                    ? exactaGrid(day, c.a).tooltip[static_cast<std::size_t>(c.b - 1)]
                                    : quinielaGrid(day, c.a).tooltip[static_cast<std::size_t>(c.b - 1)];
        const std::string paid = "$" + lines.back().substr(lines.back().rfind(' ') + 1);
        EXPECT_EQ(paid, tip.substr(tip.rfind(' ') + 1));
        if (*c.tooltip) {
            EXPECT_EQ(paid, c.tooltip);
        }
        EXPECT_NE(lines[1].find(c.reason), std::string::npos) << lines[1];
    }
    EXPECT_TRUE(explainWinCell(day, FieldSize).empty());
    EXPECT_TRUE(explainGridCell(day, true, 2, 2).empty());
    EXPECT_TRUE(explainGridCell(day, false, 0, FieldSize).empty());
}

TEST_F(BoardFixture, GridsPairEachPostWithTheAndHorseFirstForTheExacta) {
    day.pools.quinielaOdds[Pools::idx2(0, 2)] = 4.5f;
    day.pools.quinielaOdds[Pools::idx2(2, 6)] = 0.05f; // post 7 with post 3 is the pair {3, 7}
    day.pools.exactaOdds[Pools::idx2(4, 1)] = 35.0f;
    day.pools.exactaOdds[Pools::idx2(1, 4)] = 1.0f;
    // The "and" horse, then each post's odds and tooltip (the hover tooltip reads the same figure).
    auto cells = [](const OddsGrid& grid, std::initializer_list<int> posts) {
        std::string s = std::to_string(grid.andHorse);
        for (int post : posts) {
            auto h = static_cast<std::size_t>(post - 1);
            s += " | " + grid.odds[h] + " " + grid.tooltip[h];
        }
        return s;
    };
    EXPECT_EQ(cells(quinielaGrid(day, 3), {3, 1, 7}),
              "3 |   | 9/2 $2 Quiniela Bet pays: $11.00 | 1/9 $2 Quiniela Bet pays: $2.10");
    EXPECT_EQ(cells(exactaGrid(day, 5), {5, 2}), "5 |   | 35 $2 Exacta Bet pays: $72.00");
    // An "and" horse outside the field is clamped.
    EXPECT_EQ(cells(quinielaGrid(day, 0), {1}) + " " + cells(exactaGrid(day, 12), {8}), "1 |   8 |  ");
}

} // namespace
