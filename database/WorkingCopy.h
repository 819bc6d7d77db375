#pragma once

#include "DataDirectory.h"

#include <filesystem>

namespace sw {

// True when the game can create and remove a file in dir, as every save does; false for a folder
// on a read-only disc or share, or without write permission, where each save would fail.
bool folderWritable(const std::filesystem::path& dir);

// Gives the player a folder to play on instead of `from`, which cannot be written: the player's
// own data folder ($XDG_DATA_HOME/stridewell, by default ~/.local/share/stridewell), created when
// needed and given a copy of every data file of `from` it lacks, so a stable already there is
// kept. An error when that folder is `from` itself, or cannot be made or written.
DataDirectory makeWorkingCopy(const std::filesystem::path& from, const EnvironmentGetter& env);

} // namespace sw
