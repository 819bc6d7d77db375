#pragma once

#include "core/Translate.h"

#include "core/DataFolder.h"
#include "core/Money.h"
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
// The same rewrite as one of a step's changes.
void addPlayers(const RaceDay& day, FileChanges& changes);

// The records of players.dat's text in file order (number, name, balance text); blank lines are
// no records, and a field a line lacks, or a number that is no number, reads as empty or 0.
std::vector<PlayerEntry> parsePlayers(std::string_view text);

// The name without the blanks around it, as it is stored: the file reader skips leading blanks.
std::string trimName(std::string_view name);
// Why a name cannot be used, or nothing when it can (after trimming): empty, a comma, a control
// or invisible format character (direction overrides, zero-width marks), more than 24
// characters, or text that is not valid UTF-8.
std::optional<std::string> playerNameProblem(std::string_view name);
// Adds a player (trimmed name) and selects it, appending its line; false (with a message) when
// refused. The number is the lowest that no listed player holds and no player deleted today
// held, so it never names someone else's tickets and a hand-edited high number blocks nothing.
bool addPlayer(RaceDay& day, std::string_view name);
// Selects entry index, moving off a player who is out of cash to the first who can bet. Returns
// what the players are to be told of it ("Ann, you're out of cash! Bob is betting now."), empty
// when nobody was out of cash; the caller says it once its own step is done.
std::string selectBettorQuietly(PlayerList& players, int index);
// The same, telling the players at once.
void selectBettor(RaceDay& day, int index);
// The balance label shows the selected bettor's balance as it stands now, after a payment or a
// settlement changed it; the selection stays where it is.
void refreshBalanceLabel(PlayerList& players);

inline constexpr std::string_view DeletePlayerQuestion =
    N_("Are you sure you want to delete the player? The player's unpaid tickets will be removed from the "
       "ticket list.");
// Removes the selected player with their unpaid tickets (the game asks first); paid tickets stay
// listed and recorded but pay nobody. False when nothing was deleted.
bool deletePlayer(RaceDay& day);

// The player's balance read exactly from its balance text; none when the text holds no number or
// one past MaxCents.
std::optional<Cents> readBalance(const PlayerEntry& player);
// readBalance, 0 when there is none.
Cents balanceOf(const PlayerEntry& player);
// Stores the balance as its shortest plain text (400, 397.5, 123454.75).
void setBalance(PlayerEntry& player, Cents balance);
// Index of the first listed player with this number, or -1.
int findPlayer(const PlayerList& players, int32_t playerId);

} // namespace sw
