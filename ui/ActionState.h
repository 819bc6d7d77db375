#pragma once

#include "game/Game.h"

#include <functional>

class QAction;
class QObject;
class QWidget;

namespace sw::ui {

// A control usable as the game's availability table says, its tooltip telling why not when it
// is not. The control's own tooltip is kept and comes first.
void showAvailability(QWidget* control, const Availability& now);
void showAvailability(QAction* control, const Availability& now);

// Runs `step` once the action's question (if any) is answered, the question asked in a box opened
// over the window without waiting; an action that asks nothing runs at once with Yes. Nothing runs
// when the day does not allow the action, nor once `context` is gone.
void askFirst(Game& game, Action action, QObject* context, std::function<void(Answer)> step);

} // namespace sw::ui
