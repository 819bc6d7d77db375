#include "database/DatabaseFiles.h"
#include "game/Game.h"
#include "players/Players.h"
#include "settlement/MoneyLedger.h"
#include "support/TestSupport.h"
#include "wagering/TicketPricing.h"

#include <gtest/gtest.h>

#include <set>

using namespace sw;

namespace {

struct GameFixture : ::testing::Test {
    test::TempDir dir;
    SeededRandom random{20261206};
    test::ScriptedPrompter prompter;
    Game game{dir.path(), random, prompter};

    void SetUp() override {
        test::copyBundledData(dir.path());
        test::writeAll(dir / "players.dat", "1,Ann,10\r\n2,Bob,10\r\n");
        ASSERT_TRUE(game.startDay());
        game.toteBoard();
        ASSERT_EQ(game.stage(), Stage::Betting);
    }

    void list(const std::string& text, int32_t playerId) {
        selectBettor(game.day(), findPlayer(game.day().players, playerId));
        std::string error;
        ASSERT_TRUE(game.ticketList().listTicket(game.day(), text, &error)) << text << ": " << error;
    }

    void runRace() {
        ASSERT_TRUE(game.beginRace());
        game.finishRace();
        game.runResultsToEnd();
        ASSERT_TRUE(game.resultsDone());
    }
};

TEST_F(GameFixture, StartOfDayGivesEveryPlayerTheStartAmountAndOpensRaceOne) {
    const RaceDay& day = game.day();
    EXPECT_EQ(day.currentRace, 0);
    ASSERT_EQ(day.players.entries.size(), 2u);
    EXPECT_EQ(day.players.entries[0].balance, "400");
    EXPECT_EQ(day.players.entries[1].balance, "400");
    EXPECT_EQ(test::readLines(dir / "races.dat").size(), 12u);
    EXPECT_EQ(test::readLines(dir / "superfectas.dat").back().substr(0, 5), "2124,");
    EXPECT_TRUE(test::readAll(dir / "tickets.dat").empty());
}

TEST_F(GameFixture, WholeDayWritesTheStableAndReconcilesEveryDollar) {
    // The bundled stable has raced before: count this day's lines and starts on top of its own.
    const auto countLines = [&] {
        return static_cast<int>(
            parsePastPerformances(game.day().folder.read("pastperformances.dat").bytes).size());
    };
    const auto countStarts = [&] {
        int n = 0;
        for (int h = 1; h <= HorseCount; ++h)
            n += game.day().db.horses[static_cast<std::size_t>(h)].starts;
        return n;
    };
    const int linesBefore = countLines();
    const int startsBefore = countStarts();
    // A player who joins after the day started enters the house's ledger at their starting amount.
    ASSERT_TRUE(addPlayer(game.day(), "Cy"));
    MoneyLedger ledger;
    ledger.open(game.day().players);
    const std::vector<std::string> bets = {"$2 Win on 1",
                                           "$2 WPS on 2",
                                           "$3 Exacta Box 123",
                                           "$1 Trifecta Box 1234",
                                           "$2 Quiniela Wheel 1 with All",
                                           "$1 Superfecta Box 2345"};
    for (int race = 0; race < RacesPerDay; ++race) {
        ASSERT_EQ(game.day().currentRace, race);
        list(bets[static_cast<std::size_t>(race) % bets.size()], 1);
        list(bets[static_cast<std::size_t>(race + 3) % bets.size()], 2);
        if (race == 0) {
            list(bets[1], 3);
            list(bets[2], 3);
        }
        if (race == 1)
            list("$2 DailyDouble Wheel All with All", 1);
        if (race == 3)
            list("$1 Pick3 Wheel 12 with All with 3", 2);
        if (race == 6)
            list("$2 Pick6 Wheel All with 1 with 2 with 3 with 4 with 5", 1);
        for (const ListedTicket& t : game.day().tickets)
            if (!t.paid)
                ledger.charge(t.playerId, static_cast<double>(priceTicket(t.text).cost));
        PaymentReport report = game.pay();
        EXPECT_TRUE(report.error.empty()) << report.error;
        EXPECT_TRUE(report.shortOfMoney.empty());
        runRace();
        ledger.credit(game.settlement());
        auto mismatches = ledger.check(game.day().players);
        EXPECT_TRUE(mismatches.empty())
            << "race " << race + 1 << ": player " << mismatches.front().playerId << " has "
            << mismatches.front().actual << ", expected " << mismatches.front().expected;
        game.confirmResults();
        if (race < RacesPerDay - 1) {
            ASSERT_EQ(game.stage(), Stage::Program);
            game.toteBoard();
        }
    }
    ASSERT_EQ(game.stage(), Stage::TopTen);
    EXPECT_TRUE(game.newDayAllowed());

    // The house's ledger accounts for exactly the money that moved, race by race and for the day.
    const HouseLedger& house = game.ledger();
    ASSERT_EQ(house.racesSettled(), RacesPerDay);
    ASSERT_EQ(house.accounts().size(), 3u);
    double wageredByAll = 0;
    for (const LedgerAccount& account : house.accounts()) {
        const int index = findPlayer(game.day().players, account.playerId);
        ASSERT_GE(index, 0);
        ASSERT_EQ(account.balances.size(), static_cast<std::size_t>(RacesPerDay) + 1);
        EXPECT_DOUBLE_EQ(account.balances.front(), 400.0);
        EXPECT_NEAR(account.balances.back(),
                    balanceOf(game.day().players.entries[static_cast<std::size_t>(index)]), 1e-3);
        for (int race = 0; race < RacesPerDay; ++race) {
            const LedgerFigures& f = account.races[static_cast<std::size_t>(race)];
            EXPECT_NEAR(account.balances[static_cast<std::size_t>(race) + 1] -
                            account.balances[static_cast<std::size_t>(race)],
                        f.net(), 0.01)
                << account.name << ", race " << race + 1;
            EXPECT_GE(f.breakage, 0.0);
            EXPECT_LE(f.breakage, f.returned * 0.1 + 0.5) << "breakage is cents on each winning ticket";
        }
        EXPECT_NEAR(account.day().net(), account.balances.back() - account.balances.front(), 0.01);
        EXPECT_DOUBLE_EQ(account.day().takeout, account.day().wagered * 0.25);
        wageredByAll += account.day().wagered;
    }
    EXPECT_DOUBLE_EQ(house.total().wagered, wageredByAll);
    EXPECT_GT(house.total().returned, 0.0) << "the day paid some winning tickets";

    // Every starter got a past-performance line and a start.
    EXPECT_EQ(countLines() - linesBefore, 96);
    EXPECT_EQ(countStarts() - startsBefore, 96);
    for (int h = 1; h <= HorseCount; ++h) {
        const Horse& horse = game.day().db.horses[static_cast<std::size_t>(h)];
        EXPECT_LE(horse.firsts + horse.seconds + horse.thirds + horse.fourths, horse.starts) << horse.name;
    }
    EXPECT_EQ(test::readLines(dir / "horses.dat").size(), 200u);
    EXPECT_EQ(test::readLines(dir / "jockeys.dat").size(), 32u);
    auto top = test::readLines(dir / "top10players.dat");
    EXPECT_EQ(top.size(), 3u);
    EXPECT_EQ(game.topTen().size(), 3u);
    EXPECT_TRUE(test::readAll(dir / "pick6s.dat").empty()) << "the pick 6 is settled after its last leg";
    EXPECT_TRUE(test::readAll(dir / "tickets.dat").empty());
}

// Every payoff's working, written as it was computed, ends on the figure the chart shows: every
// pool of every race of several seeded days, multi-race bets included.
TEST(PayoffWorking, EndsOnThePayoffTheChartShows) {
    for (uint64_t seed : {1u, 17u, 20261206u}) {
        test::TempDir dir;
        SeededRandom random{seed};
        test::ScriptedPrompter prompter;
        Game game{dir.path(), random, prompter};
        test::copyBundledData(dir.path());
        test::writeAll(dir / "players.dat", "1,Ann,10\r\n");
        ASSERT_TRUE(game.startDay());
        int payoffs = 0;
        for (int race = 0; race < RacesPerDay; ++race) {
            game.toteBoard();
            ASSERT_TRUE(game.beginRace());
            game.finishRace();
            game.runResultsToEnd();
            const Payoffs& p = game.payoffs();
            std::vector<const Payoff*> shown = {&p.win,       &p.place[0],  &p.place[1],    &p.show[0],
                                                &p.show[1],   &p.show[2],   &p.quiniela,    &p.exacta,
                                                &p.trifecta1, &p.trifecta2, &p.superfecta1, &p.superfecta2};
            if (p.multiRace != MultiRaceBet::None)
                shown.push_back(&p.specialPayoff);
            const std::vector<LabelText> labels = chartLabels(p);
            for (const Payoff* payoff : shown) {
                auto label = std::find_if(labels.begin(), labels.end(),
                                          [&](const LabelText& l) { return l.name == payoff->label; });
                ASSERT_NE(label, labels.end());
                ASSERT_FALSE(payoff->working.empty()) << payoff->label;
                const std::string& last = payoff->working.back();
                const std::string tail = " " + label->text;
                EXPECT_TRUE(last.size() > tail.size() &&
                            last.compare(last.size() - tail.size(), tail.size(), tail) == 0)
                    << "seed " << seed << ", race " << race + 1 << ", " << payoff->label << ": \"" << last
                    << "\" does not end with the label's " << label->text;
                ++payoffs;
            }
            game.confirmResults();
        }
        EXPECT_EQ(payoffs, RacesPerDay * 12 + 3);
    }
}

TEST_F(GameFixture, BrowsingTheProgramNeverChangesThePoolsPlayersBoughtInto) {
    list("$400 Win on 3", 1); // enough to move the horse's odds on the board
    game.pay();
    std::string wins = test::readAll(dir / "wins.dat");
    int32_t poolBefore = game.day().pools.win[2];
    const auto oddsBefore = game.day().pools.winOdds;
    game.openProgram();
    game.browseProgram(7);
    game.browseProgram(4);
    game.browseProgram(1);
    EXPECT_EQ(game.day().pools.winOdds, oddsBefore)
        << "back at the race about to be run, the tote as it stands";
    game.toteBoard();
    EXPECT_EQ(test::readAll(dir / "wins.dat"), wins);
    EXPECT_EQ(game.day().pools.win[2], poolBefore);
    EXPECT_EQ(game.day().tickets.size(), 1u)
        << "looking at the program keeps the tickets of the race being bet";
}

// The next race's pool files cannot be written, so they still hold this race's lines: betting on
// that race is refused and its settlement pays nothing from the old lines.
TEST_F(GameFixture, ARaceWhosePoolFilesCannotBeWrittenTakesNoBets) {
    runRace();
    std::filesystem::create_directory(dir / "exactas.dat.new");
    game.confirmResults();
    EXPECT_TRUE(prompter.sawText("Cannot write exactas.dat: File exists"));
    game.toteBoard();
    const std::string stale = test::readAll(dir / "wins.dat");
    const auto& order = game.day().result.finishOrder;
    list("$2 Win on " + std::to_string(order[0]), 1);
    EXPECT_EQ(game.pay().paid, 0);
    EXPECT_TRUE(prompter.sawText("Betting on race 2 is closed: its pool files could not be written."));
    EXPECT_EQ(test::readAll(dir / "wins.dat"), stale);
    // A ticket line planted with the number a ticket would have had must still pay nothing.
    test::writeAll(dir / "tickets.dat", "2125,1,2,Win,2," + game.day().date + "\r\n");
    runRace();
    EXPECT_TRUE(game.settlement().credits.empty());
}

TEST_F(GameFixture, UnpaidTicketsAreOfferedBeforeTheRaceAndPaidOnYes) {
    list("$2 Win on 4", 2);
    prompter.answer(true);
    ASSERT_TRUE(game.beginRace());
    EXPECT_TRUE(game.day().tickets[0].paid);
    EXPECT_EQ(game.day().players.entries[1].balance, "398");
    ASSERT_FALSE(prompter.shown().empty());
    EXPECT_TRUE(prompter.shown().front().question);
}

TEST_F(GameFixture, ANewDayMayStartBeforeTheFirstRaceUntilMoneyIsPaid) {
    EXPECT_TRUE(game.newDayAllowed());
    list("$2 Win on 4", 2);
    EXPECT_TRUE(game.newDayAllowed()) << "a listed ticket costs nothing until it is paid";
    game.pay();
    EXPECT_FALSE(game.newDayAllowed());
}

TEST_F(GameFixture, ANewDayWaitsWhileRacesAreRunAndResulted) {
    ASSERT_TRUE(game.beginRace());
    EXPECT_FALSE(game.newDayAllowed());
    game.finishRace();
    EXPECT_FALSE(game.newDayAllowed());
    game.runResultsToEnd();
    game.confirmResults();
    ASSERT_EQ(game.stage(), Stage::Program);
    EXPECT_FALSE(game.newDayAllowed()) << "race 2's program: the day is under way";
}

TEST_F(GameFixture, ResultsAreAppliedOnceHoweverOftenTheShowIsStepped) {
    runRace();
    auto linesAfter = test::readLines(dir / "pastperformances.dat").size();
    for (int i = 0; i < 5; ++i)
        game.showStep();
    game.runResultsToEnd();
    EXPECT_EQ(test::readLines(dir / "pastperformances.dat").size(), linesAfter);
}

TEST_F(GameFixture, StepsOutOfOrderDoNothing) {
    game.confirmResults();
    EXPECT_EQ(game.stage(), Stage::Betting);
    EXPECT_FALSE(game.resultsShow());
    runRace();
    EXPECT_FALSE(game.beginRace()) << "no second race before the results are confirmed";
    game.confirmResults();
    EXPECT_EQ(game.stage(), Stage::Program);
    EXPECT_EQ(game.day().currentRace, 1);
}

TEST_F(GameFixture, ResetStartsANewDayOnTheFreshStable) {
    runRace();
    game.confirmResults();
    game.toteBoard();
    prompter.answer(true);
    ASSERT_TRUE(game.resetDatabase());
    EXPECT_EQ(game.day().currentRace, 0);
    for (int h = 1; h <= HorseCount; ++h) {
        EXPECT_EQ(game.day().db.horses[static_cast<std::size_t>(h)].starts, 0);
        EXPECT_EQ(game.day().db.horses[static_cast<std::size_t>(h)].grade, "M");
    }
    // A race on the new day does not bring the old stable back.
    game.toteBoard();
    runRace();
    int starts = 0;
    for (const auto& line : test::readLines(dir / "horses.dat")) {
        Horse horse;
        parseHorse(line, horse);
        starts += horse.starts;
    }
    EXPECT_EQ(starts, 8);
}

TEST(GameSeed, ASeedReplaysTheSameDay) {
    auto play = [](uint64_t seed) {
        test::TempDir dir;
        test::copyBundledData(dir.path());
        SeededRandom random(seed);
        test::ScriptedPrompter prompter;
        Game game(dir.path(), random, prompter);
        EXPECT_TRUE(game.startDay());
        game.toteBoard();
        game.beginRace();
        game.finishRace();
        game.runResultsToEnd();
        return test::readAll(dir / "pastperformances.dat") + test::readAll(dir / "races.dat");
    };
    EXPECT_EQ(play(99), play(99));
    EXPECT_NE(play(99), play(100));
}

} // namespace
