#pragma once

#include <filesystem>

namespace sw {

// A read-only folder the game ships (its bundled data, its user guide): exeDir/installedRelative
// when that folder exists, as it does for an installed or unpacked copy of the game; otherwise
// builtInDir, the folder in the source tree the program was built from. Never throws.
std::filesystem::path shippedFolder(const std::filesystem::path& exeDir,
                                    const std::filesystem::path& installedRelative,
                                    const std::filesystem::path& builtInDir);

} // namespace sw
