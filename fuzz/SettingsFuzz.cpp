// settings.dat as a player may have edited it: the starting amount, the amount spinner's first
// value and the track record. The line written back reads as the same settings.

#include "FuzzSupport.h"

#include "core/RaceDay.h"
#include "core/Random.h"
#include "database/DatabaseFiles.h"
#include "players/SettingsRecord.h"
#include "wagering/BetEntry.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace sw;
    const Settings settings = parseSettingsFile(fuzz::asText(data, size));
    // The spinner's first value as the bet entry itself sets it at the start of each race; the day
    // is built once, as nothing here touches its folder.
    static fuzz::QuietPrompter prompter;
    static SeededRandom random(1);
    static RaceDay day(std::filesystem::path(), random, prompter);
    day.db.settings = settings;
    BetEntry entry;
    entry.start(day);
    fuzz::require(entry.amountSpin() >= 0 && entry.amountSpin() <= MaxBetAmount,
                  "the amount spinner starts within its range");
    fuzz::requireWrittenTextSettles(
        settingsRecord(settings),
        [](const std::string& text) { return settingsRecord(parseSettingsFile(text)); },
        "settings.dat written back reads as the same settings");
    return 0;
}
