// The text front end: what only it can get wrong - reading command lines, refusing bad ones
// clearly, and printing what the windows would show. The rules behind each command are tested
// with their subsystems; the day's flow with Game.

#include "cli/CommandLine.h"
#include "cli/CliPrompter.h"
#include "database/DataDirectory.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstdio>
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
        "fly|race 3|select x|select 99|amount -1|amount 40000|ticket $2 Exacta|"
        "ticket $2 Exacta Box 1|grid trifecta 2|grid exacta 9|click cmdNope|click cmdWith|"
        "delete-ticket 1 yes|exchange 1|ok|print 0 3|print 1 2 /dev/full|chances 13|chances x|"
        "chances 3 5|explain win|explain odds 9|explain ticket 1|ledger 1|ledger x|settings 0|"
        "add-player Smith, John");
    for (std::string line; std::getline(bad, line, '|');) {
        Json r = run(line);
        EXPECT_FALSE(r["ok"]) << line;
        EXPECT_FALSE(r["error"].get<std::string>().empty()) << line;
        EXPECT_FALSE(err.str().empty()) << line;
    }
    EXPECT_EQ(test::readAll(dir / "players.dat"), players);
}

// Whatever a typed line holds - quotes left open, commas, control and invalid UTF-8 bytes, huge
// words - it ends as one refused or one done command, printed as one line of JSON, and the names
// that are taken reach players.dat intact.
TEST_F(Cli, AnyTypedLineIsOneCommandAndKeepsTheFilesWhole) {
    std::istringstream lines(
        "add-player \"Smith, John\"|add-player \"Jo \U0001F40E\"|add-player \u05E9\u05DC\u05D5\u05DD|"
        "add-player \"unterminated|add-player \"\"|add-player a\033b|ticket $2 Win on 1,2|ticket \"$2 Win on "
        "1\"|ticket $2 Win on 1 yes yes yes|ticket $2 Exacta Box 123 # comment|"
        "amount 99999999999999999999|select -0|select 1e3|program \xff|pay|run yes");
    run("add-player " + std::string(5000, 'x'));
    run(std::string(70000, 'p'));
    for (std::string line; std::getline(lines, line, '|');)
        run(line);
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

TEST_F(Cli, RunShowsTheChartPayoffsWorkingsAndLedger) {
    run("add-player Ann");
    run("ticket $2 WPS on All");
    Json r = run("run yes");
    ASSERT_TRUE(r["ok"]) << r.dump();
    EXPECT_EQ(
        std::vector({r["chart"].size(), r["FinishOrder"].size(), r["calls"].size(), r["lstWinners"].size()}),
        std::vector<std::size_t>({8, 8, 3, 6}))
        << "WPS on every horse collects win, place twice and show three times";

    const std::string second = std::to_string(r["FinishOrder"][1].get<int>());
    const std::string fourth = std::to_string(r["FinishOrder"][3].get<int>());
    Json place = run("explain place " + second);
    EXPECT_EQ(place["label"], "lblPlace2Payoff");
    EXPECT_EQ(place["payoff"], r["payoffs"]["lblPlace2Payoff"]);
    EXPECT_FALSE(place["steps"].empty());
    EXPECT_EQ(run("explain trifecta 1")["label"], "lblTrifectaPayoff1");
    for (const std::string& bad : {"explain place " + fourth, std::string("explain dailydouble")})
        EXPECT_FALSE(run(bad)["ok"]) << bad;
    Json ledger = run("ledger 1");
    EXPECT_EQ(ledger["all"]["wagered"], 48.0);
    EXPECT_EQ(ledger["all"]["takeout"], 12.0);
    EXPECT_EQ(run("ok")["lblRaceNum"], "2");
}

TEST_F(Cli, ATwinTriCreditIsAnnouncedListedAndExchangedByItsNumber) {
    run("add-player Ann");
    run("ticket $1 Twin-Tri Box All");
    ASSERT_EQ(run("run yes")["exchanges"], Json::array({"Ann: Twin-Tri exchange for race 2"}));
    run("ok");
    const std::string line = run("tickets")["credits"][0];
    const std::string number = line.substr(line.find("credit ") + 7, 4);
    EXPECT_NE(line.find("(Twin-Tri Exchange " + number + "); if the race starts without it, it pays $"),
              std::string::npos)
        << line;
    Json entry = run("exchange " + number);
    EXPECT_EQ(entry["lblBetName"], "Twin-Tri");
    EXPECT_EQ(entry["lblBetAmount"], "1");
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

    std::istringstream program(runAsText("program"));
    std::string line, heading, first;
    while (std::getline(program, line) && line != "Jockey Standings") {
    }
    ASSERT_TRUE(std::getline(program, heading) && std::getline(program, first));
    EXPECT_EQ(heading.rfind("Name", 0), 0u);
    EXPECT_EQ(heading.size(), first.size()) << "Earnings ends where the figures end\n"
                                            << heading << "\n"
                                            << first;

    runAsText("add-player Ann");
    runAsText("ticket $2 Win on 1");
    EXPECT_NE(runAsText("run", false).find("Race Chart"), std::string::npos)
        << "the race ran: its results are shown";
    EXPECT_NE(err.str().find("asked a question that had no answer"), std::string::npos);
}

TEST_F(Cli, ALineLongerThanSixtyFourKibIsSkippedWithAClearError) {
    const std::string atLimit = "race" + std::string(64 * 1024 - 4, ' ');
    std::istringstream in(atLimit + "\n" + atLimit + " \nrace\n");
    out.str("");
    EXPECT_EQ(commands->run(in), 1);
    std::string shown = out.str();
    EXPECT_EQ(std::count(shown.begin(), shown.end(), '\n'), 3) << "both races ran, between them the error";
    EXPECT_NE(err.str().find("error: line 2 is longer than 64 KiB; it was skipped"), std::string::npos);
}

// The binary itself: a scripted day from a file, and its exit statuses.
struct CliBinary : ::testing::Test {
    test::TempDir dir;
    void SetUp() override { test::copyBundledData(dir.path()); }
    std::string cli() const { return std::string(STRIDEWELL_CLI) + " --data-dir " + dir.path().string(); }
    // Runs a script; returns the exit status and appends stdout and stderr to output.
    int runScript(const std::string& args, const std::string& script, std::string& output) {
        test::writeAll(dir / "script.txt", script);
        return shell(cli() + " " + args + " " + (dir / "script.txt").string() + " 2>&1", output);
    }
    static int shell(const std::string& command, std::string& output) {
        FILE* pipe = popen(command.c_str(), "r");
        char buf[4096];
        std::size_t n;
        while ((n = fread(buf, 1, sizeof buf, pipe)) > 0)
            output.append(buf, n);
        int status = pclose(pipe);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
};

TEST_F(CliBinary, PlaysAWholeDayFromAScript) {
    std::string script = "add-player Ann\n";
    for (int race = 0; race < 12; ++race)
        script += "ticket $2 Win on " + std::to_string(race % 8 + 1) + "\npay\nrun\nok\n";
    std::string output;
    EXPECT_EQ(runScript("--seed 3", script, output), 0) << output;
    EXPECT_NE(output.find("Top 10 Players"), std::string::npos);
    EXPECT_EQ(test::readLines(dir / "top10players.dat").size(), 1u);
    for (const char* special : {"  Daily Double ", "  Pick 3       ", "  Pick 6       "})
        EXPECT_NE(output.find(special), std::string::npos) << special << "in its own column";
}

TEST_F(CliBinary, FailuresGiveTheirExitStatus) {
    std::string output;
    EXPECT_EQ(runScript("", "race\nnonsense\n", output), 1);
    EXPECT_NE(output.find("unknown command"), std::string::npos) << output;

    const std::string players = test::readAll(dir / "players.dat");
    {
        FolderLock held(dir.path());
        output.clear();
        EXPECT_EQ(runScript("", "add-player Ann\n", output), 2);
        EXPECT_NE(output.find("is using the data folder"), std::string::npos) << output;
        EXPECT_EQ(test::readAll(dir / "players.dat"), players);
    }

    test::writeAll(dir / "horses.dat", ""); // a stable that cannot fill the card
    output.clear();
    EXPECT_EQ(runScript("", "race\n", output), 2);
    EXPECT_NE(output.find("reset"), std::string::npos) << output;
}

TEST_F(CliBinary, AClosedOutputEndsTheGameBetweenCommandsWithoutASignal) {
    std::string script;
    for (int n = 0; n < 400; ++n)
        script += "card\n"; // far more than a pipe holds
    test::writeAll(dir / "long.txt", script + "add-player Zed\n");
    std::string output;
    // The reader takes one byte and goes away; the game's status and errors are kept in files.
    shell("{ " + cli() + " " + (dir / "long.txt").string() + " 2>" + (dir / "errors").string() +
              "; echo $? >" + (dir / "status").string() + "; } | head -c 1",
          output);
    EXPECT_EQ(test::readAll(dir / "status"), "1\n") << "141 is death by SIGPIPE";
    EXPECT_EQ(test::readAll(dir / "errors"),
              "error: the output was closed; the game stopped after the last command\n");
    EXPECT_EQ(test::readAll(dir / "players.dat").find("Zed"), std::string::npos)
        << "no command runs once nobody reads its output";
}

} // namespace
