// Whole numbers typed on a command line: what is read, and what is refused instead of guessed.

#include "core/WholeNumber.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace {

TEST(WholeNumber, ReadsDigitsOnlyAndRefusesTheRest) {
    const struct {
        std::string text;
        std::optional<std::uint64_t> value;
    } cases[] = {
        {"0", 0},
        {"42", 42},
        {"007", 7},
        {"18446744073709551615", UINT64_MAX},
        {"18446744073709551616", std::nullopt}, // one past 64 bits
        {"99999999999999999999999", std::nullopt},
        {"12abc", std::nullopt},
        {"-5", std::nullopt},
        {"+5", std::nullopt},
        {" 5", std::nullopt},
        {"5 ", std::nullopt},
        {"0x10", std::nullopt},
        {"1e3", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(sw::parseWholeNumber(c.text), c.value) << '"' << c.text << '"';
}

} // namespace
