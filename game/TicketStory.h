#pragma once

#include "core/Money.h"
#include "core/RaceDay.h"
#include "race/Chances.h"

#include <optional>
#include <string>
#include <vector>

namespace sw {

// A return a ticket collects and how often the simulated races paid exactly it.
struct StoryReturn {
    Cents returned = 0;
    int races = 0;
};

// What a listed ticket would have collected over many simulated runs of its race, each paid by the
// payoff engine and the settlement's rules on the pools as they stand.
struct TicketStory {
    int race = 0;  // 1..12
    int races = 0; // simulated races
    Cents cost = 0;
    bool paid = false; // an unpaid ticket's own money is not in the pools yet
    int collected = 0; // races in which it collected anything
    ChanceInterval collectRange;
    Cents totalReturned = 0; // over every race
    Cents meanReturn = 0;    // a race, to the nearest cent
    Cents meanHalfBand = 0;  // 95 in 100: the true mean lies within this of meanReturn
    // When it collects: the least, the middle and the most it collected.
    Cents lowest = 0;
    Cents median = 0;
    Cents highest = 0;
    std::vector<StoryReturn> likeliest; // the most frequent returns, most frequent first (up to 3)
    // The figures in sentences, as the ticket's explanation shows them.
    std::vector<std::string> lines;
};

// The story of `ticket` in the race about to be run (day.pools and day.entries must hold that
// race, as they do while it is bet) over `races` simulated races, whose orders come from `cache`
// (and are kept there). None for a ticket this cannot tell: a bet over several races, a Twin-Tri
// or Tri-Super half, or a text that is not a ticket; *why then says so.
std::optional<TicketStory> ticketStory(const RaceDay& day, const ListedTicket& ticket, ChanceCache& cache,
                                       int races = ChanceRaces, std::string* why = nullptr);

} // namespace sw
