#include "StartRaceDay.h"
#include "core/Translate.h"

#include "DatabaseFiles.h"
#include "core/Constants.h"
#include "core/FileStore.h"
#include "core/Format.h"
#include "core/GradeTables.h"
#include "players/Players.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace sw {

namespace {

constexpr int GradeCountMax = 6;

struct DrawState {
    std::array<int, GradeCountMax + 1> gradeCount{}; // undrawn horses per grade, not yet reserved
    std::array<bool, HorseCount + 1> horseDrawn{};
};

bool someGradeCanFillARace(const DrawState& state) {
    return std::any_of(state.gradeCount.begin() + 1, state.gradeCount.end(),
                       [](int n) { return n >= FieldSize; });
}

std::string unfilledRaceMessage(int raceNumber) {
    return fillIn(
        _("The stable cannot fill race {0}: no grade has eight horses left to draw. Restore horses.dat "
          "from a backup, or reset the stable to a fresh one."),
        raceNumber);
}

std::string missingStableMessage(std::string_view fileName) {
    return fillIn(
        _("{0} is missing from the data folder, so the day cannot start. Copy it back from a backup, or "
          "reset the stable to a fresh one."),
        fileName);
}

// Draws race r into the card. The caller has made sure some grade still holds eight horses, so
// every loop below ends. A draw outside the table (a generator returning 1.0) counts as a miss.
void drawRace(RaceDay& day, DrawState& state, std::size_t r) {
    std::array<bool, JockeyCount + 1> jockeyBooked{};

    int g = 0;
    do {
        g = day.random.draw(GradeCountMax);
    } while (g < 1 || g > GradeCountMax || state.gradeCount[static_cast<std::size_t>(g)] < FieldSize);
    state.gradeCount[static_cast<std::size_t>(g)] -= FieldSize;
    day.card.raceGrade[r] = static_cast<int16_t>(g);

    for (std::size_t p = 0; p < FieldSize; ++p) {
        int h = 0;
        do {
            h = day.random.draw(HorseCount);
        } while (h < 1 || h > HorseCount || state.horseDrawn[static_cast<std::size_t>(h)] ||
                 day.db.horses[static_cast<std::size_t>(h)].grade !=
                     GradeLetters[static_cast<std::size_t>(g)]);
        day.card.raceHorse[r][p] = h;
        state.horseDrawn[static_cast<std::size_t>(h)] = true;

        int j = 0;
        do {
            j = day.random.draw(JockeyCount);
        } while (j < 1 || j > JockeyCount || jockeyBooked[static_cast<std::size_t>(j)]);
        day.card.raceJockey[r][p] = static_cast<int16_t>(j);
        jockeyBooked[static_cast<std::size_t>(j)] = true;
    }
    day.card.racePoolsOpened[r] = false;
}

} // namespace

StartResult startRaceDay(RaceDay& day) {
    StartResult result;
    if (day.date.empty())
        day.date = todayText();
    day.card = RaceCard{};
    day.raceStream.reset();
    day.cardDrawn = false;
    day.currentRace = 0;
    day.folder.forgetLoads();

    const ReadStatus horses = loadHorses(day);
    const ReadStatus jockeys = loadJockeys(day);
    // A stable without its horses or its jockeys would be saved after the first race as nameless
    // records; nothing is drawn or written until the file is back.
    for (auto [name, status] : {std::pair{"horses.dat", horses}, std::pair{"jockeys.dat", jockeys}}) {
        if (status == ReadStatus::Missing) {
            result.missingFile = name;
            result.message = missingStableMessage(name);
            day.prompter.message(result.message, MessageTitle);
            return result;
        }
    }
    // Counted over the whole table, which is exactly what the horse draw searches.
    DrawState state;
    for (std::size_t h = 1; h <= HorseCount; ++h) {
        int g = gradeIndex(day.db.horses[h].grade);
        if (g != 0)
            ++state.gradeCount[static_cast<std::size_t>(g)];
    }

    // races.dat is only a record of the card, so a day whose record cannot be written is
    // still drawn and played.
    FileError cardError = day.folder.write("races.dat", "");
    if (cardError)
        day.prompter.message(cardError.message, AppTitle);
    const bool cardFileWritable = !cardError;

    for (std::size_t r = 0; r < RacesPerDay; ++r) {
        // Without eight horses of one grade the draw could never end.
        if (!someGradeCanFillARace(state)) {
            result.unfilledRace = static_cast<int>(r) + 1;
            result.message = unfilledRaceMessage(result.unfilledRace);
            day.prompter.message(result.message, MessageTitle);
            return result;
        }
        drawRace(day, state, r);
    }
    // Each race's stream is fixed now, so what happens in one race never depends on how many
    // draws were looked at, or taken, before it.
    for (uint64_t& seed : day.raceSeeds)
        seed = static_cast<uint64_t>(day.random.uniform() * 0x1.0p53);
    if (cardFileWritable)
        if (FileError error = writeRaceCard(day))
            day.prompter.message(error.message, AppTitle);
    day.cardDrawn = true;

    loadSettings(day);
    loadPlayers(day);
    if (!day.players.entries.empty())
        selectBettor(day, 0);
    // The day's fresh files go in together. tickets.dat starts empty, so multi-race lines an
    // unfinished day left belong to no ticket; kept, they would pay this day's tickets that
    // happen to get the same numbers. The same holds for the Twin-Tri and Tri-Super halves and
    // the credits an unfinished day held.
    FileChanges fresh;
    fresh.write("results.dat", "").write("tickets.dat", "");
    for (std::string_view pool :
         {"dailydoubles.dat", "pick3s.dat", "pick6s.dat", "twintris.dat", "trisupers.dat",
          "twintriexchanges.dat", "trisuperexchanges.dat", "exchangecredits.dat"})
        fresh.write(std::string(pool), "");
    trimPastPerformances(day, fresh);
    // Refused, the fresh files are kept for the next step; until they are written the day takes
    // no bets (see startUnsaved).
    const StepOutcome started = day.folder.carry(fresh);
    if (started || !started.notice.empty())
        day.prompter.message(started ? started.refused.message : started.notice, AppTitle);
    day.startUnsaved = started.refused.message;

    day.tickets.clear();
    day.exchangeCredits.clear();
    day.loadingPassDone = false;
    result.ready = true;
    return result;
}

} // namespace sw
