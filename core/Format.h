#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace sw {

// Round half to even, as every conversion of a fraction to a whole number that is not a floor.
int64_t roundHalfEven(double value);

// value with exactly `decimals` decimals, no thousands separator.
std::string fixedText(double value, int decimals);

// Two decimals; with wholeDigitRequired false a value below 1 loses its leading zero (".50"),
// as the "#####.#0" and "$#######.00" patterns print it.
std::string moneyText(double value, bool wholeDigitRequired = true);

// "$" + money text, as the winners, standings and top-ten columns show it.
std::string dollarText(double value);

// Pads on the left to width; never cuts.
std::string rightAlign(std::string_view text, std::size_t width);
// Pads on the right to width; never cuts.
std::string padRight(std::string_view text, std::size_t width);

// Race time: whole minutes, ":", seconds with two decimals (1:58.30).
std::string timeText(double seconds);

// Seconds rounded to hundredths, as a time is shown and read back.
float hundredths(double seconds);

// Short date text m/d/yyyy without leading zeros.
std::string shortDateText(int year, int month, int day);
std::string todayText();

// Length of a UTF-8 text in characters, for column layouts that hold "¼" and friends.
std::size_t displayWidth(std::string_view text);
// The first `count` characters of a UTF-8 text, never cutting one apart: a column's cut name.
std::string leadingCharacters(std::string_view text, std::size_t count);

} // namespace sw
