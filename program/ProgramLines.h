#pragma once

#include "core/Records.h"
#include "program/ProgramView.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace sw {

// One lstPast line: post, calls with margins, finish, time, purse, odds and comment in fixed columns.
std::string pastPerformanceText(const PastPerformance& line);
// The same line's columns each on its own, without the padding that lines them up in text.
PastLineCells pastPerformanceCells(const PastPerformance& line);

// Purse column of a past line: "1K" for an "M" race up to "6K" for "AA"; empty for no grade.
std::string pastPurseText(std::string_view gradeLetter);

// lblBets: the bets every race offers, the multi-race bet (or leg) of race 1..12, then "Betting".
std::string betsOfferedText(int race);

// " (A)", " (R)" or " (V)" for a jockey's skill 0, 1, 2; empty for any other value.
std::string jockeyMarker(int skill);

// Tooltip of a jockey: starts, firsts, seconds, thirds, fourths and "$" earnings.
std::string jockeyRecordText(const Jockey& jockey);

// lstJockeys: jockeys 1..32 sorted by earnings, best first, one fixed-column line each.
std::vector<std::string> jockeyStandings(const std::array<Jockey, JockeyCount + 1>& jockeys);
// The same standings, in the same order, column by column.
std::vector<StandingCells> jockeyStandingCells(const std::array<Jockey, JockeyCount + 1>& jockeys);
// The standings' heading for a fixed-width font, its labels right-aligned over the figures.
std::string jockeyStandingsHeading();

// lblTrackRecord: the record as a time, or "none yet" while it is 999 (or a missing settings
// file's 0), which no race has run.
std::string trackRecordText(float record);

// lstTrackRecord: names of the horses whose best time is the track record; none while the
// record is 999 (no record yet).
std::vector<std::string> trackRecordHolders(const Database& db);

} // namespace sw
