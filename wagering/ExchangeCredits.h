#pragma once

#include "BetType.h"
#include "TicketPricing.h"
#include "core/RaceDay.h"
#include "core/Translate.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sw {

// The Twin-Tri and Tri-Super credits: a winning first half waiting for the next race. They are
// kept in exchangecredits.dat, written only together with the step that makes, uses or pays them.

inline constexpr std::string_view ExchangeCreditsFile = "exchangecredits.dat";

// number,player,amount,bet,race,combination,price,exchanged-by with its CR LF.
std::string exchangeCreditRecord(const ExchangeCredit& credit);
// The line when its fields are those a credit writes; nothing for anything else.
std::optional<ExchangeCredit> parseExchangeCredit(std::string_view line);
// A credit is known by its first half's ticket number, its bet and its race: there is one of each.
bool isSameCredit(const ExchangeCredit& a, const ExchangeCredit& b);
// The usable lines of the file's text, in order; a credit's later lines are dropped.
std::vector<ExchangeCredit> parseExchangeCredits(std::string_view text);
// The whole file's text, each credit once.
std::string exchangeCreditsText(const std::vector<ExchangeCredit>& credits);
// Why a credit's line, as read back, is not one of the credits the day holds as it made them
// (never won, or changed since: its price against the trifecta payoff it was won with), for the
// player; empty when it is.
std::string creditLineProblem(const RaceDay& day, const ExchangeCredit& read);

// What a credit pays when its race starts unexchanged: its amount at the first half's $2 price.
Cents creditPayout(const ExchangeCredit& credit);

// Why a second half cannot use its credit: the credit must be the owner's, of the same bet, for
// the race about to be run, not exchanged yet nor used by another unpaid listed ticket,
// and bought at the same amount. `listed` is the ticket's own place in the list, if it is listed:
// only tickets listed before it can have taken the credit. Empty when it can.
std::string exchangeProblem(const RaceDay& day, const ParsedTicket& ticket, int32_t owner,
                            std::size_t listed = static_cast<std::size_t>(-1));

// The credits held for the race about to be run, in file order.
std::vector<ExchangeCredit> creditsOfRace(const RaceDay& day);
// A credit's line in the ticket list: whose, what came in, and whether it is exchanged or what it
// pays with the race's results when the race starts without its exchange.
std::string creditLine(const RaceDay& day, const ExchangeCredit& credit);
// creditLine of every credit of the race about to be run.
std::vector<std::string> creditLines(const RaceDay& day);
// What a screen reader calls the list of those lines.
inline constexpr std::string_view CreditListName = N_("Twin-Tri and Tri-Super credits held for this race");

// "Ann: Twin-Tri exchange for race 5", as the results say when a first half comes in.
std::string exchangeNotice(std::string_view playerName, const ExchangeCredit& credit);

} // namespace sw
