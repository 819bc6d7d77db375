#include "BalanceCheck.h"
#include "core/Translate.h"

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

namespace {

// The message boxes break their lines with CR LF; the catalog's texts break them with LF alone.
std::string withCrLf(std::string text) {
    for (std::size_t at = text.find('\n'); at != std::string::npos; at = text.find('\n', at + 2))
        text.insert(at, 1, '\r');
    return text;
}

} // namespace

std::string notEnoughMoneyText() {
    return withCrLf(_("You do not have enough money to place these bet(s).\n"
                      "Change your bet amount, reduce the number of selected horses,\n"
                      "or delete a bet."));
}

std::string shortOfMoneyText(std::string_view name, const Shortfall& shortfall) {
    const std::string who(name);
    if (shortfall.balanceUnreadable)
        return fillIn(
            _("{0}'s balance cannot be counted to the cent (it must be a number of at most ${1}), so "
              "{0}'s tickets were not paid."),
            who, centsText(MaxCents));
    return fillIn(
        withCrLf(_("{0} does not have enough money to pay for these bet(s): {1} short.\n"
                   "{0}'s tickets were not paid; change the bet amount, reduce the number of selected "
                   "horses,\n"
                   "or delete a bet.")),
        who,
        centsDollarText(static_cast<Cents>(static_cast<CentsFraction::Wide>(shortfall.cost) * CentsPerDollar -
                                           shortfall.balance)));
}

std::optional<Cents> balanceOfPlayer(const RaceDay& day, int32_t playerId) {
    int index = findPlayer(day.players, playerId);
    if (index < 0)
        return Cents{0};
    return readBalance(day.players.entries[static_cast<std::size_t>(index)]);
}

} // namespace sw
