// horses.dat as a player may have edited it: the start of a day (card, loading pass, pool files)
// and a race run on whatever the stable holds.

#include "FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static sw::fuzz::FuzzFolder folder;
    folder.reset();
    folder.write("horses.dat", sw::fuzz::asText(data, size));
    sw::fuzz::playDay(folder.path(), 1);
    return 0;
}
