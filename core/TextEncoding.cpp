#include "TextEncoding.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace sw {

namespace {

// Fixed-point text of value rounded to `digits` significant digits, trailing zeros removed.
std::string shortestFixed(double value, int digits) {
    if (!std::isfinite(value) || value == 0)
        return "0";
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*e", digits - 1, value);
    // buf: [-]d.ddddde[+-]xx
    std::string_view s(buf);
    bool negative = s.front() == '-';
    if (negative)
        s.remove_prefix(1);
    auto ePos = s.find('e');
    int exponent = std::atoi(std::string(s.substr(ePos + 1)).c_str());
    std::string mantissa;
    for (char c : s.substr(0, ePos))
        if (c != '.')
            mantissa.push_back(c);
    while (mantissa.size() > 1 && mantissa.back() == '0')
        mantissa.pop_back();
    std::string out;
    if (exponent >= 0) {
        int intDigits = exponent + 1;
        if (static_cast<int>(mantissa.size()) <= intDigits) {
            out = mantissa + std::string(intDigits - mantissa.size(), '0');
        } else {
            out = mantissa.substr(0, intDigits) + "." + mantissa.substr(intDigits);
        }
    } else {
        out = "0." + std::string(-exponent - 1, '0') + mantissa;
    }
    if (negative && out != "0")
        out.insert(out.begin(), '-');
    return out;
}

template <typename Int> void readInteger(FieldReader& reader, Int& value) {
    if (reader.atEnd())
        return;
    double number = 0;
    if (!parseLeadingNumber(reader.next(), number))
        return;
    number = std::nearbyint(number);
    if (number < static_cast<double>(std::numeric_limits<Int>::min()) ||
        number > static_cast<double>(std::numeric_limits<Int>::max()))
        return;
    value = static_cast<Int>(number);
}

} // namespace

std::string formatInt(int64_t value) { return std::to_string(value); }

std::string formatSingle(float value) { return shortestFixed(static_cast<double>(value), 7); }

std::string formatDouble(double value) { return shortestFixed(value, 15); }

std::string formatBool(bool value) { return value ? "True" : "False"; }

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

RecordWriter& RecordWriter::integer(int64_t value) { return text(formatInt(value)); }
RecordWriter& RecordWriter::single(float value) { return text(formatSingle(value)); }
RecordWriter& RecordWriter::dbl(double value) { return text(formatDouble(value)); }
RecordWriter& RecordWriter::boolean(bool value) { return text(formatBool(value)); }
RecordWriter& RecordWriter::empty() { return text(""); }

std::string RecordWriter::line() const { return m_text + std::string(LineEnd); }

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
    value = std::string(next());
}

void FieldReader::read(int16_t& value) { readInteger(*this, value); }
void FieldReader::read(int32_t& value) { readInteger(*this, value); }
void FieldReader::read(int64_t& value) { readInteger(*this, value); }

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
    std::string number(text.substr(start, i - start));
    char* end = nullptr;
    double value = std::strtod(number.c_str(), &end);
    if (!std::isfinite(value))
        return false;
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
