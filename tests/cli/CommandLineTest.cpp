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

struct CliFixture : ::testing::Test {
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

TEST(CommandLineSplit, KeepsQuotedWordsAndDropsComments) {
    EXPECT_EQ(cli::CommandLine::split("add-player \"Mary Ann\"  # the second"),
              (std::vector<std::string>{"add-player", "Mary Ann"}));
    EXPECT_TRUE(cli::CommandLine::split("   # only a comment").empty());
    EXPECT_EQ(cli::CommandLine::split("ticket $2 Win on 5\r"),
              (std::vector<std::string>{"ticket", "$2", "Win", "on", "5"}));
}

TEST_F(CliFixture, RaceShowsNumberDistanceAndPurse) {
    Json r = run("race");
    EXPECT_TRUE(r["ok"]);
    EXPECT_EQ(r["lblRaceNum"], "1");
    EXPECT_EQ(r["lblDistanceNum"], "1\u00BC Miles");
    EXPECT_EQ(r["lblGradeNum"].get<std::string>().front(), '$');
    EXPECT_EQ(r["lblFirstStep"], "Add a player to start betting");
    run("add-player Ann");
    EXPECT_EQ(run("race")["lblFirstStep"], "");
}

TEST_F(CliFixture, JockeyStandingsHeadingSitsOverItsColumns) {
    cli::CommandLine text(game, prompter, out, err, false);
    out.str("");
    text.execute("program");
    std::istringstream lines(out.str());
    std::string line;
    while (std::getline(lines, line) && line != "Jockey Standings") {
    }
    std::string heading, first;
    ASSERT_TRUE(std::getline(lines, heading) && std::getline(lines, first));
    EXPECT_EQ(heading.rfind("Name", 0), 0u);
    EXPECT_EQ(heading.size(), first.size()) << "Earnings ends where the figures end\n"
                                            << heading << "\n"
                                            << first;
}

TEST_F(CliFixture, BadCommandsFailClearlyAndChangeNothing) {
    std::string players = test::readAll(dir / "players.dat");
    for (const char* line : {"fly",
                             "race 3",
                             "select x",
                             "select 99",
                             "amount -1",
                             "amount 40000",
                             "ticket $2 Exacta",
                             "ticket $2 Exacta Box 1",
                             "grid trifecta 2",
                             "grid exacta 9",
                             "click cmdNope",
                             "delete-ticket 1 yes",
                             "ok",
                             "print 0 3",
                             "print 1 2 /dev/full",
                             "chances 13",
                             "chances x",
                             "chances 3 5",
                             "explain win",
                             "explain odds 9",
                             "explain ticket 1",
                             "ledger 1",
                             "ledger x"}) {
        Json r = run(line);
        EXPECT_FALSE(r["ok"]) << line;
        EXPECT_FALSE(r["error"].get<std::string>().empty()) << line;
        EXPECT_FALSE(err.str().empty()) << line;
    }
    EXPECT_EQ(test::readAll(dir / "players.dat"), players);
}

TEST_F(CliFixture, ChancesOfAnotherRaceLeaveTheBoardOnTheRaceAboutToBeRun) {
    const Json board = run("board");
    Json r = run("chances 3 200");
    ASSERT_TRUE(r["ok"]) << r.dump();
    EXPECT_EQ(r["race"], 3);
    EXPECT_EQ(r["races"], 200);
    ASSERT_EQ(r["entries"].size(), 8u);
    const RaceDay& day = game.day();
    EXPECT_EQ(r["entries"][7]["horse"],
              day.db.horses[static_cast<std::size_t>(day.card.raceHorse[2][7])].name);
    EXPECT_EQ(run("board"), board);
}

TEST_F(CliFixture, PlayersAreAddedSelectedAndDeletedWithTheirAnswers) {
    Json added = run("add-player Ann");
    ASSERT_TRUE(added["ok"]);
    run("add-player \"Bo Lee\"");
    EXPECT_EQ(test::readAll(dir / "players.dat"), "1,Ann,400\r\n2,Bo Lee,400\r\n");
    Json refused = run("add-player Smith, John");
    EXPECT_FALSE(refused["ok"]);
    Json selected = run("select 1");
    EXPECT_EQ(selected["lblBalance"], "400.00");
    Json unanswered = run("delete-player 1");
    EXPECT_FALSE(unanswered["ok"]) << "a question without an answer in a script is an error";
    EXPECT_EQ(run("players")["players"].size(), 2u);
    Json kept = run("delete-player 1 no");
    EXPECT_TRUE(kept["ok"]);
    EXPECT_EQ(kept["players"].size(), 2u);
    Json deleted = run("delete-player 1 yes");
    EXPECT_EQ(deleted["players"].size(), 1u);
    EXPECT_EQ(test::readAll(dir / "players.dat"), "2,Bo Lee,400\r\n");
}

TEST_F(CliFixture, TicketsArePricedPaidAndShownOnTheBoard) {
    run("add-player Ann");
    Json listed = run("ticket $2 Exacta Box 134");
    ASSERT_TRUE(listed["ok"]) << listed.dump();
    EXPECT_EQ(listed["lblTotTicketNum"], "$12");
    EXPECT_EQ(listed["lblTicketNumBets"], "6");
    EXPECT_EQ(listed["lstCombos"].size(), 6u);
    Json paid = run("pay");
    ASSERT_TRUE(paid["ok"]);
    EXPECT_TRUE(paid["lstTicket"][0]["paid"]);
    EXPECT_EQ(paid["lblBalance"], "388.00");
    auto ticketLines = test::readLines(dir / "tickets.dat");
    ASSERT_EQ(ticketLines.size(), 1u);
    EXPECT_EQ(ticketLines[0].substr(0, 18), "2125,1,2,Exacta,1,");
    Json board = run("board");
    EXPECT_EQ(board["posts"].size(), 8u);
}

TEST_F(CliFixture, BetEntryButtonsBuildATicket) {
    run("add-player Ann");
    for (const char* line :
         {"click cmdNext1", "click cmdTrifecta", "click cmdWheel", "click cmdNext2", "click cmdHorse 1",
          "click cmdWith", "click cmdHorse 2", "click cmdHorse 3", "click cmdWith", "click cmdAll"}) {
        Json r = run(line);
        ASSERT_TRUE(r["ok"]) << line << ": " << r.dump();
    }
    Json finish = run("click cmdFinish");
    ASSERT_TRUE(finish["ok"]) << finish.dump();
    Json tickets = run("tickets");
    ASSERT_EQ(tickets["lstTicket"].size(), 1u);
    EXPECT_EQ(tickets["lstTicket"][0]["text"], "$2 Trifecta Wheel 1 with 23 with All");
    Json unusable = run("click cmdWith");
    EXPECT_FALSE(unusable["ok"]);
}

TEST_F(CliFixture, RunShowsTheRaceChartPayoffsAndConfirmMovesOn) {
    run("add-player Ann");
    run("ticket $2 WPS on All");
    Json unanswered = run("run");
    EXPECT_FALSE(unanswered["ok"]) << "unpaid tickets ask a question";
    ASSERT_EQ(game.stage(), Stage::Results) << "the race ran all the same, as the answer defaults to No";
    game.confirmResults();
    game.toteBoard();

    run("ticket $2 WPS on All");
    Json r = run("run yes");
    ASSERT_TRUE(r["ok"]) << r.dump();
    EXPECT_EQ(r["chart"].size(), 8u);
    EXPECT_EQ(r["FinishOrder"].size(), 8u);
    EXPECT_EQ(r["calls"].size(), 3u);
    EXPECT_FALSE(r["payoffs"]["lblWin1Payoff"].get<std::string>().empty());
    EXPECT_EQ(r["lstWinners"].size(), 6u)
        << "WPS on every horse collects win, place twice and show three times";

    const std::string second = std::to_string(r["FinishOrder"][1].get<int>());
    const std::string fourth = std::to_string(r["FinishOrder"][3].get<int>());
    Json place = run("explain place " + second);
    EXPECT_EQ(place["label"], "lblPlace2Payoff");
    EXPECT_EQ(place["payoff"], r["payoffs"]["lblPlace2Payoff"]);
    EXPECT_FALSE(place["steps"].empty());
    EXPECT_EQ(run("explain trifecta 1")["label"], "lblTrifectaPayoff1");
    for (const std::string& bad :
         std::vector<std::string>{"explain place " + fourth, "explain dailydouble", "explain exotic"})
        EXPECT_FALSE(run(bad)["ok"]) << bad;
    Json ledger = run("ledger 2");
    EXPECT_EQ(ledger["all"]["wagered"], 48.0) << "only the paid tickets of race 2 count";
    EXPECT_EQ(ledger["all"]["takeout"], 12.0);
    Json next = run("ok");
    EXPECT_EQ(next["lblRaceNum"], "3");
}

TEST_F(CliFixture, ATwinTriCreditIsAnnouncedListedAndExchangedByItsNumber) {
    run("add-player Ann");
    ASSERT_TRUE(run("ticket $1 Twin-Tri Box All")["ok"]);
    Json first = run("run yes");
    ASSERT_EQ(first["exchanges"], Json::array({"Ann: Twin-Tri exchange for race 2"})) << first.dump();
    run("ok");
    Json held = run("tickets");
    ASSERT_EQ(held["credits"].size(), 1u);
    const std::string line = held["credits"][0];
    const std::string number =
        line.substr(line.find("credit ") + 7, line.find(',') - line.find("credit ") - 7);
    EXPECT_NE(line.find("if the race starts without it, it pays $"), std::string::npos) << line;
    EXPECT_FALSE(run("exchange 1")["ok"]) << "no such credit";
    Json entry = run("exchange " + number);
    EXPECT_EQ(entry["lblBetName"], "Twin-Tri");
    EXPECT_EQ(entry["lblBetAmount"], "1");
    ASSERT_TRUE(run("ticket $1 Twin-Tri Exchange " + number + " Box 123")["ok"]);
    run("pay");
    EXPECT_NE(run("tickets")["credits"][0].get<std::string>().find("exchanged by ticket"), std::string::npos);
}

TEST_F(CliFixture, ACommandWhoseQuestionHadNoAnswerStillShowsWhatItDid) {
    cli::CommandLine text(game, prompter, out, err, false);
    text.execute("add-player Ann");
    text.execute("ticket $2 Win on 1");
    out.str("");
    EXPECT_FALSE(text.execute("run"));
    EXPECT_NE(out.str().find("Race Chart"), std::string::npos) << "the race ran: its results are shown";
    EXPECT_NE(err.str().find("asked a question that had no answer"), std::string::npos);
}

TEST_F(CliFixture, ALineLongerThanSixtyFourKibIsSkippedWithAClearError) {
    const std::string atLimit = "race" + std::string(64 * 1024 - 4, ' ');
    std::istringstream in(atLimit + "\n" + atLimit + " \nrace\n");
    out.str("");
    EXPECT_EQ(commands->run(in), 1);
    std::string shown = out.str();
    EXPECT_EQ(std::count(shown.begin(), shown.end(), '\n'), 3) << "both races ran, between them the error";
    EXPECT_NE(err.str().find("error: line 2 is longer than 64 KiB; it was skipped"), std::string::npos);
}

TEST_F(CliFixture, PrintWritesOnePagePerRace) {
    Json r = run("print 3 4 " + (dir / "program.txt").string());
    ASSERT_TRUE(r["ok"]) << r.dump();
    std::string printed = test::readAll(dir / "program.txt");
    EXPECT_NE(printed.find("Race 3 Grade"), std::string::npos);
    EXPECT_NE(printed.find("Race 4 Grade"), std::string::npos);
    EXPECT_EQ(std::count(printed.begin(), printed.end(), '\f'), 1);
}

TEST_F(CliFixture, SettingsAreWrittenWithTheTrackRecordKept) {
    const std::string before = test::readAll(dir / "settings.dat");
    const std::string record = before.substr(before.rfind(',') + 1);
    Json r = run("settings 500 5");
    ASSERT_TRUE(r["ok"]);
    EXPECT_EQ(test::readAll(dir / "settings.dat"), "500,5,,," + record);
    EXPECT_FALSE(run("settings 0")["ok"]);
}

// The binary itself: a scripted day from a file, exit statuses and the impossible card.
struct CliBinary : ::testing::Test {
    test::TempDir dir;
    std::string cli() const { return std::string(STRIDEWELL_CLI) + " --data-dir " + dir.path().string(); }
    int runCli(const std::string& args, std::string& output) {
        return shell(cli() + " " + args + " 2>&1", output);
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
    test::copyBundledData(dir.path());
    std::string script = "add-player Ann\n";
    for (int race = 0; race < 12; ++race)
        script += "ticket $2 Win on " + std::to_string(race % 8 + 1) + "\npay\nrun\nok\n";
    test::writeAll(dir / "day.txt", script);
    std::string output;
    EXPECT_EQ(runCli("--seed 3 " + (dir / "day.txt").string(), output), 0) << output;
    EXPECT_NE(output.find("Top 10 Players"), std::string::npos);
    EXPECT_EQ(test::readLines(dir / "top10players.dat").size(), 1u);
    for (const char* special : {"  Daily Double ", "  Pick 3       ", "  Pick 6       "})
        EXPECT_NE(output.find(special), std::string::npos) << special << "in its own column";
}

TEST_F(CliBinary, FailedCommandsGiveExitStatusOne) {
    test::copyBundledData(dir.path());
    test::writeAll(dir / "bad.txt", "race\nnonsense\n");
    std::string output;
    EXPECT_EQ(runCli((dir / "bad.txt").string(), output), 1);
    EXPECT_NE(output.find("unknown command"), std::string::npos);
}

TEST_F(CliBinary, AFolderInUseByAnotherGameStopsWithStatusTwo) {
    test::copyBundledData(dir.path());
    const std::string players = test::readAll(dir / "players.dat");
    FolderLock held(dir.path());
    test::writeAll(dir / "s.txt", "add-player Ann\n");
    std::string output;
    EXPECT_EQ(runCli((dir / "s.txt").string(), output), 2);
    EXPECT_NE(output.find("is using the data folder"), std::string::npos) << output;
    EXPECT_EQ(test::readAll(dir / "players.dat"), players);
}

TEST_F(CliBinary, AClosedOutputEndsTheGameBetweenCommandsWithoutASignal) {
    test::copyBundledData(dir.path());
    std::string script;
    for (int n = 0; n < 400; ++n)
        script += "card\n"; // far more than a pipe holds
    script += "add-player Zed\n";
    test::writeAll(dir / "long.txt", script);
    std::string output;
    // The reader takes one byte and goes away; the game's status and errors are kept in files.
    shell("{ " + cli() + " " + (dir / "long.txt").string() + " 2>" + (dir / "errors").string() +
              "; echo $? >" + (dir / "status").string() + "; } | head -c 1",
          output);
    EXPECT_EQ(test::readAll(dir / "status"), "1\n") << "141 is death by SIGPIPE";
    EXPECT_EQ(test::readAll(dir / "errors"), "error: the output was closed; the game stopped after the last "
                                             "command\n");
    EXPECT_EQ(test::readAll(dir / "players.dat").find("Zed"), std::string::npos)
        << "no command runs once nobody reads its output";
}

TEST_F(CliBinary, AStableThatCannotFillTheCardStopsWithStatusTwo) {
    test::copyBundledData(dir.path());
    // Grade every horse "A" but 20: no grade has enough horses for twelve races.
    auto lines = test::readLines(dir / "horses.dat");
    std::string horses;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        std::string line = lines[i];
        auto comma = line.find(',');
        horses +=
            line.substr(0, comma) + (i < 20 ? ",A" : ",-") + line.substr(line.find(',', comma + 1)) + "\r\n";
    }
    test::writeAll(dir / "horses.dat", horses);
    test::writeAll(dir / "s.txt", "race\n");
    std::string output;
    EXPECT_EQ(runCli((dir / "s.txt").string(), output), 2);
    EXPECT_NE(output.find("reset"), std::string::npos) << output;
}

} // namespace
