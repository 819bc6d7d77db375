// The text front end's command line and its terminal prompt.

#include "cli/Options.h"
#include "cli/Terminal.h"
#include "support/GameDay.h"

#include <gtest/gtest.h>

using namespace sw;

namespace {

using Action = sw::cli::Options::Action;

TEST(CliOptions, ReadsWhatWasAskedAndRefusesWhatCannotBeMeant) {
    const struct {
        std::vector<std::string> args;
        Action action;
        std::optional<std::uint64_t> seed;
        std::string script;
        std::string date;
    } read[] = {
        {{}, Action::Play, std::nullopt, "", ""},
        {{"--date", "2024-02-29"}, Action::Play, std::nullopt, "", "2/29/2024"},
        {{"--date=0999-12-01"}, Action::Play, std::nullopt, "", "12/1/999"},
        {{"-s", "0", "day.txt"}, Action::Play, 0, "day.txt", ""},
        {{"day.txt", "--seed", "7"}, Action::Play, 7, "day.txt", ""}, // options after SCRIPT
        {{"--se", "3"}, Action::Play, 3, "", ""},                     // an unambiguous abbreviation
        {{"--", "-odd-name.txt"}, Action::Play, std::nullopt, "-odd-name.txt", ""},
        {{"--seed", "4", "-h"}, Action::Help, 4, "", ""},
        {{"--version", "--help"}, Action::Version, std::nullopt, "", ""}, // the first one asked wins
    };
    for (const auto& c : read) {
        const cli::Options o = cli::parseOptions(c.args);
        const std::string line = c.args.empty() ? "" : c.args[0];
        EXPECT_EQ(std::tuple(o.action, o.seed, o.date, o.script.value_or("")),
                  std::tuple(c.action, c.seed, c.date, c.script))
            << line << " " << o.error;
    }
    // Refused, with words that say why (a part of them here).
    const std::pair<std::vector<std::string>, std::string> refused[] = {
        {{"--date", "2023-02-29"}, "not '2023-02-29'"}, // no such day
        {{"--date", "2024-13-01"}, "YYYY-MM-DD"},
        {{"--date", "-123-05-06"}, "YYYY-MM-DD"},
        {{"--date", "2024-2-29"}, "YYYY-MM-DD"},
        {{"--seed", "12abc"}, "a whole number from 0 to 18446744073709551615, not '12abc'"},
        {{"--seed"}, "'--seed' needs a value"},
        {{"-s"}, "needs a value"},
        {{"--data-dir="}, "--data-dir needs a folder"},
        {{"--frobnicate=1"}, "unknown option '--frobnicate'"},
        {{"-x"}, "unknown option '-x'"},
        {{"a.txt", "b.txt"}, "not also 'b.txt'"},
        {{"--help", "--seed", "x"}, "not 'x'"}, // a wrong line is never help
    };
    for (const auto& [args, error] : refused) {
        const cli::Options o = cli::parseOptions(args);
        EXPECT_TRUE(o.action == Action::Error && o.error.find(error) != std::string::npos) << error;
    }
    const cli::Options all = cli::parseOptions({"--data-dir", "/tmp/x", "--json"});
    EXPECT_TRUE(all.json);
    EXPECT_EQ(all.dataDir, std::filesystem::path("/tmp/x"));
}

TEST(CliOptions, HelpListsEveryOptionTheParserTakes) {
    const std::string help = cli::helpText();
    for (const char* option :
         {"--data-dir DIR", "--seed N", "--json", "--date YYYY-MM-DD", "--help", "--version", "SCRIPT"})
        EXPECT_NE(help.find(option), std::string::npos) << option;
    // The manual page is made from this text by help2man, which reads "Usage:" and option lines.
    EXPECT_EQ(help.rfind("Usage: stridewell-cli ", 0), 0u);
    EXPECT_EQ(cli::versionText().rfind(std::string("stridewell-cli ") + STRIDEWELL_TEST_VERSION + "\n", 0),
              0u);
}

TEST(Prompt, ShowsTheRaceAndTheStageAsTheDayGoesOn) {
    test::GameOnDisk day(5);
    Game& game = day.game;
    EXPECT_EQ(cli::promptText(game), "not started> ");
    ASSERT_TRUE(game.startDay());
    EXPECT_EQ(cli::promptText(game), "race 1 program> ");
    game.toteBoard();
    EXPECT_EQ(cli::promptText(game), "race 1 betting> ");
    ASSERT_TRUE(game.beginRace());
    EXPECT_EQ(cli::promptText(game), "race 1 racing> ");
    game.finishRace();
    EXPECT_EQ(cli::promptText(game), "race 1 results> ");
    game.runResultsToEnd();
    game.confirmResults();
    game.toteBoard();
    EXPECT_EQ(cli::promptText(game), "race 2 betting> ");
}

} // namespace
