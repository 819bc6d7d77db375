#pragma once

#include "core/Prompter.h"
#include "game/Game.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace sw::fuzz {

// Swallows every message and answers the questions Yes, No, Yes, ... so that an input replays the
// same way every time.
class QuietPrompter final : public Prompter {
public:
    void message(std::string_view, std::string_view) override {}
    bool ask(std::string_view, std::string_view) override { return (m_asked++ % 2) == 0; }

private:
    unsigned m_asked = 0;
};

// A data folder in memory-backed storage, refilled with the bundled stable before every input, so
// one input never sees what an earlier one left behind (the whole-game target plays on it).
class FuzzFolder {
public:
    FuzzFolder();
    ~FuzzFolder();
    FuzzFolder(const FuzzFolder&) = delete;
    FuzzFolder& operator=(const FuzzFolder&) = delete;

    const std::filesystem::path& path() const { return m_path; }
    // Removes every file and writes the bundled ones again.
    void reset();
    void write(std::string_view name, std::string_view content) const;

private:
    std::filesystem::path m_path;
    std::vector<std::pair<std::string, std::string>> m_bundled;
};

// A property every input must keep; a broken one stops the run as a crash, naming the property.
void require(bool holds, const char* property);

// The fuzz input as text.
inline std::string_view asText(const uint8_t* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

// Parses the text into a table kept for every input and cleared where the last input filled it:
// building a whole empty table for each input would cost more than the parse. Returns the table
// and how many slots the text filled.
template <typename Table, typename Parse>
std::pair<const Table&, std::size_t> parseIntoTable(std::string_view text, Parse parse) {
    static Table table;
    static std::size_t filled = 0;
    std::fill_n(table.begin() + 1, filled, typename Table::value_type{});
    filled = parse(text, table);
    return {table, filled};
}

// Text the game wrote, read and written again, must come back the same; a single float may take
// one writing more, as seven digits do not always name one float, but the float they read as
// then keeps its text.
template <typename Rewrite>
void requireWrittenTextSettles(const std::string& written, Rewrite rewrite, const char* property) {
    const std::string again = rewrite(written);
    if (again != written)
        require(rewrite(again) == again, property);
}

// Slots 1..filled of a horse or jockey table, each written as the game saves it, read back as the
// same record.
template <typename Table, typename Format, typename Parse>
void requireRecordsReadBack(const Table& table, std::size_t filled, Format format, Parse parse,
                            const char* property) {
    auto rewrite = [&](const std::string& line) {
        typename Table::value_type again;
        parse(std::string_view(line).substr(0, line.size() - 2), again);
        return format(again);
    };
    for (std::size_t i = 1; i <= filled; ++i)
        requireWrittenTextSettles(format(table[i]), rewrite, property);
}

} // namespace sw::fuzz
