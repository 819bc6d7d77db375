// One of the ten pool files as a player may have edited it: the first byte picks the file, the
// rest is its content. The tote refresh and the settlement read it; every line the tote takes
// names posts 1..8 (all different within one race) and, written again, reads as the same line.
// The settlement's reading of the same text runs under the sanitizers.

#include "FuzzSupport.h"

#include "settlement/Settlement.h"
#include "tote/PoolFiles.h"

#include <cmath>
#include <span>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace sw;
    if (size == 0)
        return 0;
    const auto file = static_cast<PoolFile>(data[0] % 10);
    const std::string_view text = fuzz::asText(data + 1, size - 1);
    const bool singleRace = data[0] % 10 < SingleRacePoolFiles.size();
    forEachPoolLine(text, file, [&](const PoolLine& line) {
        const std::span<const int16_t> posts(line.horses.data(), static_cast<std::size_t>(line.count));
        for (std::size_t i = 0; i < posts.size(); ++i) {
            fuzz::require(posts[i] >= 1 && posts[i] <= 8, "pool lines name posts 1..8");
            for (std::size_t j = 0; singleRace && j < i; ++j)
                fuzz::require(posts[i] != posts[j], "a single race names a post once");
        }
        if (line.amount != std::floor(line.amount) || std::fabs(line.amount) > 1e15)
            return;
        std::string written = poolLineText(line.ticket, posts, static_cast<int64_t>(line.amount));
        written.resize(written.size() - 2);
        const auto again = parsePoolLine(written, file);
        fuzz::require(again && again->ticket == line.ticket && again->horses == line.horses &&
                          again->amount == line.amount,
                      "a pool line written again reads as the same line");
    });
    // The settlement's own reading of the lines that name the winners 3, 1, 4, 2, 5, 6.
    static constexpr int winners[] = {3, 1, 4, 2, 5, 6};
    (void)ticketsOnPosts(text, std::span(winners, static_cast<std::size_t>(poolFileHorses(file))));
    return 0;
}
