#pragma once

#include "Money.h"

#include <cstdint>
#include <string>

namespace sw {

// A winning first half of a Twin-Tri or Tri-Super, held for the next race: exchanged there for a
// second half, or paid out at the first half's price when that race starts unexchanged.
struct ExchangeCredit {
    int32_t number = 0;      // the first half's ticket number in the race it was bought
    int32_t playerId = 0;    // its owner
    int32_t amount = 0;      // the first half's dollars a combination
    std::string betType;     // "Twin-Tri" or "Tri-Super"
    int32_t race = 0;        // the race 1..12 the credit is for (the one after the first half's)
    std::string combination; // the first half's winning posts, e.g. "3-5-1"
    Cents price = 0;         // the first half's $2 payoff
    int32_t exchangedBy = 0; // the second half's ticket number; 0 while not exchanged
};

} // namespace sw
