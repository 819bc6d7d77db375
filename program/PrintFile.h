#pragma once

#include "core/FileStore.h"
#include "core/Prompter.h"

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

namespace sw {

// Where a printed program is saved as a file, checked before anything is written.
struct PrintFile {
    std::filesystem::path target; // the file the name leads to, its links followed
    std::string problem;          // why the program cannot be saved there; empty when it can
    bool exists = false;          // a file is there already, replaced only when the player agrees
};

// Refuses any name that leads into the data folder (through links or not), where it would
// replace the game's own files, and a name that holds anything but a plain file.
PrintFile checkPrintFile(const std::filesystem::path& dataDir, const std::filesystem::path& name);

struct PrintSaved {
    bool saved = false;  // false with no problem: the player chose not to replace the file
    std::string problem; // why it could not be saved
};

// Saves the printed text under name: refused as checkPrintFile says, asked before a file is
// replaced, and written through a scratch file, so neither a No nor a failed write changes the
// file that was there.
PrintSaved savePrintFile(const std::filesystem::path& dataDir, const std::filesystem::path& name,
                         std::string_view text, Prompter& prompter);

// Replaces target with what write puts in the scratch file it is given beside it (a printer that
// writes its own file, say): only a write that succeeded replaces target, and the scratch file
// never outlives the call.
FileError writeThroughScratch(const std::filesystem::path& target,
                              const std::function<bool(const std::filesystem::path& scratch)>& write);

} // namespace sw
