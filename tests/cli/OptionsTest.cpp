// The text front end's command line and its terminal prompt.

#include "cli/Options.h"
#include "cli/CliPrompter.h"
#include "cli/Terminal.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace sw;

namespace {

using Action = sw::cli::Options::Action;

TEST(CliOptions, ReadsWhatWasAskedAndRefusesWhatCannotBeMeant) {
    const struct {
        std::vector<std::string> args;
        Action action;
        std::optional<std::uint64_t> seed;
        std::string script;
        std::string error; // part of the error, for Action::Error; for a play, the day's date
    } cases[] = {
        {{}, Action::Play, std::nullopt, "", ""},
        {{"--date", "2024-02-29"}, Action::Play, std::nullopt, "", "2/29/2024"},
        {{"--date=0999-12-01"}, Action::Play, std::nullopt, "", "12/1/999"},
        {{"--date", "2023-02-29"}, Action::Error, std::nullopt, "", "not '2023-02-29'"}, // no such day
        {{"--date", "2024-13-01"}, Action::Error, std::nullopt, "", "YYYY-MM-DD"},
        {{"--date", "-123-05-06"}, Action::Error, std::nullopt, "", "YYYY-MM-DD"},
        {{"--date", "2024-2-29"}, Action::Error, std::nullopt, "", "YYYY-MM-DD"},
        {{"--date", "2024-02-290"}, Action::Error, std::nullopt, "", "YYYY-MM-DD"},
        {{"--seed", "12"}, Action::Play, 12, "", ""},
        {{"--seed=18446744073709551615"}, Action::Play, UINT64_MAX, "", ""},
        {{"-s", "0", "day.txt"}, Action::Play, 0, "day.txt", ""},
        {{"day.txt", "--seed", "7"}, Action::Play, 7, "day.txt", ""}, // options after SCRIPT
        {{"--se", "3"}, Action::Play, 3, "", ""},                     // an unambiguous abbreviation
        {{"--", "-odd-name.txt"}, Action::Play, std::nullopt, "-odd-name.txt", ""},
        {{"--seed", "12abc"}, Action::Error, std::nullopt, "", "not '12abc'"},
        {{"--seed", "-5"}, Action::Error, std::nullopt, "", "not '-5'"},
        {{"--seed", "18446744073709551616"},
         Action::Error,
         std::nullopt,
         "",
         "from 0 to 18446744073709551615"},
        {{"--seed"}, Action::Error, std::nullopt, "", "'--seed' needs a value"},
        {{"-s"}, Action::Error, std::nullopt, "", "needs a value"},
        {{"--data-dir="}, Action::Error, std::nullopt, "", "--data-dir needs a folder"},
        {{"--frobnicate=1"}, Action::Error, std::nullopt, "", "unknown option '--frobnicate'"},
        {{"-x"}, Action::Error, std::nullopt, "", "unknown option '-x'"},
        {{"a.txt", "b.txt"}, Action::Error, std::nullopt, "", "not also 'b.txt'"},
        {{"--help", "--seed", "x"}, Action::Error, std::nullopt, "", "not 'x'"}, // a wrong line is never help
        {{"--seed", "4", "-h"}, Action::Help, 4, "", ""},
        {{"--version", "--help"}, Action::Version, std::nullopt, "", ""}, // the first one asked wins
    };
    for (const auto& c : cases) {
        std::string line;
        for (const std::string& a : c.args)
            line += a + " ";
        const cli::Options o = cli::parseOptions(c.args);
        EXPECT_EQ(o.action, c.action) << line << o.error;
        if (c.action == Action::Error) {
            EXPECT_NE(o.error.find(c.error), std::string::npos) << line << "-> " << o.error;
            continue;
        }
        EXPECT_EQ(o.seed, c.seed) << line;
        EXPECT_EQ(o.date, c.error) << line;
        EXPECT_EQ(o.script.value_or(""), c.script) << line;
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

struct Prompt : ::testing::Test {
    test::TempDir dir;
    SeededRandom random{5};
    std::ostringstream out;
    cli::CliPrompter prompter{out, nullptr};
    Game game{dir.path(), random, prompter};
    void SetUp() override { test::copyBundledData(dir.path()); }
};

TEST_F(Prompt, ShowsTheRaceAndTheStageAsTheDayGoesOn) {
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
