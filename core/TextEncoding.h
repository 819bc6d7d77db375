#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace sw {

// Every data file shares one encoding: CR LF lines, comma-separated fields, numbers in their
// shortest plain form. Reading is tolerant, so a hand-edited file never stops the game.

inline constexpr std::string_view LineEnd = "\r\n";

std::string formatInt(int64_t value);
// Up to 7 significant digits, never an exponent, no trailing zeros (999, 122.5, 0.3333333).
std::string formatSingle(float value);
// Up to 15 significant digits, otherwise as formatSingle.
std::string formatDouble(double value);
std::string formatBool(bool value);

// Builds one record: fields joined by commas, ended by CR LF.
class RecordWriter {
public:
    RecordWriter();
    RecordWriter& text(std::string_view value);
    RecordWriter& integer(int64_t value);
    RecordWriter& single(float value);
    RecordWriter& dbl(double value);
    RecordWriter& boolean(bool value);
    RecordWriter& empty();
    // The record with its line end.
    std::string line() const&;
    std::string line() &&;

private:
    void separate();
    std::string m_text;
    bool m_first = true;
};

// Reads the fields of one record in order. A missing or malformed numeric field leaves the
// target as it was; an empty field reads as 0; a number is taken from its leading number text.
class FieldReader {
public:
    explicit FieldReader(std::string_view line);

    bool atEnd() const { return m_pos > m_line.size(); }
    // The next field's text with leading blanks skipped; empty past the end.
    std::string_view next();
    std::size_t fieldsRead() const { return m_fields; }

    void read(std::string& value);
    void read(int16_t& value);
    void read(int32_t& value);
    void read(int64_t& value);
    void read(float& value);
    void read(double& value);
    void read(bool& value);

private:
    std::string_view m_line;
    std::size_t m_pos = 0;
    std::size_t m_fields = 0;
};

// The leading number text of a field as a double; nullopt-like false when there is none.
// An empty (or blank) field parses as 0.
bool parseLeadingNumber(std::string_view text, double& out);

// Splits file content into lines, accepting CR LF, LF or a lone CR; a missing final line end is fine.
std::vector<std::string_view> splitLines(std::string_view content);

} // namespace sw
