#pragma once

#include "Constants.h"

#include <array>
#include <cstdint>
#include <string>

namespace sw {

// What a run race leaves for the chart, the payoffs and the settlement.
// Arrays named finish* are indexed by finishing place - 1; the call arrays by entry (post - 1).
struct RaceResult {
    std::array<uint8_t, FieldSize> finishOrder{}; // post of the horse placed f+1; 0 = not placed
    std::array<float, FieldSize> finishTime{};    // seconds, hundredths
    std::array<std::string, FieldSize> finishLengths;
    std::array<uint8_t, FieldSize> quarterPos{};
    std::array<uint8_t, FieldSize> halfPos{};
    std::array<uint8_t, FieldSize> threeQuarterPos{};
    std::array<std::string, FieldSize> halfLengths;
    std::array<std::string, FieldSize> threeQuarterLengths;
    std::array<std::string, 3> fractionTimes; // "0:24.12" at the quarter, half, three quarters
    bool photoFinish = false;
    bool complete = false; // all eight placed
};

} // namespace sw
