#pragma once

#include "core/Money.h"

#include <string>
#include <string_view>

namespace sw {

// Money as the window shows it to the players: "$", a whole digit and thousands separators
// ($0.00, $12,345.60, -$3.00). The data files and the chart's own texts keep their patterns.
std::string shownMoney(Cents cents);

// A line of text with every "$" amount in it ("$.00", "$12345.60") written as shownMoney writes
// it. Blanks before an amount give way to its longer form (one always stays), so right-aligned
// columns stay put.
std::string shownMoneyIn(std::string_view line);

} // namespace sw
