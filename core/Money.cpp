#include "Money.h"

#include <algorithm>

namespace sw {

namespace {

using Wide = CentsFraction::Wide;

bool within(Wide value) {
    return value >= -static_cast<Wide>(MaxCents) && value <= static_cast<Wide>(MaxCents);
}

// numerator / denominator (denominator above 0) to the nearest whole number, halves to even.
Wide roundedQuotient(Wide numerator, Wide denominator) {
    Wide q = numerator / denominator;
    Wide r = numerator % denominator;
    if (r < 0) {
        r += denominator;
        q -= 1;
    }
    const Wide twice = 2 * r;
    if (twice > denominator || (twice == denominator && q % 2 != 0))
        q += 1;
    return q;
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

} // namespace

std::optional<Cents> dollarsToCents(int64_t dollars) {
    return mulCents(dollars, CentsPerDollar);
}

std::optional<Cents> addCents(Cents a, Cents b) {
    const Wide sum = static_cast<Wide>(a) + b;
    if (!within(sum))
        return std::nullopt;
    return static_cast<Cents>(sum);
}

std::optional<Cents> mulCents(Cents a, int64_t factor) {
    const Wide product = static_cast<Wide>(a) * factor;
    if (!within(product))
        return std::nullopt;
    return static_cast<Cents>(product);
}

std::optional<Cents> parseCents(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    if (i == text.size())
        return Cents{0};
    bool negative = false;
    if (text[i] == '+' || text[i] == '-')
        negative = text[i++] == '-';
    // The digits as one decimal number with `point` of them after the point, leading zeros
    // dropped; a number of more than 36 digits is far past MaxCents or finer than any cent.
    std::string digits;
    int point = 0;
    bool any = false;
    auto take = [&](char c, bool fraction) {
        any = true;
        point += fraction ? 1 : 0;
        if (!digits.empty() || c != '0')
            digits.push_back(c);
    };
    for (; i < text.size() && isDigit(text[i]); ++i)
        take(text[i], false);
    if (i < text.size() && text[i] == '.')
        for (++i; i < text.size() && isDigit(text[i]); ++i)
            take(text[i], true);
    if (!any)
        return std::nullopt;
    // An exponent counts only when digits follow it, as "12e" is the number 12.
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        bool expNegative = false;
        if (j < text.size() && (text[j] == '+' || text[j] == '-'))
            expNegative = text[j++] == '-';
        if (j < text.size() && isDigit(text[j])) {
            long exponent = 0;
            for (; j < text.size() && isDigit(text[j]); ++j)
                exponent = std::min(exponent * 10 + (text[j] - '0'), 100000L);
            point += static_cast<int>(expNegative ? exponent : -exponent);
        }
    }
    if (digits.size() > 36)
        return std::nullopt;
    if (digits.empty())
        return Cents{0};
    // value = digits * 10^(2 - point) cents.
    const int shift = 2 - point;
    if (shift > 0 && static_cast<int>(digits.size()) + shift > 20)
        return std::nullopt; // past MaxCents
    Wide whole = 0;
    for (char c : digits)
        whole = whole * 10 + (c - '0');
    Wide cents = whole;
    if (shift >= 0) {
        for (int k = 0; k < shift; ++k)
            cents *= 10;
    } else if (-shift > static_cast<int>(digits.size()) + 1) {
        cents = 0; // under a tenth of a cent; the divisor would not fit either
    } else {
        Wide divisor = 1;
        for (int k = 0; k < -shift; ++k)
            divisor *= 10;
        cents = roundedQuotient(whole, divisor);
    }
    if (negative)
        cents = -cents;
    if (!within(cents))
        return std::nullopt;
    return static_cast<Cents>(cents);
}

std::string centsField(Cents cents) {
    std::string text = centsText(cents);
    while (text.back() == '0')
        text.pop_back();
    if (text.back() == '.')
        text.pop_back();
    return text == "-0" ? "0" : text;
}

std::string centsText(Cents cents, bool wholeDigitRequired) {
    const bool negative = cents < 0;
    // Taken apart unsigned, so the most negative amount has a magnitude too.
    const uint64_t magnitude = negative ? 0 - static_cast<uint64_t>(cents) : static_cast<uint64_t>(cents);
    const uint64_t dollars = magnitude / 100;
    const uint64_t rest = magnitude % 100;
    std::string text = negative ? "-" : "";
    if (dollars != 0 || wholeDigitRequired)
        text += std::to_string(dollars);
    text += '.';
    text += static_cast<char>('0' + rest / 10);
    text += static_cast<char>('0' + rest % 10);
    return text;
}

std::string centsDollarText(Cents cents) {
    const std::string text = centsText(cents, false);
    return text.front() == '-' ? "-$" + text.substr(1) : "$" + text;
}

double centsToDollars(Cents cents) {
    return static_cast<double>(cents) / static_cast<double>(CentsPerDollar);
}

Cents CentsFraction::rounded() const {
    return static_cast<Cents>(roundedQuotient(numerator, denominator));
}

Cents CentsFraction::timesRounded(int64_t factor) const {
    return static_cast<Cents>(roundedQuotient(numerator * factor, denominator));
}

} // namespace sw
