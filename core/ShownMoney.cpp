#include "ShownMoney.h"

#include <cctype>
#include <cstdint>

namespace sw {

namespace {

bool isDigit(char c) {
    return std::isdigit(static_cast<unsigned char>(c)) != 0;
}

} // namespace

std::string shownMoney(Cents cents) {
    const bool negative = cents < 0;
    // Taken apart unsigned, so the most negative amount has a magnitude too.
    const uint64_t magnitude = negative ? 0 - static_cast<uint64_t>(cents) : static_cast<uint64_t>(cents);
    const std::string dollars = std::to_string(magnitude / 100);
    std::string text = negative ? "-$" : "$";
    for (std::size_t i = 0; i < dollars.size(); ++i) {
        if (i > 0 && (dollars.size() - i) % 3 == 0)
            text += ',';
        text += dollars[i];
    }
    const uint64_t rest = magnitude % 100;
    text += '.';
    text += static_cast<char>('0' + rest / 10);
    text += static_cast<char>('0' + rest % 10);
    return text;
}

std::string shownMoneyIn(std::string_view line) {
    std::string out;
    out.reserve(line.size() + 8);
    std::size_t i = 0;
    while (i < line.size()) {
        // An amount: an optional "-", "$", whole digits (maybe none), "." and two decimals.
        const std::size_t start = i;
        std::size_t at = i;
        if (line[at] == '-')
            ++at;
        if (at >= line.size() || line[at] != '$') {
            out += line[i++];
            continue;
        }
        std::size_t digits = ++at;
        while (digits < line.size() && isDigit(line[digits]))
            ++digits;
        const bool amount = digits + 2 < line.size() && line[digits] == '.' && isDigit(line[digits + 1]) &&
                            isDigit(line[digits + 2]) &&
                            (digits + 3 == line.size() || !isDigit(line[digits + 3]));
        if (!amount) {
            out += line[i++];
            continue;
        }
        const std::string_view whole = line.substr(at, digits - at);
        const std::string_view rest = line.substr(digits + 1, 2);
        // A whole part too long for 64 bits is left as written.
        const auto cents = parseCents(std::string(whole) + "." + std::string(rest));
        if (!cents) {
            out += line[i++];
            continue;
        }
        std::string shown = shownMoney(line[start] == '-' ? -*cents : *cents);
        const std::size_t grown = shown.size() - (digits + 3 - start);
        // One blank always stays, so the amount never runs into the word before it.
        for (std::size_t k = 0;
             k < grown && out.size() >= 2 && out.back() == ' ' && out[out.size() - 2] == ' '; ++k)
            out.pop_back();
        out += shown;
        i = digits + 3;
    }
    return out;
}

} // namespace sw
