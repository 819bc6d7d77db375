// The text front end: what only it can get wrong - reading command lines, refusing bad ones
// clearly, and printing what the windows would show. The rules behind the commands are the core's.

#include "cli/CommandLine.h"
#include "cli/CliPrompter.h"
#include "database/DataDirectory.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <regex>
#include <sstream>
#include <sys/wait.h>
#include <tuple>

using namespace sw;
using sw::cli::Json;

namespace {

struct Cli : ::testing::Test {
    test::TempDir dir;
    SeededRandom random{5};
    std::ostringstream out, err;
    cli::CliPrompter prompter{out, nullptr};
    Game game{dir.path(), random, prompter};
    std::unique_ptr<cli::CommandLine> commands;

    void SetUp() override {
        test::copyBundledData(dir.path());
        ASSERT_TRUE(game.startDay());
        game.toteBoard();
        commands = std::make_unique<cli::CommandLine>(game, prompter, out, err, true);
    }

    // Runs one command and returns its JSON object.
    Json run(const std::string& line) {
        out.str("");
        err.str("");
        commands->execute(line);
        std::string text = out.str();
        EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 1) << "one JSON line per command: " << text;
        return Json::parse(text);
    }
};

TEST_F(Cli, BadCommandsFailClearlyAndChangeNothing) {
    const std::string players = test::readAll(dir / "players.dat");
    std::istringstream bad(
        "fly|race 3|select x|select 99|amount -1|amount 40000|ticket $2 Exacta Box 1|"
        "grid trifecta 2|grid exacta 9|click cmdNope|click cmdWith|delete-ticket 1 yes|"
        "exchange 1|ok|print 0 3|print 1 2 /dev/full|chances 13|chances 3 5|explain win|"
        "explain odds 9|explain ticket 1|explain dailydouble|ledger 1|settings 0|chances ticket 1|"
        "add-player Smith, John|lab|lab nope|lab every-win 0|lab every-win 2 3|"
        "lab every-win --crowd dull|lab every-win --seed -1|lab every-win --stake 0%|"
        "lab every-win --vs|lab every-win --vs post1-win --vs longshot-win|"
        "lab \"win when odds >> 2\"");
    for (std::string line; std::getline(bad, line, '|');) {
        Json r = run(line);
        EXPECT_TRUE(!r["ok"] && !r["error"].get<std::string>().empty() && !err.str().empty()) << line;
    }
    EXPECT_EQ(test::readAll(dir / "players.dat"), players);
}

// The help, the usage errors and the refusals all come from the command table.
TEST_F(Cli, TheCommandTableMakesTheHelpTheUsageErrorsAndTheRefusals) {
    const std::string help = cli::CommandLine::helpText();
    std::size_t at = 0;
    for (const cli::Command& c : cli::CommandLine::commands()) {
        const std::string first =
            "\n  " + std::string(c.name) + (c.arguments.empty() ? " " : " " + std::string(c.arguments));
        at = help.find(first, at);
        EXPECT_NE(at, std::string::npos) << c.name << " is listed, in the table's order";
        // Too few arguments, and one too many, are told the usage.
        if (c.minArgs > 0) {
            EXPECT_EQ(run(std::string(c.name)).value("error", ""), cli::CommandLine::usage(c));
        }
        if (c.maxArgs != cli::Command::AnyCount) {
            std::string line(c.name);
            for (std::size_t i = 0; i <= c.maxArgs; ++i)
                line += " 1";
            EXPECT_EQ(run(line).value("error", ""), cli::CommandLine::usage(c));
        }
    }
    // Over the race's results every command the day does not allow then is refused in the words of
    // the availability table, whatever its arguments would have been.
    run("add-player Ann");
    // An answer where no question was asked is an error (the command may have run).
    for (const char* line :
         {"ticket $2 Win on 1 yes", "select-ticket 1 no", "click cmdNext1 yes", "board yes"})
        EXPECT_FALSE(run(line)["ok"]) << line;
    ASSERT_TRUE(run("run yes")["ok"]);
    int refused = 0;
    for (const cli::Command& c : cli::CommandLine::commands()) {
        if (!c.action || game.stageRefusal(*c.action).empty())
            continue;
        std::string line(c.name);
        for (std::size_t i = 0; i < c.minArgs; ++i)
            line += " 1";
        EXPECT_EQ(run(line).value("error", ""), cli::CommandLine::refusal(c, game.stageRefusal(*c.action)));
        ++refused;
    }
    EXPECT_GE(refused, 20);
}

// Two strategies side by side on the same days, from a copy of the stable: the folder is untouched.
TEST_F(Cli, TheLabComparesStrategiesWithoutTouchingTheFolder) {
    const auto before = test::folderContents(dir.path());
    Json r = run("lab every-win 2 --vs \"win when rank = 1\" --seed 9 --crowd track --stake 3");
    ASSERT_TRUE(r["ok"]) << r.dump();
    EXPECT_EQ(std::tuple(r["days"], r["crowd"], r["seed"]), std::tuple(Json(2), Json("track"), Json(9)));
    ASSERT_EQ(r["strategies"].size(), 2u);
    EXPECT_EQ(r["strategies"][1]["bankroll"].size(), 2u);
    EXPECT_EQ(r["strategies"][0]["tickets"], 2 * RacesPerDay);
    EXPECT_EQ(r["strategies"][0]["staked"], 2 * RacesPerDay * FieldSize * 3);
    EXPECT_EQ(r["strategies"][1]["strategy"], "win when rank = 1");
    EXPECT_EQ(test::folderContents(dir.path()), before);
}

// Whatever a typed line holds - an open quote, a comment, control and invalid UTF-8 bytes, a Windows
// line end, over 64 KiB - it is one command, printed as one line of JSON; names reach players.dat whole.
TEST_F(Cli, AnyTypedLineIsOneCommandAndKeepsTheFilesWhole) {
    const std::string atLimit = "race" + std::string(64 * 1024 - 4, ' ');
    std::istringstream in(
        atLimit + "\n" + atLimit + " \n" + std::string(70000, 'p') +
        "\nadd-player \"Jo \U0001F40E\" # a comment\nadd-player \u05E9\u05DC\u05D5\u05DD\r\n"
        "add-player \"unterminated\nadd-player a\033b\nticket $2 Win on 1,2\n"
        "amount 99999999999999999999\nselect 1e3\nprogram \xff\n");
    commands->run(in);
    std::istringstream shown(out.str());
    std::size_t printed = 0;
    for (std::string line; std::getline(shown, line); ++printed)
        EXPECT_TRUE(Json::accept(line)) << line;
    EXPECT_EQ(printed, 11u);
    EXPECT_NE(err.str().find("error: line 2 is longer than 64 KiB; it was skipped"), std::string::npos);
    EXPECT_NE(err.str().find("error: line 3 is longer than 64 KiB; it was skipped"), std::string::npos);
    // An open quote runs to the line's end.
    EXPECT_EQ(test::readLines(dir / "players.dat"),
              (std::vector<std::string>{"1,Jo \U0001F40E,400", "2,\u05E9\u05DC\u05D5\u05DD,400",
                                        "3,unterminated,400"}));
}

// A race's betting typed as a script, each command checked at one field of the JSON it printed.
TEST_F(Cli, CommandsPrintWhatTheWindowsShow) {
    const test::TempDir printouts; // never the data folder, which print refuses
    // The command, a JSON pointer into what it printed, and the value there.
    const std::vector<std::tuple<std::string, std::string, Json>> steps = {
        {"add-player Ann", "/player/cmbBettor", "Ann"},
        {"add-player \"Bo Lee\"", "/player/cmbPlayerId", "2"},
        {"delete-player 1 no", "/players/0/cmbBettor", "Ann"},
        {"delete-player 1 yes", "/players/0/cmbBettor", "Bo Lee"},
        {"ticket $2 Win on 5", "/ticket/text", "$2 Win on 5"},
        {"print 3 4 " + (printouts / "program.txt").string(), "/ok", true},
        {"print 3 4 " + (printouts / "program.txt").string() + " no", "/saved", false},
        {"print 3 4 " + (printouts / "program.txt").string() + " yes", "/saved", true},
        {"chances 3 200", "/entries/7/post", 8},
        {"race", "/lblRaceNum", "1"}, // the chances leave the day on the race about to be run
        {"chances ticket 1", "/ticket", "$2 Win on 5"},
        // The bet entry's buttons by name build the same ticket a window would.
        {"click cmdNext1", "/tabBets", 1},
        {"click cmdExacta", "/lblBetName", "Exacta"},
        {"click cmdWheel", "/lblBetKind", "Wheel"},
        {"click cmdNext2", "/tabBets", 2},
        {"click cmdHorse 1", "/lblPicks", "1"},
        {"click cmdWith", "/CurrentLeg", 2},
        {"click cmdAll", "/usable/cmdFinish", true},
        {"click cmdFinish", "/tabBets", 0},
        {"tickets", "/lstTicket/1/text", "$2 Exacta Wheel 1 with All"},
        {"settings 500 5", "/ok", true},
    };
    for (const auto& [line, pointer, expected] : steps) {
        Json r = run(line);
        const Json::json_pointer field(pointer);
        EXPECT_EQ(r.contains(field) ? r.at(field) : r, expected) << line << " " << pointer;
    }
    // Two races, each on its own page under its heading.
    const std::string printed = test::readAll(printouts / "program.txt");
    EXPECT_TRUE(printed.find("Race 3   Purse $") < printed.find('\f') &&
                printed.find('\f') < printed.find("Race 4   Purse $"));
    EXPECT_EQ(std::count(printed.begin(), printed.end(), '\f'), 1);

    // As text, an unpaid ticket's question goes unanswered, yet the race runs and its results show.
    run("ticket $2 Win on 1");
    out.str("");
    EXPECT_FALSE(cli::CommandLine(game, prompter, out, err, false).execute("run"));
    EXPECT_NE(out.str().find("Race Chart"), std::string::npos);
    EXPECT_NE(err.str().find("asked a question that had no answer"), std::string::npos);
}

// Adding a player or listing a ticket prints what it added and the new totals, never the whole list
// again (10,000 additions printed 2.24 GB); the players and tickets commands still print it.
TEST_F(Cli, EachAdditionPrintsWhatItAddedNotTheWholeList) {
    cli::CommandLine text(game, prompter, out, err, false);
    auto printed = [&](const std::string& line) {
        out.str("");
        EXPECT_TRUE(text.execute(line)) << line << ": " << err.str();
        std::vector<std::string> lines;
        std::istringstream shown(out.str());
        for (std::string one; std::getline(shown, one);)
            lines.push_back(one);
        return lines;
    };
    for (const char* name : {"Ann", "Bo", "Cy"})
        printed(std::string("add-player ") + name);
    EXPECT_EQ(
        printed("add-player Di"),
        (std::vector<std::string>{">   4  Di                            400.00", "Current Balance: 400.00"}));
    printed("ticket $2 Win on 1");
    printed("ticket $2 Win on 2");
    const std::vector<std::string> listed = printed("ticket $2 Exacta Box 12");
    ASSERT_EQ(listed.size(), 4u);
    EXPECT_TRUE(listed[0].starts_with("> 3 [ ] $2 Exacta Box 12 ")) << listed[0];
    EXPECT_EQ(std::vector<std::string>(listed.begin() + 1, listed.end()),
              (std::vector<std::string>{"Combinations: 1-2 2-1",
                                        "Ticket Bets 2   Ticket Total $4   Total # of Bets 4   Total Paid $8",
                                        "Current Balance: 400.00"}));
    EXPECT_EQ(printed("players").size(), 5u) << "the whole list, and the balance";
    EXPECT_EQ(printed("tickets").size(), 6u) << "the whole list, the combinations, totals and balance";
}

// The binary itself: scripted days from a file, and their exit statuses.
struct CliBinary : ::testing::Test {
    test::TempDir dir;
    std::string output;
    void SetUp() override { test::copyBundledData(dir.path()); }
    std::string cli() const { return std::string(STRIDEWELL_CLI) + " --data-dir " + dir.path().string(); }
    // Runs a shell command; returns its exit status and keeps what it printed in output.
    int shell(const std::string& command) {
        const int status = std::system((command + " >" + (dir / "output").string() + " 2>&1").c_str());
        output = test::readAll(dir / "output");
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
};

// A start that failed gives status 2 and changes nothing, and as JSON it is one object that says so and why
// (one that went on with messages is the failed-write day's first line). A whole day's status 0, and 1
// for a day with a failed command, are the stored days' own checks.
TEST_F(CliBinary, AFailedStartGivesItsStatusAndIsOneJsonObjectWithEverythingItSaid) {
    const std::string players = test::readAll(dir / "players.dat");
    test::writeAll(dir / "script.txt", "add-player Bo\n");
    const std::string play = "{ " + cli() + " --json " + (dir / "script.txt").string() + " 2>/dev/null; }";
    {
        FolderLock held(dir.path());
        EXPECT_EQ(shell(play), 2) << output;
    }
    EXPECT_EQ(test::readAll(dir / "players.dat"), players);
    std::filesystem::remove(dir / "horses.dat");
    test::writeAll(dir / "script.txt", "");
    EXPECT_EQ(shell(play), 2);
    ASSERT_TRUE(Json::accept(output)) << output;
    const Json r = Json::parse(output);
    EXPECT_EQ(std::tuple(r["command"], r["ok"], r.contains("error")),
              std::tuple(Json("start"), Json(false), true));
    EXPECT_NE(r.value("messages", Json::array()).dump().find("horses.dat"), std::string::npos) << output;
}

TEST_F(CliBinary, OnlyATerminalGetsThePromptAndLineEditing) {
    // "\033[A" is the Up key: it brings back the last line typed.
    test::writeAll(dir / "typed.txt", "race\n\033[A\nquit\n");
    const std::string typed = " <" + (dir / "typed.txt").string();
    ASSERT_EQ(shell("script -qec '" + cli() + " --seed 3' /dev/null" + typed), 0) << output;
    const std::regex prompt("race 1 betting> race");
    EXPECT_EQ(
        std::distance(std::sregex_iterator(output.begin(), output.end(), prompt), std::sregex_iterator()), 2)
        << output;
    // A pipe reads its lines as they are: no prompt, and the escape is part of an unknown command.
    EXPECT_EQ(shell(cli() + " --seed 3" + typed), 1) << output;
    EXPECT_EQ(output.find("betting>"), std::string::npos) << output;
    // A wrong command line is refused before any game starts.
    EXPECT_EQ(shell(cli() + " --seed 12abc </dev/null"), 2) << output;
    EXPECT_NE(output.find("not '12abc'"), std::string::npos) << output;
}

TEST_F(CliBinary, AClosedOutputEndsTheGameBetweenCommandsWithoutASignal) {
    std::string script;
    for (int n = 0; n < 400; ++n)
        script += "card\n"; // far more than a pipe holds
    test::writeAll(dir / "long.txt", script + "add-player Zed\n");
    // The reader takes one byte and goes away; the game's status and errors are kept in files.
    shell("{ " + cli() + " " + (dir / "long.txt").string() + " 2>" + (dir / "errors").string() +
          "; echo $? >" + (dir / "status").string() + "; } | head -c 1");
    EXPECT_EQ(test::readAll(dir / "status"), "1\n") << "141 is death by SIGPIPE";
    EXPECT_EQ(test::readAll(dir / "players.dat").find("Zed"), std::string::npos)
        << "no command runs once nobody reads its output";
}

} // namespace
