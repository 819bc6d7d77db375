#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace sw {

// One listed player. The balance text is the authoritative balance, as the list shows it.
struct PlayerEntry {
    int32_t playerId = 0;
    std::string name;
    std::string balance; // the money in its shortest plain text, e.g. "400" or "397.5"
};

// The players of the day, in list order, with the one selected index the bettor list,
// balances and numbers share (-1: none).
struct PlayerList {
    std::vector<PlayerEntry> entries;
    int selected = -1;
    // What the balance label shows ("397.50"); it keeps its last text when nobody is selected.
    std::string balanceLabel;
    // The numbers of the players deleted since the start of the day: tickets belong to a number,
    // so no number is ever given to a second player on the same day.
    std::vector<int32_t> retiredNumbers;
};

} // namespace sw
