// jockeys.dat as a player may have edited it: the racing program's standings and markers, and a
// race whose jockeys' skills and records come from it.

#include "FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static sw::fuzz::FuzzFolder folder;
    folder.reset();
    folder.write("jockeys.dat", sw::fuzz::asText(data, size));
    sw::fuzz::playDay(folder.path(), 1);
    return 0;
}
