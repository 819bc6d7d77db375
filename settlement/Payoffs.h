#pragma once

#include "core/Money.h"
#include "core/RaceDay.h"
#include "core/Translate.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sw {

// One payoff of the result chart.
struct Payoff {
    std::string label; // the chart label it fills, e.g. "lblWin1Payoff"
    std::optional<Cents>
        value;        // what $2 (or $1 on a $1 label) pays, as the label shows it; none: nothing paid
    std::string text; // the label text: two decimals, "-" when there is no payoff
    // How the payoff was reached, one step a line, written as it was computed; the last line
    // ends with the label text.
    std::vector<std::string> working{};
    // The cents the cuts (to tenths, to whole dollars) kept from one ticket of this label.
    CentsFraction breakage{};
};

// The multi-race bet whose last leg was the race just run.
enum class MultiRaceBet { None, DailyDouble, Pick3, Pick6 };

// Everything the chart shows under "payoffs" for the race just run, and what the settlement pays with.
struct Payoffs {
    Payoff win{"lblWin1Payoff", {}, "-"};
    std::array<Payoff, 2> place{{{"lblPlace1Payoff", {}, "-"}, {"lblPlace2Payoff", {}, "-"}}};
    std::array<Payoff, 3> show{
        {{"lblShow1Payoff", {}, "-"}, {"lblShow2Payoff", {}, "-"}, {"lblShow3Payoff", {}, "-"}}};
    Payoff quiniela{"lblQuinielaPayoff", {}, "-"};
    Payoff exacta{"lblExactaPayoff", {}, "-"};
    Payoff trifecta1{"lblTrifectaPayoff1", {}, "-"};
    Payoff trifecta2{"lblTrifectaPayoff2", {}, "-"};
    Payoff superfecta1{"lblSuperfectaPayoff1", {}, "-"};
    Payoff superfecta2{"lblSuperfectaPayoff2", {}, "-"};

    // Posts of the winning combinations: the quiniela pair lower first, the others in finishing order.
    std::array<int, 2> qHorse{};
    std::array<int, 2> eHorse{};
    std::array<int, 3> tHorse{};
    std::array<int, 4> sHorse{};

    MultiRaceBet multiRace = MultiRaceBet::None;
    std::string special;     // lblSpecial: "Daily Double", "Pick 3", "Pick 6", or empty
    std::vector<int> xHorse; // lblXHorse(0..): the legs' winners; the remaining boxes stay hidden
    Payoff specialPayoff{"lblSpecialPayoff", {}, ""};
};

// One label of the chart and its text; index is the position in a control array, -1 for a single label.
struct LabelText {
    std::string name;
    int index = -1;
    std::string text;
};

// The $2 payoffs of the race day.currentRace from the pools as they stand in memory, the finishing
// order and day.raceWinner (which must already hold this race's winner). Expects the pools to hold
// the race's pool files, so call toteRefresh first or use preparePayoffs. A winning combination
// without money has no payoff ("-"); a payoff is never infinite, negative or below the 0.05 odds.
Payoffs computePayoffs(const RaceDay& day);

// Rebuilds the pools from the race's pool files, then computes the payoffs: what the chart shows is
// then what the tickets were bought against, even after the racing program regenerated the pools.
Payoffs preparePayoffs(RaceDay& day);

// The results' two payoff tables, as their readers translate them: the column headings of win,
// place and show beside the first four, those of the other bets, and each table's name.
inline constexpr std::array<const char*, 5> PlacePayoffHeadings = {N_("Finish"), N_("Post"), N_("Win"),
                                                                   N_("Place"), N_("Show")};
inline constexpr std::array<const char*, 4> BetPayoffHeadings = {N_("Bet"), N_("Horses"), N_("$1"), N_("$2")};
inline constexpr const char* PlacePayoffsName = N_("Win, place and show payoffs");
inline constexpr const char* BetPayoffsName = N_("Payoffs of the other bets");

// Every label the payoffs fill, in chart order: the combinations first, then the payoffs.
std::vector<LabelText> chartLabels(const Payoffs& payoffs);

// The same labels as the results reveal them, one bet at a time: win, place and show together,
// then the quiniela, the exacta, the trifecta, the superfecta and, when one closed with this race,
// the multi-race bet.
std::vector<std::vector<LabelText>> payoffRows(const Payoffs& payoffs);

// The parlay of the legs' $2 win payoffs: each running product but the last cut to whole dollars,
// odds truncated to tenths with the 0.05 minimum, all in whole cents; none for no legs, a leg
// that pays nothing or a result past MaxCents. When given, the payoff receives the parlay's
// working and its breakage.
std::optional<Cents> parlayPayoff(const std::vector<Cents>& legPayoffs, Payoff* explained = nullptr);

// The payoff a player asks about by bet: "win", "place" or "show" with a post that finished in
// the money (0: the winner's), "quiniela", "exacta", "trifecta", "superfecta" (the $2 ticket; a
// post of 1 asks for the $1 ticket), "dailydouble", "pick3", "pick6". Null when the race has no
// such payoff, with the reason in *error.
const Payoff* findPayoff(const Payoffs& payoffs, std::string_view bet, int post, std::string* error);

// The payoff that fills the chart label of this name ("lblWin1Payoff" ..); null for any other name.
const Payoff* payoffByLabel(const Payoffs& payoffs, std::string_view label);

} // namespace sw
