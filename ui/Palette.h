#pragma once

#include <QColor>

class QPalette;

namespace sw::ui {

// True when the palette's window colour is dark, as under a desktop's dark theme.
bool isDark(const QPalette& palette);

// onLight under a light palette, onDark under a dark one: a colour the widget can draw on its
// window background and still be read.
QColor readableColour(const QPalette& palette, const QColor& onLight, const QColor& onDark);

} // namespace sw::ui
