// settings.dat as a player may have edited it: the starting amount, the amount spinner's first
// value and the track record. The line written back reads as the same settings.

#include "FuzzSupport.h"

#include "database/DatabaseFiles.h"
#include "database/StartRaceDay.h"
#include "players/SettingsRecord.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace sw;
    const Settings settings = parseSettingsFile(fuzz::asText(data, size));
    const int spinner = amountSpinnerStart(settings);
    fuzz::require(spinner >= 0 && spinner <= 32000, "the amount spinner starts within its range");
    fuzz::requireWrittenTextSettles(
        settingsRecord(settings),
        [](const std::string& text) { return settingsRecord(parseSettingsFile(text)); },
        "settings.dat written back reads as the same settings");
    return 0;
}
