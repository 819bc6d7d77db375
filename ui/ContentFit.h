#pragma once

#include <QString>

class QListWidget;
class QTableWidget;

namespace sw::ui {

// Lists and tables sized from the font they use and what they hold, rather than from pixel
// counts, so no line or column is cut and no scroll bar appears at any desktop font or style.

// Makes the list at least as wide as its longest line (or `widestLine`, for lines still to come)
// and as tall as `rows` lines (its own count when larger, up to `mostRows`; past that it scrolls).
void fitListToLines(QListWidget* list, int rows, const QString& widestLine = {}, int mostRows = 40);

// Makes the table at least as wide as its columns' widest texts and headings, and as tall as all
// its rows and its heading.
void fitTableToContents(QTableWidget* table);

} // namespace sw::ui
