#pragma once

#include "Constants.h"

#include <array>
#include <cstdint>
#include <string>

namespace sw {

// Per-entry copies of the race about to be run, filled by the racing program and read by the
// race and the result update. Index = post - 1.
struct EntryTables {
    std::array<std::string, FieldSize> name;
    std::array<int16_t, FieldSize> starts{};
    std::array<int16_t, FieldSize> firsts{};
    std::array<int16_t, FieldSize> seconds{};
    std::array<int16_t, FieldSize> thirds{};
    std::array<int16_t, FieldSize> fourths{};
    std::array<int32_t, FieldSize> earnings{};
    // Columns 0..4 race; 5..9 are carried through unchanged.
    std::array<std::array<int32_t, 10>, FieldSize> segmentRating{};
    std::array<int16_t, FieldSize> path{};
    std::array<int16_t, FieldSize> formValue{};
    std::array<float, FieldSize> bestTime{};
    std::array<bool, FieldSize> spareFlag{};
};

} // namespace sw
