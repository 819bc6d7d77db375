#pragma once

#include "core/RaceDay.h"
#include "core/Random.h"
#include "core/Records.h"

#include <string>
#include <string_view>

namespace sw {

// The question the reset asks before it touches anything.
inline constexpr std::string_view ResetQuestion =
    "WARNING!!! This will reset all the horse database.  Do you want to continue?";

// A horse as a fresh stable holds it: unraced in grade "M" with ratings drawn in this order:
// five segment ratings 4..8, the path draw 0..9, the horse rating 50..79.
Horse freshHorse(const std::string& name, Random& random);

// A jockey with name and skill kept and the record cleared.
Jockey freshJockey(const Jockey& jockey);

// Writes a fresh stable from the names and skills in memory, without asking: empties
// pastperformances.dat, writes the factory settings, jockeys.dat and horses.dat. The tables in
// memory are left as they are; the next start of a day loads the files. All of it or nothing.
FileError writeFreshStable(RaceDay& day);

// Asks first; on Yes writes a fresh stable. True when it ran.
bool resetDatabase(RaceDay& day);

} // namespace sw
