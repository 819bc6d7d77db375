#pragma once

#include <QFont>

class QWidget;

namespace sw::ui {

// Fonts that grow with the window: each widget keeps the font it was designed with, and the
// window applies one scale to all of them when its size changes.

// Gives `widget` its font as designed for the window's smallest size.
void setDesignFont(QWidget* widget, const QFont& font);

// A widget made after the window was scaled takes `from`'s design font, at its scale.
void copyDesignFont(QWidget* to, const QWidget* from);

// Every widget under `root` without a design font takes its font as it stands as one: under a
// style sheet a font no longer passes from a widget to its children, so each needs its own.
void keepDesignFonts(QWidget* root);

// The design font of `root` and of every widget under it that has one, times `scale`.
void scaleFonts(QWidget* root, double scale);

// The scale for a window of the given size, designed at 1366 by 768: never below 1, at most 2,
// in steps of a twentieth so a drag does not re-lay the window at every pixel.
double fontScaleFor(int width, int height);

} // namespace sw::ui
