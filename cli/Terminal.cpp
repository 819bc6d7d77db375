#include "Terminal.h"
#include "core/Translate.h"

#include "LineReader.h"

#include <cstdio>
#include <cstdlib>
#include <memory>

#include <readline/history.h>
#include <readline/readline.h>

namespace sw::cli {

std::string promptText(const Game& game) {
    // A day that could not start has no race to name: the prompt says so in the player's words.
    if (game.stage() == Stage::Failed)
        return "no day> ";
    if (game.stage() == Stage::TopTen || game.stage() == Stage::NotStarted)
        return std::string(stageName(game.stage())) + "> ";
    return "race " + std::to_string(game.day().currentRace + 1) + " " + stageName(game.stage()) + "> ";
}

int runTerminal(CommandLine& commands, const Game& game) {
    int failures = 0;
    while (!commands.quitRequested() && !commands.outputLost()) {
        const std::unique_ptr<char, decltype(&std::free)> read(readline(promptText(game).c_str()),
                                                               &std::free);
        if (!read) {
            std::fputc('\n', stdout); // the end of input leaves the terminal on a fresh line
            break;
        }
        const std::string line = read.get();
        if (line.size() > MaxLineBytes) {
            std::fprintf(stderr, "%s\n",
                         (_("error: ") +
                          fillIn(_("the line is longer than {0} KiB; it was skipped"), MaxLineBytes / 1024))
                             .c_str());
            ++failures;
            continue;
        }
        // Repeating the last command (run, ok) one arrow key away; blank lines are not kept.
        if (line.find_first_not_of(" \t") != std::string::npos) {
            const HIST_ENTRY* last =
                history_length > 0 ? history_get(history_base + history_length - 1) : nullptr;
            if (!last || line != last->line)
                add_history(line.c_str());
        }
        if (!commands.execute(line))
            ++failures;
    }
    rl_clear_history();
    return failures;
}

} // namespace sw::cli
