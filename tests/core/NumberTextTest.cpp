// Number texts of the data files checked against the C library in the "C" locale: the written
// text reads back as printf's rounding to the same significant digits, and every number text
// reads as strtod reads it; the texts shown are printf's.

#include "core/Format.h"
#include "core/TextEncoding.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>

using namespace sw;

namespace {

// What the text must read back as: the value rounded to `digits` significant digits.
double roundedTo(double value, int digits) {
    char text[64];
    std::snprintf(text, sizeof text, "%.*e", digits - 1, value);
    return std::strtod(text, nullptr);
}

void expectPlainShortestText(const std::string& text, double value, int digits) {
    SCOPED_TRACE(text);
    ASSERT_FALSE(text.empty());
    EXPECT_EQ(text.find_first_not_of("-0123456789."), std::string::npos) << "no exponent, no comma";
    EXPECT_EQ(std::strtod(text.c_str(), nullptr), roundedTo(value, digits));
    if (text.find('.') != std::string::npos) {
        EXPECT_NE(text.back(), '0') << "no trailing zeros after the point";
        EXPECT_NE(text.back(), '.');
    }
    const std::string_view magnitude = text.front() == '-' ? std::string_view(text).substr(1) : text;
    if (magnitude.size() > 1 && magnitude[0] == '0') {
        EXPECT_EQ(magnitude[1], '.') << "no leading zeros";
    }
}

TEST(NumberText, SinglesOfEveryMagnitudeReadBackAsSevenDigits) {
    std::mt19937 bits(11);
    std::uniform_int_distribution<uint32_t> any;
    int checked = 0;
    while (checked < 20000) {
        uint32_t raw = any(bits);
        float value;
        std::memcpy(&value, &raw, sizeof value);
        if (!std::isfinite(value) || value == 0 || std::fabs(value) > 1e12f || std::fabs(value) < 1e-12f)
            continue;
        expectPlainShortestText(formatSingle(value), value, 7);
        ++checked;
    }
}

TEST(NumberText, GameFiguresReadBackExactly) {
    // Race times in hundredths, odds in tenths, money in cents: the figures the files hold.
    for (int hundredths = 0; hundredths < 40000; hundredths += 7) {
        const float time = static_cast<float>(hundredths) / 100.0f;
        const std::string text = formatSingle(time);
        EXPECT_EQ(std::strtof(text.c_str(), nullptr), time) << text;
        expectPlainShortestText(text, time, 7);
    }
    EXPECT_EQ(formatSingle(-0.05f), "-0.05");
    EXPECT_EQ(formatSingle(9999999.0f), "9999999");
    EXPECT_EQ(formatDouble(0.9999999999999999), "1") << "rounding carries into a new digit";
    EXPECT_EQ(formatSingle(0.1f), "0.1");
    EXPECT_EQ(formatSingle(1e-7f), "0.0000001");
}

TEST(NumberText, DoublesKeepFifteenDigits) {
    std::mt19937_64 bits(12);
    std::uniform_real_distribution<double> mantissa(1.0, 10.0);
    std::uniform_int_distribution<int> exponent(-20, 20);
    for (int n = 0; n < 20000; ++n) {
        const double value = std::ldexp(mantissa(bits), exponent(bits)) * (n % 2 ? -1 : 1);
        expectPlainShortestText(formatDouble(value), value, 15);
    }
    EXPECT_EQ(formatDouble(1e20), "100000000000000000000");
    EXPECT_EQ(formatDouble(-1234.5), "-1234.5");
}

TEST(NumberText, RecordWriterWritesTheSameNumbersAsTheFormatters) {
    const std::string line = RecordWriter().integer(-42).single(121.35f).dbl(0.1 + 0.2).integer(0).line();
    EXPECT_EQ(line, "-42," + formatSingle(121.35f) + "," + formatDouble(0.1 + 0.2) + ",0\r\n");
    EXPECT_EQ(RecordWriter().integer(INT64_MIN).line(), std::to_string(INT64_MIN) + "\r\n");
}

// Reads a number text as the files' reader did before it had a path of its own for whole
// numbers: the leading number text through strtod.
bool strtodReads(const std::string& text, double& out) {
    std::size_t i = text.find_first_not_of(" \t");
    if (i == std::string::npos) {
        out = 0;
        return true;
    }
    const char* start = text.c_str() + i;
    char* end = nullptr;
    const double value = std::strtod(start, &end);
    if (end == start || !std::isfinite(value))
        return false;
    out = value;
    return true;
}

void expectReadsAsStrtod(const std::string& text) {
    double expected = -1, actual = -1;
    const bool expectedOk = strtodReads(text, expected);
    const bool actualOk = parseLeadingNumber(text, actual);
    ASSERT_EQ(actualOk, expectedOk) << '"' << text << '"';
    if (expectedOk) {
        EXPECT_EQ(actual, expected) << '"' << text << '"';
        EXPECT_EQ(std::signbit(actual), std::signbit(expected)) << '"' << text << '"';
    }
}

TEST(NumberText, ReadsEveryNumberAsStrtodDoes) {
    for (const char* text : {"0",
                             "-0",
                             "+7",
                             "  12",
                             "\t-3",
                             "007",
                             "123456789012345",
                             "1234567890123456",
                             "99999999999999999999",
                             "12abc",
                             "12e",
                             "12e+",
                             "12e3",
                             "12E-2",
                             "1.",
                             ".5",
                             "-.5",
                             "+.5e1",
                             "1.5e",
                             "121.35",
                             "0.3333333",
                             "1e308",
                             "1e309",
                             "-1e309",
                             "1e-320",
                             "1e-400",
                             "-1e-400",
                             "0.0000e-999999999999",
                             "1000e-400",
                             "0.001e-322",
                             "2.4e-324",
                             "1.7976931348623157e308",
                             "1.7976931348623159e308",
                             "000000000000000000000000000000000000000000000000000000000000000000000001.25",
                             "+",
                             "-",
                             ".",
                             "e5",
                             "-e5",
                             "abc",
                             "",
                             " ",
                             "1,5"})
        expectReadsAsStrtod(text);
    // Only decimal number texts count; strtod alone would also take these.
    double value = -1;
    EXPECT_TRUE(parseLeadingNumber("0x1A", value));
    EXPECT_EQ(value, 0);
    EXPECT_FALSE(parseLeadingNumber("inf", value));
    EXPECT_FALSE(parseLeadingNumber("nan", value));
}

TEST(NumberText, ReadsRandomNumberTextsAsStrtodDoes) {
    std::mt19937 pick(13);
    const std::string alphabet = "0123456789.e-+ ";
    for (int n = 0; n < 50000; ++n) {
        std::string text;
        const int length = 1 + static_cast<int>(pick() % 12);
        for (int k = 0; k < length; ++k)
            text.push_back(alphabet[pick() % (k == 0 ? 12 : alphabet.size() - 1)]);
        expectReadsAsStrtod(text);
    }
}

std::string printed(const char* format, double a, double b = 0) {
    char text[512];
    std::snprintf(text, sizeof text, format, a, b);
    return text;
}

std::string printedFixed(int decimals, double value) {
    char text[512];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

TEST(NumberText, ShownFiguresArePrintfsInTheCLocale) {
    std::mt19937_64 bits(14);
    std::uniform_real_distribution<double> money(0.001, 100000.0);
    for (int n = 0; n < 20000; ++n) {
        const double value = money(bits) * (n % 3 == 0 ? -1 : 1);
        const int decimals = n % 4;
        ASSERT_EQ(fixedText(value, decimals), printedFixed(decimals, value)) << value;
        const double seconds = std::fabs(value) / 50.0;
        const double minutes = std::floor(seconds / 60.0);
        ASSERT_EQ(timeText(seconds), printed("%.0f:%05.2f", minutes, seconds - 60.0 * minutes)) << seconds;
        ASSERT_EQ(hundredths(seconds), std::strtof(printed("%.2f", seconds).c_str(), nullptr)) << seconds;
    }
    EXPECT_EQ(fixedText(1e300, 0), printedFixed(0, 1e300)) << "a huge hand-edited figure is printed whole";
}

TEST(NumberText, FilesStayTheSameUnderADecimalCommaLocale) {
    const char* commaLocales[] = {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "fr_FR.utf8", "nl_NL.UTF-8"};
    const std::string before = std::setlocale(LC_NUMERIC, nullptr);
    const char* found = nullptr;
    for (const char* name : commaLocales)
        if (std::setlocale(LC_NUMERIC, name)) {
            found = name;
            break;
        }
    if (!found)
        GTEST_SKIP() << "no decimal-comma locale installed";
    const std::string written = RecordWriter().single(121.35f).dbl(612.5).line();
    double read = 0;
    const bool ok = parseLeadingNumber("121.35", read);
    const std::string shown = moneyText(24.5) + " " + timeText(118.3) + " " + fixedText(7.25, 1);
    const float rounded = hundredths(118.7249);
    std::setlocale(LC_NUMERIC, before.c_str());
    EXPECT_EQ(written, "121.35,612.5\r\n");
    EXPECT_EQ(shown, "24.50 1:58.30 7.2");
    EXPECT_EQ(rounded, 118.72f);
    EXPECT_TRUE(ok);
    EXPECT_EQ(read, 121.35);
}

} // namespace
