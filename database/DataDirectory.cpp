#include "DataDirectory.h"

#include "core/FileStore.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <sys/file.h>
#include <system_error>
#include <unistd.h>

namespace sw {

namespace {

namespace fs = std::filesystem;

bool isDirectory(const fs::path& dir) {
    std::error_code ec;
    return fs::is_directory(dir, ec);
}

bool holdsFile(const fs::path& dir, std::string_view name) {
    std::error_code ec;
    return fs::is_regular_file(dir / name, ec);
}

std::optional<std::string> nonEmpty(const EnvironmentGetter& env, std::string_view name) {
    if (!env)
        return std::nullopt;
    auto value = env(name);
    if (!value || value->empty())
        return std::nullopt;
    return value;
}

// The per-user data folder; relative XDG_DATA_HOME values are ignored, as the XDG rules ask.
std::optional<fs::path> userDataDir(const EnvironmentGetter& env) {
    if (auto xdg = nonEmpty(env, "XDG_DATA_HOME"); xdg && fs::path(*xdg).is_absolute())
        return fs::path(*xdg) / "stridewell";
    if (auto home = nonEmpty(env, "HOME"))
        return fs::path(*home) / ".local" / "share" / "stridewell";
    return std::nullopt;
}

// Copies one bundled file through an atomic write, so a copy cut short never passes for a
// complete file on the next start.
std::string copyFile(const fs::path& from, const fs::path& to) {
    std::ifstream in(from, std::ios::binary);
    if (!in)
        return "Cannot read the bundled file " + from.string() + ".";
    std::ostringstream content;
    content << in.rdbuf();
    if (in.bad())
        return "Cannot read the bundled file " + from.string() + ".";
    if (FileError error = writeFileAtomic(to, content.str()))
        return error.message;
    return {};
}

// Gives dir every regular file of bundledDir that it lacks; files already there are kept.
std::string fillFromBundle(const fs::path& dir, const fs::path& bundledDir) {
    std::error_code ec;
    fs::directory_iterator it(bundledDir, ec);
    if (ec)
        return "Cannot read the bundled data folder " + bundledDir.string() + ": " + ec.message();
    for (const fs::directory_entry& entry : it) {
        std::error_code entryError;
        if (!entry.is_regular_file(entryError))
            continue;
        fs::path target = dir / entry.path().filename();
        if (fs::exists(target, entryError) || entryError)
            continue;
        if (std::string problem = copyFile(entry.path(), target); !problem.empty())
            return problem;
    }
    return {};
}

} // namespace

DataDirectory resolveDataDir(const std::optional<fs::path>& explicitDir, const fs::path& exeDir,
                             const fs::path& bundledDir, const EnvironmentGetter& env) {
    if (explicitDir) {
        if (!isDirectory(*explicitDir))
            return {*explicitDir, "The data folder " + explicitDir->string() + " does not exist."};
        std::error_code ec;
        if (fs::is_empty(*explicitDir, ec) && !ec && isDirectory(bundledDir))
            if (std::string problem = fillFromBundle(*explicitDir, bundledDir); !problem.empty())
                return {*explicitDir, problem};
        return {*explicitDir, {}};
    }
    if (!exeDir.empty() && holdsFile(exeDir, "horses.dat"))
        return {exeDir, {}};

    auto dir = userDataDir(env);
    if (!dir)
        return {{}, "Cannot find a folder for the game's data: neither XDG_DATA_HOME nor HOME is set."};
    std::error_code ec;
    fs::create_directories(*dir, ec);
    if (ec || !isDirectory(*dir))
        return {*dir, "Cannot create the data folder " + dir->string() + ": " +
                          (ec ? ec.message() : std::string("a file is in the way")) + "."};
    // A folder filled on an earlier start stays usable when the bundled copy has gone since.
    if (!isDirectory(bundledDir)) {
        if (holdsFile(*dir, "horses.dat"))
            return {*dir, {}};
        return {*dir, "The data folder " + dir->string() +
                          " has no horses.dat and the game's own copy was not found at " +
                          bundledDir.string() + "."};
    }
    if (std::string problem = fillFromBundle(*dir, bundledDir); !problem.empty())
        return {*dir, problem};
    return {*dir, {}};
}

FolderLock::FolderLock(const std::filesystem::path& dir) {
    const fs::path file = dir / "stridewell.lock";
    m_fd = ::open(file.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (m_fd < 0)
        m_fd = ::open(file.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    // A folder where not even the lock can be made cannot be written by a second game either.
    if (m_fd < 0)
        return;
    if (::flock(m_fd, LOCK_EX | LOCK_NB) != 0) {
        const int err = errno;
        ::close(m_fd);
        m_fd = -1;
        m_error = err == EWOULDBLOCK
                      ? "Another Stridewell game is using the data folder " + dir.string() +
                            ". Close that game first, or give this one another folder with "
                            "--data-dir."
                      : "Cannot lock the data folder " + dir.string() + ": " + std::strerror(err);
    }
}

FolderLock::~FolderLock() {
    if (m_fd >= 0)
        ::close(m_fd);
}

std::optional<std::string> systemEnvironment(std::string_view name) {
    const char* value = std::getenv(std::string(name).c_str());
    if (!value)
        return std::nullopt;
    return std::string(value);
}

std::filesystem::path executableDir(const char* argv0) {
    std::error_code ec;
    auto self = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec)
        self = std::filesystem::absolute(argv0, ec);
    return self.parent_path();
}

} // namespace sw
