// The player's data folder: chosen, and filled from the bundled copy without ever writing into it.

#include "database/DataDirectory.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <latch>
#include <memory>
#include <set>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

using namespace sw;
using test::folderContents;
using test::writeAll;
namespace fs = std::filesystem;

namespace {

struct DataDirectoryTest : ::testing::Test {
    DataDirectoryTest() {
        fs::create_directories(bundled);
        writeAll(bundled / "horses.dat", "Copper Lantern,M\r\n");
        writeAll(bundled / "settings.dat", "400,2,1,0,999\r\n");
        writeAll(bundled / "players.dat", "");
        fs::create_directories(exe);
        writeAll(root / "blocker", "a file where a folder should be");
    }
    DataDirectory resolve(const char* explicitDir, std::map<std::string, std::string> env) const {
        return resolveDataDir(explicitDir ? std::optional(root / explicitDir) : std::nullopt, exe, bundled,
                              [env](std::string_view name) -> std::optional<std::string> {
                                  auto it = env.find(std::string(name));
                                  return it == env.end() ? std::nullopt : std::optional(it->second);
                              });
    }
    std::set<std::string> rootEntries() const {
        std::set<std::string> names;
        for (const auto& entry : fs::directory_iterator(root.path()))
            names.insert(entry.path().filename().string());
        return names;
    }
    test::TempDir root;
    fs::path bundled = root / "share" / "data";
    fs::path exe = root / "bin";
    const std::string raced = "home/.local/share/stridewell";
};

TEST_F(DataDirectoryTest, ChoosesTheFolderAndFillsItWithWhatItLacks) {
    const struct {
        const char* what;
        const char* explicitDir; // under the root, made empty first unless it is "typo"
        bool portable;           // the program's folder holds horses.dat
        const char* xdg;         // XDG_DATA_HOME, a leading "/" meaning under the root
        bool raced;              // HOME's data folder is there already with a raced horses.dat
        const char* dir;         // the folder chosen, under the root
        const char* error;       // a part of the error when none can be used
    } cases[] = {
        {"an explicit folder wins; an empty one is filled", "mine", true, "/xdg", false, "mine", nullptr},
        {"a missing explicit folder is an error, not a guess", "typo", true, "/xdg", false, "", "typo"},
        {"a portable copy beside the program", nullptr, true, nullptr, false, "bin", nullptr},
        {"the first run fills the XDG folder", nullptr, false, "/xdg", false, "xdg/stridewell", nullptr},
        {"later runs keep the player's files", nullptr, false, nullptr, true, raced.c_str(), nullptr},
        {"a relative XDG folder is passed over", nullptr, false, "relative/place", false, raced.c_str(),
         nullptr},
        {"a folder that cannot be created", nullptr, false, "/blocker", false, "", "Cannot create"},
    };
    const auto bundle = folderContents(bundled);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        for (const char* made : {"mine", "xdg", "home"})
            fs::remove_all(root / made);
        fs::remove(exe / "horses.dat");
        std::map<std::string, std::string> env = {{"HOME", (root / "home").string()}};
        if (c.xdg)
            env["XDG_DATA_HOME"] = c.xdg[0] == '/' ? root.path().string() + c.xdg : c.xdg;
        if (c.explicitDir && std::string(c.explicitDir) != "typo")
            fs::create_directory(root / c.explicitDir);
        if (c.portable)
            writeAll(exe / "horses.dat", "portable");
        if (c.raced) {
            fs::create_directories(root / raced);
            writeAll(root / raced / "horses.dat", "Raced Stable,B\r\n");
        }
        const DataDirectory chosen = resolve(c.explicitDir, env);
        EXPECT_EQ(folderContents(bundled), bundle) << "the bundled folder is never written";
        std::set<std::string> made = {"share", "bin", "blocker"};
        if (c.error) {
            EXPECT_NE(chosen.error.find(c.error), std::string::npos) << chosen.error;
            EXPECT_EQ(rootEntries(), made) << "nothing else is made";
            continue;
        }
        ASSERT_TRUE(chosen.ok()) << chosen.error;
        EXPECT_EQ(chosen.dir, root / c.dir);
        made.insert(fs::path(c.dir).begin()->string());
        EXPECT_EQ(rootEntries(), made) << "no other folder is made";
        auto expected = bundle;
        if (chosen.dir == exe)
            expected = {{"horses.dat", "portable"}};
        if (c.raced)
            expected["horses.dat"] = "Raced Stable,B\r\n";
        EXPECT_EQ(folderContents(chosen.dir), expected);
    }
    EXPECT_NE(resolve(nullptr, {}).error, "") << "no HOME at all";
}

TEST_F(DataDirectoryTest, AFilledFolderOutlivesAMissingBundle) {
    const std::map<std::string, std::string> env = {{"HOME", (root / "home").string()}};
    fs::create_directories(root / raced);
    writeAll(root / raced / "horses.dat", "Raced Stable,B\r\n");
    bundled = root / "gone";
    EXPECT_TRUE(resolve(nullptr, env).ok());
    fs::remove(root / raced / "horses.dat");
    EXPECT_NE(resolve(nullptr, env).error.find("horses.dat"), std::string::npos);
}

// A first fill cut short is finished on the next start; a folder that was played in is never
// filled, even without its stable (the day then says how to restore it).
TEST_F(DataDirectoryTest, AFirstFillCutShortIsFinishedAndAPlayedFolderIsLeftAlone) {
    const auto bundle = folderContents(bundled);
    const struct {
        const char* what;
        std::map<std::string, std::string> left; // in the folder at the start
        std::map<std::string, std::string> after;
    } cases[] = {
        {"copies and a scratch file",
         {{"settings.dat", bundle.at("settings.dat")}, {"players.dat.new", "pla"}},
         bundle},
        {"a changed file", {{"settings.dat", "500,2,1,0,999\r\n"}}, {{"settings.dat", "500,2,1,0,999\r\n"}}},
        {"a file the game does not ship", {{"notes.txt", "mine"}}, {{"notes.txt", "mine"}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        fs::remove_all(root / "mine");
        fs::create_directory(root / "mine");
        for (const auto& [name, content] : c.left)
            writeAll(root / "mine" / name, content);
        ASSERT_TRUE(resolve("mine", {}).ok());
        EXPECT_EQ(folderContents(root / "mine"), c.after);
    }
}

// A second game on a folder is turned away while the first holds it, whatever is done to the
// names in the folder; other folders are free, and the folder is free again as soon as the first
// game lets go.
TEST_F(DataDirectoryTest, OneGameAtATimePerFolder) {
    const fs::path oldLock = bundled / "stridewell.lock";
    const struct {
        const char* what;
        std::function<void()> before, during; // done to the folder before and while the first runs
    } cases[] = {
        {"nothing touched", [] {}, [] {}},
        // A player tidying what looks like a stale lock.
        {"the lock file's name deleted", [] {}, [&] { fs::remove(oldLock); }},
        {"a dangling link at the lock file's name", [&] { fs::create_symlink("nowhere", oldLock); }, [] {}},
        {"the name replaced by a link", [] {},
         [&] {
             fs::remove(oldLock);
             fs::create_symlink(exe / "other.lock", oldLock);
         }},
    };
    const std::string refused = "Another Stridewell game is using the data folder " + bundled.string();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        fs::remove(oldLock);
        c.before();
        auto first = std::make_unique<FolderLock>(bundled);
        ASSERT_EQ(first->error(), "");
        c.during();
        EXPECT_NE(FolderLock(bundled).error().find(refused), std::string::npos);
        EXPECT_EQ(FolderLock(exe).error(), "");
        first.reset();
        EXPECT_EQ(FolderLock(bundled).error(), "");
    }
}

// A folder that cannot be locked itself (here: it cannot be opened) is locked through a lock file;
// a writable one where neither can be locked is refused, as a second game could write in it too;
// one nobody can write in needs no lock. Root opens every folder whatever its permissions, so the
// folders are tried in a child process as an ordinary user.
TEST_F(DataDirectoryTest, AFolderThatCannotBeLockedIsLockedThroughAFileOrRefused) {
    // 1, 2: the lock file did not lock; 4: a writable folder ran unlocked; 8: a folder nobody may
    // write in was refused.
    const auto tryLocks = [] {
        char name[] = "/tmp/stridewell-lock-XXXXXX";
        if (!::mkdtemp(name))
            return 96;
        const std::string dir = name, lockFile = dir + "/stridewell.lock";
        int failed = 0;
        ::chmod(name, 0300); // no read: the folder cannot be opened to lock it
        {
            const FolderLock first(dir);
            failed |= first.error().empty() ? 0 : 1;
            failed |= FolderLock(dir).error().find("Another Stridewell game") == 0 ? 0 : 2;
        }
        ::unlink(lockFile.c_str());
        ::mkdir(lockFile.c_str(), 0700); // and no lock file can be made either
        failed |= FolderLock(dir).error().find("Cannot lock the data folder " + dir) == 0 ? 0 : 4;
        ::chmod(name, 0100);
        failed |= FolderLock(dir).error().empty() ? 0 : 8;
        ::chmod(name, 0700);
        ::rmdir(lockFile.c_str());
        ::rmdir(name);
        return failed;
    };
    EXPECT_EQ(test::runAsUser(tryLocks), 0);
}

// Two games started at once on a new empty folder: one fills it whole and the other is turned
// away, never both filling it together (each unlinks the other's scratch files).
TEST_F(DataDirectoryTest, TwoGamesStartedAtOnceLeaveTheFolderWhole) {
    test::copyBundledData(bundled);
    const auto bundle = folderContents(bundled);
    for (int round = 0; round < 100; ++round) {
        SCOPED_TRACE(round);
        fs::remove_all(root / "mine");
        fs::create_directory(root / "mine");
        DataDirectory chosen[2];
        std::latch go(2);
        std::vector<std::thread> games;
        for (DataDirectory& one : chosen)
            games.emplace_back([&] {
                go.arrive_and_wait();
                one = resolve("mine", {});
            });
        for (std::thread& game : games)
            game.join();
        int ok = 0;
        for (const DataDirectory& one : chosen) {
            ok += one.ok();
            EXPECT_TRUE(one.ok() || one.error.find("Another Stridewell game") != std::string::npos)
                << one.error;
        }
        EXPECT_GE(ok, 1);
        ASSERT_EQ(folderContents(root / "mine"), bundle);
    }
}

} // namespace
