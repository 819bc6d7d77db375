#pragma once

#include "core/RaceDay.h"

#include <array>
#include <string>
#include <vector>

namespace sw {

// One column of the win/place/show board.
struct ToteBoardEntry {
    std::string number;      // lblTotHorse: the post
    std::string horseName;   // lblTotHorse tooltip
    std::string winTotal;    // lblWinTot
    std::string placeTotal;  // lblPlaceTot
    std::string showTotal;   // lblShowTot
    std::string odds;        // lblOdds: the fractional odds text
    std::string oddsTooltip; // "$2 Win Bet pays: $6.60"
};

// Everything the board's first tab shows, read from the day's pools.
struct ToteBoard {
    std::array<ToteBoardEntry, FieldSize> entries;
    // The "Pool Total" row and the grids' totals.
    std::string winPool, placePool, showPool, quinielaPool, exactaPool;
    int favourite = -1; // entry with the lowest win odds among those with win money; -1 when none
};

// The quiniela or exacta odds of every entry with a chosen "and" horse.
struct OddsGrid {
    int andHorse = 1;                           // lblQuinAnd / lblExactaAnd
    std::array<std::string, FieldSize> odds;    // blank for the "and" horse itself
    std::array<std::string, FieldSize> tooltip; // "$2 Quiniela Bet pays: $.." or "$2 Exacta Bet pays: $.."
    std::array<std::string, FieldSize> hoverTooltip; // "$2 Quiniela pays: $.." or "$2 Exacta pays: $.."
};

// The board of the race the pools hold; horse names come from the per-entry tables.
ToteBoard toteBoard(const RaceDay& day);

// Quiniela odds of each entry paired with andHorse (1..8, clamped).
OddsGrid quinielaGrid(const RaceDay& day, int andHorse);
// Exacta odds of andHorse (1..8, clamped) first and each entry second.
OddsGrid exactaGrid(const RaceDay& day, int andHorse);

// What a $2 win bet on the entry (0..7) would return now, and why, one step a line; the last line
// ends with the payoff the cell's tooltip shows.
std::vector<std::string> explainWinCell(const RaceDay& day, int entry);
// What $2 on a grid cell's pair (entries 0..7, different) would return now, and why: the exacta
// with first ahead of second, else the quiniela of the two in either order. The last line ends
// with the payoff the cell's tooltip shows; empty for a pair that is no cell.
std::vector<std::string> explainGridCell(const RaceDay& day, bool exacta, int first, int second);

} // namespace sw
