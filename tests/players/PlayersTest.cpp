#include "players/Players.h"
#include "core/Constants.h"
#include "core/RaceDay.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

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

// --- Loading at the start of a day ---

TEST_F(PlayersTest, RestartGivesEveryoneTheStartingAmountAndRewritesTheFile) {
    writeAll(dir / "players.dat", "3,Ann,12.5\r\n9,Bob,0\r\n4,Cleo,7321.25\r\n");
    day.players.selected = 2;
    loadPlayers(day);
    ASSERT_EQ(day.players.entries.size(), 3u);
    EXPECT_EQ(day.players.entries[0].playerId, 3);
    EXPECT_EQ(day.players.entries[1].name, "Bob");
    for (const auto& p : day.players.entries)
        EXPECT_EQ(p.balance, "400");
    EXPECT_EQ(day.players.selected, -1);
    EXPECT_EQ(playersFile(), "3,Ann,400\r\n9,Bob,400\r\n4,Cleo,400\r\n");
}

TEST_F(PlayersTest, MissingFileReadsAsNoPlayersAndIsCreated) {
    loadPlayers(day);
    EXPECT_TRUE(day.players.entries.empty());
    EXPECT_TRUE(prompter.shown().empty());
    EXPECT_TRUE(std::filesystem::exists(dir / "players.dat"));
    EXPECT_EQ(playersFile(), "");
}

TEST_F(PlayersTest, LoadingSkipsBlankLinesAndAcceptsBareLineFeeds) {
    writeAll(dir / "players.dat", "1,Ann,5\n\n2,Bob,6");
    day.db.settings.startAmount = 397.5f;
    loadPlayers(day);
    ASSERT_EQ(day.players.entries.size(), 2u);
    EXPECT_EQ(playersFile(), "1,Ann,397.5\r\n2,Bob,397.5\r\n");
}

// --- Adding players ---

TEST_F(PlayersTest, FirstPlayerOfAnEmptyFileIsNumberOne) {
    writeAll(dir / "players.dat", "");
    ASSERT_TRUE(addPlayer(day, "Ann"));
    EXPECT_EQ(playersFile(), "1,Ann,400\r\n");
    ASSERT_EQ(day.players.entries.size(), 1u);
    EXPECT_EQ(day.players.entries[0].playerId, 1);
    EXPECT_EQ(day.players.entries[0].balance, "400");
    EXPECT_EQ(day.players.selected, 0);
    EXPECT_EQ(day.players.balanceLabel, "400.00");
}

TEST_F(PlayersTest, MissingFileIsCreatedByTheFirstPlayer) {
    ASSERT_TRUE(addPlayer(day, "Ann"));
    EXPECT_EQ(playersFile(), "1,Ann,400\r\n");
}

TEST_F(PlayersTest, NewNumberFollowsTheLastLineNotTheHighest) {
    writeAll(dir / "players.dat", "12,Ann,400\r\n3,Bob,400\r\n7,Cleo,400\r\n");
    loadPlayers(day);
    ASSERT_TRUE(addPlayer(day, "Dan"));
    EXPECT_EQ(day.players.entries.back().playerId, 8);
    EXPECT_EQ(playersFile(), "12,Ann,400\r\n3,Bob,400\r\n7,Cleo,400\r\n8,Dan,400\r\n");
    EXPECT_EQ(day.players.selected, 3);
}

TEST_F(PlayersTest, DeletingTheLastListedPlayerFreesItsNumberAgain) {
    writeAll(dir / "players.dat", "1,Ann,400\r\n2,Bob,400\r\n");
    loadPlayers(day);
    day.players.selected = 1;
    prompter.answer(true);
    ASSERT_TRUE(deletePlayer(day));
    ASSERT_TRUE(addPlayer(day, "Cleo"));
    EXPECT_EQ(day.players.entries.back().playerId, 2);
}

TEST_F(PlayersTest, AddedLineNeverRunsIntoAnUnfinishedLastLine) {
    writeAll(dir / "players.dat", "1,Ann,400\r\n5,Bob,400");
    ASSERT_TRUE(addPlayer(day, "Cleo"));
    EXPECT_EQ(playersFile(), "1,Ann,400\r\n5,Bob,400\r\n6,Cleo,400\r\n");
}

TEST_F(PlayersTest, TrailingBlankLinesDoNotHideTheLastNumber) {
    writeAll(dir / "players.dat", "4,Ann,400\r\n\r\n");
    ASSERT_TRUE(addPlayer(day, "Bob"));
    EXPECT_EQ(day.players.entries.back().playerId, 5);
}

TEST_F(PlayersTest, NewPlayerGetsTheStartingAmountInForceOthersKeepTheirs) {
    listPlayers({{1, "Ann", "400"}, {2, "Bob", "310.5"}});
    day.db.settings.startAmount = 500;
    ASSERT_TRUE(addPlayer(day, "Cleo"));
    EXPECT_EQ(day.players.entries[0].balance, "400");
    EXPECT_EQ(day.players.entries[1].balance, "310.5");
    EXPECT_EQ(day.players.entries[2].balance, "500");
}

TEST_F(PlayersTest, RefusedNameShowsWhyAndWritesNothing) {
    writeAll(dir / "players.dat", "1,Ann,400\r\n");
    EXPECT_FALSE(addPlayer(day, "Smith, John"));
    ASSERT_EQ(prompter.shown().size(), 1u);
    EXPECT_EQ(prompter.shown()[0].title, AppTitle);
    EXPECT_NE(prompter.shown()[0].text.find("comma"), std::string::npos);
    EXPECT_EQ(playersFile(), "1,Ann,400\r\n");
    EXPECT_TRUE(day.players.entries.empty());
}

TEST_F(PlayersTest, NameIsStoredWithoutSurroundingBlanks) {
    ASSERT_TRUE(addPlayer(day, "   Ann Lee \t"));
    EXPECT_EQ(day.players.entries[0].name, "Ann Lee");
    EXPECT_EQ(playersFile(), "1,Ann Lee,400\r\n");
}

TEST_F(PlayersTest, EmojiAndRightToLeftNamesSurviveARestartIntact) {
    const std::string hebrew = "\u05D3\u05E0\u05D4 \u05DC\u05D5\u05D9";          // Dana Levi in Hebrew
    const std::string arabic = "\u0644\u064A\u0644\u0649";                       // Layla in Arabic
    const std::string emoji = "Zo\u00EB \U0001F40E\U0001F3C7\u200D\u2642\uFE0F"; // with a ZWJ sequence
    ASSERT_TRUE(addPlayer(day, hebrew));
    ASSERT_TRUE(addPlayer(day, arabic));
    ASSERT_TRUE(addPlayer(day, emoji));
    loadPlayers(day);
    ASSERT_EQ(day.players.entries.size(), 3u);
    EXPECT_EQ(day.players.entries[0].name, hebrew);
    EXPECT_EQ(day.players.entries[1].name, arabic);
    EXPECT_EQ(day.players.entries[2].name, emoji);
    EXPECT_EQ(day.players.entries[2].playerId, 3);
}

// --- Name rules ---

TEST(PlayerName, AcceptsOrdinaryAndInternationalNames) {
    EXPECT_FALSE(playerNameProblem("Ann"));
    EXPECT_FALSE(playerNameProblem("O'Brien-Smythe Jr."));
    EXPECT_FALSE(playerNameProblem("\u05D3\u05E0\u05D4"));
    EXPECT_FALSE(playerNameProblem("\u0645\u062D\u0645\u062F \u0639\u0644\u064A"));
    EXPECT_FALSE(playerNameProblem("\U0001F984 Unicorn"));
    EXPECT_FALSE(playerNameProblem("\u674E\u5C0F\u9F99"));
}

TEST(PlayerName, RefusesEmptyAndBlankNames) {
    EXPECT_TRUE(playerNameProblem(""));
    EXPECT_TRUE(playerNameProblem("   \t "));
}

TEST(PlayerName, RefusesCommasAndControlCharacters) {
    EXPECT_TRUE(playerNameProblem("Ann,Bob"));
    EXPECT_TRUE(playerNameProblem("Ann\tBob"));
    EXPECT_TRUE(playerNameProblem("Ann\nBob"));
    EXPECT_TRUE(playerNameProblem("Ann\rBob"));
    EXPECT_TRUE(playerNameProblem(std::string("Ann\0Bob", 7)));
    EXPECT_TRUE(playerNameProblem("Ann\x7F"));
    EXPECT_TRUE(playerNameProblem("Ann\u0085Bob")); // a C1 control, valid UTF-8
}

TEST(PlayerName, CountsCharactersNotBytes) {
    EXPECT_FALSE(playerNameProblem(std::string(24, 'a')));
    EXPECT_TRUE(playerNameProblem(std::string(25, 'a')));
    std::string horses;
    for (int i = 0; i < 24; ++i)
        horses += "\U0001F40E"; // four bytes each
    EXPECT_FALSE(playerNameProblem(horses));
    EXPECT_TRUE(playerNameProblem(horses + "\U0001F40E"));
    std::string hebrew;
    for (int i = 0; i < 24; ++i)
        hebrew += "\u05D0";
    EXPECT_FALSE(playerNameProblem(hebrew));
    // Blanks around the name do not count.
    EXPECT_FALSE(playerNameProblem("  " + std::string(24, 'a') + "  "));
}

TEST(PlayerName, RefusesTextThatIsNotUtf8) {
    EXPECT_TRUE(playerNameProblem("Ann\xFF"));
    EXPECT_TRUE(playerNameProblem("Ann\xC3"));          // cut short
    EXPECT_TRUE(playerNameProblem("\xE2\x82"));         // cut short at the end
    EXPECT_TRUE(playerNameProblem("A\xC0\x80"));        // overlong
    EXPECT_TRUE(playerNameProblem("\xED\xA0\x80"));     // a surrogate
    EXPECT_TRUE(playerNameProblem("\xF4\x90\x80\x80")); // beyond U+10FFFF
    EXPECT_TRUE(playerNameProblem("\x80"
                                  "Ann")); // stray continuation byte
}

// --- Selecting a bettor ---

TEST_F(PlayersTest, OutOfCashMovesToTheFirstPlayerWithAtLeastOneDollar) {
    listPlayers({{1, "Ann", "0.25"}, {2, "Bob", "0.5"}, {3, "Cleo", "3"}, {4, "Dan", "12"}});
    selectBettor(day, 1);
    ASSERT_EQ(prompter.shown().size(), 1u);
    EXPECT_EQ(prompter.shown()[0].text, "Bob, you're out of cash!");
    EXPECT_EQ(prompter.shown()[0].title, "Stridewell");
    EXPECT_FALSE(prompter.shown()[0].question);
    EXPECT_EQ(day.players.selected, 2);
    EXPECT_EQ(day.players.balanceLabel, "3.00");
}

TEST_F(PlayersTest, OutOfCashWithNobodyElseToTakeOverStays) {
    listPlayers({{1, "Ann", "0.25"}, {2, "Bob", "0.5"}});
    selectBettor(day, 1);
    EXPECT_TRUE(prompter.sawText("Bob, you're out of cash!"));
    EXPECT_EQ(day.players.selected, 1);
    EXPECT_EQ(day.players.balanceLabel, "0.50");
}

TEST_F(PlayersTest, ExactlyOneDollarIsNotOutOfCash) {
    listPlayers({{1, "Ann", "400"}, {2, "Bob", "1"}});
    selectBettor(day, 1);
    EXPECT_TRUE(prompter.shown().empty());
    EXPECT_EQ(day.players.selected, 1);
    EXPECT_EQ(day.players.balanceLabel, "1.00");
}

TEST_F(PlayersTest, SelectingOutsideTheListSelectsNobodyAndKeepsTheLabel) {
    listPlayers({{1, "Ann", "400"}});
    selectBettor(day, 0);
    selectBettor(day, 5);
    EXPECT_EQ(day.players.selected, -1);
    EXPECT_EQ(day.players.balanceLabel, "400.00");
}

// --- Deleting a player ---

TEST_F(PlayersTest, DeletingAsksThenRemovesSavesAndSelectsTheFirst) {
    listPlayers({{1, "Ann", "0.5"}, {2, "Bob", "7"}, {3, "Cleo", "20"}});
    day.players.selected = 2;
    prompter.answer(true);
    ASSERT_TRUE(deletePlayer(day));
    ASSERT_EQ(prompter.shown().size(), 2u);
    EXPECT_EQ(prompter.shown()[0].text, "Are you sure you want to delete the player?");
    EXPECT_EQ(prompter.shown()[0].title, "Stridewell");
    EXPECT_TRUE(prompter.shown()[0].question);
    // The first player is out of cash, so the selection moves on to Bob.
    EXPECT_EQ(prompter.shown()[1].text, "Ann, you're out of cash!");
    EXPECT_EQ(day.players.selected, 1);
    EXPECT_EQ(playersFile(), "1,Ann,0.5\r\n2,Bob,7\r\n");
}

TEST_F(PlayersTest, AnsweringNoDeletesNothing) {
    listPlayers({{1, "Ann", "400"}});
    day.players.selected = 0;
    writeAll(dir / "players.dat", "1,Ann,400\r\n");
    prompter.answer(false);
    EXPECT_FALSE(deletePlayer(day));
    EXPECT_EQ(day.players.entries.size(), 1u);
    EXPECT_EQ(day.players.selected, 0);
    EXPECT_EQ(playersFile(), "1,Ann,400\r\n");
}

TEST_F(PlayersTest, NothingSelectedMeansNoQuestionAndNoChange) {
    listPlayers({{1, "Ann", "400"}});
    EXPECT_FALSE(deletePlayer(day));
    EXPECT_TRUE(prompter.shown().empty());
    EXPECT_EQ(day.players.entries.size(), 1u);
}

TEST_F(PlayersTest, DeletingTheOnlyPlayerEmptiesListAndFileKeepingTheLabel) {
    listPlayers({{1, "Ann", "400"}});
    selectBettor(day, 0);
    prompter.answer(true);
    ASSERT_TRUE(deletePlayer(day));
    EXPECT_TRUE(day.players.entries.empty());
    EXPECT_EQ(day.players.selected, -1);
    EXPECT_EQ(day.players.balanceLabel, "400.00");
    EXPECT_EQ(playersFile(), "");
}

// --- Balances ---

TEST(Balance, ReadsAndWritesTheBalanceText) {
    PlayerEntry player{1, "Ann", "400"};
    EXPECT_FLOAT_EQ(balanceOf(player), 400.0f);
    setBalance(player, 397.5f);
    EXPECT_EQ(player.balance, "397.5");
    setBalance(player, 1.0f / 3.0f);
    EXPECT_EQ(player.balance, "0.3333333");
    player.balance = "junk";
    EXPECT_EQ(balanceOf(player), 0.0f);
}

TEST(Balance, FindsThePlayerByNumber) {
    PlayerList list;
    list.entries = {{4, "Ann", "1"}, {9, "Bob", "2"}, {9, "Dup", "3"}};
    EXPECT_EQ(findPlayer(list, 9), 1);
    EXPECT_EQ(findPlayer(list, 4), 0);
    EXPECT_EQ(findPlayer(list, 5), -1);
}

} // namespace
