// players.dat as a player may have edited it: loading, selecting, adding and deleting players,
// tickets of every listed player, payment and settlement. The rewritten file must keep one
// three-field record per listed player.

#include "FuzzSupport.h"

#include "core/TextEncoding.h"
#include "players/Players.h"

#include <algorithm>
#include <fstream>
#include <sstream>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static sw::fuzz::FuzzFolder folder;
    folder.reset();
    folder.write("players.dat", sw::fuzz::asText(data, size));
    sw::SeededRandom random(1);
    sw::fuzz::QuietPrompter prompter;
    sw::Game game(folder.path(), random, prompter);
    if (!game.startDay())
        return 0;
    game.toteBoard();
    sw::RaceDay& day = game.day();

    std::ifstream in(folder.path() / "players.dat", std::ios::binary);
    std::ostringstream saved;
    saved << in.rdbuf();
    const std::string content = saved.str();
    auto lines = sw::splitLines(content);
    sw::fuzz::require(lines.size() == day.players.entries.size(), "one players.dat record per listed player");
    for (auto line : lines)
        sw::fuzz::require(std::count(line.begin(), line.end(), ',') == 2, "three fields a player");

    const int listed = static_cast<int>(day.players.entries.size());
    for (int i = 0; i < std::min(listed, 8); ++i) {
        sw::selectBettor(day, i);
        game.ticketList().listTicket(day, "$2 Win on " + std::to_string(1 + i));
        game.ticketList().listTicket(day, "$1 Exacta Box 12" + std::to_string(3 + i % 6));
    }
    sw::addPlayer(day, "Late Comer");
    game.pay();
    if (!day.players.entries.empty()) {
        sw::selectBettor(day, 0);
        sw::deletePlayer(day);
    }
    if (game.beginRace()) {
        game.finishRace();
        game.runResultsToEnd();
        game.confirmResults();
    }
    return 0;
}
