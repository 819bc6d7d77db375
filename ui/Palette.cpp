#include "Palette.h"

#include <QPalette>

#include <cmath>

namespace sw::ui {

namespace {

double luminance(const QColor& colour) {
    auto channel = [](double c) { return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4); };
    return 0.2126 * channel(colour.redF()) + 0.7152 * channel(colour.greenF()) +
           0.0722 * channel(colour.blueF());
}

} // namespace

bool isDark(const QPalette& palette) {
    // HSL lightness runs 0..255; the lower half is what a dark theme paints its windows with.
    return palette.color(QPalette::Window).lightness() < 128;
}

QColor readableColour(const QPalette& palette, const QColor& onLight, const QColor& onDark) {
    return isDark(palette) ? onDark : onLight;
}

double contrastRatio(const QColor& a, const QColor& b) {
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor boardPanelColour() {
    return {0x0b, 0x0f, 0x14};
}
QColor boardEdgeColour() {
    return {0x39, 0x41, 0x4b};
}
QColor boardFigureColour() {
    return {0xff, 0xb3, 0x00};
}
QColor boardHeadingColour() {
    return {0xcf, 0xd6, 0xde};
}
QColor boardTotalColour() {
    return {0x7e, 0xe0, 0x81};
}
QColor boardSignColour() {
    return {0xff, 0x6e, 0x60};
}

QColor signColour(const QPalette& palette) {
    return readableColour(palette, QColor(0xc6, 0x28, 0x28), QColor(0xff, 0x8a, 0x80));
}

} // namespace sw::ui
