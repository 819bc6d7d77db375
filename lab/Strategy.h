#pragma once

#include "core/RaceDay.h"
#include "race/Chances.h"
#include "wagering/TicketPricing.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sw {

// What a strategy sees of the race about to be run: the day at the tote board before its own
// tickets (card, program tables, pools and odds), and the field's simulated chances when it asked.
struct RaceView {
    const RaceDay& day;
    int race = 1;                            // 1..12
    const ChanceEstimate* chances = nullptr; // null unless the strategy needs them
    // The strategy's Twin-Tri credit for this race (its first half came in last race); 0 for none.
    int32_t twinTriCredit = 0;

    // Posts 1..8 by the board's win odds, shortest first (ties by post); horses without win
    // money last.
    std::vector<int> byOdds() const;
    // Posts by simulated win chance, likeliest first (ties by post); empty without chances.
    std::vector<int> byChance() const;
    // Posts by simulated chance to finish in the first three.
    std::vector<int> byTopThree() const;
    // What a dollar to win on the post returns on average at the board's odds: chance x (odds + 1).
    // 0 without chances or odds.
    double expectedReturn(int post) const;
};

// A betting rule: for each race, the tickets to buy. Amounts are left to the stake rule, except
// a Twin-Tri second half, which is bought at its credit's amount.
struct Strategy {
    std::string name;
    std::string description;
    bool needsChances = false;
    std::function<std::vector<ParsedTicket>(const RaceView&)> plan;
};

// The strategies the lab offers by name.
const std::vector<Strategy>& labStrategies();

// A strategy by name, or a rule in the lab's grammar:
//   BET [when CONDITION [and CONDITION]...]
//   BET       win | place | show            (a ticket on every horse the conditions hold for)
//   CONDITION FIELD OP NUMBER,  OP one of > >= < <= =
//   FIELD     odds    the board's win odds to 1
//             rank    1 for the favourite (shortest odds), 8 for the longest
//             post    1..8
//             chance  simulated chance to win, 0..1
//             top3    simulated chance to finish in the first three, 0..1
//             value   chance x (odds + 1): what a dollar to win returns on average
// e.g. "win when value > 1.2 and odds >= 5". Nothing, with the reason in *error, for anything else.
std::optional<Strategy> findStrategy(std::string_view nameOrRule, std::string* error = nullptr);

} // namespace sw
