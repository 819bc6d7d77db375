#pragma once

#include "core/FileStore.h"
#include "core/RaceDay.h"

#include <string>
#include <string_view>
#include <vector>

namespace sw {

// The standings that close a race day, kept in top10players.dat.

// Most entries the standings read from the file; anything beyond is dropped by the next rewrite.
inline constexpr int TopTenReadLimit = 1001;
inline constexpr int TopTenKept = 10;

struct Standing {
    std::string name;
    double amount = 0;
};

// The first 1001 records of top10players.dat's text (name, amount) in file order; blank lines
// are no records.
std::vector<Standing> parseStandings(std::string_view text);
// The ten best, highest first; equal amounts keep their order.
std::vector<Standing> bestStandings(std::vector<Standing> standings);
// name,amount with its CR LF, the amount in the shortest double form.
std::string standingRecord(const Standing& standing);

// Appends name,balance text for every listed player in list order, creating the file if missing.
// Standings that are there but cannot be read are left as they are (the error says so).
StepOutcome recordDayResults(RaceDay& day);

// Sorts the standings best first, rewrites the file with the best ten and returns their list
// lines: "$#######.00" right-aligned in 10, " - ", the name. A file that exists but cannot be
// read is reported ("Error reading top10players.dat") and kept.
std::vector<std::string> showTopTen(RaceDay& day);

} // namespace sw
