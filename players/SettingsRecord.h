#pragma once

#include "core/Records.h"

#include <string>
#include <string_view>

namespace sw {

// The settings line as the game writes it after a change: StartAmount,DefaultBetAmount,,,TrackRecord
// with its line end. Shared by the defaults dialog and the database so both write the same text.
std::string settingsRecord(const Settings& settings);

// The line a reset writes, the factory settings with 1 and 0 in the two ignored fields.
std::string factorySettingsRecord();

// Reads the five fields of a settings line; the third and fourth are read and discarded.
void parseSettings(std::string_view line, Settings& settings);

} // namespace sw
