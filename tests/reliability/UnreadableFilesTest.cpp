// A file of the stable the game could not read is never written, by a day or by the reset, and a
// missing horses.dat or jockeys.dat stops the day: nothing the player could still restore is
// replaced by nameless records. A file whose read bit is off (writable, not readable) means
// nothing to root, so these days are played by an ordinary user in a child process.

#include "ReliabilitySupport.h"

#include "core/Constants.h"
#include "players/Players.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

using namespace sw;
namespace fs = std::filesystem;

namespace {

// A folder after two races, which anyone may write, so the child can play on it.
const fs::path& sharedFolder() {
    static test::TempDir dir;
    static bool made = false;
    if (!made) {
        test::copyBundledData(dir.path());
        test::writeAll(dir / "players.dat", "1,Ann,400\r\n2,Bob,400\r\n");
        test::writeAll(dir / "top10players.dat", "Ann,812.5\r\nBob,400\r\n");
        reliability::playDay(dir.path(), 21, 2);
        made = true;
    }
    return dir.path();
}

void copySharedFolder(const fs::path& to) {
    fs::permissions(to, fs::perms::all);
    for (const auto& entry : fs::directory_iterator(sharedFolder())) {
        const fs::path file = to / entry.path().filename();
        fs::copy_file(entry.path(), file, fs::copy_options::overwrite_existing);
        fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                                  fs::perms::group_write | fs::perms::others_read | fs::perms::others_write);
    }
}

// 0 when a message or a reported file error began with each expected text, else 10 + the index
// of the first one missing.
int sawEach(const std::vector<std::string>& shown, const std::vector<std::string>& expected) {
    for (std::size_t i = 0; i < expected.size(); ++i)
        if (std::none_of(shown.begin(), shown.end(),
                         [&](const std::string& s) { return s.rfind(expected[i], 0) == 0; }))
            return 10 + static_cast<int>(i);
    return 0;
}

// Plays `races` races (a whole day reaches the standings) with a player added when none is listed.
int playDay(const fs::path& dir, int races, const std::vector<std::string>& expected) {
    SeededRandom random(4);
    test::ScriptedPrompter prompter;
    Game game(dir, random, prompter);
    std::vector<std::string> shown;
    if (game.startDay()) {
        game.toteBoard();
        if (game.day().players.entries.empty())
            addPlayer(game.day(), "Cy");
        for (int race = 0; race < races && game.stage() == Stage::Betting; ++race)
            for (std::string& error : reliability::playRace(game, {"$2 Win on 1", "$2 Exacta Box 123"}))
                shown.push_back(std::move(error));
    }
    for (const auto& s : prompter.shown())
        shown.push_back(s.text);
    return sawEach(shown, expected);
}

// Starts a day and resets the stable, answering Yes.
int resetStable(const fs::path& dir, const std::vector<std::string>& expected) {
    SeededRandom random(8);
    test::ScriptedPrompter prompter;
    Game game(dir, random, prompter);
    game.startDay();
    prompter.answer(true);
    game.resetDatabase();
    std::vector<std::string> shown;
    for (const auto& s : prompter.shown())
        shown.push_back(s.text);
    return sawEach(shown, expected);
}

enum class Fault { Unreadable, Missing };

struct Case {
    std::string file;
    Fault fault;
    int races;
    std::vector<std::string> dayMessages;
    std::string resetMessage; // empty when the reset goes through
};

std::ostream& operator<<(std::ostream& os, const Case& c) {
    return os << c.file << (c.fault == Fault::Missing ? " missing" : " unreadable");
}

class StableFile : public ::testing::TestWithParam<Case> {
protected:
    test::TempDir dir;
};

constexpr const char* NotRead = ": it could not be read";

TEST_P(StableFile, IsNeverReplacedByADayOrTheReset) {
    const Case& c = GetParam();
    copySharedFolder(dir.path());
    const fs::path file = dir / c.file;
    const std::string before = test::readAll(file);
    if (c.fault == Fault::Missing)
        fs::remove(file);
    else
        fs::permissions(file, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write);
    auto unchanged = [&] {
        if (c.fault == Fault::Missing)
            return !fs::exists(file);
        return test::readAll(file) == before;
    };

    EXPECT_EQ(reliability::runInChild([&] { return playDay(dir.path(), c.races, c.dayMessages); }, true), 0)
        << "10 + i: message i was not shown; 97: the child could not become an ordinary user";
    EXPECT_TRUE(unchanged()) << "the day wrote " << c.file;

    std::vector<std::string> resetMessages;
    if (!c.resetMessage.empty())
        resetMessages.push_back(c.resetMessage);
    EXPECT_EQ(reliability::runInChild([&] { return resetStable(dir.path(), resetMessages); }, true), 0);
    if (c.fault == Fault::Unreadable || !c.resetMessage.empty()) {
        EXPECT_TRUE(unchanged()) << "the reset wrote " << c.file;
    } else {
        // A whole stable, every horse and jockey with a name.
        const auto lines = test::readLines(file);
        EXPECT_EQ(lines.size(), static_cast<std::size_t>(c.file == "horses.dat" ? HorseCount : JockeyCount));
        for (const std::string& line : lines)
            EXPECT_NE(line.front(), ',') << line;
        EXPECT_TRUE(reliability::folderProblems(dir.path()).empty())
            << ::testing::PrintToString(reliability::folderProblems(dir.path()));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Files, StableFile,
    ::testing::Values(
        Case{"horses.dat",
             Fault::Unreadable,
             1,
             {"Error reading horses.dat", "The stable cannot fill race 1"},
             std::string("Cannot write horses.dat") + NotRead},
        Case{"jockeys.dat",
             Fault::Unreadable,
             1,
             {"Error reading jockeys.dat", std::string("Cannot write jockeys.dat") + NotRead},
             std::string("Cannot write jockeys.dat") + NotRead},
        Case{"settings.dat",
             Fault::Unreadable,
             1,
             {"Error reading settings.dat", std::string("Cannot write settings.dat") + NotRead},
             std::string("Cannot write settings.dat") + NotRead},
        Case{"players.dat",
             Fault::Unreadable,
             1,
             {"Error reading players.dat", std::string("Cannot write players.dat") + NotRead},
             ""},
        Case{"top10players.dat",
             Fault::Unreadable,
             RacesPerDay,
             {std::string("Cannot write top10players.dat") + NotRead, "Error reading top10players.dat"},
             ""},
        Case{"horses.dat", Fault::Missing, 1, {"Error reading horses.dat", "horses.dat is missing"}, ""},
        Case{"jockeys.dat", Fault::Missing, 1, {"Error reading jockeys.dat", "jockeys.dat is missing"}, ""}),
    [](const auto& info) {
        const Case& c = info.param;
        return c.file.substr(0, c.file.find('.')) + (c.fault == Fault::Missing ? "Missing" : "Unreadable");
    });

} // namespace
