#include "ActionState.h"

#include "core/Constants.h"

#include <QAction>
#include <QPointer>
#include <QVariant>
#include <QWidget>

namespace sw::ui {

namespace {

const char* const OwnToolTip = "ownToolTip";

// The tooltip the control had before any reason was added to it.
template <typename Control> QString ownToolTip(Control* control) {
    const QVariant own = control->property(OwnToolTip);
    if (own.isValid())
        return own.toString();
    control->setProperty(OwnToolTip, control->toolTip());
    return control->toolTip();
}

template <typename Control> void show(Control* control, const Availability& now) {
    const QString own = ownToolTip(control);
    control->setEnabled(now.allowed());
    const QString why = QString::fromStdString(now.whyNot);
    if (now.allowed())
        control->setToolTip(own);
    else
        control->setToolTip(own.isEmpty() ? why : own + u'\n' + why);
}

} // namespace

void showAvailability(QWidget* control, const Availability& now) {
    show(control, now);
}

void showAvailability(QAction* control, const Availability& now) {
    show(control, now);
    control->setStatusTip(QString::fromStdString(now.whyNot));
}

void askFirst(Game& game, Action action, QObject* context, std::function<void(Answer)> step) {
    const Availability now = game.availability(action);
    if (!now)
        return;
    if (now.question.empty()) {
        step(Answer::Yes);
        return;
    }
    QPointer<QObject> alive(context);
    game.day().prompter.askThen(now.question, AppTitle, [alive, step = std::move(step)](bool yes) {
        if (alive)
            step(yes ? Answer::Yes : Answer::No);
    });
}

} // namespace sw::ui
