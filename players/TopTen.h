#pragma once

#include "core/FileStore.h"
#include "core/Money.h"
#include "core/RaceDay.h"

#include <string>
#include <string_view>
#include <vector>

namespace sw {

// The standings that close a race day, kept in top10players.dat.

inline constexpr int TopTenKept = 10;

struct Standing {
    std::string name;
    Cents amount = 0;
};

// Every record of top10players.dat's text (name, amount) in file order; blank lines are no records.
std::vector<Standing> parseStandings(std::string_view text);
// The ten best, highest first; equal amounts keep their order.
std::vector<Standing> bestStandings(std::vector<Standing> standings);
// The ten best records of the text, as bestStandings(parseStandings(text)) but holding no more
// than ten at a time: however long a hand edit made the file, the day's own results at its end
// still count.
std::vector<Standing> bestStandingsIn(std::string_view text);
// name,amount with its CR LF, the amount in its shortest plain form.
std::string standingRecord(const Standing& standing);

// Appends name,balance text for every listed player in list order, creating the file if missing.
// Standings that are there but cannot be read are left as they are (the error says so).
StepOutcome recordDayResults(RaceDay& day);

// Sorts the standings best first, rewrites the file with the best ten and returns their list
// lines: "$#######.00" right-aligned in 10, " - ", the name. A file that exists but cannot be
// read is reported ("Error reading top10players.dat") and kept.
std::vector<std::string> showTopTen(RaceDay& day);

} // namespace sw
