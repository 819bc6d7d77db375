#include "Format.h"

#include <cmath>
#include <cstdio>
#include <ctime>

namespace sw {

int64_t roundHalfEven(double value) {
    // The default floating-point rounding mode rounds halves to even.
    return static_cast<int64_t>(std::nearbyint(value));
}

std::string fixedText(double value, int decimals) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*f", decimals, value);
    std::string out(buf);
    if (out.rfind("-0", 0) == 0 && std::fabs(value) * std::pow(10.0, decimals) < 0.5)
        out.erase(0, 1);
    return out;
}

std::string moneyText(double value, bool wholeDigitRequired) {
    std::string out = fixedText(value, 2);
    if (!wholeDigitRequired) {
        if (out.rfind("0.", 0) == 0)
            out.erase(0, 1);
        else if (out.rfind("-0.", 0) == 0)
            out.erase(1, 1);
    }
    return out;
}

std::string dollarText(double value) {
    std::string text = moneyText(value, false);
    if (!text.empty() && text.front() == '-')
        return "-$" + text.substr(1);
    return "$" + text;
}

std::size_t displayWidth(std::string_view text) {
    std::size_t width = 0;
    for (unsigned char c : text)
        if ((c & 0xC0) != 0x80)
            ++width;
    return width;
}

std::string rightAlign(std::string_view text, std::size_t width) {
    std::size_t w = displayWidth(text);
    std::string out;
    if (w < width)
        out.assign(width - w, ' ');
    out.append(text);
    return out;
}

std::string padRight(std::string_view text, std::size_t width) {
    std::string out(text);
    std::size_t w = displayWidth(text);
    if (w < width)
        out.append(width - w, ' ');
    return out;
}

std::string timeText(double seconds) {
    double minutes = std::floor(seconds / 60.0);
    double rest = seconds - 60.0 * minutes;
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.0f:%05.2f", minutes, rest);
    return buf;
}

float hundredths(double seconds) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.2f", seconds);
    return std::strtof(buf, nullptr);
}

std::string shortDateText(int year, int month, int day) {
    return std::to_string(month) + "/" + std::to_string(day) + "/" + std::to_string(year);
}

std::string todayText() {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return shortDateText(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
}

} // namespace sw
