#pragma once

// A race day played through Game, as both front ends drive it, for the tests that link the game.

#include "game/Game.h"
#include "support/TestSupport.h"

#include <string_view>

namespace sw::test {

// A Game on a copy of the bundled stable with a fixed seed and scripted answers; the players
// replace the bundled file when given. The day is left for the test to start.
struct GameOnDisk {
    explicit GameOnDisk(uint64_t seed, std::string_view players = {}) : random(seed) {
        copyBundledData(dir.path());
        if (!players.empty())
            writeAll(dir / "players.dat", players);
    }

    TempDir dir;
    SeededRandom random;
    ScriptedPrompter prompter;
    Game game{dir.path(), random, prompter};
};

// Runs the race about to be run to its settled results; with `confirm` the day goes on to the next
// race's betting (or the top ten). False when the race would not start.
inline bool playRace(Game& game, bool confirm = true) {
    if (!game.beginRace())
        return false;
    game.finishRace();
    game.runResultsToEnd();
    if (confirm) {
        game.confirmResults();
        if (game.stage() == Stage::Program)
            game.toteBoard();
    }
    return true;
}

} // namespace sw::test
