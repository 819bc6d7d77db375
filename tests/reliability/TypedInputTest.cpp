// Whatever a player types as a name or a ticket is either refused with a message or stored and
// shown intact; no typed text can break a data file's format.

#include "ReliabilitySupport.h"

#include "cli/CliPrompter.h"
#include "cli/CommandLine.h"
#include "players/Players.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace sw;
namespace fs = std::filesystem;

namespace {

struct TypedInput : ::testing::Test {
    test::TempDir dir;
    test::ScriptedPrompter prompter;
    SeededRandom random{8};
    Game game{dir.path(), random, prompter};

    void SetUp() override {
        test::copyBundledData(dir.path());
        ASSERT_TRUE(game.startDay());
        game.toteBoard();
    }
};

const std::vector<std::string> RefusedNames = {
    "Smith, John",
    ",",
    "Tab\there",
    "Line\nbreak",
    "Carriage\rreturn",
    std::string("Nul\0inside", 10),
    "\x1b[31mRed",
    "Bell\a",
    "Del\x7f",
    "C1\xc2\x85next line",
    "\xff\xfe",
    "Half \xe2\x82",
    "Surrogate \xed\xa0\x80",
    "Overlong \xc0\xaf",
    "",
    "   ",
    "Twenty-five characters!!!",
    std::string(10000, 'A'),
    std::string(2000, ',') + "Ann",
    "\xe2\x80\xaeOverride", // a right-to-left override mark: it reversed the balance beside the name
    "\xf0\x9f\x91\xa8\xe2\x80\x8d\xf0\x9f\x91\xa9", // joined by an invisible zero-width joiner
};

const std::vector<std::string> StoredNames = {
    "\xd7\xa9\xd7\x9c\xd7\x95\xd7\x9d",             // Hebrew, right to left
    "\xd9\x85\xd8\xb1\xd8\xad\xd8\xa8\xd8\xa7 Ali", // Arabic and Latin mixed
    "Jo \xf0\x9f\x90\x8e",                          // a horse emoji
    "Zo\xc3\xab \"Quotes\" #1",
    "Twenty-four characters!!",
    "e\xcc\x81 combining",
};

TEST_F(TypedInput, NamesThatWouldBreakTheFileAreRefusedWithAMessage) {
    for (const std::string& name : RefusedNames) {
        prompter.clear();
        EXPECT_FALSE(addPlayer(game.day(), name)) << name;
        EXPECT_EQ(prompter.shown().size(), 1u) << name;
    }
    EXPECT_TRUE(game.day().players.entries.empty());
    EXPECT_TRUE(test::readAll(dir / "players.dat").empty());
}

TEST_F(TypedInput, OtherNamesAreStoredAndComeBackIntact) {
    for (const std::string& name : StoredNames)
        EXPECT_TRUE(addPlayer(game.day(), name)) << name;
    EXPECT_TRUE(addPlayer(game.day(), "  Padded  "));
    EXPECT_TRUE(reliability::folderProblems(dir.path()).empty());

    SeededRandom again(9);
    Game next(dir.path(), again, prompter);
    ASSERT_TRUE(next.startDay());
    const auto& players = next.day().players.entries;
    ASSERT_EQ(players.size(), StoredNames.size() + 1);
    for (std::size_t i = 0; i < StoredNames.size(); ++i)
        EXPECT_EQ(players[i].name, StoredNames[i]);
    EXPECT_EQ(players.back().name, "Padded");
}

TEST_F(TypedInput, StoredNamesReachTheStandingsAndTheTopTenIntact) {
    for (const std::string& name : StoredNames)
        ASSERT_TRUE(addPlayer(game.day(), name));
    for (int race = 0; race < RacesPerDay; ++race) {
        selectBettor(game.day(), race % static_cast<int>(StoredNames.size()));
        reliability::playRace(game, {"$2 Win on " + std::to_string(1 + race % 8)});
    }
    ASSERT_EQ(game.stage(), Stage::TopTen);
    std::vector<std::string> shown;
    for (const std::string& line : game.topTen())
        shown.push_back(line.substr(line.find(" - ") + 3));
    for (const std::string& name : StoredNames)
        EXPECT_NE(std::find(shown.begin(), shown.end(), name), shown.end()) << name;
    EXPECT_TRUE(reliability::folderProblems(dir.path()).empty());
}

TEST_F(TypedInput, TicketTextsOutsideTheBetEntrysOwnAreRefused) {
    ASSERT_TRUE(addPlayer(game.day(), "Ann"));
    const std::vector<std::string> refused = {
        "$2,Win,on,1",
        "$2 Win on 1,2",
        "$2 Win on 1\r\n9,9,9",
        std::string("$2 Exacta Box 12\0"
                    "3",
                    18),
        "$2 Exacta\tBox 123",
        "$2  Win on 1",
        " $2 Win on 1",
        "$2 Win on 1 ",
        "$2 Win on \xd9\xa1",
        "$2 Win on \xf0\x9f\x90\x8e",
        "\xe2\x80\xae$2 Win on 1",
        "$2 Win on 9",
        "$2 Win on 11",
        "$99999 Win on 1",
        "$-2 Win on 1",
        "$2.5 Win on 1",
        "$2 win on 1",
        "$2 Exacta Box 1",
        "$2 Trifecta Straight 12",
        "$2 Superfecta Wheel 1 with 2 with 3",
        "$2 DailyDouble Wheel 1 with 2",
        "$2 Pick6 Wheel 1 with 2 with 3 with 4 with 5 with 6",
        std::string(100000, '$'),
        "$2 Win on " + std::string(50000, '1'),
        "$2 Exacta Wheel 1" + std::string(30, ' ') + "with 2",
    };
    for (const std::string& text : refused) {
        std::string error;
        EXPECT_FALSE(game.ticketList().listTicket(game.day(), text, &error)) << text;
        EXPECT_FALSE(error.empty()) << text;
    }
    EXPECT_TRUE(game.day().tickets.empty());
    game.pay();
    EXPECT_TRUE(test::readAll(dir / "tickets.dat").empty());
}

TEST_F(TypedInput, MultiRaceTicketsAreTakenOnlyWhereTheRaceOffersThem) {
    ASSERT_TRUE(addPlayer(game.day(), "Ann"));
    std::string error;
    EXPECT_FALSE(game.ticketList().listTicket(game.day(), "$2 DailyDouble Wheel 1 with 2", &error));
    EXPECT_EQ(error, "The Daily Double is sold in race 2 only.");
    reliability::playRace(game, {});
    EXPECT_TRUE(game.ticketList().listTicket(game.day(), "$2 DailyDouble Wheel 1 with 2", &error)) << error;
    EXPECT_FALSE(game.ticketList().listTicket(game.day(), "$2 Pick3 Wheel 1 with 2 with 3", &error));
    reliability::playRace(game, {});
    // Race 3 knows race 2's winner: a Daily Double bought now would be half a sure thing.
    const int raceTwoWinner = game.day().raceWinner[1];
    EXPECT_FALSE(game.ticketList().listTicket(
        game.day(), "$2 DailyDouble Wheel " + std::to_string(raceTwoWinner) + " with All", &error));
}

// The text front end takes a whole line; quoting keeps blanks, and whatever a line holds ends as
// one refused or one done command, with the files intact.
TEST_F(TypedInput, TextFrontEndLinesNeverBreakTheFiles) {
    std::ostringstream out, err;
    cli::CliPrompter cliPrompter(out, nullptr);
    SeededRandom cliRandom(10);
    Game cliGame(dir.path(), cliRandom, cliPrompter);
    ASSERT_TRUE(cliGame.startDay());
    cliGame.toteBoard();
    cli::CommandLine commands(cliGame, cliPrompter, out, err, true);
    const std::vector<std::string> lines = {
        "add-player \"Smith, John\"",
        "add-player \"Jo \xf0\x9f\x90\x8e\"",
        "add-player \xd7\xa9\xd7\x9c\xd7\x95\xd7\x9d",
        "add-player \"unterminated",
        "add-player \"\"",
        "add-player " + std::string(5000, 'x'),
        "add-player a\x1b"
        "b",
        "ticket $2 Win on 1,2",
        "ticket \"$2 Win on 1\"",
        "ticket $2 Win on 1 yes yes yes",
        "ticket $2 Exacta Box 123 # comment",
        "amount 99999999999999999999",
        "select -0",
        "select 1e3",
        "program \xff",
        std::string(70000, 'p'),
        "pay",
        "run yes",
    };
    for (const std::string& line : lines)
        commands.execute(line);
    EXPECT_TRUE(reliability::folderProblems(dir.path()).empty());
    auto players = reliability::playersOnDisk(dir.path());
    ASSERT_TRUE(players.has_value()) << test::readAll(dir / "players.dat");
    // The emoji and the Hebrew names, and "unterminated": an open quote runs to the line's end.
    EXPECT_EQ(players->size(), 3u);
    std::istringstream printed(out.str());
    std::string json;
    while (std::getline(printed, json))
        EXPECT_TRUE(cli::Json::accept(json)) << json.substr(0, 200);
}

} // namespace
