#pragma once

#include "CliPrompter.h"
#include "game/Game.h"
#include "lab/Lab.h"

#include <nlohmann/json.hpp>

#include <cstddef>
#include <functional>
#include <istream>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace sw::cli {

// The day's stage as the JSON "stage" field and the prompt name it.
const char* stageName(Stage stage);

using Json = nlohmann::ordered_json;

class CommandLine;

// Whether a command takes yes/no answers after its arguments, for the questions it may ask.
enum class Answers { None, Optional, Required };

// Where a command takes the day before it runs.
enum class Move {
    None,
    // From the racing program to the tote board, as the window's "Tote Board" button would.
    ToBetting,
    // The same, for the tote board cells it explains only (explain odds, explain quiniela A B).
    ToBettingForCells,
};

// One command of the text front end: its help line, usage, refusals, answers and dispatch all
// come from here.
struct Command {
    using Handler = void (*)(CommandLine&, const std::vector<std::string>& args, Json& result,
                             std::string& text);
    static constexpr std::size_t AnyCount = static_cast<std::size_t>(-1);

    std::string_view name;
    std::string_view arguments; // as the help and the usage error write them, answers included
    std::size_t minArgs = 0;
    std::size_t maxArgs = 0; // AnyCount: the words are one text (a name, a ticket)
    std::string_view help;   // lines after the first are indented under it
    // The row of the game's availability table the command's step runs, checked first; the
    // refusal reads "cannot <what> now: <why>".
    std::optional<Action> action;
    std::string_view what;
    Answers answers = Answers::None;
    Move move = Move::None;
    Handler run = nullptr;
    std::string_view alias; // another name it answers to
    // The words are a name, taken whole: a "yes" among them is part of it, not an answer.
    bool nameWords = false;
};

// The text front end: one command a line, each printing what the windows would show.
// With json set every command prints one JSON object on one line.
class CommandLine {
public:
    CommandLine(Game& game, CliPrompter& prompter, std::ostream& out, std::ostream& err, bool json);

    // Starts the day and opens its tote board; false when the day could not start. With json set,
    // what the start said goes out as one object (command "start"), so a script sees why.
    bool startDay();
    // Runs one line; false when the command failed (the error went to err). Blank lines and
    // comments succeed and print nothing.
    bool execute(const std::string& line);
    // Runs every line of the input until it ends, "quit", or the output can no longer be written
    // (a closed pipe): the number of failed commands, a line too long counting as one.
    int run(std::istream& in);
    bool quitRequested() const { return m_quit; }
    // True once writing the output failed: nobody reads what further commands would print.
    bool outputLost() const { return !m_out; }

    // Splits a command line into words; "#" starts a comment outside quotes, and double quotes
    // keep blanks inside a word.
    static std::vector<std::string> split(const std::string& line);

    // Every command, in the order the help lists them.
    static const std::vector<Command>& commands();
    // The help text, from the table.
    static std::string helpText();
    // "usage: NAME ARGUMENTS".
    static std::string usage(const Command& command);
    // "cannot WHAT now: WHY", from a sentence of the availability table.
    static std::string refusal(const Command& command, const std::string& why);

private:
    struct Failure {
        std::string message;
    };
    using Args = std::vector<std::string>;

    void dispatch(const Command& command, Args& args, Json& result, std::string& text);
    // Fails with the refusal when the day does not allow `action` now (its stage part only, or
    // the whole row for `which`).
    void require(Action action);
    void require(Action action, int which);
    // Fails with the game's refusal of the step just tried, or with `otherwise`.
    [[noreturn]] void failed(const std::string& otherwise);
    static const Command* find(const std::string& name);
    // The index in the list of the player numbered `word`, and of ticket `word` (from 1).
    int playerArgument(const std::string& word);
    int ticketArgument(const std::string& word);
    void toBetting();
    static std::vector<bool> takeAnswers(Args& args);
    static int number(const std::string& word, const char* what);
    // The command being run, for the refusals of its handler.
    const Command* m_command = nullptr;

    void cmdRace(Json& r, std::string& text);
    void cmdCard(Json& r, std::string& text);
    void cmdPlayers(Json& r, std::string& text);
    // The race 1..12 a program-like command names (the race about to be run when none).
    int raceArgument(const Args& args);
    // Shows a race in the program, runs `whileShown` while the day holds it, then goes back to the
    // race about to be run.
    ProgramView browse(int race, const std::function<void()>& whileShown = {});
    void cmdProgram(const Args& args, Json& r, std::string& text);
    void cmdChances(const Args& args, Json& r, std::string& text);
    void cmdTicketStory(int n, Json& r, std::string& text);
    void cmdBoard(Json& r, std::string& text);
    void cmdGrid(const Args& args, Json& r, std::string& text);
    void cmdClick(const Args& args, Json& r, std::string& text);
    void cmdEntry(Json& r, std::string& text);
    void cmdTickets(Json& r, std::string& text);
    // The selected ticket's combinations, the totals, the credits held and the balance.
    void ticketFrame(Json& r, std::string& text);
    void cmdRun(Json& r, std::string& text);
    void cmdResults(Json& r, std::string& text);
    void cmdTopTen(Json& r, std::string& text);
    void cmdExplain(const Args& args, Json& r, std::string& text);
    void cmdLedger(const Args& args, Json& r, std::string& text);
    void cmdSettings(const Args& args, Json& r, std::string& text);
    void cmdPrint(const Args& args, Json& r, std::string& text);

    Game& m_game;
    CliPrompter& m_prompter;
    std::ostream& m_out;
    std::ostream& m_err;
    bool m_json;
    bool m_quit = false;
    // The chances of the fields the lab has run, for the session: each is simulated once.
    std::shared_ptr<LabChanceCache> m_labChances = std::make_shared<LabChanceCache>();
};

} // namespace sw::cli
