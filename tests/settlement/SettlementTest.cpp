#include "settlement/Settlement.h"
#include "settlement/HouseLedger.h"
#include "settlement/MoneyLedger.h"
#include "settlement/Payoffs.h"

#include "core/Constants.h"
#include "core/Format.h"
#include "players/Players.h"
#include "support/TestSupport.h"
#include "wagering/ExchangeCredits.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <random>
#include <sstream>

using namespace sw;
using namespace std::string_literals;

namespace {

constexpr const char* Date = "5/12/2026";

std::string ticket(int number, int player, int amount, std::string_view type, int race) {
    return std::to_string(number) + "," + std::to_string(player) + "," + std::to_string(amount) + "," +
           std::string(type) + "," + std::to_string(race) + "," + Date;
}

// The whole chart in its order, each label as name (without "lbl"), index and text.
std::string chart(const Payoffs& p) {
    std::string s;
    for (const LabelText& label : chartLabels(p))
        s += (s.empty() ? "" : " ") + label.name.substr(3) +
             (label.index >= 0 ? std::to_string(label.index) : "") + "=" + label.text;
    return s;
}

Payoff paying(Cents value) {
    return {"label", value, centsText(value, false)};
}

// Three players on $400 in a temp folder, the race's pools open, 5-3-7-1 the finish.
struct Race : test::DayOnDisk<test::ListRandom> {
    Race() : DayOnDisk(std::vector{0.5}) {
        day.date = Date;
        day.players.entries = {{1, "Ann", "400"}, {2, "Bob", "400"}, {3, "Cy", "400"}};
        day.card.racePoolsOpened.fill(true);
        finish({5, 3, 7, 1});
    }

    void finish(std::array<int, 4> posts) {
        for (std::size_t k = 0; k < posts.size(); ++k)
            day.result.finishOrder[k] = static_cast<uint8_t>(posts[k]);
    }

    void write(std::string_view file, const std::vector<std::string>& lines) {
        std::string content;
        for (const std::string& line : lines)
            content += line + "\r\n";
        test::writeAll(dir / file, content);
    }

    Cents balance(std::size_t index) const { return balanceOf(day.players.entries[index]); }

    Payoffs payoffs;
};

struct SettlementTest : ::testing::Test, Race {};

// Each case settles one race from the files written here, "file=line|line" and ";" between files
// (tickets.dat lines need no date), with these payoffs: $6 to win, $5.00 and $9.90 to place, $2.10,
// $7.70 and $6.60 to show, $15 for the exacta, $40 for the superfecta and $11.40 for the double.
TEST_F(SettlementTest, APoolLinePaysOnlyTicketsOfItsNumberKindAndRaceAndOnlyOnce) {
    struct Case {
        int16_t race;
        const char* finish; // and the winners of races 2 and 3
        const char* files;
        std::vector<std::string> winners;
        std::vector<int32_t> unclaimed = {};
        bool poolsOpened = true;
    } cases[] = {
        // A line pays only the kind of ticket its pool holds: a kept double is never paid from an exacta
        // line sharing its number, nor a winning one again.
        {2,
         "1234 41",
         "tickets.dat=2130,3,2,Daily Double,2|2130,1,5,Exacta,3; exactas.dat=2130,1,2,5; "
         "dailydoubles.dat=2130,4,5,2",
         {"   $37.50 -Exa- Ann"}},
        {2,
         "1234 41",
         "tickets.dat=2130,3,2,Daily Double,2|2130,1,5,Exacta,3; exactas.dat=2130,2,1,5; "
         "dailydoubles.dat=2130,4,1,2",
         {"   $11.40 -DDb- Cy"}},
        // A player no longer listed credits nobody; a WPS ticket's win line is paid as a win.
        {0,
         "5371 00",
         "tickets.dat=2125,99,2,Win,1|2126,2,2,WPS,1; wins.dat=2125,5,2|2126,5,2",
         {"    $6.00 -Win- Bob"},
         {99}},
        // A pool without a payoff pays nothing; a ticket of $0 or less never takes money.
        {0, "5371 00", "tickets.dat=2125,1,2,Trifecta,1; trifectas.dat=2125,5,3,7,2", {}},
        {0,
         "5371 00",
         "tickets.dat=2125,1,2,Superfecta,1; superfectas.dat=2125,5,3,7,1,2",
         {"   $40.00 -Sup- Ann"}},
        {0, "5371 00", "tickets.dat=2125,1,-5,Win,1|2126,1,0,Win,1; wins.dat=2125,5,2|2126,5,2", {}},
        {2, "5371 45", "", {}}, // missing files settle nothing
        // Malformed lines are skipped and good ones still pay.
        {0,
         "5371 00",
         "tickets.dat=garbage|,,,,|2125,1,two,Win,1|2126,1,2,Win|99999999999,1,2,Win,1|2127,1,2.5,Win,1|"
         "2128,1,2,Win,1; wins.dat=x,5,2|2125,5,2|2126,5,2|2127|2128,5|2127,5,2|2128,5,2",
         {"    $6.00 -Win- Ann"}},
        // A ticket of the race before, or of another day under a number given out again, is not this race's.
        {2, "5371 00", "tickets.dat=2125,1,2,Win,2|2126,1,2,Win,3,5/11/2026; wins.dat=2125,5,2|2126,5,2", {}},
        // A race whose pools never opened took no bets.
        {0, "5371 00", "tickets.dat=2125,1,2,Win,1; wins.dat=2125,5,2", {}, {}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.files);
        Race r;
        r.day.card.racePoolsOpened[static_cast<std::size_t>(c.race)] = c.poolsOpened;
        r.payoffs.win = paying(600);
        r.payoffs.place = {paying(500), paying(990)};
        r.payoffs.show = {paying(210), paying(770), paying(660)};
        r.payoffs.exacta = paying(1500);
        r.payoffs.superfecta2 = paying(4000);
        r.payoffs.multiRace = MultiRaceBet::DailyDouble;
        r.payoffs.specialPayoff = paying(1140);
        r.day.currentRace = c.race;
        r.finish({c.finish[0] - '0', c.finish[1] - '0', c.finish[2] - '0', c.finish[3] - '0'});
        r.day.raceWinner[1] = static_cast<uint8_t>(c.finish[5] - '0');
        r.day.raceWinner[2] = static_cast<uint8_t>(c.finish[6] - '0');
        std::istringstream files{c.files};
        for (std::string file; std::getline(files >> std::ws, file, ';');) {
            const std::size_t eq = file.find('=');
            std::string content = file.substr(eq + 1);
            std::replace(content.begin(), content.end(), '|', '\n');
            test::writeAll(r.dir / file.substr(0, eq), content + "\n");
        }
        SettlementReport report = settleRace(r.day, r.payoffs);
        EXPECT_EQ(report.winnerLines, c.winners);
        Cents won = 0;
        for (const Credit& credit : report.credits)
            won += credit.winnings;
        EXPECT_EQ(r.balance(0) + r.balance(1) + r.balance(2), 120000 + won);
        std::vector<int32_t> unclaimed;
        for (const Credit& credit : report.unclaimed)
            unclaimed.push_back(credit.playerIndex < 0 ? credit.playerId : 0);
        EXPECT_EQ(unclaimed, c.unclaimed);
        EXPECT_TRUE(report.errors.empty());
        EXPECT_TRUE(settleRace(r.day, r.payoffs).credits.empty()) << "settling the race again pays nothing";
    }
}

// The payoffs come from the race's pool files, whatever the racing program left in memory, and the
// bettor's balance shows the winnings.
TEST_F(SettlementTest, ThePoolFilesNotWhatTheProgramLeftInMemoryGiveThePayoffs) {
    write("tickets.dat", {ticket(2125, 1, 2, "Win", 1)});
    write("wins.dat", {"1,1,900", "2,5,298", "2125,5,2"}); // 900 / 300 - 1 = 2
    selectBettor(day, 0);
    day.pools.win.fill(10);
    day.pools.winTotal = 80;
    day.pools.winOdds.fill(5.0f);
    payoffs = preparePayoffs(day);
    EXPECT_EQ(settleRace(day, payoffs).winnerLines, std::vector<std::string>{"    $6.00 -Win- Ann"});
    EXPECT_EQ(day.players.balanceLabel, "406.00");
}

// ---- Payoffs ----

TEST_F(SettlementTest, EachPoolPaysItsWinningCombinationAndTheChartShowsThem) {
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
    // What the results announce to a screen reader once the order is official.
    day.entries.name[4] = "Outrigger";
    day.entries.name[1] = "Bluebell";
    day.entries.name[0] = "Sea Lark";
    EXPECT_EQ(officialOrderLine(day), "Official: 5 Outrigger first, 2 Bluebell second, 1 Sea Lark third");
    Payoffs payoffs = computePayoffs(day);
    EXPECT_EQ(chart(payoffs),
              "QHorse0=2 QHorse1=5 EHorse0=5 EHorse1=2 THorse0=5 THorse1=2 THorse2=1 SHorse0=5 "
              "SHorse1=2 SHorse2=1 SHorse3=3 Win1Payoff=8.80 Place1Payoff=5.00 Place2Payoff=3.00 "
              "Show1Payoff=2.10 Show2Payoff=4.40 Show3Payoff=8.80 QuinielaPayoff=15.00 "
              "ExactaPayoff=30.00 TrifectaPayoff1=124.40 TrifectaPayoff2=248.80 "
              "SuperfectaPayoff1=1000.00 SuperfectaPayoff2=2000.00 Special= SpecialPayoff=");

    // What "explain" finds by name and post: the payoff, or why there is none.
    const std::pair<std::string, int> asked[] = {{"win", 0},  {"win", 5},  {"win", 2},      {"place", 2},
                                                 {"show", 1}, {"show", 3}, {"trifecta", 1}, {"pick3", 0}};
    std::string found;
    for (const auto& [bet, post] : asked) {
        std::string error;
        const Payoff* payoff = findPayoff(payoffs, bet, post, &error);
        found += (payoff ? payoff->label : error) + "|";
    }
    EXPECT_EQ(found,
              "lblWin1Payoff|lblWin1Payoff|2 did not win; the winner was 5|lblPlace2Payoff|"
              "lblShow3Payoff|3 was not paid to show; the horses that were: 5, 2, 1|lblTrifectaPayoff1|"
              "no pick3 was decided in this race (the daily double is paid after race 3, the pick 3 "
              "after race 6, the pick 6 after race 12)|");
}

// What the cuts kept is told in the working and booked with the credit, to the cent; the minimum
// keeps what lies above 0.05 and only below it does the house add.
TEST_F(SettlementTest, PlaceWorkingTellsWhatTheCutKeptAndTheCreditBooksIt) {
    const struct {
        int32_t money; // on the winner to place, of a $10,000 place pool
        const char* cut;
        const char* last;
        Cents booked; // the breakage of a $2 ticket
    } cases[] = {
        {1600, // 3750 / 1600 - 1 = 1.34375
         "Cut to tenths: 1.3; the breakage, 0.0438 a $1, keeps $0.09 of every $2 ticket (rounded to cents "
         "here)",
         "$2 payoff: 1.3 x 2 + 2 = 4.60", 9},
        {3500, // 0.0714: cut to 0.0, raised back to 0.05, the cut keeps 0.0214 a $1
         "Cut to tenths: 0.0, then raised to the 0.05 minimum; the house adds nothing; the breakage, 0.0214 "
         "a $1, keeps $0.04 of every $2 ticket (rounded to cents here)",
         "$2 payoff: 0.05 x 2 + 2 = 2.10", 4},
        {3000, // exactly 0.25 -> 0.2: a tenth and a half of one
         "Cut to tenths: 0.2; the breakage, 0.0500 a $1, keeps $0.10 of every $2 ticket (rounded to cents "
         "here)",
         "$2 payoff: 0.2 x 2 + 2 = 2.40", 10},
        {3750, // 0.0: the house adds the 0.05 a $1
         "Below the 0.05 minimum: raised to 0.05, so the house adds 0.0500 a $1 to what this pool pays",
         "$2 payoff: 0.05 x 2 + 2 = 2.10", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.money);
        finish({2, 5, 1, 3});
        day.currentRace = 0;
        day.pools = Pools{};
        day.pools.placeTotal = 10000;
        day.pools.place[1] = c.money;
        const Payoffs p = computePayoffs(day);
        ASSERT_FALSE(p.place[0].working.empty() || p.place[1].working.empty());
        const auto& working = p.place[0].working;
        EXPECT_NE(std::find(working.begin(), working.end(), c.cut), working.end())
            << working[working.size() - 2];
        EXPECT_EQ(working.back(), c.last);
        write("tickets.dat", {ticket(2125, 1, 2, "Place", 1)});
        write("places.dat", {"2125,2,2"});
        const SettlementReport report = settleRace(day, p);
        ASSERT_EQ(report.credits.size(), 1u);
        EXPECT_EQ(report.credits[0].breakage, c.booked);
    }
    // Nobody on the second horse means a dash.
    EXPECT_EQ(computePayoffs(day).place[1].working.back(),
              "Nobody bet 5 to place: with no money on the winning combination there is no one to share the "
              "pool with, so it pays nothing: -");
}

TEST_F(SettlementTest, NoMoneyOnTheWinningCombinationOrNoFinishMeansADash) {
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
    EXPECT_EQ(officialOrderLine(day), "") << "no order to announce without three real posts";
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

TEST(Parlay, CutsEveryRunningProductButTheLastToWholeDollarsAndKeepsATenthItLandsOn) {
    const struct {
        const char* what;
        std::vector<Cents> legs;
        std::optional<Cents> payoff;
        const char* cut = nullptr; // the working's line of the cut to tenths (or the minimum)
    } cases[] = {
        {"5.80, 4.60: 5 / 2 x 4.6 = 11.5, odds 4.75 cut to 4.7", {580, 460}, 1140},
        // 5.8 -> 5 / 2 x 4.6 = 11.5 -> 11 / 2 x 3 = 16.5; odds 7.25 -> 7.2
        {"a Pick 3", {580, 460, 300}, 1640},
        {"short-priced legs end below the minimum odds",
         {210, 210, 210, 210, 210, 210},
         210,
         "Cut to tenths: 0.0, then raised to the 0.05 minimum; the house adds nothing; without any cut the "
         "parlay would pay 2.68"},
        {"a leg at the minimum alone: 2 / 2 x 2.10 = 2.10 is odds 0.05 exactly", {200, 210}, 210},
        {"below the minimum the house adds",
         {200, 200},
         210,
         "Below the 0.05 minimum: raised to 0.05, so the house adds to what the parlay pays"},
        // Parlays that land exactly on a tenth keep it.
        {"the daily double of race 3 of seed 223: 3 / 2 x 3.60 = 5.40, odds 1.7",
         {340, 360},
         540,
         "Cut to tenths: 1.7; without any cut the parlay would pay 6.12"},
        {"seed 42's daily double: 18 / 2 x 21.80 = 196.20", {1800, 2180}, 196'20},
        {"seed 223's pick 3: odds 938.8",
         {2420, 1240, 2540},
         1879'60,
         "Cut to tenths: 938.8; without any cut the parlay would pay 1905.51"},
        {"seed 11's pick 6: odds 47745.2", {400, 2120, 2540, 1700, 340, 2480}, 95492'40},
        {"seed 1001's pick 6: a last product of 146595.60", {840, 1760, 2460, 880, 600, 2580}, 146595'60},
        {"a Twin-Tri of a four-figure second half: 194 x 1859.20", {388'40, 1859'20}, 360684'80},
        {"a Tri-Super of a five-figure superfecta: 1859 / 2 x 96543.40", {1859'20, 96543'40}, 89737090'20},
        {"no legs", {}, std::nullopt},
        {"a leg that paid nothing", {580, 0}, std::nullopt},
        {"a parlay past what money can hold",
         {MaxCents, MaxCents, MaxCents},
         std::nullopt,
         "The parlay is too large to work out: -"},
    };
    for (const auto& c : cases) {
        Payoff explained;
        EXPECT_EQ(parlayPayoff(c.legs, &explained), c.payoff) << c.what;
        if (c.cut) {
            EXPECT_NE(std::find(explained.working.begin(), explained.working.end(), c.cut),
                      explained.working.end())
                << c.what;
        }
        if (c.payoff) {
            EXPECT_TRUE(explained.working.back().ends_with(" " + centsText(*c.payoff))) << c.what;
        }
    }
}

TEST_F(SettlementTest, MultiRaceBetsArePaidAfterTheirLastLegFromThePublicOddsOfTheirLegs) {
    finish({3, 1, 2, 4});
    day.raceWinner = {1, 5, 3, 4, 5, 6, 7, 8, 1, 2, 3, 4};
    day.pools.oddsByRace[2][4] = 1.9f; // $5.80
    day.pools.oddsByRace[3][2] = 1.3f; // $4.60
    day.pools.winOdds[2] = 40.0f;      // the board of the race plays no part
    // The chart from the special label on: the other leg boxes stay hidden. The stored days pin
    // each bet's legs and parlay.
    struct Case {
        int16_t race;
        MultiRaceBet bet;
        const char* chart;
    } cases[] = {
        {2, MultiRaceBet::DailyDouble, "Special=Daily Double XHorse0=5 XHorse1=3 SpecialPayoff=11.40"},
        // Unknown odds count as even money.
        {11, MultiRaceBet::Pick6,
         "Special=Pick 6 XHorse0=7 XHorse1=8 XHorse2=1 XHorse3=2 XHorse4=3 XHorse5=4 SpecialPayoff=2.10"},
    };
    for (const Case& c : cases) {
        day.currentRace = c.race;
        Payoffs p = computePayoffs(day);
        EXPECT_EQ(p.multiRace, c.bet) << c.chart;
        EXPECT_EQ(chart(p).substr(chart(p).find("Special=")), c.chart);
    }
    day.currentRace = 2;

    day.pools.oddsByRace[3][2] = -1.0f; // odds never known
    EXPECT_EQ(computePayoffs(day).specialPayoff.text, "-");
    day.raceWinner[2] = 0; // race 3's winner never recorded
    const Payoffs missing = computePayoffs(day);
    EXPECT_EQ(std::tie(missing.special, missing.specialPayoff.text, missing.specialPayoff.value),
              std::tuple("Daily Double", "-", std::optional<Cents>{}));

    for (int16_t race : {0, 1, 3, 4, 6, 10}) {
        day.currentRace = race;
        Payoffs p = computePayoffs(day);
        EXPECT_EQ(p.multiRace, MultiRaceBet::None) << race;
        EXPECT_TRUE(p.special.empty() && p.xHorse.empty() && !p.specialPayoff.value) << race;
    }
}

// Seeded days of pools, every race twice. With some cells empty and money in the totals no cell
// holds, each payoff's working (multi-race bets included) ends on the figure the chart shows. With
// money on every cell, a pool pays back exactly 75 % of what it took in less what the cuts kept
// from its winning tickets: the exact breakage and the cent-exact payoffs account for every cent.
TEST(SeededPools, EveryWorkingEndsOnItsChartFigureAndEveryPoolKeepsItsTakeoutPlusItsBreakage) {
    for (uint32_t seed : {1u, 17u, 20261206u}) {
        std::mt19937 pick(seed);
        Race r;
        Pools& p = r.day.pools;
        auto fillAll = [&](bool sparse) {
            auto fill = [&](auto& cells, int32_t& total) {
                total = sparse ? static_cast<int32_t>(pick() % 500) : 0;
                for (int32_t& cell : cells)
                    total += cell = !sparse           ? 1 + static_cast<int32_t>(pick() % 5000)
                                    : pick() % 3 == 0 ? 0
                                                      : static_cast<int32_t>(pick() % 400);
            };
            fill(p.win, p.winTotal);
            fill(p.place, p.placeTotal);
            fill(p.show, p.showTotal);
            fill(p.quiniela, p.quinielaTotal);
            fill(p.exacta, p.exactaTotal);
            fill(p.trifecta, p.trifectaTotal);
            fill(p.superfecta, p.superfectaTotal);
        };
        int payoffs = 0;
        for (int16_t race = 0; race < 2 * RacesPerDay; ++race) {
            SCOPED_TRACE("seed " + std::to_string(seed) + ", race " + std::to_string(race));
            std::array<int, FieldSize> order{1, 2, 3, 4, 5, 6, 7, 8};
            std::shuffle(order.begin(), order.end(), pick);
            r.finish({order[0], order[1], order[2], order[3]});
            r.day.currentRace = race % RacesPerDay;
            r.day.raceWinner[static_cast<std::size_t>(race % RacesPerDay)] = static_cast<uint8_t>(order[0]);
            for (float& odds : p.oddsByRace[static_cast<std::size_t>(race % RacesPerDay)])
                odds = static_cast<float>(pick() % 300) / 10.0f;
            for (float& odds : p.winOdds)
                odds = pick() % 2 ? 0.0f : static_cast<float>(pick() % 300) / 10.0f;
            fillAll(true);
            const Payoffs shown = computePayoffs(r.day);
            std::vector<const Payoff*> payoffsShown = {
                &shown.win,       &shown.place[0],  &shown.place[1],    &shown.show[0],
                &shown.show[1],   &shown.show[2],   &shown.quiniela,    &shown.exacta,
                &shown.trifecta1, &shown.trifecta2, &shown.superfecta1, &shown.superfecta2};
            if (shown.multiRace != MultiRaceBet::None)
                payoffsShown.push_back(&shown.specialPayoff);
            const std::vector<LabelText> labels = chartLabels(shown);
            for (const Payoff* payoff : payoffsShown) {
                auto label = std::find_if(labels.begin(), labels.end(),
                                          [&](const LabelText& l) { return l.name == payoff->label; });
                ASSERT_NE(label, labels.end());
                ASSERT_FALSE(payoff->working.empty()) << payoff->label;
                EXPECT_TRUE(payoff->working.back().ends_with(" " + label->text))
                    << payoff->label << ": \"" << payoff->working.back() << "\" does not end with "
                    << label->text;
                ++payoffs;
            }

            fillAll(false);
            p.winOdds.fill(0.0f); // worked out from the pool
            const Payoffs paid = computePayoffs(r.day);
            const std::vector<PoolKept> kept = poolsKept(p, paid);
            auto money = [&](const auto& cells, int index) { return cells[static_cast<std::size_t>(index)]; };
            const struct {
                std::size_t pool;
                std::vector<std::pair<int64_t, const Payoff*>> winners; // money on each, its payoff
            } pools[] = {
                {0, {{money(p.win, order[0] - 1), &paid.win}}},
                {1,
                 {{money(p.place, order[0] - 1), &paid.place[0]},
                  {money(p.place, order[1] - 1), &paid.place[1]}}},
                {4, {{money(p.exacta, Pools::idx2(order[0] - 1, order[1] - 1)), &paid.exacta}}},
                {5,
                 {{money(p.trifecta, Pools::idx3(order[0] - 1, order[1] - 1, order[2] - 1)),
                   &paid.trifecta2}}},
            };
            for (const auto& pool : pools) {
                const PoolKept& figures = kept[pool.pool];
                SCOPED_TRACE(figures.pool + " pool");
                // kept - takeout = the sum of money x breakage / 2, compared over a common denominator.
                CentsFraction::Wide right = 0, denominator = 1;
                bool minimum = false;
                for (const auto& [m, payoff] : pool.winners) {
                    ASSERT_TRUE(payoff->value);
                    minimum = minimum || payoff->breakage.numerator == 0;
                    right =
                        right * payoff->breakage.denominator + denominator * m * payoff->breakage.numerator;
                    denominator *= payoff->breakage.denominator;
                }
                const auto left = CentsFraction::Wide{figures.kept() - figures.takeout()} * 2 * denominator;
                if (minimum)
                    EXPECT_LE(left, right) << "a payoff raised to the minimum keeps less";
                else
                    EXPECT_TRUE(left == right) << figures.kept() << " kept of " << figures.total;
            }
        }
        EXPECT_EQ(payoffs, 2 * (RacesPerDay * 12 + 3));
    }
}

// ---- Pruning tickets.dat and the multi-race pool files ----

TEST_F(SettlementTest, EachMultiRaceBetIsClearedAfterItsLastLegOnlyAndOtherTicketsGo) {
    const std::vector<std::string> running{ticket(2125, 1, 2, "Daily Double", 2),
                                           ticket(2126, 1, 2, "Pick3", 4), ticket(2127, 1, 2, "Pick6", 7)};
    const std::vector<std::string> poolFiles{"dailydoubles.dat", "pick3s.dat", "pick6s.dat"};
    struct Case {
        int16_t race;
        std::size_t finished; // index of the bet whose last leg this race is
    };
    for (const Case& c : {Case{2, 0}, Case{3, 3}, Case{5, 1}, Case{11, 2}}) {
        write("tickets.dat", {running[0], running[1], running[2], ticket(2128, 1, 2, "Show", c.race + 1),
                              ticket(2129, 2, 2, "Exacta", c.race + 1)});
        write("dailydoubles.dat", {"2125,1,1,2"});
        write("pick3s.dat", {"2126,1,1,1,2"});
        write("pick6s.dat", {"2127,1,1,1,1,1,1,2"});
        day.currentRace = c.race;

        settleRace(day, payoffs);

        std::vector<std::string> kept;
        std::string text;
        for (std::size_t k = 0; k < running.size(); ++k) {
            if (k != c.finished) {
                kept.push_back(running[k]);
                text += running[k] + "\r\n";
            }
            EXPECT_EQ(test::readAll(dir / poolFiles[k]).empty(), k == c.finished) << c.race << poolFiles[k];
        }
        EXPECT_EQ(test::readAll(dir / "tickets.dat"), text) << c.race;
        EXPECT_EQ(test::readAll(dir / "tickets.tmp"), text) << c.race;
    }
}

// ---- Twin-Tri and Tri-Super across two races ----

TEST_F(SettlementTest, AWinningFirstHalfIsHeldForTheNextRaceAndPaidThereOnce) {
    const struct {
        const char* what;
        bool exchanged;
        std::optional<Cents> secondTrifecta, secondSuperfecta; // race 5's $2 payoffs
        Cents ann, bob;                                        // what the two credits pay
        const char* triSuperLine = "2136,2,4,6,8,4";           // Bob's second half
    } cases[] = {
        // Parlays: floor(41.2) / 2 * 9 = 184.5, odds 91.25 cut to 91.2; floor(41.2) / 2 * 30 = 615.
        {"both halves in", true, 900, 3000, 18440, 2 * 61500},
        {"a second half paid \"-\"", true, std::nullopt, std::nullopt, 0, 0},
        {"not exchanged: the first half's price", false, 900, 3000, 4120, 2 * 4120},
        {"a superfecta right but for its fourth", true, 900, 3000, 18440, 0, "2136,2,4,6,1,4"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        day.players.entries = {{1, "Ann", "400"}, {2, "Bob", "400"}, {3, "Cy", "400"}};
        // Race 4: Ann's Twin-Tri and Bob's Tri-Super come in, Cy's Twin-Tri does not.
        day.currentRace = 3;
        finish({5, 3, 7, 1});
        // Ann's ticket and its winning line are each in their files twice: still one credit.
        write("tickets.dat", {ticket(2125, 1, 2, "Twin-Tri", 4), ticket(2126, 2, 4, "Tri-Super", 4),
                              ticket(2127, 3, 2, "Twin-Tri", 4), ticket(2128, 3, 2, "Trifecta", 4),
                              ticket(2125, 1, 2, "Twin-Tri", 4)});
        write("twintris.dat", {"2125,5,7,3,2", "2125,5,3,7,2", "2127,3,5,7,2", "2125,5,3,7,2"});
        write("trisupers.dat", {"2126,5,3,7,4"});
        write("trifectas.dat", {"2128,5,3,7,2"});
        day.exchangeCredits = {{2100, 3, 2, "Twin-Tri", 9, "1-2-3", 550, 0}}; // waits for race 9
        test::writeAll(dir / "exchangecredits.dat", exchangeCreditsText(day.exchangeCredits));
        payoffs = Payoffs{};
        payoffs.trifecta2 = paying(4120);
        SettlementReport first = settleRace(day, payoffs);
        EXPECT_EQ(first.exchangeLines, (std::vector<std::string>{"Ann: Twin-Tri exchange for race 5",
                                                                 "Bob: Tri-Super exchange for race 5"}));
        ASSERT_EQ(first.credits.size(), 1u) << "only the plain trifecta is money now";
        EXPECT_EQ(
            test::readLines(dir / "exchangecredits.dat"),
            (std::vector<std::string>{"2100,3,2,Twin-Tri,9,1-2-3,5.5,0", "2125,1,2,Twin-Tri,5,5-3-7,41.2,0",
                                      "2126,2,4,Tri-Super,5,5-3-7,41.2,0"}));
        EXPECT_EQ(test::readAll(dir / "twintris.dat") + test::readAll(dir / "trisupers.dat"), "");

        // Race 5: the second halves, bought with the credits (or not).
        day.currentRace = 4;
        finish({2, 4, 6, 8});
        if (c.exchanged) {
            for (ExchangeCredit& credit : day.exchangeCredits)
                credit.exchangedBy = credit.number + 10;
            test::writeAll(dir / "exchangecredits.dat", exchangeCreditsText(day.exchangeCredits));
            write("tickets.dat",
                  {ticket(2135, 1, 2, "Twin-Tri Exchange", 5), ticket(2136, 2, 4, "Tri-Super Exchange", 5)});
            write("twintriexchanges.dat", {"2135,2,4,6,2"});
            write("trisuperexchanges.dat", {c.triSuperLine});
        }
        payoffs = Payoffs{};
        if (c.secondTrifecta)
            payoffs.trifecta2 = paying(*c.secondTrifecta);
        if (c.secondSuperfecta)
            payoffs.superfecta2 = paying(*c.secondSuperfecta);
        const Cents before[] = {balance(0), balance(1)};
        SettlementReport second = settleRace(day, payoffs);
        EXPECT_EQ(std::pair(balance(0) - before[0], balance(1) - before[1]), std::pair(c.ann, c.bob));
        EXPECT_EQ(test::readLines(dir / "exchangecredits.dat").size(), 1u);
        ASSERT_EQ(day.exchangeCredits.size(), 1u);
        EXPECT_EQ(day.exchangeCredits[0].race, 9);
        EXPECT_TRUE(settleRace(day, payoffs).credits.empty()) << "a credit pays once";
        EXPECT_TRUE(second.creditNotes.empty());
    }
}

// The credits file is not trusted as it stands: a credit is paid once, as the race won it.
TEST_F(SettlementTest, ACreditIsPaidOnceAsItWasWonWhateverItsFileLineNowSays) {
    const char* const made = "2125,1,2,Twin-Tri,5,5-3-7,41.2,";
    const struct {
        const char* what;
        std::vector<std::string> lines; // exchangecredits.dat as race 5 starts
        int32_t exchangedBy;            // 0: not exchanged
        Cents ann;                      // what Ann collects
        const char* note;               // the telling part of the first thing the players are told
        std::size_t notes = 1;          // how many things they are told
    } cases[] = {
        {"its line twice", {std::string(made) + "0", std::string(made) + "0"}, 0, 4120, "", 0},
        {"its price raised",
         {"2125,1,2,Twin-Tri,5,5-3-7,999,0"},
         0,
         4120,
         "exchangecredits.dat prices Twin-Tri credit 2125 for race 5 at $999.00, but race 4's trifecta "
         "paid $41.20: the credit counts at $41.20."},
        // The parlay of the real price: floor(41.2) / 2 * 9 = 184.5, cut to 184.4.
        {"its price raised, exchanged",
         {"2125,1,2,Twin-Tri,5,5-3-7,999,2135"},
         2135,
         18440,
         "but race 4's trifecta paid $41.20"},
        {"its amount raised",
         {"2125,1,32000,Twin-Tri,5,5-3-7,41.2,0"},
         0,
         4120,
         "was changed for Twin-Tri credit 2125 for race 5: the credit is Ann's, $2 on 5-3-7 (race 4's "
         "trifecta paid $41.20), and counts as that."},
        {"its line gone", {}, 0, 4120, "", 0},
        {"a credit nobody won",
         {std::string(made) + "0", "2126,1,2,Twin-Tri,5,5-3-7,41.2,0", "2127,1,2,Twin-Tri,7,1-2-3,41.2,0"},
         0,
         4120,
         "holds Twin-Tri credit 2126 for race 5, which no first half of this day won: it is not paid.",
         2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        day.players.entries = {{1, "Ann", "400"}, {2, "Bob", "400"}};
        day.currentRace = 4;
        finish({2, 4, 6, 8});
        day.exchangeCredits = {{2125, 1, 2, "Twin-Tri", 5, "5-3-7", 4120, c.exchangedBy}};
        write("exchangecredits.dat", c.lines);
        write("tickets.dat", {ticket(2135, 1, 2, "Twin-Tri Exchange", 5)});
        write("twintriexchanges.dat", {"2135,2,4,6,2"});
        payoffs = Payoffs{};
        payoffs.trifecta2 = paying(900);
        const Cents before = balance(0);
        const SettlementReport report = settleRace(day, payoffs);
        EXPECT_EQ(balance(0) - before, c.ann);
        ASSERT_EQ(report.creditNotes.size(), c.notes);
        if (c.notes > 0) {
            EXPECT_NE(report.creditNotes[0].find(c.note), std::string::npos) << report.creditNotes[0];
        }
        EXPECT_TRUE(day.exchangeCredits.empty());
        EXPECT_EQ(test::readAll(dir / "exchangecredits.dat"), "") << "nobody won a credit for race 7";
    }
}

// ---- Money to the cent ----

// A settlement the disk refuses stands: its credits are owed and its files go out with the next
// step, so a first half that came in is still paid a race later.
TEST_F(SettlementTest, ASettlementThatCannotBeWrittenKeepsItsCreditsForTheNextStep) {
    test::FailingDisk full;
    day.folder.setFaults(&full);
    day.currentRace = 3;
    write("tickets.dat", {ticket(2125, 1, 2, "Twin-Tri", 4), ticket(2126, 2, 2, "Win", 4)});
    write("twintris.dat", {"2125,5,3,7,2"});
    write("wins.dat", {"2126,5,2"});
    payoffs.trifecta2 = paying(4120);
    payoffs.win = paying(600);
    EXPECT_FALSE(settleRace(day, payoffs).errors.empty());
    EXPECT_EQ(balance(1), 40600);
    ASSERT_EQ(day.exchangeCredits.size(), 1u) << "Ann's first half is owed";

    day.folder.setFaults(nullptr);
    day.currentRace = 4;
    finish({2, 4, 6, 8});
    payoffs = Payoffs{};
    payoffs.trifecta2 = paying(900);
    const SettlementReport next = settleRace(day, payoffs);
    EXPECT_TRUE(next.errors.empty()) << next.errors.front();
    EXPECT_EQ(balance(0), 44120) << "an unexchanged credit pays its first half's price";
    EXPECT_EQ(test::readLines(dir / "players.dat"),
              (std::vector<std::string>{"1,Ann,441.2", "2,Bob,406", "3,Cy,400"}));
    EXPECT_EQ(test::readAll(dir / "tickets.dat") + test::readAll(dir / "twintris.dat") +
                  test::readAll(dir / "exchangecredits.dat"),
              "");
}

TEST_F(SettlementTest, WinningsAreCreditedToTheCentAtAnyBalanceOrRefusedWhenTheyCannotBeHeld) {
    const struct {
        const char* balance;
        int amount;
        Cents payoff;
        const char* after;
        bool refused = false;
    } cases[] = {
        {"100000.05", 2, 11'60, "100011.65"},     {"123454.75", 4, 7'70, "123470.15"},
        {"9999984", 2, 11'60, "9999995.6"}, // a $16 ticket at $10M that won $11.60
        {"2147483632", 16, 2'10, "2147483648.8"}, {"9999999999990", 2, 11'60, "9999999999990", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.balance);
        day.players.entries = {{1, "Ann", c.balance}};
        savePlayers(day);
        write("tickets.dat", {ticket(2125, 1, c.amount, "Win", 1)});
        write("wins.dat", {"2125,5," + std::to_string(c.amount)});
        MoneyLedger ledger;
        ledger.open(day.players);
        payoffs = Payoffs{};
        payoffs.win = paying(c.payoff);
        SettlementReport report = settleRace(day, payoffs);
        EXPECT_EQ(day.players.entries[0].balance, c.after);
        EXPECT_EQ(test::readLines(dir / "players.dat").back(), "1,Ann,"s + c.after);
        ASSERT_EQ(report.errors.size(), c.refused ? 1u : 0u);
        if (c.refused) {
            EXPECT_EQ(report.errors[0],
                      "Ann's ticket 2125 won more than a balance can hold ($9999999999999.99); it "
                      "was not paid.");
        } else {
            ledger.credit(report);
        }
        EXPECT_TRUE(ledger.check(day.players).empty()) << "the ledger agrees with the balance";
    }
}

// ---- The house's ledger ----

TEST_F(SettlementTest, TheLedgerBooksTheBreakageOfTheLabelThatPaidEachCreditExchangeParlaysToo) {
    day.currentRace = 4;
    finish({5, 3, 7, 1});
    write("tickets.dat", {ticket(2125, 1, 2, "Place", 5), ticket(2126, 2, 6, "Place", 5),
                          ticket(2135, 1, 2, "Twin-Tri Exchange", 5)});
    write("places.dat", {"2125,5,2", "2126,3,6"});
    write("twintriexchanges.dat", {"2135,5,3,7,2"});
    day.exchangeCredits = {{2100, 1, 2, "Twin-Tri", 5, "2-4-6", 4120, 2135}};
    write("exchangecredits.dat", {"2100,1,2,Twin-Tri,5,2-4-6,41.2,2135"});
    // Both placed horses pay 4.60, but their cuts kept different fractions of a cent.
    payoffs.place = {Payoff{"lblPlace1Payoff", 460, "4.60", {}, {35, 4}},
                     Payoff{"lblPlace2Payoff", 460, "4.60", {}, {1, 3}}};
    payoffs.trifecta2 = Payoff{"lblTrifectaPayoff2", 900, "9.00"};
    HouseLedger ledger;
    ledger.start(day.players, RacesPerDay);
    const SettlementReport report = settleRace(day, payoffs);
    std::vector<std::string> paid; // label, breakage booked
    for (const Credit& credit : report.credits)
        paid.push_back(credit.code + " " + credit.label + " " + std::to_string(credit.breakage));
    // 8.75 cents a $2 ticket, 0.33 cents x 3; the parlay 41 / 2 x 9 = 184.50 pays 184.40 of an uncut 185.40.
    EXPECT_EQ(paid, (std::vector<std::string>{"Plc lblPlace1Payoff 9", "Plc lblPlace2Payoff 1", "TwT  100"}));
    ledger.settle(4, report, day.players);
    EXPECT_EQ(std::pair(ledger.accounts()[0].races[4].breakage, ledger.accounts()[1].races[4].breakage),
              std::pair(Cents{109}, Cents{1}));
    EXPECT_EQ(ledger.total(4).returned, 4'60 + 13'80 + 184'40);
}

TEST(PoolsKept, EachPoolShowsWhatItReallyKeptBesideTheNominalTakeout) {
    Pools pools;
    Payoffs payoffs;
    payoffs.tHorse = {5, 3, 7};
    payoffs.sHorse = {5, 3, 7, 1};
    payoffs.qHorse = {3, 5};
    payoffs.eHorse = {5, 3};
    // Win: 300 of 1200 on 5 at $6.00 pays back $900 of $1200.
    pools.winTotal = 1200;
    pools.win[4] = 300;
    payoffs.win.value = 6'00;
    // Place: $2.80 on 1300 and $5.20 on 700 pays back $1820 + $1820 of $5000.
    pools.placeTotal = 5000;
    pools.place[4] = 1300;
    pools.place[2] = 700;
    payoffs.place[0].value = 2'80;
    payoffs.place[1].value = 5'20;
    // Show: the 0.05 minimum on all three horses pays back more than the pool took in.
    pools.showTotal = 3000;
    pools.show[4] = pools.show[2] = pools.show[6] = 1000;
    for (Payoff& show : payoffs.show)
        show.value = 2'10;
    // Exacta: nobody on 5-3, so the whole pool stays.
    pools.exactaTotal = 800;
    pools.exacta[Pools::idx2(2, 4)] = 800;
    HouseLedger ledger;
    EXPECT_TRUE(poolKeptLines(ledger, 0).empty()) << "nothing before a race is recorded";
    ledger.start({}, RacesPerDay);
    ledger.recordPools(0, poolsKept(pools, payoffs));
    ledger.recordPools(1, poolsKept(pools, payoffs));
    EXPECT_EQ(
        poolKeptLines(ledger, 0),
        (std::vector<std::string>{"Pool               Total        Paid        Kept  Kept %     Takeout",
                                  "Win              1200.00      900.00      300.00    25.0      300.00",
                                  "Place            5000.00     3640.00     1360.00    27.2     1250.00",
                                  "Show             3000.00     3150.00     -150.00    -5.0      750.00",
                                  "Quiniela            0.00        0.00        0.00       -        0.00",
                                  "Exacta            800.00        0.00      800.00   100.0      200.00",
                                  "Trifecta            0.00        0.00        0.00       -        0.00",
                                  "Superfecta          0.00        0.00        0.00       -        0.00"}));
    EXPECT_EQ(poolKeptLines(ledger)[3],
              "Show             6000.00     6300.00     -300.00    -5.0     1500.00")
        << "the day adds the races up";
}

// ---- Standings ----

TEST(Standings, ListTheHighestBalanceFirstEqualOnesInListOrderWinningsRightAlignedInNineCharacters) {
    PlayerList players;
    players.entries = {
        {1, "Ann", "0.5"}, {2, "Bob", "50"}, {3, "Cy", "412.5"}, {4, "Di", "-12"}, {5, "Ed", "50"}};
    EXPECT_EQ(standingLines(players),
              (std::vector<std::string>{"   $412.50 - Cy", "    $50.00 - Bob", "    $50.00 - Ed",
                                        "      $.50 - Ann", "   -$12.00 - Di"}));
    EXPECT_EQ(winnerLine(12345650, "Pk6", "Cy"), "$123456.50 -Pk6- Cy") << "a wider amount is never cut";
    HouseLedger ledger; // the ledger's heading lines up with its columns
    players.entries.push_back({6, "Zoë Ångstøm-Berg", "50"});
    ledger.start(players, RacesPerDay);
    const std::vector<std::string> lines = ledgerLines(ledger);
    EXPECT_EQ(displayWidth(lines.front()), displayWidth(lines.back()));
    // A name is cut by characters, never inside one.
    EXPECT_EQ(lines[6], "Zoë Ångstøm-      0.00      0.00      0.00     0.00     0.00");
}

SettlementReport crediting(std::vector<std::pair<int32_t, Cents>> credits, bool unclaimed = false) {
    SettlementReport report;
    for (const auto& [playerId, winnings] : credits) {
        Credit credit;
        credit.playerId = playerId;
        credit.winnings = winnings;
        (unclaimed ? report.unclaimed : report.credits).push_back(credit);
    }
    return report;
}

// A day of many players: each enrolment, payment and settlement finds every account by number at a
// cost that does not grow with the count of accounts (the old lists made 100,000 players a 49 s race).
TEST(HouseLedger, FindsEachOfManyPlayersInFewSteps) {
    constexpr int32_t Many = 20000;
    PlayerList players;
    for (int32_t id = Many; id >= 1; --id)
        players.entries.push_back({id * 3, "P" + std::to_string(id), "400"});
    HouseLedger ledger;
    ledger.start(players, RacesPerDay);
    players.entries.push_back({1, "Late", "400"}); // added during the day
    ledger.enrol(players);
    ledger.charge(1, 0, 1000);
    players.entries[Many - 1].balance = "405";
    ledger.settle(0, crediting({{3, 500}}), players);
    EXPECT_LE(ledger.lookups(), static_cast<std::size_t>(Many) * 8);
    ASSERT_EQ(ledger.accounts().size(), static_cast<std::size_t>(Many) + 1);
    EXPECT_EQ(std::tie(ledger.accounts().back().name, ledger.accounts().back().races[0].wagered),
              std::tuple("Late", 1000));
    EXPECT_EQ(ledger.accounts()[Many - 1].balances, (std::vector<Cents>{40000, 40500}));
    EXPECT_EQ(ledger.accounts()[Many - 1].races[0].returned, 500);
}

TEST(MoneyLedger, BalancesThatFollowChargesAndCreditsReconcileAndOthersAreReported) {
    PlayerList players;
    players.entries = {{1, "Ann", "400"}, {2, "Bob", "400"}, {7, "Cy", "400"}};
    MoneyLedger ledger;
    ledger.open(players);
    ledger.charge(1, 1200);
    ledger.credit(crediting({{1, 2400}, {2, 210}}));
    ledger.credit(crediting({{99, 50000}}, true)); // nobody's money
    setBalance(players.entries[0], 41200);
    setBalance(players.entries[1], 40210);
    EXPECT_TRUE(ledger.check(players).empty());
    EXPECT_EQ(ledger.expected(1), 41200);

    setBalance(players.entries[0], 41800); // a credit paid twice
    setBalance(players.entries[1], 40211); // a cent off
    players.entries.push_back({8, "Di", "400"});
    std::ostringstream found; // id, name, expected / actual, "?" for a player never opened
    for (const auto& m : ledger.check(players))
        found << m.playerId << m.name << " " << m.expected << "/" << m.actual << (m.known ? "; " : "?; ");
    EXPECT_EQ(found.str(), "1Ann 41200/41800; 2Bob 40210/40211; 8Di 0/40000?; ");
    EXPECT_EQ(ledger.expected(8), 0);

    ledger.open(8, 40000);
    EXPECT_EQ(ledger.check(players).size(), 2u);
}

} // namespace
