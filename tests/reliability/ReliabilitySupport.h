#pragma once

#include "game/Game.h"
#include "wagering/BetType.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace sw::reliability {

// Every way the data folder's files are not whole: a record that does not have its fields, a
// number field that is no number, a wrong count of horses or jockeys, a line without CR LF.
// Empty when every file the game keeps can be read back as the game wrote it.
std::vector<std::string> folderProblems(const std::filesystem::path& dir);

// Balance texts by player number as players.dat holds them; nothing when a line is broken.
std::optional<std::map<int32_t, std::string>> playersOnDisk(const std::filesystem::path& dir);

// Runs body in a child process and returns its exit status (128 + signal when it died). With
// asUser, a child of root first becomes an ordinary user, since root reads and writes files
// whatever their permissions say.
int runInChild(const std::function<int()>& body, bool asUser);

// True when the process runs as root.
bool runningAsRoot();

// A ticket text the bet entry could have built for this bet and mode (Win, Place, Show and WPS
// take BetMode::On, multi-race bets BetMode::Wheel), its horses drawn from rng.
std::string randomTicket(std::mt19937& rng, BetType type, BetMode mode, int amount);

// A valid ticket of any bet the race about to be run offers, drawn from rng.
std::string randomOfferedTicket(std::mt19937& rng, const RaceDay& day, int maxAmount);

// Lists the tickets for the selected player, pays, runs the race, shows its results and confirms
// them. Refused tickets are passed over. The game must be at the tote board. Returns the file
// errors the race's results reported (stable, past performances, settlement).
std::vector<std::string> playRace(Game& game, const std::vector<std::string>& tickets);

// Starts a day on dir with a fixed seed and plays `races` races with a few tickets each.
// Returns false when the day could not start.
bool playDay(const std::filesystem::path& dir, uint64_t seed, int races);

} // namespace sw::reliability
