#include "Palette.h"

#include <QPalette>

namespace sw::ui {

bool isDark(const QPalette& palette) {
    // HSL lightness runs 0..255; the lower half is what a dark theme paints its windows with.
    return palette.color(QPalette::Window).lightness() < 128;
}

QColor readableColour(const QPalette& palette, const QColor& onLight, const QColor& onDark) {
    return isDark(palette) ? onDark : onLight;
}

} // namespace sw::ui
