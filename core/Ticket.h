#pragma once

#include <cstdint>
#include <string>

namespace sw {

// One ticket in the ticket list of the race being bet.
struct ListedTicket {
    std::string text;     // e.g. "$2 Exacta Box 134"
    int32_t playerId = 0; // the player selected when the ticket was listed: its owner
    bool paid = false;
};

} // namespace sw
