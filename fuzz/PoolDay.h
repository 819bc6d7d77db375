#pragma once

#include "FuzzSupport.h"

#include "core/RaceDay.h"

#include <map>
#include <string>

namespace sw::fuzz {

// The files of a race about to be run: race 1's public pools with two players' paid tickets of
// every bet, kept in memory so that every input settles against the same files.
class PoolDay {
public:
    explicit PoolDay(FuzzFolder& folder);

    // Writes the saved files back into the folder.
    void restore() const;
    // The players as they stood after paying.
    const PlayerList& players() const { return m_players; }

    // Settles races 1, 3, 6 and 12 in turn on the folder (single-race pools, then each multi-race
    // bet's last leg); a settlement that takes money from a player stops the run.
    void settleDay(Prompter& prompter) const;

private:
    FuzzFolder& m_folder;
    std::map<std::string, std::string> m_files;
    PlayerList m_players;
};

} // namespace sw::fuzz
