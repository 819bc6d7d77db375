#include "BalanceCheck.h"

#include "TicketPricing.h"
#include "core/Format.h"
#include "core/TextEncoding.h"
#include "players/Players.h"

#include <algorithm>

namespace sw {

std::vector<Shortfall> ownersShortOfMoney(const RaceDay& day) {
    std::vector<Shortfall> owners;
    for (const auto& listed : day.tickets) {
        if (listed.paid)
            continue;
        if (findPlayer(day.players, listed.playerId) < 0)
            continue;
        TicketPrice price = priceTicket(listed.text);
        auto it = std::find_if(owners.begin(), owners.end(),
                               [&](const Shortfall& s) { return s.playerId == listed.playerId; });
        if (it == owners.end()) {
            const std::optional<Cents> balance = balanceOfPlayer(day, listed.playerId);
            it = owners.insert(owners.end(), Shortfall{listed.playerId, 0, balance.value_or(0), !balance});
        }
        it->cost += price.cost;
    }
    std::erase_if(owners, [](const Shortfall& s) {
        return !s.balanceUnreadable && static_cast<CentsFraction::Wide>(s.cost) * CentsPerDollar <= s.balance;
    });
    return owners;
}

bool isShort(const std::vector<Shortfall>& shortfalls, int32_t playerId) {
    return std::any_of(shortfalls.begin(), shortfalls.end(),
                       [&](const Shortfall& s) { return s.playerId == playerId; });
}

std::string notEnoughMoneyText() {
    return "You do not have enough money to place these bet(s).\r\n"
           "Change your bet amount, reduce the number of selected horses,\r\n"
           "or delete a bet.";
}

std::string shortOfMoneyText(std::string_view name, const Shortfall& shortfall) {
    const std::string who(name);
    if (shortfall.balanceUnreadable)
        return who + "'s balance cannot be counted to the cent (it must be a number of at most $" +
               centsText(MaxCents) + "), so " + who + "'s tickets were not paid.";
    return who + " does not have enough money to pay for these bet(s): " +
           centsDollarText(static_cast<Cents>(
               static_cast<CentsFraction::Wide>(shortfall.cost) * CentsPerDollar - shortfall.balance)) +
           " short.\r\n" + who +
           "'s tickets were not paid; change the bet amount, reduce the number of selected horses,\r\n"
           "or delete a bet.";
}

std::optional<Cents> balanceOfPlayer(const RaceDay& day, int32_t playerId) {
    int index = findPlayer(day.players, playerId);
    if (index < 0)
        return Cents{0};
    return readBalance(day.players.entries[static_cast<std::size_t>(index)]);
}

} // namespace sw
