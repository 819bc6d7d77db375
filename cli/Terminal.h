#pragma once

#include "CommandLine.h"
#include "game/Game.h"

#include <string>

namespace sw::cli {

// The prompt at a terminal: the race about to be run and the stage of the day, as "race 3 betting> ".
std::string promptText(const Game& game);

// Plays from the terminal with line editing and history until the input ends or "quit"; returns
// the number of failed commands. Scripts and pipes never come here: they read CommandLine::run.
int runTerminal(CommandLine& commands, const Game& game);

} // namespace sw::cli
