// top10players.dat as a player may have edited it: the standings are sorted, cut to ten and
// rewritten, the day's results are appended and shown again.

#include "FuzzSupport.h"

#include "core/TextEncoding.h"
#include "players/TopTen.h"

#include <fstream>
#include <sstream>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static sw::fuzz::FuzzFolder folder;
    folder.reset();
    folder.write("top10players.dat", sw::fuzz::asText(data, size));
    sw::SeededRandom random(1);
    sw::fuzz::QuietPrompter prompter;
    sw::RaceDay day(folder.path(), random, prompter);
    day.players.entries = {{1, "Ann", "412.5"}, {2, "Bob", "-3"}, {3, "Cy", "0"}};
    sw::fuzz::require(sw::showTopTen(day).size() <= sw::TopTenKept, "at most ten standings shown");
    sw::recordDayResults(day);
    sw::fuzz::require(sw::showTopTen(day).size() <= sw::TopTenKept, "at most ten standings after a day");

    std::ifstream in(folder.path() / "top10players.dat", std::ios::binary);
    std::ostringstream saved;
    saved << in.rdbuf();
    const std::string content = saved.str();
    sw::fuzz::require(sw::splitLines(content).size() <= sw::TopTenKept, "at most ten standings kept");
    return 0;
}
