#pragma once

#include "core/Translate.h"

#include "core/RaceDay.h"
#include "settlement/Payoffs.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace sw {

// One tickets.dat line as the settlement reads it.
struct TicketRecord {
    int32_t number = 0;
    int32_t playerId = 0;
    int32_t amount = 0;
    std::string betType;
    int32_t raceNumber = 0;
    std::string date;
};

// The line when its number, player, amount and race are whole numbers (blanks around them
// allowed) and it has at least those five fields; nothing otherwise.
std::optional<TicketRecord> parseTicket(std::string_view line);
// The usable lines of tickets.dat's text in file order; the others are passed over.
std::vector<TicketRecord> parseTickets(std::string_view text);
// number,player,amount,bet type,race,date with its CR LF.
std::string ticketRecord(const TicketRecord& ticket);
// The ticket numbers of the pool file's lines (its text) that name these posts in this order,
// in file order. Only the ticket and the posts must be whole numbers; what follows is not read.
std::vector<int32_t> ticketsOnPosts(std::string_view poolText, std::span<const int> posts);

// One winning ticket line paid out (or, with playerIndex -1, owed to a player no longer listed).
struct Credit {
    int playerIndex = -1; // index in the player list at the time of the credit
    int32_t playerId = 0;
    int32_t ticketNumber = 0;
    std::string code;   // "Win", "Plc", "Shw", "Qui", "Exa", "Tri", "Sup", "DDb", "Pk3", "Pk6", "TwT", "TrS"
    std::string label;  // the chart label whose payoff paid it; empty for a Twin-Tri or Tri-Super credit
    int32_t amount = 0; // the ticket's dollars per combination
    Cents payoff = 0;   // the $2 payoff it was paid with (for a Twin-Tri or Tri-Super, the parlay)
    Cents winnings = 0;
    Cents breakage = 0; // this ticket's share of what its payoff's cuts kept, to the cent
    // How a Twin-Tri or Tri-Super credit's payoff was reached, one step a line, ending with it; the
    // other credits' payoffs explain themselves on the chart.
    std::vector<std::string> working{};
};

// What a single-race pool pays on a finishing order: the posts its winning lines name, the payoff
// they are paid with, the winners' code and the tickets.dat kinds whose lines it holds.
struct PoolPayment {
    std::string_view file;
    std::vector<int> winners;
    const Payoff* payoff = nullptr;
    std::string_view code;
    std::vector<std::string_view> betTypes;
};
// Every single-race pool's payment on this order (first four posts), in the order the settlement pays.
std::vector<PoolPayment> singleRacePayments(std::span<const uint8_t> order, const Payoffs& payoffs);

// What one line of `amount` dollars collects on a $2 payoff: amount / 2 x the payoff, exact since
// every payoff is an even number of cents; none past what cents can hold.
std::optional<Cents> winningsOf(Cents payoff, int32_t amount);

// What one settlement did.
struct SettlementReport {
    std::vector<Credit> credits;            // in the order paid, one per lstWinners line
    std::vector<Credit> unclaimed;          // winning tickets of players no longer listed: nobody credited
    std::vector<std::string> winnerLines;   // lstWinners
    std::vector<std::string> standingLines; // lstStandings
    std::vector<std::string> exchangeLines; // "Ann: Twin-Tri exchange for race 5": first halves that came in
    std::vector<std::string> creditNotes;   // lines of exchangecredits.dat not paid as written, and why
    std::vector<std::string> errors;        // files that could not be written, winnings that could not be
                                            // held; the settlement went on
};

// Pays every winning ticket of the race day.currentRace with the payoffs, then of the multi-race bet
// whose last leg it was; saves players.dat with the credits before each prune of tickets.dat to
// the multi-race tickets still running, empties that bet's pool file and builds the standings.
// The Twin-Tri and Tri-Super credits held for this race are paid as the day made them (a second
// half that came in as the parlay of both halves, an unexchanged credit at its first half's price;
// a line of exchangecredits.dat that differs is named in creditNotes), and every first half that
// came in becomes one credit for the next race: exchangecredits.dat, the emptied halves' files,
// players.dat and tickets.dat change in one step. A pool line
// pays only tickets with its number whose bet belongs to that pool (and, for a single-race pool, were bought
// for this race), never one dated another day. Settling the same race twice pays nothing the second
// time. Steps that cannot be written are kept by the folder for the next one: the credits stand.
SettlementReport settleRace(RaceDay& day, const Payoffs& payoffs);

// What one player collects on the race: every credit paid to them, added up.
struct Collection {
    int playerIndex = -1;
    std::string name;
    Cents winnings = 0;
};
// The players who collect on the race, biggest sum first (equal sums in the order first paid);
// a player paid nothing is left out.
std::vector<Collection> collections(const SettlementReport& report, const PlayerList& players);
// The results' headline for one of them: "Ann collects $84.20".
std::string collectsLine(const Collection& collection);
// What the results announce to a screen reader once the order is official: "Official: 5
// Outrigger first, 2 Bluebell second, 8 Sea Lark third". Empty before the race has placed three.
std::string officialOrderLine(const RaceDay& day);
// The headline when nobody collects.
inline constexpr std::string_view NobodyCollectsText = N_("Nobody collects on this race");

// A lstWinners line: "$24.00" right-aligned in 9, " -", the code, "- ", the name.
std::string winnerLine(Cents winnings, std::string_view code, std::string_view name);

// lstStandings: every player by balance, highest first (equal balances keep list order),
// "$412.50" right-aligned in 10, " - ", the name.
std::vector<std::string> standingLines(const PlayerList& players);

} // namespace sw
