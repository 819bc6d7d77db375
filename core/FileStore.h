#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

namespace sw {

// File access shared by every data file. Whole-file rewrites go through a temporary file in
// the same folder and a rename, so a crash or a full disk never leaves a half-written file.

struct FileError {
    std::string message; // empty when the operation succeeded
    explicit operator bool() const { return !message.empty(); }
};

// Longest line a reader keeps; the rest of a longer line is skipped, so a corrupt
// multi-gigabyte line cannot exhaust memory.
inline constexpr std::size_t MaxLineLength = 64 * 1024;

// Calls onLine for every line (CR LF, LF or CR ends a line). False when the file cannot be opened
// or reading it failed part way.
bool forEachLine(const std::filesystem::path& file, const std::function<void(std::string_view)>& onLine);

// True when the file exists and can be opened for reading.
bool isReadable(const std::filesystem::path& file);

// Replaces the file's whole content atomically. An existing file this process may not write is
// left as it is and reported.
FileError writeFileAtomic(const std::filesystem::path& file, std::string_view content);

// Appends text (one or more complete lines) and flushes it to the file.
FileError appendToFile(const std::filesystem::path& file, std::string_view text);

// Leaves the file present and empty.
FileError truncateFile(const std::filesystem::path& file);

} // namespace sw
