// The reset asks first, then writes a fresh stable in one step: every name and skill kept, every
// record cleared, ratings drawn anew, or nothing at all when a file cannot be written.

#include "database/ResetDatabase.h"
#include "core/Constants.h"
#include "core/RaceDay.h"
#include "database/DatabaseFiles.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <regex>

using namespace sw;
using test::readLines;
using namespace std::string_literals;

namespace {

// A raced stable: the bundled names with the records, grades and past lines a season leaves.
struct ResetDatabaseTest : ::testing::Test, test::DayOnDisk<> {
    ResetDatabaseTest() : DayOnDisk(77) {
        test::copyBundledData(dir.path());
        loadHorses(day);
        loadJockeys(day);
        for (int h = 1; h <= HorseCount; ++h)
            parseHorse(day.db.horses[h].name + ",B,12,3,2,1,1,5400,70,B,B,120.5,8,8,8,8,8,1,0,0,0,0,3",
                       day.db.horses[h]);
        for (int j = 1; j <= JockeyCount; ++j)
            day.db.jockeys[j].starts = 40;
        saveHorses(day);
        saveJockeys(day);
        test::writeAll(dir / "settings.dat", "650,5,,,118.2\r\n");
        test::writeAll(dir / "pastperformances.dat",
                       "4,1/1/2026,0,1,550,F,120,60,1,1,1,,1,,1,,120,2,M,Won,8\r\n");
        before = test::folderContents(dir.path());
    }
    std::map<std::string, std::string> before;
};

// A folder where a scratch copy, or a file the reset replaces, should go refuses it before
// anything is written.
TEST_F(ResetDatabaseTest, AFailedRewriteLeavesEveryFileAsItWas) {
    namespace fs = std::filesystem;
    const std::string past = test::readAll(dir / "pastperformances.dat");
    for (const auto& [blocked, file] : {std::pair{"horses.dat.new", "horses.dat"},
                                        std::pair{"pastperformances.dat", "pastperformances.dat"}}) {
        fs::remove(dir / blocked);
        fs::create_directory(dir / blocked);
        prompter.clear();
        EXPECT_FALSE(resetDatabase(day)) << blocked;
        fs::remove(dir / blocked);
        if (blocked == std::string_view(file))
            test::writeAll(dir / file, past);
        EXPECT_EQ(test::folderContents(dir.path()), before) << blocked;
        ASSERT_EQ(prompter.shown().size(), 1u) << blocked;
        EXPECT_EQ(prompter.shown()[0].text.rfind("Cannot write "s + file, 0), 0u) << prompter.shown()[0].text;
    }
}

// Past its commit the reset is done: it says so, and says that a file is still to be put in
// place, which the next start does.
TEST_F(ResetDatabaseTest, AResetPastItsCommitIsDoneWhenAFileWaits) {
    test::FailingDisk fails("horses.dat", EIO, FileOp::Rename);
    day.folder.setFaults(&fails);
    EXPECT_TRUE(resetDatabase(day));
    EXPECT_TRUE(prompter.sawText("Saved; one file could not be replaced yet (Cannot write horses.dat: "
                                 "Input/output error). The game finishes it at the next save or start."));
    day.folder.setFaults(nullptr);
    EXPECT_EQ(test::readAll(dir / "horses.dat"), before["horses.dat"]);
    ASSERT_FALSE(day.folder.recover());
    EXPECT_EQ(readLines(dir / "pastperformances.dat"), std::vector<std::string>{});
    EXPECT_NE(test::readAll(dir / "horses.dat"), before["horses.dat"]);
}

TEST_F(ResetDatabaseTest, WritesAFreshStableKeepingNamesAndSkills) {
    // Slots a cut-short file left empty get stand-in names.
    day.db.horses[7].name.clear();
    day.db.jockeys[7].name.clear();
    ASSERT_TRUE(resetDatabase(day));
    EXPECT_EQ(test::readAll(dir / "pastperformances.dat"), "");
    EXPECT_EQ(test::readAll(dir / "settings.dat"), "400,2,1,0,999\r\n");

    const auto jockeys = readLines(dir / "jockeys.dat");
    ASSERT_EQ(jockeys.size(), static_cast<std::size_t>(JockeyCount));
    for (int j = 1; j <= JockeyCount; ++j) {
        const Jockey& jockey = j == 7 ? Jockey{"Jockey 7", 1} : day.db.jockeys[j];
        EXPECT_EQ(jockeys[j - 1], jockey.name + "," + std::to_string(jockey.skill) + ",0,0,0,0,0,0");
    }
    // Unraced in grade M: rating 50..79, best time 999, segments 4..8, path 0..2.
    const auto horses = readLines(dir / "horses.dat");
    ASSERT_EQ(horses.size(), static_cast<std::size_t>(HorseCount));
    const std::regex fresh(
        ",M,0,0,0,0,0,0,[5-7][0-9],M,M,999,[4-8],[4-8],[4-8],[4-8],[4-8],[0-2],0,0,0,0,0,False");
    for (int h = 1; h <= HorseCount; ++h) {
        const std::string name = h == 7 ? "Horse 7" : day.db.horses[h].name;
        const std::string rest = horses[h - 1].substr(std::min(name.size(), horses[h - 1].size()));
        EXPECT_TRUE(horses[h - 1].starts_with(name) && std::regex_match(rest, fresh)) << horses[h - 1];
    }
}

// Five segment ratings 4..8, then the path draw 0..9 (six in ten inside, three middle, one wide),
// then the rating 50..79.
TEST(FreshHorse, DrawsSegmentsThenPathThenRating) {
    test::ListRandom random({0.0, 0.99, 0.5, 0.2, 0.7, 0.95, 0.5});
    EXPECT_EQ(horseRecord(freshHorse("Copper Lantern", random)),
              "Copper Lantern,M,0,0,0,0,0,0,65,M,M,999,4,8,6,5,7,2,0,0,0,0,0,False\r\n");
    EXPECT_EQ(random.drawsTaken(), 7u);
    std::vector<int> paths; // the draws at each side of each band's edge
    for (const int d : {5, 6, 8, 9}) {
        test::ListRandom draws({0.5, 0.5, 0.5, 0.5, 0.5, (d + 0.5) / 10.0, 0.5});
        paths.push_back(freshHorse("X", draws).path);
    }
    EXPECT_EQ(paths, (std::vector<int>{0, 1, 1, 2}));
}

} // namespace
