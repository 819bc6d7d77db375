#pragma once

#include "core/Constants.h"

#include <array>
#include <string>
#include <vector>

namespace sw {

// A past line's columns one by one, as the window's table shows them: post, the quarter, the half
// and its margin, three quarters and its margin, the finish and its margin, time, purse, odds and
// comment.
inline constexpr std::size_t PastLineColumns = 12;
using PastLineCells = std::array<std::string, PastLineColumns>;
// A jockey standings row: name, starts, firsts, seconds, thirds, fourths and "$" earnings.
inline constexpr std::size_t StandingColumns = 7;
using StandingCells = std::array<std::string, StandingColumns>;

// What the racing program shows for one entry.
struct ProgramEntryView {
    std::string horseName;    // lblHorseName
    std::string jockey;       // lblGrade: jockey name and class marker
    std::string jockeyRecord; // lblGrade tooltip
    std::string starts, firsts, seconds, thirds, fourths;
    std::string earnings;                 // lblEarnings: "$" and whole dollars
    std::vector<std::string> pastLines;   // lstPast, oldest first
    std::vector<PastLineCells> pastCells; // the same lines column by column
};

// Every text of the racing program for the race it shows.
struct ProgramView {
    int race = 0;            // the race shown, 1..12; 0 when none
    std::string raceNumber;  // lblRace
    std::string purse;       // lblRaceGrade: "$3000"
    std::string distance;    // lblDistance
    std::string betsOffered; // lblBets
    std::array<ProgramEntryView, FieldSize> entries;
    std::string trackRecord;                     // lblTrackRecord: "0:27.35"
    std::vector<std::string> trackRecordHolders; // lstTrackRecord
    std::vector<std::string> jockeyStandings;    // lstJockeys, best earner first
    std::vector<StandingCells> jockeyCells;      // the same rows column by column
};

} // namespace sw
