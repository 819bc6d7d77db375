// The text front end's command lines: any line of any script is one command that is done or
// refused, over a fresh game on the bundled stable. Printing to a file is left out, as it writes
// wherever the line says.

#include "FuzzSupport.h"

#include "cli/CliPrompter.h"
#include "cli/CommandLine.h"

#include <sstream>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static sw::fuzz::FuzzFolder folder;
    folder.reset();
    std::ostringstream out, err;
    sw::SeededRandom random(1);
    sw::cli::CliPrompter prompter(out, nullptr);
    sw::Game game(folder.path(), random, prompter);
    if (!game.startDay())
        return 0;
    game.toteBoard();
    sw::cli::CommandLine commands(game, prompter, out, err, size % 2 == 1);

    std::istringstream script(std::string(sw::fuzz::asText(data, size)));
    std::string line;
    for (int count = 0; count < 64 && std::getline(script, line) && !commands.quitRequested(); ++count) {
        auto words = sw::cli::CommandLine::split(line);
        if (!words.empty() && words.front() == "print" && words.size() > 3)
            continue;
        commands.execute(line);
    }
    return 0;
}
