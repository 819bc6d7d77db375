#include "Palette.h"

#include <QPalette>

#include <algorithm>
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

const Racecourse& racecourse() {
    static const Racecourse colours{
        QColor(0x0b, 0x0f, 0x14), QColor(0x1a, 0x24, 0x2e), QColor(0x39, 0x41, 0x4b),
        QColor(0xec, 0xec, 0xe6), QColor(0xa3, 0xad, 0xb8), QColor(0xff, 0xb3, 0x00),
        QColor(0x7e, 0xe0, 0x81),
    };
    return colours;
}

double contrastRatio(const QColor& a, const QColor& b) {
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor boardPanelColour() {
    return racecourse().board;
}
QColor boardEdgeColour() {
    return racecourse().rule;
}
QColor boardFigureColour() {
    return racecourse().amber;
}
QColor boardHeadingColour() {
    return {0xcf, 0xd6, 0xde};
}
QColor boardTotalColour() {
    return racecourse().green;
}
QColor boardSignColour() {
    return {0xff, 0x6e, 0x60};
}

QColor signColour(const QPalette& palette) {
    return readableColour(palette, QColor(0xc6, 0x28, 0x28), QColor(0xff, 0x8a, 0x80));
}

QString racecourseStyle(const QString& selector) {
    const Racecourse& c = racecourse();
    // Padding and borders are the sheet's, so a button is the same size under every desktop style.
    return QStringLiteral(R"(
%1 { background-color: %2; color: %5; }
%1 QLabel { color: %5; background: transparent; }
%1 QLabel[role="caption"] { color: %6; }
%1 QLabel[role="money"] { color: %7; }
%1 QLabel[role="total"] { color: %8; }
%1 QPushButton { background-color: %3; color: %5; border: 1px solid %4; border-radius: 4px; padding: 3px 8px; }
%1 QPushButton:hover { border-color: %7; }
%1 QPushButton:focus { border: 2px solid %7; }
%1 QPushButton:checked { background-color: %7; color: %2; font-weight: bold; }
%1 QPushButton:disabled { background-color: %2; color: %6; border: 1px solid %3; }
%1 QListWidget { background-color: %3; color: %5; border: 1px solid %4; }
%1 QListWidget::item:selected { background-color: %7; color: %2; }
)")
        .arg(selector, c.board.name(), c.raised.name(), c.rule.name(), c.chalk.name(), c.muted.name(),
             c.amber.name(), c.green.name());
}

} // namespace sw::ui
