// top10players.dat as a player may have edited it: the standings are read, sorted best first and
// cut to ten; the ten written back read as the same standings.

#include "FuzzSupport.h"

#include "players/TopTen.h"

namespace {

std::string standingsText(const std::vector<sw::Standing>& standings) {
    std::string text;
    for (const sw::Standing& standing : standings)
        text += sw::standingRecord(standing);
    return text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace sw;
    const std::vector<Standing> read = parseStandings(fuzz::asText(data, size));
    const std::vector<Standing> best = bestStandings(read);
    fuzz::require(standingsText(bestStandingsIn(fuzz::asText(data, size))) == standingsText(best),
                  "the ten best of the text are those of its records");
    fuzz::require(best.size() <= static_cast<std::size_t>(TopTenKept), "at most ten standings kept");
    for (std::size_t i = 1; i < best.size(); ++i)
        fuzz::require(best[i].amount <= best[i - 1].amount, "the best come first");
    const std::string written = standingsText(best);
    fuzz::require(standingsText(parseStandings(written)) == written,
                  "top10players.dat written back reads as the same standings");
    return 0;
}
