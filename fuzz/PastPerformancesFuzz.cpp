// pastperformances.dat as a player may have edited it: the start-up trim and the lines the
// racing program reads. The trim keeps at most 15 lines a horse and leaves its own text as it is.

#include "FuzzSupport.h"

#include "core/Constants.h"
#include "core/TextEncoding.h"
#include "database/DatabaseFiles.h"

#include <array>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace sw;
    const std::string trimmed = trimmedPastPerformances(fuzz::asText(data, size));
    std::array<int, HorseCount + 1> lines{};
    forEachLineIn(trimmed, [&](std::string_view line) {
        int16_t horse = 0;
        FieldReader(line).read(horse);
        if (horse >= 1 && horse <= HorseCount)
            fuzz::require(++lines[static_cast<std::size_t>(horse)] <= PastPerformanceKeep,
                          "at most 15 past lines a horse after the trim");
    });
    fuzz::requireWrittenTextSettles(
        trimmed, [](const std::string& text) { return trimmedPastPerformances(text); },
        "a trimmed file trims to itself");
    return 0;
}
