#include "ResetDatabase.h"

#include "DatabaseFiles.h"
#include "core/Constants.h"
#include "core/DataFolder.h"
#include "players/SettingsRecord.h"

namespace sw {

namespace {

// Six in ten horses run inside, three in the middle, one wide.
int16_t pathFromDraw(int d) {
    if (d == 9)
        return 2;
    if (d >= 6)
        return 1;
    return 0;
}

} // namespace

std::string standInHorseName(int number) {
    return "Horse " + std::to_string(number);
}

Jockey standInJockey(int number) {
    Jockey jockey;
    jockey.name = "Jockey " + std::to_string(number);
    jockey.skill = static_cast<int16_t>(number % 3);
    return jockey;
}

Horse freshHorse(const std::string& name, Random& random) {
    Horse horse{.name = name, .grade = "M", .earnedGrade = "M", .gradeMark = "M", .bestTime = 999};
    for (int16_t& rating : horse.segmentRating)
        rating = static_cast<int16_t>(random.between(4, 8));
    horse.path = pathFromDraw(random.between(0, 9));
    horse.horseRating = static_cast<int16_t>(random.between(50, 79));
    return horse;
}

Jockey freshJockey(const Jockey& jockey) {
    Jockey fresh;
    fresh.name = jockey.name;
    fresh.skill = jockey.skill;
    return fresh;
}

StepOutcome writeFreshStable(RaceDay& day) {
    std::string jockeys;
    for (int j = 1; j <= JockeyCount; ++j) {
        const Jockey& jockey = day.db.jockeys[static_cast<std::size_t>(j)];
        jockeys += jockeyRecord(freshJockey(jockey.name.empty() ? standInJockey(j) : jockey));
    }
    std::string horses;
    for (int h = 1; h <= HorseCount; ++h) {
        const std::string& name = day.db.horses[static_cast<std::size_t>(h)].name;
        horses += horseRecord(freshHorse(name.empty() ? standInHorseName(h) : name, day.random));
    }
    // One step: a stable half reset, or reset over a file that could not be read, is never left.
    FileChanges changes;
    changes.write("pastperformances.dat", "")
        .write("settings.dat", factorySettingsRecord())
        .write("jockeys.dat", std::move(jockeys))
        .write("horses.dat", std::move(horses));
    return day.folder.commit(changes);
}

bool resetDatabase(RaceDay& day) {
    const StepOutcome written = writeFreshStable(day);
    if (written) {
        day.prompter.message(written.refused.message + " " + _("The stable was not reset."), AppTitle);
        return false;
    }
    if (!written.notice.empty())
        day.prompter.message(written.notice, AppTitle);
    return true;
}

} // namespace sw
