#include "settlement/Settlement.h"

#include "core/Format.h"
#include "players/Players.h"
#include "support/TestSupport.h"
#include "wagering/ExchangeCredits.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>

using namespace sw;

namespace {

constexpr const char* Date = "5/12/2026";

class SettlementTest : public ::testing::Test {
protected:
    void SetUp() override {
        day.players.entries = {{1, "Ann", "400"}, {2, "Bob", "400"}, {3, "Cy", "400"}};
        day.card.racePoolsOpened.fill(true);
        finish({5, 3, 7, 1});
    }

    void finish(std::array<int, 4> posts) {
        for (std::size_t k = 0; k < posts.size(); ++k)
            day.result.finishOrder[k] = static_cast<uint8_t>(posts[k]);
    }

    void write(std::string_view file, std::initializer_list<std::string> lines) {
        std::string content;
        for (const std::string& line : lines)
            content += line + "\r\n";
        test::writeAll(dir / file, content);
    }

    static std::string ticket(int number, int player, int amount, std::string_view type, int race) {
        return std::to_string(number) + "," + std::to_string(player) + "," + std::to_string(amount) + "," +
               std::string(type) + "," + std::to_string(race) + "," + Date;
    }

    static Payoff paying(float value) { return {"label", value, moneyText(value, false)}; }

    float balance(std::size_t index) const { return balanceOf(day.players.entries[index]); }

    test::TempDir dir;
    test::ListRandom random{{0.5}};
    test::ScriptedPrompter prompter;
    RaceDay day{dir.path(), random, prompter};
    Payoffs payoffs;
};

// ---- Single-race passes ----

TEST_F(SettlementTest, WpsOnTheWinnerIsCreditedOncePerPoolWithItsOwnPayoff) {
    day.currentRace = 0;
    selectBettor(day, 0);
    write("tickets.dat", {ticket(2125, 1, 2, "WPS", 1)});
    write("wins.dat", {"1,5,100", "2125,5,2"});
    write("places.dat", {"2,5,100", "2125,5,2"});
    write("shows.dat", {"3,5,100", "2125,5,2"});
    payoffs.win = paying(8.8f);
    payoffs.place = {paying(5.0f), paying(9.9f)};
    payoffs.show = {paying(2.1f), paying(7.7f), paying(6.6f)};

    SettlementReport report = settleRace(day, payoffs);

    ASSERT_EQ(report.credits.size(), 3u);
    EXPECT_EQ(report.winnerLines, (std::vector<std::string>{"    $8.80 -Win- Ann", "    $5.00 -Plc- Ann",
                                                            "    $2.10 -Shw- Ann"}));
    EXPECT_EQ(report.credits[1].code, "Plc");
    EXPECT_EQ(report.credits[1].playerIndex, 0);
    EXPECT_EQ(report.credits[1].ticketNumber, 2125);
    EXPECT_FLOAT_EQ(report.credits[2].winnings, 2.1f);
    EXPECT_FLOAT_EQ(balance(0), 415.9f);
    EXPECT_EQ(day.players.balanceLabel, "415.90") << "the bettor's balance shows the winnings";
    EXPECT_EQ(test::readLines(dir / "players.dat"),
              (std::vector<std::string>{"1,Ann,415.9", "2,Bob,400", "3,Cy,400"}));
    EXPECT_TRUE(report.errors.empty());
}

TEST_F(SettlementTest, PlaceOnTheSecondPaysTheSecondPlaceLabelAndShowOnTheFourthNothing) {
    day.currentRace = 0;
    write("tickets.dat", {ticket(2125, 2, 4, "Place", 1), ticket(2126, 3, 2, "Show", 1)});
    write("places.dat", {"2125,3,4"});
    write("shows.dat", {"2126,1,2"});
    payoffs.place = {paying(5.0f), paying(9.9f)};
    payoffs.show = {paying(2.1f), paying(7.7f), paying(6.6f)};

    SettlementReport report = settleRace(day, payoffs);

    ASSERT_EQ(report.credits.size(), 1u);
    EXPECT_EQ(report.credits[0].playerIndex, 1);
    EXPECT_FLOAT_EQ(report.credits[0].payoff, 9.9f);
    EXPECT_FLOAT_EQ(report.credits[0].winnings, 19.8f);
    EXPECT_FLOAT_EQ(balance(2), 400.0f);
}

TEST_F(SettlementTest, AnExactaBoxIsCreditedOnceForTheLineMatchingTheFinish) {
    day.currentRace = 0;
    finish({2, 3, 1, 4});
    write("tickets.dat", {ticket(2125, 1, 5, "Exacta", 1)});
    write("exactas.dat",
          {"9,2,3,40", "2125,1,2,5", "2125,1,3,5", "2125,2,1,5", "2125,2,3,5", "2125,3,1,5", "2125,3,2,5"});
    payoffs.exacta = paying(15.0f);

    SettlementReport report = settleRace(day, payoffs);

    EXPECT_EQ(report.winnerLines, (std::vector<std::string>{"   $37.50 -Exa- Ann"}));
    EXPECT_FLOAT_EQ(balance(0), 437.5f);
}

// ---- Joining pool lines to tickets ----

TEST_F(SettlementTest, AKeptDailyDoubleIsNeverPaidFromAnExactaLineSharingItsNumber) {
    day.currentRace = 2;
    finish({1, 2, 3, 4});
    day.raceWinner[1] = 4;
    day.raceWinner[2] = 1;
    write("tickets.dat", {ticket(2130, 3, 2, "Daily Double", 2), ticket(2130, 1, 5, "Exacta", 3)});
    write("exactas.dat", {"2130,1,2,5"});
    write("dailydoubles.dat", {"2130,4,5,2"}); // the double lost
    payoffs.exacta = paying(15.0f);
    payoffs.multiRace = MultiRaceBet::DailyDouble;
    payoffs.specialPayoff = paying(11.4f);

    SettlementReport report = settleRace(day, payoffs);

    EXPECT_EQ(report.winnerLines, (std::vector<std::string>{"   $37.50 -Exa- Ann"}));
    EXPECT_FLOAT_EQ(balance(2), 400.0f);
}

TEST_F(SettlementTest, AWinningDailyDoubleIsNotPaidAgainByTheExactaPass) {
    day.currentRace = 2;
    finish({1, 2, 3, 4});
    day.raceWinner[1] = 4;
    day.raceWinner[2] = 1;
    write("tickets.dat", {ticket(2130, 3, 2, "Daily Double", 2), ticket(2130, 1, 5, "Exacta", 3)});
    write("exactas.dat", {"2130,2,1,5"}); // the exacta lost
    write("dailydoubles.dat", {"2130,4,1,2"});
    payoffs.exacta = paying(15.0f);
    payoffs.multiRace = MultiRaceBet::DailyDouble;
    payoffs.specialPayoff = paying(11.4f);

    SettlementReport report = settleRace(day, payoffs);

    EXPECT_EQ(report.winnerLines, (std::vector<std::string>{"   $11.40 -DDb- Cy"}));
    EXPECT_FLOAT_EQ(balance(0), 400.0f);
}

TEST_F(SettlementTest, ALineOnlyPaysTicketsOfTheKindsItsPoolHolds) {
    day.currentRace = 1;
    finish({1, 2, 3, 4});
    write("tickets.dat", {ticket(2130, 3, 2, "Daily Double", 2), ticket(2130, 2, 2, "Win", 2),
                          ticket(2130, 1, 5, "Exacta", 2)});
    write("exactas.dat", {"2130,1,2,5"});
    write("places.dat", {"2130,1,2"});
    payoffs.exacta = paying(15.0f);
    payoffs.place[0] = paying(3.0f);

    SettlementReport report = settleRace(day, payoffs);

    EXPECT_EQ(report.winnerLines, (std::vector<std::string>{"   $37.50 -Exa- Ann"}));
}

TEST_F(SettlementTest, ATicketLeftFromAnEarlierRaceDoesNotCollectOnThisRacesNumbers) {
    day.currentRace = 2;
    write("tickets.dat", {ticket(2125, 2, 2, "Win", 2), ticket(2125, 1, 2, "Win", 3)});
    write("wins.dat", {"2125,5,2"});
    payoffs.win = paying(6.0f);

    SettlementReport report = settleRace(day, payoffs);

    EXPECT_EQ(report.winnerLines, (std::vector<std::string>{"    $6.00 -Win- Ann"}));
}

TEST_F(SettlementTest, AnUnlistedPlayerCreditsNobodyAndTheSettlementGoesOn) {
    day.currentRace = 0;
    write("tickets.dat", {ticket(2125, 99, 2, "Win", 1), ticket(2126, 2, 2, "Win", 1)});
    write("wins.dat", {"2125,5,2", "2126,5,2"});
    payoffs.win = paying(6.0f);

    SettlementReport report = settleRace(day, payoffs);

    EXPECT_EQ(report.winnerLines, (std::vector<std::string>{"    $6.00 -Win- Bob"}));
    ASSERT_EQ(report.unclaimed.size(), 1u);
    EXPECT_EQ(report.unclaimed[0].playerId, 99);
    EXPECT_EQ(report.unclaimed[0].playerIndex, -1);
    EXPECT_FLOAT_EQ(balance(0) + balance(1) + balance(2), 1206.0f);
    EXPECT_EQ(report.standingLines.size(), 3u);
}

TEST_F(SettlementTest, AWinningCellWithoutMoneyPaysNothing) {
    day.currentRace = 0;
    finish({1, 2, 3, 4});
    day.pools.exactaTotal = 1000; // the in-memory pools hold nothing on 1-2
    write("tickets.dat", {ticket(2125, 1, 2, "Exacta", 1)});
    write("exactas.dat", {"2125,1,2,2"});
    Payoffs fromPools = computePayoffs(day);
    ASSERT_EQ(fromPools.exacta.text, "-");

    SettlementReport report = settleRace(day, fromPools);

    EXPECT_TRUE(report.credits.empty());
    EXPECT_FLOAT_EQ(balance(0), 400.0f);
}

TEST_F(SettlementTest, ANonPositiveTicketAmountNeverTakesMoney) {
    day.currentRace = 0;
    write("tickets.dat", {ticket(2125, 1, -5, "Win", 1), ticket(2126, 1, 0, "Win", 1)});
    write("wins.dat", {"2125,5,2", "2126,5,2"});
    payoffs.win = paying(6.0f);

    SettlementReport report = settleRace(day, payoffs);

    EXPECT_TRUE(report.credits.empty());
    EXPECT_FLOAT_EQ(balance(0), 400.0f);
}

TEST_F(SettlementTest, MalformedLinesAreSkippedAndGoodOnesStillPay) {
    day.currentRace = 0;
    test::writeAll(dir / "tickets.dat", "garbage\r\n,,,,\r\n2125,1,two,Win,1,d\r\n2126,1,2,Win\r\n"
                                        "99999999999,1,2,Win,1,d\r\n2127,1,2.5,Win,1,d\n2128,1,2,Win,1,d\r");
    test::writeAll(dir / "wins.dat", "x,5,2\r\n2125,5,2\r\n2126,5,2\r\n2127\r\n2128,5\r\n"
                                     "2127,5,2\r\n2128,5,2\r\n");
    payoffs.win = paying(6.0f);

    SettlementReport report = settleRace(day, payoffs);

    ASSERT_EQ(report.credits.size(), 1u);
    EXPECT_EQ(report.credits[0].ticketNumber, 2128);
    EXPECT_EQ(test::readAll(dir / "tickets.dat"), "");
}

TEST_F(SettlementTest, MissingFilesSettleNothingAndLeaveAnEmptyTicketsFile) {
    day.currentRace = 2;
    payoffs.win = paying(6.0f);
    payoffs.multiRace = MultiRaceBet::DailyDouble;
    payoffs.specialPayoff = paying(11.4f);

    SettlementReport report = settleRace(day, payoffs);

    EXPECT_TRUE(report.credits.empty());
    EXPECT_EQ(report.standingLines.size(), 3u);
    EXPECT_TRUE(std::filesystem::exists(dir / "tickets.dat"));
    EXPECT_EQ(test::readAll(dir / "tickets.dat"), "");
}

TEST_F(SettlementTest, SettlingTheSameRaceTwicePaysOnce) {
    day.currentRace = 2;
    day.raceWinner[1] = 4;
    day.raceWinner[2] = 5;
    write("tickets.dat", {ticket(2125, 1, 2, "WPS", 3), ticket(2126, 2, 2, "Daily Double", 2)});
    write("wins.dat", {"2125,5,2"});
    write("places.dat", {"2125,5,2"});
    write("shows.dat", {"2125,5,2"});
    write("dailydoubles.dat", {"2126,4,5,2"});
    payoffs.win = paying(6.0f);
    payoffs.place[0] = paying(4.0f);
    payoffs.show[0] = paying(3.0f);
    payoffs.multiRace = MultiRaceBet::DailyDouble;
    payoffs.specialPayoff = paying(20.0f);

    EXPECT_EQ(settleRace(day, payoffs).credits.size(), 4u);
    EXPECT_TRUE(settleRace(day, payoffs).credits.empty());
    EXPECT_FLOAT_EQ(balance(0), 413.0f);
    EXPECT_FLOAT_EQ(balance(1), 420.0f);
}

// ---- Pruning tickets.dat and the multi-race pool files ----

TEST_F(SettlementTest, AfterRaceThreeOnlyPickThreeAndPickSixTicketsRemain) {
    day.currentRace = 2;
    write("tickets.dat",
          {ticket(2125, 1, 2, "Win", 3), ticket(2126, 1, 2, "Daily Double", 2),
           ticket(2127, 2, 2, "Pick3", 4), ticket(2128, 3, 2, "Pick6", 7), ticket(2129, 2, 2, "Exacta", 3)});
    write("dailydoubles.dat", {"2126,1,1,2"});
    write("pick3s.dat", {"2127,1,2,3,2"});

    settleRace(day, payoffs);

    std::vector<std::string> kept{ticket(2127, 2, 2, "Pick3", 4), ticket(2128, 3, 2, "Pick6", 7)};
    EXPECT_EQ(test::readLines(dir / "tickets.dat"), kept);
    EXPECT_EQ(test::readAll(dir / "tickets.dat"), kept[0] + "\r\n" + kept[1] + "\r\n");
    EXPECT_EQ(test::readLines(dir / "tickets.tmp"), kept);
    EXPECT_TRUE(std::filesystem::exists(dir / "dailydoubles.dat"));
    EXPECT_EQ(test::readAll(dir / "dailydoubles.dat"), "");
    EXPECT_EQ(test::readLines(dir / "pick3s.dat"), (std::vector<std::string>{"2127,1,2,3,2"}));
}

TEST_F(SettlementTest, EachMultiRaceBetIsClearedAfterItsLastLegOnly) {
    const std::vector<std::string> running{ticket(2125, 1, 2, "Daily Double", 2),
                                           ticket(2126, 1, 2, "Pick3", 4), ticket(2127, 1, 2, "Pick6", 7)};
    const std::vector<std::string> poolFiles{"dailydoubles.dat", "pick3s.dat", "pick6s.dat"};
    struct Case {
        int16_t race;
        std::size_t finished; // index of the bet whose last leg this race is
    };
    for (const Case& c : {Case{5, 1}, Case{11, 2}}) {
        write("tickets.dat", {running[0], running[1], running[2], ticket(2128, 1, 2, "Show", c.race + 1)});
        write("dailydoubles.dat", {"2125,1,1,2"});
        write("pick3s.dat", {"2126,1,1,1,2"});
        write("pick6s.dat", {"2127,1,1,1,1,1,1,2"});
        day.currentRace = c.race;

        settleRace(day, payoffs);

        std::vector<std::string> kept;
        for (std::size_t k = 0; k < running.size(); ++k) {
            if (k != c.finished)
                kept.push_back(running[k]);
            EXPECT_EQ(test::readAll(dir / poolFiles[k]).empty(), k == c.finished) << c.race << poolFiles[k];
        }
        EXPECT_EQ(test::readLines(dir / "tickets.dat"), kept) << c.race;
    }
}

TEST_F(SettlementTest, AnOrdinaryRaceKeepsEveryMultiRaceTicketAndPoolLine) {
    day.currentRace = 3;
    write("tickets.dat", {ticket(2125, 1, 2, "Pick3", 4), ticket(2126, 1, 2, "Win", 4)});
    write("pick3s.dat", {"2125,1,1,1,2"});

    settleRace(day, payoffs);

    EXPECT_EQ(test::readLines(dir / "tickets.dat"),
              (std::vector<std::string>{ticket(2125, 1, 2, "Pick3", 4)}));
    EXPECT_EQ(test::readLines(dir / "pick3s.dat"), (std::vector<std::string>{"2125,1,1,1,2"}));
}

// ---- Twin-Tri and Tri-Super across two races ----

TEST_F(SettlementTest, AWinningFirstHalfIsHeldForTheNextRaceAndPaidThereOnce) {
    const struct {
        const char* what;
        bool exchanged;
        std::optional<float> secondTrifecta, secondSuperfecta; // race 5's $2 payoffs
        float ann, bob;                                        // what the two credits pay
    } cases[] = {
        // Parlays: floor(41.2) / 2 * 9 = 184.5, odds 91.25 cut to 91.2; floor(41.2) / 2 * 30 = 615.
        {"both halves in", true, 9.0f, 30.0f, 184.4f, 2 * 615.0f},
        {"a second half paid \"-\"", true, std::nullopt, std::nullopt, 0, 0},
        {"not exchanged: the first half's price", false, 9.0f, 30.0f, 41.2f, 2 * 41.2f},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        day.players.entries = {{1, "Ann", "400"}, {2, "Bob", "400"}, {3, "Cy", "400"}};
        // Race 4: Ann's Twin-Tri and Bob's Tri-Super come in, Cy's Twin-Tri does not.
        day.currentRace = 3;
        finish({5, 3, 7, 1});
        write("tickets.dat", {ticket(2125, 1, 2, "Twin-Tri", 4), ticket(2126, 2, 4, "Tri-Super", 4),
                              ticket(2127, 3, 2, "Twin-Tri", 4), ticket(2128, 3, 2, "Trifecta", 4)});
        write("twintris.dat", {"2125,5,7,3,2", "2125,5,3,7,2", "2127,3,5,7,2"});
        write("trisupers.dat", {"2126,5,3,7,4"});
        write("trifectas.dat", {"2128,5,3,7,2"});
        payoffs = Payoffs{};
        payoffs.trifecta2 = paying(41.2f);
        SettlementReport first = settleRace(day, payoffs);
        EXPECT_EQ(first.exchangeLines, (std::vector<std::string>{"Ann: Twin-Tri exchange for race 5",
                                                                 "Bob: Tri-Super exchange for race 5"}));
        ASSERT_EQ(first.credits.size(), 1u) << "only the plain trifecta is money now";
        EXPECT_EQ(test::readLines(dir / "exchangecredits.dat"),
                  (std::vector<std::string>{"2125,1,2,Twin-Tri,5,5-3-7,41.2,0",
                                            "2126,2,4,Tri-Super,5,5-3-7,41.2,0"}));
        EXPECT_EQ(day.exchangeCredits.size(), 2u);
        for (const char* file : {"twintris.dat", "trisupers.dat"})
            EXPECT_TRUE(test::readLines(dir / file).empty()) << file;

        // Race 5: the second halves, bought with the credits (or not).
        day.currentRace = 4;
        finish({2, 4, 6, 8});
        if (c.exchanged) {
            for (ExchangeCredit& credit : day.exchangeCredits)
                credit.exchangedBy = credit.number + 10;
            test::writeAll(dir / "exchangecredits.dat", exchangeCreditsText(day.exchangeCredits));
            write("tickets.dat",
                  {ticket(2135, 1, 2, "Twin-Tri Exchange", 5), ticket(2136, 2, 4, "Tri-Super Exchange", 5)});
            write("twintriexchanges.dat", {"2135,1,2,3,2", "2135,2,4,6,2"});
            write("trisuperexchanges.dat", {"2136,2,4,6,8,4"});
        }
        payoffs = Payoffs{};
        if (c.secondTrifecta)
            payoffs.trifecta2 = paying(*c.secondTrifecta);
        if (c.secondSuperfecta)
            payoffs.superfecta2 = paying(*c.secondSuperfecta);
        const float before[] = {balance(0), balance(1)};
        SettlementReport second = settleRace(day, payoffs);
        EXPECT_FLOAT_EQ(balance(0) - before[0], c.ann);
        EXPECT_FLOAT_EQ(balance(1) - before[1], c.bob);
        for (const Credit& credit : second.credits)
            EXPECT_EQ(credit.code, credit.playerId == 1 ? "TwT" : "TrS");
        EXPECT_TRUE(test::readLines(dir / "exchangecredits.dat").empty());
        EXPECT_TRUE(day.exchangeCredits.empty());
        EXPECT_TRUE(settleRace(day, payoffs).credits.empty()) << "a credit pays once";
    }
}

// ---- Standings ----

TEST(Standings, ListTheHighestBalanceFirstInTheirColumn) {
    PlayerList players;
    players.entries = {{1, "Ann", "300"}, {2, "Bob", "412.5"}, {3, "Cy", "120"}};
    EXPECT_EQ(standingLines(players),
              (std::vector<std::string>{"   $412.50 - Bob", "   $300.00 - Ann", "   $120.00 - Cy"}));
}

TEST(Standings, EqualBalancesKeepListOrderAndSmallOrNegativeBalancesShowAsTheyAre) {
    PlayerList players;
    players.entries = {
        {1, "Ann", "0.5"}, {2, "Bob", "50"}, {3, "Cy", "50"}, {4, "Di", "-12"}, {5, "Ed", "50"}};
    EXPECT_EQ(standingLines(players),
              (std::vector<std::string>{"    $50.00 - Bob", "    $50.00 - Cy", "    $50.00 - Ed",
                                        "      $.50 - Ann", "   -$12.00 - Di"}));
    EXPECT_TRUE(standingLines(PlayerList{}).empty());
}

TEST_F(SettlementTest, TheReportedStandingsIncludeTheCredits) {
    day.currentRace = 0;
    write("tickets.dat", {ticket(2125, 3, 10, "Win", 1)});
    write("wins.dat", {"2125,5,10"});
    payoffs.win = paying(6.0f);

    SettlementReport report = settleRace(day, payoffs);

    EXPECT_EQ(report.standingLines,
              (std::vector<std::string>{"   $430.00 - Cy", "   $400.00 - Ann", "   $400.00 - Bob"}));
}

TEST(WinnerLine, RightAlignsTheWinningsInNineCharacters) {
    EXPECT_EQ(winnerLine(24.0f, "Win", "Ann"), "   $24.00 -Win- Ann");
    EXPECT_EQ(winnerLine(0.5f, "Plc", "Bob"), "     $.50 -Plc- Bob");
    EXPECT_EQ(winnerLine(123456.5f, "Pk6", "Cy"), "$123456.50 -Pk6- Cy") << "a wider amount is never cut";
}

} // namespace
