// A data folder the game may not write (read-only), or one where writes fail (a full disk, here
// simulated with a folder standing where a file or its scratch copy must go): the player is told
// which file and why, the day goes on, and nothing already stored is lost.

#include "ReliabilitySupport.h"

#include "core/Constants.h"
#include "players/Players.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

using namespace sw;
namespace fs = std::filesystem;

namespace {

const std::vector<std::string> StoredFiles = {"horses.dat",           "jockeys.dat", "settings.dat",
                                              "pastperformances.dat", "players.dat", "top10players.dat"};

std::map<std::string, std::string> snapshot(const fs::path& dir) {
    std::map<std::string, std::string> files;
    for (const std::string& name : StoredFiles)
        files[name] = test::readAll(dir / name);
    return files;
}

// What a day showed and reported, in order.
struct DayLog {
    std::vector<std::string> texts;
    bool started = false;
    int racesRun = 0;

    bool sawStart(const std::string& start) const {
        return std::any_of(texts.begin(), texts.end(),
                           [&](const std::string& t) { return t.rfind(start, 0) == 0; });
    }
};

DayLog playTwoRaces(const fs::path& dir) {
    DayLog log;
    SeededRandom random(6);
    test::ScriptedPrompter prompter;
    Game game(dir, random, prompter);
    log.started = game.startDay();
    if (log.started) {
        game.toteBoard();
        addPlayer(game.day(), "Dee");
        if (!game.day().players.entries.empty())
            selectBettor(game.day(), 0);
        for (int race = 0; race < 2 && game.stage() == Stage::Betting; ++race) {
            for (std::string& error : reliability::playRace(game, {"$2 Win on 1", "$1 Exacta Box 123"}))
                log.texts.push_back(std::move(error));
            ++log.racesRun;
        }
    }
    for (const auto& shown : prompter.shown())
        log.texts.push_back(shown.text);
    return log;
}

struct UnwritableFolder : ::testing::Test {
    test::TempDir dir;
    std::map<std::string, std::string> before;

    void SetUp() override {
        test::copyBundledData(dir.path());
        test::writeAll(dir / "players.dat", "1,Ann,400\r\n2,Bob,400\r\n");
        test::writeAll(dir / "top10players.dat", "Ann,812.5\r\n");
        ASSERT_TRUE(reliability::playDay(dir.path(), 31, 2));
        before = snapshot(dir.path());
    }

    // Every stored file still holds what it held: unchanged, or with lines added at its end.
    void expectNothingLost(const std::vector<std::string>& files = StoredFiles) {
        for (const std::string& name : files) {
            const std::string& content = before[name];
            std::string now = test::readAll(dir / name);
            if (name == "players.dat") {
                // Balances start the day anew; the players themselves must all be there.
                auto players = reliability::playersOnDisk(dir.path());
                ASSERT_TRUE(players.has_value()) << now;
                EXPECT_TRUE(players->count(1) && players->count(2)) << now;
                continue;
            }
            EXPECT_EQ(now.substr(0, content.size()), content) << name << " lost what it held";
        }
    }
};

// Read-only files in a read-only folder, as on a read-only mount or a shared install.
TEST_F(UnwritableFolder, ReadOnlyFolderIsReportedOnceAndTheDayGoesOn) {
    for (const auto& entry : fs::directory_iterator(dir.path()))
        fs::permissions(entry.path(), fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    fs::permissions(dir.path(), fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                                    fs::perms::group_exec | fs::perms::others_read | fs::perms::others_exec);
    int code = reliability::runInChild(
        [&] {
            DayLog log = playTwoRaces(dir.path());
            if (!log.started || log.racesRun != 2)
                return 1;
            if (!log.sawStart("Cannot write in the data folder " + dir.path().string() +
                              ": Permission denied"))
                return 2;
            // Each save that fails names its file and the reason.
            if (!log.sawStart("Cannot write players.dat: Permission denied"))
                return 3;
            if (!log.sawStart("Cannot write tickets.dat: Permission denied") &&
                !log.sawStart("Cannot write wins.dat: Permission denied"))
                return 4;
            return 0;
        },
        true);
    fs::permissions(dir.path(), fs::perms::owner_all);
    EXPECT_EQ(code, 0);
    expectNothingLost();
}

// A writable folder whose files may be appended to but not replaced.
TEST_F(UnwritableFolder, FolderThatTakesNoNewFilesKeepsWhatItHolds) {
    for (const auto& entry : fs::directory_iterator(dir.path()))
        fs::permissions(entry.path(), fs::perms::all);
    fs::permissions(dir.path(), fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                                    fs::perms::group_exec | fs::perms::others_read | fs::perms::others_exec);
    int code = reliability::runInChild(
        [&] {
            DayLog log = playTwoRaces(dir.path());
            if (!log.started || log.racesRun != 2)
                return 1;
            if (!log.sawStart("Cannot write in the data folder"))
                return 2;
            return reliability::folderProblems(dir.path()).empty() ? 0 : 3;
        },
        true);
    fs::permissions(dir.path(), fs::perms::owner_all);
    EXPECT_EQ(code, 0);
    expectNothingLost();
}

// A full disk refuses new data; here a folder stands where the scratch copy of players.dat and
// where tickets.dat must go, which fails those writes the same way, also for root.
TEST_F(UnwritableFolder, FailedWritesChargeNothingAndNameTheirFile) {
    fs::create_directory(dir / "players.dat.new");
    DayLog log;
    {
        SeededRandom random(6);
        test::ScriptedPrompter prompter;
        Game game(dir.path(), random, prompter);
        ASSERT_TRUE(game.startDay());
        game.toteBoard();
        fs::remove(dir / "tickets.dat");
        fs::create_directory(dir / "tickets.dat");
        selectBettor(game.day(), 0);
        ASSERT_TRUE(game.ticketList().listTicket(game.day(), "$5 Exacta Box 123"));
        const std::string balance = game.day().players.entries[0].balance;
        PaymentReport report = game.pay();
        EXPECT_EQ(report.paid, 0);
        EXPECT_EQ(report.error.rfind("Cannot write tickets.dat: ", 0), 0u) << report.error;
        EXPECT_TRUE(prompter.sawText(report.error));
        EXPECT_EQ(game.day().players.entries[0].balance, balance) << "charged for a ticket never recorded";

        // The charge cannot be saved, so the ticket is not taken either.
        fs::remove(dir / "tickets.dat");
        report = game.pay();
        EXPECT_EQ(report.paid, 0);
        EXPECT_EQ(report.error.rfind("Cannot write players.dat: ", 0), 0u) << report.error;
        EXPECT_EQ(game.day().players.entries[0].balance, balance);
        EXPECT_EQ(test::readAll(dir / "tickets.dat"), "");
        log.texts = reliability::playRace(game, {});
    }
    fs::remove(dir / "players.dat.new");
    // The races rewrote the stable as they should; the players must all still be there.
    expectNothingLost({"players.dat", "top10players.dat"});
    EXPECT_TRUE(reliability::folderProblems(dir.path()).empty());
}

} // namespace
