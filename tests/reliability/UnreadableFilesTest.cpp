// A data file the game cannot read is reported and kept as it is: the game never replaces what it
// could not read with what little it knows. Permissions mean nothing to root, so these days are
// played by an ordinary user in a child process.

#include "ReliabilitySupport.h"

#include "core/Constants.h"
#include "players/Players.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

using namespace sw;
namespace fs = std::filesystem;

namespace {

// A folder after two races, which anyone may write, so the child can play on it.
void prepareSharedFolder(const fs::path& dir) {
    test::copyBundledData(dir);
    test::writeAll(dir / "players.dat", "1,Ann,400\r\n2,Bob,400\r\n");
    test::writeAll(dir / "top10players.dat", "Ann,812.5\r\nBob,400\r\n");
    ASSERT_TRUE(reliability::playDay(dir, 21, 2));
    fs::permissions(dir, fs::perms::all);
    for (const auto& entry : fs::directory_iterator(dir))
        fs::permissions(entry.path(), fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                                          fs::perms::group_write | fs::perms::others_read |
                                          fs::perms::others_write);
}

// Plays `races` races (a whole day reaches the top-ten list) and returns 0 when a message or a
// reported file error began with each expected text, or 10 + the index of the first one missing.
int playWithMessages(const fs::path& dir, int races, const std::vector<std::string>& expected) {
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
    for (std::size_t i = 0; i < expected.size(); ++i)
        if (std::none_of(shown.begin(), shown.end(),
                         [&](const std::string& s) { return s.rfind(expected[i], 0) == 0; }))
            return 10 + static_cast<int>(i);
    return 0;
}

struct Unreadable {
    std::string file;
    int races;
    std::vector<std::string> messages;
};

std::ostream& operator<<(std::ostream& os, const Unreadable& u) {
    return os << u.file;
}

class UnreadableFile : public ::testing::TestWithParam<Unreadable> {
protected:
    test::TempDir dir;
};

TEST_P(UnreadableFile, IsReportedAndKeptAsItIs) {
    const Unreadable& u = GetParam();
    prepareSharedFolder(dir.path());
    const fs::path file = dir / u.file;
    const std::string before = test::readAll(file);
    fs::permissions(file, fs::perms::none);

    int code =
        reliability::runInChild([&] { return playWithMessages(dir.path(), u.races, u.messages); }, true);

    fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(code, 0) << "10 + i: message i was not shown; 97: the child could not become an ordinary user";
    EXPECT_EQ(test::readAll(file), before) << u.file << " was replaced";
}

INSTANTIATE_TEST_SUITE_P(
    Files, UnreadableFile,
    ::testing::Values(Unreadable{"horses.dat", 1, {"Error reading horses.dat"}},
                      Unreadable{"jockeys.dat", 2, {"Error reading jockeys.dat", "Cannot write jockeys.dat"}},
                      Unreadable{"settings.dat", 2, {"Error reading settings.dat"}},
                      Unreadable{"players.dat", 2, {"Error reading players.dat"}},
                      Unreadable{"pastperformances.dat", 2, {"Error reading pastperformances.dat"}},
                      Unreadable{"top10players.dat", RacesPerDay, {"Error reading top10players.dat"}}),
    [](const auto& info) {
        std::string name = info.param.file;
        return name.substr(0, name.find('.'));
    });

// A folder in place of a file cannot be read either, also for root.
TEST(UnreadableFile, FolderInPlaceOfPlayersIsReportedAndLeftAlone) {
    test::TempDir dir;
    prepareSharedFolder(dir.path());
    fs::remove(dir / "players.dat");
    fs::create_directory(dir / "players.dat");
    EXPECT_EQ(playWithMessages(dir.path(), 1, {"Error reading players.dat"}), 0);
    EXPECT_TRUE(fs::is_directory(dir / "players.dat"));
}

} // namespace
