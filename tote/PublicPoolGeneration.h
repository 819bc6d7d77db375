#pragma once

#include "core/FileStore.h"
#include "core/RaceDay.h"
#include "core/Records.h"

#include <array>
#include <functional>
#include <optional>
#include <string_view>
#include <vector>

namespace sw {

// What the betting public knows of one entry: the horse's record and its past lines in file
// order (only the first 15 weigh in the money rating).
struct EntryForm {
    Horse horse;
    std::vector<PastPerformance> pastLines;
};
using FieldForm = std::array<EntryForm, FieldSize>;

// Points a past line's race grade earns: M 1, J 5, C 10, B 20, A 40, AA 80, anything else 0.
int gradePoints(std::string_view gradeLetter);

// The public's win money per entry: form, earnings per start, segment ratings and a bonus by
// segment rank (equal sums share the worse rank). nullopt where the figure overflows 32 bits.
std::array<std::optional<int32_t>, FieldSize> moneyRatings(const FieldForm& field);

// Loading figures 0..100 for the splash window.
using LoadingProgress = std::function<void(int percent)>;

struct GenerationOutcome {
    bool poolFilesWritten = false;
    FileError error; // the first pool file that could not be written
};

// Writes the exotic money of the field from its win money, drawing one factor per horse of each
// combination in the public's order.
void generateExoticPools(Pools& pools, Random& random);

// The seven single-race pool files with the public's line for every combination of day.pools,
// numbered from 1 in the order wins/places/shows by post, then quiniela, exacta, trifecta and
// superfecta as the combinations nest; all seven or none. Sets the quiniela and exacta odds.
GenerationOutcome writePublicPoolFiles(RaceDay& day, const LoadingProgress& progress = {});

// Makes up the public's money for race 1..12 from the field's form. Always: win pool, total,
// win odds and, until the race's pools are opened, its row of public odds. Unless quick: place, show and
// exotic pools, the consistency bands and, when race is the one about to be run and its pools are not yet
// opened, the seven single-race pool files (public lines 1..2124) with the quiniela and exacta odds. The
// opening draws the exotic money from the race's own stream (day.raceStream, started from its seed); any
// other showing from a stream of its own, never from a generator a race draws from. A value whose computation
// divides by zero or overflows is skipped and keeps its old value.
GenerationOutcome publicPoolGeneration(RaceDay& day, int race, bool quick, const FieldForm& field,
                                       const LoadingProgress& progress = {});

} // namespace sw
