#pragma once

#include <QColor>
#include <QString>

class QPalette;

namespace sw::ui {

// True when the palette's window colour is dark, as under a desktop's dark theme.
bool isDark(const QPalette& palette);

// onLight under a light palette, onDark under a dark one: a colour the widget can draw on its
// window background and still be read.
QColor readableColour(const QPalette& palette, const QColor& onLight, const QColor& onDark);

// The racecourse's own colours, those of the tote board: dark panels lit by chalk and amber
// figures. The panels paint their own ground, so they read the same under a light or a dark
// desktop. Every text colour keeps a contrast of 4.5:1 at least on the grounds it is drawn on.
struct Racecourse {
    QColor board;  // the tote board's black: the ground of every panel
    QColor raised; // buttons and lists on the board
    QColor rule;   // borders and rules
    QColor chalk;  // plain text
    QColor muted;  // captions and unusable buttons
    QColor amber;  // money, odds and what is chosen
    QColor green;  // totals and good news
};
const Racecourse& racecourse();

// The WCAG contrast ratio of two colours, 1 to 21.
double contrastRatio(const QColor& a, const QColor& b);

// A style sheet that paints the panel `selector` (and the buttons, lists, labels and tabs in it)
// in the racecourse's colours.
QString racecourseStyle(const QString& selector);

} // namespace sw::ui
