#include "TextEncoding.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

namespace sw {

namespace {

// Appends the fixed-point text of value rounded to `digits` significant digits, trailing zeros
// removed. The conversion ignores the locale, so a decimal comma can never reach a file.
void appendShortestFixed(std::string& out, double value, int digits) {
    if (!std::isfinite(value) || value == 0) {
        out.push_back('0');
        return;
    }
    char buf[64];
    const auto written =
        std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific, digits - 1);
    // buf: [-]d.ddddde[+-]xx
    std::string_view s(buf, static_cast<std::size_t>(written.ptr - buf));
    const bool negative = s.front() == '-';
    if (negative)
        s.remove_prefix(1);
    const auto ePos = s.find('e');
    std::string_view exponentText = s.substr(ePos + 1);
    const bool negativeExponent = exponentText.front() == '-';
    exponentText.remove_prefix(1);
    int exponent = 0;
    std::from_chars(exponentText.data(), exponentText.data() + exponentText.size(), exponent);
    if (negativeExponent)
        exponent = -exponent;
    char mantissa[32];
    std::size_t length = 0;
    for (char c : s.substr(0, ePos))
        if (c != '.')
            mantissa[length++] = c;
    while (length > 1 && mantissa[length - 1] == '0')
        --length;
    const std::string_view digitsText(mantissa, length);
    if (negative)
        out.push_back('-');
    if (exponent >= 0) {
        const auto intDigits = static_cast<std::size_t>(exponent) + 1;
        if (length <= intDigits) {
            out.append(digitsText);
            out.append(intDigits - length, '0');
        } else {
            out.append(digitsText.substr(0, intDigits));
            out.push_back('.');
            out.append(digitsText.substr(intDigits));
        }
    } else {
        out.append("0.");
        out.append(static_cast<std::size_t>(-exponent - 1), '0');
        out.append(digitsText);
    }
}

std::string shortestFixed(double value, int digits) {
    std::string out;
    appendShortestFixed(out, value, digits);
    return out;
}

void appendInt(std::string& out, int64_t value) {
    char buf[24];
    const auto written = std::to_chars(buf, buf + sizeof buf, value);
    out.append(buf, written.ptr);
}

// Whether a number text too far out of range for a double is too small (strtod reads it as zero)
// rather than too large. The text is [sign] digits [. digits] [e [sign] digits].
bool underflows(std::string_view number) {
    std::size_t i = 0;
    if (i < number.size() && (number[i] == '+' || number[i] == '-'))
        ++i;
    while (i < number.size() && number[i] == '0')
        ++i;
    int64_t significantWhole = 0;
    while (i < number.size() && std::isdigit(static_cast<unsigned char>(number[i]))) {
        ++significantWhole;
        ++i;
    }
    int64_t fractionZeros = 0;
    if (i < number.size() && number[i] == '.') {
        ++i;
        while (significantWhole == 0 && i < number.size() && number[i] == '0') {
            ++fractionZeros;
            ++i;
        }
        while (i < number.size() && std::isdigit(static_cast<unsigned char>(number[i])))
            ++i;
    }
    int64_t exponent = 0;
    if (i < number.size() && (number[i] == 'e' || number[i] == 'E')) {
        ++i;
        const bool negative = i < number.size() && number[i] == '-';
        if (i < number.size() && (number[i] == '+' || number[i] == '-'))
            ++i;
        for (; i < number.size() && std::isdigit(static_cast<unsigned char>(number[i])); ++i)
            exponent = std::min<int64_t>(exponent * 10 + (number[i] - '0'), int64_t{1} << 40);
        if (negative)
            exponent = -exponent;
    }
    const int64_t magnitude =
        significantWhole > 0 ? significantWhole - 1 + exponent : exponent - fractionZeros - 1;
    return magnitude < 0;
}

template <typename Int> void readInteger(FieldReader& reader, Int& value) {
    if (reader.atEnd())
        return;
    const std::string_view field = reader.next();
    // Nearly every whole number field is a few plain digits, read without the general reader.
    if (!field.empty() && field.size() <= 4) {
        int plain = 0;
        std::size_t i = 0;
        for (; i < field.size() && static_cast<unsigned>(field[i] - '0') <= 9; ++i)
            plain = plain * 10 + (field[i] - '0');
        if (i == field.size()) {
            value = static_cast<Int>(plain);
            return;
        }
    }
    double number = 0;
    if (!parseLeadingNumber(field, number))
        return;
    number = std::nearbyint(number);
    if (number < static_cast<double>(std::numeric_limits<Int>::min()) ||
        number > static_cast<double>(std::numeric_limits<Int>::max()))
        return;
    value = static_cast<Int>(number);
}

} // namespace

std::string formatInt(int64_t value) {
    return std::to_string(value);
}

std::string formatSingle(float value) {
    return shortestFixed(static_cast<double>(value), 7);
}

std::string formatDouble(double value) {
    return shortestFixed(value, 15);
}

std::string formatBool(bool value) {
    return value ? "True" : "False";
}

// Room for a whole record of any data file, so building one allocates once.
RecordWriter::RecordWriter() {
    m_text.reserve(128);
}

void RecordWriter::separate() {
    if (!m_first)
        m_text.push_back(',');
    m_first = false;
}

RecordWriter& RecordWriter::text(std::string_view value) {
    separate();
    m_text.append(value);
    return *this;
}

RecordWriter& RecordWriter::integer(int64_t value) {
    separate();
    appendInt(m_text, value);
    return *this;
}

RecordWriter& RecordWriter::single(float value) {
    separate();
    appendShortestFixed(m_text, static_cast<double>(value), 7);
    return *this;
}

RecordWriter& RecordWriter::dbl(double value) {
    separate();
    appendShortestFixed(m_text, value, 15);
    return *this;
}
RecordWriter& RecordWriter::boolean(bool value) {
    return text(formatBool(value));
}
RecordWriter& RecordWriter::empty() {
    return text("");
}

std::string RecordWriter::line() const& {
    std::string out;
    out.reserve(m_text.size() + LineEnd.size());
    out.append(m_text).append(LineEnd);
    return out;
}

std::string RecordWriter::line() && {
    m_text.append(LineEnd);
    return std::move(m_text);
}

FieldReader::FieldReader(std::string_view line) : m_line(line) {}

std::string_view FieldReader::next() {
    if (m_pos > m_line.size())
        return {};
    while (m_pos < m_line.size() && (m_line[m_pos] == ' ' || m_line[m_pos] == '\t'))
        ++m_pos;
    auto comma = m_line.find(',', m_pos);
    std::string_view field;
    if (comma == std::string_view::npos) {
        field = m_line.substr(m_pos);
        m_pos = m_line.size() + 1;
    } else {
        field = m_line.substr(m_pos, comma - m_pos);
        m_pos = comma + 1;
    }
    ++m_fields;
    return field;
}

void FieldReader::read(std::string& value) {
    if (atEnd())
        return;
    value.assign(next());
}

void FieldReader::read(int16_t& value) {
    readInteger(*this, value);
}
void FieldReader::read(int32_t& value) {
    readInteger(*this, value);
}
void FieldReader::read(int64_t& value) {
    readInteger(*this, value);
}

void FieldReader::read(float& value) {
    if (atEnd())
        return;
    double number = 0;
    if (!parseLeadingNumber(next(), number))
        return;
    if (std::fabs(number) > std::numeric_limits<float>::max())
        return;
    value = static_cast<float>(number);
}

void FieldReader::read(double& value) {
    if (atEnd())
        return;
    double number = 0;
    if (parseLeadingNumber(next(), number))
        value = number;
}

void FieldReader::read(bool& value) {
    if (atEnd())
        return;
    std::string_view field = next();
    while (!field.empty() && field.back() == ' ')
        field.remove_suffix(1);
    auto equalsNoCase = [&](std::string_view word) {
        if (field.size() != word.size())
            return false;
        for (std::size_t i = 0; i < word.size(); ++i)
            if (std::tolower(static_cast<unsigned char>(field[i])) != word[i])
                return false;
        return true;
    };
    if (equalsNoCase("true")) {
        value = true;
    } else if (equalsNoCase("false")) {
        value = false;
    } else {
        double number = 0;
        if (parseLeadingNumber(field, number))
            value = number != 0;
    }
}

bool parseLeadingNumber(std::string_view text, double& out) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    if (i == text.size()) {
        out = 0;
        return true;
    }
    std::size_t start = i;
    if (text[i] == '+' || text[i] == '-')
        ++i;
    std::size_t digitsStart = i;
    while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])))
        ++i;
    std::size_t intDigits = i - digitsStart;
    std::size_t fracDigits = 0;
    if (i < text.size() && text[i] == '.') {
        ++i;
        std::size_t fracStart = i;
        while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])))
            ++i;
        fracDigits = i - fracStart;
    }
    if (intDigits + fracDigits == 0)
        return false;
    // An exponent is taken only when digits follow it, as "12e" is the number 12.
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-'))
            ++j;
        std::size_t expStart = j;
        while (j < text.size() && std::isdigit(static_cast<unsigned char>(text[j])))
            ++j;
        if (j > expStart)
            i = j;
    }
    // Plain whole numbers, nearly every field of the data files, are exact in a double up to 15
    // digits and need no conversion call.
    if (i == digitsStart + intDigits && intDigits <= 15) {
        uint64_t whole = 0;
        for (std::size_t d = digitsStart; d < i; ++d)
            whole = whole * 10 + static_cast<uint64_t>(text[d] - '0');
        const double value = static_cast<double>(whole);
        out = text[start] == '-' ? -value : value;
        return true;
    }
    // The conversion ignores the locale: a window toolkit may have switched it to a decimal comma.
    const std::string_view number = text.substr(start, i - start);
    const char* first = number.data();
    if (*first == '+')
        ++first; // from_chars takes no plus sign
    double value = 0;
    const auto read = std::from_chars(first, number.data() + number.size(), value);
    if (read.ec == std::errc::result_out_of_range) {
        if (!underflows(number))
            return false;
        value = number.front() == '-' ? -0.0 : 0.0;
    } else if (read.ec != std::errc{} || !std::isfinite(value)) {
        return false;
    }
    out = value;
    return true;
}

std::vector<std::string_view> splitLines(std::string_view content) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < content.size(); ++i) {
        char c = content[i];
        if (c == '\n' || c == '\r') {
            lines.push_back(content.substr(start, i - start));
            if (c == '\r' && i + 1 < content.size() && content[i + 1] == '\n')
                ++i;
            start = i + 1;
        }
    }
    if (start < content.size())
        lines.push_back(content.substr(start));
    return lines;
}

} // namespace sw
