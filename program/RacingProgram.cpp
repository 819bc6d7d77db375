#include "RacingProgram.h"

#include "ProgramLines.h"
#include "ProgramTexts.h"

#include "core/FileStore.h"
#include "core/Format.h"
#include "core/GradeTables.h"
#include "core/TextEncoding.h"
#include "database/DatabaseFiles.h"
#include "tote/Tote.h"

#include <array>
#include <optional>
#include <utility>
#include <vector>

namespace sw {

namespace {

const Horse& horseAt(const RaceDay& day, int32_t number) {
    static const Horse none;
    return number >= 1 && number <= HorseCount ? day.db.horses[static_cast<std::size_t>(number)] : none;
}

const Jockey& jockeyAt(const RaceDay& day, int32_t number) {
    static const Jockey none;
    return number >= 1 && number <= JockeyCount ? day.db.jockeys[static_cast<std::size_t>(number)] : none;
}

// The standings show jockeys.dat as it is on disk. A missing file leaves the table as it was,
// without a message: the program goes on showing what it has.
void reloadJockeys(RaceDay& day) {
    const FileContent content = day.folder.read("jockeys.dat");
    if (content.read())
        parseJockeys(content.bytes, day.db.jockeys);
}

void copyToEntryTables(EntryTables& tables, std::size_t h, const Horse& horse) {
    tables.name[h] = horse.name;
    tables.starts[h] = horse.starts;
    tables.firsts[h] = horse.firsts;
    tables.seconds[h] = horse.seconds;
    tables.thirds[h] = horse.thirds;
    tables.fourths[h] = horse.fourths;
    tables.earnings[h] = horse.earnings;
    for (std::size_t s = 0; s < horse.segmentRating.size(); ++s)
        tables.segmentRating[h][s] = horse.segmentRating[s];
    tables.path[h] = horse.path;
    tables.formValue[h] = horse.formValue;
    tables.bestTime[h] = horse.bestTime;
    tables.spareFlag[h] = horse.spareFlag;
}

// The pools of the race about to be run come from its files once they hold it; until they could
// be written they would hold an earlier race, and the generated pools stand.
void refreshFromOpenedPools(RaceDay& day) {
    if (day.currentRace >= 0 && day.currentRace < RacesPerDay &&
        day.card.racePoolsOpened[static_cast<std::size_t>(day.currentRace)])
        toteRefresh(day);
}

// The horse a past-performance line is about: its first field, taken straight from the text when
// it is plain digits, as the game writes it.
int16_t horseOfLine(std::string_view text) {
    int value = 0;
    std::size_t i = 0;
    for (; i < text.size() && i < 4 && text[i] >= '0' && text[i] <= '9'; ++i)
        value = value * 10 + (text[i] - '0');
    if (i > 0 && i < text.size() && text[i] == ',')
        return static_cast<int16_t>(value);
    int16_t horse = 0;
    FieldReader(text).read(horse);
    return horse;
}

// The past lines of each entry, in file order.
using EntryPastLines = std::array<std::vector<PastPerformance>, FieldSize>;
using CardPastLines = std::array<EntryPastLines, RacesPerDay>;

// The past lines of the entries of the races wanted (index 0..11), from one pass over the past
// performances' text: it holds the whole stable's, so only the entries' lines are parsed in full.
CardPastLines pastLinesOf(std::string_view text, const RaceCard& card,
                          const std::array<bool, RacesPerDay>& wanted) {
    struct Slot {
        int32_t horse;
        std::size_t race;
        std::size_t entry;
    };
    std::vector<Slot> slots;
    std::array<bool, HorseCount + 1> entered{};
    for (std::size_t r = 0; r < RacesPerDay; ++r)
        for (std::size_t h = 0; wanted[r] && h < FieldSize; ++h) {
            const int32_t horse = card.raceHorse[r][h];
            slots.push_back({horse, r, h});
            if (horse >= 1 && horse <= HorseCount)
                entered[static_cast<std::size_t>(horse)] = true;
        }

    CardPastLines lines;
    forEachLineIn(text, [&](std::string_view line) {
        const int16_t horse = horseOfLine(line);
        if (horse == 0 || (horse >= 1 && horse <= HorseCount && !entered[static_cast<std::size_t>(horse)]))
            return;
        std::optional<PastPerformance> parsed;
        for (const Slot& slot : slots) {
            if (slot.horse != horse)
                continue;
            if (!parsed)
                parsed = parsePastPerformance(line);
            lines[slot.race][slot.entry].push_back(*parsed);
        }
    });
    return lines;
}

CardPastLines readPastLines(const RaceDay& day, const std::array<bool, RacesPerDay>& wanted) {
    return pastLinesOf(day.folder.read("pastperformances.dat").bytes, day.card, wanted);
}

CardPastLines readPastLines(const RaceDay& day, int race) {
    std::array<bool, RacesPerDay> wanted{};
    wanted[static_cast<std::size_t>(race - 1)] = true;
    return readPastLines(day, wanted);
}

// What choosing race 1..12 does to the day: the bets offered, the per-entry tables and the
// public's money, with the pool files when the race is the one about to be run (see
// publicPoolGeneration).
void prepareRace(RaceDay& day, int race, bool quick, EntryPastLines pastLines,
                 const LoadingProgress& progress) {
    const auto r = static_cast<std::size_t>(race - 1);
    day.dailyDoubleOffered = race == 2;
    day.pick3Offered = race == 4;
    day.pick6Offered = race == 7;
    day.exchangeBetsOffered = race >= 1 && race < RacesPerDay;

    FieldForm field;
    for (std::size_t h = 0; h < FieldSize; ++h) {
        const Horse& horse = horseAt(day, day.card.raceHorse[r][h]);
        copyToEntryTables(day.entries, h, horse);
        field[h].horse = horse;
        field[h].pastLines = std::move(pastLines[h]);
    }
    GenerationOutcome outcome = publicPoolGeneration(day, race, quick, field, progress);
    if (outcome.error)
        day.prompter.message(outcome.error.message, MessageTitle);
}

// Prepares the race like showRace, without the texts nobody will look at.
void prepareRaceUnseen(RaceDay& day, int race) {
    if (race < 1 || race > RacesPerDay)
        return;
    reloadJockeys(day);
    prepareRace(day, race, false, readPastLines(day, race)[static_cast<std::size_t>(race - 1)], {});
}

} // namespace

ProgramView showRace(RaceDay& day, int race, bool quick, const LoadingProgress& progress) {
    ProgramView view;
    if (race < 1 || race > RacesPerDay)
        return view;
    const auto r = static_cast<std::size_t>(race - 1);
    view.race = race;
    view.raceNumber = std::to_string(race);
    view.purse = "$" + std::to_string(purseOf(day.card.raceGrade[r]));
    view.distance = std::string(ProgramDistanceText);
    view.trackRecord = trackRecordText(day.db.settings.trackRecord);
    view.trackRecordHolders = trackRecordHolders(day.db);

    reloadJockeys(day);
    view.jockeyStandings = jockeyStandings(day.db.jockeys);
    view.jockeyCells = jockeyStandingCells(day.db.jockeys);
    view.betsOffered = betsOfferedText(race);

    EntryPastLines pastLines = std::move(readPastLines(day, race)[r]);
    for (std::size_t h = 0; h < FieldSize; ++h) {
        const Horse& horse = horseAt(day, day.card.raceHorse[r][h]);
        const Jockey& jockey = jockeyAt(day, day.card.raceJockey[r][h]);
        ProgramEntryView& entry = view.entries[h];
        entry.horseName = horse.name;
        entry.jockey = jockey.name + jockeyMarker(jockey.skill);
        entry.jockeyRecord = jockeyRecordText(jockey);
        entry.starts = std::to_string(horse.starts);
        entry.firsts = std::to_string(horse.firsts);
        entry.seconds = std::to_string(horse.seconds);
        entry.thirds = std::to_string(horse.thirds);
        entry.fourths = std::to_string(horse.fourths);
        entry.earnings = "$" + std::to_string(horse.earnings);
        entry.pastLines.reserve(pastLines[h].size());
        entry.pastCells.reserve(pastLines[h].size());
        for (const PastPerformance& line : pastLines[h]) {
            entry.pastLines.push_back(pastPerformanceText(line));
            entry.pastCells.push_back(pastPerformanceCells(line));
        }
    }

    prepareRace(day, race, quick, std::move(pastLines), progress);
    return view;
}

ProgramView showRaceAboutToBeRun(RaceDay& day) {
    ProgramView view = showRace(day, day.currentRace + 1, false);
    refreshFromOpenedPools(day);
    return view;
}

ProgramView openRacingProgram(RaceDay& day, const LoadingProgress& progress) {
    if (day.currentRace == 0 && !day.loadingPassDone) {
        // Nobody sees the program of these races: the pass only prepares each in turn, and the
        // files it reads do not change while it runs, so each is read once for all twelve.
        reloadJockeys(day);
        std::array<bool, RacesPerDay> everyRace;
        everyRace.fill(true);
        CardPastLines pastLines = readPastLines(day, everyRace);
        for (int race = 1; race <= RacesPerDay; ++race) {
            prepareRace(day, race, true, std::move(pastLines[static_cast<std::size_t>(race - 1)]), {});
            if (progress)
                progress(race * 100 / 21);
        }
        day.loadingPassDone = true;
    }
    ProgramView view = showRace(day, day.currentRace + 1, false, progress);
    refreshFromOpenedPools(day);
    return view;
}

void leaveRacingProgram(RaceDay& day) {
    prepareRaceUnseen(day, day.currentRace + 1);
    refreshFromOpenedPools(day);
}

} // namespace sw
