#pragma once

#include "core/Prompter.h"

#include <deque>
#include <istream>
#include <ostream>
#include <string>
#include <vector>

namespace sw::cli {

// Messages go to the terminal; questions take the answer written after the command
// ("delete-player 3 yes"), or ask on the terminal when the game is played by hand.
class CliPrompter final : public Prompter {
public:
    CliPrompter(std::ostream& out, std::istream* terminal) : m_out(out), m_terminal(terminal) {}

    void message(std::string_view text, std::string_view title) override;
    bool ask(std::string_view text, std::string_view title) override;

    // Answers for the questions of the next command, in order.
    void queueAnswers(std::vector<bool> answers);
    // Questions asked with no answer at hand since the last call; they were answered No.
    int takeUnanswered();
    // Answers queued that no question took; they are dropped.
    std::size_t takeUnused();
    // Messages shown since the last call, for the JSON output.
    std::vector<std::string> takeMessages();
    void setEcho(bool echo) { m_echo = echo; }

private:
    std::ostream& m_out;
    std::istream* m_terminal;
    std::deque<bool> m_answers;
    std::vector<std::string> m_messages;
    int m_unanswered = 0;
    bool m_echo = true;
};

} // namespace sw::cli
