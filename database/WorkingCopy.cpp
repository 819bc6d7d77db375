#include "WorkingCopy.h"

#include <fcntl.h>
#include <unistd.h>

namespace sw {

namespace fs = std::filesystem;

bool folderWritable(const fs::path& dir) {
    // access() would ask the permissions only; a read-only mount refuses the file itself.
    std::string probe = (dir / ".stridewell-write-test-XXXXXX").string();
    const int fd = ::mkstemp(probe.data());
    if (fd < 0)
        return false;
    ::close(fd);
    ::unlink(probe.c_str());
    return true;
}

DataDirectory makeWorkingCopy(const fs::path& from, const EnvironmentGetter& env) {
    // The user's folder is found, made and filled as at a first start, with `from` as the bundle.
    DataDirectory copy = resolveDataDir(std::nullopt, {}, from, env);
    if (!copy.ok())
        return copy;
    std::error_code ec;
    if (fs::equivalent(copy.dir, from, ec))
        return {copy.dir, "The data folder " + from.string() + " is already the player's own folder.",
                nullptr};
    if (!folderWritable(copy.dir))
        return {copy.dir, "The data folder " + copy.dir.string() + " cannot be written either.", nullptr};
    return copy;
}

} // namespace sw
