// The records of the data files: fields joined and read back, and a file's text cut into lines,
// checked against the line rules applied one character at a time around the 64 KiB line limit.

#include "core/TextEncoding.h"
#include "core/FileStore.h"
#include "core/GradeTables.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>

using namespace sw;

namespace {

TEST(RecordWriter, JoinsFieldsAndEndsWithCrLf) {
    EXPECT_EQ(RecordWriter().text("Silver Arrow").text("M").integer(-3).single(999.f).boolean(false).line(),
              "Silver Arrow,M,-3,999,False\r\n");
    EXPECT_EQ(RecordWriter().single(400).single(2).empty().empty().single(121.35f).boolean(true).line(),
              "400,2,,,121.35,True\r\n");
    EXPECT_EQ(RecordWriter().integer(INT64_MIN).dbl(0.1 + 0.2).line(),
              std::to_string(INT64_MIN) + ",0.3\r\n");
}

TEST(FieldReader, ReadsEachFieldTolerantly) {
    FieldReader r("  12abc,,Ann , 7.5,true,0,3");
    int32_t a = 99, b = 99;
    std::string name;
    float f = 0;
    bool t = false, z = true, n = false;
    r.read(a);
    r.read(b);
    r.read(name);
    r.read(f);
    r.read(t);
    r.read(z);
    r.read(n);
    EXPECT_EQ(a, 12) << "the leading number text counts";
    EXPECT_EQ(b, 0) << "an empty field reads as 0";
    EXPECT_EQ(name, "Ann ");
    EXPECT_EQ(f, 7.5f);
    EXPECT_TRUE(t);
    EXPECT_FALSE(z);
    EXPECT_TRUE(n) << "a non-zero number reads as true";
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
    } whole[] = {{"abc", 5, 5},         {"32767", 32767, 32767}, {"-32768", -32768, -32768},
                 {"40000", 5, 40000},   {"-40000", 5, -40000},   {"2147483647", 5, 2147483647},
                 {"99999999999", 5, 5}, {"007", 7, 7},           {"12e3", 12000, 12000}};
    for (const auto& c : whole) {
        SCOPED_TRACE(c.field);
        EXPECT_EQ(firstField<int16_t>(c.field, 5), c.asShort);
        EXPECT_EQ(firstField<int32_t>(c.field, 5), c.asInt);
    }
    EXPECT_EQ(firstField(" 1e39", 4.0f), 4.0f);
    EXPECT_EQ(firstField("x", 4.0f), 4.0f);
    EXPECT_EQ(firstField("2.5e2", 4.0), 250.0);
    for (float value : {0.f, 2.5f, 121.35f, 118.72f, 0.05f, 99.9f, 1.0f / 3.0f, 123456.7f})
        EXPECT_FLOAT_EQ(firstField(formatSingle(value), -1.0f), value) << "what the writer writes reads back";
}

// The lines of a text: CR LF, LF or a lone CR ends one, each keeps at most `limit` characters,
// and a last line without its end counts unless it is empty.
std::vector<std::string> linesOf(const std::string& text, std::size_t limit) {
    std::vector<std::string> lines;
    std::string line;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            lines.push_back(line);
            line.clear();
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
        } else if (line.size() < limit) {
            line.push_back(c);
        }
    }
    if (!line.empty())
        lines.push_back(line);
    return lines;
}

TEST(FileLines, ReadAsTheLineRulesSay) {
    constexpr std::size_t Kib64 = 1 << 16;
    std::vector<std::string> texts = {
        "", "\r\n\n\r", "a\r\nb\nc\rd", "x\r\n\r\ny\r\n",
        std::string(3 * Kib64 + 7, 'x') + "\r\n" + std::string(MaxLineLength, 'y') + "\n" +
            std::string(MaxLineLength + 1, 'z') + "\rshort\n" + std::string(2 * Kib64, 'w')};
    std::mt19937 pick(21);
    const std::size_t lengths[] = {0, 1, 5, 80, 1000, Kib64 - 3, MaxLineLength, MaxLineLength + 2};
    const char* ends[] = {"\r\n", "\n", "\r"};
    // Letters, and bytes one bit away from CR or LF that a fast search could mistake.
    const std::string bytes = "abcdefgh,0123\xC2\xBD\x8D\x8A\x0C\x0E\x0B\x09\x2A\x2D";
    for (int file = 0; file < 40; ++file) {
        std::string& text = texts.emplace_back();
        const std::size_t lines = 1 + pick() % 30;
        for (std::size_t n = 0; n < lines; ++n) {
            const std::size_t length = pick() % 3 == 0 ? lengths[pick() % 8] : pick() % 120;
            for (std::size_t k = 0; k < length; ++k)
                text.push_back(bytes[(k * 7 + n + pick() % 3) % bytes.size()]);
            if (n + 1 < lines || pick() % 2)
                text += ends[pick() % 3];
        }
    }
    for (const std::string& text : texts) {
        SCOPED_TRACE(testing::Message() << text.size() << " bytes");
        std::vector<std::string> read;
        forEachLineIn(text, [&](std::string_view line) { read.emplace_back(line); });
        EXPECT_EQ(read, linesOf(text, MaxLineLength));
        const auto split = splitLines(text);
        EXPECT_EQ(std::vector<std::string>(split.begin(), split.end()), linesOf(text, SIZE_MAX))
            << "splitting keeps whole lines";
    }
}

TEST(GradeTables, PurseSharesFactorsAndLetters) {
    const int shares6[8] = {2400, 1500, 900, 600, 150, 150, 150, 150};
    const int shares3[8] = {1200, 750, 450, 300, 75, 75, 75, 75};
    for (int p = 0; p < 8; ++p) {
        EXPECT_EQ(purseShare(6, p), shares6[p]);
        EXPECT_EQ(purseShare(3, p), shares3[p]);
    }
    EXPECT_EQ(purseShare(0, 0), 0);
    EXPECT_EQ(purseShare(3, 8), 0);
    EXPECT_EQ(purseShare(7, 0), 0);
    EXPECT_EQ(gradeFactor(1), 8);
    EXPECT_EQ(gradeFactor(6), 13);
    EXPECT_EQ(gradeFactor(0), 0);
    EXPECT_EQ(gradeFactor(7), 0);
    EXPECT_EQ(gradeIndex("AA"), 6);
    EXPECT_EQ(gradeIndex("M"), 1);
    EXPECT_EQ(gradeIndex("X"), 0);
    EXPECT_EQ(gradeIndex("-"), 0);
}

} // namespace
