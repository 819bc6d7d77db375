#pragma once

#include "core/RaceDay.h"

#include <string>
#include <string_view>

namespace sw {

inline constexpr std::string_view NotTakenYetText =
    "Twin-Tri and Tri-Super bets are not taken yet: those tickets stay on the list unpaid and cost nothing.";

struct PaymentReport {
    int paid = 0;              // tickets paid by this payment
    int notTaken = 0;          // Twin-Tri and Tri-Super tickets passed over
    bool stoppedShort = false; // stopped before the first ticket of a player who cannot pay
    std::string error;         // a file that could not be written; payment stopped there
};

// Pays every unpaid ticket in list order: numbers it, logs it in tickets.dat, appends its pool
// lines, marks it paid and charges its owner; the tote is refreshed from the pool files before
// any message and at the end, so it always shows every ticket paid, and players.dat is saved
// once with every charge. Tickets already paid are never
// paid again. Payment stops before the first ticket of a player whose unpaid tickets cost more
// than that player's balance, so nobody is taken below zero; tickets paid before that stay paid.
PaymentReport payTickets(RaceDay& day);

} // namespace sw
