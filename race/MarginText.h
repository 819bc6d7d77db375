#pragma once

#include <string>

namespace sw {

// Race-clock milliseconds that count as one length.
inline constexpr float MillisecondsPerLength = 2368.0f;

// The chart's margin for a race-clock gap in milliseconds: "ns", "nk", "hd", " ¼", " ½", " ¾",
// "1 ", then whole lengths ("2 " .. "9 ", "10", "11", ...). Each band includes its upper bound.
std::string marginText(float gap);

// How much faster the clock runs in a race of grade g: 1 + 0.013 (g - 1), 1.0 for grade 1.
float speedFactor(int grade);

} // namespace sw
