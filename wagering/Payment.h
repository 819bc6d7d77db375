#pragma once

#include "BalanceCheck.h"
#include "core/RaceDay.h"
#include "tote/PoolFiles.h"
#include "wagering/TicketPricing.h"

#include <string>
#include <string_view>
#include <vector>

namespace sw {

struct PaymentReport {
    int paid = 0;                        // tickets paid by this payment
    int badExchanges = 0;                // second halves whose credit cannot be used: left unpaid
    int orphaned = 0;                    // tickets whose owner is no longer listed: nobody pays for them
    std::vector<Shortfall> shortOfMoney; // players whose tickets were left unpaid, none of them charged
    std::string error;                   // a file that could not be written; payment stopped there
    std::vector<std::string> messages;   // what the players are told of it, in order
};

// Pays every unpaid ticket in list order: numbers it, logs it in tickets.dat, appends its pool
// lines, marks it paid and charges its owner (a second half also marks its credit exchanged, in
// exchangecredits.dat with the rest); the tote is refreshed from the pool files before
// any message and at the end, so it always shows every ticket paid, and players.dat is saved
// once with every charge. Tickets already paid are never paid again. A player whose unpaid
// tickets cost more than their balance has none of them paid, so nobody is taken below zero, and
// is told by name how much is missing; everyone else's tickets are paid all the same. Tickets of
// a player no longer listed are never paid.
PaymentReport payTickets(RaceDay& day);
// The same without a word to the players: the report's messages are left for the caller to say
// once what it shows is current. Touches nothing but the day, so it may run off the window thread.
PaymentReport payTicketsQuietly(RaceDay& day);

// The pool files a ticket's lines go to; an Across The Board horse goes to all three.
std::vector<PoolFile> poolFilesOf(const ParsedTicket& ticket);

} // namespace sw
