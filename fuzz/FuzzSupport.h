#pragma once

#include "core/Prompter.h"
#include "game/Game.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
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
// one input never sees what an earlier one left behind.
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

// Starts a day on the folder and plays `races` races with tickets of several bets for a player
// (added when the folder has none): the path every reader's data takes through the game.
void playDay(const std::filesystem::path& dir, int races);

} // namespace sw::fuzz
