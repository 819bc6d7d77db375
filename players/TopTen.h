#pragma once

#include "core/FileStore.h"
#include "core/RaceDay.h"

#include <string>
#include <vector>

namespace sw {

// The standings that close a race day, kept in top10players.dat.

// Most entries the standings read from the file; anything beyond is dropped by the next rewrite.
inline constexpr int TopTenReadLimit = 1001;
inline constexpr int TopTenKept = 10;

// Appends name,balance text for every listed player in list order, creating the file if missing.
FileError recordDayResults(const RaceDay& day);

// Sorts the standings best first (equal amounts keep their file order), rewrites the file with
// the best ten and returns their list lines: "$#######.00" right-aligned in 10, " - ", the name.
// A file that exists but cannot be read is reported ("Error reading top10players.dat") and kept.
std::vector<std::string> showTopTen(const RaceDay& day);

} // namespace sw
