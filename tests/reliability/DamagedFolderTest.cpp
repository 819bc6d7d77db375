// A data folder damaged the ways a player's machine damages one - files edited by hand, cut short,
// unreadable or missing, a folder that takes no new files - never crashes the game or loses what it
// holds, and a file that could not be read is never written over.

#include "ReliabilitySupport.h"

#include "core/Constants.h"
#include "core/TextEncoding.h"
#include "players/Players.h"
#include "support/GameDay.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <ranges>

using namespace sw;
namespace fs = std::filesystem;

namespace {

// What a day showed and reported; whether it started and how many races it ran.
struct DayLog {
    std::vector<std::string> texts;
    bool started = false;
    int races = 0;
    // True when, for each of these, a text shown starts with it.
    bool sawEach(const std::vector<std::string>& starts) const {
        return std::ranges::all_of(starts, [&](const std::string& start) {
            return std::ranges::any_of(texts, [&](const std::string& t) { return t.starts_with(start); });
        });
    }
};

// Plays up to `races` races, with a player who joins today.
DayLog playRaces(const fs::path& dir, int races, uint64_t seed = 4) {
    DayLog log;
    SeededRandom random(seed);
    test::ScriptedPrompter prompter;
    Game game(dir, random, prompter);
    log.started = game.startDay();
    if (log.started) {
        game.toteBoard();
        addPlayer(game.day(), "Dee");
        selectBettor(game.day(), static_cast<int>(game.day().players.entries.size()) - 1);
    }
    for (; log.started && log.races < races && game.stage() == Stage::Betting; ++log.races) {
        for (const char* text :
             {"$2 Win on 1", "$2 WPS on 2", "$1 Exacta Box 123", "$1 Superfecta Straight 1234",
              "$1 Trifecta Wheel 1 with 23 with All", "$1 Quiniela Wheel 12 with 12"})
            game.ticketList().listTicket(game.day(), text);
        game.pay();
        if (!test::playRace(game, false))
            break;
        if (game.chart().saveError)
            log.texts.push_back(game.chart().saveError.message);
        log.texts.insert(log.texts.end(), game.settlement().errors.begin(), game.settlement().errors.end());
        game.confirmResults();
        game.toteBoard();
    }
    for (const auto& shown : prompter.shown())
        log.texts.push_back(shown.text);
    return log;
}

// A folder after a whole day of play: past performances, players, standings and stable records.
const fs::path& playedFolder() {
    static test::TempDir dir;
    static const bool made = [] {
        test::copyBundledData(dir.path());
        test::writeAll(dir / "players.dat", "1,Ann,400\r\n2,Bob,400\r\n3,Cy,400\r\n");
        return playRaces(dir.path(), RacesPerDay, 11).races == RacesPerDay;
    }();
    EXPECT_TRUE(made);
    return dir.path();
}

// A copy of the played folder that an ordinary user may write too.
void copyPlayedFolder(const fs::path& to) {
    fs::permissions(to, fs::perms::all);
    for (const auto& entry : fs::directory_iterator(playedFolder())) {
        fs::copy_file(entry.path(), to / entry.path().filename());
        fs::permissions(to / entry.path().filename(), static_cast<fs::perms>(0666));
    }
}

// --- Files edited by hand ---

using Edit = std::function<std::string(const std::string&)>;

Edit text(std::string replacement) {
    return [replacement](const std::string&) { return replacement; };
}

struct HandEdit {
    std::string name;
    std::string file;
    Edit edit;
    bool mayStopDay = false; // the stable may be unable to fill the card
};

std::vector<HandEdit> handEdits() {
    // Damage any file of records can take, done to each file a day finds from the day before:
    // lines cut short, with extra fields, bytes that are no text, NULs, blank lines, every kind of
    // line end, a huge line and an unfinished last one; nothing at all.
    const std::pair<std::string, Edit> anyFile[] = {
        {"Mangled",
         [](const std::string& content) {
             std::string out;
             int i = 0;
             for (std::string_view line : splitLines(content)) {
                 std::string bad(i % 4 == 0 ? line.substr(0, line.size() / 2) : line);
                 if (i % 4 == 1)
                     bad = "\xff\xfe\xc3(" + bad;
                 else if (i % 4 == 2 && bad.size() > 3)
                     bad[3] = '\0';
                 out += (i % 4 ? "" : "\r\n   \r\n\t\r\n") + bad + ",extra,99,," +
                        std::array{"\n", "\r", "\r\n"}[i % 3];
                 ++i;
             }
             out += std::string("\x80 bad,\x00\x01\x7f", 10) + "\r\n" + std::string(100000, 'x') + "\r\n";
             return out.substr(0, out.size() - 1);
         }},
        {"Empty", text("")},
    };
    std::vector<HandEdit> edits;
    // A day quit half way leaves its own files; the next start writes them all afresh unread, so
    // tickets.dat stands for them.
    for (std::string file : {"horses.dat", "jockeys.dat", "settings.dat", "players.dat",
                             "pastperformances.dat", "top10players.dat", "tickets.dat"})
        for (const auto& [name, edit] : anyFile) {
            const std::string stem = char(std::toupper(file[0])) + file.substr(1, file.find('.') - 1);
            // Damage that can leave too few horses of a grade to fill the card.
            edits.push_back({stem + name, file, edit, stem == "Horses"});
        }

    // Values no reader of a single record refuses but the day must still survive: counts below
    // zero, and players numbered twice or beyond any count.
    const HandEdit figures[] = {
        {"HorsesWithNegativeCounts", "horses.dat",
         [](const std::string& content) {
             std::string out;
             for (std::string_view line : splitLines(content))
                 out += std::string(line.substr(0, line.find(','))) +
                        ",M,-5,-3,-2,-1,-9,-100000,-60,M,M,-1,-8,-8,-8,-8,-8,-1,0,0,0,0,-7,False\r\n";
             return out;
         }},
        {"PlayersWithOddNumbers", "players.dat",
         text("-5,Neg,1\r\n2147483647,Max,1\r\n2147483647,Twin,1\r\n0,Zero,1\r\n99999999999,Over,1\r\n")},
    };
    edits.insert(edits.end(), std::begin(figures), std::end(figures));
    return edits;
}

class HandEditedFile : public ::testing::TestWithParam<HandEdit> {};

TEST_P(HandEditedFile, DayStartsPlaysARaceAndWritesCleanFiles) {
    const HandEdit& edit = GetParam();
    test::TempDir dir;
    copyPlayedFolder(dir.path());
    test::writeAll(dir / edit.file, edit.edit(test::readAll(dir / edit.file)));
    const std::string horses = test::readAll(dir / "horses.dat");

    const DayLog log = playRaces(dir.path(), 1, 7);
    if (!log.started) {
        ASSERT_TRUE(edit.mayStopDay) << "the day did not start";
        EXPECT_TRUE(log.sawEach({"The stable cannot fill race"})) << ::testing::PrintToString(log.texts);
        EXPECT_EQ(test::readAll(dir / "horses.dat"), horses)
            << "a stable that cannot fill the card is left as edited";
        return;
    }
    EXPECT_EQ(log.races, 1);
    // The day writes the stable, the players and the day's files anew; the others stay as edited.
    std::vector<std::string> problems = reliability::folderProblems(dir.path());
    if (edit.file == "settings.dat" || edit.file == "pastperformances.dat" || edit.file == "top10players.dat")
        std::erase_if(problems, [&](const std::string& p) { return p.starts_with(edit.file); });
    EXPECT_EQ(problems, std::vector<std::string>{});
}

INSTANTIATE_TEST_SUITE_P(Files, HandEditedFile, ::testing::ValuesIn(handEdits()),
                         [](const auto& info) { return info.param.name; });

// --- Files that cannot be read, and folders that cannot be written ---
// A file whose read bit is off (writable, not readable) means nothing to root, so these days are
// played by an ordinary user in a child process (97: it could not become one).

// A file the game could not read is never written, by a day or by the reset: nothing the player
// could still restore is replaced by nameless records. One file stands for each reader's way: a
// stable file and a day's file.
TEST(UnreadableFile, IsNeverReplacedByADayOrTheReset) {
    const std::string notRead = ": it could not be read";
    const struct {
        std::string file;
        std::string dayMessage; // besides "Error reading" the file
        bool resetRefused;      // else the reset goes through (a fresh stable is the reset's own test)
    } cases[] = {
        {"horses.dat", "The stable cannot fill race 1", true},
        {"players.dat", "Cannot write players.dat" + notRead, false},
        // Too big to read (over 256 MiB) reads the same way: its end is unknown, so nothing is added.
        {"pastperformances.dat", "Error reading pastperformances.dat", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        test::TempDir dir;
        copyPlayedFolder(dir.path());
        const fs::path file = dir / c.file;
        const std::string before = test::readAll(file);
        fs::permissions(file, static_cast<fs::perms>(0222));
        auto unchanged = [&] { return test::readAll(file) == before; };

        EXPECT_EQ(
            test::runAsUser([&] {
                return playRaces(dir.path(), 1).sawEach({"Error reading " + c.file, c.dayMessage}) ? 0 : 1;
            }),
            0)
            << "a message was not shown";
        EXPECT_TRUE(unchanged()) << "the day wrote " << c.file;
        const int reset = test::runAsUser([&] {
            SeededRandom random(8);
            test::ScriptedPrompter prompter;
            Game game(dir.path(), random, prompter);
            game.startDay();
            prompter.answer(true);
            game.resetDatabase();
            DayLog log;
            for (const auto& shown : prompter.shown())
                log.texts.push_back(shown.text);
            return !c.resetRefused || log.sawEach({"Cannot write " + c.file + notRead}) ? 0 : 1;
        });
        EXPECT_EQ(reset, 0) << "the reset did not say why it stopped";
        EXPECT_TRUE(unchanged()) << "the reset wrote " << c.file;
    }
}

// A read-only folder (as on a read-only mount or a shared install), or a writable folder whose
// files may be appended to but that takes no new files: told once, each failed save names its file
// and why, the day goes on.
TEST(UnwritableFolder, IsReportedOnceAndTheDayGoesOnLosingNothing) {
    for (const bool readOnlyFiles : {true, false}) {
        SCOPED_TRACE(readOnlyFiles ? "read-only files" : "writable files");
        test::TempDir dir;
        copyPlayedFolder(dir.path());
        for (const auto& entry : fs::directory_iterator(dir.path()))
            fs::permissions(entry.path(), readOnlyFiles ? static_cast<fs::perms>(0444) : fs::perms::all);
        fs::permissions(dir.path(), static_cast<fs::perms>(0555));
        const std::string denied = ": Permission denied";
        const int code = test::runAsUser([&] {
            const DayLog log = playRaces(dir.path(), 2);
            if (!log.started || log.races != 2 ||
                !log.sawEach({"Cannot write in the data folder " + dir.path().string() + denied}))
                return 1;
            if (readOnlyFiles)
                return log.sawEach({"Cannot write players.dat" + denied}) ? 0 : 2;
            return reliability::folderProblems(dir.path()).empty() ? 0 : 3;
        });
        fs::permissions(dir.path(), fs::perms::owner_all);
        EXPECT_EQ(code, 0);
        // Each file holds what it held: unchanged, or with lines added at its end; balances may
        // start the day anew, but every player is still there.
        for (const std::string name : {"horses.dat", "jockeys.dat", "settings.dat", "pastperformances.dat",
                                       "top10players.dat", "players.dat"}) {
            const std::string before = test::readAll(playedFolder() / name), now = test::readAll(dir / name);
            if (name != "players.dat") {
                EXPECT_EQ(now.substr(0, before.size()), before) << name << " lost what it held";
                continue;
            }
            PlayerList players;
            players.entries = parsePlayers(now);
            for (const PlayerEntry& player : parsePlayers(before))
                EXPECT_GE(findPlayer(players, player.playerId), 0) << player.name;
        }
    }
}

} // namespace
