// Writes the data files the game ships with: the stable's names turned into a fresh stable by the
// game's own reset, with ratings from a fixed seed so the bundled files can be regenerated exactly.
// With --season DAYS the fresh stable then races that many days without players, so a new
// player's first program has form to read, jockey standings and a track record.
// Not part of the game; built and run by scripts/make-bundled-data.

#include "core/FileStore.h"
#include "core/Format.h"
#include "core/Prompter.h"
#include "core/RaceDay.h"
#include "core/Random.h"
#include "database/DatabaseFiles.h"
#include "database/ResetDatabase.h"
#include "game/Game.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>

namespace {

constexpr uint64_t StableSeed = 20260512;
constexpr uint64_t SeasonSeed = 20260307;
// The season's first race day; the stable then races every third day, as horses rest between starts.
constexpr std::chrono::year_month_day SeasonOpens{std::chrono::year{2026}, std::chrono::March,
                                                  std::chrono::day{7}};
constexpr int DaysBetweenMeetings = 3;
// Only these leave the season's folder: the pool, ticket and scratch files are a day's working files.
constexpr std::string_view ShippedFiles[] = {"horses.dat", "jockeys.dat", "pastperformances.dat",
                                             "settings.dat"};

class QuietPrompter final : public sw::Prompter {
public:
    void message(std::string_view text, std::string_view) override {
        std::fprintf(stderr, "%.*s\n", static_cast<int>(text.size()), text.data());
    }
    bool ask(std::string_view, std::string_view) override { return true; }
};

std::string meetingDate(int meeting) {
    const std::chrono::year_month_day date{std::chrono::sys_days{SeasonOpens} +
                                           std::chrono::days{meeting * DaysBetweenMeetings}};
    return sw::shortDateText(static_cast<int>(date.year()),
                             static_cast<int>(static_cast<unsigned>(date.month())),
                             static_cast<int>(static_cast<unsigned>(date.day())));
}

// Races the stable in folder through whole days as the game plays them, with nobody betting.
bool raceSeason(const std::filesystem::path& folder, int days) {
    sw::SeededRandom random(SeasonSeed);
    QuietPrompter prompter;
    sw::Game game(folder, random, prompter);
    for (int meeting = 0; meeting < days; ++meeting) {
        game.setDayDate(meetingDate(meeting));
        if (!game.startDay())
            return false;
        while (game.stage() == sw::Stage::Program) {
            game.toteBoard();
            game.beginRace();
            game.finishRace();
            game.runResultsToEnd();
            game.confirmResults();
        }
        if (game.stage() != sw::Stage::TopTen)
            return false;
    }
    // The trim a start-up would run, so the shipped file holds only what the program can show.
    sw::RaceDay day(folder, random, prompter);
    sw::FileChanges changes;
    sw::trimPastPerformances(day, changes);
    return !day.folder.commit(changes);
}

} // namespace

int main(int argc, char** argv) {
    int seasonDays = 0;
    if (argc == 5 && std::string_view(argv[1]) == "--season") {
        seasonDays = std::atoi(argv[2]);
        argv += 2;
        argc -= 2;
    }
    if (argc != 3 || seasonDays < 0) {
        std::fprintf(stderr, "usage: %s [--season DAYS] <names folder> <output folder>\n", argv[0]);
        return 2;
    }
    const std::filesystem::path names = argv[1];
    const std::filesystem::path out = argv[2];
    // The season runs in a scratch folder so only the stable's own files reach the output.
    const std::filesystem::path stable = seasonDays > 0 ? out / ".season" : out;
    std::filesystem::create_directories(stable);

    sw::SeededRandom random(StableSeed);
    QuietPrompter prompter;
    sw::RaceDay day(stable, random, prompter);

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
    if (seasonDays > 0) {
        if (!raceSeason(stable, seasonDays)) {
            std::fprintf(stderr, "the season stopped before its last day\n");
            return 1;
        }
        for (std::string_view file : ShippedFiles)
            std::filesystem::copy_file(stable / file, out / file,
                                       std::filesystem::copy_options::overwrite_existing);
        std::filesystem::remove_all(stable);
    }
    for (const char* empty : {"players.dat", "top10players.dat"})
        if (sw::FileError error = sw::writeFileAtomic(out / empty, ""))
            std::fprintf(stderr, "%s\n", error.message.c_str());
    return 0;
}
