// Whole numbers typed on a command line: what is read, and what is refused instead of guessed.

#include "core/WholeNumber.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <utility>

namespace {

TEST(WholeNumber, ReadsDigitsOnlyAndRefusesTheRest) {
    const std::pair<std::string, std::uint64_t> read[] = {
        {"0", 0}, {"42", 42}, {"007", 7}, {"18446744073709551615", UINT64_MAX}};
    for (const auto& [text, value] : read)
        EXPECT_EQ(sw::parseWholeNumber(text), value) << text;
    // Refused, the first one past 64 bits.
    for (const char* text : {"18446744073709551616", "99999999999999999999999", "12abc", "-5", "+5", " 5",
                             "5 ", "0x10", "1e3", ""})
        EXPECT_EQ(sw::parseWholeNumber(text), std::nullopt) << '"' << text << '"';
}

} // namespace
