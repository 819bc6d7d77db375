#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace sw {

// Reads one environment variable; nothing when it is unset.
using EnvironmentGetter = std::function<std::optional<std::string>(std::string_view name)>;

// The folder the game keeps its data files in, or why none could be used.
struct DataDirectory {
    std::filesystem::path dir;
    std::string error; // empty when dir can be used

    bool ok() const { return error.empty(); }
};

// Picks the data folder: explicitDir when given (it must exist); else exeDir when it holds
// horses.dat (a portable copy); else $XDG_DATA_HOME/stridewell, by default
// ~/.local/share/stridewell, created on first use and given a copy of every bundled file it
// lacks. Never writes into bundledDir and never throws.
DataDirectory resolveDataDir(const std::optional<std::filesystem::path>& explicitDir,
                             const std::filesystem::path& exeDir, const std::filesystem::path& bundledDir,
                             const EnvironmentGetter& env);

// The process environment, for resolveDataDir.
std::optional<std::string> systemEnvironment(std::string_view name);

// The folder of the running program (argv0 is the fallback where /proc is not mounted).
std::filesystem::path executableDir(const char* argv0);

} // namespace sw
