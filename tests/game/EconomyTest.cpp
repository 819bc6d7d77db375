// The day's economy over whole seeded days with every bet type: where the money goes, what a
// Twin-Tri or Tri-Super credit pays, what a bettor of the whole win pool gets back, whether every
// explanation ends on the figure it explains, and what the finished day leaves on disk.

#include "GameTestDay.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>

using namespace sw;

namespace {

using Order = std::array<uint8_t, FieldSize>;
constexpr int32_t Ann = 1, Bob = 2, Cy = 3, Pro = 4; // Pro bets the whole win pool of every race

std::string posts(const Order& order, std::initializer_list<int> places) {
    std::string text;
    for (int place : places)
        text += std::to_string(order[static_cast<std::size_t>(place)]);
    return text;
}

// A day on the bundled stable where everyone starts with $5,000,000, to afford the whole win pool.
struct SeededDay : test::GameTestDay {
    explicit SeededDay(uint64_t seed)
        : GameTestDay(seed, "1,Ann,0\r\n2,Bob,0\r\n3,Cy,0\r\n4,Pro,0\r\n", "5000000,2,,,106.51\r\n") {
        EXPECT_TRUE(started);
    }
    // The credit a first half of this player won for the race about to be run.
    int32_t creditOf(int32_t playerId, std::string_view bet) const {
        for (const ExchangeCredit& c : game.day().exchangeCredits)
            if (c.playerId == playerId && c.betType == bet && c.race == game.day().currentRace + 1)
                return c.number;
        ADD_FAILURE() << "no " << bet << " credit for player " << playerId;
        return 0;
    }
};

// Every finish of a day nobody bets on; players' tickets never move a race.
std::vector<Order> finishesOf(uint64_t seed) {
    SeededDay day(seed);
    std::vector<Order> finishes;
    for (int race = 0; race < RacesPerDay; ++race) {
        day.runRace();
        finishes.push_back(day.game.day().result.finishOrder);
        day.nextRace();
    }
    return finishes;
}

// The single-race tickets of one race, every bet type and way to enter it, some on the known finish.
std::vector<std::pair<int32_t, std::string>> singleRaceTickets(const Order& o) {
    return {{Ann, "$2 Win on " + posts(o, {0})},
            {Bob, "$3 Place on " + posts(o, {1})},
            {Ann, "$2 Show on " + posts(o, {2})},
            {Bob, "$2 WPS on " + posts(o, {3})},
            {Ann, "$2 WPS on All"},
            {Bob, "$2 Quiniela Straight " + posts(o, {1, 0})},
            {Ann, "$1 Quiniela Box 1357"},
            {Bob, "$1 Quiniela Wheel " + posts(o, {0}) + " with All"},
            {Ann, "$3 Exacta Straight " + posts(o, {0, 1})},
            {Bob, "$2 Exacta Box 2468"},
            {Ann, "$1 Exacta Wheel " + posts(o, {1}) + " with All"},
            {Bob, "$1 Trifecta Straight " + posts(o, {0, 1, 2})},
            {Ann, "$1 Trifecta Box 12345"},
            {Bob, "$2 Trifecta Wheel " + posts(o, {0}) + " with " + posts(o, {1, 2}) + " with All"},
            {Ann, "$2 Superfecta Straight " + posts(o, {0, 1, 2, 3})},
            {Bob, "$1 Superfecta Box 3456"},
            {Ann, "$1 Superfecta Wheel " + posts(o, {0}) + " with All with All with " + posts(o, {3, 4})}};
}

// The $2 payoffs of the chart, each of which may carry an explanation.
std::vector<const Payoff*> chartPayoffs(const Payoffs& p) {
    return {&p.win,         &p.place[0],    &p.place[1],     &p.show[0],   &p.show[1],
            &p.show[2],     &p.quiniela,    &p.exacta,       &p.trifecta1, &p.trifecta2,
            &p.superfecta1, &p.superfecta2, &p.specialPayoff};
}

struct CreditPlan {
    std::string bet;      // "Twin-Tri" or "Tri-Super"
    int race;             // index of the race of the first halves
    int32_t hits, misses; // who exchanges onto the next race's finish, who onto another order
};

struct EconomyCase {
    uint64_t seed;
    std::vector<CreditPlan> credits; // the third player keeps the credit unexchanged
};

TEST(Economy, EverySeededDayKeepsItsBooks) {
    const std::vector<EconomyCase> cases = {
        {7, {{"Twin-Tri", 0, Ann, Bob}, {"Tri-Super", 4, Bob, Cy}}},
        {223, {{"Tri-Super", 1, Cy, Ann}, {"Twin-Tri", 9, Bob, Cy}}},
        {20261206, {{"Twin-Tri", 5, Cy, Ann}, {"Tri-Super", 10, Ann, Bob}}},
    };
    for (const EconomyCase& c : cases) {
        SCOPED_TRACE("seed " + std::to_string(c.seed));
        const std::vector<Order> finish = finishesOf(c.seed);
        ASSERT_EQ(finish.size(), static_cast<std::size_t>(RacesPerDay));
        SeededDay play(c.seed);
        Game& game = play.game;
        RaceDay& day = game.day();
        // A player who joins after the start and never bets enters the house's ledger at the
        // starting amount.
        ASSERT_TRUE(addPlayer(day, "Dee"));
        Cents started = 0;
        for (int32_t id : {Ann, Bob, Cy, Pro})
            started += play.balance(id);
        Cents wagered = 0, returned = 0;
        std::set<std::string> codesPaid;
        // Each credit made: what it must pay in its race, and what it was paid.
        enum Role { Hit, Miss, Kept };
        struct Owed {
            int race = 0; // index of the race it is for
            Role role = Kept;
            int32_t amount = 0;
            Cents price = 0;
            Cents due = 0, parlay = 0, paid = 0; // parlay: what the ticket pays if the second half comes in
            int payments = 0;
        };
        std::map<std::pair<int32_t, std::string>, Owed> owed; // by first half's number and code

        for (int race = 0; race < RacesPerDay; ++race) {
            SCOPED_TRACE("race " + std::to_string(race + 1));
            const auto r = static_cast<std::size_t>(race);
            const Order& o = finish[r];
            for (const auto& [player, text] : singleRaceTickets(o))
                play.list(player, text);
            auto winners = [&](int from, int to) {
                std::string text;
                for (int leg = from; leg <= to; ++leg)
                    text += (leg == from ? "" : " with ") + posts(finish[static_cast<std::size_t>(leg)], {0});
                return text;
            };
            if (race == 1) {
                play.list(Ann, "$2 DailyDouble Wheel All with All");
                play.list(Bob, "$3 DailyDouble Wheel " + winners(1, 2));
            }
            if (race == 3) {
                play.list(Bob, "$1 Pick3 Wheel 12 with All with 3");
                play.list(Cy, "$2 Pick3 Wheel " + winners(3, 5));
            }
            if (race == 6) {
                play.list(Ann, "$1 Pick6 Wheel All with 1 with 2 with 3 with 4 with 5");
                play.list(Cy, "$2 Pick6 Wheel " + winners(6, 11));
            }
            for (const CreditPlan& plan : c.credits) {
                const bool tri = plan.bet == "Twin-Tri";
                const int32_t keeps = Ann + Bob + Cy - plan.hits - plan.misses;
                if (race == plan.race) {
                    // First halves (trifectas) that come in, as a box, a straight and a wheel.
                    play.list(plan.hits, "$1 " + plan.bet + " Box All");
                    play.list(plan.misses, "$2 " + plan.bet + " Straight " + posts(o, {0, 1, 2}));
                    play.list(keeps, "$1 " + plan.bet + " Wheel " + posts(o, {0}) + " with " + posts(o, {1}) +
                                         " with All");
                    // Two more credits kept at other amounts: each is its own, paid at its own amount.
                    play.list(keeps, "$3 " + plan.bet + " Straight " + posts(o, {0, 1, 2}));
                    play.list(keeps, "$5 " + plan.bet + " Box " + posts(o, {0, 1, 2, 5}));
                }
                if (race == plan.race + 1) {
                    const std::string exchange = " " + plan.bet + " Exchange ";
                    play.list(plan.hits,
                              "$1" + exchange + std::to_string(play.creditOf(plan.hits, plan.bet)) +
                                  " Straight " + (tri ? posts(o, {0, 1, 2}) : posts(o, {0, 1, 2, 3})));
                    play.list(plan.misses,
                              "$2" + exchange + std::to_string(play.creditOf(plan.misses, plan.bet)) +
                                  " Straight " + (tri ? posts(o, {1, 0, 2}) : posts(o, {0, 1, 3, 2})));
                }
            }
            wagered += play.pay();

            // Pro bets every horse in proportion to the money on it: the win pool doubles evenly.
            const Pools before = day.pools;
            int32_t inPool = 0;
            for (int e = 0; e < FieldSize; ++e) {
                inPool += before.win[static_cast<std::size_t>(e)];
                for (int32_t left = before.win[static_cast<std::size_t>(e)]; left > 0; left -= MaxBetAmount)
                    play.list(Pro, "$" + std::to_string(std::min(left, MaxBetAmount)) + " Win on " +
                                       std::to_string(e + 1));
            }
            ASSERT_EQ(inPool, before.winTotal);
            wagered += play.pay();

            play.runRace();
            ASSERT_EQ(day.result.finishOrder, o) << "tickets moved the race";
            const Payoffs& payoffs = game.payoffs();
            const SettlementReport& report = game.settlement();
            EXPECT_EQ(report.errors, std::vector<std::string>{});

            // The whole pool at 75 % less the cut to tenths: W dollars on the winner of T in the
            // pool, the pool doubled, pay W x (1 + odds) with odds floor(10 (0.75 T / W - 1)) / 10
            // (0.05 when that is below a tenth).
            const int32_t w = before.win[static_cast<std::size_t>(o[0] - 1)];
            const int64_t tenths = (15 * int64_t{before.winTotal} - 20 * int64_t{w}) / (2 * int64_t{w});
            const Cents expected = tenths >= 1 ? w * (100 + 10 * tenths) : w * Cents{105};
            Cents proGot = 0;
            for (const Credit& credit : report.credits)
                if (credit.playerId == Pro)
                    proGot += credit.winnings;
            EXPECT_EQ(proGot, expected) << w << " of " << before.winTotal << " on the winner";
            if (tenths >= 1) {
                const Cents breakage = 75 * Cents{before.winTotal} - proGot;
                EXPECT_GE(breakage, 0);
                EXPECT_LT(breakage, 10 * Cents{w}) << "less than a dime a winning dollar";
            }

            // Every explanation ends on the figure it explains.
            for (const Payoff* p : chartPayoffs(payoffs))
                EXPECT_TRUE(p->working.empty() || p->working.back().ends_with(p->text))
                    << p->label << " pays " << p->text << " but its working ends: " << p->working.back();

            // Credits due in this race: a hit pays the parlay of both halves, a kept credit its
            // first half's price, a miss nothing.
            for (auto& [key, held] : owed) {
                if (held.race != race)
                    continue;
                const Payoff& second = key.second == "TwT" ? payoffs.trifecta2 : payoffs.superfecta2;
                ASSERT_TRUE(second.value);
                Payoff explained;
                held.parlay =
                    parlayPayoff({held.price, *second.value}, &explained).value_or(0) * held.amount / 2;
                held.due = held.role == Hit    ? held.parlay
                           : held.role == Kept ? held.price * held.amount / 2
                                               : 0;
                ASSERT_FALSE(explained.working.empty());
                EXPECT_TRUE(explained.working.back().ends_with(centsText(held.parlay * 2 / held.amount)))
                    << explained.working.back();
            }
            for (const Credit& credit : report.credits) {
                returned += credit.winnings;
                codesPaid.insert(credit.code);
                if (credit.code != "TwT" && credit.code != "TrS")
                    continue;
                auto held = owed.find({credit.ticketNumber, credit.code});
                ASSERT_NE(held, owed.end()) << "credit " << credit.ticketNumber << " was never won";
                held->second.paid += credit.winnings;
                ++held->second.payments;
            }
            // The credits this race's first halves won, with what the plan does with each.
            for (const ExchangeCredit& made : day.exchangeCredits) {
                if (made.race != race + 2)
                    continue;
                const bool tri = made.betType == "Twin-Tri";
                EXPECT_EQ(made.price, payoffs.trifecta2.value);
                for (const CreditPlan& plan : c.credits)
                    if (plan.race == race && plan.bet == made.betType)
                        owed[{made.number, tri ? "TwT" : "TrS"}] = {race + 1,
                                                                    made.playerId == plan.hits     ? Hit
                                                                    : made.playerId == plan.misses ? Miss
                                                                                                   : Kept,
                                                                    made.amount, made.price};
            }

            play.nextRace();
        }
        ASSERT_EQ(game.stage(), Stage::TopTen);

        // A credit is paid at most once, as its plan says, and never more than its parlay.
        EXPECT_EQ(owed.size(), 5 * c.credits.size());
        for (const auto& [key, held] : owed) {
            SCOPED_TRACE(key.second + " credit " + std::to_string(key.first));
            EXPECT_LE(held.payments, 1);
            EXPECT_EQ(held.paid, held.due);
            EXPECT_LE(held.paid, held.parlay);
            EXPECT_GT(held.parlay, held.price * held.amount / 2) << "the second half pays more than nothing";
        }
        EXPECT_EQ(codesPaid, (std::set<std::string>{"Win", "Plc", "Shw", "Qui", "Exa", "Tri", "Sup", "DDb",
                                                    "Pk3", "Pk6", "TwT", "TrS"}))
            << "every bet type paid a winner";

        // Money is conserved to the cent, and the ledger saw the same money move.
        Cents finished = 0;
        for (int32_t id : {Ann, Bob, Cy, Pro})
            finished += play.balance(id);
        EXPECT_EQ(wagered - returned, started - finished);
        EXPECT_EQ(std::pair(game.ledger().total().wagered, game.ledger().total().returned),
                  std::pair(wagered, returned));
        ASSERT_EQ(game.ledger().accounts().size(), 5u);
        for (const LedgerAccount& account : game.ledger().accounts()) {
            SCOPED_TRACE(account.name);
            EXPECT_EQ(account.balances.front(), 5'000'000'00);
            EXPECT_EQ(std::pair(account.day().net(), account.balances.back()),
                      std::pair(play.balance(account.playerId) - account.balances.front(),
                                play.balance(account.playerId)));
            ASSERT_EQ(account.balances.size(), static_cast<std::size_t>(RacesPerDay) + 1);
            for (std::size_t race = 0; race < RacesPerDay; ++race)
                EXPECT_EQ(account.balances[race + 1] - account.balances[race], account.races[race].net())
                    << "race " << race + 1;
        }

        // The stable and the standings were written whole, and the multi-race bets are settled.
        EXPECT_EQ(std::tuple(test::readLines(play.dir / "horses.dat").size(),
                             test::readLines(play.dir / "jockeys.dat").size(),
                             test::readLines(play.dir / "top10players.dat").size(), game.topTen().size()),
                  std::tuple(200u, 32u, 5u, 5u));
        EXPECT_TRUE(game.newDayAllowed());
        EXPECT_EQ(test::readAll(play.dir / "pick6s.dat") + test::readAll(play.dir / "tickets.dat"), "");
    }
}

} // namespace
