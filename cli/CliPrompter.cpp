#include "CliPrompter.h"
#include "core/Translate.h"

#include "LineReader.h"

namespace sw::cli {

namespace {

// Messages keep the CR LF their multi-line texts are built with; a terminal wants plain newlines.
std::string plainLines(std::string_view text) {
    std::string out;
    for (char c : text)
        if (c != '\r')
            out.push_back(c);
    return out;
}

} // namespace

void CliPrompter::message(std::string_view text, std::string_view /*title*/) {
    std::string plain = plainLines(text);
    m_messages.push_back(plain);
    if (m_echo)
        m_out << "! " << plain << '\n';
}

bool CliPrompter::ask(std::string_view text, std::string_view /*title*/) {
    std::string plain = plainLines(text);
    if (!m_answers.empty()) {
        bool yes = m_answers.front();
        m_answers.pop_front();
        m_messages.push_back(plain + (yes ? " yes" : " no"));
        if (m_echo)
            m_out << "? " << plain << (yes ? " yes" : " no") << '\n';
        return yes;
    }
    if (m_terminal) {
        m_out << "? " << plain << " (y/n) " << std::flush;
        std::string line;
        while (readLine(*m_terminal, line) != LineRead::End) {
            if (line == "y" || line == "yes" || line == "Y")
                return true;
            if (line == "n" || line == "no" || line == "N")
                return false;
            m_out << _("Please answer y or n: ") << std::flush;
        }
    }
    ++m_unanswered;
    m_messages.push_back(plain + " no");
    return false;
}

void CliPrompter::queueAnswers(std::vector<bool> answers) {
    m_answers.assign(answers.begin(), answers.end());
    m_unanswered = 0;
}

std::size_t CliPrompter::takeUnused() {
    const std::size_t unused = m_answers.size();
    m_answers.clear();
    return unused;
}

int CliPrompter::takeUnanswered() {
    int n = m_unanswered;
    m_unanswered = 0;
    m_answers.clear();
    return n;
}

std::vector<std::string> CliPrompter::takeMessages() {
    std::vector<std::string> out;
    out.swap(m_messages);
    return out;
}

} // namespace sw::cli
