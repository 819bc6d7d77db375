#include "StableSave.h"

#include "core/Constants.h"
#include "database/DatabaseFiles.h"

namespace sw {

void addStable(const RaceDay& day, FileChanges& changes) {
    changes.write("horses.dat", stableText(day.db.horses, day.db.keptHorseLines));
    changes.write("jockeys.dat", stableText(day.db.jockeys, day.db.keptJockeyLines));
}

} // namespace sw
