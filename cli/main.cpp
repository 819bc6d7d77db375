// stridewell-cli: the game in a terminal, and the driver of scripted race days.

#include "CliPrompter.h"
#include "CommandLine.h"
#include "core/Random.h"
#include "database/DataDirectory.h"
#include "database/ShippedFolder.h"
#include "game/Game.h"

#include <csignal>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <string>
#include <unistd.h>

namespace {

const char* const Usage = "usage: stridewell-cli [--data-dir DIR] [--seed N] [--json] [SCRIPT]\n";

} // namespace

int main(int argc, char** argv) {
    // A reader that goes away (stridewell-cli ... | head) shows up as a failed write, which ends
    // the game between two commands, instead of a signal that could strike in the middle of one.
    std::signal(SIGPIPE, SIG_IGN);
    std::optional<std::filesystem::path> dataDir;
    std::optional<uint64_t> seed;
    bool json = false;
    std::optional<std::string> script;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg == "--data-dir" && i + 1 < argc) {
            dataDir = argv[++i];
        } else if (arg == "--seed" && i + 1 < argc) {
            try {
                seed = std::stoull(argv[++i]);
            } catch (const std::exception&) {
                std::cerr << "error: --seed takes a whole number\n" << Usage;
                return 2;
            }
        } else if (arg == "--json") {
            json = true;
        } else if (arg == "--help" || arg == "-h") {
            std::cout << Usage;
            return 0;
        } else if (!arg.empty() && arg[0] != '-' && !script) {
            script = arg;
        } else {
            std::cerr << "error: unknown argument " << arg << "\n" << Usage;
            return 2;
        }
    }

    // An installed game carries its bundled data beside the program; a build tree uses the source's.
    const std::filesystem::path exeDir = sw::executableDir(argv[0]);
    const std::filesystem::path bundled =
        sw::shippedFolder(exeDir, STRIDEWELL_INSTALLED_DATA, STRIDEWELL_BUNDLED_DATA);
    // Locked as it is chosen: one game at a time per folder, as two would overwrite each other's files.
    sw::DataDirectory where = sw::resolveDataDir(dataDir, exeDir, bundled, sw::systemEnvironment);
    if (!where.ok()) {
        std::cerr << "error: " << where.error << "\n";
        return 2;
    }

    std::ifstream scriptFile;
    std::istream* input = &std::cin;
    if (script) {
        scriptFile.open(*script);
        if (!scriptFile) {
            std::cerr << "error: cannot read " << *script << "\n";
            return 2;
        }
        input = &scriptFile;
    }
    bool interactive = !script && isatty(STDIN_FILENO);

    sw::SeededRandom random(seed ? *seed : sw::clockSeed());
    sw::cli::CliPrompter prompter(std::cout, interactive ? &std::cin : nullptr);
    sw::Game game(where.dir, random, prompter);
    sw::cli::CommandLine commands(game, prompter, std::cout, std::cerr, json);

    bool started = commands.startDay();
    if (interactive && started)
        commands.execute("race");

    int failures = commands.run(*input);
    if (commands.outputLost()) {
        std::cerr << "error: the output was closed; the game stopped after the last command\n";
        return 1;
    }
    if (game.stage() == sw::Stage::Failed)
        return 2;
    return failures > 0 ? 1 : 0;
}
