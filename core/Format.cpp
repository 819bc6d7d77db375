#include "Format.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <ctime>

namespace sw {

namespace {

// Fixed-point text with `decimals` decimals, as printf's "%.*f" writes it in the "C" locale
// whatever locale the window toolkit set: the game's texts always use a decimal point.
std::string fixedPoint(double value, int decimals) {
    if (!std::isfinite(value)) {
        char buf[16];
        std::snprintf(buf, sizeof buf, "%.*f", decimals, value);
        return buf;
    }
    char buf[400]; // the largest double has 309 whole digits
    const auto written = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, decimals);
    return std::string(buf, written.ptr);
}

} // namespace

int64_t roundHalfEven(double value) {
    // The default floating-point rounding mode rounds halves to even.
    return static_cast<int64_t>(std::nearbyint(value));
}

std::string fixedText(double value, int decimals) {
    std::string out = fixedPoint(value, decimals);
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

std::string leadingCharacters(std::string_view text, std::size_t count) {
    std::size_t end = 0;
    for (std::size_t seen = 0; end < text.size(); ++end)
        if ((static_cast<unsigned char>(text[end]) & 0xC0) != 0x80 && seen++ == count)
            break;
    return std::string(text.substr(0, end));
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
    if (!std::isfinite(seconds)) {
        char buf[64];
        std::snprintf(buf, sizeof buf, "%.0f:%05.2f", minutes, rest);
        return buf;
    }
    std::string text = fixedPoint(minutes, 0) + ":";
    const std::string restText = fixedPoint(rest, 2);
    if (restText.size() < 5)
        text.append(5 - restText.size(), '0');
    return text + restText;
}

float hundredths(double seconds) {
    const std::string text = fixedPoint(seconds, 2);
    float value = 0;
    const auto read = std::from_chars(text.data(), text.data() + text.size(), value);
    if (read.ec == std::errc::result_out_of_range)
        return seconds < 0 ? -HUGE_VALF : HUGE_VALF;
    return value;
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
