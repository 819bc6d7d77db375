// The racing program: its fixed-column texts; each race shown with its entries, records and past
// lines, the entry tables and public pools prepared for it, the loading pass, leaving and printing.

#include "program/RacingProgram.h"
#include "program/PrintFile.h"
#include "program/PrintProgram.h"
#include "program/ProgramLines.h"

#include "core/RaceDay.h"
#include "database/DatabaseFiles.h"
#include "support/TestSupport.h"
#include "tote/PoolFiles.h"
#include "tote/Tote.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <sstream>

using namespace sw;
using test::readLines;
using Texts = std::vector<std::string>;

namespace {

TEST(ProgramLines, PastLinesKeepTheirColumns) {
    PastPerformance line =
        parsePastPerformance("12,d,0,1,550,F,0,0,3,2,1,hd,1,\u00BD,1,1,118.3,4.5,AA,Drew clear-in");
    EXPECT_EQ(pastPerformanceText(line), "3  2 1-hd 1-\u00BD  1-1   1:58.30 6K   4.5 Drew clear-in");
    EXPECT_EQ(pastPerformanceCells(line), (PastLineCells{"3", "2", "1", "hd", "1", "\u00BD", "1", "1",
                                                         "1:58.30", "6K", "4.5", "Drew clear-in"}));
    line = parsePastPerformance("12,d,0,1,550,F,0,0,3,2,1,,1,12,1,3\u00BC,27.35,12,M,");
    EXPECT_EQ(pastPerformanceText(line), "3  2 1-   1-12 1-3\u00BC  0:27.35 1K  12.0 ");
    EXPECT_EQ((Texts{pastPurseText("M"), pastPurseText("AA"), pastPurseText("Q")}), (Texts{"1K", "6K", ""}));
}

TEST(ProgramLines, JockeysStandByEarnings) {
    std::array<Jockey, JockeyCount + 1> jockeys{};
    jockeys[1] = {"Tobin Harrow", 2, 120, 31, 25, 18, 9, 61234.5};
    jockeys[3] = {"Big", 0, 1, 1, 0, 0, 0, 1e20}; // a hand-edited figure does not break the line
    Texts lines = jockeyStandings(jockeys);
    ASSERT_EQ(lines.size(), static_cast<std::size_t>(JockeyCount));
    EXPECT_EQ(Texts(lines.begin(), lines.begin() + 2),
              (Texts{"Big               1     1    0    0    0   $100000000000000000000",
                     "Tobin Harrow    120    31   25   18    9   $  61234"}));
    EXPECT_EQ(jockeyStandingCells(jockeys)[1],
              (StandingCells{"Tobin Harrow", "120", "31", "25", "18", "9", "$61234"}));
}

TEST(ProgramLines, TrackRecordIsATimeAndItsHoldersAreNamed) {
    EXPECT_EQ(trackRecordText(121.3f), "2:01.30"); // "none yet" is the race shown's
    Database db;
    for (int n = 1; n <= HorseCount; ++n) {
        db.horses[n].name = "H" + std::to_string(n);
        db.horses[n].bestTime = 999;
    }
    db.horses[17].bestTime = db.horses[140].bestTime = 27.35f;
    db.horses[141].bestTime = 27.36f;
    db.settings.trackRecord = 27.35f;
    EXPECT_EQ(trackRecordHolders(db), (Texts{"H17", "H140"}));
    db.settings.trackRecord = 999;
    EXPECT_TRUE(trackRecordHolders(db).empty()) << "horses that never ran hold no record";
    db.settings.trackRecord = 0;
    db.horses[5].bestTime = 0;
    EXPECT_TRUE(trackRecordHolders(db).empty()) << "a missing settings file holds no record";
}

// The values joined by commas: one record of a data file.
template <typename... T> std::string record(const T&... values) {
    std::ostringstream out;
    ((out << values << ','), ...);
    return out.str().substr(0, out.str().size() - 1) + "\r\n";
}

// A small made-up day: horse n is "Horse n", race r runs horses 8r+1..8r+8 with jockeys cycling
// through the 32, jockey n is "Jockey n" of skill n % 3, and jockeys.dat is on disk.
struct ProgramDay : test::DayOnDisk<> {
    ProgramDay() : DayOnDisk(7) {
        for (int n = 1; n <= HorseCount; ++n)
            parseHorse(record("Horse " + std::to_string(n), "M", n % 7, n % 3, 0, 0, 0, 250 * (n % 7), 0, "",
                              "", 999, 4 + n % 5, 4 + (n + 1) % 5, 4 + (n + 2) % 5, 4 + (n + 3) % 5,
                              4 + (n + 4) % 5, n % 3),
                       day.db.horses[n]);
        std::string jockeys;
        for (int n = 1; n <= JockeyCount; ++n)
            jockeys += record("Jockey " + std::to_string(n), n % 3, n, 0, 0, 0, 0, 100 * n);
        test::writeAll(dir / "jockeys.dat", jockeys);
        parseJockeys(jockeys, day.db.jockeys);
        for (int r = 0; r < RacesPerDay; ++r) {
            day.card.raceGrade[r] = static_cast<int16_t>(r % 6 + 1);
            for (int h = 0; h < FieldSize; ++h) {
                day.card.raceHorse[r][h] = 8 * r + h + 1;
                day.card.raceJockey[r][h] = static_cast<int16_t>((8 * r + h) % 32 + 1);
            }
        }
        day.db.settings.trackRecord = 999;
    }

    // Appends n past-performance lines of the horse, numbered through their comment.
    void addPastLines(int horse, int n, std::string grade = "C", int finishPos = 3) {
        std::string text = test::readAll(dir / "pastperformances.dat");
        for (int i = 1; i <= n; ++i)
            text += record(horse, "5/12/2026", 0, 1, 550, "F", 0, 0, 2, 4, 3, 1, 2, "nk", finishPos, 2, 118.3,
                           6.5, grade, "line " + std::to_string(i), 8);
        test::writeAll(dir / "pastperformances.dat", text);
    }
};

// Every table of the pools, to compare two days' pools whole.
auto tables(const Pools& p) {
    return std::tie(p.win, p.place, p.show, p.quiniela, p.exacta, p.trifecta, p.superfecta, p.winTotal,
                    p.placeTotal, p.showTotal, p.quinielaTotal, p.exactaTotal, p.trifectaTotal,
                    p.superfectaTotal, p.winOdds, p.quinielaOdds, p.exactaOdds, p.oddsByRace,
                    p.consistencyBand, p.ticketCounter);
}

auto tables(const EntryTables& e) {
    return std::tie(e.name, e.starts, e.firsts, e.seconds, e.thirds, e.fourths, e.earnings, e.segmentRating,
                    e.path, e.formValue, e.bestTime, e.spareFlag);
}

struct RacingProgram : ::testing::Test, ProgramDay {};

TEST_F(RacingProgram, ShowsTheRaceAndFillsTheEntryTablesTheRaceReads) {
    parseHorse("Horse 17,M,4,2,1,0,1,1500,0,M,M,117.5,8,7,6,5,4,2,0,0,0,0,3,True", day.db.horses[17]);
    day.card.raceHorse[2][4] = 0; // hand-edited slots outside the stable show empty entries
    day.card.raceHorse[2][5] = 201;
    day.card.raceJockey[2][4] = 33;
    day.entries.segmentRating[0][7] = 55; // a carried column, not the horse's
    const ProgramView view = showRace(day, 3, false);
    EXPECT_EQ(std::tie(view.race, view.raceNumber, view.purse, view.distance, view.trackRecord),
              std::tuple(3, "3", "$3000", "1 1/4 Miles", "none yet"));
    const ProgramEntryView& first = view.entries[0]; // horse 17, jockey 17
    EXPECT_EQ((Texts{first.horseName, first.jockey, first.jockeyRecord.substr(0, 2), first.starts,
                     first.firsts, first.seconds, first.thirds, first.fourths, first.earnings}),
              (Texts{"Horse 17", "Jockey 17 (V)", "17", "4", "2", "1", "0", "1", "$1500"}));
    EXPECT_EQ(view.entries[4].horseName + view.entries[4].jockey + view.entries[5].horseName, " (A)");

    const EntryTables& e = day.entries; // what the race reads of horse 17 from post 1
    EXPECT_EQ(std::tie(e.name[0], e.starts[0], e.firsts[0], e.seconds[0], e.thirds[0], e.fourths[0],
                       e.earnings[0], e.path[0], e.formValue[0], e.bestTime[0], e.spareFlag[0]),
              std::tuple("Horse 17", 4, 2, 1, 0, 1, 1500, 2, 3, 117.5f, true));
    EXPECT_EQ(e.segmentRating[0], (std::array<int32_t, 10>{8, 7, 6, 5, 4, 0, 0, 55, 0, 0}));
    EXPECT_EQ(e.name[1] + "," + e.name[4] + "," + e.name[5], "Horse 18,,");
    EXPECT_EQ(e.earnings[4] + e.starts[5] + e.segmentRating[5][0], 0);

    // A race outside the day shows nothing and changes nothing.
    EXPECT_EQ(showRace(day, 0, false).race + showRace(day, 13, false).race, 0);
    EXPECT_EQ(day.entries.name[0], "Horse 17");
    EXPECT_FALSE(std::filesystem::exists(dir / "wins.dat"));
    day.db.settings.trackRecord = 117.5f; // horse 17's best
    EXPECT_EQ(showRace(day, 3, false).trackRecordHolders, Texts{"Horse 17"});

    // The standings are read from the jockeys file each time; a missing file leaves them, unsaid.
    std::string jockeys = "Ada Quill,2,0,0,0,0,0,99999\r\n";
    for (int n = 2; n <= JockeyCount; ++n)
        jockeys += jockeyRecord(day.db.jockeys[n]);
    test::writeAll(dir / "jockeys.dat", jockeys);
    EXPECT_EQ(showRace(day, 1, true).jockeyStandings.front().substr(0, 10), "Ada Quill ");
    std::filesystem::remove(dir / "jockeys.dat");
    EXPECT_EQ(showRace(day, 2, false).entries[0].jockey + std::to_string(prompter.shown().size()),
              "Jockey 9 (A)0");
}

TEST_F(RacingProgram, PastLinesAreListedInFileOrderAndRaiseTheWinMoney) {
    showRace(day, 1, true);
    const int32_t without = day.pools.win[0];
    addPastLines(17, 2, "AA");
    addPastLines(99, 3);
    addPastLines(18, 20);
    addPastLines(17, 1, "M");
    // A blank before a line's first field, as a hand edit may leave, still names its horse.
    test::writeAll(dir / "pastperformances.dat", " " + test::readAll(dir / "pastperformances.dat"));
    const ProgramView view = showRace(day, 3, false);
    EXPECT_EQ(view.entries[0].pastLines, (Texts{"2  4 3-1  2-nk 3-2   1:58.30 6K   6.5 line 1",
                                                "2  4 3-1  2-nk 3-2   1:58.30 6K   6.5 line 2",
                                                "2  4 3-1  2-nk 3-2   1:58.30 1K   6.5 line 1"}));
    EXPECT_EQ(view.entries[1].pastLines.size(), 20u) << "every line is shown, not only the rated ones";
    EXPECT_TRUE(view.entries[2].pastLines.empty());
    addPastLines(1, 20, "B", 5); // 25 points each, 15 counted
    showRace(day, 1, true);
    EXPECT_EQ(day.pools.win[0], without + 15 * 25);
}

TEST_F(RacingProgram, TheRaceShownNamesTheMultiRaceBetOrItsLegAndOffersIt) {
    for (int race = 1; race <= RacesPerDay; ++race) {
        SCOPED_TRACE(race);
        EXPECT_EQ(showRace(day, race, true).betsOffered, betsOfferedText(race));
        EXPECT_EQ(
            std::tuple(day.dailyDoubleOffered, day.pick3Offered, day.pick6Offered, day.exchangeBetsOffered),
            std::tuple(race == 2, race == 4, race == 7, race < RacesPerDay));
    }
    EXPECT_EQ(betsOfferedText(12),
              "Win Place Show Quiniela Exacta Trifecta Superfecta 6th Leg of Pick 6 Betting");
}

TEST_F(RacingProgram, FirstOpeningLoadsEveryRaceThenOpensRaceOne) {
    std::vector<int> progress;
    ProgramView view = openRacingProgram(day, [&](int percent) { progress.push_back(percent); });
    // The twelve races prepared are 12 of the bar's 21 steps; opening race 1 takes it to the end.
    EXPECT_TRUE(std::ranges::is_sorted(progress) && progress.size() > 12 && progress[11] == 57 &&
                progress.back() == 100);
    EXPECT_EQ(std::tuple(day.loadingPassDone, view.race, day.card.racePoolsOpened[0],
                         day.card.racePoolsOpened[1], readLines(dir / "wins.dat").front().substr(0, 4)),
              std::tuple(true, 1, true, false, "1,1,"));

    // Opening it again neither loads nor rewrites anything.
    const auto files = test::folderContents(dir.path());
    progress.clear();
    openRacingProgram(day, [&](int percent) { progress.push_back(percent); });
    EXPECT_TRUE(progress.empty());
    EXPECT_EQ(test::folderContents(dir.path()), files);

    // The next race opens its own pools, its public lines numbered from 1 again.
    appendPoolLines(day, PoolFile::Wins, "2125,1,50\r\n");
    day.pools.ticketCounter = 2125;
    day.currentRace = 1;
    view = openRacingProgram(day);
    EXPECT_EQ(std::tuple(view.race, day.card.racePoolsOpened[1], day.pools.ticketCounter,
                         readLines(dir / "wins.dat").size(), day.entries.name[0]),
              std::tuple(2, true, 2124, 8u, "Horse 9"));
}

// Browsing and printing show other races, but never write the pool files, and leave the day
// holding the race about to be run with every paid ticket in its pools.
TEST_F(RacingProgram, LeavingOrPrintingRestoresTheRaceAboutToBeRun) {
    openRacingProgram(day);
    // A player's $10 quiniela on 5 and 2, paid as the ticket writer does it.
    day.pools.ticketCounter += 1;
    const int16_t pair[] = {2, 5}, post[] = {5};
    appendPoolLines(day, PoolFile::Quinielas, poolLineText(day.pools.ticketCounter, pair, 10));
    appendPoolLines(day, PoolFile::Wins, poolLineText(day.pools.ticketCounter, post, 10));
    toteRefresh(day);
    const Pools paid = day.pools;
    const EntryTables entries = day.entries;
    const auto files = test::folderContents(dir.path());
    const auto restored = [&] {
        return tables(day.pools) == tables(paid) && tables(day.entries) == tables(entries);
    };

    showRace(day, 5, false);
    EXPECT_NE(day.pools.win, paid.win);
    EXPECT_EQ(day.entries.name[0], "Horse 33");
    leaveRacingProgram(day);
    EXPECT_TRUE(restored());
    EXPECT_FALSE(day.dailyDoubleOffered);

    const std::vector<PrintPage> pages = programPages(day, 10, 40);
    ASSERT_EQ(pages.size(), 3u);
    EXPECT_EQ(pages[2].race, 12);
    EXPECT_TRUE(restored());
    EXPECT_EQ(test::folderContents(dir.path()), files);
    day.currentRace = 11;
    leaveRacingProgram(day);
    EXPECT_EQ(day.entries.name[0], "Horse 89") << "the last race is prepared too";
}

TEST_F(RacingProgram, APoolFileThatCannotBeWrittenIsReportedAndRetried) {
    std::filesystem::create_directory(dir / "wins.dat.new"); // the atomic write cannot create its file
    const ProgramView view = openRacingProgram(day);
    EXPECT_EQ(view.race, 1);
    ASSERT_FALSE(prompter.shown().empty());
    EXPECT_NE(prompter.shown().front().text.find("wins.dat"), std::string::npos);
    EXPECT_FALSE(day.card.racePoolsOpened[0]);
    EXPECT_GT(day.pools.winTotal, 0) << "the generated pools stand instead of stale files";

    std::filesystem::remove(dir / "wins.dat.new");
    leaveRacingProgram(day);
    EXPECT_TRUE(day.card.racePoolsOpened[0]);
    EXPECT_EQ(readLines(dir / "wins.dat").size(), 8u);
}

TEST_F(RacingProgram, APrintedPageHasElevenLinesPerEntry) {
    addPastLines(17, 12); // race 3, post 1: nine of its past lines print
    const ProgramView view = showRace(day, 3, false);
    Texts printed;
    for (const auto& line : programPage(view).lines)
        printed.push_back(line.text);
    // Three heading lines (the race with its purse and real distance), then each entry's figures,
    // nine past lines and a blank line.
    ASSERT_EQ(printed.size(), 3u + 8 * 11);
    EXPECT_EQ(printed[0], "Race 3   Purse " + view.purse + "   1 1/4 Miles");
    EXPECT_EQ((Texts{printed[3], printed[12], printed[13], printed[14]}),
              (Texts{"1 Horse 17            Jockey 17 (V)                 Starts: 3 2 0 0 0 $750",
                     view.entries[0].pastLines[8], "",
                     "2 Horse 18            Jockey 18 (A)                 Starts: 4 0 0 0 0 $1000"}));
}

// A printed program saved as a file never lands in the data folder, whatever name leads there,
// never replaces a file without a Yes, and never replaces anything but a plain file.
TEST(PrintFile, SavesOutsideTheDataFolderAndAsksBeforeReplacing) {
    test::TempDir root;
    const std::filesystem::path data = root / "data", out = root / "out";
    std::filesystem::create_directories(data);
    std::filesystem::create_directories(out);
    test::writeAll(data / "horses.dat", "stable");
    test::writeAll(out / "old.txt", "old");
    std::filesystem::create_symlink(data / "horses.dat", out / "to-horses");
    std::filesystem::create_directory_symlink(data, out / "to-data");
    std::filesystem::create_symlink(out / "nowhere", out / "dangling");
    const struct {
        const char* name;  // under out unless absolute
        int answer;        // to the question whether to replace; -1: none may be asked
        const char* saved; // the file's content afterwards; nullptr: refused with a problem
    } cases[] = {
        {"new.txt", -1, "printed"},          {"old.txt", 0, "old"},
        {"old.txt", 1, "printed"},           {"../data/horses.dat", -1, nullptr},
        {"../data/new.txt", -1, nullptr},    {"to-horses", -1, nullptr},
        {"to-data/horses.dat", -1, nullptr}, {"to-data/../data/pick6s.dat", -1, nullptr},
        {"dangling", -1, nullptr},           {".", -1, nullptr},
        {"/dev/null", -1, nullptr},          {"missing/new.txt", -1, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        test::writeAll(out / "old.txt", "old");
        test::ScriptedPrompter prompter;
        if (c.answer >= 0)
            prompter.answer(c.answer == 1);
        const std::filesystem::path name = c.name[0] == '/' ? std::filesystem::path(c.name) : out / c.name;
        const PrintSaved saved = savePrintFile(data, name, "printed", prompter);
        EXPECT_EQ(prompter.shown().size(), c.answer >= 0 ? 1u : 0u);
        EXPECT_EQ(test::folderContents(data), (std::map<std::string, std::string>{{"horses.dat", "stable"}}));
        EXPECT_EQ(saved.problem.empty(), c.saved != nullptr) << saved.problem;
        EXPECT_EQ(saved.saved, c.saved && std::string(c.saved) == "printed");
        if (c.saved) {
            EXPECT_EQ(test::readAll(name), c.saved);
        }
    }
    std::set<std::string> left;
    for (const auto& entry : std::filesystem::directory_iterator(out))
        left.insert(entry.path().filename().string());
    EXPECT_EQ(left, (std::set<std::string>{"dangling", "new.txt", "old.txt", "to-data", "to-horses"}))
        << "links are kept and no scratch file is left";
}

// A printer writing its own file replaces the old one only when it succeeded, and a link planted
// at the scratch name is never written through.
TEST(PrintFile, APrinterWritesThroughAScratchFile) {
    for (const bool printed : {true, false}) {
        SCOPED_TRACE(printed);
        test::TempDir out;
        test::writeAll(out / "program.pdf", "old");
        test::writeAll(out / "elsewhere", "kept");
        std::filesystem::create_symlink(out / "elsewhere", out / "program.pdf.new");
        const FileError error =
            writeThroughScratch(out / "program.pdf", [&](const std::filesystem::path& scratch) {
                test::writeAll(scratch, "new");
                return printed;
            });
        EXPECT_EQ(!error, printed) << error.message;
        EXPECT_EQ(test::folderContents(out.path()),
                  (std::map<std::string, std::string>{{"elsewhere", "kept"},
                                                      {"program.pdf", printed ? "new" : "old"}}));
    }
}

TEST_F(RacingProgram, ThePrintedProgramSaysWhichRacesItHoldsAndNumbersItsSheets) {
    const std::vector<PrintPage> pages = programPages(day, 3, 5);
    // 41 lines a sheet, one of them the footer's: three entries of eleven lines under a race's
    // three heading lines fill a sheet, so each race takes three sheets (3, 3 and 2 entries).
    const PrintSheet sheet{1000, 12 * 41, 0.6, 1.0};
    const PrintLayout layout = layoutProgram(pages, sheet);
    ASSERT_EQ(layout.sheets.size(), 1u + 3 * 3);
    Texts contents;
    for (const PrintLine& line : layout.sheets[0])
        contents.push_back(line.text);
    EXPECT_EQ(contents, (Texts{"Racing Program: races 3 to 5", "", pages[0].lines[0].text,
                               pages[1].lines[0].text, pages[2].lines[0].text}));
    ASSERT_EQ(layout.footers.size(), layout.sheets.size());
    EXPECT_EQ(layout.footers.front() + ", " + layout.footers.back(), "Page 1 of 10, Page 10 of 10");
    for (std::size_t n = 1; n < layout.sheets.size(); ++n) {
        EXPECT_LE(layout.sheets[n].size(), 40u) << "sheet " << n << " runs into its footer";
        EXPECT_EQ(layout.sheets[n][0].text, pages[(n - 1) / 3].lines[0].text) << "sheet " << n;
    }
    EXPECT_EQ(layoutProgram({pages[1]}, sheet).sheets[0][0].text, "Racing Program: race 4");
    EXPECT_TRUE(layoutProgram({}, sheet).sheets.empty());
}

// The loading pass and leaving prepare races without showing them; what they leave in the day
// must be exactly what showing those races would have left.
struct TwoDays : ::testing::Test {
    ProgramDay shown, prepared;

    void SetUp() override {
        for (ProgramDay* d : {&shown, &prepared}) {
            // Horses of races 1, 2 and 12, a horse no race runs, and a hand-edited line of a
            // horse outside the stable that a hand-edited card slot also names.
            d->addPastLines(1, 20, "B", 2);
            d->addPastLines(9, 3, "AA", 7);
            d->addPastLines(150, 4);
            d->addPastLines(96, 2, "J", 1);
            d->addPastLines(250, 2, "A", 1);
            d->addPastLines(1, 2, "M", 8);
            d->day.card.raceHorse[4][2] = 250;
            d->day.card.raceHorse[5][6] = 0;
        }
    }

    void expectSameDays() {
        const RaceDay& a = shown.day;
        const RaceDay& b = prepared.day;
        EXPECT_TRUE(tables(a.pools) == tables(b.pools) && tables(a.entries) == tables(b.entries));
        EXPECT_EQ(a.card.racePoolsOpened, b.card.racePoolsOpened);
        EXPECT_EQ(std::tie(a.dailyDoubleOffered, a.pick3Offered, a.pick6Offered),
                  std::tie(b.dailyDoubleOffered, b.pick3Offered, b.pick6Offered));
        EXPECT_EQ(test::folderContents(shown.dir.path()), test::folderContents(prepared.dir.path()));
        EXPECT_EQ(shown.random.uniform(), prepared.random.uniform()) << "the same draws were taken";
    }
};

TEST_F(TwoDays, TheLoadingPassAndLeavingLeaveWhatShowingTheRacesLeaves) {
    for (int race = 1; race <= RacesPerDay; ++race)
        showRace(shown.day, race, true);
    const ProgramView expected = showRaceAboutToBeRun(shown.day);
    const ProgramView view = openRacingProgram(prepared.day);
    expectSameDays();
    EXPECT_EQ(view.entries[0].pastLines, expected.entries[0].pastLines);
    EXPECT_EQ(view.entries[0].pastLines.size(), 22u);

    // Leaving leaves what showing the race about to be run leaves.
    for (ProgramDay* d : {&shown, &prepared}) {
        d->day.currentRace = 4; // the race with the hand-edited slot
        showRace(d->day, 9, false);
        appendPoolLines(d->day, PoolFile::Wins, "2125,3,40\r\n");
    }
    showRaceAboutToBeRun(shown.day);
    leaveRacingProgram(prepared.day);
    expectSameDays();
    EXPECT_EQ(prepared.day.entries.name[2], "");
    // A hand-edited slot shows the lines of the horse it names; slot 0 names none.
    EXPECT_EQ(showRace(shown.day, 5, true).entries[2].pastLines.size(), 2u);
    EXPECT_TRUE(showRace(shown.day, 6, true).entries[6].pastLines.empty());
}

} // namespace
