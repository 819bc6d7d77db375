#include "ContentFit.h"

#include <QHeaderView>
#include <QListWidget>
#include <QScrollBar>
#include <QStyle>
#include <QTableWidget>

#include <algorithm>

namespace sw::ui {

void fitListToLines(QListWidget* list, int rows, const QString& widestLine, int mostRows) {
    if (!list)
        return;
    // An empty list measures a stand-in line: the delegate's margins are the style's to decide.
    const bool measureStandIn = list->count() == 0 || !widestLine.isEmpty();
    if (measureStandIn)
        list->addItem(widestLine.isEmpty() ? QStringLiteral("0") : widestLine);
    const int lineHeight = list->sizeHintForRow(0);
    const int width = list->sizeHintForColumn(0);
    if (measureStandIn)
        delete list->takeItem(list->count() - 1);
    const int shown = std::clamp(std::max(rows, list->count()), 1, std::max(1, mostRows));
    const int frame = 2 * list->frameWidth() + 2 * list->spacing();
    // Past its most lines the list scrolls: its bar must not cover the ends of the lines.
    const int bar =
        list->count() > shown ? list->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, list) : 0;
    list->setMinimumSize(width + frame + bar + 2, lineHeight * shown + frame + 2);
}

void fitTableToContents(QTableWidget* table) {
    if (!table)
        return;
    QHeaderView* across = table->horizontalHeader();
    QHeaderView* down = table->verticalHeader();
    int width = down->isHidden() ? 0 : down->sizeHint().width();
    // Public on the item view, as it is what QHeaderView::ResizeToContents asks.
    const QAbstractItemView* view = table;
    for (int c = 0; c < table->columnCount(); ++c)
        width +=
            std::max({across->sectionSizeHint(c), view->sizeHintForColumn(c), across->minimumSectionSize()});
    // Rows never shorter than the style allows a section to be, whatever height was asked for.
    int height = across->isHidden() ? 0 : across->sizeHint().height();
    for (int r = 0; r < table->rowCount(); ++r)
        height += std::max(down->sectionSize(r), down->minimumSectionSize());
    const int frame = 2 * table->frameWidth();
    table->setMinimumSize(width + frame + 2, height + frame + 2);
}

} // namespace sw::ui
