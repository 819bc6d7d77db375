#pragma once

#include "core/FileStore.h"
#include "core/RaceDay.h"

#include <optional>
#include <string>
#include <string_view>

namespace sw {

// The player list and players.dat.

// Reads players.dat (missing reads as empty), gives everyone StartAmount, rewrites the file.
void loadPlayers(RaceDay& day);
FileError savePlayers(const RaceDay& day);

// Why a name cannot be used, or nothing when it can (after trimming).
std::optional<std::string> playerNameProblem(std::string_view name);
// Adds a player numbered after the file's last line; false (with a message) when refused.
bool addPlayer(RaceDay& day, std::string_view name);
// Selects entry index, moving off a player who is out of cash as the rules say.
void selectBettor(RaceDay& day, int index);
// Asks, then removes the selected player; false when nothing was deleted.
bool deletePlayer(RaceDay& day);

float balanceOf(const PlayerEntry& player);
void setBalance(PlayerEntry& player, float balance);
// Index of the first listed player with this number, or -1.
int findPlayer(const PlayerList& players, int32_t playerId);

} // namespace sw
