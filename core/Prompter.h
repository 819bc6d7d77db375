#pragma once

#include <string_view>

namespace sw {

// Every message box and Yes/No question of the game goes through here: the window answers with
// dialogs, the text front end with the terminal, tests with a script.
class Prompter {
public:
    virtual ~Prompter() = default;
    virtual void message(std::string_view text, std::string_view title) = 0;
    // True for Yes.
    virtual bool ask(std::string_view text, std::string_view title) = 0;
};

} // namespace sw
