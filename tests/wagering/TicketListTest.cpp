#include "wagering/TicketList.h"
#include "wagering/BalanceCheck.h"
#include "wagering/Payment.h"

#include "WageringFixture.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <functional>

using namespace sw;
using sw::test::readAll;
using sw::test::WageringDay;
using Lines = std::vector<std::string>;

namespace {

const char* const NotEnough = "You do not have enough money to place these bet(s).\r\n"
                              "Change your bet amount, reduce the number of selected horses,\r\n"
                              "or delete a bet.";
const char* const SureToDelete = "?Stridewell: Are you sure you want to delete the ticket?";

// Ann with $100 and Bob with $20, Ann selected, in race 4 after its public lines.
class TicketListTest : public ::testing::Test {
protected:
    void SetUp() override {
        ann = w.addPlayer(3, "Ann", 10000);
        bob = w.addPlayer(7, "Bob", 2000);
        w.select(ann);
        w.day.currentRace = 3;
        w.day.pools.ticketCounter = 2124;
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
    Lines lines(std::string_view file) const { return test::readLines(w.dir / file); }
    bool exists(std::string_view file) const { return std::filesystem::exists(w.dir / file); }
    std::vector<bool> paid() const {
        std::vector<bool> out;
        for (const ListedTicket& t : w.day.tickets)
            out.push_back(t.paid);
        return out;
    }

    WageringDay w;
    TicketList list;
    int ann = 0;
    int bob = 0;
};

TEST_F(TicketListTest, RefusesAnInvalidTextOrAMissingPlayer) {
    // Each case: text, refusal.
    const std::pair<const char*, const char*> cases[] = {
        {"$1 Win on 3", "Minimum amount for Win is $2"},
        {"$2 Exacta Wheel 1 with 1", "$2 Exacta Wheel 1 with 1 covers no combination: no horse can take two "
                                     "places at once. Wheel different horses."},
        {"$2 DailyDouble Wheel 1 with 2", "The Daily Double is sold in race 2 only."},
        // Race 12 (nothing follows it) and the credits below.
        {"$2 Twin-Tri Box 123",
         "The Twin-Tri is sold in races 1 to 11 only: its second half is run in the next race."},
        {"$2 Twin-Tri Exchange 9 Straight 123",
         "There is no Twin-Tri credit 9 for race 12: the tickets list shows the credits held."},
        {"$5 Twin-Tri Exchange 57 Straight 123",
         "Twin-Tri credit 57 was bought at $2: its exchange is bet at that amount."},
        {"$2 Twin-Tri Exchange 58 Straight 123", "Twin-Tri credit 58 belongs to Bob."},
        {"$2 Twin-Tri Exchange 59 Straight 123", "Twin-Tri credit 59 was exchanged already, by ticket 2130."},
    };
    w.day.currentRace = 11;
    w.day.exchangeBetsOffered = false;
    w.day.exchangeCredits = {{57, 3, 2, "Twin-Tri", 12, "1-2-3", 900, 0},
                             {58, 7, 2, "Twin-Tri", 12, "1-2-3", 900, 0},
                             {59, 3, 2, "Twin-Tri", 12, "1-2-3", 900, 2130}};
    std::string error;
    for (const auto& [text, refusal] : cases) {
        EXPECT_FALSE(list.listTicket(w.day, text, &error));
        EXPECT_EQ(error, refusal);
    }
    for (int selected : {-1, 2}) { // nobody, or one past the last
        w.day.players.selected = selected;
        EXPECT_FALSE(list.listTicket(w.day, "$2 Win on 1", &error));
        EXPECT_EQ(error, "Need to add a player.");
    }
    EXPECT_TRUE(w.day.tickets.empty());
}

// The totals, combinations and owner of a ticket as it is listed are the stored days' to pin.
TEST_F(TicketListTest, DeletingSelectsTheLastRemainingTicketAndLeavesPaidRecordsAlone) {
    w.list("$2 Win on 1", 3);
    EXPECT_FALSE(list.deleteTicket(w.day)) << "nothing selected";
    list.listTicket(w.day, "$2 Win on 2");
    list.listTicket(w.day, "$5 Win on 3");
    for (int index : {0, 3, -1}) // a ticket outside the list leaves the selection
        list.selectTicket(w.day, index);
    ASSERT_TRUE(list.deleteTicket(w.day));
    EXPECT_EQ(w.day.tickets[0].text, "$2 Win on 2");
    EXPECT_EQ(shown(), "1: $5 1, all $7 2, delete, pay []");

    w.list("$2 Win on 1", 3, true);
    test::writeAll(w.dir / "tickets.dat", "2125,3,2,Win,1,5/12/2026\r\n");
    list.selectTicket(w.day, 2);
    ASSERT_TRUE(list.deleteTicket(w.day));
    EXPECT_EQ(readAll(w.dir / "tickets.dat"), "2125,3,2,Win,1,5/12/2026\r\n");
}

TEST_F(TicketListTest, EachPlayerIsMeasuredAgainstTheirOwnBalanceAndAShortOneMayDeleteTheTicket) {
    // Ann has 100 and Bob 20: together they owe 60, which Bob's balance alone could not cover; Bob's
    // total equal to his balance passes.
    list.listTicket(w.day, "$50 Win on 1");
    w.select(bob);
    list.listTicket(w.day, "$20 Win on 2");
    EXPECT_EQ(w.said(), "");

    // Bob's second ticket takes him to 22 while Ann, selected, could afford it.
    list.listTicket(w.day, "$2 Win on 3");
    w.select(ann);
    w.prompter.clear();
    list.selectTicket(w.day, 0); // Ann's ticket: the check covers every owner
    EXPECT_EQ(w.said(), "Stridewell: " + std::string(NotEnough) + " | " + SureToDelete);
    EXPECT_EQ(w.day.tickets.size(), 3u); // unscripted questions answer No
    w.prompter.answer(true);
    list.selectTicket(w.day, 2);
    EXPECT_EQ(shown(), "1: $20 1, all $70 2, delete, pay [2]");

    // Paid tickets and those of players no longer listed are never measured, nor paid.
    w.day.tickets = {{"$30 Win on 2", 7, true}, {"$500 Win on 2", 99, false}, {"$2 Win", 3, false}};
    EXPECT_TRUE(ownersShortOfMoney(w.day).empty());
    EXPECT_FALSE(hasUnpaidTickets(w.day)) << "nor is a text that is not a ticket";
    w.list("$2 Win on 2", 3);
    EXPECT_TRUE(hasUnpaidTickets(w.day));
}

// The totals are kept as tickets come and go rather than priced afresh: after every change, made
// by the list or elsewhere, they are those of the whole list, and so is the balance check.
TEST_F(TicketListTest, TheTotalsFollowTheTicketsAsTheyComeAndGo) {
    const std::vector<std::pair<const char*, std::function<void()>>> steps = {
        {"list", [&] { list.listTicket(w.day, "$2 Exacta Box 134"); }},
        {"list for Bob", [&] { w.select(bob), list.listTicket(w.day, "$4 WPS on 2"); }},
        {"delete the last", [&] { list.deleteTicket(w.day); }},
        {"Bob short", [&] { list.listTicket(w.day, "$5 Win on 1"), list.listTicket(w.day, "$20 Win on 2"); }},
        {"listed elsewhere", [&] { w.list("$3 Place on 4", 3), w.list("nonsense", 3); }},
        {"select", [&] { list.selectTicket(w.day, 0); }},
        {"pay", [&] { w.select(ann), list.payTickets(w.day); }},
        {"after paying", [&] { list.listTicket(w.day, "$2 Trifecta Box 123"); }},
        {"removed elsewhere", // the index selected no longer names the ticket it did
         [&] {
             w.day.tickets.erase(w.day.tickets.begin()), list.ticketsRemoved(w.day);
             EXPECT_EQ(list.selected(), -1);
         }},
        {"replaced elsewhere",
         [&] { w.day.tickets.back().text = "$9 Win on 5", list.selectTicket(w.day, 0); }},
    };
    for (const auto& [name, step] : steps) {
        step();
        const std::size_t said = w.prompter.shown().size();
        list.selectTicket(w.day, 0); // shows the totals and checks the balances
        const TicketTotals whole = totalsOf(w.day.tickets);
        EXPECT_EQ(list.total() + " " + list.numOfBets(),
                  "$" + std::to_string(whole.cost) + " " + std::to_string(whole.count))
            << name;
        EXPECT_EQ(w.prompter.shown().size() > said, !ownersShortOfMoney(w.day).empty()) << name;
    }
}

// ---- Paying ----

TEST_F(TicketListTest, TwinTriAndTriSuperHalvesKeepToTheirOwnFilesAndAnExchangeUsesItsCredit) {
    // Credit 1: the lowest number still counts as an exchange.
    w.day.exchangeCredits = {{1, 3, 2, "Tri-Super", 4, "3-5-1", 4120, 0}};
    w.list("$2 Twin-Tri Box 123", 3);
    w.list("$2 Tri-Super Exchange 1 Straight 1234", 3);
    w.list("$2 Tri-Super Exchange 1 Straight 4321", 3); // the credit is spoken for
    PaymentReport report = payTickets(w.day);
    EXPECT_EQ(std::make_pair(report.paid, report.badExchanges), std::make_pair(2, 1));
    EXPECT_EQ(lines("tickets.dat"),
              (Lines{"2125,3,2,Twin-Tri,4,5/12/2026", "2126,3,2,Tri-Super Exchange,4,5/12/2026"}));
    EXPECT_EQ(lines("twintris.dat").size(), 6u);
    EXPECT_EQ(lines("trisuperexchanges.dat"), (Lines{"2126,1,2,3,4,2"}));
    EXPECT_FALSE(exists("trifectas.dat"));
    EXPECT_EQ(lines("exchangecredits.dat"), (Lines{"1,3,2,Tri-Super,4,3-5-1,41.2,2126"}));
    // Six first-half combinations; the second half's one combination is the credit's.
    EXPECT_EQ(w.balance(ann), (100 - 12) * 100);
    EXPECT_EQ(paid(), (std::vector<bool>{true, true, false}));
}

TEST_F(TicketListTest, APlayerShortOfMoneyKeepsOnlyTheirOwnTicketsBack) {
    w.day.players.entries[ann].balance = "20"; // spending the whole balance is allowed
    w.list("$10 Win on 2", 7);
    w.list("$10 Win on 1", 3);
    w.list("$11 Place on 3", 7); // Bob owes 21 with 20
    w.list("$2 Win on 5", 99);   // its owner was deleted: nobody pays for it
    w.list("$10 Win on 4", 3);
    // Nothing is said until the payment is done: whoever looks then sees every ticket paid.
    std::vector<std::vector<bool>> paidWhenTold;
    w.prompter.setBeforePrompt([&] { paidWhenTold.push_back(paid()); });
    PaymentReport report = payTickets(w.day);
    w.prompter.setBeforePrompt({});
    EXPECT_EQ(std::make_pair(report.paid, report.orphaned), std::make_pair(2, 1));
    ASSERT_EQ(report.shortOfMoney.size(), 1u);
    EXPECT_EQ(report.shortOfMoney[0].playerId, 7);
    EXPECT_EQ(paidWhenTold, std::vector<std::vector<bool>>(2, paid()));
    // Ann is the one selected (and now out of cash): told who bets now; the last message speaks to Bob.
    EXPECT_EQ(w.said(),
              "Stridewell: Ann, you're out of cash! Bob is betting now. | Stridewell: Bob does not have "
              "enough money to pay for these bet(s): $1.00 short.\r\nBob's tickets were not paid; change the "
              "bet amount, reduce the number of selected horses,\r\nor delete a bet.");
    EXPECT_EQ(paid(), (std::vector<bool>{false, true, false, false, true}));
    EXPECT_EQ(lines("wins.dat"), (Lines{"2125,1,10", "2126,4,10"}));
    EXPECT_FALSE(exists("places.dat"));
    EXPECT_EQ(lines("players.dat"), (Lines{"3,Ann,0", "7,Bob,20"}));
}

TEST_F(TicketListTest, ACostIsTakenToTheCentAtAnyBalanceAndABalanceTheGameCannotCountPaysNothing) {
    const struct {
        const char* balance;
        const char* after; // Ann's balance text after a $16 ticket; the balance as it was when refused
        bool refused = false;
    } cases[] = {
        // Reading a balance is the money's own test; these are the payment's edges.
        {"100000.05", "99984.05"},
        {"2147483648", "2147483632"},
        {"9999999999999.99", "9999999999983.99"},
        {"10000000000000", "10000000000000", true},
        {"lots", "lots", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.balance);
        w.day.tickets.clear();
        w.prompter.clear();
        w.day.players.entries[ann].balance = c.balance;
        w.list("$16 Win on 2", 3);
        payTickets(w.day);
        EXPECT_EQ(w.day.players.entries[ann].balance, c.after);
        EXPECT_EQ(w.said(), c.refused
                                ? "Stridewell: Ann's balance cannot be counted to the cent (it must be a "
                                  "number of at most $9999999999999.99), so Ann's tickets were not paid."
                                : "");
        EXPECT_EQ(paid(), std::vector<bool>{!c.refused});
    }
}

TEST_F(TicketListTest, AFileThatCannotBeWrittenOrAClosedRaceStopsPaymentUncharged) {
    // A folder where a file the payment appends to, or replaces, should be: nothing is written.
    const std::string players = readAll(w.dir / "players.dat");
    for (const char* blocked : {"tickets.dat", "players.dat"}) {
        std::filesystem::remove(w.dir / blocked);
        std::filesystem::create_directory(w.dir / blocked);
        w.day.tickets.clear();
        w.list("$2 Win on 1", 3);
        PaymentReport report = payTickets(w.day);
        EXPECT_EQ(std::make_pair(report.paid, w.day.pools.ticketCounter), std::make_pair(0, 2124)) << blocked;
        EXPECT_NE(report.error.find(blocked), std::string::npos) << report.error;
        EXPECT_TRUE(w.prompter.sawText(report.error));
        EXPECT_FALSE(exists("wins.dat")) << blocked;
        std::filesystem::remove(w.dir / blocked);
        test::writeAll(w.dir / "players.dat", players);
        EXPECT_FALSE(exists("tickets.dat")) << blocked;
    }
    EXPECT_EQ(w.balance(ann), 100 * 100);

    w.day.card.racePoolsOpened[3] = false;
    const PaymentReport report = payTickets(w.day);
    EXPECT_EQ(report.error, "Betting on race 4 is closed: its pool files could not be written.");
    EXPECT_TRUE(w.prompter.sawText(report.error));
    EXPECT_EQ(paid(), std::vector<bool>{false});
    EXPECT_EQ(w.balance(ann), 10000);
    EXPECT_FALSE(exists("tickets.dat"));
}

// Once its journal is on disk a payment is made, even when players.dat cannot be put in place yet:
// the ticket is paid and charged, the player is told, and the next step puts the file in place.
TEST_F(TicketListTest, APaymentPastItsCommitIsPaidWhenAFileWaits) {
    test::FailingDisk fails("players.dat", EIO, FileOp::Rename); // after the payment's commit
    w.day.folder.setFaults(&fails);
    w.list("$16 Win on 1", 3);
    EXPECT_EQ(payTickets(w.day).paid, 1);
    EXPECT_EQ(std::make_pair(paid(), w.day.pools.ticketCounter),
              std::make_pair(std::vector<bool>{true}, 2125));
    EXPECT_EQ(w.balance(ann), 84 * 100);
    EXPECT_NE(w.said().find("Saved; one file could not be replaced yet"), std::string::npos) << w.said();
    w.day.folder.setFaults(nullptr);
    w.list("$2 Win on 2", 3);
    EXPECT_EQ(payTickets(w.day).paid, 1);
    EXPECT_EQ(lines("tickets.dat"), (Lines{"2125,3,16,Win,4,5/12/2026", "2126,3,2,Win,4,5/12/2026"}));
    EXPECT_EQ(lines("players.dat")[0], "3,Ann,82");
}

} // namespace
