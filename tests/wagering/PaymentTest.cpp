#include "wagering/Payment.h"
#include "wagering/TicketList.h"

#include "WageringFixture.h"
#include "core/Format.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace sw;
using sw::test::readLines;
using sw::test::WageringDay;

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

    std::vector<std::string> lines(std::string_view file) const { return readLines(w.dir / file); }

    WageringDay w;
    int ann = 0;
    int bob = 0;
};

// --- What a paid ticket leaves behind ---

TEST_F(PaymentTest, AcrossTheBoardGoesIntoAllThreePoolsAndCostsThreeBetsAHorse) {
    w.list("$2 WPS on 25", 3);
    PaymentReport report = payTickets(w.day);
    EXPECT_EQ(report.paid, 1);
    EXPECT_EQ(lines("tickets.dat"), (std::vector<std::string>{"2125,3,2,WPS,4,5/12/2026"}));
    for (const char* file : {"wins.dat", "places.dat", "shows.dat"})
        EXPECT_EQ(lines(file), (std::vector<std::string>{"2125,2,2", "2125,5,2"})) << file;
    EXPECT_FLOAT_EQ(w.balance(ann), 88);
    EXPECT_EQ(lines("players.dat"), (std::vector<std::string>{"3,Ann,88", "7,Bob,50"}));
    EXPECT_EQ(w.day.players.balanceLabel, "88.00");
    EXPECT_TRUE(w.day.tickets[0].paid);
    EXPECT_FALSE(hasUnpaidTickets(w.day));
}

TEST_F(PaymentTest, EachTicketTakesTheNextNumberForAllItsLines) {
    w.list("$2 Win on 1", 3);
    w.list("$3 Exacta Box 134", 3);
    w.list("$1 Quiniela Straight 72", 3);
    payTickets(w.day);
    EXPECT_EQ(lines("tickets.dat"),
              (std::vector<std::string>{"2125,3,2,Win,4,5/12/2026", "2126,3,3,Exacta,4,5/12/2026",
                                        "2127,3,1,Quiniela,4,5/12/2026"}));
    EXPECT_EQ(lines("exactas.dat"), (std::vector<std::string>{"2126,1,3,3", "2126,1,4,3", "2126,3,1,3",
                                                              "2126,3,4,3", "2126,4,1,3", "2126,4,3,3"}));
    EXPECT_EQ(lines("quinielas.dat"), (std::vector<std::string>{"2127,2,7,1"}));
    EXPECT_EQ(w.day.pools.ticketCounter, 2127);
    EXPECT_FLOAT_EQ(w.balance(ann), 100 - 2 - 18 - 1);
}

TEST_F(PaymentTest, AnOverlappingQuinielaWheelIsRecordedAndChargedOnce) {
    w.list("$2 Quiniela Wheel 12 with 12", 3);
    payTickets(w.day);
    EXPECT_EQ(lines("quinielas.dat"), (std::vector<std::string>{"2125,1,2,2"}));
    EXPECT_FLOAT_EQ(w.balance(ann), 98);
}

TEST_F(PaymentTest, DailyDoubleLinesHoldTheFirstRaceThenTheSecond) {
    w.day.currentRace = 1;
    w.list("$2 DailyDouble Wheel 21 with 3", 3);
    payTickets(w.day);
    EXPECT_EQ(lines("tickets.dat"), (std::vector<std::string>{"2125,3,2,Daily Double,2,5/12/2026"}));
    EXPECT_EQ(lines("dailydoubles.dat"), (std::vector<std::string>{"2125,1,3,2", "2125,2,3,2"}));
}

TEST_F(PaymentTest, EveryBetGoesToItsOwnPoolFile) {
    w.day.players.entries[ann].balance = "10000";
    w.list("$1 Place on 1", 3);
    w.list("$1 Show on 2", 3);
    w.list("$1 Trifecta Straight 123", 3);
    w.list("$1 Superfecta Straight 1234", 3);
    w.list("$1 Pick3 Wheel 1 with 1 with 2", 3);
    w.list("$1 Pick6 Wheel 1 with 2 with 3 with 4 with 5 with 6", 3);
    payTickets(w.day);
    EXPECT_EQ(lines("places.dat"), (std::vector<std::string>{"2125,1,1"}));
    EXPECT_EQ(lines("shows.dat"), (std::vector<std::string>{"2126,2,1"}));
    EXPECT_EQ(lines("trifectas.dat"), (std::vector<std::string>{"2127,1,2,3,1"}));
    EXPECT_EQ(lines("superfectas.dat"), (std::vector<std::string>{"2128,1,2,3,4,1"}));
    EXPECT_EQ(lines("pick3s.dat"), (std::vector<std::string>{"2129,1,1,2,1"}));
    EXPECT_EQ(lines("pick6s.dat"), (std::vector<std::string>{"2130,1,2,3,4,5,6,1"}));
    EXPECT_FALSE(std::filesystem::exists(w.dir / "wins.dat"));
    auto logged = lines("tickets.dat");
    ASSERT_EQ(logged.size(), 6u);
    EXPECT_EQ(logged[4], "2129,3,1,Pick3,4,5/12/2026");
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

TEST_F(PaymentTest, TheToteFollowsTheMoney) {
    test::writeAll(w.dir / "wins.dat", "1,1,100\r\n4,2,300\r\n7,3,50\r\n");
    w.list("$20 Win on 3", 3);
    payTickets(w.day);
    EXPECT_EQ(w.day.pools.win[2], 70);
    EXPECT_EQ(w.day.pools.winTotal, 470);
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
    day.players.entries = {PlayerEntry{3, "Ann", "100"}, PlayerEntry{7, "Bob", "5"}};
    day.tickets = {ListedTicket{"$10 Win on 1", 3, false}, ListedTicket{"$4 Win on 2", 3, false},
                   ListedTicket{"$2 Twin-Tri Box 123", 3, false}, ListedTicket{"$20 Win on 3", 7, false}};
    payTickets(day);
    EXPECT_EQ(watcher.winTotals, (std::vector<int32_t>{14, 14}))
        << "a Twin-Tri where none is sold, then Bob short of money";
    EXPECT_EQ(day.pools.winTotal, 14);
}

// --- Who pays, and what is never paid twice ---

TEST_F(PaymentTest, EachTicketIsChargedToItsOwner) {
    w.list("$5 Win on 1", 7);
    w.list("$2 Win on 2", 3);
    payTickets(w.day);
    EXPECT_FLOAT_EQ(w.balance(bob), 45);
    EXPECT_FLOAT_EQ(w.balance(ann), 98);
    EXPECT_EQ(lines("tickets.dat")[0], "2125,7,5,Win,4,5/12/2026");
    EXPECT_EQ(w.day.players.selected, ann);
}

TEST_F(PaymentTest, PayingAgainPassesOverPaidTickets) {
    w.list("$2 Win on 1", 3);
    payTickets(w.day);
    w.list("$2 Win on 2", 3);
    PaymentReport again = payTickets(w.day);
    EXPECT_EQ(again.paid, 1);
    EXPECT_EQ(lines("tickets.dat").size(), 2u);
    EXPECT_EQ(lines("wins.dat"), (std::vector<std::string>{"2125,1,2", "2126,2,2"}));
    EXPECT_FLOAT_EQ(w.balance(ann), 96);
    EXPECT_EQ(payTickets(w.day).paid, 0);
    EXPECT_EQ(w.day.pools.ticketCounter, 2126);
}

TEST_F(PaymentTest, TwinTriAndTriSuperHalvesKeepToTheirOwnFilesAndAnExchangeUsesItsCredit) {
    w.day.exchangeCredits = {{57, 3, 2, "Tri-Super", 4, "3-5-1", 41.2f, 0}};
    w.list("$2 Twin-Tri Box 123", 3);
    w.list("$2 Tri-Super Exchange 57 Box 1234", 3);
    w.list("$2 Tri-Super Exchange 57 Straight 1234", 3); // the credit is spoken for
    PaymentReport report = payTickets(w.day);
    EXPECT_EQ(report.paid, 2);
    EXPECT_EQ(report.badExchanges, 1);
    EXPECT_EQ(lines("tickets.dat"), (std::vector<std::string>{"2125,3,2,Twin-Tri,4,5/12/2026",
                                                              "2126,3,2,Tri-Super Exchange,4,5/12/2026"}));
    EXPECT_EQ(lines("twintris.dat").size(), 6u);
    EXPECT_EQ(lines("trisuperexchanges.dat").size(), 24u);
    EXPECT_EQ(lines("trisuperexchanges.dat")[0], "2126,1,2,3,4,2");
    EXPECT_FALSE(std::filesystem::exists(w.dir / "trifectas.dat"));
    EXPECT_EQ(lines("exchangecredits.dat"), (std::vector<std::string>{"57,3,2,Tri-Super,4,3-5-1,41.2,2126"}));
    EXPECT_EQ(w.day.exchangeCredits[0].exchangedBy, 2126);
    // Six first-half combinations, then 23 of the 24 second-half ones: the credit paid for one.
    EXPECT_FLOAT_EQ(w.balance(ann), 100 - 12 - 46);
    EXPECT_FALSE(w.day.tickets[2].paid);
}

TEST_F(PaymentTest, APlayerShortOfMoneyKeepsOnlyTheirOwnTicketsBack) {
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
    // Ann is the one selected; the message speaks to Bob.
    ASSERT_EQ(w.prompter.shown().size(), 1u);
    EXPECT_EQ(w.prompter.shown()[0].text,
              "Bob does not have enough money to pay for these bet(s): $5.00 short.\r\n"
              "Bob's tickets were not paid; change the bet amount, reduce the number of selected horses,\r\n"
              "or delete a bet.");
    std::vector<bool> paid;
    for (const ListedTicket& t : w.day.tickets)
        paid.push_back(t.paid);
    EXPECT_EQ(paid, (std::vector<bool>{false, true, false, false, true}));
    EXPECT_EQ(lines("wins.dat"), (std::vector<std::string>{"2125,1,10", "2126,4,10"}));
    EXPECT_FALSE(std::filesystem::exists(w.dir / "places.dat"));
    EXPECT_FLOAT_EQ(w.balance(bob), 50);
    EXPECT_FLOAT_EQ(w.balance(ann), 80);
}

TEST_F(PaymentTest, SpendingTheWholeBalanceIsAllowed) {
    w.list("$25 Win on 1", 7);
    w.list("$25 Win on 2", 7);
    EXPECT_EQ(payTickets(w.day).paid, 2);
    EXPECT_FLOAT_EQ(w.balance(bob), 0);
}

TEST_F(PaymentTest, AFileThatCannotBeWrittenStopsPaymentUncharged) {
    std::filesystem::create_directory(w.dir / "tickets.dat");
    w.list("$2 Win on 1", 3);
    PaymentReport report = payTickets(w.day);
    EXPECT_EQ(report.paid, 0);
    EXPECT_FALSE(report.error.empty());
    EXPECT_TRUE(w.prompter.sawText(report.error));
    EXPECT_FALSE(w.day.tickets[0].paid);
    EXPECT_FLOAT_EQ(w.balance(ann), 100);
    EXPECT_FALSE(std::filesystem::exists(w.dir / "wins.dat"));
}

TEST_F(PaymentTest, PayingFromTheListEmptiesItsLabels) {
    TicketList list;
    list.listTicket(w.day, "$2 Exacta Box 134");
    EXPECT_EQ(list.total(), "$12");
    list.payTickets(w.day);
    EXPECT_EQ(list.ticketTotal(), "");
    EXPECT_EQ(list.ticketBets(), "");
    EXPECT_EQ(list.total(), "");
    EXPECT_EQ(list.numOfBets(), "");
    EXPECT_TRUE(list.combinations().empty());
    EXPECT_EQ(ticketStatusText(w.day.tickets[0]), "paid");
}

} // namespace
