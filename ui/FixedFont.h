#pragma once

#include <QFont>

namespace sw::ui {

// A fixed-pitch font for the lists whose columns are laid out by character counts: the desktop's
// fixed font when it really is fixed-pitch (some themes name a proportional one), else the
// monospace family installed with the game.
QFont fixedFont(qreal pointSize = 0);

// The same choice starting from a given desktop font, so the fallback can be seen without
// changing the desktop.
QFont fixedFontFrom(const QFont& desktopFixed, qreal pointSize = 0);

} // namespace sw::ui
