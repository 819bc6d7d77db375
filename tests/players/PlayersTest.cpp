#include "players/Players.h"
#include "core/Constants.h"
#include "core/RaceDay.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <vector>

using namespace sw;
using sw::test::readAll;
using sw::test::writeAll;

namespace {

class PlayersTest : public ::testing::Test {
protected:
    PlayersTest() { day.db.settings.startAmount = 400; }

    void listPlayers(std::initializer_list<PlayerEntry> players) {
        day.players.entries.assign(players.begin(), players.end());
        day.players.selected = -1;
    }
    std::string playersFile() const { return readAll(dir / "players.dat"); }

    test::TempDir dir;
    SeededRandom random{1};
    test::ScriptedPrompter prompter;
    RaceDay day{dir.path(), random, prompter};
};

TEST_F(PlayersTest, RestartGivesEveryoneTheStartingAmountAndRewritesTheFile) {
    loadPlayers(day);
    EXPECT_TRUE(day.players.entries.empty()) << "a missing file holds no players";
    EXPECT_TRUE(prompter.shown().empty());
    EXPECT_EQ(playersFile(), "");

    writeAll(dir / "players.dat", "3,Ann,12.5\n\n9,Bob,0\r\n4,Cleo,7321.25");
    day.players.selected = 2;
    day.db.settings.startAmount = 397.5f;
    loadPlayers(day);
    ASSERT_EQ(day.players.entries.size(), 3u);
    EXPECT_EQ(day.players.entries[1].playerId, 9);
    EXPECT_EQ(day.players.entries[1].name, "Bob");
    EXPECT_EQ(day.players.selected, -1);
    EXPECT_EQ(playersFile(), "3,Ann,397.5\r\n9,Bob,397.5\r\n4,Cleo,397.5\r\n");
}

TEST_F(PlayersTest, AnAddedPlayerTakesTheNumberAfterTheLastLineAndIsSelected) {
    ASSERT_TRUE(addPlayer(day, "Ann"));
    EXPECT_EQ(playersFile(), "1,Ann,400\r\n");
    EXPECT_EQ(day.players.selected, 0);
    EXPECT_EQ(day.players.balanceLabel, "400.00");
    // A last line without its end is finished first.
    writeAll(dir / "players.dat", playersFile() + "5,Bob,400");
    ASSERT_TRUE(addPlayer(day, "Cleo"));
    EXPECT_EQ(playersFile(), "1,Ann,400\r\n5,Bob,400\r\n6,Cleo,400\r\n");

    // The last line's number, not the highest; the starting amount in force goes to the new player only.
    writeAll(dir / "players.dat", "12,Ann,400\r\n3,Bob,400\r\n7,Cleo,400\r\n\r\n");
    loadPlayers(day);
    day.players.entries[2].balance = "310.5";
    day.db.settings.startAmount = 500;
    ASSERT_TRUE(addPlayer(day, "Dan"));
    EXPECT_EQ(day.players.entries.back().playerId, 8);
    EXPECT_EQ(day.players.entries.back().balance, "500");
    EXPECT_EQ(day.players.entries[2].balance, "310.5");
    EXPECT_EQ(day.players.selected, 3);
}

TEST_F(PlayersTest, NoNumberIsGivenTwiceInADay) {
    // Tickets belong to a number: a number handed out again would take over the tickets of the
    // player who had it.
    struct Case {
        const char* file;
        int32_t deleted; // 0: nobody
        std::vector<int32_t> added;
    } cases[] = {
        {"1,Ann,400\r\n2,Bob,400\r\n", 2, {3, 4}}, // the last-listed player's number stays used
        {"9,Ann,400\r\n2,Bob,400\r\n", 9, {10}},   // so does one above the file's last line
        {"7,Ann,400\r\n5,Bob,400\r\n", 0, {6, 8}}, // numbers still listed are skipped
    };
    for (const Case& c : cases) {
        writeAll(dir / "players.dat", c.file);
        loadPlayers(day);
        if (c.deleted != 0) {
            day.players.selected = findPlayer(day.players, c.deleted);
            prompter.answer(true);
            ASSERT_TRUE(deletePlayer(day)) << c.file;
        }
        std::vector<int32_t> added;
        for (std::size_t n = 0; n < c.added.size(); ++n) {
            ASSERT_TRUE(addPlayer(day, "New"));
            added.push_back(day.players.entries.back().playerId);
        }
        EXPECT_EQ(added, c.added) << c.file << " deleting " << c.deleted;
    }
}

TEST_F(PlayersTest, NamesAreCheckedThenStoredTrimmedAndOtherwiseIntact) {
    writeAll(dir / "players.dat", "1,Ann,400\r\n");
    EXPECT_FALSE(addPlayer(day, "Smith, John"));
    ASSERT_EQ(prompter.shown().size(), 1u);
    EXPECT_EQ(prompter.shown()[0].title, AppTitle);
    EXPECT_NE(prompter.shown()[0].text.find("comma"), std::string::npos);
    EXPECT_EQ(playersFile(), "1,Ann,400\r\n");
    EXPECT_TRUE(day.players.entries.empty());

    const std::string hebrew = "\u05D3\u05E0\u05D4 \u05DC\u05D5\u05D9";
    const std::string emoji = "Zo\u00EB \U0001F40E\U0001F3C7\u2642\uFE0F"; // with a variation selector
    ASSERT_TRUE(addPlayer(day, "   Ann Lee \t"));
    ASSERT_TRUE(addPlayer(day, hebrew));
    ASSERT_TRUE(addPlayer(day, emoji));
    loadPlayers(day);
    ASSERT_EQ(day.players.entries.size(), 4u);
    EXPECT_EQ(day.players.entries[1].name, "Ann Lee");
    EXPECT_EQ(day.players.entries[2].name, hebrew);
    EXPECT_EQ(day.players.entries[3].name, emoji);
}

TEST(PlayerName, AcceptsInternationalNamesUpToTwentyFourCharactersAndNothingInvisible) {
    std::string horses;
    for (int i = 0; i < 24; ++i)
        horses += "\U0001F40E"; // four bytes each: characters count, not bytes
    for (std::string name :
         {std::string("O'Brien-Smythe Jr."), std::string("\u0645\u062D\u0645\u062F \u0639\u0644\u064A"),
          std::string("\U0001F984 Unicorn"), std::string("\u674E\u5C0F\u9F99"), horses,
          "  " + std::string(24, 'a') + "  "})
        EXPECT_FALSE(playerNameProblem(name)) << name;
    for (std::string name :
         {horses + "\U0001F40E", std::string(25, 'a'), std::string(""), std::string("   \t "),
          std::string("Ann,Bob"), std::string("Ann\tBob"), std::string("Ann\nBob"),
          std::string("Ann\0Bob", 7), std::string("Ann\x7F"), std::string("Ann\u0085Bob"),
          std::string("Ann\u202E"), std::string("\u2066Ann\u2069"), std::string("An\u200Bn"),
          std::string("\uFEFFAnn"), std::string("Ann\u00AD"), std::string("Ann\U000E0041"),
          // Not UTF-8: a bad or cut lead, an overlong form, a surrogate, beyond U+10FFFF, a lone tail.
          std::string("Ann\xFF"), std::string("Ann\xC3"), std::string("\xE2\x82"), std::string("A\xC0\x80"),
          std::string("\xED\xA0\x80"), std::string("\xF4\x90\x80\x80"),
          std::string("\x80"
                      "Ann")})
        EXPECT_TRUE(playerNameProblem(name)) << name;
    EXPECT_EQ(*playerNameProblem(std::string(25, 'a')), "A player's name can be at most 24 characters long.");
}

TEST_F(PlayersTest, OutOfCashMovesToTheFirstPlayerWithAtLeastOneDollar) {
    struct Case {
        std::vector<PlayerEntry> players;
        int selected;
        const char* label;
        bool outOfCash;
    } cases[] = {
        {{{1, "Ann", "0.25"}, {2, "Bob", "0.5"}, {3, "Cleo", "3"}, {4, "Dan", "12"}}, 2, "3.00", true},
        {{{1, "Ann", "0.25"}, {2, "Bob", "0.5"}}, 1, "0.50", true}, // nobody else to take over: stays
        {{{1, "Ann", "5"}, {2, "Bob", "0.5"}}, 0, "5.00", true},    // the first player takes over
        {{{1, "Ann", "400"}, {2, "Bob", "1"}}, 1, "1.00", false},   // exactly one dollar is not out of cash
    };
    for (const Case& c : cases) {
        day.players.entries = c.players;
        prompter.clear();
        selectBettor(day, 1);
        EXPECT_EQ(day.players.selected, c.selected);
        EXPECT_EQ(day.players.balanceLabel, c.label);
        ASSERT_EQ(prompter.shown().size(), c.outOfCash ? 1u : 0u) << c.label;
        if (c.outOfCash) {
            EXPECT_EQ(prompter.shown()[0].text, "Bob, you're out of cash!");
            EXPECT_EQ(prompter.shown()[0].title, "Stridewell");
            EXPECT_FALSE(prompter.shown()[0].question);
        }
    }
    // Outside the list nobody is selected, and the label stays.
    selectBettor(day, 2);
    EXPECT_EQ(day.players.selected, -1);
    EXPECT_EQ(day.players.balanceLabel, "1.00");
}

TEST_F(PlayersTest, DeletingAsksThenRemovesThePlayerAndTheirUnpaidTicketsAndSelectsTheFirst) {
    listPlayers({{1, "Ann", "0.5"}, {2, "Bob", "7"}, {3, "Cleo", "20"}});
    EXPECT_FALSE(deletePlayer(day));
    EXPECT_TRUE(prompter.shown().empty()) << "nobody selected: no question";
    day.tickets = {{"$2 Win on 1", 3, false}, {"$2 Win on 2", 2, false}, {"$2 Win on 3", 3, true}};
    day.players.selected = 2;
    prompter.answer(false);
    EXPECT_FALSE(deletePlayer(day));
    EXPECT_EQ(day.players.entries.size(), 3u);
    EXPECT_FALSE(std::filesystem::exists(dir / "players.dat"));

    prompter.answer(true);
    ASSERT_TRUE(deletePlayer(day));
    ASSERT_EQ(prompter.shown().size(), 3u);
    EXPECT_EQ(prompter.shown()[1].text, "Are you sure you want to delete the player? The player's unpaid "
                                        "tickets will be removed from the ticket list.");
    EXPECT_EQ(prompter.shown()[1].title, "Stridewell");
    EXPECT_TRUE(prompter.shown()[1].question);
    // The first player is out of cash, so the selection moves on to Bob.
    EXPECT_EQ(prompter.shown()[2].text, "Ann, you're out of cash!");
    EXPECT_EQ(day.players.selected, 1);
    EXPECT_EQ(playersFile(), "1,Ann,0.5\r\n2,Bob,7\r\n");
    // Cleo's paid ticket stays listed (and recorded): it pays nobody now.
    ASSERT_EQ(day.tickets.size(), 2u);
    EXPECT_EQ(day.tickets[0].text, "$2 Win on 2");
    EXPECT_EQ(day.tickets[1].text, "$2 Win on 3");

    // The only player: list and file empty, the label stays.
    listPlayers({{1, "Ann", "400"}});
    selectBettor(day, 0);
    prompter.answer(true);
    ASSERT_TRUE(deletePlayer(day));
    EXPECT_TRUE(day.players.entries.empty());
    EXPECT_EQ(day.players.selected, -1);
    EXPECT_EQ(day.players.balanceLabel, "400.00");
    EXPECT_EQ(playersFile(), "");
}

TEST(Balance, ReadsAndWritesTheBalanceText) {
    PlayerEntry player{1, "Ann", "400"};
    setBalance(player, 397.5f);
    EXPECT_EQ(player.balance, "397.5");
    EXPECT_FLOAT_EQ(balanceOf(player), 397.5f);
    player.balance = "junk";
    EXPECT_EQ(balanceOf(player), 0.0f);
}

} // namespace
