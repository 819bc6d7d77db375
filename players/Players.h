#pragma once

#include "core/FileStore.h"
#include "core/RaceDay.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sw {

// The player list and players.dat.

// Reads players.dat (missing reads as empty), gives everyone StartAmount, rewrites the file.
// A players.dat that cannot be read is reported ("Error reading players.dat") and left as it is.
// Nobody is selected afterwards.
void loadPlayers(RaceDay& day);
// Rewrites players.dat from the list, one line id,name,balance text per player.
FileError savePlayers(const RaceDay& day);

// The records of players.dat's text in file order (number, name, balance text); blank lines are
// no records, and a field a line lacks, or a number that is no number, reads as empty or 0.
std::vector<PlayerEntry> parsePlayers(std::string_view text);

// The name without the blanks around it, as it is stored: the file reader skips leading blanks.
std::string trimName(std::string_view name);
// Why a name cannot be used, or nothing when it can (after trimming): empty, a comma, a control
// character, more than 24 characters, or text that is not valid UTF-8.
std::optional<std::string> playerNameProblem(std::string_view name);
// Adds a player (trimmed name) numbered after the file's last line, appends its line and selects
// it; false (with a message) when refused.
bool addPlayer(RaceDay& day, std::string_view name);
// Selects entry index, moving off a player who is out of cash as the rules say.
void selectBettor(RaceDay& day, int index);
// Asks, then removes the selected player; false when nothing was deleted.
bool deletePlayer(RaceDay& day);

// The player's balance read from its balance text; 0 when the text holds no number.
float balanceOf(const PlayerEntry& player);
// Stores the balance as its shortest single-float text.
void setBalance(PlayerEntry& player, float balance);
// Index of the first listed player with this number, or -1.
int findPlayer(const PlayerList& players, int32_t playerId);

} // namespace sw
