#pragma once

#include "core/Translate.h"

#include "Payment.h"
#include "TicketPricing.h"
#include "core/RaceDay.h"

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace sw {

inline constexpr std::string_view DeleteTicketQuestion = N_("Are you sure you want to delete the ticket?");

// What the list says of a ticket beside its text: "paid", "not a valid ticket", what a Twin-Tri or
// Tri-Super second half does with its credit, or nothing while it waits to be paid.
std::string_view ticketStatusText(const ListedTicket& ticket);

// True when a listed ticket can still be paid (not paid yet, a valid ticket, its owner listed).
bool hasUnpaidTickets(const RaceDay& day);

// Empties the ticket list for the next race; tickets.dat and the pool files keep what was paid.
void clearTicketList(RaceDay& day);

// The ticket frame: the selected ticket, its combinations, its count and cost, and the totals of
// all listed tickets. The tickets themselves live in the race day.
class TicketList {
public:
    // Lists a ticket owned by the selected player and selects it: its combinations and labels are
    // shown, then the totals, and the owners' balances are checked. False, with the reason in
    // *error, when no player is selected, the text is not a ticket, bets less than the $2 minimum
    // of Win, Place, Show and Across The Board, covers no combination, the race does not offer
    // its multi-race or exchange bet, or a second half cannot use the credit it names.
    bool listTicket(RaceDay& day, std::string_view text, std::string* error = nullptr);

    // Shows the totals and checks the balances, then shows the ticket at index (if still listed).
    void selectTicket(RaceDay& day, int index);

    // Removes the selected ticket (the game asks first); false when nothing was removed. Recorded tickets
    // stay recorded: tickets.dat and the pool files are not touched.
    bool deleteTicket(RaceDay& day);

    // Pays every unpaid ticket, then empties the four labels and the combinations. Says nothing:
    // the report's messages are the caller's to say once the screen shows the payment.
    PaymentReport payTickets(RaceDay& day);

    // Forgets a selection the list no longer holds, after the list was changed elsewhere.
    void refresh(const RaceDay& day);
    // After tickets were taken out elsewhere (a deleted player's): the selection may name another
    // ticket now, so nothing stays selected, and the totals are those of the tickets left.
    void ticketsRemoved(const RaceDay& day);

    // Index of the selected ticket, or -1.
    int selected() const { return m_selected; }
    // The selected ticket's combination lines (lstCombos), capped for display.
    const std::vector<std::string>& combinations() const { return m_combos; }
    // "$" + cost of the selected ticket (lblTotTicketNum).
    const std::string& ticketTotal() const { return m_ticketTotal; }
    // Count of the selected ticket (lblTicketNumBets).
    const std::string& ticketBets() const { return m_ticketBets; }
    // "$" + cost of all tickets (lblTotalNum).
    const std::string& total() const { return m_total; }
    // Count of all tickets (lblNumOfBets).
    const std::string& numOfBets() const { return m_numOfBets; }

    // Delete is usable while a listed ticket is selected.
    bool deleteUsable(const RaceDay& day) const;
    // Pay is usable while a listed ticket can still be paid; otherwise it would do nothing.
    static bool payUsable(const RaceDay& day) { return hasUnpaidTickets(day); }

private:
    // The totals and each owner's unpaid cost are kept as tickets come and go, so listing a ticket
    // prices that ticket alone; a list changed elsewhere is counted afresh.
    void recount(const RaceDay& day);
    void keepCount(const RaceDay& day);
    void count(const ListedTicket& ticket, const TicketPrice& price, int sign);
    bool ownerShortOfMoney(const RaceDay& day) const;
    bool validSelection(const RaceDay& day) const;
    void showTicket(const RaceDay& day, int index);
    void showTotals(const RaceDay& day);
    void balanceCheck(RaceDay& day);

    int m_selected = -1;
    std::vector<std::string> m_combos;
    std::string m_ticketTotal;
    std::string m_ticketBets;
    std::string m_total;
    std::string m_numOfBets;

    TicketTotals m_totals;
    std::unordered_map<int32_t, int64_t> m_unpaidCost; // by owner
    // What the running figures were counted over: the list's length and its last ticket.
    std::size_t m_counted = 0;
    ListedTicket m_lastCounted;
};

} // namespace sw
