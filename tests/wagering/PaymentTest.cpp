#include "wagering/Payment.h"
#include "wagering/TicketList.h"

#include "WageringFixture.h"
#include "core/Format.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace sw;
using sw::test::readLines;
using sw::test::WageringDay;
using Lines = std::vector<std::string>;

namespace {

class PaymentTest : public ::testing::Test {
protected:
    void SetUp() override {
        ann = w.addPlayer(3, "Ann", 100);
        bob = w.addPlayer(7, "Bob", 50);
        w.select(ann);
        w.day.currentRace = 3;
        w.day.pools.ticketCounter = 2124; // the public lines of the race come first
    }

    Lines lines(std::string_view file) const { return readLines(w.dir / file); }
    bool exists(std::string_view file) const { return std::filesystem::exists(w.dir / file); }
    std::vector<bool> paid() const {
        std::vector<bool> out;
        for (const ListedTicket& t : w.day.tickets)
            out.push_back(t.paid);
        return out;
    }

    WageringDay w;
    int ann = 0;
    int bob = 0;
};

TEST_F(PaymentTest, EachTicketTakesTheNextNumberAndEveryCombinationGoesToItsBetsPool) {
    w.day.players.entries[ann].balance = "1000";
    w.list("$2 WPS on 25", 3); // a win, a place and a show bet on each horse
    w.list("$3 Exacta Box 134", 3);
    w.list("$1 Quiniela Straight 72", 3);
    w.list("$2 Quiniela Wheel 12 with 12", 3); // one pair, recorded and charged once
    w.list("$2 DailyDouble Wheel 21 with 3", 3);
    w.list("$5 Win on 1", 7);
    w.list("$1 Trifecta Straight 123", 3);
    w.list("$1 Superfecta Straight 1234", 3);
    w.list("$1 Pick3 Wheel 1 with 1 with 2", 3);
    w.list("$1 Pick6 Wheel 1 with 2 with 3 with 4 with 5 with 6", 3);
    PaymentReport report = payTickets(w.day);
    EXPECT_EQ(report.paid, 10);
    EXPECT_EQ(lines("tickets.dat"), (Lines{"2125,3,2,WPS,4,5/12/2026", "2126,3,3,Exacta,4,5/12/2026",
                                           "2127,3,1,Quiniela,4,5/12/2026", "2128,3,2,Quiniela,4,5/12/2026",
                                           "2129,3,2,Daily Double,4,5/12/2026", "2130,7,5,Win,4,5/12/2026",
                                           "2131,3,1,Trifecta,4,5/12/2026", "2132,3,1,Superfecta,4,5/12/2026",
                                           "2133,3,1,Pick3,4,5/12/2026", "2134,3,1,Pick6,4,5/12/2026"}));
    EXPECT_EQ(lines("wins.dat"), (Lines{"2125,2,2", "2125,5,2", "2130,1,5"}));
    EXPECT_EQ(lines("places.dat"), (Lines{"2125,2,2", "2125,5,2"}));
    EXPECT_EQ(lines("shows.dat"), (Lines{"2125,2,2", "2125,5,2"}));
    EXPECT_EQ(lines("exactas.dat"),
              (Lines{"2126,1,3,3", "2126,1,4,3", "2126,3,1,3", "2126,3,4,3", "2126,4,1,3", "2126,4,3,3"}));
    EXPECT_EQ(lines("quinielas.dat"), (Lines{"2127,2,7,1", "2128,1,2,2"}));
    EXPECT_EQ(lines("dailydoubles.dat"), (Lines{"2129,1,3,2", "2129,2,3,2"})); // first race, then second
    EXPECT_EQ(lines("trifectas.dat"), (Lines{"2131,1,2,3,1"}));
    EXPECT_EQ(lines("superfectas.dat"), (Lines{"2132,1,2,3,4,1"}));
    EXPECT_EQ(lines("pick3s.dat"), (Lines{"2133,1,1,2,1"}));
    EXPECT_EQ(lines("pick6s.dat"), (Lines{"2134,1,2,3,4,5,6,1"}));
    EXPECT_EQ(w.day.pools.ticketCounter, 2134);
    // 12 + 18 + 1 + 2 + 4 + 1 + 1 + 1 + 1 off Ann, 5 off Bob; Ann stays selected.
    EXPECT_EQ(lines("players.dat"), (Lines{"3,Ann,959", "7,Bob,45"}));
    EXPECT_FLOAT_EQ(w.balance(ann), 959);
    EXPECT_EQ(w.day.players.selected, ann);
    EXPECT_EQ(w.day.players.balanceLabel, "959.00");
    EXPECT_EQ(paid(), std::vector<bool>(10, true));
    EXPECT_FALSE(hasUnpaidTickets(w.day));
    // The board follows the money.
    EXPECT_EQ(w.day.pools.win[0], 5);
    EXPECT_EQ(w.day.pools.winTotal, 9);

    // Paying again passes over what is paid.
    w.list("$2 Win on 2", 3);
    EXPECT_EQ(payTickets(w.day).paid, 1);
    EXPECT_EQ(lines("wins.dat").back(), "2135,2,2");
    EXPECT_EQ(payTickets(w.day).paid, 0);
    EXPECT_EQ(w.day.pools.ticketCounter, 2135);
    EXPECT_FLOAT_EQ(w.balance(ann), 957);
}

TEST_F(PaymentTest, APickSixOfAllHorsesIsRecordedInFull) {
    w.day.players.entries[ann].balance = "1000000";
    w.list("$2 Pick6 Wheel All with All with All with All with All with All", 3);
    payTickets(w.day);
    auto recorded = lines("pick6s.dat");
    ASSERT_EQ(recorded.size(), 262144u);
    EXPECT_EQ(recorded.front(), "2125,1,1,1,1,1,1,2");
    EXPECT_EQ(recorded[1], "2125,1,1,1,1,1,2,2");
    EXPECT_EQ(recorded.back(), "2125,8,8,8,8,8,8,2");
    EXPECT_FLOAT_EQ(w.balance(ann), 1000000 - 524288);
}

TEST_F(PaymentTest, WithoutADateOfTheDayTodayIsWritten) {
    w.day.date.clear();
    w.list("$2 Win on 1", 3);
    std::string before = todayText();
    payTickets(w.day);
    std::string after = todayText(); // the day may turn while paying
    auto logged = lines("tickets.dat");
    ASSERT_EQ(logged.size(), 1u);
    EXPECT_TRUE(logged[0] == "2125,3,2,Win,4," + before || logged[0] == "2125,3,2,Win,4," + after)
        << logged[0];
}

// Notes what the board held each time payment showed a message.
class BoardWatcher final : public Prompter {
public:
    const RaceDay* day = nullptr;
    std::vector<int32_t> winTotals;
    void message(std::string_view, std::string_view) override { winTotals.push_back(day->pools.winTotal); }
    bool ask(std::string_view, std::string_view) override { return false; }
};

TEST(PaymentBoard, AMessageDuringPaymentFindsEveryTicketPaidSoFarOnTheBoard) {
    test::TempDir dir;
    test::ListRandom random{{0.5}};
    BoardWatcher watcher;
    RaceDay day(dir.path(), random, watcher);
    watcher.day = &day;
    day.date = "5/12/2026";
    day.card.racePoolsOpened.fill(true);
    test::writeAll(dir / "wins.dat", "1,1,100\r\n4,2,300\r\n");
    day.players.entries = {PlayerEntry{3, "Ann", "100"}, PlayerEntry{7, "Bob", "5"}};
    day.tickets = {ListedTicket{"$10 Win on 1", 3, false}, ListedTicket{"$4 Win on 2", 3, false},
                   ListedTicket{"$2 Twin-Tri Box 123", 3, false}, ListedTicket{"$20 Win on 3", 7, false}};
    payTickets(day);
    EXPECT_EQ(watcher.winTotals, (std::vector<int32_t>{414, 414}))
        << "a Twin-Tri where none is sold, then Bob short of money";
    EXPECT_EQ(day.pools.win[1], 304);
}

TEST_F(PaymentTest, TwinTriAndTriSuperHalvesKeepToTheirOwnFilesAndAnExchangeUsesItsCredit) {
    // Credit 1: the lowest number still counts as an exchange.
    w.day.exchangeCredits = {{1, 3, 2, "Tri-Super", 4, "3-5-1", 41.2f, 0}};
    w.list("$2 Twin-Tri Box 123", 3);
    w.list("$2 Tri-Super Exchange 1 Box 1234", 3);
    w.list("$2 Tri-Super Exchange 1 Straight 1234", 3); // the credit is spoken for
    PaymentReport report = payTickets(w.day);
    EXPECT_EQ(report.paid, 2);
    EXPECT_EQ(report.badExchanges, 1);
    EXPECT_EQ(lines("tickets.dat"),
              (Lines{"2125,3,2,Twin-Tri,4,5/12/2026", "2126,3,2,Tri-Super Exchange,4,5/12/2026"}));
    EXPECT_EQ(lines("twintris.dat").size(), 6u);
    EXPECT_EQ(lines("trisuperexchanges.dat").size(), 24u);
    EXPECT_EQ(lines("trisuperexchanges.dat")[0], "2126,1,2,3,4,2");
    EXPECT_FALSE(exists("trifectas.dat"));
    EXPECT_EQ(lines("exchangecredits.dat"), (Lines{"1,3,2,Tri-Super,4,3-5-1,41.2,2126"}));
    EXPECT_EQ(w.day.exchangeCredits[0].exchangedBy, 2126);
    // Six first-half combinations, then 23 of the 24 second-half ones: the credit paid for one.
    EXPECT_FLOAT_EQ(w.balance(ann), 100 - 12 - 46);
    EXPECT_EQ(paid(), (std::vector<bool>{true, true, false}));
}

TEST_F(PaymentTest, APlayerShortOfMoneyKeepsOnlyTheirOwnTicketsBack) {
    w.day.players.entries[ann].balance = "20"; // spending the whole balance is allowed
    w.list("$30 Win on 2", 7);
    w.list("$10 Win on 1", 3);
    w.list("$25 Place on 3", 7); // Bob owes 55 with 50
    w.list("$2 Win on 5", 99);   // its owner was deleted: nobody pays for it
    w.list("$10 Win on 4", 3);
    PaymentReport report = payTickets(w.day);
    EXPECT_EQ(report.paid, 2);
    EXPECT_EQ(report.orphaned, 1);
    ASSERT_EQ(report.shortOfMoney.size(), 1u);
    EXPECT_EQ(report.shortOfMoney[0].playerId, 7);
    // Ann is the one selected (and now out of cash); the last message speaks to Bob.
    ASSERT_EQ(w.prompter.shown().size(), 2u);
    EXPECT_EQ(w.prompter.shown()[1].text,
              "Bob does not have enough money to pay for these bet(s): $5.00 short.\r\n"
              "Bob's tickets were not paid; change the bet amount, reduce the number of selected horses,\r\n"
              "or delete a bet.");
    EXPECT_EQ(paid(), (std::vector<bool>{false, true, false, false, true}));
    EXPECT_EQ(lines("wins.dat"), (Lines{"2125,1,10", "2126,4,10"}));
    EXPECT_FALSE(exists("places.dat"));
    EXPECT_FLOAT_EQ(w.balance(bob), 50);
    EXPECT_FLOAT_EQ(w.balance(ann), 0);
}

TEST_F(PaymentTest, AFileThatCannotBeWrittenOrAClosedRaceStopsPaymentUncharged) {
    std::filesystem::create_directory(w.dir / "tickets.dat");
    w.list("$2 Win on 1", 3);
    PaymentReport report = payTickets(w.day);
    EXPECT_EQ(report.paid, 0);
    EXPECT_FALSE(report.error.empty());
    EXPECT_TRUE(w.prompter.sawText(report.error));
    EXPECT_FALSE(exists("wins.dat"));

    std::filesystem::remove(w.dir / "tickets.dat");
    w.day.card.racePoolsOpened[3] = false;
    report = payTickets(w.day);
    EXPECT_EQ(report.error, "Betting on race 4 is closed: its pool files could not be written.");
    EXPECT_TRUE(w.prompter.sawText(report.error));
    EXPECT_EQ(paid(), std::vector<bool>{false});
    EXPECT_FLOAT_EQ(w.balance(ann), 100);
    EXPECT_FALSE(exists("tickets.dat"));
}

TEST_F(PaymentTest, PayingFromTheListEmptiesItsLabels) {
    TicketList list;
    list.listTicket(w.day, "$2 Exacta Box 134");
    EXPECT_EQ(list.total(), "$12");
    list.payTickets(w.day);
    EXPECT_EQ(list.ticketTotal() + list.ticketBets() + list.total() + list.numOfBets(), "");
    EXPECT_TRUE(list.combinations().empty());
    EXPECT_EQ(ticketStatusText(w.day.tickets[0]), "paid");
}

} // namespace
