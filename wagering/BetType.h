#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace sw {

// The thirteen bets a ticket can carry, and the way its horses were entered.
enum class BetType : uint8_t {
    Win,
    Place,
    Show,
    WPS,
    Quiniela,
    Exacta,
    Trifecta,
    Superfecta,
    DailyDouble,
    Pick3,
    Pick6,
    TwinTri,
    TriSuper,
};
inline constexpr int BetTypeCount = 13;

// "On" is the word a Win, Place, Show or Across The Board ticket carries instead of a mode.
enum class BetMode : uint8_t { On, Straight, Box, Wheel };

// The bet word of the ticket text ("Win" .. "DailyDouble" .. "Tri-Super").
std::string_view betWord(BetType type);
// The bet type of a ticket's bet word; nothing for any other word (the match is exact).
std::optional<BetType> betTypeFromWord(std::string_view word);
// The bet's name in the player's language, as sentences and headings name it ("Daily Double").
std::string betTitle(BetType type);
// The bet type as tickets.dat writes it: "Daily Double" keeps its space there.
std::string_view ticketFileWord(BetType type);

// "on", "Straight", "Box" or "Wheel".
std::string_view modeWord(BetMode mode);
// The mode of a ticket's third word; nothing for any other word.
std::optional<BetMode> modeFromWord(std::string_view word);

// Win, Place, Show and Across The Board: one set of horses, no mode choice.
bool isSingleHorseBet(BetType type);
// Daily Double, Pick 3 and Pick 6: one winner set per race, always a wheel.
bool isMultiRace(BetType type);
// Twin-Tri and Tri-Super: a trifecta first half in one race, exchanged when it wins for a second
// half in the next.
bool isExchangeBet(BetType type);
// The bet a second half is entered as: Trifecta for the Twin-Tri, Superfecta for the Tri-Super.
BetType secondHalfOf(BetType type);
// tickets.dat's word for a second half: "Twin-Tri Exchange", "Tri-Super Exchange".
std::string_view exchangeFileWord(BetType type);
// The word a ticket text puts before the credit a second half uses.
inline constexpr std::string_view ExchangeWord = "Exchange";
// Win, Place, Show and Across The Board take at least this many dollars a bet.
inline constexpr int32_t MinimumSingleHorseAmount = 2;
// "Minimum amount for Win is $2" and the like for those four bets; empty for the others.
std::string_view minimumAmountLine(BetType type);

// Sets a wheel of this bet holds (finishing positions or races); 1 for the single-horse bets.
int setsPerWheel(BetType type);
// Fewest horses a Box takes, which is also exactly what a Straight takes; 1 for single-horse bets.
int horsesPerCombination(BetType type);

} // namespace sw
