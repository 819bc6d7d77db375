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

// How far apart two colours are to the eye, as the accessibility guidelines measure it: 1 for the
// same lightness up to 21 for black on white. Text wants 4.5 at least.
double contrastRatio(const QColor& a, const QColor& b);

// The racecourse's colours, the tote board's and the results' alike: bright figures on a dark
// panel, which read the same under a light or a dark desktop.
QColor boardPanelColour();
QColor boardEdgeColour();
QColor boardFigureColour();  // money and odds
QColor boardHeadingColour(); // captions and names
QColor boardTotalColour();   // the pools' totals
QColor boardSignColour();    // "PHOTO" and the like on the panel

// The photo sign's red on the window itself (record times on the chart), readable in either palette.
QColor signColour(const QPalette& palette);

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

// A style sheet that paints the panel `selector` (and the buttons, lists, labels and tabs in it)
// in the racecourse's colours.
QString racecourseStyle(const QString& selector);

} // namespace sw::ui
