#include "ResetDatabase.h"

#include "DatabaseFiles.h"
#include "core/Constants.h"
#include "core/FileStore.h"
#include "core/TextEncoding.h"

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

FileError writeFreshStable(RaceDay& day) {
    // The whole stable or nothing: a half-reset stable would mix fresh horses with old history.
    FileChanges changes;
    changes.write("pastperformances.dat", "");
    changes.write("settings.dat",
                  RecordWriter().integer(400).integer(2).integer(1).integer(0).integer(999).line());

    std::string jockeys;
    for (int j = 1; j <= JockeyCount; ++j)
        jockeys += jockeyRecord(freshJockey(day.db.jockeys[static_cast<std::size_t>(j)]));
    changes.write("jockeys.dat", std::move(jockeys));

    std::string horses;
    for (int h = 1; h <= HorseCount; ++h)
        horses += horseRecord(freshHorse(day.db.horses[static_cast<std::size_t>(h)].name, day.random));
    changes.write("horses.dat", std::move(horses));
    return day.folder.commit(changes);
}

bool resetDatabase(RaceDay& day) {
    if (!day.prompter.ask(ResetQuestion, AppTitle))
        return false;
    if (FileError error = writeFreshStable(day)) {
        day.prompter.message(error.message, AppTitle);
        return false;
    }
    return true;
}

} // namespace sw
