#include "PrintFile.h"
#include "core/Translate.h"

#include "core/Constants.h"

#include <cerrno>
#include <cstdio>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace sw {

namespace fs = std::filesystem;

namespace {

// Compares the folders themselves, not their names, so a second name for the data folder (a
// bind mount, a link made after the name was resolved) is still the data folder.
bool insideFolder(const fs::path& target, const fs::path& dataDir) {
    struct stat folder {};
    if (::stat(dataDir.c_str(), &folder) != 0)
        return false;
    for (fs::path dir = target.parent_path(); !dir.empty(); dir = dir.parent_path()) {
        struct stat here {};
        if (::stat(dir.c_str(), &here) == 0 && here.st_dev == folder.st_dev && here.st_ino == folder.st_ino)
            return true;
        if (dir == dir.parent_path())
            break;
    }
    return false;
}

} // namespace

PrintFile checkPrintFile(const fs::path& dataDir, const fs::path& name) {
    PrintFile file;
    std::error_code ec;
    file.target = fs::weakly_canonical(fs::absolute(name, ec), ec);
    if (ec) {
        file.problem = fillIn(_("Cannot print to {0}: {1}."), name.string(), ec.message());
        return file;
    }
    if (insideFolder(file.target, dataDir)) {
        file.problem =
            fillIn(_("Cannot print to {0}: it is in the game's data folder {1}, where it could replace the "
                     "stable's files. Choose another folder."),
                   name.string(), dataDir.string());
        return file;
    }
    // A link that leads nowhere is left alone too: replacing it would lose where it pointed.
    const fs::file_status status = fs::symlink_status(file.target, ec);
    file.exists = fs::exists(status);
    if (file.exists && !fs::is_regular_file(status))
        file.problem = fillIn(_("Cannot print to {0}: it is not a plain file."), name.string());
    return file;
}

PrintSaved savePrintFile(const fs::path& dataDir, const fs::path& name, std::string_view text,
                         Prompter& prompter) {
    const PrintFile file = checkPrintFile(dataDir, name);
    if (!file.problem.empty())
        return {false, file.problem};
    if (file.exists && !prompter.ask(fillIn(_("{0} already exists. Replace it?"), name.string()), AppTitle))
        return {};
    if (FileError error = writeFileAtomic(file.target, text))
        return {false, error.message};
    return {true, {}};
}

FileError writeThroughScratch(const fs::path& target,
                              const std::function<bool(const fs::path& scratch)>& write) {
    fs::path scratch = target;
    scratch += ".new";
    // A scratch name left behind, or a link planted there, is removed so it is never written through.
    ::unlink(scratch.c_str());
    if (!write(scratch)) {
        ::unlink(scratch.c_str());
        return FileError{fillIn(_("Cannot write {0}."), target.filename().string())};
    }
    if (std::rename(scratch.c_str(), target.c_str()) != 0) {
        const int err = errno;
        ::unlink(scratch.c_str());
        return writeError(target.filename().string(), err);
    }
    return {};
}

} // namespace sw
