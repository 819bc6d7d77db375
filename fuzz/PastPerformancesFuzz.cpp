// pastperformances.dat as a player may have edited it: the start-up trim, the racing program's
// past lines and the public's money rating drawn from them.

#include "FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static sw::fuzz::FuzzFolder folder;
    folder.reset();
    folder.write("pastperformances.dat", sw::fuzz::asText(data, size));
    sw::fuzz::playDay(folder.path(), 1);
    return 0;
}
