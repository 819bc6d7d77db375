// A data file edited by hand, cut short or damaged must never crash the game, index out of range
// or be replaced by an empty file: the day starts (or stops with a message when the stable cannot
// fill the card), a race is played, and what the game writes back reads cleanly.

#include "ReliabilitySupport.h"

#include "core/Constants.h"
#include "core/TextEncoding.h"
#include "players/Players.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <functional>
#include <unistd.h>

using namespace sw;
namespace fs = std::filesystem;

namespace {

using Edit = std::function<std::string(const std::string&)>;

// A folder after a whole day of play: past performances, players, standings and stable records.
const fs::path& playedFolder() {
    static test::TempDir dir;
    static bool made = false;
    if (!made) {
        test::copyBundledData(dir.path());
        test::writeAll(dir / "players.dat", "1,Ann,400\r\n2,Bob,400\r\n3,Cy,400\r\n");
        reliability::playDay(dir.path(), 11, RacesPerDay);
        made = true;
    }
    return dir.path();
}

void copyFolder(const fs::path& from, const fs::path& to) {
    for (const auto& entry : fs::directory_iterator(from))
        if (entry.is_regular_file())
            fs::copy_file(entry.path(), to / entry.path().filename(), fs::copy_options::overwrite_existing);
}

// Applies f to every line (without its line end) and joins the results with CR LF.
Edit eachLine(std::function<std::string(std::string_view, int)> f) {
    return [f](const std::string& content) {
        std::string out;
        int index = 0;
        for (std::string_view line : splitLines(content))
            out += f(line, index++) + "\r\n";
        return out;
    };
}

// Replaces field n (0-based) of every line by text.
Edit setField(std::size_t n, std::string text) {
    return eachLine([n, text](std::string_view line, int) {
        std::string out;
        std::size_t field = 0;
        std::size_t start = 0;
        while (true) {
            std::size_t comma = line.find(',', start);
            std::string_view value =
                line.substr(start, comma == std::string_view::npos ? line.npos : comma - start);
            if (field > 0)
                out += ',';
            out += field == n ? std::string(text) : std::string(value);
            ++field;
            if (comma == std::string_view::npos)
                return out;
            start = comma + 1;
        }
    });
}

struct HandEdit {
    std::string name;
    std::string file;
    Edit edit;
    bool mayStopDay = false; // the stable may be unable to fill the card
    bool cleanAfter = true;  // the file reads cleanly once the day has rewritten it
};

std::ostream& operator<<(std::ostream& os, const HandEdit& e) {
    return os << e.name;
}

const std::string Junk = "\xff\xfe\x80 bad \xc3\x28,\x00\x01\x7f";

std::vector<HandEdit> handEdits() {
    auto cutEvery = [](int n) {
        return eachLine([n](std::string_view line, int i) {
            return std::string(i % n == 0 ? line.substr(0, line.size() / 2) : line);
        });
    };
    auto extraFields = eachLine([](std::string_view line, int) { return std::string(line) + ",extra,99,,"; });
    auto blankLines = eachLine([](std::string_view line, int i) {
        return (i % 3 == 0 ? std::string("\r\n   \r\n\t") + "\r\n" : std::string()) + std::string(line);
    });
    auto withoutFinalLineEnd = [](const std::string& content) {
        std::string out = content;
        while (!out.empty() && (out.back() == '\n' || out.back() == '\r'))
            out.pop_back();
        return out;
    };
    auto lfOnly = [](const std::string& content) {
        std::string out;
        for (char c : content)
            if (c != '\r')
                out += c;
        return out;
    };
    auto crOnly = [](const std::string& content) {
        std::string out;
        for (char c : content)
            if (c != '\n')
                out += c;
        return out;
    };
    auto nonUtf8Names = eachLine([](std::string_view line, int i) {
        return i % 2 ? std::string(line) : std::string("\xff\xfe\xc3(") + std::string(line);
    });
    auto nulBytes = [](const std::string& content) {
        std::string out = content;
        for (std::size_t i = 5; i < out.size(); i += 97)
            out[i] = '\0';
        return out;
    };
    auto repeat = [](int times) {
        return [times](const std::string& content) {
            std::string out;
            for (int i = 0; i < times; ++i)
                out += content;
            return out;
        };
    };
    auto firstLines = [](std::size_t n) {
        return [n](const std::string& content) {
            std::string out;
            std::size_t i = 0;
            for (std::string_view line : splitLines(content))
                if (i++ < n)
                    out += std::string(line) + "\r\n";
            return out;
        };
    };
    auto replaceWith = [](std::string text) { return [text](const std::string&) { return text; }; };

    std::vector<HandEdit> edits = {
        {"HorsesCutShort", "horses.dat", cutEvery(7), true},
        {"HorsesWithExtraFields", "horses.dat", extraFields},
        {"HorsesWithHugeNumbers", "horses.dat", eachLine([](std::string_view line, int) {
             auto name = line.substr(0, line.find(','));
             return std::string(name) + ",M,99999999999,32767,32767,32767,32767,2147483647,1e300,M,M,1e39,"
                                        "40000,-40000,32767,32767,32767,9999,1,2,3,4,32767,True";
         })},
        {"HorsesWithNegativeCounts", "horses.dat", eachLine([](std::string_view line, int) {
             auto name = line.substr(0, line.find(','));
             return std::string(name) +
                    ",M,-5,-3,-2,-1,-9,-100000,-60,M,M,-1,-8,-8,-8,-8,-8,-1,0,0,0,0,-7,False";
         })},
        {"HorsesWithBlankLines", "horses.dat", blankLines},
        {"HorsesWithoutFinalLineEnd", "horses.dat", withoutFinalLineEnd},
        {"HorsesWithLfOnly", "horses.dat", lfOnly},
        {"HorsesWithCrOnly", "horses.dat", crOnly},
        {"HorsesWithNonUtf8Names", "horses.dat", nonUtf8Names},
        {"HorsesWithNulBytes", "horses.dat", nulBytes, true},
        {"HorsesTwiceOver", "horses.dat", repeat(2)},
        {"HorsesTooFew", "horses.dat", firstLines(120)},
        {"HorsesInNoGrade", "horses.dat", setField(1, "Z"), true},
        {"HorsesSpreadOverGrades", "horses.dat", eachLine([](std::string_view line, int i) {
             static const char* grades[] = {"M", "J", "C", "B", "A", "AA", "-", "m"};
             std::string out(line);
             auto comma = out.find(',');
             auto next = out.find(',', comma + 1);
             return out.substr(0, comma + 1) + grades[i % 8] + out.substr(next);
         }),
         true},
        {"JockeysCutShort", "jockeys.dat", cutEvery(3)},
        {"JockeysWithOddSkills", "jockeys.dat", setField(1, "-32768")},
        {"JockeysWithHugeRecords", "jockeys.dat", setField(7, "1e308")},
        {"JockeysTooFew", "jockeys.dat", firstLines(5)},
        {"JockeysWithNonUtf8Names", "jockeys.dat", nonUtf8Names},
        {"SettingsEmpty", "settings.dat", replaceWith(""), false, false},
        {"SettingsNotNumbers", "settings.dat", replaceWith("four hundred,two,x,y,fast\r\n"), false, false},
        {"SettingsHuge", "settings.dat", replaceWith("1e30,1e30,99999999999,-1,1e30\r\n"), false, false},
        {"SettingsNegative", "settings.dat", replaceWith("-400,-2,,,-5\r\n")},
        {"SettingsTrackRecordZero", "settings.dat", replaceWith("400,2,,,0\r\n")},
        {"SettingsWithoutLineEnd", "settings.dat", replaceWith("400,2,,,999")},
        {"SettingsOnLineThree", "settings.dat", replaceWith("\r\n\r\n500,3,,,999\r\n")},
        {"PastLinesOfUnknownHorses", "pastperformances.dat", eachLine([](std::string_view line, int i) {
             static const char* horses[] = {"0", "201", "-5", "99999", "abc", ""};
             std::string out(line);
             return i % 3 ? out : horses[i % 6] + out.substr(out.find(','));
         }),
         false, false},
        {"PastLinesCutShort", "pastperformances.dat", cutEvery(2), false, false},
        {"PastLinesWithHugeFigures", "pastperformances.dat", setField(14, "32767")},
        {"PastLinesWithJunk", "pastperformances.dat",
         [](const std::string& content) {
             return content + Junk + "\r\n" + std::string(100000, 'x') + "\r\n";
         },
         false, false},
        {"PastLinesOfOneHorseMany", "pastperformances.dat",
         eachLine([](std::string_view line, int) { return "7" + std::string(line.substr(line.find(','))); })},
        {"PlayersWithOddNumbers", "players.dat",
         replaceWith(
             "-5,Neg,1\r\n2147483647,Max,1\r\n2147483647,Twin,1\r\n0,Zero,1\r\n99999999999,Over,1\r\n")},
        {"PlayersWithoutBalances", "players.dat", replaceWith("1,Ann\r\n2\r\n,\r\n3,Cy,\r\n")},
        {"PlayersWithNonUtf8Names", "players.dat", replaceWith("1,\xff\xfe\r\n2,Bo\xc3\x28,5\r\n")},
        {"PlayersWithExtraFields", "players.dat", extraFields},
        {"PlayersWithBlankLines", "players.dat", blankLines},
        {"PlayersWithoutFinalLineEnd", "players.dat", withoutFinalLineEnd},
        {"PlayersWithLfOnly", "players.dat", lfOnly},
        {"PlayersMany", "players.dat",
         [](const std::string&) {
             std::string out;
             for (int i = 1; i <= 3000; ++i)
                 out += std::to_string(i) + ",Player " + std::to_string(i) + ",400\r\n";
             return out;
         }},
        {"TopTenWithOddAmounts", "top10players.dat",
         replaceWith("Big,1e300\r\nNeg,-1e300\r\nNone,\r\nText,abc\r\n,5\r\n\xff\xfe,7\r\nHuge,"
                     "99999999999999999999\r\n"),
         false, false},
        {"TopTenLong", "top10players.dat",
         [](const std::string&) {
             std::string out;
             for (int i = 0; i < 5000; ++i)
                 out += "P" + std::to_string(i) + "," + std::to_string(i % 977) + "\r\n";
             return out;
         },
         false, false},
        {"TicketsLeftOver", "tickets.dat",
         replaceWith("2125,1,2,Exacta,1,1/1/2020\r\n2126,1,2,Pick6,7,x\r\n")},
        {"DailyDoublesWithJunk", "dailydoubles.dat",
         replaceWith("2125,9,1,2\r\n2125,1,1,-5\r\nx,1,1,2\r\n2125,1,1,1e300\r\n2125,1\r\n"), false, false},
        {"Pick6sWithJunk", "pick6s.dat", replaceWith("1,1,1,1,1,1,1,2\r\n1,0,0,0,0,0,0,2\r\n" + Junk), false,
         false},
    };
    return edits;
}

class HandEditedFile : public ::testing::TestWithParam<HandEdit> {
protected:
    test::TempDir dir;
};

TEST_P(HandEditedFile, DayStartsPlaysARaceAndWritesCleanFiles) {
    const HandEdit& edit = GetParam();
    copyFolder(playedFolder(), dir.path());
    test::writeAll(dir / edit.file, edit.edit(test::readAll(dir / edit.file)));
    const std::string horses = test::readAll(dir / "horses.dat");

    SeededRandom random(7);
    test::ScriptedPrompter prompter;
    Game game(dir.path(), random, prompter);
    if (!game.startDay()) {
        ASSERT_TRUE(edit.mayStopDay) << "the day did not start";
        EXPECT_FALSE(game.startResult().message.empty());
        EXPECT_TRUE(prompter.sawText(game.startResult().message));
        // A stable that cannot fill the card is left as the player edited it.
        EXPECT_EQ(test::readAll(dir / "horses.dat"), horses);
        return;
    }
    game.toteBoard();
    ASSERT_EQ(game.stage(), Stage::Betting);
    RaceDay& day = game.day();
    if (day.players.entries.empty() || findPlayer(day.players, 1) < 0) {
        ASSERT_TRUE(addPlayer(day, "Tester"));
    }
    selectBettor(day, static_cast<int>(day.players.entries.size()) - 1);
    reliability::playRace(game, {"$2 Win on 1", "$2 WPS on 2", "$1 Exacta Box 123",
                                 "$1 Trifecta Wheel 1 with 23 with All", "$1 Superfecta Straight 1234",
                                 "$1 Quiniela Wheel 12 with 12"});
    EXPECT_EQ(game.stage(), Stage::Betting);
    EXPECT_EQ(day.currentRace, 1);

    std::vector<std::string> problems = reliability::folderProblems(dir.path());
    if (!edit.cleanAfter)
        std::erase_if(problems, [&](const std::string& p) { return p.rfind(edit.file, 0) == 0; });
    EXPECT_TRUE(problems.empty()) << ::testing::PrintToString(problems);
}

INSTANTIATE_TEST_SUITE_P(Files, HandEditedFile, ::testing::ValuesIn(handEdits()),
                         [](const auto& info) { return info.param.name; });

// The stable in memory holds exactly 200 horses and 32 jockeys whatever the files hold.
TEST(HandEditedStable, ExtraRecordsAreIgnoredAndMissingOnesStayEmpty) {
    test::TempDir dir;
    copyFolder(playedFolder(), dir.path());
    std::string horses = test::readAll(dir / "horses.dat");
    test::writeAll(dir / "horses.dat", horses + horses);
    test::writeAll(dir / "jockeys.dat", "Solo,1,0,0,0,0,0,0\r\n");
    SeededRandom random(3);
    test::ScriptedPrompter prompter;
    Game game(dir.path(), random, prompter);
    ASSERT_TRUE(game.startDay());
    EXPECT_EQ(game.day().db.jockeys[1].name, "Solo");
    EXPECT_TRUE(game.day().db.jockeys[2].name.empty());
    game.toteBoard();
    addPlayer(game.day(), "Ann");
    reliability::playRace(game, {"$2 Win on 3"});
    // Rewritten after the race: exactly the table, no more and no fewer records.
    EXPECT_EQ(test::readLines(dir / "horses.dat").size(), static_cast<std::size_t>(HorseCount));
    EXPECT_EQ(test::readLines(dir / "jockeys.dat").size(), static_cast<std::size_t>(JockeyCount));
}

// A 200 MB file (repetitive lines, and a sparse file of NUL bytes, which holds one huge line) is
// read in bounded memory: the start-up trim keeps 15 lines a horse, and a line longer than the
// reader's cap is cut instead of growing without end.
TEST(HandEditedLargeFile, TwoHundredMegabytesOfPastLinesAreTrimmed) {
    test::TempDir dir;
    copyFolder(playedFolder(), dir.path());
    std::string block;
    const std::string lines = test::readAll(dir / "pastperformances.dat");
    for (std::string_view line : splitLines(lines))
        block += std::string(line) + "\r\n";
    ASSERT_FALSE(block.empty());
    {
        std::FILE* f = std::fopen((dir / "pastperformances.dat").c_str(), "wb");
        ASSERT_NE(f, nullptr);
        for (std::size_t written = 0; written < 200u << 20; written += block.size())
            std::fwrite(block.data(), 1, block.size(), f);
        std::fclose(f);
    }
    SeededRandom random(5);
    test::ScriptedPrompter prompter;
    Game game(dir.path(), random, prompter);
    ASSERT_TRUE(game.startDay());
    std::map<int, int> perHorse;
    for (const std::string& line : test::readLines(dir / "pastperformances.dat"))
        ++perHorse[std::stoi(line.substr(0, line.find(',')))];
    for (const auto& [horse, lines] : perHorse) {
        EXPECT_LE(lines, PastPerformanceKeep) << "horse " << horse;
    }
    EXPECT_FALSE(perHorse.empty());
}

TEST(HandEditedLargeFile, SparseFilesOfNulBytesStopNothing) {
    test::TempDir dir;
    copyFolder(playedFolder(), dir.path());
    for (const char* name : {"pastperformances.dat", "players.dat", "top10players.dat", "pick3s.dat"}) {
        int fd = ::open((dir / name).c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(::ftruncate(fd, 200 << 20), 0);
        ::close(fd);
    }
    SeededRandom random(5);
    test::ScriptedPrompter prompter;
    Game game(dir.path(), random, prompter);
    ASSERT_TRUE(game.startDay());
    game.toteBoard();
    addPlayer(game.day(), "Ann");
    reliability::playRace(game, {"$2 Win on 3", "$2 Exacta Box 12"});
    EXPECT_EQ(game.day().currentRace, 1);
    EXPECT_LT(fs::file_size(dir / "pastperformances.dat"), 1u << 20);
}

} // namespace
