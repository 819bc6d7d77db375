#pragma once

#include "core/Money.h"
#include "core/RaceDay.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sw {

// A player whose unpaid tickets cost more than that player's balance, or whose balance text no
// longer holds an amount the game can count to the cent.
struct Shortfall {
    int32_t playerId = 0;
    int64_t cost = 0; // the player's unpaid tickets together, whole dollars
    Cents balance = 0;
    bool balanceUnreadable = false; // the balance text is no number, or one past MaxCents
};

// Every listed owner of unpaid tickets who cannot pay for them, in the order of their first
// ticket. Each player's tickets are measured against that player's own balance; a total exactly
// equal to the balance is affordable. Paid tickets and tickets whose owner is no longer listed
// (never paid) cost nothing here.
std::vector<Shortfall> ownersShortOfMoney(const RaceDay& day);

// True when the ticket's owner is among the shortfalls.
bool isShort(const std::vector<Shortfall>& shortfalls, int32_t playerId);

// "You do not have enough money to place these bet(s)." and its two further lines, CR LF between.
std::string notEnoughMoneyText();
// What payment tells a player whose tickets it left unpaid: the name and the dollars missing.
std::string shortOfMoneyText(std::string_view name, const Shortfall& shortfall);

// A listed player's balance read exactly; 0 for a player who is not listed, none for one whose
// balance text holds no amount the game can count.
std::optional<Cents> balanceOfPlayer(const RaceDay& day, int32_t playerId);

} // namespace sw
