#pragma once

#include <cstddef>
#include <istream>
#include <string>

namespace sw::cli {

// The longest input line taken: a command, a ticket or a name is a few dozen characters, and an
// endless line must not take the memory with it.
inline constexpr std::size_t MaxLineBytes = 64 * 1024;

enum class LineRead {
    Line,    // a whole line, without its line end
    TooLong, // a line longer than the limit: skipped to its end, nothing of it kept
    End,     // the input ended
};

// Reads the next line of at most `limit` bytes.
LineRead readLine(std::istream& in, std::string& line, std::size_t limit = MaxLineBytes);

} // namespace sw::cli
