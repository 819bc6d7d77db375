#pragma once

#include "core/FileStore.h"
#include "core/RaceDay.h"
#include "core/Records.h"

#include <functional>
#include <string>
#include <string_view>

namespace sw {

// Load, save and trim the stable's files in the day's data folder.
// A file that cannot be read shows "Error reading <file>" under the message title and
// leaves the table as it was; the caller goes on.

bool loadHorses(RaceDay& day);
bool loadJockeys(RaceDay& day);
bool loadSettings(RaceDay& day);

FileError saveHorses(const RaceDay& day);
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

FileError appendPastPerformance(const RaceDay& day, const PastPerformance& line);
// Every non-blank line of pastperformances.dat in file order; false when the file cannot be read.
bool readPastPerformances(const RaceDay& day, const std::function<void(const PastPerformance&)>& onLine);
// Keeps each horse's 15 most recent lines, re-encoded, through pastperformances.tmp.
void trimPastPerformances(RaceDay& day);

FileError writeRaceCard(const RaceDay& day);
FileError clearResults(const RaceDay& day);

} // namespace sw
