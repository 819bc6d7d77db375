#include "ShippedFolder.h"

#include <system_error>

namespace sw {

namespace fs = std::filesystem;

fs::path shippedFolder(const fs::path& exeDir, const fs::path& installedRelative,
                       const fs::path& builtInDir) {
    // Without the program's own folder there is nothing to be relative to; an empty relative
    // path would name that folder itself, which is the portable copy's business, not ours.
    if (exeDir.empty() || installedRelative.empty())
        return builtInDir;
    const fs::path installed = (exeDir / installedRelative).lexically_normal();
    std::error_code ec;
    if (fs::is_directory(installed, ec))
        return installed;
    return builtInDir;
}

} // namespace sw
