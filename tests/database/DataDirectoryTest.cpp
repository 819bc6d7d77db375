#include "database/DataDirectory.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>

using namespace sw;
using sw::test::readAll;
using sw::test::writeAll;
namespace fs = std::filesystem;

namespace {

class DataDirectoryTest : public ::testing::Test {
protected:
    DataDirectoryTest() {
        fs::create_directories(bundled);
        writeAll(bundled / "horses.dat", "Copper Lantern,M\r\n");
        writeAll(bundled / "settings.dat", "400,2,1,0,999\r\n");
        writeAll(bundled / "players.dat", "");
        fs::create_directories(exe);
    }

    EnvironmentGetter environment() const {
        return [vars = env](std::string_view name) -> std::optional<std::string> {
            auto it = vars.find(std::string(name));
            if (it == vars.end())
                return std::nullopt;
            return it->second;
        };
    }

    DataDirectory resolve(std::optional<fs::path> explicitDir = std::nullopt) const {
        return resolveDataDir(explicitDir, exe, bundled, environment());
    }

    std::map<std::string, std::string> bundledContents() const {
        std::map<std::string, std::string> files;
        for (const auto& entry : fs::directory_iterator(bundled))
            files[entry.path().filename().string()] = readAll(entry.path());
        return files;
    }

    test::TempDir root;
    fs::path bundled = root / "share" / "data";
    fs::path exe = root / "bin";
    std::map<std::string, std::string> env;
};

TEST_F(DataDirectoryTest, ExplicitFolderWins) {
    fs::create_directories(root / "mine");
    writeAll(exe / "horses.dat", "portable");
    env["XDG_DATA_HOME"] = (root / "xdg").string();
    DataDirectory chosen = resolve(root / "mine");
    ASSERT_TRUE(chosen.ok()) << chosen.error;
    EXPECT_EQ(chosen.dir, root / "mine");
    EXPECT_FALSE(fs::exists(root / "xdg"));
}

TEST_F(DataDirectoryTest, AnEmptyExplicitFolderIsFilledFromTheBundle) {
    fs::create_directories(root / "new");
    ASSERT_TRUE(resolve(root / "new").ok());
    EXPECT_EQ(readAll(root / "new" / "horses.dat"), "Copper Lantern,M\r\n");
}

// A second game on a folder is turned away while the first holds it; other folders are free, and
// the folder is free again as soon as the first game lets go.
TEST_F(DataDirectoryTest, OneGameAtATimePerFolder) {
    fs::create_directories(root / "other");
    auto first = std::make_unique<FolderLock>(bundled);
    ASSERT_EQ(first->error(), "");
    FolderLock second(bundled);
    EXPECT_NE(second.error().find("Another Stridewell game is using the data folder " + bundled.string()),
              std::string::npos);
    EXPECT_EQ(FolderLock(root / "other").error(), "");
    first.reset();
    EXPECT_EQ(FolderLock(bundled).error(), "");
}

TEST_F(DataDirectoryTest, MissingExplicitFolderIsAnErrorNotAGuess) {
    DataDirectory chosen = resolve(root / "typo");
    EXPECT_FALSE(chosen.ok());
    EXPECT_NE(chosen.error.find("typo"), std::string::npos);
    EXPECT_FALSE(fs::exists(root / "typo"));
}

TEST_F(DataDirectoryTest, PortableCopyBesideTheExecutable) {
    writeAll(exe / "horses.dat", "portable");
    env["HOME"] = (root / "home").string();
    DataDirectory chosen = resolve();
    ASSERT_TRUE(chosen.ok());
    EXPECT_EQ(chosen.dir, exe);
    EXPECT_FALSE(fs::exists(root / "home"));
}

TEST_F(DataDirectoryTest, FirstRunFillsTheXdgFolderFromTheBundle) {
    env["XDG_DATA_HOME"] = (root / "xdg").string();
    env["HOME"] = (root / "home").string();
    auto before = bundledContents();
    DataDirectory chosen = resolve();
    ASSERT_TRUE(chosen.ok()) << chosen.error;
    EXPECT_EQ(chosen.dir, root / "xdg" / "stridewell");
    for (const auto& [name, content] : before)
        EXPECT_EQ(readAll(chosen.dir / name), content) << name;
    EXPECT_EQ(bundledContents(), before) << "the bundled folder is never written";
    EXPECT_FALSE(fs::exists(root / "home"));
}

TEST_F(DataDirectoryTest, LaterRunsKeepThePlayersFilesAndAddOnlyWhatIsMissing) {
    env["HOME"] = (root / "home").string();
    fs::path dir = root / "home" / ".local" / "share" / "stridewell";
    fs::create_directories(dir);
    writeAll(dir / "horses.dat", "Raced Stable,B\r\n");
    DataDirectory chosen = resolve();
    ASSERT_TRUE(chosen.ok()) << chosen.error;
    EXPECT_EQ(chosen.dir, dir);
    EXPECT_EQ(readAll(dir / "horses.dat"), "Raced Stable,B\r\n");
    EXPECT_EQ(readAll(dir / "settings.dat"), "400,2,1,0,999\r\n");
    EXPECT_TRUE(fs::exists(dir / "players.dat"));
}

TEST_F(DataDirectoryTest, RelativeOrEmptyXdgFolderFallsBackToHome) {
    env["HOME"] = (root / "home").string();
    for (const char* xdg : {"relative/place", ""}) {
        env["XDG_DATA_HOME"] = xdg;
        DataDirectory chosen = resolve();
        ASSERT_TRUE(chosen.ok());
        EXPECT_EQ(chosen.dir, root / "home" / ".local" / "share" / "stridewell") << xdg;
    }
}

TEST_F(DataDirectoryTest, NoHomeAtAllIsReported) {
    DataDirectory chosen = resolve();
    EXPECT_FALSE(chosen.ok());
    EXPECT_FALSE(chosen.error.empty());
}

TEST_F(DataDirectoryTest, FolderThatCannotBeCreatedIsReportedNotThrown) {
    writeAll(root / "blocker", "a file where a folder should be");
    env["XDG_DATA_HOME"] = (root / "blocker").string();
    DataDirectory chosen;
    EXPECT_NO_THROW(chosen = resolve());
    EXPECT_FALSE(chosen.ok());
    EXPECT_NE(chosen.error.find("Cannot create"), std::string::npos);
}

TEST_F(DataDirectoryTest, FilledFolderOutlivesAMissingBundle) {
    env["HOME"] = (root / "home").string();
    fs::path dir = root / "home" / ".local" / "share" / "stridewell";
    fs::create_directories(dir);
    writeAll(dir / "horses.dat", "Raced Stable,B\r\n");
    bundled = root / "gone";
    EXPECT_TRUE(resolve().ok());

    fs::remove(dir / "horses.dat");
    DataDirectory chosen = resolve();
    EXPECT_FALSE(chosen.ok());
    EXPECT_NE(chosen.error.find("horses.dat"), std::string::npos);
}

} // namespace
