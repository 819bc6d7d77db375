// The text encoding of the data files and the figures shown. Number texts are checked against
// the C library in the "C" locale: the written text reads back as printf's rounding to the same
// significant digits, every number text reads as strtod reads it, and the figures shown are
// printf's. A file's text is cut into lines as the line rules say, one character at a time,
// around the 64 KiB line limit.

#include "core/TextEncoding.h"
#include "core/FileStore.h"
#include "core/Format.h"
#include "core/GradeTables.h"

#include <gtest/gtest.h>

#include <bit>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <random>
#include <regex>

using namespace sw;

namespace {

using Texts = std::vector<std::string>;

// What the text must read back as: the value rounded to `digits` significant digits.
double roundedTo(double value, int digits) {
    char text[64];
    std::snprintf(text, sizeof text, "%.*e", digits - 1, value);
    return std::strtod(text, nullptr);
}

// A plain decimal text (no exponent, no comma, no spare zeros) that reads back as the value rounded.
void expectPlainShortestText(const std::string& text, double value, int digits) {
    static const std::regex plain("-?(0|[1-9][0-9]*)(\\.[0-9]*[1-9])?");
    EXPECT_TRUE(std::regex_match(text, plain)) << text;
    EXPECT_EQ(std::strtod(text.c_str(), nullptr), roundedTo(value, digits)) << text;
}

TEST(NumberText, SinglesKeepSevenDigitsAndDoublesFifteen) {
    std::mt19937 bits(11);
    std::uniform_int_distribution<uint32_t> any;
    for (int checked = 0; checked < 20000;) {
        const auto value = std::bit_cast<float>(any(bits));
        if (!std::isfinite(value) || value == 0 || std::fabs(value) > 1e12f || std::fabs(value) < 1e-12f)
            continue;
        expectPlainShortestText(formatSingle(value), value, 7);
        ++checked;
    }
    std::mt19937_64 wide(12);
    std::uniform_real_distribution<double> mantissa(1.0, 10.0);
    std::uniform_int_distribution<int> exponent(-20, 20);
    for (int n = 0; n < 20000; ++n) {
        const double value = std::ldexp(mantissa(wide), exponent(wide)) * (n % 2 ? -1 : 1);
        expectPlainShortestText(formatDouble(value), value, 15);
    }
    // Race times in hundredths, odds in tenths, money in cents: the figures the files hold.
    for (int hundredths = 0; hundredths < 40000; hundredths += 7) {
        const float time = static_cast<float>(hundredths) / 100.0f;
        EXPECT_EQ(std::strtof(formatSingle(time).c_str(), nullptr), time) << formatSingle(time);
    }
}

TEST(NumberText, EdgeValuesWriteExactly) {
    Texts singles, doubles;
    for (float value : {999.0f, 122.5f, 1000.0f, 121.35f, 0.0f, -0.0f, -397.5f, 0.00012f, -0.05f, 1e-7f,
                        9999999.0f, 123456789.0f, 1e10f, 1.0f / 3.0f})
        singles.push_back(formatSingle(value));
    EXPECT_EQ(singles, (Texts{"999", "122.5", "1000", "121.35", "0", "0", "-397.5", "0.00012", "-0.05",
                              "0.0000001", "9999999", "123456800", "10000000000", "0.3333333"}));
    // 0.9999999999999999 rounds up into a new digit.
    for (double value : {612.5, 0.1 + 0.2, 1.0 / 3.0, 1234567.25, std::numeric_limits<double>::quiet_NaN(),
                         0.9999999999999999, 1e20, -1234.5})
        doubles.push_back(formatDouble(value));
    EXPECT_EQ(doubles, (Texts{"612.5", "0.3", "0.333333333333333", "1234567.25", "0", "1",
                              "100000000000000000000", "-1234.5"}));
}

// A number text as the files' reader read it before it had a path of its own for whole
// numbers: a blank field is 0, otherwise the leading number text through strtod.
void expectReadsAsStrtod(const std::string& text) {
    SCOPED_TRACE('"' + text + '"');
    const char* start = text.c_str() + std::min(text.size(), text.find_first_not_of(" \t"));
    char* end = nullptr;
    const double expected = *start ? std::strtod(start, &end) : 0.0;
    const bool reads = !*start || (end != start && std::isfinite(expected));
    double actual = -1;
    ASSERT_EQ(parseLeadingNumber(text, actual), reads);
    if (reads) {
        EXPECT_EQ(actual, expected);
        EXPECT_EQ(std::signbit(actual), std::signbit(expected));
    }
}

TEST(NumberText, ReadsEveryNumberAsStrtodDoes) {
    for (const char* text :
         {"0",     "-0",    "+7",     "  12",   "\t-3",   "007",     "12abc",     "12e",        "12e+",
          "12e3",  "12E-2", "1.",     ".5",     "-.5",    "+.5e1",   "1.5e",      "121.35",     "0.3333333",
          "1e308", "1e309", "-1e309", "1e-320", "1e-400", "-1e-400", "1000e-400", "0.001e-322", "2.4e-324",
          "+",     "-",     ".",      "e5",     "-e5",    "abc",     "",          " ",          "1,5"})
        expectReadsAsStrtod(text);
    for (const char* text : {"123456789012345", "1234567890123456", "99999999999999999999",
                             "0.0000e-999999999999", "1.7976931348623157e308", "1.7976931348623159e308",
                             "000000000000000000000000000000000000000000000000000000000000000000000001.25"})
        expectReadsAsStrtod(text);
    expectReadsAsStrtod("1" + std::string(310, '0') + "e-001"); // 1e309: too large, its exponent below 0
    std::mt19937 pick(13);
    const std::string alphabet = "0123456789.e-+ ";
    for (int n = 0; n < 50000; ++n) {
        std::string text;
        const int length = 1 + static_cast<int>(pick() % 12);
        for (int k = 0; k < length; ++k)
            text.push_back(alphabet[pick() % (k == 0 ? 12 : alphabet.size() - 1)]);
        expectReadsAsStrtod(text);
    }
    // Only decimal number texts count; strtod alone would also take these.
    double value = -1;
    EXPECT_TRUE(parseLeadingNumber("0x1A", value) && value == 0) << value;
    EXPECT_FALSE(parseLeadingNumber("inf", value) || parseLeadingNumber("nan", value));
}

std::string printed(const char* format, double a, double b = 0) {
    char text[512];
    std::snprintf(text, sizeof text, format, a, b);
    return text;
}

TEST(NumberText, ShownFiguresArePrintfsInTheCLocale) {
    std::mt19937_64 bits(14);
    std::uniform_real_distribution<double> money(0.001, 100000.0);
    for (int n = 0; n < 20000; ++n) {
        const double value = money(bits) * (n % 3 == 0 ? -1 : 1);
        const int decimals = n % 4;
        char fixed[512];
        std::snprintf(fixed, sizeof fixed, "%.*f", decimals, value);
        ASSERT_EQ(fixedText(value, decimals), fixed) << value;
        const double seconds = std::fabs(value) / 50.0;
        const double minutes = std::floor(seconds / 60.0);
        ASSERT_EQ(timeText(seconds), printed("%.0f:%05.2f", minutes, seconds - 60.0 * minutes)) << seconds;
        ASSERT_EQ(hundredths(seconds), std::strtof(printed("%.2f", seconds).c_str(), nullptr)) << seconds;
    }
    EXPECT_EQ(fixedText(1e300, 0), printed("%.0f", 1e300)) << "a huge hand-edited figure is printed whole";
}

TEST(NumberText, ShownPatterns) {
    // A figure that shows as zero has no minus sign; an alignment never cuts; "½" is one column.
    EXPECT_EQ((Texts{moneyText(397.5), moneyText(0.5), moneyText(0, false), moneyText(0.5, false),
                     moneyText(-0.5, false), dollarText(612.5), dollarText(0), dollarText(-2),
                     fixedText(-0.004, 2), rightAlign("$612.50", 10), rightAlign("$12345678.00", 10),
                     padRight("\u00BD", 3), shortDateText(2026, 12, 6)}),
              (Texts{"397.50", "0.50", ".00", ".50", "-.50", "$612.50", "$.00", "-$2.00", "0.00",
                     "   $612.50", "$12345678.00", "\u00BD  ", "12/6/2026"}));
    EXPECT_EQ((std::vector<int64_t>{roundHalfEven(12.5), roundHalfEven(13.5), roundHalfEven(-2.5)}),
              (std::vector<int64_t>{12, 14, -2}));
}

TEST(NumberText, FilesStayTheSameUnderADecimalCommaLocale) {
    const std::string before = std::setlocale(LC_NUMERIC, nullptr);
    bool found = false;
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "fr_FR.utf8", "nl_NL.UTF-8"})
        found = found || std::setlocale(LC_NUMERIC, name);
    if (!found)
        GTEST_SKIP() << "no decimal-comma locale installed";
    double read = 0;
    const std::string texts = RecordWriter().single(121.35f).dbl(612.5).line() + moneyText(24.5) + " " +
                              timeText(118.3) + " " + fixedText(7.25, 1) +
                              (parseLeadingNumber("121.35", read) ? " read" : "");
    const float rounded = hundredths(118.7249);
    std::setlocale(LC_NUMERIC, before.c_str());
    EXPECT_EQ(texts, "121.35,612.5\r\n24.50 1:58.30 7.2 read");
    EXPECT_EQ(std::tuple(read, rounded), std::tuple(121.35, 118.72f));
}

TEST(RecordWriter, JoinsFieldsAndEndsWithCrLf) {
    EXPECT_EQ(RecordWriter().text("Silver Arrow").text("M").integer(-3).single(999.f).boolean(false).line(),
              "Silver Arrow,M,-3,999,False\r\n");
    EXPECT_EQ(RecordWriter().single(400).single(2).empty().empty().single(121.35f).boolean(true).line(),
              "400,2,,,121.35,True\r\n");
    EXPECT_EQ(RecordWriter().integer(INT64_MIN).dbl(0.1 + 0.2).line(),
              std::to_string(INT64_MIN) + ",0.3\r\n");
}

TEST(FieldReader, ReadsEachFieldTolerantly) {
    // The leading number text counts, an empty field reads as 0, a non-zero number as true.
    FieldReader r("  12abc,,Ann , 7.5,true,0,3");
    int32_t a = 99, b = 99;
    std::string name;
    float f = 0;
    bool t = false, z = true, n = false;
    const auto readAll = [&](auto&... values) { (r.read(values), ...); };
    readAll(a, b, name, f, t, z, n);
    EXPECT_EQ(std::tie(a, b, name, f, t, z, n), std::tuple(12, 0, "Ann ", 7.5f, true, false, true));
    EXPECT_TRUE(r.atEnd());
    r.read(a);
    EXPECT_EQ(a, 12) << "a field past the end of a short line leaves the value";
}

template <typename T> T firstField(std::string_view line, T value) {
    FieldReader(line).read(value);
    return value;
}

// A field that is not a number, or a number the field cannot hold, leaves the value as it was.
TEST(FieldReader, KeepsTheValueForANumberItCannotHold) {
    const struct {
        const char* field;
        int64_t asShort, asInt;
    } whole[] = {{"abc", 5, 5},         {"32767", 32767, 32767},       {"-32768", -32768, -32768},
                 {"40000", 5, 40000},   {"2147483647", 5, 2147483647}, {"99999999999", 5, 5},
                 {"12e3", 12000, 12000}};
    for (const auto& c : whole) {
        SCOPED_TRACE(c.field);
        EXPECT_EQ(firstField<int16_t>(c.field, 5), c.asShort);
        EXPECT_EQ(firstField<int32_t>(c.field, 5), c.asInt);
    }
    EXPECT_EQ(std::tuple(firstField(" 1e39", 4.0f), firstField("x", 4.0f), firstField("2.5e2", 4.0)),
              std::tuple(4.0f, 4.0f, 250.0));
    for (float value : {0.f, 2.5f, 121.35f, 118.72f, 0.05f, 99.9f, 1.0f / 3.0f, 123456.7f})
        EXPECT_FLOAT_EQ(firstField(formatSingle(value), -1.0f), value) << "what the writer writes reads back";
}

// CR LF, LF or a lone CR ends a line, and a last line without its end counts unless it is empty;
// the file reader's lines are those, each cut to MaxLineLength, however the ends fall around it.
TEST(FileLines, ReadAsTheLineRulesSay) {
    using Lines = std::vector<std::string_view>;
    EXPECT_EQ(splitLines(""), Lines{});
    EXPECT_EQ(splitLines("\r\n\n\r\n\r"), (Lines{"", "", "", ""}));
    EXPECT_EQ(splitLines("\n\ra\r\r\nb\nc\rd"), (Lines{"", "", "a", "", "b", "c", "d"}));
    EXPECT_EQ(splitLines("x\r\n\r\ny\r\n"), (Lines{"x", "", "y"}));
    constexpr std::size_t Kib64 = 1 << 16;
    std::vector<std::string> texts = {
        "", "\r\n\n\r", "a\r\nb\nc\rd",
        // Bytes one bit away from CR or LF, which a fast search could mistake for them.
        "x\x8D\x8A\x0C\x0E\x0B\x09\r\n\xC2\xBD\x2A\x2D\n\r\x0D\x8D",
        std::string(3 * Kib64 + 7, 'x') + "\r\n" + std::string(MaxLineLength, 'y') + "\n" +
            std::string(MaxLineLength + 1, 'z') + "\rshort\n" + std::string(2 * Kib64, 'w')};
    for (const std::string& text : texts) {
        SCOPED_TRACE(testing::Message() << text.size() << " bytes");
        std::vector<std::string_view> read, cut;
        forEachLineIn(text, [&](std::string_view line) { read.push_back(line); });
        for (std::string_view line : splitLines(text))
            cut.push_back(line.substr(0, MaxLineLength));
        EXPECT_EQ(read, cut);
    }
}

TEST(GradeTables, PurseSharesFactorsAndLetters) {
    std::vector<int> shares, factors, grades;
    for (int g : {6, 3})
        for (int p = 0; p <= 8; ++p)
            shares.push_back(purseShare(g, p));
    for (int g = 0; g <= 7; ++g)
        factors.push_back(gradeFactor(g));
    for (const char* letter : {"-", "M", "J", "C", "B", "A", "AA", "X", ""})
        grades.push_back(gradeIndex(letter));
    EXPECT_EQ(shares, (std::vector<int>{2400, 1500, 900, 600, 150, 150, 150, 150, 0, 1200, 750, 450, 300, 75,
                                        75, 75, 75, 0}));
    EXPECT_EQ(factors, (std::vector<int>{0, 8, 9, 10, 11, 12, 13, 0}));
    EXPECT_EQ(grades, (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 0, 0}));
    EXPECT_EQ(purseShare(0, 0) + purseShare(7, 0) + purseShare(1, -1), 0);
}

} // namespace
