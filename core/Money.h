#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace sw {

// Money is whole cents: every balance, charge, credit, payoff and ledger figure. Dollars and
// cents are never held in a floating type, so no sum or product loses a cent at any size.
using Cents = int64_t;

inline constexpr Cents CentsPerDollar = 100;

// The largest amount any balance, payoff or ledger figure may hold: $9,999,999,999,999.99, so
// that every product of a ticket's amount and a payoff can be checked in 64 bits and every
// label shows the amount in full. Anything larger is refused where it would arise.
inline constexpr Cents MaxCents = 999'999'999'999'999;

// Whole dollars as cents; none when they are past MaxCents either way.
std::optional<Cents> dollarsToCents(int64_t dollars);
// a + b and a * b when the result stays within MaxCents either way; none otherwise.
std::optional<Cents> addCents(Cents a, Cents b);
std::optional<Cents> mulCents(Cents a, int64_t factor);

// The leading number of a money text read exactly: blanks, a sign, digits, a point and digits,
// an exponent ("1.5e3"); more than two decimals round half to even. An empty text is 0; none
// for a text with no number or one past MaxCents.
std::optional<Cents> parseCents(std::string_view text);
// The shortest plain text of the amount, as the data files hold money: 400, 395.6, 123454.75.
std::string centsField(Cents cents);
// Two decimals, no separators (397.50); with wholeDigitRequired false a value below 1 loses its
// leading zero (.50), as the "#####.#0" pattern prints it.
std::string centsText(Cents cents, bool wholeDigitRequired = true);
// "$" + centsText without the whole digit ($.50, -$3.00), as the winners, standings and top-ten
// columns show money.
std::string centsDollarText(Cents cents);
// The amount in dollars, only for figures that are shown as ratios or plotted, never paid.
double centsToDollars(Cents cents);

// An exact fraction of a cent: what a cut keeps is usually no whole number of cents.
struct CentsFraction {
    __extension__ typedef __int128 Wide;
    Wide numerator = 0;
    int64_t denominator = 1; // above 0
    // To whole cents, halves to even.
    Cents rounded() const;
    // The fraction times a whole factor, rounded to cents (halves to even): a ticket's share of a cut.
    Cents timesRounded(int64_t factor) const;
    double toDouble() const { return static_cast<double>(numerator) / static_cast<double>(denominator); }
};

} // namespace sw
