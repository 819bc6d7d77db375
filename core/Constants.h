#pragma once

#include "core/Translate.h"

#include <string_view>

namespace sw {

inline constexpr int HorseCount = 200;
inline constexpr int JockeyCount = 32;
inline constexpr int RacesPerDay = 12;
inline constexpr int FieldSize = 8;
inline constexpr int PastPerformanceKeep = 15;
inline constexpr std::string_view RaceDistanceText = N_("1\u00BC Miles");

inline constexpr std::string_view AppTitle = "Stridewell";
inline constexpr std::string_view AppDescription = N_("Horse Racing");
inline constexpr std::string_view AppCaption = N_("Stridewell - Horse Racing");
inline constexpr std::string_view MessageTitle = N_("Stridewell - Horse Racing Message");

// Single-race pools hold every combination of the field once as public money.
inline constexpr int PublicPoolLines = 8 + 8 + 8 + 28 + 56 + 336 + 1680;

} // namespace sw
