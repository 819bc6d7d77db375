#include "core/RaceDay.h"
#include "database/DatabaseFiles.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <map>

using namespace sw;
using sw::test::readAll;
using sw::test::readLines;
using sw::test::writeAll;

namespace {

class TrimTest : public ::testing::Test {
protected:
    // A canonical line of horse h whose race number tells its place in the horse's history.
    static std::string line(int horse, int serial) {
        PastPerformance p;
        p.horse = static_cast<int16_t>(horse);
        p.date = "1/" + std::to_string(serial) + "/2026";
        p.raceNumber = static_cast<int16_t>(serial);
        p.finishPos = 1;
        p.finalTime = 120.5f;
        p.raceGrade = "M";
        p.comment = "Driving-in";
        return pastPerformanceRecord(p);
    }

    void trim() {
        FileChanges changes;
        trimPastPerformances(day, changes);
        ASSERT_FALSE(day.folder.commit(changes));
    }

    std::vector<std::string> trimmed() {
        trim();
        return readLines(dir / "pastperformances.dat");
    }

    test::TempDir dir;
    SeededRandom random{1};
    test::ScriptedPrompter prompter;
    RaceDay day{dir.path(), random, prompter};
};

TEST_F(TrimTest, KeepsEachHorsesFifteenMostRecentLinesInFileOrder) {
    // Horses 1 (18 lines), 2 (16), 3 (15) and 4 (2), interleaved as a season would write them.
    const std::map<int, int> lineCounts = {{1, 18}, {2, 16}, {3, 15}, {4, 2}};
    std::vector<std::pair<int, int>> written;
    std::string content;
    for (int serial = 1; serial <= 18; ++serial)
        for (auto [horse, count] : lineCounts)
            if (serial <= count) {
                content += line(horse, serial);
                written.emplace_back(horse, serial);
            }
    writeAll(dir / "pastperformances.dat", content);

    std::string expected;
    for (auto [horse, serial] : written)
        if (serial > lineCounts.at(horse) - 15)
            expected += line(horse, serial);
    trim();
    EXPECT_EQ(readAll(dir / "pastperformances.dat"), expected);
    EXPECT_TRUE(prompter.shown().empty());

    std::map<int, int> kept;
    for (const auto& text : readLines(dir / "pastperformances.dat"))
        ++kept[parsePastPerformance(text).horse];
    EXPECT_EQ(kept[1], 15);
    EXPECT_EQ(kept[2], 15);
    EXPECT_EQ(kept[3], 15);
    EXPECT_EQ(kept[4], 2);
    EXPECT_EQ(parsePastPerformance(readLines(dir / "pastperformances.dat").front()).raceNumber, 1)
        << "horse 3's and 4's first lines stay at the top";
}

TEST_F(TrimTest, LeavesTheScratchCopyBehind) {
    std::string content;
    for (int serial = 1; serial <= 17; ++serial)
        content += line(9, serial);
    writeAll(dir / "pastperformances.dat", content);
    trim();
    EXPECT_EQ(readAll(dir / "pastperformances.tmp"), readAll(dir / "pastperformances.dat"));
    EXPECT_EQ(readLines(dir / "pastperformances.dat").size(), 15u);
}

TEST_F(TrimTest, ReEncodesHandEditedLines) {
    writeAll(dir / "pastperformances.dat",
             " 007, 2/3/2026 ,0,4,550,F,121.50,66,3,02,2,1,1,nk,1,,121.500,3.0,M,Held on-in,8\n"
             "7,2/4/2026,0,5,550,F,120,66,3,2,2,1,1,nk,1,,120,3,M,Won,8\r");
    trim();
    EXPECT_EQ(readAll(dir / "pastperformances.dat"),
              "7,2/3/2026 ,0,4,550,F,121.5,66,3,2,2,1,1,nk,1,,121.5,3,M,Held on-in,8\r\n"
              "7,2/4/2026,0,5,550,F,120,66,3,2,2,1,1,nk,1,,120,3,M,Won,8\r\n");
}

TEST_F(TrimTest, LinesOfNoKnownHorseAreKeptAsTheyStand) {
    std::string content;
    const std::vector<std::string> strays = {"0,odd line", "201,1/1/2026,0,1", "-3,  x", "abc,def",
                                             "99999,1/1/2026"};
    for (int serial = 1; serial <= 17; ++serial) {
        content += line(200, serial);
        content += strays[static_cast<std::size_t>(serial) % strays.size()] + "\r\n";
    }
    writeAll(dir / "pastperformances.dat", content);
    auto lines = trimmed();

    int kept200 = 0;
    std::vector<std::string> strayLines;
    for (const auto& text : lines) {
        if (text.rfind("200,", 0) == 0)
            ++kept200;
        else
            strayLines.push_back(text);
    }
    EXPECT_EQ(kept200, 15);
    ASSERT_EQ(strayLines.size(), 17u) << "no stray line is dropped, however many there are";
    for (int serial = 1; serial <= 17; ++serial)
        EXPECT_EQ(strayLines[static_cast<std::size_t>(serial) - 1],
                  strays[static_cast<std::size_t>(serial) % strays.size()]);
}

TEST_F(TrimTest, DropsBlankLines) {
    writeAll(dir / "pastperformances.dat", "\r\n" + line(5, 1) + "   \r\n\r\n" + line(5, 2));
    EXPECT_EQ(trimmed().size(), 2u);
}

TEST_F(TrimTest, MissingFileShowsItsMessageAndCreatesNothing) {
    trim();
    ASSERT_EQ(prompter.shown().size(), 1u);
    EXPECT_EQ(prompter.shown()[0].text, "Error reading pastperformances.dat");
    EXPECT_EQ(prompter.shown()[0].title, "Stridewell - Horse Racing Message");
    EXPECT_FALSE(std::filesystem::exists(dir / "pastperformances.dat"));
}

TEST_F(TrimTest, UnwritableScratchCopyLeavesTheFileAlone) {
    std::string content;
    for (int serial = 1; serial <= 20; ++serial)
        content += line(1, serial);
    writeAll(dir / "pastperformances.dat", content);
    // A stale scratch copy that must not be copied back, behind a blocked rewrite.
    writeAll(dir / "pastperformances.tmp", line(2, 1));
    std::filesystem::create_directory(dir / "pastperformances.tmp.new");
    FileChanges changes;
    trimPastPerformances(day, changes);
    EXPECT_TRUE(day.folder.commit(changes));
    EXPECT_EQ(readAll(dir / "pastperformances.dat"), content);
}

TEST_F(TrimTest, EmptyFileStaysEmpty) {
    writeAll(dir / "pastperformances.dat", "");
    EXPECT_TRUE(trimmed().empty());
    EXPECT_TRUE(prompter.shown().empty());
}

} // namespace
