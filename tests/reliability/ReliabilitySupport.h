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

// Runs body in a child process and returns its exit status (128 + signal when it died). A child
// of root first becomes an ordinary user, since root reads and writes files whatever their
// permissions say (97 when it could not).
int runAsUser(const std::function<int()>& body);

} // namespace sw::reliability
