#pragma once

#include "CombinationMarks.h"
#include "TicketText.h"
#include "core/Ticket.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace sw {

// Expanding a ticket into the combinations it covers, and its cost.

// The combination list shows this many lines, then one "... and N more" line.
inline constexpr std::size_t ShownCombinationLines = 1000;

struct TicketPrice {
    int32_t count = 0; // different combinations bought; an Across The Board horse counts three
    int64_t cost = 0;  // count x amount; a second half's one combination is paid by its credit
};

// Count and cost.
TicketPrice priceTicket(const ParsedTicket& ticket);
// As above for a listed text; a text that does not parse costs nothing.
TicketPrice priceTicket(std::string_view text);

// Count and cost, with every covered combination marked in `marks` (cleared first and sized for
// the bet family). Builds no text, so even the 262,144 combinations of a Pick 6 stay cheap.
TicketPrice expandTicket(const ParsedTicket& ticket, CombinationMarks& marks);

// The combination lines, posts joined by "-" in the order they are counted, each combination once
// (a Quiniela pair lower post first; one line per horse for Win, Place, Show and WPS). At most maxLines of
// them, then
// "... and N more" when lines were left out.
std::vector<std::string> combinationLines(const ParsedTicket& ticket,
                                          std::size_t maxLines = ShownCombinationLines);

// How a ticket text comes to its cost, one step a line: what it covers, its combinations (at most
// maxLines of them), and last the count times the amount.
std::vector<std::string> explainTicket(std::string_view text, std::size_t maxLines = 40);

struct TicketTotals {
    int64_t count = 0;
    int64_t cost = 0;
};

// Count and cost summed over every listed ticket, paid or not.
TicketTotals totalsOf(const std::vector<ListedTicket>& tickets);

} // namespace sw
