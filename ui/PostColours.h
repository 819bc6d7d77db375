#pragma once

#include <QString>

namespace sw::ui {

// A style sheet that paints a push button or label in post `post`'s (1..8) saddle-cloth colours,
// so a horse reads the same on the bet buttons, the tote board and the track.
QString postColourStyle(int post, const QString& widgetClass);

} // namespace sw::ui
