// Race days played headless with random players, amounts and tickets of every bet and mode,
// checking after every payment and every race what must always hold: every dollar accounted for,
// every credit settled with its race, records that add up, and files that stay whole and small.
// Two days by default; STRIDEWELL_SOAK_DAYS asks for more (ctest -L long).

#include "ReliabilitySupport.h"

#include "core/Constants.h"
#include "database/DatabaseFiles.h"
#include "database/ResetDatabase.h"
#include "players/Players.h"
#include "settlement/MoneyLedger.h"
#include "support/GameDay.h"
#include "wagering/ExchangeCredits.h"
#include "wagering/TicketPricing.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <random>

using namespace sw;
namespace fs = std::filesystem;

namespace {

class Soak : public ::testing::Test {
protected:
    test::TempDir dir;
    test::ScriptedPrompter prompter;
    std::mt19937 rng{9};
    int racesRun = 0;
    int creditsExchanged = 0;
    int creditsPaidOut = 0;

    // The bundled names as a fresh stable, so the stable's starts are exactly the races run here.
    void SetUp() override {
        test::copyBundledData(dir.path());
        SeededRandom random(777);
        RaceDay day(dir.path(), random, prompter);
        loadHorses(day);
        loadJockeys(day);
        ASSERT_FALSE(writeFreshStable(day));
    }

    int below(int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); }
    BetMode anyMode() { return std::array{BetMode::Straight, BetMode::Box, BetMode::Wheel}[below(3)]; }

    // A ticket the bet entry could have built: distinct horses in random click order, or "All" now
    // and then. Narrow wheels keep a Pick 6 or a Superfecta wheel from costing a fortune.
    std::string ticket(BetType type, BetMode mode, int amount) {
        auto horses = [&](int least, bool all) {
            std::string posts = "12345678";
            std::shuffle(posts.begin(), posts.end(), rng);
            return all && below(6) == 0 ? "All"
                                        : posts.substr(0, static_cast<std::size_t>(least + below(9 - least)));
        };
        const std::string text = "$" + std::to_string(amount) + " " + std::string(betWord(type)) + " ";
        const int k = horsesPerCombination(type);
        if (isSingleHorseBet(type))
            return text + "on " + horses(1, true);
        if (mode != BetMode::Wheel)
            return text + (mode == BetMode::Box
                               ? "Box " + horses(k, true)
                               : "Straight " + horses(k, false).substr(0, static_cast<std::size_t>(k)));
        std::string wheel = text + "Wheel";
        for (int s = 0; s < setsPerWheel(type); ++s)
            wheel += (s == 0 ? " " : " with ") +
                     horses(1, false).substr(0, static_cast<std::size_t>(1 + below(3)));
        return wheel;
    }
    // A ticket of any bet the race about to be run offers.
    std::string offeredTicket(const RaceDay& day, int maxAmount) {
        const bool multiRace[] = {day.dailyDoubleOffered, day.pick3Offered, day.pick6Offered};
        auto type = static_cast<BetType>(below(11)); // Win .. Pick 6
        while (isMultiRace(type) &&
               !multiRace[static_cast<int>(type) - static_cast<int>(BetType::DailyDouble)])
            type = static_cast<BetType>(below(8));
        return ticket(type, isMultiRace(type) ? BetMode::Wheel : anyMode(), 1 + below(maxAmount));
    }

    // Every horse's and jockey's record adds up, and the stable holds exactly the starts run.
    void checkRecords(const RaceDay& day) {
        auto starts = [&](const auto& table, int count) {
            long total = 0;
            for (int i = 1; i <= count; ++i) {
                const auto& r = table[static_cast<std::size_t>(i)];
                EXPECT_GE(r.starts, r.firsts + r.seconds + r.thirds + r.fourths) << r.name;
                total += r.starts;
            }
            return total;
        };
        EXPECT_EQ(starts(day.db.horses, HorseCount), FieldSize * racesRun);
        EXPECT_EQ(starts(day.db.jockeys, JockeyCount), FieldSize * racesRun);
    }

    // What a start-up leaves: whole files, nothing growing (the trim of the past lines and the top
    // ten are their own tests).
    void checkStartOfDay(const Game& game) {
        EXPECT_EQ(reliability::folderProblems(dir.path()), std::vector<std::string>{});
        std::uintmax_t bytes = 0;
        for (const auto& entry : fs::directory_iterator(dir.path()))
            bytes += entry.file_size();
        EXPECT_LT(bytes, 2u << 20) << "the data folder keeps growing";
        checkRecords(game.day());
    }

    void checkMoney(const RaceDay& day, const MoneyLedger& ledger) {
        for (const LedgerMismatch& m : ledger.check(day.players))
            ADD_FAILURE() << m.name << " holds " << m.actual << " instead of " << m.expected;
    }

    // Now and then a player joins or leaves, so the list changes between days.
    void changePlayers(RaceDay& day) {
        static const char* names[] = {"Ann", "Bo Lee", "Cy", "D\u00e9dee", "Eve", "Flo \U0001F40E"};
        while (day.players.entries.size() < 2 || (day.players.entries.size() < 5 && below(3) == 0))
            ASSERT_TRUE(addPlayer(day, names[below(6)]));
        if (day.players.entries.size() > 3 && below(4) == 0) {
            selectBettor(day, below(static_cast<int>(day.players.entries.size())));
            deletePlayer(day);
        }
    }

    // Pays what is listed and checks the money.
    void payListed(Game& game, MoneyLedger& ledger) {
        RaceDay& day = game.day();
        std::vector<bool> wasPaid;
        for (const ListedTicket& t : day.tickets)
            wasPaid.push_back(t.paid);
        game.pay();
        for (std::size_t i = 0; i < day.tickets.size(); ++i)
            if (day.tickets[i].paid && !wasPaid[i])
                ledger.charge(day.tickets[i].playerId,
                              priceTicket(day.tickets[i].text).cost * CentsPerDollar);
        ASSERT_NO_FATAL_FAILURE(checkMoney(day, ledger));
    }

    void playRace(Game& game, MoneyLedger& ledger) {
        RaceDay& day = game.day();
        // Some credits are exchanged, by a second half of one combination, and paid before the other
        // bets can leave their owners short; the others are paid out.
        for (const ExchangeCredit& credit : creditsOfRace(day)) {
            const int owner = findPlayer(day.players, credit.playerId);
            if (owner < 0 || below(3) == 0)
                continue;
            selectBettor(day, owner);
            const BetType half = secondHalfOf(*betTypeFromWord(credit.betType));
            std::string text = ticket(half, BetMode::Straight, credit.amount);
            const std::string word = " " + std::string(betWord(half)) + " ";
            text.replace(text.find(word), word.size(),
                         " " + credit.betType + " Exchange " + std::to_string(credit.number) + " ");
            game.ticketList().listTicket(day, text);
        }
        ASSERT_NO_FATAL_FAILURE(payListed(game, ledger));
        for (const ExchangeCredit& credit : creditsOfRace(day))
            ++(credit.exchangedBy != 0 ? creditsExchanged : creditsPaidOut);

        for (int p = 0; p < static_cast<int>(day.players.entries.size()); ++p) {
            selectBettor(day, p);
            if (day.players.selected != p)
                continue; // out of cash
            for (int t = below(4); t > 0; --t)
                game.ticketList().listTicket(day, offeredTicket(day, 1 + below(20)));
            // First halves as $1 boxes, wide enough to come in now and then.
            if (day.exchangeBetsOffered && below(2) == 0)
                game.ticketList().listTicket(
                    day, ticket(below(2) ? BetType::TwinTri : BetType::TriSuper, BetMode::Box, 1));
        }
        ASSERT_NO_FATAL_FAILURE(payListed(game, ledger));

        ASSERT_TRUE(test::playRace(game, false));
        ASSERT_TRUE(game.resultsDone());
        ++racesRun;
        ledger.credit(game.settlement());
        EXPECT_EQ(game.settlement().errors, std::vector<std::string>{});
        EXPECT_EQ(test::readAll(dir / ExchangeCreditsFile), exchangeCreditsText(day.exchangeCredits));
        EXPECT_TRUE(creditsOfRace(day).empty()) << "every credit is settled with its race";
        ASSERT_NO_FATAL_FAILURE(checkMoney(day, ledger));
        ASSERT_NO_FATAL_FAILURE(checkRecords(day));
        game.confirmResults();
    }
};

TEST_F(Soak, RaceDaysKeepEveryInvariant) {
    const char* daysText = std::getenv("STRIDEWELL_SOAK_DAYS");
    const int days = daysText ? std::max(1, std::atoi(daysText)) : 2;
    std::unique_ptr<SeededRandom> random;
    std::unique_ptr<Game> game;
    for (int d = 0; d < days && !HasFatalFailure(); ++d) {
        // Every third day the program is started anew on the same folder; otherwise "Play Again".
        if (!game || d % 3 == 0) {
            random = std::make_unique<SeededRandom>(1000 + d);
            game = std::make_unique<Game>(dir.path(), *random, prompter);
        }
        ASSERT_TRUE(game->startDay());
        ASSERT_NO_FATAL_FAILURE(checkStartOfDay(*game));
        game->toteBoard();
        ASSERT_NO_FATAL_FAILURE(changePlayers(game->day()));
        MoneyLedger ledger;
        ledger.open(game->day().players);
        for (int race = 0; race < RacesPerDay && !HasFatalFailure(); ++race) {
            ASSERT_EQ(game->stage(), Stage::Betting);
            ASSERT_NO_FATAL_FAILURE(playRace(*game, ledger));
            game->toteBoard();
        }
        ASSERT_EQ(game->stage(), Stage::TopTen);
    }
    // The money reconciled with both ways a credit ends.
    EXPECT_GT(creditsExchanged, 0);
    EXPECT_GT(creditsPaidOut, 0);
}

} // namespace
