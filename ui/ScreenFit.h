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

// Whether the main window opens maximized: only on its first start (no place remembered from an
// earlier run) and on a work area wider than 1600 pixels, where a window of the designed size would
// leave most of the screen unused.
bool opensMaximized(bool placeRemembered, int workAreaWidth);

// Shows the main window the first time in a run: maximized when opensMaximized() says so for its
// screen, otherwise at the size and place it has.
void showMainWindow(QWidget* window, bool placeRemembered);

} // namespace sw::ui
