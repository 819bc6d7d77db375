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

std::string labelText(const std::vector<LabelText>& labels, std::string_view name, int index = -1) {
    for (const LabelText& label : labels)
        if (label.name == name && label.index == index)
            return label.text;
    return "<missing>";
}

// ---- Single-race payoffs ----

TEST_F(PayoffsTest, WinPaysTheBoardOddsOfTheWinner) {
    finish({4, 1, 2, 3});
    day.pools.win[3] = 500;
    day.pools.winTotal = 5000;
    day.pools.winOdds[3] = 3.4f;
    Payoffs p = computePayoffs(day);
    EXPECT_EQ(p.win.label, "lblWin1Payoff");
    EXPECT_EQ(p.win.text, "8.80");
    ASSERT_TRUE(p.win.value);
    EXPECT_FLOAT_EQ(*p.win.value, 8.8f);
}

TEST_F(PayoffsTest, PlaceSplitsThePoolBetweenTheTwoPlacedHorses) {
    finish({2, 5, 1, 3});
    day.pools.placeTotal = 10000;
    day.pools.place[1] = 1500;
    day.pools.place[4] = 2500; // 3750 / 2500 - 1 = 0.5
    Payoffs p = computePayoffs(day);
    EXPECT_EQ(p.place[0].text, "5.00");
    EXPECT_EQ(p.place[1].label, "lblPlace2Payoff");
    EXPECT_EQ(p.place[1].text, "3.00");
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

TEST_F(PayoffsTest, ShowUsesTheThreeThousandthsShareAndTheMinimumOdds) {
    finish({2, 5, 1, 3});
    day.pools.showTotal = 9000;
    day.pools.show[1] = 4000;
    day.pools.show[4] = 1000; // 2247.75 / 1000 - 1 = 1.24775 -> 1.2
    day.pools.show[0] = 500;  // 4.4955 - 1 = 3.4955 -> 3.4; a third would have given 3.5
    Payoffs p = computePayoffs(day);
    EXPECT_EQ(p.show[0].text, "2.10");
    EXPECT_EQ(p.show[1].text, "4.40");
    EXPECT_EQ(p.show[2].text, "8.80");
}

TEST_F(PayoffsTest, QuinielaShowsTheLowerPostFirstAndUsesThatCell) {
    finish({6, 2, 1, 3});
    day.pools.quinielaTotal = 1000;
    day.pools.quiniela[Pools::idx2(1, 5)] = 100; // 750 / 100 - 1 = 6.5
    day.pools.quiniela[Pools::idx2(5, 1)] = 7;   // never used: the pair lives lower post first
    Payoffs p = computePayoffs(day);
    EXPECT_EQ(p.qHorse[0], 2);
    EXPECT_EQ(p.qHorse[1], 6);
    EXPECT_EQ(p.quiniela.text, "15.00");
    auto labels = chartLabels(p);
    EXPECT_EQ(labelText(labels, "lblQHorse", 0), "2");
    EXPECT_EQ(labelText(labels, "lblQHorse", 1), "6");
}

TEST_F(PayoffsTest, ExactaUsesTheFinishingOrder) {
    finish({6, 2, 1, 3});
    day.pools.exactaTotal = 1000;
    day.pools.exacta[Pools::idx2(5, 1)] = 50;  // 15 - 1 = 14
    day.pools.exacta[Pools::idx2(1, 5)] = 300; // the reverse order is another bet
    Payoffs p = computePayoffs(day);
    EXPECT_EQ(p.eHorse, (std::array<int, 2>{6, 2}));
    EXPECT_EQ(p.exacta.text, "30.00");
}

TEST_F(PayoffsTest, TrifectaAndSuperfectaFillTheTwoDollarAndOneDollarLabels) {
    finish({3, 1, 4, 2});
    day.pools.trifectaTotal = 2488;
    day.pools.trifecta[Pools::idx3(2, 0, 3)] = 15; // 1866 / 15 - 1 = 123.4
    day.pools.superfectaTotal = 4000;
    day.pools.superfecta[Pools::idx4(2, 0, 3, 1)] = 3; // 1000 - 1 = 999
    Payoffs p = computePayoffs(day);
    EXPECT_EQ(p.trifecta2.text, "248.80");
    EXPECT_EQ(p.trifecta1.text, "124.40");
    EXPECT_EQ(p.superfecta2.text, "2000.00");
    EXPECT_EQ(p.superfecta1.text, "1000.00");
    EXPECT_EQ(p.tHorse, (std::array<int, 3>{3, 1, 4}));
    EXPECT_EQ(p.sHorse, (std::array<int, 4>{3, 1, 4, 2}));
}

// ---- Combinations without money ----

TEST_F(PayoffsTest, AWinningCombinationWithoutMoneyShowsADashAndHasNoValue) {
    finish({1, 2, 3, 4});
    day.pools.exactaTotal = 1000;
    day.pools.trifectaTotal = 1000;
    day.pools.superfectaTotal = 1000; // every winning cell stays 0
    Payoffs p = computePayoffs(day);
    for (const Payoff* payoff : {&p.exacta, &p.trifecta1, &p.trifecta2, &p.superfecta1, &p.superfecta2}) {
        EXPECT_EQ(payoff->text, "-") << payoff->label;
        EXPECT_FALSE(payoff->value) << payoff->label;
    }
}

TEST_F(PayoffsTest, AWinnerWithoutWinMoneyIsNotPaidFromStaleOdds) {
    finish({1, 2, 3, 4});
    day.pools.winTotal = 1000;
    day.pools.winOdds[0] = 3.4f; // left over from another race
    EXPECT_EQ(computePayoffs(day).win.text, "-");
}

TEST_F(PayoffsTest, UnsetBoardOddsAreWorkedOutFromThePool) {
    finish({1, 2, 3, 4});
    day.pools.win[0] = 300;
    day.pools.winTotal = 1200; // 900 / 300 - 1 = 2
    day.pools.winOdds[0] = 0.0f;
    EXPECT_EQ(computePayoffs(day).win.text, "6.00");
}

TEST_F(PayoffsTest, AnUnfinishedOrNonsenseOrderGivesNoPayoffsAndNoCrash) {
    finish({0, 9, 3, 3});
    day.pools.winTotal = day.pools.placeTotal = day.pools.showTotal = 1000;
    day.pools.quinielaTotal = day.pools.exactaTotal = day.pools.trifectaTotal = 1000;
    day.pools.show.fill(100);
    day.pools.trifecta.fill(5);
    Payoffs p = computePayoffs(day);
    EXPECT_EQ(p.win.text, "-");
    EXPECT_EQ(p.place[0].text, "-");
    EXPECT_EQ(p.place[1].text, "-");
    EXPECT_EQ(p.show[2].text, "4.80") << "the third finisher is a real post";
    EXPECT_EQ(p.quiniela.text, "-");
    EXPECT_EQ(p.exacta.text, "-");
    EXPECT_EQ(p.trifecta2.text, "-");
    auto labels = chartLabels(p);
    EXPECT_EQ(labelText(labels, "lblEHorse", 0), "");
    EXPECT_EQ(labelText(labels, "lblEHorse", 1), "");
}

// ---- Multi-race payoffs ----

TEST(Parlay, CutsEveryRunningProductButTheLastToWholeDollars) {
    EXPECT_FLOAT_EQ(*parlayPayoff({5.8f, 4.6f}), 11.4f);
    // 5.8 -> 5 / 2 * 4.6 = 11.5 -> 11 / 2 * 3 = 16.5; odds 7.25 -> 7.2
    EXPECT_FLOAT_EQ(*parlayPayoff({5.8f, 4.6f, 3.0f}), 16.4f);
    // Short-priced legs end below the minimum odds.
    EXPECT_FLOAT_EQ(*parlayPayoff({2.1f, 2.1f, 2.1f, 2.1f, 2.1f, 2.1f}), 2.1f);
    EXPECT_FALSE(parlayPayoff({}));
    EXPECT_FALSE(parlayPayoff({1e30f, 1e30f, 1e30f}));
}

TEST_F(PayoffsTest, DailyDoubleIsPaidAfterRaceThreeFromThePublicOddsOfItsLegs) {
    finish({3, 1, 2, 4});
    day.currentRace = 2;
    day.raceWinner[1] = 5;
    day.raceWinner[2] = 3;
    day.pools.oddsByRace[2][4] = 1.9f; // $5.80
    day.pools.oddsByRace[3][2] = 1.3f; // $4.60
    day.pools.winOdds[2] = 40.0f;      // the board of race 3 plays no part
    Payoffs p = computePayoffs(day);
    EXPECT_EQ(p.multiRace, MultiRaceBet::DailyDouble);
    EXPECT_EQ(p.special, "Daily Double");
    EXPECT_EQ(p.xHorse, (std::vector<int>{5, 3}));
    EXPECT_EQ(p.specialPayoff.text, "11.40");
    auto labels = chartLabels(p);
    EXPECT_EQ(labelText(labels, "lblSpecial"), "Daily Double");
    EXPECT_EQ(labelText(labels, "lblXHorse", 1), "3");
    EXPECT_EQ(labelText(labels, "lblXHorse", 2), "<missing>") << "the other boxes stay hidden";
}

TEST_F(PayoffsTest, PickThreeAndPickSixAreNamedAndPaidAfterTheirLastLeg) {
    day.raceWinner = {1, 2, 3, 4, 5, 6, 7, 8, 1, 2, 3, 4};
    day.pools.oddsByRace[4][3] = 1.9f; // 5.80
    day.pools.oddsByRace[5][4] = 1.3f; // 4.60
    day.pools.oddsByRace[6][5] = 0.5f; // 3.00
    day.currentRace = 5;
    Payoffs pick3 = computePayoffs(day);
    EXPECT_EQ(pick3.special, "Pick 3");
    EXPECT_EQ(pick3.xHorse, (std::vector<int>{4, 5, 6}));
    EXPECT_EQ(pick3.specialPayoff.text, "16.40");

    day.currentRace = 11;
    Payoffs pick6 = computePayoffs(day);
    EXPECT_EQ(pick6.multiRace, MultiRaceBet::Pick6);
    EXPECT_EQ(pick6.special, "Pick 6");
    EXPECT_EQ(pick6.xHorse, (std::vector<int>{7, 8, 1, 2, 3, 4}));
    EXPECT_EQ(pick6.specialPayoff.text, "2.10") << "odds never computed count as even money legs";
}

TEST_F(PayoffsTest, OtherRacesHaveNoSpecialRow) {
    for (int16_t race : {0, 1, 3, 4, 6, 10}) {
        day.currentRace = race;
        Payoffs p = computePayoffs(day);
        EXPECT_EQ(p.multiRace, MultiRaceBet::None) << race;
        EXPECT_TRUE(p.special.empty());
        EXPECT_TRUE(p.xHorse.empty());
        EXPECT_FALSE(p.specialPayoff.value);
    }
}

TEST_F(PayoffsTest, AMissingLegWinnerGivesNoMultiRacePayoff) {
    day.currentRace = 2;
    day.raceWinner[1] = 4; // race 3's winner never recorded
    Payoffs p = computePayoffs(day);
    EXPECT_EQ(p.special, "Daily Double");
    EXPECT_EQ(p.specialPayoff.text, "-");
    EXPECT_FALSE(p.specialPayoff.value);
}

// ---- Payoffs from the pool files ----

TEST_F(PayoffsTest, PreparedPayoffsComeFromThePoolFilesNotTheBrowsedPools) {
    test::writeAll(dir / "wins.dat", "1,1,300\r\n4,2,900\r\n");
    test::writeAll(dir / "places.dat", "2,1,200\r\n5,2,600\r\n");
    test::writeAll(dir / "shows.dat", "3,1,100\r\n6,2,300\r\n7,3,100\r\n");
    test::writeAll(dir / "quinielas.dat", "8,1,2,100\r\n");
    test::writeAll(dir / "exactas.dat", "9,1,2,100\r\n10,2,1,100\r\n");
    test::writeAll(dir / "trifectas.dat", "11,1,2,3,10\r\n");
    test::writeAll(dir / "superfectas.dat", "12,1,2,3,4,0\r\n13,4,3,2,1,7\r\n");
    finish({1, 2, 3, 4});
    // What the racing program left in memory after browsing another race.
    day.pools.win.fill(10);
    day.pools.winTotal = 80;
    day.pools.winOdds.fill(5.0f);
    day.pools.superfecta.fill(1);
    day.pools.superfectaTotal = 1680;

    Payoffs p = preparePayoffs(day);
    EXPECT_EQ(p.win.text, "6.00");      // 1200 * .75 / 300 - 1 = 2
    EXPECT_EQ(p.place[0].text, "3.00"); // 800 * .375 / 200 - 1 = 0.5
    EXPECT_EQ(p.place[1].text, "2.10");
    EXPECT_EQ(p.quiniela.text, "2.10");
    EXPECT_EQ(p.exacta.text, "3.00");
    EXPECT_EQ(p.trifecta2.text, "2.10");
    EXPECT_EQ(p.superfecta2.text, "-") << "the files hold no money on 1-2-3-4";
}

} // namespace
