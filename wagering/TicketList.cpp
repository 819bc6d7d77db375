#include "TicketList.h"
#include "core/Translate.h"

#include "BalanceCheck.h"
#include "BetEntry.h"
#include "ExchangeCredits.h"
#include "TicketPricing.h"
#include "core/Constants.h"
#include "players/Players.h"

#include <algorithm>

namespace sw {

namespace {

std::string notOfferedText(BetType type) {
    switch (type) {
    case BetType::DailyDouble:
        return _("The Daily Double is sold in race 2 only.");
    case BetType::Pick3:
        return _("The Pick 3 is sold in race 4 only.");
    case BetType::TwinTri:
    case BetType::TriSuper:
        return fillIn(_("The {0} is sold in races 1 to 11 only: its second half is run in the next race."),
                      betTitle(type));
    default:
        return _("The Pick 6 is sold in race 7 only.");
    }
}

} // namespace

std::string_view ticketStatusText(const ListedTicket& ticket) {
    auto parsed = parseTicketText(ticket.text);
    if (!parsed)
        return ticket.paid ? N_("paid") : N_("not a valid ticket");
    // A second half says which credit it uses; the credit pays for one of its combinations.
    if (parsed->exchange > 0)
        return ticket.paid ? N_("paid, exchanging its credit")
                           : N_("exchanges its credit for one combination");
    return ticket.paid ? N_("paid") : "";
}

bool hasUnpaidTickets(const RaceDay& day) {
    return std::any_of(day.tickets.begin(), day.tickets.end(), [&](const ListedTicket& t) {
        if (t.paid || findPlayer(day.players, t.playerId) < 0)
            return false;
        return parseTicketText(t.text).has_value();
    });
}

void clearTicketList(RaceDay& day) {
    day.tickets.clear();
}

bool TicketList::validSelection(const RaceDay& day) const {
    return m_selected >= 0 && m_selected < static_cast<int>(day.tickets.size());
}

bool TicketList::deleteUsable(const RaceDay& day) const {
    return validSelection(day);
}

void TicketList::showTicket(const RaceDay& day, int index) {
    const std::string& text = day.tickets[static_cast<std::size_t>(index)].text;
    auto ticket = parseTicketText(text);
    TicketPrice price;
    m_combos.clear();
    if (ticket) {
        price = priceTicket(*ticket);
        m_combos = combinationLines(*ticket);
    }
    m_ticketTotal = "$" + std::to_string(price.cost);
    m_ticketBets = std::to_string(price.count);
}

void TicketList::count(const ListedTicket& ticket, const TicketPrice& price, int sign) {
    m_totals.count += sign * price.count;
    m_totals.cost += sign * price.cost;
    if (!ticket.paid)
        m_unpaidCost[ticket.playerId] += sign * price.cost;
}

void TicketList::recount(const RaceDay& day) {
    m_totals = {};
    m_unpaidCost.clear();
    for (const ListedTicket& ticket : day.tickets)
        count(ticket, priceTicket(ticket.text), 1);
    m_counted = day.tickets.size();
    m_lastCounted = day.tickets.empty() ? ListedTicket{} : day.tickets.back();
}

void TicketList::keepCount(const RaceDay& day) {
    const bool same = m_counted == day.tickets.size() &&
                      (day.tickets.empty() || (day.tickets.back().text == m_lastCounted.text &&
                                               day.tickets.back().playerId == m_lastCounted.playerId &&
                                               day.tickets.back().paid == m_lastCounted.paid));
    if (!same)
        recount(day);
}

// The same owners ownersShortOfMoney finds, from the running costs: listed owners of unpaid
// tickets that cost more than their balance.
bool TicketList::ownerShortOfMoney(const RaceDay& day) const {
    for (const auto& [owner, cost] : m_unpaidCost) {
        if (cost <= 0 || findPlayer(day.players, owner) < 0)
            continue;
        // A balance that cannot be read covers nothing.
        const std::optional<Cents> balance = balanceOfPlayer(day, owner);
        if (!balance || static_cast<CentsFraction::Wide>(cost) * CentsPerDollar > *balance)
            return true;
    }
    return false;
}

void TicketList::showTotals(const RaceDay& day) {
    keepCount(day);
    m_total = "$" + std::to_string(m_totals.cost);
    m_numOfBets = std::to_string(m_totals.count);
}

void TicketList::balanceCheck(RaceDay& day) {
    keepCount(day);
    if (!ownerShortOfMoney(day))
        return;
    day.prompter.message(notEnoughMoneyText(), AppTitle);
    // Offers the selected ticket; inside a deletion nothing is selected, so this asks only once.
    // A window asks without waiting: the ticket goes when the player says so.
    if (validSelection(day))
        day.prompter.askThen(_(DeleteTicketQuestion), AppTitle, [this, &day](bool yes) {
            if (yes && validSelection(day))
                deleteTicket(day);
        });
}

bool TicketList::listTicket(RaceDay& day, std::string_view text, std::string* error) {
    const PlayerList& players = day.players;
    if (players.selected < 0 || players.selected >= static_cast<int>(players.entries.size())) {
        if (error)
            *error = _("Need to add a player.");
        return false;
    }
    auto ticket = parseTicketText(text, error);
    if (!ticket)
        return false;
    // Checked here, whichever way the ticket was built: the amount may change after the bet button.
    if (isSingleHorseBet(ticket->type) && ticket->amount < MinimumSingleHorseAmount) {
        if (error)
            *error = std::string(minimumAmountLine(ticket->type));
        return false;
    }
    // A wheel whose every selection names one horse twice buys nothing; listed, it would be paid
    // and numbered for $0.
    const TicketPrice price = priceTicket(*ticket);
    if (price.count == 0) {
        if (error)
            *error =
                fillIn(_("{0} covers no combination: no horse can take two places at once. Wheel different "
                         "horses."),
                       text);
        return false;
    }
    // A typed ticket keeps to the bets the race offers, as the bet buttons do: a multi-race bet
    // bought after its first leg was run would be a bet on a winner already known.
    if (ticket->exchange > 0) {
        const int32_t owner = players.entries[static_cast<std::size_t>(players.selected)].playerId;
        if (std::string problem = exchangeProblem(day, *ticket, owner); !problem.empty()) {
            if (error)
                *error = std::move(problem);
            return false;
        }
    } else if (!BetEntry::betButtonUsable(day, ticket->type)) {
        if (error)
            *error = notOfferedText(ticket->type);
        return false;
    }
    keepCount(day);
    day.tickets.push_back(ListedTicket{
        std::string(text), players.entries[static_cast<std::size_t>(players.selected)].playerId, false});
    count(day.tickets.back(), price, 1);
    m_counted = day.tickets.size();
    m_lastCounted = day.tickets.back();
    m_selected = static_cast<int>(day.tickets.size()) - 1;
    showTicket(day, m_selected);
    showTotals(day);
    balanceCheck(day);
    return true;
}

void TicketList::selectTicket(RaceDay& day, int index) {
    if (index < 0 || index >= static_cast<int>(day.tickets.size()))
        return;
    m_selected = index;
    showTotals(day);
    balanceCheck(day);
    if (validSelection(day))
        showTicket(day, m_selected);
}

bool TicketList::deleteTicket(RaceDay& day) {
    if (!validSelection(day))
        return false;
    keepCount(day);
    count(day.tickets[static_cast<std::size_t>(m_selected)],
          priceTicket(day.tickets[static_cast<std::size_t>(m_selected)].text), -1);
    day.tickets.erase(day.tickets.begin() + m_selected);
    m_counted = day.tickets.size();
    m_lastCounted = day.tickets.empty() ? ListedTicket{} : day.tickets.back();
    m_selected = -1;
    showTotals(day);
    balanceCheck(day);
    if (!day.tickets.empty()) {
        m_selected = static_cast<int>(day.tickets.size()) - 1;
        showTicket(day, m_selected);
    } else {
        m_ticketTotal = "$0";
        m_ticketBets = "0";
    }
    m_combos.clear();
    return true;
}

PaymentReport TicketList::payTickets(RaceDay& day) {
    PaymentReport report = payTicketsQuietly(day);
    recount(day);
    m_ticketTotal.clear();
    m_ticketBets.clear();
    m_total.clear();
    m_numOfBets.clear();
    m_combos.clear();
    return report;
}

void TicketList::ticketsRemoved(const RaceDay& day) {
    recount(day);
    m_selected = -1;
    refresh(day);
    if (!day.tickets.empty())
        showTotals(day);
}

void TicketList::refresh(const RaceDay& day) {
    if (validSelection(day))
        return;
    m_selected = -1;
    m_combos.clear();
    m_ticketTotal.clear();
    m_ticketBets.clear();
    if (day.tickets.empty()) {
        m_total.clear();
        m_numOfBets.clear();
    }
}

} // namespace sw
