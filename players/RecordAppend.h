#pragma once

#include "core/FileStore.h"

#include <filesystem>
#include <string_view>

namespace sw {

// Appends complete records to a data file, creating it when missing. When a hand edit left the
// file's last line without its line end, that line is closed first, so the new record never
// runs into it.
FileError appendRecord(const std::filesystem::path& file, std::string_view records);

} // namespace sw
