#include "WholeNumber.h"

#include <charconv>

namespace sw {

std::optional<std::uint64_t> parseWholeNumber(std::string_view text) {
    // from_chars takes no sign for an unsigned type and no leading blanks, and reports overflow.
    std::uint64_t value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || stop != end)
        return std::nullopt;
    return value;
}

} // namespace sw
