#pragma once

#include "core/Money.h"
#include "core/RaceDay.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sw {

// The figures the odds rule passed through, kept so a price can be explained from them.
struct OddsWorking {
    double total = 0.0;
    float share = 1.0f;
    double money = 0.0;
    double net = 0.0;     // what the pool pays back: total less the 25 % takeout
    double shared = 0.0;  // the part of the net pool this combination's money shares
    float raw = 0.0f;     // shared / money - 1, before the cut to tenths
    float odds = 0.0f;    // after the cut and the minimum
    bool minimum = false; // the cut odds were below 0.05 and were raised to it
    Cents payoff = 0;     // the $2 payoff of the odds, exactly
    // What the cut to tenths (and the minimum) kept from a $2 ticket, exactly; below zero when the
    // minimum pays more than the money's share, the house adding the difference.
    CentsFraction kept{};
    bool houseAdds = false; // raised to the minimum from raw odds below 0.05
};

// The pari-mutuel odds rule: total * 0.75 * share / money - 1, truncated to tenths, at least 0.05.
// Whole-dollar figures and the shares 1, 0.5 and 0.333 are cut exactly, in integers, so odds that
// land on a tenth keep it. No money on the combination: no odds. The working, when given,
// receives every figure.
std::optional<float> oddsFor(double total, float share, double money, OddsWorking* working = nullptr);
// What the cut to tenths kept from a $2 ticket at these odds, in cents (0 when the house added to
// reach the minimum).
CentsFraction breakageOf(const OddsWorking& working);
// The odds rule's working in words, one step a line, ending with the $2 payoff of the odds:
// poolName e.g. "Place", moneyOn e.g. "5 to place".
std::vector<std::string> oddsLines(const OddsWorking& working, std::string_view poolName,
                                   std::string_view moneyOn);
// Fractional odds text for the board ("1/9" .. "9/2", " 5" .. "99").
std::string oddsText(float odds);
// $2 payoff of odds: odds * 2 + 2.
inline float payoffOf(float odds) {
    return odds * 2.0f + 2.0f;
}
// The $2 payoff of odds the rule gave (whole tenths, or the 0.05 minimum), exactly in cents;
// none for odds below the minimum or too large to pay.
std::optional<Cents> payoffCentsOf(float odds);

// Rebuilds every single-race pool, total and odds table from the seven pool files.
void toteRefresh(RaceDay& day);

} // namespace sw
