#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace sw {

// Reads one environment variable; nothing when it is unset.
using EnvironmentGetter = std::function<std::optional<std::string>(std::string_view name)>;

// Keeps every other game out of a data folder for as long as the object lives. It is an OS lock
// on the folder itself, not on a file in it: a lock file can be deleted or replaced by a link
// under a running game, and the next game would then lock a new file. Only where the folder
// cannot be locked is stridewell.lock in it locked instead. The kernel lets go of the lock when
// the process ends however it ends, so a crash never leaves the folder locked.
class FolderLock {
public:
    explicit FolderLock(const std::filesystem::path& dir);
    ~FolderLock();
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

    // Empty when the folder is this game's (or no game can write in it); otherwise the message to
    // show before leaving.
    const std::string& error() const { return m_error; }

private:
    int m_fd = -1;
    std::string m_error;
};

// The folder the game keeps its data files in, or why none could be used.
struct DataDirectory {
    std::filesystem::path dir;
    std::string error;                // empty when dir can be used
    std::unique_ptr<FolderLock> lock; // held from before the folder is filled until the game ends

    bool ok() const { return error.empty(); }
};

// Picks the data folder: explicitDir when given (it must exist); else exeDir when it holds
// horses.dat (a portable copy); else $XDG_DATA_HOME/stridewell, by default
// ~/.local/share/stridewell, created on first use and given a copy of every bundled file it
// lacks. An explicit folder that is empty, or holds only what a first fill cut short left, is
// filled the same way. The folder is locked before
// anything is written into it, so two games started at once never fill it together; the one
// that finds it locked gets the lock's error. Never writes into bundledDir and never throws.
DataDirectory resolveDataDir(const std::optional<std::filesystem::path>& explicitDir,
                             const std::filesystem::path& exeDir, const std::filesystem::path& bundledDir,
                             const EnvironmentGetter& env);

// The process environment, for resolveDataDir.
std::optional<std::string> systemEnvironment(std::string_view name);

// The folder of the running program (argv0 is the fallback where /proc is not mounted).
std::filesystem::path executableDir(const char* argv0);

} // namespace sw
