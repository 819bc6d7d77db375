#pragma once

#include "core/DataFolder.h"
#include "core/RaceDay.h"
#include "core/Records.h"

#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace sw {

// Load, save and trim the stable's files in the day's data folder.
// A file that cannot be read shows "Error reading <file>" under the message title and
// leaves the table as it was; the caller goes on. Each load notes in day.folder how the file read.

// Fills horses 1..200 from horses.dat record by record.
ReadStatus loadHorses(RaceDay& day);
// Fills jockeys 1..32 from jockeys.dat record by record.
ReadStatus loadJockeys(RaceDay& day);
// Reads the settings line; when the file cannot be read the day has the factory settings.
ReadStatus loadSettings(RaceDay& day);

// The files' text as the loads parse it, tolerantly: records fill the table from slot 1 in order,
// a field a line lacks (or that is no number) keeps the value it had, blank lines are no records
// and lines beyond the table are ignored. Returns how many slots the text filled.
// A line too long to read whole (over MaxLineLength) leaves its slot blank; the Keeping forms
// hand it back in `kept`, by slot, as it stands.
std::size_t parseHorses(std::string_view text, HorseTable& horses);
std::size_t parseJockeys(std::string_view text, JockeyTable& jockeys);
std::size_t parseHorsesKeeping(std::string_view text, HorseTable& horses,
                               std::map<std::size_t, std::string>& kept);
std::size_t parseJockeysKeeping(std::string_view text, JockeyTable& jockeys,
                                std::map<std::size_t, std::string>& kept);
// The file's text from the table, each kept line in its slot's place as it stands.
std::string stableText(const HorseTable& horses, const std::map<std::size_t, std::string>& kept);
std::string stableText(const JockeyTable& jockeys, const std::map<std::size_t, std::string>& kept);
// The first non-blank line over the settings given.
Settings parseSettingsFile(std::string_view text, Settings settings = {});
// Every non-blank line in file order. A hand-edited file may hold lines whose horse is outside
// 1..200: check before indexing.
std::vector<PastPerformance> parsePastPerformances(std::string_view text);
// The text keeping each horse's 15 most recent lines, re-encoded. Lines whose horse is outside
// 1..200 are kept as they stand; blank lines are dropped.
std::string trimmedPastPerformances(std::string_view text);

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

// Adds to the changes pastperformances.dat with each horse's 15 most recent lines, re-encoded, and
// its scratch copy pastperformances.tmp. Lines whose horse is outside 1..200 are kept as they
// stand; blank lines are dropped. Nothing is added when the file cannot be read. Notes the day's
// load of the file in the folder, so one that could not be read is never added to.
void trimPastPerformances(RaceDay& day, FileChanges& changes);

// Rewrites races.dat: per race r+1,1,0,date, then the eight horses in post order.
FileError writeRaceCard(const RaceDay& day);

} // namespace sw
