#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

namespace sw {

// The bytes of the data files and nothing more: reading a file whole, and replacing one through
// a scratch file and a rename. Parsing lives with each record type; steps that change several
// files together go through DataFolder's journal.

struct FileError {
    std::string message; // empty when the operation succeeded
    explicit operator bool() const { return !message.empty(); }
};

// "Cannot write NAME: reason".
FileError writeError(std::string_view name, int err);

enum class ReadStatus {
    Read,       // the whole file is in bytes
    Missing,    // no file of that name
    Unreadable, // there is one, but it could not be read whole (permissions, a folder, an I/O error)
};

struct FileContent {
    ReadStatus status = ReadStatus::Missing;
    std::string bytes;
    bool read() const { return status == ReadStatus::Read; }
};

// Largest file a reader takes in; the rest of a bigger file is not read (a hand-made
// multi-gigabyte file cannot exhaust memory), and every record the game writes is far smaller.
inline constexpr std::size_t MaxFileSize = std::size_t{256} << 20;

FileContent readFile(const std::filesystem::path& file);

// Longest line a reader keeps; the rest of a longer line is skipped.
inline constexpr std::size_t MaxLineLength = 64 * 1024;

// Calls onLine for every line of text (CR LF, LF or CR ends a line), each cut to MaxLineLength.
void forEachLineIn(std::string_view text, const std::function<void(std::string_view)>& onLine);

// Replaces the file's whole content atomically: a scratch file beside it is created (never one
// that already exists, so a planted link is never written through), filled and renamed over the
// name (its bytes synced first, the folder after), so the directory entry is replaced rather
// than written through. An existing file this process may not write is left as it is and reported.
FileError writeFileAtomic(const std::filesystem::path& file, std::string_view content);

} // namespace sw
