#pragma once

#include "core/Prompter.h"

#include <QPointer>
#include <QWidget>

namespace sw::ui {

// The game's messages and Yes/No questions as message boxes. A box opens over the window the
// player is working in (a dialog in front of the main window, say), else over the parent.
class QtPrompter final : public Prompter {
public:
    explicit QtPrompter(QWidget* parent = nullptr) : m_parent(parent) {}

    // The window boxes open over when no other window is active; the main window, once it exists.
    void setParentWidget(QWidget* parent) { m_parent = parent; }

    // A box with the text, the title and an OK button.
    void message(std::string_view text, std::string_view title) override;
    // A box with Yes and No; true for Yes.
    bool ask(std::string_view text, std::string_view title) override;
    // The same box opened over the window, not run: `answered` follows the click.
    void askThen(std::string_view text, std::string_view title, std::function<void(bool)> answered) override;

    // The text as a box shows it: UTF-8 decoded, CR LF line ends as single breaks.
    static QString boxText(std::string_view text);

private:
    QWidget* owner() const;

    QPointer<QWidget> m_parent;
};

} // namespace sw::ui
