// A data folder the game cannot write, and the copy it plays on instead.

#include "database/WorkingCopy.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

using namespace sw;
using test::readAll;
using test::writeAll;
namespace fs = std::filesystem;

namespace {

TEST(WorkingCopy, AFolderIsWritableOnlyWhenAFileCanBeMadeInIt) {
    test::TempDir root;
    writeAll(root / "a-file", "");
    const struct {
        fs::path dir;
        bool writable;
    } cases[] = {
        {root.path(), true},
        {root / "missing", false},
        {root / "a-file", false},
        {"/proc", false}, // refused even to root, as a read-only disc would be
    };
    for (const auto& c : cases)
        EXPECT_EQ(folderWritable(c.dir), c.writable) << c.dir;
    EXPECT_EQ(test::folderContents(root.path()).size(), 1u) << "the probe is removed";
}

TEST(WorkingCopy, CopiesIntoThePlayersOwnFolderAndKeepsAStableThere) {
    test::TempDir root;
    const fs::path shared = root / "shared";
    fs::create_directories(shared);
    writeAll(shared / "horses.dat", "Copper Lantern,M\r\n");
    writeAll(shared / "players.dat", "Ann\r\n");
    const auto env = [&root](std::string_view name) -> std::optional<std::string> {
        if (name == "XDG_DATA_HOME")
            return (root / "home").string();
        return std::nullopt;
    };
    const fs::path own = root / "home" / "stridewell";

    {
        // The copy is locked for as long as it is held, like any data folder.
        const DataDirectory copy = makeWorkingCopy(shared, env);
        ASSERT_TRUE(copy.ok()) << copy.error;
        EXPECT_EQ(copy.dir, own);
        EXPECT_EQ(readAll(own / "players.dat"), "Ann\r\n");
        EXPECT_FALSE(makeWorkingCopy(shared, env).ok()) << "a second game on the copy";
    }

    // A stable the player already has is theirs: only what it lacks is copied.
    writeAll(own / "horses.dat", "Their Own Horse,AA\r\n");
    fs::remove(own / "players.dat");
    ASSERT_TRUE(makeWorkingCopy(shared, env).ok());
    EXPECT_EQ(readAll(own / "horses.dat"), "Their Own Horse,AA\r\n");
    EXPECT_EQ(readAll(own / "players.dat"), "Ann\r\n");

    // The player's own folder cannot be its own copy.
    const DataDirectory self = makeWorkingCopy(own, env);
    EXPECT_FALSE(self.ok());
    EXPECT_NE(self.error.find("already"), std::string::npos) << self.error;
    // Nor can a copy be made where no folder can be made.
    writeAll(root / "blocked", "");
    const DataDirectory nowhere =
        makeWorkingCopy(shared, [&root](std::string_view name) -> std::optional<std::string> {
            return name == "XDG_DATA_HOME" ? std::optional((root / "blocked").string()) : std::nullopt;
        });
    EXPECT_FALSE(nowhere.ok());
}

} // namespace
