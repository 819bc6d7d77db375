#pragma once

class QWidget;

namespace sw::ui {

// Puts a window back where the player last left it (size, position, maximized), as remembered
// under its object name; a window never saved before, or whose saved place cannot be read, keeps
// the size and place it has, and so does one whose saved place no longer fits on any screen. Call
// before the window is first shown. True when a remembered place was put back.
bool restoreGeometry(QWidget* window);

// Remembers a window's size and position under its object name for the next run; call when
// the window closes.
void saveGeometry(const QWidget* window);

} // namespace sw::ui
