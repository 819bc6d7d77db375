#pragma once

#include "database/DataDirectory.h"

#include <filesystem>
#include <optional>

class QWidget;

namespace sw::ui {

// Asks once what to do with a data folder the game cannot write, where every save of the day
// would fail: work on a copy in the player's own data folder, or quit. The folder to play on, or
// nothing to quit (a copy that cannot be made is said so first).
std::optional<std::filesystem::path> askForWritableFolder(const std::filesystem::path& dir,
                                                          const EnvironmentGetter& env,
                                                          QWidget* parent = nullptr);

} // namespace sw::ui
