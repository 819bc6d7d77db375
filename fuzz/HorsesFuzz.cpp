// horses.dat as a player may have edited it: the text the start of a day parses. Each horse the
// text filled, written as the game saves it and read again, is written the same.

#include "FuzzSupport.h"

#include "database/DatabaseFiles.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace sw;
    const auto [table, filled] = fuzz::parseIntoTable<HorseTable>(fuzz::asText(data, size), parseHorses);
    fuzz::requireRecordsReadBack(table, filled, horseRecord, parseHorse,
                                 "a horse written back reads as the same horse");
    return 0;
}
