#include "players/Players.h"
#include "core/RaceDay.h"
#include "core/TextEncoding.h"
#include "players/SettingsDialog.h"
#include "players/TopTen.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <vector>

using namespace sw;
using sw::test::readAll;
using sw::test::writeAll;
using Lines = std::vector<std::string>;

namespace {

class PlayersTest : public ::testing::Test, protected test::DayOnDisk<> {
protected:
    PlayersTest() : DayOnDisk(1) { day.db.settings.startAmount = 40000; }

    std::string file(std::string_view name = "players.dat") const { return readAll(dir / name); }
    // The list as "id,name,balance" lines, then the selection and its balance label.
    std::string listed() const {
        std::string s;
        for (const PlayerEntry& p : day.players.entries)
            s += std::to_string(p.playerId) + "," + p.name + "," + p.balance + " ";
        return s + "@" + std::to_string(day.players.selected) + " " + day.players.balanceLabel;
    }
    std::string said() const { return prompter.said(); }
    // The defaults dialog's spinners, then the amounts the day now uses (its labels show those).
    std::string dialogShows() const {
        return std::to_string(dialog.startAmountSpinner()) + " " +
               std::to_string(dialog.defaultAmountSpinner()) + " = " +
               centsField(day.db.settings.startAmount) + " " + centsField(day.db.settings.defaultBetAmount);
    }

    SettingsDialog dialog{day};
};

TEST_F(PlayersTest, RestartGivesEveryoneTheStartingAmountAndRewritesTheFile) {
    loadPlayers(day);
    EXPECT_EQ(listed() + said() + file(), "@-1 ") << "a missing file holds no players";

    writeAll(dir / "players.dat", "3,Ann,12.5\n\n9,Bob,0\r\n4,Cleo,7321.25");
    day.players.selected = 2;
    day.db.settings.startAmount = 39750;
    loadPlayers(day);
    EXPECT_EQ(listed() + "|" + file(),
              "3,Ann,397.5 9,Bob,397.5 4,Cleo,397.5 @-1 |3,Ann,397.5\r\n9,Bob,397.5\r\n4,Cleo,397.5\r\n");

    EXPECT_EQ(balanceOf(PlayerEntry{1, "Ann", "junk"}), 0) << "a hand-edited balance";
}

TEST_F(PlayersTest, AnAddedPlayerTakesTheLowestFreeNumberAndIsSelected) {
    ASSERT_TRUE(addPlayer(day, "Ann"));
    EXPECT_EQ(listed() + "|" + file(), "1,Ann,400 @0 400.00|1,Ann,400\r\n");
    // A last line without its end is finished first; the starting amount in force goes to the new
    // player only.
    writeAll(dir / "players.dat", "5,Bob,400\r\n1,Ann,400");
    loadPlayers(day);
    day.db.settings.startAmount = 50000;
    ASSERT_TRUE(addPlayer(day, "Cleo"));
    EXPECT_EQ(file(), "5,Bob,400\r\n1,Ann,400\r\n2,Cleo,500\r\n");

    // Names are checked, then stored trimmed and otherwise intact.
    const std::string before = file();
    EXPECT_FALSE(addPlayer(day, "Smith, John"));
    EXPECT_EQ(file() + std::to_string(day.players.entries.size()) + said(),
              before + "3Stridewell: A player's name cannot contain a comma.");
    const std::string emoji = "Zo\u00EB \U0001F40E\U0001F3C7\u2642\uFE0F"; // with a variation selector
    for (std::string name : {"   Ann Lee \t", emoji.c_str()})
        ASSERT_TRUE(addPlayer(day, name));
    loadPlayers(day);
    EXPECT_EQ(listed(), "5,Bob,500 1,Ann,500 2,Cleo,500 3,Ann Lee,500 4," + emoji + ",500 @-1 500.00");
}

TEST_F(PlayersTest, NoNumberIsGivenTwiceInADay) {
    // Tickets belong to a number: a number handed out again would take over the tickets of the
    // player who had it.
    const std::tuple<const char*, int32_t, std::vector<int32_t>> cases[] = {
        // file, deleted (0: nobody), added
        {"1,Ann,400\r\n2,Bob,400\r\n", 2, {3, 4}},    // a deleted player's number stays used
        {"9,Ann,400\r\n2,Bob,400\r\n", 9, {1, 3}},    // a free number below the others is given
        {"1,Ann,400\r\n3,Bob,400\r\n", 0, {2, 4, 5}}, // numbers still listed are skipped
        {"2147483647,Max,400\r\n", 0, {1, 2}},        // the highest number blocks nobody
        {"-4,Neg,400\r\n", 0, {1, 2}},                // nor does one below 1
    };
    for (const auto& [text, deleted, expected] : cases) {
        writeAll(dir / "players.dat", text);
        loadPlayers(day);
        day.players.selected = findPlayer(day.players, deleted);
        EXPECT_EQ(deletePlayer(day), deleted != 0) << text;
        std::vector<int32_t> added;
        while (added.size() < expected.size() && addPlayer(day, "New"))
            added.push_back(day.players.entries.back().playerId);
        EXPECT_EQ(added, expected) << text << " deleting " << deleted;
    }
}

TEST(PlayerName, AcceptsInternationalNamesUpToTwentyFourCharactersAndNothingInvisible) {
    using namespace std::string_literals;
    std::string horses;
    for (int i = 0; i < 24; ++i)
        horses += "\U0001F40E"; // four bytes each: characters count, not bytes
    for (std::string name :
         {"O'Brien-Smythe Jr."s, "\u0645\u062D\u0645\u062F \u0639\u0644\u064A"s, horses,
          "  " + std::string(24, 'a') + "  ", "Zoe\u0308"s,
          // Emoji joined into one picture: a family, a flag, a job, a runner.
          "\U0001F468\u200D\U0001F469\u200D\U0001F467"s, "\U0001F3F3\uFE0F\u200D\U0001F308"s,
          "Jo \U0001F469\U0001F3FD\u200D\U0001F4BB"s, "\U0001F3C3\u200D\u2642\uFE0F"s})
        EXPECT_FALSE(playerNameProblem(name)) << name;
    for (std::string name :
         {horses + "\U0001F40E", std::string(25, 'a'), ""s, "   \t "s, "Ann,Bob"s, "Ann\tBob"s, "Ann\0Bob"s,
          "Ann\x7F"s, "Ann\u0085Bob"s, "Ann\u202E"s, "An\u200Bn"s, "Ann\U000E0041"s,
          // Nothing to see: no-break, ideographic and braille blanks, a mark, a selector, a filler.
          "\u00A0\u00A0"s, " \u3000 "s, "\u2800"s, "\u0301"s, "\u00A0\u0308"s, "\uFE0F"s, "\u3164"s,
          // A line or paragraph break, and a joiner that joins no pictographs.
          "Ann\u2028Bob"s, "Ann\u2029"s, "An\u200Dn"s, "\u200D\U0001F468"s, "\U0001F468\u200D"s,
          // Not UTF-8: a bad or cut lead, overlong forms, a surrogate, beyond U+10FFFF, a lone tail.
          "Ann\xFF"s, "Ann\xC3"s, "\xE2\x82"s, "A\xC0\x80"s, "\xE0\x81\x81"s, "\xED\xA0\x80"s,
          "\xF4\x90\x80\x80"s,
          "\x80"
          "Ann"s})
        EXPECT_TRUE(playerNameProblem(name)) << name;
}

TEST_F(PlayersTest, OutOfCashMovesToTheFirstPlayerWithAtLeastOneDollar) {
    // Each case: the list, then the selection and what was said after selecting Bob.
    const std::string broke = " | Stridewell: Bob, you're out of cash!";
    const std::pair<std::vector<PlayerEntry>, std::string> cases[] = {
        {{{1, "Ann", "0.25"}, {2, "Bob", "0.5"}, {3, "Cleo", "3"}, {4, "Dan", "12"}},
         "@2 3.00" + broke + " Cleo is betting now."},
        {{{1, "Ann", "0.25"}, {2, "Bob", "0.5"}}, "@1 0.50" + broke}, // nobody else to take over: stays
        {{{1, "Ann", "400"}, {2, "Bob", "1"}}, "@1 1.00 | "},         // exactly one dollar is not out of cash
    };
    for (const auto& [players, expected] : cases) {
        day.players.entries = players;
        prompter.clear();
        selectBettor(day, 1);
        EXPECT_EQ(listed().substr(listed().find('@')) + " | " + said(), expected);
    }
    // Outside the list nobody is selected, and the label stays.
    selectBettor(day, 2);
    EXPECT_TRUE(listed().ends_with("@-1 1.00")) << listed();
}

TEST_F(PlayersTest, DeletingRemovesThePlayerAndTheirUnpaidTicketsAndSelectsTheFirst) {
    day.players.entries = {{1, "Ann", "0.5"}, {2, "Bob", "7"}, {3, "Cleo", "20"}};
    EXPECT_FALSE(deletePlayer(day)) << "nobody selected";
    EXPECT_FALSE(std::filesystem::exists(dir / "players.dat"));
    day.tickets = {{"$2 Win on 1", 3, false}, {"$2 Win on 2", 2, false}, {"$2 Win on 3", 3, true}};
    day.players.selected = 2;
    ASSERT_TRUE(deletePlayer(day));
    // The first player is out of cash, so the selection moves on to Bob.
    EXPECT_EQ(said(), "Stridewell: Ann, you're out of cash! Bob is betting now.");
    EXPECT_EQ(listed() + "|" + file(), "1,Ann,0.5 2,Bob,7 @1 7.00|1,Ann,0.5\r\n2,Bob,7\r\n");
    // Cleo's paid ticket stays listed (and recorded): it pays nobody now.
    ASSERT_EQ(day.tickets.size(), 2u);
    EXPECT_EQ(day.tickets[0].text + " " + day.tickets[1].text, "$2 Win on 2 $2 Win on 3");

    // The only player: list and file empty, the label stays.
    day.players.entries = {{1, "Ann", "400"}};
    selectBettor(day, 0);
    ASSERT_TRUE(deletePlayer(day));
    EXPECT_EQ(listed() + "|" + file(), "@-1 400.00|");
}

// ---- The defaults dialog ----

TEST_F(PlayersTest, TheDialogRoundsHalfToEvenKeepsWithinTheSpinnersAndOnlyOkWrites) {
    const std::tuple<Cents, Cents, const char*> cases[] = {{40050, 250, "400 2 = 400 2"},
                                                           {40150, 350, "402 4 = 402 4"},
                                                           {0, 500000, "1 1000 = 1 1000"},
                                                           {MaxCents, -MaxCents, "1000 1 = 1000 1"}};
    for (const auto& [start, bet, shown] : cases) {
        day.db.settings = Settings{start, bet, 999};
        dialog.open();
        EXPECT_EQ(dialogShows(), shown) << start << " " << bet;
    }
    dialog.setStartAmount(1001);
    dialog.setDefaultBetAmount(0);
    EXPECT_EQ(dialogShows(), "1000 1 = 1000 1");

    writeAll(dir / "settings.dat", "400,2,1,0,999\r\n");
    day.db.settings = Settings{40000, 200, 121.35f};
    dialog.open();
    dialog.setStartAmount(500);
    dialog.setDefaultBetAmount(5);
    EXPECT_EQ(dialogShows(), "500 5 = 500 5");
    ASSERT_FALSE(dialog.ok());
    EXPECT_EQ(file("settings.dat"), "500,5,,,121.35\r\n") << "the factory line is replaced";

    day.db.settings = Settings{40050, 200, 999};
    dialog.open();
    dialog.setStartAmount(750);
    dialog.cancel();
    EXPECT_TRUE(dialogShows().ends_with("= 400.5 2")) << "not even the opening's rounding stays";
    EXPECT_EQ(file("settings.dat"), "500,5,,,121.35\r\n");
}

// ---- The top ten ----

// A day's results shown best first are the stored days' to pin; a hand-edited amount comes back
// canonical.
TEST_F(PlayersTest, TheTopTenIsRewrittenCanonicalAndKeepsTheBestTenEqualAmountsInFileOrder) {
    EXPECT_TRUE(showTopTen(day).empty()) << "no file yet";
    writeAll(dir / "top10players.dat", "Broke,junk\nRich, 01234.50\n");
    showTopTen(day);
    EXPECT_EQ(file("top10players.dat"), "Rich,1234.5\r\nBroke,0\r\n");

    // Eight clear leaders, then three equal results recorded in the order Early, Middle, Late.
    std::string content = "Early,50\r\n";
    for (int i = 1; i <= 8; ++i)
        content += "Lead" + std::to_string(i) + "," + std::to_string(1000 + i) + "\r\n";
    writeAll(dir / "top10players.dat", content + "Middle,50\r\nLow,10\r\nLate,50\r\n");
    auto lines = showTopTen(day);
    ASSERT_EQ(lines.size(), 10u);
    EXPECT_EQ(Lines(lines.end() - 3, lines.end()),
              (Lines{"  $1001.00 - Lead1", "    $50.00 - Early", "    $50.00 - Middle"}));

    // A hand edit far longer than any day leaves it: the day's results at its end still count.
    content.clear();
    for (int i = 0; i < 5000; ++i)
        content += "Same,5\r\n";
    writeAll(dir / "top10players.dat", content);
    day.players.entries = {{1, "Today", "9999"}, {2, "Also", "5"}};
    ASSERT_FALSE(recordDayResults(day));
    lines = showTopTen(day);
    ASSERT_EQ(lines.size(), 10u);
    EXPECT_EQ(lines.front(), "  $9999.00 - Today");
    EXPECT_EQ(lines.back(), "     $5.00 - Same") << "of equal results the earlier ones stay";
}

} // namespace
