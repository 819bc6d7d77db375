#include "database/ResetDatabase.h"
#include "core/Constants.h"
#include "core/RaceDay.h"
#include "core/TextEncoding.h"
#include "database/DatabaseFiles.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <map>

using namespace sw;
using sw::test::readAll;
using sw::test::readLines;
using sw::test::writeAll;

namespace {

std::vector<std::string> fieldsOf(std::string_view line) {
    std::vector<std::string> fields;
    FieldReader reader(line);
    while (!reader.atEnd())
        fields.emplace_back(reader.next());
    return fields;
}

// A raced stable: the bundled names with records, grades and past lines a season would leave.
class ResetDatabaseTest : public ::testing::Test {
protected:
    ResetDatabaseTest() {
        test::copyBundledData(dir.path());
        loadHorses(day);
        loadJockeys(day);
        for (int h = 1; h <= HorseCount; ++h) {
            Horse& horse = day.db.horses[h];
            horse.grade = horse.earnedGrade = "B";
            horse.starts = 12;
            horse.earnings = 5400;
            horse.formValue = 3;
        }
        for (int j = 1; j <= JockeyCount; ++j)
            day.db.jockeys[j].starts = 40;
        saveHorses(day);
        saveJockeys(day);
        writeAll(dir / "settings.dat", "650,5,,,118.2\r\n");
        writeAll(dir / "pastperformances.dat", "4,1/1/2026,0,1,550,F,120,60,1,1,1,,1,,1,,120,2,M,Won,8\r\n");
    }

    std::map<std::string, std::string> snapshot() const {
        std::map<std::string, std::string> files;
        for (const char* name : {"horses.dat", "jockeys.dat", "settings.dat", "pastperformances.dat"})
            files[name] = readAll(dir / name);
        return files;
    }

    test::TempDir dir;
    SeededRandom random{77};
    test::ScriptedPrompter prompter;
    RaceDay day{dir.path(), random, prompter};
};

TEST_F(ResetDatabaseTest, AnsweringNoLeavesEveryFileUntouched) {
    auto before = snapshot();
    prompter.answer(false);
    EXPECT_FALSE(resetDatabase(day));
    ASSERT_EQ(prompter.shown().size(), 1u);
    EXPECT_EQ(prompter.shown()[0].text,
              "WARNING!!! This will reset all the horse database.  Do you want to continue?");
    EXPECT_EQ(prompter.shown()[0].title, "Stridewell");
    EXPECT_TRUE(prompter.shown()[0].question);
    EXPECT_EQ(snapshot(), before);
}

TEST_F(ResetDatabaseTest, WritesAFreshStableKeepingNamesAndSkills) {
    prompter.answer(true);
    ASSERT_TRUE(resetDatabase(day));
    EXPECT_EQ(day.db.horses[1].grade, "B") << "the tables in memory wait for the next start";
    EXPECT_EQ(readAll(dir / "pastperformances.dat"), "");
    EXPECT_EQ(readAll(dir / "settings.dat"), "400,2,1,0,999\r\n");

    auto jockeys = readLines(dir / "jockeys.dat");
    ASSERT_EQ(jockeys.size(), static_cast<std::size_t>(JockeyCount));
    for (int j = 1; j <= JockeyCount; ++j) {
        const auto& line = jockeys[static_cast<std::size_t>(j) - 1];
        EXPECT_EQ(line,
                  day.db.jockeys[j].name + "," + std::to_string(day.db.jockeys[j].skill) + ",0,0,0,0,0,0");
    }

    auto horses = readLines(dir / "horses.dat");
    ASSERT_EQ(horses.size(), static_cast<std::size_t>(HorseCount));
    int inside = 0;
    for (int h = 1; h <= HorseCount; ++h) {
        auto f = fieldsOf(horses[static_cast<std::size_t>(h) - 1]);
        ASSERT_EQ(f.size(), 24u);
        EXPECT_EQ(f[0], day.db.horses[h].name);
        EXPECT_EQ(f[1], "M");
        for (int i = 2; i <= 7; ++i)
            EXPECT_EQ(f[static_cast<std::size_t>(i)], "0");
        int rating = std::stoi(f[8]);
        EXPECT_GE(rating, 50);
        EXPECT_LE(rating, 79);
        EXPECT_EQ(f[9], "M");
        EXPECT_EQ(f[10], "M");
        EXPECT_EQ(f[11], "999");
        for (int i = 12; i <= 16; ++i) {
            int segment = std::stoi(f[static_cast<std::size_t>(i)]);
            EXPECT_GE(segment, 4);
            EXPECT_LE(segment, 8);
        }
        EXPECT_TRUE(f[17] == "0" || f[17] == "1" || f[17] == "2");
        inside += f[17] == "0";
        for (int i = 18; i <= 22; ++i)
            EXPECT_EQ(f[static_cast<std::size_t>(i)], "0");
        EXPECT_EQ(f[23], "False");
    }
    EXPECT_GT(inside, 80) << "most horses run inside";
}

TEST(FreshHorse, DrawsSegmentsThenPathThenRating) {
    test::ListRandom random({0.0, 0.99, 0.5, 0.2, 0.7, 0.95, 0.5});
    Horse h = freshHorse("Copper Lantern", random);
    EXPECT_EQ(h.segmentRating, (std::array<int16_t, 5>{4, 8, 6, 5, 7}));
    EXPECT_EQ(h.path, 2) << "a path draw of 9 runs wide";
    EXPECT_EQ(h.horseRating, 65);
    EXPECT_EQ(random.drawsTaken(), 7u);
    EXPECT_EQ(horseRecord(h), "Copper Lantern,M,0,0,0,0,0,0,65,M,M,999,4,8,6,5,7,2,0,0,0,0,0,False\r\n");
}

TEST(FreshHorse, PathDrawMapsToInsideMiddleAndWide) {
    auto pathFor = [](int d) {
        test::ListRandom random({0.5, 0.5, 0.5, 0.5, 0.5, (d + 0.5) / 10.0, 0.5});
        return freshHorse("X", random).path;
    };
    for (int d = 0; d <= 5; ++d)
        EXPECT_EQ(pathFor(d), 0) << d;
    for (int d = 6; d <= 8; ++d)
        EXPECT_EQ(pathFor(d), 1) << d;
    EXPECT_EQ(pathFor(9), 2);
}

TEST_F(ResetDatabaseTest, AFailedRewriteLeavesTheWholeStableAsItWas) {
    const auto before = snapshot();
    std::filesystem::create_directory(dir / "horses.dat.new");
    prompter.answer(true);
    EXPECT_FALSE(resetDatabase(day));
    EXPECT_EQ(snapshot(), before);
    ASSERT_EQ(prompter.shown().size(), 2u);
    EXPECT_EQ(prompter.shown()[1].text.rfind("Cannot write horses.dat", 0), 0u) << prompter.shown()[1].text;
}

} // namespace
