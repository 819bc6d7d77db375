#include "settlement/Payoffs.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace sw;

namespace {

class PayoffsTest : public ::testing::Test {
protected:
    void finish(std::array<int, 4> posts) {
        for (std::size_t k = 0; k < posts.size(); ++k)
            day.result.finishOrder[k] = static_cast<uint8_t>(posts[k]);
    }

    test::TempDir dir;
    test::ListRandom random{{0.5}};
    test::ScriptedPrompter prompter;
    RaceDay day{dir.path(), random, prompter};
};

// The whole chart in its order, each label as name (without "lbl"), index and text.
std::string chart(const Payoffs& p) {
    std::string s;
    for (const LabelText& label : chartLabels(p))
        s += (s.empty() ? "" : " ") + label.name.substr(3) +
             (label.index >= 0 ? std::to_string(label.index) : "") + "=" + label.text;
    return s;
}

TEST_F(PayoffsTest, EachPoolPaysItsWinningCombinationAndTheChartShowsThem) {
    finish({5, 2, 1, 3});
    Pools& p = day.pools;
    p.win[4] = 500;
    p.winTotal = 5000;
    p.winOdds[4] = 3.4f; // the board's odds, not the pool's 6.5
    p.placeTotal = 10000;
    p.place[4] = 1500; // 3750 / 1500 - 1 = 1.5
    p.place[1] = 2500; // 0.5
    p.showTotal = 9000;
    p.show[4] = 4000; // 2247.75 / 4000 - 1 < 0.05
    p.show[1] = 1000; // 1.24775
    p.show[0] = 500;  // 3.4955; a third would have given 3.5
    p.quinielaTotal = 1000;
    p.quiniela[Pools::idx2(1, 4)] = 100; // 6.5: the pair lives lower post first
    p.quiniela[Pools::idx2(4, 1)] = 7;
    p.exactaTotal = 1000;
    p.exacta[Pools::idx2(4, 1)] = 50;  // 14
    p.exacta[Pools::idx2(1, 4)] = 300; // the reverse order is another bet
    p.trifectaTotal = 2488;
    p.trifecta[Pools::idx3(4, 1, 0)] = 15; // 1866 / 15 - 1 = 123.4
    p.superfectaTotal = 4000;
    p.superfecta[Pools::idx4(4, 1, 0, 2)] = 3; // 999
    Payoffs payoffs = computePayoffs(day);
    EXPECT_EQ(chart(payoffs),
              "QHorse0=2 QHorse1=5 EHorse0=5 EHorse1=2 THorse0=5 THorse1=2 THorse2=1 SHorse0=5 "
              "SHorse1=2 SHorse2=1 SHorse3=3 Win1Payoff=8.80 Place1Payoff=5.00 Place2Payoff=3.00 "
              "Show1Payoff=2.10 Show2Payoff=4.40 Show3Payoff=8.80 QuinielaPayoff=15.00 "
              "ExactaPayoff=30.00 TrifectaPayoff1=124.40 TrifectaPayoff2=248.80 "
              "SuperfectaPayoff1=1000.00 SuperfectaPayoff2=2000.00 Special= SpecialPayoff=");
    EXPECT_FLOAT_EQ(payoffs.win.value.value_or(0), 8.8f);
    EXPECT_FLOAT_EQ(payoffs.superfecta1.value.value_or(0), 1000.0f);
    EXPECT_EQ(payoffs.multiRace, MultiRaceBet::None);
}

// A player can follow the price to the cent: every figure, the cut and what it kept, or why
// nothing is paid.
TEST_F(PayoffsTest, PlaceWorkingShowsTheShareTheCutAndANobodyBetDash) {
    finish({2, 5, 1, 3});
    day.pools.placeTotal = 10000;
    day.pools.place[1] = 1600; // 3750 / 1600 - 1 = 1.34375, cut to 1.3
    Payoffs p = computePayoffs(day);
    EXPECT_EQ(p.place[0].working,
              (std::vector<std::string>{"Place on 2, which won: the first two share the place pool",
                                        "Place pool total: $10000.00",
                                        "Takeout 25 %: $2500.00, leaving a net pool of $7500.00 to pay back",
                                        "Share: the net pool pays two horses, each gets $7500.00 x 0.500 = "
                                        "$3750.00 (rounded to cents here)",
                                        "Money on 2 to place: $1600.00",
                                        "Odds: $3750.00 / $1600.00 - 1 = 1.3438 to 1 (shown to 4 decimals)",
                                        "Cut to tenths: 1.3; the breakage, 0.0438 a $1, keeps $0.09 of every "
                                        "$2 ticket (rounded to cents here)",
                                        "$2 payoff: 1.3 x 2 + 2 = 4.60"}));
    EXPECT_NEAR(p.place[0].breakage, 0.0875f, 1e-5f);
    EXPECT_EQ(
        p.place[1].working,
        (std::vector<std::string>{"Place on 5, which finished second: the first two share the place pool",
                                  "Place pool total: $10000.00",
                                  "Nobody bet 5 to place: with no money on the winning combination there is "
                                  "no one to share the pool with, so it pays nothing: -"}));
}

TEST_F(PayoffsTest, NoMoneyOnTheWinningCombinationOrNoFinishMeansADash) {
    finish({1, 2, 3, 4});
    day.pools.winTotal = day.pools.exactaTotal = day.pools.trifectaTotal = day.pools.superfectaTotal = 1000;
    day.pools.winOdds[0] = 3.4f; // left over from another race: never paid without win money
    Payoffs p = computePayoffs(day);
    for (const Payoff* payoff :
         {&p.win, &p.exacta, &p.trifecta1, &p.trifecta2, &p.superfecta1, &p.superfecta2}) {
        EXPECT_EQ(payoff->text, "-") << payoff->label;
        EXPECT_FALSE(payoff->value) << payoff->label;
    }

    // Board odds never set are worked out from the pool: 900 / 300 - 1 = 2.
    day.pools.win[0] = 300;
    day.pools.winTotal = 1200;
    day.pools.winOdds[0] = 0.0f;
    EXPECT_EQ(computePayoffs(day).win.text, "6.00");

    finish({0, 9, 3, 3});
    day.pools.placeTotal = day.pools.showTotal = day.pools.quinielaTotal = 1000;
    day.pools.show.fill(100);
    day.pools.trifecta.fill(5);
    EXPECT_EQ(
        chart(computePayoffs(day)),
        "QHorse0= QHorse1= EHorse0= EHorse1= THorse0= THorse1= THorse2=3 SHorse0= SHorse1= SHorse2=3 "
        "SHorse3=3 Win1Payoff=- Place1Payoff=- Place2Payoff=- Show1Payoff=- Show2Payoff=- Show3Payoff=4.80 "
        "QuinielaPayoff=- ExactaPayoff=- TrifectaPayoff1=- TrifectaPayoff2=- SuperfectaPayoff1=- "
        "SuperfectaPayoff2=- Special= SpecialPayoff=")
        << "only the third finisher is a real post";

    finish({4, 4, 4, 4}); // one horse cannot finish twice
    day.pools.quiniela.fill(5);
    day.pools.exacta.fill(5);
    day.pools.superfecta.fill(5);
    day.pools.superfectaTotal = 1000;
    Payoffs same = computePayoffs(day);
    EXPECT_EQ(same.quiniela.text + same.exacta.text + same.trifecta2.text + same.superfecta2.text, "----");
}

TEST(Parlay, CutsEveryRunningProductButTheLastToWholeDollars) {
    EXPECT_FLOAT_EQ(*parlayPayoff({5.8f, 4.6f}), 11.4f);
    // 5.8 -> 5 / 2 * 4.6 = 11.5 -> 11 / 2 * 3 = 16.5; odds 7.25 -> 7.2
    EXPECT_FLOAT_EQ(*parlayPayoff({5.8f, 4.6f, 3.0f}), 16.4f);
    // Short-priced legs end below the minimum odds.
    EXPECT_FLOAT_EQ(*parlayPayoff({2.1f, 2.1f, 2.1f, 2.1f, 2.1f, 2.1f}), 2.1f);
    EXPECT_FALSE(parlayPayoff({}));
    EXPECT_FALSE(parlayPayoff({1e30f, 1e30f, 1e30f}));
}

TEST_F(PayoffsTest, MultiRaceBetsArePaidAfterTheirLastLegFromThePublicOddsOfTheirLegs) {
    finish({3, 1, 2, 4});
    day.raceWinner = {1, 5, 3, 4, 5, 6, 7, 8, 1, 2, 3, 4};
    day.pools.oddsByRace[2][4] = 1.9f; // $5.80
    day.pools.oddsByRace[3][2] = 1.3f; // $4.60
    day.pools.oddsByRace[4][3] = 1.9f; // 5.80
    day.pools.oddsByRace[5][4] = 1.3f; // 4.60
    day.pools.oddsByRace[6][5] = 0.5f; // 3.00
    day.pools.winOdds[2] = 40.0f;      // the board of the race plays no part
    struct Case {
        int16_t race;
        MultiRaceBet bet;
        const char* special;
        std::vector<int> legs;
        const char* payoff;
    } cases[] = {
        {2, MultiRaceBet::DailyDouble, "Daily Double", {5, 3}, "11.40"},
        {5, MultiRaceBet::Pick3, "Pick 3", {4, 5, 6}, "16.40"},
        {11, MultiRaceBet::Pick6, "Pick 6", {7, 8, 1, 2, 3, 4}, "2.10"}, // unknown odds count as even money
    };
    for (const Case& c : cases) {
        day.currentRace = c.race;
        Payoffs p = computePayoffs(day);
        EXPECT_EQ(p.multiRace, c.bet) << c.special;
        EXPECT_EQ(p.special, c.special);
        EXPECT_EQ(p.xHorse, c.legs) << c.special;
        EXPECT_EQ(p.specialPayoff.text, c.payoff) << c.special;
    }
    day.currentRace = 2;
    const std::string labels = chart(computePayoffs(day));
    EXPECT_EQ(labels.substr(labels.find("Special=")),
              "Special=Daily Double XHorse0=5 XHorse1=3 SpecialPayoff=11.40")
        << "the other leg boxes stay hidden";

    EXPECT_EQ(
        computePayoffs(day).specialPayoff.working,
        (std::vector<std::string>{
            "Daily Double: a parlay of the legs' $2 win payoffs at the public's odds (players' tickets do "
            "not change them)",
            "Leg 1, race 2: 5 won at public odds 1.9, $2 pays 1.9 x 2 + 2 = 5.80",
            "Leg 2, race 3: 3 won at public odds 1.3, $2 pays 1.3 x 2 + 2 = 4.60", "Start with leg 1: 5.80",
            "Cut 5.80 to whole dollars: 5.00 (the cut keeps 0.80); 5.00 / 2 x 4.60 (leg 2) = 11.50",
            "Odds: 11.50 / 2 - 1 = 4.7500 to 1 (shown to 4 decimals)",
            "Cut to tenths: 4.7; without any cut the parlay would pay 13.34",
            "$2 payoff: 4.7 x 2 + 2 = 11.40"}));

    day.pools.oddsByRace[3][2] = -1.0f; // odds never known
    EXPECT_EQ(computePayoffs(day).specialPayoff.text, "-");
    day.raceWinner[2] = 0; // race 3's winner never recorded
    Payoffs missing = computePayoffs(day);
    EXPECT_EQ(missing.special, "Daily Double");
    EXPECT_EQ(missing.specialPayoff.text, "-");
    EXPECT_FALSE(missing.specialPayoff.value);

    for (int16_t race : {0, 1, 3, 4, 6, 10}) {
        day.currentRace = race;
        Payoffs p = computePayoffs(day);
        EXPECT_EQ(p.multiRace, MultiRaceBet::None) << race;
        EXPECT_TRUE(p.special.empty() && p.xHorse.empty() && !p.specialPayoff.value) << race;
    }
}

} // namespace
