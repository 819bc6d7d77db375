#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace sw::cli {

// What stridewell-cli was asked to do by its command line.
struct Options {
    enum class Action { Play, Help, Version, Error };
    Action action = Action::Play;
    std::optional<std::filesystem::path> dataDir;
    std::optional<std::uint64_t> seed;
    bool json = false;
    std::string date; // the day's short date text; empty for today's
    std::optional<std::string> script;
    std::string error; // for Action::Error: what was wrong, in one line
};

// Reads the options after the program's name (getopt_long's rules: long options may be
// abbreviated and written --seed=N, options and SCRIPT may come in any order, "--" ends options).
Options parseOptions(const std::vector<std::string>& args);

// What --help prints; the manual page is made from it too, so the two cannot drift apart.
std::string helpText();
// What --version prints.
std::string versionText();

} // namespace sw::cli
