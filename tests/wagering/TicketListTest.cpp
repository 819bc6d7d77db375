#include "wagering/TicketList.h"
#include "wagering/BalanceCheck.h"

#include "WageringFixture.h"

#include <gtest/gtest.h>

using namespace sw;
using sw::test::readAll;
using sw::test::WageringDay;

namespace {

const char* const NotEnough = "You do not have enough money to place these bet(s).\r\n"
                              "Change your bet amount, reduce the number of selected horses,\r\n"
                              "or delete a bet.";

class TicketListTest : public ::testing::Test {
protected:
    void SetUp() override {
        ann = w.addPlayer(3, "Ann", 100);
        bob = w.addPlayer(7, "Bob", 20);
        w.select(ann);
    }

    // The frame as shown: the selected ticket, its cost and count, the totals, then whether Delete
    // and Pay are usable and the selected ticket's combinations.
    std::string shown() const {
        std::string s = std::to_string(list.selected()) + ": " + list.ticketTotal() + " " +
                        list.ticketBets() + ", all " + list.total() + " " + list.numOfBets() +
                        (list.deleteUsable(w.day) ? ", delete" : "") +
                        (TicketList::payUsable(w.day) ? ", pay" : "") + " [";
        for (const std::string& line : list.combinations())
            s += line + (&line == &list.combinations().back() ? "" : " ");
        return s + "]";
    }

    WageringDay w;
    TicketList list;
    int ann = 0;
    int bob = 0;
};

TEST_F(TicketListTest, ListingSelectsTheTicketForTheSelectedPlayerAndShowsTheTotals) {
    ASSERT_TRUE(list.listTicket(w.day, "$2 Exacta Box 134"));
    EXPECT_EQ(shown(), "0: $12 6, all $12 6, delete, pay [1-3 1-4 3-1 3-4 4-1 4-3]");
    w.select(bob);
    ASSERT_TRUE(list.listTicket(w.day, "$2 WPS on 3"));
    EXPECT_EQ(shown(), "1: $6 3, all $18 9, delete, pay [3]");
    EXPECT_EQ(w.day.tickets[0].playerId, 3);
    EXPECT_EQ(w.day.tickets[1].playerId, 7);
    EXPECT_TRUE(w.prompter.shown().empty());

    list.selectTicket(w.day, 0);
    list.selectTicket(w.day, 2);
    list.selectTicket(w.day, -1);
    EXPECT_EQ(shown(), "0: $12 6, all $18 9, delete, pay [1-3 1-4 3-1 3-4 4-1 4-3]");

    // A Pick 6 of all horses shows its count and cost in full, its combinations capped.
    w.select(ann);
    w.day.players.entries[0].balance = "1000000";
    w.day.pick6Offered = true;
    list.listTicket(w.day, "$2 Pick6 Wheel All with All with All with All with All with All");
    EXPECT_EQ(list.ticketBets(), "262144");
    EXPECT_EQ(list.ticketTotal(), "$524288");
    EXPECT_EQ(list.combinations().size(), 1001u);
}

TEST_F(TicketListTest, RefusesAnInvalidTextOrAMissingPlayer) {
    struct Case {
        const char* text;
        const char* error;
    } cases[] = {
        {"$1 Win on 3", "Minimum amount for Win is $2"},
        {"$0 WPS on 3", "Minimum amount for Win,Place,Show is $2"},
        {"$2 Exacta Wheel 1 with 1", "$2 Exacta Wheel 1 with 1 covers no combination: no horse can take two "
                                     "places at once. Wheel different horses."},
        {"$1 Trifecta Wheel 12 with 12 with 12",
         "$1 Trifecta Wheel 12 with 12 with 12 covers no combination: "
         "no horse can take two places at once. Wheel different horses."},
        {"$2 DailyDouble Wheel 1 with 2", "The Daily Double is sold in race 2 only."},
        {"$2 Pick3 Wheel 1 with 2 with 3", "The Pick 3 is sold in race 4 only."},
        {"$2 Pick6 Wheel 1 with 2 with 3 with 4 with 5 with 6", "The Pick 6 is sold in race 7 only."},
        // Race 12 (nothing follows it) and the credits below.
        {"$2 Twin-Tri Box 123",
         "The Twin-Tri is sold in races 1 to 11 only: its second half is run in the next race."},
        {"$2 Twin-Tri Exchange 9 Box 123",
         "There is no Twin-Tri credit 9 for race 12: the tickets list shows the credits held."},
        {"$2 Tri-Super Exchange 57 Box 1234",
         "There is no Tri-Super credit 57 for race 12: the tickets list shows the credits held."},
        {"$5 Twin-Tri Exchange 57 Box 123",
         "Twin-Tri credit 57 was bought at $2: its exchange is bet at that amount."},
        {"$2 Twin-Tri Exchange 58 Box 123", "Twin-Tri credit 58 belongs to Bob."},
        {"$2 Twin-Tri Exchange 59 Box 123", "Twin-Tri credit 59 was exchanged already, by ticket 2130."},
    };
    w.day.currentRace = 11;
    w.day.exchangeBetsOffered = false;
    w.day.exchangeCredits = {{57, 3, 2, "Twin-Tri", 12, "1-2-3", 9.0f, 0},
                             {58, 7, 2, "Twin-Tri", 12, "1-2-3", 9.0f, 0},
                             {59, 3, 2, "Twin-Tri", 12, "1-2-3", 9.0f, 2130}};
    std::string error;
    for (const Case& c : cases) {
        EXPECT_FALSE(list.listTicket(w.day, c.text, &error));
        EXPECT_EQ(error, c.error);
    }
    for (int selected : {-1, 2}) { // nobody, or one past the last
        w.day.players.selected = selected;
        EXPECT_FALSE(list.listTicket(w.day, "$2 Win on 1", &error));
        EXPECT_EQ(error, "Need to add a player.");
    }
    EXPECT_TRUE(w.day.tickets.empty());
}

TEST_F(TicketListTest, DeletingAsksThenSelectsTheLastRemainingTicket) {
    w.list("$2 Win on 1", 3);
    EXPECT_FALSE(list.deleteTicket(w.day)) << "nothing selected: no question";
    EXPECT_TRUE(w.prompter.shown().empty());
    list.listTicket(w.day, "$2 Win on 2");
    list.listTicket(w.day, "$5 Win on 3");
    list.selectTicket(w.day, 0);
    w.prompter.answer(false);
    EXPECT_FALSE(list.deleteTicket(w.day));
    EXPECT_EQ(w.day.tickets.size(), 3u);
    ASSERT_EQ(w.prompter.shown().size(), 1u);
    EXPECT_EQ(w.prompter.shown()[0].text, "Are you sure you want to delete the ticket?");
    EXPECT_EQ(w.prompter.shown()[0].title, "Stridewell");
    EXPECT_TRUE(w.prompter.shown()[0].question);

    w.prompter.answer(true);
    ASSERT_TRUE(list.deleteTicket(w.day));
    EXPECT_EQ(w.day.tickets[0].text, "$2 Win on 2");
    EXPECT_EQ(shown(), "1: $5 1, all $7 2, delete, pay []");
    for (int n = 0; n < 2; ++n) {
        w.prompter.answer(true);
        ASSERT_TRUE(list.deleteTicket(w.day));
    }
    EXPECT_EQ(shown(), "-1: $0 0, all $0 0 []");
}

TEST_F(TicketListTest, DeletingAPaidTicketLeavesItsRecordsAlone) {
    w.list("$2 Win on 1", 3, true);
    test::writeAll(w.dir / "tickets.dat", "2125,3,2,Win,1,5/12/2026\r\n");
    list.selectTicket(w.day, 0);
    w.prompter.answer(true);
    ASSERT_TRUE(list.deleteTicket(w.day));
    EXPECT_EQ(readAll(w.dir / "tickets.dat"), "2125,3,2,Win,1,5/12/2026\r\n");
}

TEST_F(TicketListTest, ATotalAboveTheBalanceOffersToDeleteTheSelectedTicket) {
    w.day.players.entries[ann].balance = "12";
    list.listTicket(w.day, "$2 Exacta Box 134");
    EXPECT_TRUE(w.prompter.shown().empty()) << "a total equal to the balance passes";
    EXPECT_TRUE(ownersShortOfMoney(w.day).empty());

    w.day.players.entries[ann].balance = "11";
    list.selectTicket(w.day, 0);
    ASSERT_EQ(w.prompter.shown().size(), 2u);
    EXPECT_EQ(w.prompter.shown()[0].text, NotEnough);
    EXPECT_FALSE(w.prompter.shown()[0].question);
    EXPECT_EQ(w.prompter.shown()[1].text, "Are you sure you want to delete the ticket?");
    EXPECT_EQ(w.day.tickets.size(), 1u); // unscripted questions answer No

    w.prompter.answer(true);
    list.selectTicket(w.day, 0);
    EXPECT_TRUE(w.day.tickets.empty());
    EXPECT_EQ(list.total(), "$0");
}

TEST_F(TicketListTest, EachPlayerIsMeasuredAgainstTheirOwnBalance) {
    // Ann has 100 and Bob 20: together they owe 60, which Bob's balance alone could not cover.
    list.listTicket(w.day, "$50 Win on 1");
    w.select(bob);
    list.listTicket(w.day, "$10 Win on 2");
    EXPECT_TRUE(w.prompter.shown().empty());

    // Bob's second ticket takes him to 22 while Ann, selected, could afford it.
    list.listTicket(w.day, "$12 Win on 3");
    w.select(ann);
    w.prompter.clear();
    list.selectTicket(w.day, 0);
    EXPECT_TRUE(w.prompter.sawText(NotEnough));
    auto owners = ownersShortOfMoney(w.day);
    ASSERT_EQ(owners.size(), 1u);
    EXPECT_EQ(owners[0].playerId, 7);
    EXPECT_EQ(owners[0].cost, 22);
    EXPECT_EQ(owners[0].balance, 20);

    // Paid tickets and those of players no longer listed are never measured, nor paid.
    w.day.tickets = {{"$30 Win on 2", 7, true}, {"$500 Win on 2", 99, false}};
    EXPECT_TRUE(ownersShortOfMoney(w.day).empty());
    EXPECT_FALSE(hasUnpaidTickets(w.day));
    w.list("$2 Win", 3);
    EXPECT_FALSE(hasUnpaidTickets(w.day)) << "nor is a text that is not a ticket";
    w.list("$2 Win on 2", 3);
    EXPECT_TRUE(hasUnpaidTickets(w.day));
}

TEST_F(TicketListTest, TicketsSayWhetherTheyArePaidOrExchangeACredit) {
    EXPECT_EQ(ticketStatusText({"$2 Win on 1", 3, false}), "");
    EXPECT_EQ(ticketStatusText({"$2 Win on 1", 3, true}), "paid");
    EXPECT_EQ(ticketStatusText({"$2 Twin-Tri Box 123", 3, false}), "");
    EXPECT_EQ(ticketStatusText({"$2 Twin-Tri Exchange 5 Box 123", 3, false}),
              "exchanges its credit for one combination");
    EXPECT_EQ(ticketStatusText({"$2 Twin-Tri Exchange 5 Box 123", 3, true}), "paid, exchanging its credit");
    EXPECT_EQ(ticketStatusText({"$2 Win", 3, false}), "not a valid ticket");
}

TEST_F(TicketListTest, ChangesMadeElsewhereForgetTheSelection) {
    list.listTicket(w.day, "$2 Win on 1");
    list.listTicket(w.day, "$5 Win on 2");
    w.day.tickets.erase(w.day.tickets.begin()); // a deleted player's ticket
    list.ticketsRemoved(w.day);
    // Index 1 no longer names the ticket that was selected.
    EXPECT_EQ(shown(), "-1:  , all $5 1, pay []");

    clearTicketList(w.day);
    EXPECT_TRUE(w.day.tickets.empty());
    list.refresh(w.day);
    EXPECT_EQ(shown(), "-1:  , all   []");
}

} // namespace
