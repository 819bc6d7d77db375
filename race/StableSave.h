#pragma once

#include "core/DataFolder.h"
#include "core/RaceDay.h"

namespace sw {

// horses.dat and jockeys.dat as the day's stable has them, added to a step's changes.
void addStable(const RaceDay& day, FileChanges& changes);

} // namespace sw
