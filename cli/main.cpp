// stridewell-cli: the game in a terminal, and the driver of scripted race days.

#include "CliPrompter.h"
#include "CommandLine.h"
#include "Options.h"
#include "Terminal.h"
#include "core/Random.h"
#include "core/Translate.h"
#include "database/DataDirectory.h"
#include "database/ShippedFolder.h"
#include "game/Game.h"

#include <csignal>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <unistd.h>
#include <vector>

int main(int argc, char** argv) {
    // A reader that goes away (stridewell-cli ... | head) shows up as a failed write, which ends
    // the game between two commands, instead of a signal that could strike in the middle of one.
    std::signal(SIGPIPE, SIG_IGN);
    sw::useDesktopLanguage(sw::executableDir(argv[0]));
    const sw::cli::Options options = sw::cli::parseOptions(std::vector<std::string>(argv + 1, argv + argc));
    switch (options.action) {
    case sw::cli::Options::Action::Help:
        std::cout << sw::cli::helpText();
        return 0;
    case sw::cli::Options::Action::Version:
        std::cout << sw::cli::versionText();
        return 0;
    case sw::cli::Options::Action::Error:
        std::cerr << "stridewell-cli: " << options.error << "\n"
                  << sw::_("Try 'stridewell-cli --help' for more information.\n");
        return 2;
    case sw::cli::Options::Action::Play:
        break;
    }
    const auto& dataDir = options.dataDir;
    const auto& seed = options.seed;
    const auto& script = options.script;

    // An installed game carries its bundled data beside the program; a build tree uses the source's.
    const std::filesystem::path exeDir = sw::executableDir(argv[0]);
    const std::filesystem::path bundled =
        sw::shippedFolder(exeDir, STRIDEWELL_INSTALLED_DATA, STRIDEWELL_BUNDLED_DATA);
    // Locked as it is chosen: one game at a time per folder, as two would overwrite each other's files.
    sw::DataDirectory where = sw::resolveDataDir(dataDir, exeDir, bundled, sw::systemEnvironment);
    if (!where.ok()) {
        std::cerr << sw::_("error: ") << where.error << "\n";
        return 2;
    }

    std::ifstream scriptFile;
    std::istream* input = &std::cin;
    if (script) {
        scriptFile.open(*script);
        if (!scriptFile) {
            std::cerr << sw::_("error: ") << sw::fillIn(sw::_("cannot read {0}"), *script) << "\n";
            return 2;
        }
        input = &scriptFile;
    }
    bool interactive = !script && isatty(STDIN_FILENO);

    sw::SeededRandom random(seed ? *seed : sw::clockSeed());
    sw::cli::CliPrompter prompter(std::cout, interactive ? &std::cin : nullptr);
    sw::Game game(where.dir, random, prompter);
    game.setDayDate(options.date);
    sw::cli::CommandLine commands(game, prompter, std::cout, std::cerr, options.json);

    bool started = commands.startDay();
    if (interactive && started)
        commands.execute("race");

    int failures = interactive ? sw::cli::runTerminal(commands, game) : commands.run(*input);
    if (commands.outputLost()) {
        std::cerr << sw::_("error: ")
                  << sw::_("the output was closed; the game stopped after the last command\n");
        return 1;
    }
    if (game.stage() == sw::Stage::Failed)
        return 2;
    return failures > 0 ? 1 : 0;
}
