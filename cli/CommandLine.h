#pragma once

#include "CliPrompter.h"
#include "game/Game.h"
#include "lab/Lab.h"

#include <nlohmann/json.hpp>

#include <functional>
#include <istream>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

namespace sw::cli {

using Json = nlohmann::ordered_json;

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

private:
    struct Failure {
        std::string message;
    };
    using Args = std::vector<std::string>;

    void dispatch(const std::string& name, Args& args, Json& result, std::string& text);
    void needStage(std::initializer_list<Stage> stages, const char* what);
    void toBetting();
    static std::vector<bool> takeAnswers(Args& args);
    static int number(const std::string& word, const char* what);

    void cmdHelp(std::string& text);
    void cmdRace(Json& r, std::string& text);
    void cmdCard(Json& r, std::string& text);
    void cmdPlayers(Json& r, std::string& text);
    // The race 1..12 a program-like command names (the race about to be run when none).
    int raceArgument(const Args& args, const char* what);
    // Shows a race in the program, runs `whileShown` while the day holds it, then goes back to the
    // race about to be run.
    ProgramView browse(int race, const std::function<void()>& whileShown = {});
    void cmdProgram(const Args& args, Json& r, std::string& text);
    void cmdChances(const Args& args, Json& r, std::string& text);
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
