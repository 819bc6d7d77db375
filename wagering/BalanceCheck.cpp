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
        if (it == owners.end())
            it = owners.insert(owners.end(),
                               Shortfall{listed.playerId, 0, balanceOfPlayer(day, listed.playerId)});
        it->cost += price.cost;
    }
    std::erase_if(owners, [](const Shortfall& s) { return static_cast<double>(s.cost) <= s.balance; });
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
    return who + " does not have enough money to pay for these bet(s): " +
           dollarText(static_cast<double>(shortfall.cost) - shortfall.balance) + " short.\r\n" + who +
           "'s tickets were not paid; change the bet amount, reduce the number of selected horses,\r\n"
           "or delete a bet.";
}

double balanceOfPlayer(const RaceDay& day, int32_t playerId) {
    int index = findPlayer(day.players, playerId);
    if (index < 0)
        return 0;
    double balance = 0;
    if (!parseLeadingNumber(day.players.entries[static_cast<std::size_t>(index)].balance, balance))
        return 0;
    return balance;
}

} // namespace sw
