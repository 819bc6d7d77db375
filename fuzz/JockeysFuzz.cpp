// jockeys.dat as a player may have edited it: the text the start of a day and the racing
// program parse. Each jockey the text filled, written as the game saves it and read again, is
// written the same.

#include "FuzzSupport.h"

#include "database/DatabaseFiles.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace sw;
    const auto [table, filled] = fuzz::parseIntoTable<JockeyTable>(fuzz::asText(data, size), parseJockeys);
    fuzz::requireRecordsReadBack(table, filled, jockeyRecord, parseJockey,
                                 "a jockey written back reads as the same jockey");
    return 0;
}
