// One of the ten pool files as a player may have edited it: the first byte picks the file, the
// rest is its content. The tote refresh, the payoffs and the settlement read it.

#include "PoolDay.h"

#include "tote/PoolFiles.h"
#include "tote/Tote.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static sw::fuzz::FuzzFolder folder;
    static sw::fuzz::PoolDay poolDay(folder);
    if (size == 0)
        return 0;
    const auto file = static_cast<sw::PoolFile>(data[0] % 10);
    poolDay.restore();
    folder.write(sw::poolFileName(file), sw::fuzz::asText(data + 1, size - 1));

    sw::SeededRandom random(1);
    sw::fuzz::QuietPrompter prompter;
    sw::RaceDay day(folder.path(), random, prompter);
    sw::toteRefresh(day);
    for (int h = 0; h < sw::FieldSize; ++h)
        (void)sw::oddsText(day.pools.winOdds[static_cast<std::size_t>(h)]);
    int lines = 0;
    sw::forEachPoolLine(day, file, [&](const sw::PoolLine& line) {
        ++lines;
        for (int i = 0; i < line.count; ++i)
            sw::fuzz::require(line.horses[static_cast<std::size_t>(i)] >= 1 &&
                                  line.horses[static_cast<std::size_t>(i)] <= 8,
                              "pool lines name posts 1..8");
    });
    poolDay.settleDay(prompter);
    return 0;
}
