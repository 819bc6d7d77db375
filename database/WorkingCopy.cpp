#include "WorkingCopy.h"
#include "core/Translate.h"

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
        return {copy.dir, fillIn(_("The data folder {0} is already the player's own folder."), from.string()),
                nullptr};
    if (!folderWritable(copy.dir))
        return {copy.dir, fillIn(_("The data folder {0} cannot be written either."), copy.dir.string()),
                nullptr};
    return copy;
}

} // namespace sw
