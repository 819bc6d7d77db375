#pragma once

#include "core/RaceDay.h"

#include <optional>
#include <string>

namespace sw {

// The pari-mutuel odds rule: total * 0.75 * share / money - 1, truncated to tenths, at least 0.05.
// No money on the combination: no odds.
std::optional<float> oddsFor(double total, float share, double money);
// Fractional odds text for the board ("1/9" .. "9/2", " 5" .. "99").
std::string oddsText(float odds);
// $2 payoff of odds: odds * 2 + 2.
inline float payoffOf(float odds) {
    return odds * 2.0f + 2.0f;
}

// Rebuilds every single-race pool, total and odds table from the seven pool files.
void toteRefresh(RaceDay& day);

} // namespace sw
