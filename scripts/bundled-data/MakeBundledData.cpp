// Writes the data files the game ships with: the stable's names turned into a fresh stable by the
// game's own reset, with ratings from a fixed seed so the bundled files can be regenerated exactly.
// Not part of the game; built and run by scripts/make-bundled-data.

#include "core/FileStore.h"
#include "core/Prompter.h"
#include "core/RaceDay.h"
#include "core/Random.h"
#include "database/DatabaseFiles.h"
#include "database/ResetDatabase.h"

#include <cstdio>
#include <filesystem>
#include <string>

namespace {

constexpr uint64_t StableSeed = 20260512;

class QuietPrompter final : public sw::Prompter {
public:
    void message(std::string_view text, std::string_view) override {
        std::fprintf(stderr, "%.*s\n", static_cast<int>(text.size()), text.data());
    }
    bool ask(std::string_view, std::string_view) override { return true; }
};

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s <names folder> <output folder>\n", argv[0]);
        return 2;
    }
    const std::filesystem::path names = argv[1];
    const std::filesystem::path out = argv[2];

    sw::SeededRandom random(StableSeed);
    QuietPrompter prompter;
    sw::RaceDay day(out, random, prompter);

    int horses = 0;
    sw::forEachLineIn(sw::readFile(names / "horse-names.txt").bytes, [&](std::string_view line) {
        if (!line.empty() && horses < sw::HorseCount)
            day.db.horses[static_cast<std::size_t>(++horses)].name = std::string(line);
    });
    int jockeys = 0;
    sw::forEachLineIn(sw::readFile(names / "jockeys.txt").bytes, [&](std::string_view line) {
        if (!line.empty() && jockeys < sw::JockeyCount)
            sw::parseJockey(line, day.db.jockeys[static_cast<std::size_t>(++jockeys)]);
    });
    if (horses != sw::HorseCount || jockeys != sw::JockeyCount) {
        std::fprintf(stderr, "need %d horse names and %d jockeys, found %d and %d\n", sw::HorseCount,
                     sw::JockeyCount, horses, jockeys);
        return 1;
    }

    if (sw::FileError error = sw::writeFreshStable(day)) {
        std::fprintf(stderr, "%s\n", error.message.c_str());
        return 1;
    }
    for (const char* empty : {"players.dat", "top10players.dat"})
        if (sw::FileError error = sw::writeFileAtomic(out / empty, ""))
            std::fprintf(stderr, "%s\n", error.message.c_str());
    return 0;
}
