#pragma once

#include "core/Translate.h"

#include "core/RaceDay.h"
#include "core/Random.h"
#include "core/Records.h"

#include <string>
#include <string_view>

namespace sw {

// The question the reset asks before it touches anything.
inline constexpr std::string_view ResetQuestion =
    N_("WARNING!!! This will reset all the horse database.  Do you want to continue?");

// A horse as a fresh stable holds it: unraced in grade "M" with ratings drawn in this order:
// five segment ratings 4..8, the path draw 0..9, the horse rating 50..79.
Horse freshHorse(const std::string& name, Random& random);

// A jockey with name and skill kept and the record cleared.
Jockey freshJockey(const Jockey& jockey);

// What the reset names a horse or jockey slot that holds no name (its file was missing or cut
// short): "Horse 7"; "Jockey 7" with skill 7 % 3.
std::string standInHorseName(int number);
Jockey standInJockey(int number);

// Writes a fresh stable from the names and skills in memory, without asking, in one step:
// pastperformances.dat emptied, the factory settings, jockeys.dat and horses.dat, or nothing
// when one cannot be written (one that could not be read at the start of the day never is).
// The tables in memory are left as they are; the next start of a day loads the files.
StepOutcome writeFreshStable(RaceDay& day);

// Writes a fresh stable (the game asks first). True when it ran; a stable that could not be written
// is reported and left as it was.
bool resetDatabase(RaceDay& day);

} // namespace sw
