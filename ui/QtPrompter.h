#pragma once

#include "core/Prompter.h"

#include <QMessageBox>
#include <QPointer>
#include <QWidget>

#include <deque>

namespace sw::ui {

// The game's messages and Yes/No questions as message boxes. A box opens over the window the
// player is working in (a dialog in front of the main window, say), else over the parent.
// Messages and questions asked without waiting open their box and return; a box asked for while
// another is up waits its turn, so the player reads them one after the other.
class QtPrompter final : public Prompter {
public:
    explicit QtPrompter(QWidget* parent = nullptr) : m_parent(parent) {}

    // The window boxes open over when no other window is active; the main window, once it exists.
    void setParentWidget(QWidget* parent) { m_parent = parent; }

    // A box with the text, the title and an OK button, opened over the window, not run.
    void message(std::string_view text, std::string_view title) override;
    // A box with Yes and No, run until it is answered; true for Yes. Only for a step that cannot go on
    // without its answer: the window asks its own questions through askThen, before the step.
    bool ask(std::string_view text, std::string_view title) override;
    // The same box opened over the window, not run: `answered` follows the click.
    void askThen(std::string_view text, std::string_view title, std::function<void(bool)> answered) override;

    // The text as a box shows it: UTF-8 decoded, CR LF line ends as single breaks.
    static QString boxText(std::string_view text);

private:
    struct Pending {
        QMessageBox::Icon icon;
        QString text;
        QString title;
        std::function<void(bool)> answered; // empty for a message
    };
    QWidget* owner() const;
    void enqueue(Pending pending);
    void openNext();

    QPointer<QWidget> m_parent;
    std::deque<Pending> m_pending; // the front one is up
};

} // namespace sw::ui
