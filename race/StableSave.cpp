#include "StableSave.h"

#include "core/Constants.h"
#include "database/DatabaseFiles.h"

namespace sw {

void addStable(const RaceDay& day, FileChanges& changes) {
    std::string horses;
    for (int h = 1; h <= HorseCount; ++h)
        horses += horseRecord(day.db.horses[static_cast<std::size_t>(h)]);
    std::string jockeys;
    for (int j = 1; j <= JockeyCount; ++j)
        jockeys += jockeyRecord(day.db.jockeys[static_cast<std::size_t>(j)]);
    changes.write("horses.dat", std::move(horses));
    changes.write("jockeys.dat", std::move(jockeys));
}

} // namespace sw
