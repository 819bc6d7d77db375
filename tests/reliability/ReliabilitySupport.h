#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace sw::reliability {

// Every way the data folder's files are not whole: a record without its fields, a number field
// that is no number, a wrong count of horses or jockeys, a line without CR LF. Empty when every
// file the game keeps reads back as the game wrote it.
std::vector<std::string> folderProblems(const std::filesystem::path& dir);

} // namespace sw::reliability
