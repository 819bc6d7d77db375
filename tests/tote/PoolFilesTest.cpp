#include "tote/PoolFiles.h"
#include "tote/Tote.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstring>
#include <iomanip>
#include <iterator>
#include <random>
#include <sstream>
#include <string>

using namespace sw;
using sw::test::ListRandom;
using sw::test::ScriptedPrompter;
using sw::test::TempDir;

namespace {

struct PoolFixture : ::testing::Test {
    TempDir dir;
    ListRandom random{{0.5}};
    ScriptedPrompter prompter;
    RaceDay day{dir.path(), random, prompter};

    void write(PoolFile file, std::string_view content) { test::writeAll(dir / poolFileName(file), content); }
};

void expectOdds(const std::vector<float>& actual, const std::vector<float>& expected) {
    ASSERT_EQ(actual.size(), expected.size());
    for (std::size_t i = 0; i < actual.size(); ++i)
        EXPECT_FLOAT_EQ(actual[i], expected[i]) << "odds " << i;
}

// A line as read: "ticket posts amount", or "-" when it is refused.
std::string read(std::string_view text, PoolFile file) {
    auto line = parsePoolLine(text, file);
    if (!line)
        return "-";
    std::ostringstream out;
    out << std::setprecision(15) << line->ticket << " ";
    for (int i = 0; i < line->count; ++i)
        out << (i ? "-" : "") << line->horses[static_cast<std::size_t>(i)];
    out << " " << line->amount;
    return out.str();
}

TEST(PoolLine, IsWrittenAsTicketPostsAndAmountAndReadBackOnlyWhenWellFormed) {
    const int16_t posts[] = {3, 1, 4};
    EXPECT_EQ(poolLineText(57, posts, 2), "57,3,1,4,2\r\n");
    EXPECT_EQ(poolLineText(2124, std::span(posts, 1), 0), "2124,3,0\r\n");
    struct Case {
        const char* text;
        PoolFile file;
        const char* read;
    } cases[] = {
        {"57,2,5,10", PoolFile::Quinielas, "57 2-5 10"},
        {" 8, 3, 7.5", PoolFile::Wins, "8 3 7.5"},      // amounts are read as numbers
        {"9,3,3,2", PoolFile::DailyDoubles, "9 3-3 2"}, // legs of different races may repeat a post
        {"9,1,1,1,1,1,1,2", PoolFile::Pick6s, "9 1-1-1-1-1-1 2"},
        {"1,3,3,2", PoolFile::Exactas, "-"}, // a horse cannot finish twice
        {"1,1,2,1,2", PoolFile::Trifectas, "-"},
        {"1,1,2,3,4,5,6,7,2", PoolFile::Pick6s, "-"}, // more fields than a pick 6 line
    };
    for (const Case& c : cases)
        EXPECT_EQ(read(c.text, c.file), c.read) << c.text;
    for (const char* text : {"", "1,9,2", "1,0,2", "1,-3,2", "1,x,2", "x,1,2", "1,2", "1,2,3,4", "1,2,abc",
                             "1,,2", "5000000000,1,2"})
        EXPECT_EQ(read(text, PoolFile::Wins), "-") << text;
}

// Lines as the game writes them take a quicker reading than padded or hand-edited ones; both
// readings must agree on every line, whatever it holds.
TEST(PoolLine, PlainLinesReadAsTheirPaddedCopies) {
    std::mt19937 pick(31);
    const PoolFile files[] = {PoolFile::Wins,      PoolFile::Quinielas,   PoolFile::Exactas,
                              PoolFile::Trifectas, PoolFile::Superfectas, PoolFile::DailyDoubles,
                              PoolFile::Pick3s,    PoolFile::Pick6s};
    const std::string numbers[] = {"0",          "1",          "2",          "5",         "8",
                                   "9",          "10",         "2124",       "999999999", "1000000000",
                                   "2147483647", "2147483648", "00000000001"};
    int readable = 0;
    for (int n = 0; n < 20000; ++n) {
        const PoolFile file = files[pick() % std::size(files)];
        const int fields = poolFileHorses(file) + 1 + static_cast<int>(pick() % 3); // one short .. one over
        std::string plain, padded;
        for (int f = 0; f < fields; ++f) {
            const std::string& number =
                pick() % 4 == 0 ? numbers[pick() % std::size(numbers)] : std::to_string(1 + pick() % 8);
            plain += (f ? "," : "") + number;
            padded += (f ? ", " : " ") + number;
        }
        const std::string quick = read(plain, file);
        ASSERT_EQ(quick, read(padded, file)) << plain;
        readable += quick != "-";
    }
    EXPECT_GT(readable, 1000) << "enough lines were readable to compare";
}

TEST_F(PoolFixture, AppendedLinesAreReadBackInOrderAndAClearedFileStaysEmpty) {
    const int16_t a[] = {1, 2};
    const int16_t b[] = {4, 4};
    ASSERT_FALSE(appendPoolLines(day, PoolFile::DailyDoubles, poolLineText(30, a, 2)));
    ASSERT_FALSE(appendPoolLines(day, PoolFile::DailyDoubles, poolLineText(31, b, 6) + "junk\r\n"));
    std::vector<std::string> lines;
    forEachPoolLine(test::readAll(dir / "dailydoubles.dat"), PoolFile::DailyDoubles, [&](const PoolLine& l) {
        lines.push_back(std::to_string(l.ticket) + " " + std::to_string(l.horses[1]) + " " +
                        std::to_string(l.amount));
    });
    EXPECT_EQ(lines, (std::vector<std::string>{"30 2 2.000000", "31 4 6.000000"}));
    ASSERT_FALSE(clearPoolFile(day, PoolFile::DailyDoubles));
    EXPECT_EQ(test::readAll(dir / "dailydoubles.dat"), "");
}

TEST_F(PoolFixture, RefreshAddsEveryWellFormedLineToItsCellAndTotal) {
    write(PoolFile::Wins,
          "1,1,100\r\n4,2,300\r\n2125,2,20\r\n\r\n2,9,500\r\n3,0,500\r\nnonsense\r\n4,1,2,3\r\n"
          "5,x,7\r\n");
    write(PoolFile::Places, "2,1,74\r\n");
    write(PoolFile::Shows, "3,8,84\n");
    write(PoolFile::Quinielas, "25,2,5,40\r\n2126,5,2,10\r\n7,3,3,99\r\n");
    write(PoolFile::Exactas, "26,1,2,18\r\n27,2,1,6\r\n");
    write(PoolFile::Trifectas, "28,1,2,3,5\r\n");
    write(PoolFile::Superfectas, "29,4,3,2,1,7\r");
    toteRefresh(day);
    const Pools& p = day.pools;
    EXPECT_EQ(p.win, (std::array<int32_t, Pools::N>{100, 320, 0, 0, 0, 0, 0, 0, 0}));
    // A quiniela 5-2 adds to the pair's lower-first cell.
    EXPECT_EQ((std::vector<int32_t>{p.winTotal, p.place[0], p.placeTotal, p.show[7], p.showTotal,
                                    p.quiniela[Pools::idx2(1, 4)], p.quiniela[Pools::idx2(4, 1)],
                                    p.quinielaTotal, p.exacta[Pools::idx2(0, 1)], p.exacta[Pools::idx2(1, 0)],
                                    p.exactaTotal, p.trifecta[Pools::idx3(0, 1, 2)], p.trifectaTotal,
                                    p.superfecta[Pools::idx4(3, 2, 1, 0)], p.superfectaTotal}),
              (std::vector<int32_t>{420, 74, 74, 84, 84, 50, 0, 50, 18, 6, 24, 5, 5, 7, 7}));
    // Win 1: 420 * 0.75 / 100 - 1 = 2.15; win 2: 420 * 0.75 / 320 - 1 < 0.
    expectOdds({p.winOdds[0], p.winOdds[1], p.quinielaOdds[Pools::idx2(1, 4)],
                p.exactaOdds[Pools::idx2(1, 0)], p.exactaOdds[Pools::idx2(0, 1)]},
               {2.1f, 0.05f, 0.05f, 2.0f, 0.05f});

    // An amount that would overflow a pool is ignored.
    write(PoolFile::Wins, "1,1,2000000000\r\n2,1,2000000000\r\n3,2,5\r\n");
    toteRefresh(day);
    EXPECT_EQ(std::to_string(p.win[0]) + " " + std::to_string(p.winTotal), "2000000000 2000000005");
}

TEST_F(PoolFixture, RefreshStartsFromEmptyPoolsKeepsOddsOfCellsWithoutMoneyAndRepeatsExactly) {
    Pools& p = day.pools;
    p.win.fill(77);
    p.trifecta[Pools::idx3(0, 1, 2)] = p.trifectaTotal = 9;
    p.winOdds.fill(3.5f);
    p.quinielaOdds[Pools::idx2(0, 1)] = p.exactaOdds[Pools::idx2(0, 1)] = 12.0f;
    p.oddsByRace[1][0] = 4.0f; // the public odds of the day stay as generated
    write(PoolFile::Wins, "1,1,100\r\n2,2,200\r\n");
    write(PoolFile::Quinielas, "3,2,3,40\r\n");
    toteRefresh(day);
    // A missing file leaves its pool empty.
    EXPECT_EQ((std::vector<int32_t>{p.win[2], p.trifecta[Pools::idx3(0, 1, 2)], p.trifectaTotal}),
              (std::vector<int32_t>{0, 0, 0}));
    // Win 1: 300 * 0.75 / 100 - 1 = 1.25.
    expectOdds({p.winOdds[0], p.winOdds[2], p.quinielaOdds[Pools::idx2(0, 1)],
                p.exactaOdds[Pools::idx2(0, 1)], p.quinielaOdds[Pools::idx2(1, 2)], p.oddsByRace[1][0]},
               {1.2f, 3.5f, 12.0f, 12.0f, 0.05f, 4.0f});

    const Pools first = day.pools;
    toteRefresh(day);
    EXPECT_EQ(std::memcmp(&first, &day.pools, sizeof(Pools)), 0) << "a second refresh changes nothing";
}

} // namespace
