#pragma once

#include <QString>

class QWidget;

namespace sw::ui {

// A style sheet that paints a push button or label in post `post`'s (1..8) saddle-cloth colours,
// so a horse reads the same on the bet buttons, the tote board and the track.
QString postColourStyle(int post, const QString& widgetClass);

// The same colours for all eight posts as rules of one parent's style sheet, matching the widgets
// under `selector` by their `post` property: one sheet parsed once instead of one per widget.
QString postColourRules(const QString& selector);
// Paints `widget` in post `post`'s colours under a sheet of `postColourRules`.
void setPostColour(QWidget* widget, int post);

} // namespace sw::ui
