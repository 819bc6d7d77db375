#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace sw {

// Reads a whole number written in decimal digits only: no sign, no blanks, nothing after the
// digits and nothing beyond 64 bits. Both programs read --seed with it, so "12abc" is refused
// instead of read as 12 and "-5" instead of wrapped to a huge seed.
std::optional<std::uint64_t> parseWholeNumber(std::string_view text);

} // namespace sw
