// Splitting a file's text into lines, checked against the line rules applied to the text one
// character at a time, with line ends and long lines around 64 KiB.

#include "core/FileStore.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

using namespace sw;

namespace {

constexpr std::size_t Kib64 = 1 << 16;

// The lines of a text: CR LF, LF or a lone CR ends one, each keeps at most MaxLineLength
// characters, and a last line without its end counts unless it is empty.
std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::string line;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            lines.push_back(line);
            line.clear();
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
        } else if (line.size() < MaxLineLength) {
            line.push_back(c);
        }
    }
    if (!line.empty())
        lines.push_back(line);
    return lines;
}

std::vector<std::string> readBack(const std::string& text) {
    std::vector<std::string> lines;
    forEachLineIn(text, [&](std::string_view line) { lines.emplace_back(line); });
    return lines;
}

TEST(FileLines, LongLinesAreCutAtTheLimit) {
    const std::string text = std::string(3 * Kib64 + 7, 'x') + "\r\n" + std::string(MaxLineLength, 'y') +
                             "\n" + std::string(MaxLineLength + 1, 'z') + "\rshort\n" +
                             std::string(2 * Kib64, 'w');
    const auto lines = readBack(text);
    EXPECT_EQ(lines, linesOf(text));
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[0].size(), MaxLineLength);
    EXPECT_EQ(lines[2].size(), MaxLineLength);
    EXPECT_EQ(lines[3], "short");
    EXPECT_EQ(lines[4].size(), MaxLineLength) << "an unended last line is cut too";
}

TEST(FileLines, RandomFilesReadAsTheWholeText) {
    std::mt19937 pick(21);
    const std::size_t lengths[] = {0, 1, 5, 80, 1000, Kib64 - 3, MaxLineLength, MaxLineLength + 2};
    const char* ends[] = {"\r\n", "\n", "\r"};
    for (int file = 0; file < 40; ++file) {
        std::string text;
        const std::size_t lines = 1 + pick() % 30;
        for (std::size_t n = 0; n < lines; ++n) {
            const std::size_t length = pick() % 3 == 0 ? lengths[pick() % 8] : pick() % 120;
            // Letters, and bytes one bit away from CR or LF that a fast search could mistake.
            static const std::string bytes = "abcdefgh,0123\xC2\xBD\x8D\x8A\x0C\x0E\x0B\x09\x2A\x2D";
            for (std::size_t k = 0; k < length; ++k)
                text.push_back(bytes[(k * 7 + n + pick() % 3) % bytes.size()]);
            if (n + 1 < lines || pick() % 2)
                text += ends[pick() % 3];
        }
        EXPECT_EQ(readBack(text), linesOf(text)) << "file " << file << " of " << text.size() << " bytes";
    }
}

TEST(FileLines, EmptyLinesAreHandedOverAndAnEmptyFileHasNone) {
    EXPECT_EQ(readBack("\r\n\n\r"), (std::vector<std::string>{"", "", ""}));
    EXPECT_TRUE(readBack("").empty());
}

} // namespace
