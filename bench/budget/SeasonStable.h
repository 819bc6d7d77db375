#pragma once

#include "core/Prompter.h"
#include "game/Game.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace sw::bench {

// The stable the budgets are measured on: 100 race days played through the game with a fixed seed
// on a copy of the bundled data, four players betting every race.
inline constexpr int SeasonDays = 100;
inline constexpr uint64_t SeasonSeed = 20260501;
inline constexpr int SeasonPlayers = 4;
// Enough for every player to bet all season without running dry.
inline constexpr Cents SeasonStartAmount = 50000 * CentsPerDollar;

// Answers every question No and shows nothing.
class SilentPrompter final : public Prompter {
public:
    void message(std::string_view, std::string_view) override {}
    bool ask(std::string_view, std::string_view) override { return false; }
};

// The tickets player 0..3 lists in race index 0..11: `count` different tickets, all valid there,
// with the daily double, pick 3 and pick 6 in the races that open them.
std::vector<std::string> ticketsFor(int race, int player, int count);

// Plays one day from its start to the top-ten list: each race every player lists
// `ticketsPerPlayer` tickets, they are paid, the race is run and its results settled.
// False when the day could not start or did not reach the top-ten list.
bool playDay(Game& game, int ticketsPerPlayer);

// The folder holding the stable after SeasonDays days. Built on first use (a minute or so) and
// kept in the cache folder, keyed by the bundled data, so later runs start at once.
const std::filesystem::path& seasonStable();

// Makes `to` hold exactly the files of `from` (created when missing).
void copyStable(const std::filesystem::path& from, const std::filesystem::path& to);

// A fresh empty folder for one benchmark's working copy, under the cache folder.
std::filesystem::path workFolder(std::string_view name);

} // namespace sw::bench
