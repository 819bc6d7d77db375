#include "DataDirectory.h"
#include "core/Translate.h"

#include "core/FileStore.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <sys/file.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>
#include <vector>

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
        return fillIn(_("Cannot read the bundled file {0}."), from.string());
    std::ostringstream content;
    content << in.rdbuf();
    if (in.bad())
        return fillIn(_("Cannot read the bundled file {0}."), from.string());
    if (FileError error = writeFileAtomic(to, content.str()))
        return error.message;
    return {};
}

// Gives dir every regular file of bundledDir that it lacks; files already there are kept.
// horses.dat goes last, so a fill cut short is a folder without it.
std::string fillFromBundle(const fs::path& dir, const fs::path& bundledDir) {
    std::error_code ec;
    fs::directory_iterator it(bundledDir, ec);
    if (ec)
        return fillIn(_("Cannot read the bundled data folder {0}: {1}"), bundledDir.string(), ec.message());
    std::vector<fs::path> files;
    for (const fs::directory_entry& entry : it) {
        std::error_code entryError;
        if (entry.is_regular_file(entryError))
            files.push_back(entry.path());
    }
    std::stable_partition(files.begin(), files.end(),
                          [](const fs::path& f) { return f.filename() != "horses.dat"; });
    for (const fs::path& file : files) {
        std::error_code entryError;
        fs::path target = dir / file.filename();
        if (fs::exists(target, entryError) || entryError)
            continue;
        if (std::string problem = copyFile(file, target); !problem.empty())
            return problem;
    }
    return {};
}

// A first fill that was cut short (the game killed) left no horses.dat and nothing but unchanged
// bundled files and scratch copies; such a folder is new yet, and is filled on.
bool fillCutShort(const fs::path& dir, const fs::path& bundledDir) {
    std::error_code ec;
    if (holdsFile(dir, "horses.dat"))
        return false;
    for (const fs::directory_entry& entry : fs::directory_iterator(dir, ec)) {
        const fs::path name = entry.path().filename();
        if (name.extension() == ".new")
            continue;
        const FileContent bundled = readFile(bundledDir / name);
        if (!bundled.read() || !entry.is_regular_file(ec) || readFile(entry.path()).bytes != bundled.bytes)
            return false;
    }
    return !ec;
}

// Opens name and locks what it opened, then checks that the name still leads there: it could be
// swapped for another between the open and the lock. The locked descriptor, or -1 with the reason
// in err (EWOULDBLOCK: another game holds it).
int openLocked(const fs::path& name, int flags, bool followLink, int& err) {
    constexpr int Attempts = 3;
    err = ESTALE;
    for (int attempt = 0; attempt < Attempts; ++attempt) {
        const int fd = ::open(name.c_str(), flags | O_CLOEXEC, 0644);
        if (fd < 0) {
            err = errno;
            return -1;
        }
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            err = errno;
            ::close(fd);
            return -1;
        }
        struct stat locked {};
        struct stat named {};
        const int found = followLink ? ::stat(name.c_str(), &named) : ::lstat(name.c_str(), &named);
        if (::fstat(fd, &locked) == 0 && found == 0 && locked.st_dev == named.st_dev &&
            locked.st_ino == named.st_ino)
            return fd;
        ::close(fd);
    }
    return -1;
}

// The folder, locked; the lock's error when another game holds it.
DataDirectory lockedDir(const fs::path& dir) {
    DataDirectory chosen{dir, {}, std::make_unique<FolderLock>(dir)};
    chosen.error = chosen.lock->error();
    return chosen;
}

} // namespace

DataDirectory resolveDataDir(const std::optional<fs::path>& explicitDir, const fs::path& exeDir,
                             const fs::path& bundledDir, const EnvironmentGetter& env) {
    if (explicitDir) {
        if (!isDirectory(*explicitDir))
            return {
                *explicitDir, fillIn(_("The data folder {0} does not exist."), explicitDir->string()), {}};
        DataDirectory chosen = lockedDir(*explicitDir);
        if (!chosen.ok())
            return chosen;
        if (isDirectory(bundledDir) && fillCutShort(*explicitDir, bundledDir))
            chosen.error = fillFromBundle(*explicitDir, bundledDir);
        return chosen;
    }
    if (!exeDir.empty() && holdsFile(exeDir, "horses.dat"))
        return lockedDir(exeDir);

    auto dir = userDataDir(env);
    if (!dir)
        return {
            {}, _("Cannot find a folder for the game's data: neither XDG_DATA_HOME nor HOME is set."), {}};
    std::error_code ec;
    fs::create_directories(*dir, ec);
    if (ec || !isDirectory(*dir))
        return {*dir,
                fillIn(_("Cannot create the data folder {0}: {1}."), dir->string(),
                       ec ? ec.message() : _("a file is in the way")),
                {}};
    DataDirectory chosen = lockedDir(*dir);
    if (!chosen.ok())
        return chosen;
    // A folder filled on an earlier start stays usable when the bundled copy has gone since.
    if (!isDirectory(bundledDir)) {
        if (!holdsFile(*dir, "horses.dat"))
            chosen.error =
                fillIn(_("The data folder {0} has no horses.dat and the game's own copy was not found at "
                         "{1}."),
                       dir->string(), bundledDir.string());
        return chosen;
    }
    chosen.error = fillFromBundle(*dir, bundledDir);
    return chosen;
}

FolderLock::FolderLock(const std::filesystem::path& dir) {
    int err = 0;
    m_fd = openLocked(dir, O_RDONLY | O_DIRECTORY, true, err);
    // Some file systems cannot lock a folder (network ones among them); a lock file is the next
    // best thing there. Where the folder can be locked, every game locks the folder.
    if (m_fd < 0 && err != EWOULDBLOCK)
        m_fd = openLocked(dir / "stridewell.lock", O_RDWR | O_CREAT | O_NOFOLLOW, false, err);
    if (m_fd >= 0)
        return;
    if (err == EWOULDBLOCK) {
        m_error =
            fillIn(_("Another Stridewell game is using the data folder {0}. Close that game first, or give "
                     "this one another folder with --data-dir."),
                   dir.string());
        return;
    }
    // A folder no game can write in needs no lock: a second game cannot change it either.
    if (::access(dir.c_str(), W_OK) != 0)
        return;
    m_error =
        fillIn(_("Cannot lock the data folder {0} ({1}), so another game could change it at the same time. "
                 "Give this game another folder with --data-dir."),
               dir.string(), std::string_view(std::strerror(err)));
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
