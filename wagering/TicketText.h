#pragma once

#include "BetType.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace sw {

// The grammar of a ticket text: the words of "$2 Exacta Box 134" read into the ticket they name,
// and that ticket written back as the bet entry builds it.

inline constexpr int32_t MaxBetAmount = 32000;

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
// A ticket text, or a line built of its words (the slip's "$2 Exacta Box 1-3-4"), as the window shows
// it in the player's language: each word of the grammar translated, the figures as they are. The
// stored text stays English, since the files and the text front end read it.
std::string shownTicketText(std::string_view text);

} // namespace sw
