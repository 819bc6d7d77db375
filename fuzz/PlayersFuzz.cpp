// players.dat as a player may have edited it: the text the start of a day parses. The list
// written back from it keeps one three-field record per player and reads as the same players.

#include "FuzzSupport.h"

#include "core/TextEncoding.h"
#include "players/Players.h"

#include <algorithm>

namespace {

std::string playersText(const std::vector<sw::PlayerEntry>& players) {
    std::string text;
    for (const sw::PlayerEntry& p : players)
        text += sw::RecordWriter().integer(p.playerId).text(p.name).text(p.balance).line();
    return text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace sw;
    const std::vector<PlayerEntry> players = parsePlayers(fuzz::asText(data, size));
    const std::string written = playersText(players);
    const auto lines = splitLines(written);
    fuzz::require(lines.size() == players.size(), "one players.dat record per listed player");
    for (std::string_view line : lines)
        fuzz::require(std::count(line.begin(), line.end(), ',') == 2, "three fields a player");
    fuzz::require(playersText(parsePlayers(written)) == written,
                  "players.dat written back reads as the same players");
    return 0;
}
