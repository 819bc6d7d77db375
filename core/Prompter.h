#pragma once

#include <functional>
#include <string_view>
#include <utility>

namespace sw {

// Every message box and Yes/No question of the game goes through here: the window answers with
// dialogs, the text front end with the terminal, tests with a script.
class Prompter {
public:
    virtual ~Prompter() = default;
    virtual void message(std::string_view text, std::string_view title) = 0;
    // True for Yes.
    virtual bool ask(std::string_view text, std::string_view title) = 0;
    // Asks without waiting where the front end can (a window opens its box and goes on); `answered`
    // gets the answer, perhaps before this returns. By default the question is asked at once.
    virtual void askThen(std::string_view text, std::string_view title, std::function<void(bool)> answered) {
        answered(ask(text, title));
    }

    // Run before every message and question, so a window first shows what the player is asked
    // about (the ticket just listed, say) rather than the state before the click.
    void setBeforePrompt(std::function<void()> hook) { m_beforePrompt = std::move(hook); }
    // Run once an answer given later (askThen in a window) has been acted on, so the window shows
    // what the answer did.
    void setAfterAnswer(std::function<void()> hook) { m_afterAnswer = std::move(hook); }

protected:
    void beforePrompt() const {
        if (m_beforePrompt)
            m_beforePrompt();
    }
    void afterAnswer() const {
        if (m_afterAnswer)
            m_afterAnswer();
    }

private:
    std::function<void()> m_beforePrompt;
    std::function<void()> m_afterAnswer;
};

// Answers No and shows nothing: for days played where no player watches (the lab, simulations).
class SilentPrompter final : public Prompter {
public:
    void message(std::string_view, std::string_view) override {}
    bool ask(std::string_view, std::string_view) override { return false; }
};

} // namespace sw
