#include "core/Money.h"
#include "core/Format.h"
#include "core/ShownMoney.h"
#include "core/Translate.h"

#include <gtest/gtest.h>

#include <limits>
#include <optional>
#include <string>
#include <vector>

using namespace sw;

namespace {

// Money is read exactly from its text and written back in the files' shortest plain form.
TEST(Money, TextIsReadExactlyAndWrittenInItsShortestPlainForm) {
    const struct {
        const char* text;
        std::optional<Cents> cents;
        const char* field; // centsField of the amount read
        const char* label; // centsText without the whole digit, as the balance and payoff labels show it
    } cases[] = {
        {"395.6", 39560, "395.6", "395.60"},
        {"123454.75", 123454'75, "123454.75", "123454.75"},
        {"400", 40000, "400", "400.00"},
        {"100000.05", 100000'05, "100000.05", "100000.05"},
        {"2147483648", 2147483648'00, "2147483648", "2147483648.00"},
        {"0.5", 50, "0.5", ".50"},
        {"-12", -1200, "-12", "-12.00"},
        {"-0.05", -5, "-0.05", "-.05"},
        {"  7.10 and more", 710, "7.1", "7.10"}, // the leading number, as every field is read
        {"", 0, "0", ".00"},
        {"+3.", 300, "3", "3.00"},
        {"1.5e3", 150000, "1500", "1500.00"},
        {"12e", 1200, "12", "12.00"},
        {"2.345", 234, "2.34", "2.34"}, // finer than a cent: halves to even
        {"2.355", 236, "2.36", "2.36"},
        {"2.3451", 235, "2.35", "2.35"},
        {"9999999999999.99", MaxCents, "9999999999999.99", "9999999999999.99"},
        {"10000000000000", std::nullopt, "", ""},
        {"1e30", std::nullopt, "", ""},
        {"123456789012345678901234567890e-39", 0, "0", ".00"}, // far below a cent
        {"5e-3", 0, "0", ".00"},                               // half a cent: to even
        {"junk", std::nullopt, "", ""},
        {"-", std::nullopt, "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const std::optional<Cents> cents = parseCents(c.text);
        EXPECT_EQ(cents, c.cents);
        if (cents) {
            EXPECT_EQ(centsField(*cents), c.field);
            EXPECT_EQ(centsText(*cents, false), c.label);
            EXPECT_EQ(parseCents(centsField(*cents)), cents) << "a written amount reads back as it was";
        }
    }
    EXPECT_EQ(centsDollarText(-300) + centsDollarText(50), "-$3.00$.50");
    EXPECT_EQ(centsText(std::numeric_limits<Cents>::min()), "-92233720368547758.08");
}

TEST(Money, SumsProductsAndCutsStayExactOrSayTheyCannot) {
    using Sums = std::vector<std::optional<Cents>>;
    EXPECT_EQ((Sums{addCents(MaxCents - 1, 1), addCents(MaxCents, 1), addCents(-MaxCents, -1),
                    mulCents(1160, 1'000'000), mulCents(MaxCents, 2), dollarsToCents(int64_t{1} << 31)}),
              (Sums{MaxCents, std::nullopt, std::nullopt, 11'600'000'00, std::nullopt, 2147483648'00}));
    // A cut keeps a fraction of a cent; a ticket's share of it is rounded once, halves to even:
    // 0.5, 1.5, 1.625, -2.5 and -3.5.
    const CentsFraction eighth{1, 8};
    EXPECT_EQ((std::vector<Cents>{eighth.timesRounded(4), eighth.timesRounded(12), eighth.timesRounded(13),
                                  CentsFraction{-5, 2}.rounded(), CentsFraction{-7, 2}.rounded()}),
              (std::vector<Cents>{0, 2, 2, -2, -4}));
}

// The window shows money with a whole digit and thousands separators; in a line of columns the
// blanks before a grown amount give way, one always staying, and what is no amount is left alone.
TEST(Money, TheWindowShowsAmountsWithAWholeDigitAndSeparators) {
    const std::pair<std::string, std::string> lines[] = {
        {"$.00", "$0.00"},
        {"$12345.60", "$12,345.60"},
        {"-$3.00", "-$3.00"},
        {"$999999999999.99", "$999,999,999,999.99"},
        {"Ann        $.00|Bo   $1234567.00", "Ann       $0.00|Bo $1,234,567.00"},
        {"paid $1000.00 at 1:58.30", "paid $1,000.00 at 1:58.30"},
        {"$5 Win on 3, $2.505, $.5, $", "$5 Win on 3, $2.505, $.5, $"},
    };
    for (const auto& [line, shown] : lines)
        EXPECT_EQ(shownMoneyIn(line), shown) << line;
    EXPECT_EQ(shownMoney(-MaxCents) + " " + shownMoney(100000), "-$9,999,999,999,999.99 $1,000.00");
}

// A translation may put the figures in its own order; what is no placeholder stays as written.
TEST(Format, PlaceholdersTakeTheirArgumentsInAnyOrder) {
    EXPECT_EQ(fillIn("Le ticket {1} de {0} : {1}", "Ann", 2125), "Le ticket 2125 de Ann : 2125");
    EXPECT_EQ(fillIn("{2} {x} {} {0}", std::string("a"), 'b'), "{2} {x} {} a");
    // An argument is put in as it is, never read as a pattern itself.
    EXPECT_EQ(fillIn("{0}{1}", "{1}", std::string_view("!")), "{1}!");
}

} // namespace
