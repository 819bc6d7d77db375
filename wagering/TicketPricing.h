#pragma once

#include "BetType.h"
#include "CombinationMarks.h"
#include "core/Ticket.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sw {

// Reading a ticket text back, expanding it into the combinations it covers, and its cost.

inline constexpr int32_t MaxBetAmount = 32000;
// The combination list shows this many lines, then one "... and N more" line.
inline constexpr std::size_t ShownCombinationLines = 1000;

// One set of horses: post numbers 1..8 in the order clicked, or all eight for "All".
struct SelectionSet {
    std::array<uint8_t, 8> posts{};
    uint8_t size = 0;
    bool all = false;
};

struct ParsedTicket {
    int32_t amount = 0; // dollars per combination
    BetType type = BetType::Win;
    BetMode mode = BetMode::On;
    std::array<SelectionSet, 6> sets{}; // one per position or race, first to last
    int setCount = 0;
    int32_t exchange = 0; // a Twin-Tri or Tri-Super second half: the number of the credit it uses
};

// The bet whose combinations the ticket covers: a first half is a Trifecta, a second half a
// Trifecta or Superfecta; every other ticket its own bet.
BetType combinationShape(const ParsedTicket& ticket);

// The ticket a text describes, accepting exactly the texts the bet entry builds (for example
// "$2 Exacta Box 134", "$5 Trifecta Wheel 1 with 23 with 2345", "$2 WPS on All"); otherwise
// nothing, with the reason in *error when given.
std::optional<ParsedTicket> parseTicketText(std::string_view text, std::string* error = nullptr);

// Why a second half of this bet, using credit `credit` bought at `amount`, is refused any mode but
// Straight: a credit buys one combination, and more of them are an ordinary Trifecta or Superfecta.
std::string exchangeModeRefusal(BetType type, int32_t credit, int32_t amount);

// The text of a set as the entry writes it: its digits in click order, or "All".
std::string setText(const SelectionSet& set);
// The ticket text the entry would build for this ticket.
std::string ticketText(const ParsedTicket& ticket);

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
