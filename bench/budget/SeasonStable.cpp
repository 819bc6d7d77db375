#include "SeasonStable.h"

#include "core/Constants.h"
#include "core/FileStore.h"
#include "core/Random.h"
#include "players/Players.h"
#include "players/SettingsRecord.h"

#include <fstream>
#include <iterator>
#include <sstream>
#include <stdexcept>
#include <system_error>

namespace sw::bench {

namespace fs = std::filesystem;

namespace {

// Bump when the way the season is played changes, so an old cache is not reused.
constexpr std::string_view SeasonVersion = "season 1";
constexpr std::string_view KeyFile = "season.key";

// `n` different posts as the entry writes them, starting from post 1 + start % 8.
std::string posts(int start, int n) {
    std::string text;
    for (int i = 0; i < n; ++i)
        text.push_back(static_cast<char>('1' + (start + 3 * i) % 8));
    return text;
}

std::string readFile(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Identifies the season: how it is played and the bundled data it starts from.
std::string seasonKey(const fs::path& bundled) {
    std::ostringstream key;
    key << SeasonVersion << ", " << SeasonDays << " days, seed " << SeasonSeed << ", " << SeasonPlayers
        << " players\n";
    for (std::string_view name : {"horses.dat", "jockeys.dat", "settings.dat"})
        key << name << ' ' << std::hash<std::string>{}(readFile(bundled / name)) << '\n';
    return key.str();
}

void buildSeason(const fs::path& bundled, const fs::path& dir, const std::string& key) {
    copyStable(bundled, dir);
    std::string players;
    for (int p = 1; p <= SeasonPlayers; ++p)
        players += std::to_string(p) + ",Bettor " + std::to_string(p) + ",0\r\n";
    writeFileAtomic(dir / "players.dat", players);
    Settings settings;
    std::ifstream in(dir / "settings.dat", std::ios::binary);
    std::string line;
    std::getline(in, line);
    parseSettings(line, settings);
    settings.startAmount = SeasonStartAmount;
    writeFileAtomic(dir / "settings.dat", settingsRecord(settings));

    SeededRandom random(SeasonSeed);
    SilentPrompter prompter;
    Game game(dir, random, prompter);
    for (int d = 0; d < SeasonDays; ++d)
        if (!playDay(game, 2))
            throw std::runtime_error("day " + std::to_string(d + 1) + " of the bench season did not finish");
    writeFileAtomic(dir / KeyFile, key);
}

} // namespace

std::vector<std::string> ticketsFor(int race, int player, int count) {
    std::vector<std::string> tickets;
    const int s = race * 5 + player * 3;
    if (race == 1 && player < 2)
        tickets.push_back("$2 DailyDouble Wheel " + posts(s, 2) + " with All");
    if (race == 3 && player < 2)
        tickets.push_back("$1 Pick3 Wheel " + posts(s, 1) + " with " + posts(s + 1, 2) + " with All");
    if (race == 6 && player < 2)
        tickets.push_back("$1 Pick6 Wheel " + posts(s, 2) + " with " + posts(s + 1, 1) + " with All with " +
                          posts(s + 2, 1) + " with " + posts(s + 3, 2) + " with All");
    const std::string single[] = {
        "$2 Win on " + posts(s, 1),
        "$2 Place on " + posts(s + 1, 1),
        "$2 Show on " + posts(s + 2, 1),
        "$2 WPS on " + posts(s + 3, 1),
        "$2 Quiniela Box " + posts(s, 3),
        "$2 Exacta Straight " + posts(s + 1, 2),
        "$1 Exacta Box " + posts(s + 2, 3),
        "$1 Trifecta Box " + posts(s + 3, 4),
        "$1 Trifecta Wheel " + posts(s, 1) + " with " + posts(s + 1, 2) + " with All",
        "$1 Superfecta Box " + posts(s + 4, 4),
        "$1 Superfecta Wheel " + posts(s, 1) + " with All with All with All",
    };
    constexpr int singles = static_cast<int>(std::size(single));
    for (int t = 0; static_cast<int>(tickets.size()) < count; ++t)
        tickets.push_back(single[(s + t) % singles]);
    tickets.resize(static_cast<std::size_t>(count));
    return tickets;
}

bool playDay(Game& game, int ticketsPerPlayer) {
    if (!game.startDay())
        return false;
    for (int race = 0; race < RacesPerDay && game.stage() == Stage::Program; ++race) {
        game.toteBoard();
        RaceDay& day = game.day();
        const int players = static_cast<int>(day.players.entries.size());
        for (int p = 0; p < players; ++p) {
            selectBettor(day, p);
            for (const std::string& text : ticketsFor(race, p, ticketsPerPlayer))
                game.ticketList().listTicket(day, text);
        }
        game.pay();
        if (!game.beginRace())
            return false;
        game.finishRace();
        game.runResultsToEnd();
        game.confirmResults();
    }
    return game.stage() == Stage::TopTen;
}

const fs::path& seasonStable() {
    static const fs::path folder = [] {
        const fs::path bundled = fs::path(STRIDEWELL_SOURCE_DIR) / "data";
        const fs::path cache = fs::path(STRIDEWELL_BENCH_CACHE) / "season";
        const std::string key = seasonKey(bundled);
        if (fs::exists(cache / KeyFile) && readFile(cache / KeyFile) == key)
            return cache;
        // Built aside and moved into place, so an interrupted build is never taken for a season.
        const fs::path building = fs::path(STRIDEWELL_BENCH_CACHE) / "season.building";
        fs::remove_all(building);
        fs::create_directories(building);
        buildSeason(bundled, building, key);
        fs::remove_all(cache);
        fs::rename(building, cache);
        return cache;
    }();
    return folder;
}

void copyStable(const fs::path& from, const fs::path& to) {
    fs::create_directories(to);
    for (const auto& entry : fs::directory_iterator(to))
        if (entry.is_regular_file())
            fs::remove(entry.path());
    for (const auto& entry : fs::directory_iterator(from))
        if (entry.is_regular_file() && entry.path().filename() != KeyFile)
            fs::copy_file(entry.path(), to / entry.path().filename(), fs::copy_options::overwrite_existing);
}

fs::path workFolder(std::string_view name) {
    fs::path dir = fs::path(STRIDEWELL_BENCH_CACHE) / "work" / name;
    fs::remove_all(dir);
    fs::create_directories(dir);
    return dir;
}

} // namespace sw::bench
