// tickets.dat as a player may have edited it during a day: the settlement of the race and of
// each multi-race bet's last leg reads it, pays from it and prunes it.

#include "PoolDay.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static sw::fuzz::FuzzFolder folder;
    static sw::fuzz::PoolDay poolDay(folder);
    poolDay.restore();
    folder.write("tickets.dat", sw::fuzz::asText(data, size));
    sw::fuzz::QuietPrompter prompter;
    poolDay.settleDay(prompter);
    return 0;
}
