#pragma once

#include <QSize>

class QWidget;

namespace sw::ui {

// Gives a top-level window its preferred size, or less where the work area of its screen (the
// screen without the desktop's panels) is smaller, and centres it there with its frame inside.
void fitToScreen(QWidget* window, QSize preferred);

// Whether a top-level window, frame and all, lies inside the work area of one screen (a maximized
// or full-screen window always does).
bool fitsOnScreen(const QWidget* window);

} // namespace sw::ui
