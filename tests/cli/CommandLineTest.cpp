// The text front end: what only it can get wrong - reading command lines, refusing bad ones
// clearly, and printing what the windows would show. The rules behind each command are tested
// with their subsystems; the day's flow with Game.

#include "cli/CommandLine.h"
#include "cli/CliPrompter.h"
#include "database/DataDirectory.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>
#include <sys/wait.h>

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
    // The text a command prints without --json.
    std::string runAsText(const std::string& line, bool expectOk = true) {
        out.str("");
        EXPECT_EQ(cli::CommandLine(game, prompter, out, err, false).execute(line), expectOk) << line;
        return out.str();
    }
};

TEST(CommandLineSplit, KeepsQuotedWordsAndDropsComments) {
    EXPECT_EQ(cli::CommandLine::split("add-player \"Mary Ann\"  # the second"),
              (std::vector<std::string>{"add-player", "Mary Ann"}));
    EXPECT_TRUE(cli::CommandLine::split("   # only a comment").empty());
    EXPECT_EQ(cli::CommandLine::split("ticket $2 Win on 5\r"),
              (std::vector<std::string>{"ticket", "$2", "Win", "on", "5"}));
}

TEST_F(Cli, BadCommandsFailClearlyAndChangeNothing) {
    const std::string players = test::readAll(dir / "players.dat");
    std::istringstream bad(
        "fly|race 3|select x|select 99|amount -1|amount 40000|ticket $2 Exacta|ticket $2 Exacta Box 1|"
        "grid trifecta 2|grid exacta 9|click cmdNope|click cmdWith|delete-ticket 1 yes|exchange 1|ok|print 0 "
        "3|"
        "print 1 2 /dev/full|chances 13|chances x|chances 3 5|explain win|explain odds 9|explain ticket 1|"
        "explain dailydouble|ledger 1|ledger x|settings 0|add-player Smith, John");
    for (std::string line; std::getline(bad, line, '|');) {
        Json r = run(line);
        EXPECT_FALSE(r["ok"]) << line;
        EXPECT_FALSE(r["error"].get<std::string>().empty()) << line;
        EXPECT_FALSE(err.str().empty()) << line;
    }
    EXPECT_EQ(test::readAll(dir / "players.dat"), players);
}

// Whatever a typed line holds - quotes left open, commas, control and invalid UTF-8 bytes, huge
// words, more than 64 KiB - it ends as one refused, skipped or done command, printed as one line of
// JSON, and the names that are taken reach players.dat intact.
TEST_F(Cli, AnyTypedLineIsOneCommandAndKeepsTheFilesWhole) {
    const std::string atLimit = "race" + std::string(64 * 1024 - 4, ' ');
    std::istringstream in(
        "add-player " + std::string(5000, 'x') + "\n" + atLimit + "\n" + atLimit + " \n" +
        std::string(70000, 'p') +
        "\nadd-player \"Smith, John\"\nadd-player \"Jo \U0001F40E\"\nadd-player \u05E9\u05DC\u05D5\u05DD\n"
        "add-player \"unterminated\nadd-player \"\"\nadd-player a\033b\nticket $2 Win on 1,2\n"
        "ticket \"$2 Win on 1\"\nticket $2 Win on 1 yes yes yes\nticket $2 Exacta Box 123 # comment\n"
        "amount 99999999999999999999\nselect -0\nselect 1e3\nprogram \xff\npay\nrun yes\n");
    commands->run(in);
    std::istringstream shown(out.str());
    std::size_t printed = 0;
    for (std::string line; std::getline(shown, line); ++printed)
        EXPECT_TRUE(Json::accept(line)) << line;
    EXPECT_EQ(printed, 20u);
    EXPECT_NE(err.str().find("error: line 3 is longer than 64 KiB; it was skipped"), std::string::npos);
    EXPECT_NE(err.str().find("error: line 4 is longer than 64 KiB; it was skipped"), std::string::npos);
    const auto players = test::readLines(dir / "players.dat");
    ASSERT_EQ(players.size(), 3u);
    EXPECT_EQ(players[0] + "|" + players[1], "1,Jo \U0001F40E,400|2,\u05E9\u05DC\u05D5\u05DD,400");
    EXPECT_TRUE(players[2].starts_with("3,unterminated,")) << "an open quote runs to the line's end";
}

// A race's betting typed as a script, each command checked at one field of the JSON it printed.
TEST_F(Cli, CommandsPrintWhatTheWindowsShow) {
    struct Step {
        std::string line;
        std::string field; // a JSON pointer
        Json expected;
    };
    const std::vector<Step> steps = {
        {"race", "/lblRaceNum", "1"},
        {"race", "/lblDistanceNum", "1\u00BC Miles"},
        {"race", "/lblFirstStep", "Add a player to start betting"},
        {"add-player Ann", "/players/0/cmbBettor", "Ann"},
        {"race", "/lblFirstStep", ""},
        {"add-player \"Bo Lee\"", "/players/1/cmbBettor", "Bo Lee"},
        {"delete-player 1", "/ok", false}, // a question without an answer in a script is an error
        {"delete-player 1 no", "/players/0/cmbBettor", "Ann"},
        {"delete-player 1 yes", "/players/0/cmbBettor", "Bo Lee"},
        {"select 2", "/lblBalance", "400.00"},
        {"ticket $2 Exacta Box 134", "/lblTotTicketNum", "$12"},
        {"tickets", "/lblTicketNumBets", "6"},
        {"tickets", "/lstCombos/5", "4-3"},
        {"pay", "/lstTicket/0/paid", true},
        {"pay", "/lblBalance", "388.00"},
        {"board", "/posts/7/lblTotHorse", "8"},
        {"chances 3 200", "/entries/7/post", 8},
        {"race", "/lblRaceNum", "1"}, // the chances leave the day on the race about to be run
        // The bet entry's buttons by name build the same ticket a window would.
        {"click cmdNext1", "/tabBets", 1},
        {"click cmdTrifecta", "/lblBetName", "Trifecta"},
        {"click cmdWheel", "/lblBetKind", "Wheel"},
        {"click cmdNext2", "/tabBets", 2},
        {"click cmdHorse 1", "/lblPicks", "1"},
        {"click cmdWith", "/CurrentLeg", 2},
        {"click cmdHorse 2", "/lblPicks", "2"},
        {"click cmdHorse 3", "/lblPicks", "23"},
        {"click cmdWith", "/CurrentLeg", 3},
        {"click cmdAll", "/usable/cmdFinish", true},
        {"click cmdFinish", "/tabBets", 0},
        {"tickets", "/lstTicket/1/text", "$2 Trifecta Wheel 1 with 23 with All"},
        {"settings 500 5", "/ok", true},
    };
    const std::string settings = test::readAll(dir / "settings.dat");
    for (const Step& step : steps) {
        Json r = run(step.line);
        const Json::json_pointer field(step.field);
        ASSERT_TRUE(r.contains(field)) << step.line << " " << step.field << ": " << r.dump();
        EXPECT_EQ(r.at(field), step.expected) << step.line << " " << step.field;
    }
    EXPECT_EQ(test::readAll(dir / "players.dat"), "2,Bo Lee,388\r\n");
    EXPECT_EQ(test::readLines(dir / "tickets.dat")[0].substr(0, 18), "2125,2,2,Exacta,1,");
    EXPECT_EQ(test::readAll(dir / "settings.dat"), "500,5,,," + settings.substr(settings.rfind(',') + 1))
        << "the track record is kept";
}

// A race run with WPS on every horse and a Twin-Tri box of every horse, sure to collect: the chart,
// the payoffs and their workings, the ledger, and the Twin-Tri credit announced, listed and exchanged.
TEST_F(Cli, RunShowsTheChartPayoffsWorkingsLedgerAndCredits) {
    run("add-player Ann");
    run("ticket $2 WPS on All");
    run("ticket $1 Twin-Tri Box All");
    Json r = run("run yes");
    ASSERT_TRUE(r["ok"]) << r.dump();
    EXPECT_EQ(
        std::vector({r["chart"].size(), r["FinishOrder"].size(), r["calls"].size(), r["lstWinners"].size()}),
        std::vector<std::size_t>({8, 8, 3, 6}))
        << "WPS on every horse collects win, place twice and show three times";
    EXPECT_EQ(r["exchanges"], Json::array({"Ann: Twin-Tri exchange for race 2"}));

    const auto post = [&](int place) { return std::to_string(r["FinishOrder"][place].get<int>()); };
    Json place = run("explain place " + post(1));
    EXPECT_EQ(place["label"], "lblPlace2Payoff");
    EXPECT_EQ(place["payoff"], r["payoffs"]["lblPlace2Payoff"]);
    EXPECT_FALSE(place["steps"].empty());
    EXPECT_EQ(run("explain trifecta 1")["label"], "lblTrifectaPayoff1");
    EXPECT_FALSE(run("explain place " + post(3))["ok"]) << "the fourth horse has no place payoff";
    // 24 bets of $2 and 336 combinations of $1, a quarter of it kept.
    Json ledger = run("ledger 1");
    EXPECT_EQ(ledger["all"]["wagered"], 384.0);
    EXPECT_EQ(ledger["all"]["takeout"], 96.0);
    EXPECT_EQ(run("ok")["lblRaceNum"], "2");

    const std::string line = run("tickets")["credits"][0];
    const std::string number = line.substr(line.find("credit ") + 7, 4);
    EXPECT_NE(line.find("(Twin-Tri Exchange " + number + "); if the race starts without it, it pays $"),
              std::string::npos)
        << line;
    Json entry = run("exchange " + number);
    EXPECT_EQ(entry["lblBetName"].get<std::string>() + " " + entry["lblBetAmount"].get<std::string>(),
              "Twin-Tri 1");
    ASSERT_TRUE(run("ticket $1 Twin-Tri Exchange " + number + " Box 123")["ok"]);
    run("pay");
    EXPECT_NE(run("tickets")["credits"][0].get<std::string>().find("exchanged by ticket"), std::string::npos);
}

TEST_F(Cli, PrintedAndTextOutputKeepTheirLayoutAndShowWhatAnUnansweredCommandDid) {
    EXPECT_TRUE(run("print 3 4 " + (dir / "program.txt").string())["ok"]);
    const std::string printed = test::readAll(dir / "program.txt");
    EXPECT_NE(printed.find("Race 3 Grade"), std::string::npos);
    EXPECT_NE(printed.find("Race 4 Grade"), std::string::npos);
    EXPECT_EQ(std::count(printed.begin(), printed.end(), '\f'), 1);

    // The standings' heading lines up with the figures under it: Earnings ends where they end.
    const std::string program = runAsText("program");
    std::istringstream standings(program.substr(program.find("Jockey Standings\n") + 17));
    std::string heading, first;
    ASSERT_TRUE(std::getline(standings, heading) && std::getline(standings, first));
    EXPECT_EQ(heading.rfind("Name", 0), 0u);
    EXPECT_EQ(heading.size(), first.size()) << heading << "\n" << first;

    runAsText("add-player Ann");
    runAsText("ticket $2 Win on 1");
    EXPECT_NE(runAsText("run", false).find("Race Chart"), std::string::npos)
        << "the race ran: its results are shown";
    EXPECT_NE(err.str().find("asked a question that had no answer"), std::string::npos);
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
    int runScript(const std::string& script) {
        test::writeAll(dir / "script.txt", script);
        return shell(cli() + " --seed 3 " + (dir / "script.txt").string());
    }
};

TEST_F(CliBinary, PlaysAWholeDayFromAScriptAndFailuresGiveTheirExitStatus) {
    std::string day = "add-player Ann\n";
    for (int race = 0; race < 12; ++race)
        day += "ticket $2 Win on " + std::to_string(race % 8 + 1) + "\npay\nrun\nok\n";
    EXPECT_EQ(runScript(day), 0) << output;
    EXPECT_NE(output.find("Top 10 Players"), std::string::npos);
    EXPECT_EQ(test::readLines(dir / "top10players.dat").size(), 1u);
    for (const char* special : {"  Daily Double ", "  Pick 3       ", "  Pick 6       "})
        EXPECT_NE(output.find(special), std::string::npos) << special << "in its own column";

    EXPECT_EQ(runScript("race\nnonsense\n"), 1);
    EXPECT_NE(output.find("unknown command"), std::string::npos) << output;
    const std::string players = test::readAll(dir / "players.dat");
    {
        FolderLock held(dir.path());
        EXPECT_EQ(runScript("add-player Bo\n"), 2);
        EXPECT_NE(output.find("is using the data folder"), std::string::npos) << output;
        EXPECT_EQ(test::readAll(dir / "players.dat"), players);
    }
    test::writeAll(dir / "horses.dat", ""); // a stable that cannot fill the card
    EXPECT_EQ(runScript("race\n"), 2);
    EXPECT_NE(output.find("reset"), std::string::npos) << output;
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
    EXPECT_EQ(test::readAll(dir / "errors"),
              "error: the output was closed; the game stopped after the last command\n");
    EXPECT_EQ(test::readAll(dir / "players.dat").find("Zed"), std::string::npos)
        << "no command runs once nobody reads its output";
}

} // namespace
