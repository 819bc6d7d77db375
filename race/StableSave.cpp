#include "StableSave.h"

#include "core/Constants.h"
#include "database/DatabaseFiles.h"

#include <array>
#include <cerrno>
#include <cstring>
#include <string>
#include <system_error>
#include <unistd.h>

namespace sw {

namespace {

constexpr std::array<std::string_view, 2> StableFiles = {"horses.dat", "jockeys.dat"};
constexpr std::string_view CommitMark = "stable.commit";

std::filesystem::path pendingOf(const std::filesystem::path& dir, std::string_view name) {
    return dir / (std::string(name) + ".pending");
}

void discardPending(const std::filesystem::path& dir) {
    std::error_code ec;
    for (auto name : StableFiles)
        std::filesystem::remove(pendingOf(dir, name), ec);
}

// Moves every pending file that is still waiting into place, then drops the mark.
FileError finishCommit(const std::filesystem::path& dir) {
    FileError first;
    for (auto name : StableFiles) {
        const auto pending = pendingOf(dir, name);
        std::error_code ec;
        if (!std::filesystem::exists(pending, ec))
            continue;
        std::filesystem::rename(pending, dir / name, ec);
        if (ec && !first)
            first.message = "Cannot write " + std::string(name) + ": " + ec.message();
    }
    // With a rename missing the mark stays, so the next start can still finish the job.
    if (!first) {
        std::error_code ec;
        std::filesystem::remove(dir / CommitMark, ec);
    }
    return first;
}

} // namespace

FileError saveStableTogether(const RaceDay& day) {
    std::string horses;
    for (int h = 1; h <= HorseCount; ++h)
        horses += horseRecord(day.db.horses[static_cast<std::size_t>(h)]);
    std::string jockeys;
    for (int j = 1; j <= JockeyCount; ++j)
        jockeys += jockeyRecord(day.db.jockeys[static_cast<std::size_t>(j)]);

    const auto& dir = day.dataDir;
    // Moving the new files into place would get round a stable file's permissions; one this process
    // may not write (read-only, or one the start of the day could not read) is left as it is.
    for (auto name : StableFiles) {
        const auto target = dir / name;
        if (::access(target.c_str(), F_OK) == 0 && ::access(target.c_str(), W_OK) != 0)
            return FileError{"Cannot write " + std::string(name) + ": " + std::strerror(errno)};
    }
    if (FileError err = writeFileAtomic(pendingOf(dir, StableFiles[0]), horses)) {
        discardPending(dir);
        return err;
    }
    if (FileError err = writeFileAtomic(pendingOf(dir, StableFiles[1]), jockeys)) {
        discardPending(dir);
        return err;
    }
    // From here on the new stable is complete on disk: a crash is rolled forward at the next start.
    if (FileError err = writeFileAtomic(dir / CommitMark, "horses.dat\r\njockeys.dat\r\n")) {
        discardPending(dir);
        return err;
    }
    return finishCommit(dir);
}

void recoverStableSave(const std::filesystem::path& dataDir) {
    std::error_code ec;
    if (std::filesystem::exists(dataDir / CommitMark, ec))
        finishCommit(dataDir);
    else
        discardPending(dataDir);
}

} // namespace sw
