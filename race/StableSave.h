#pragma once

#include "core/FileStore.h"
#include "core/RaceDay.h"

#include <filesystem>

namespace sw {

// Saves horses.dat and jockeys.dat so that a crash leaves both as before or both as after:
// both are written aside first, a commit mark is set, then both are moved into place.
FileError saveStableTogether(const RaceDay& day);

// Finishes a stable save that a crash interrupted after its commit mark, or discards one that
// died before it. Call before loading horses.dat and jockeys.dat.
void recoverStableSave(const std::filesystem::path& dataDir);

} // namespace sw
