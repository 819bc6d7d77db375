#pragma once

#include "core/DataFolder.h"
#include "core/RaceDay.h"
#include "core/Records.h"

#include <functional>
#include <string>
#include <string_view>

namespace sw {

// Load, save and trim the stable's files in the day's data folder.
// A file that cannot be read shows "Error reading <file>" under the message title and
// leaves the table as it was; the caller goes on.

// Fills horses 1..200 from horses.dat record by record; false when the file cannot be read.
bool loadHorses(RaceDay& day);
// Fills jockeys 1..32 from jockeys.dat record by record; false when the file cannot be read.
bool loadJockeys(RaceDay& day);
// Reads the settings line; false when the file cannot be read.
bool loadSettings(RaceDay& day);

// Rewrites horses.dat from horses 1..200.
FileError saveHorses(const RaceDay& day);
// Rewrites jockeys.dat from jockeys 1..32.
FileError saveJockeys(const RaceDay& day);
// The line StartAmount,DefaultBetAmount,,,TrackRecord.
FileError saveSettings(const RaceDay& day);

// Record text (with CR LF) and tolerant parsing of one line of each file.
std::string horseRecord(const Horse& horse);
void parseHorse(std::string_view line, Horse& horse);
std::string jockeyRecord(const Jockey& jockey);
void parseJockey(std::string_view line, Jockey& jockey);
std::string pastPerformanceRecord(const PastPerformance& line);
PastPerformance parsePastPerformance(std::string_view line);

// Every non-blank line of pastperformances.dat in file order; false when the file cannot be read.
// A hand-edited file may hold lines whose horse is outside 1..200: check before indexing.
bool readPastPerformances(const RaceDay& day, const std::function<void(const PastPerformance&)>& onLine);
// Adds to the changes pastperformances.dat with each horse's 15 most recent lines, re-encoded, and
// its scratch copy pastperformances.tmp. Lines whose horse is outside 1..200 are kept as they
// stand; blank lines are dropped. Nothing is added when the file cannot be read.
void trimPastPerformances(RaceDay& day, FileChanges& changes);

// Rewrites races.dat: per race r+1,1,0,date, then the eight horses in post order.
FileError writeRaceCard(const RaceDay& day);

} // namespace sw
