#include "TextTable.h"

#include "TextTableModel.h"

#include <QEvent>
#include <QHeaderView>
#include <QScrollBar>
#include <QStyle>

#include <algorithm>

namespace sw::ui {

TextTable::TextTable(TextTableModel* model, const QString& name, QWidget* parent)
    : QTableView(parent), m_model(model) {
    setObjectName(name);
    setModel(model);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setStretchLastSection(false);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setTabKeyNavigation(false);
    setWordWrap(false);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    // A table that grows or shrinks with its rows asks its window for the room again.
    connect(model, &QAbstractItemModel::modelReset, this, [this] { updateGeometry(); });
    connect(model, &QAbstractItemModel::dataChanged, this, [this] { updateGeometry(); });
}

void TextTable::setRowsShown(int least, int most) {
    m_leastRows = least;
    m_mostRows = most;
    updateGeometry();
}

void TextTable::setStretchColumn(int column) {
    horizontalHeader()->setSectionResizeMode(column, QHeaderView::Stretch);
    updateGeometry();
}

void TextTable::setRowsStretch(bool stretch) {
    m_rowsStretch = stretch;
    verticalHeader()->setSectionResizeMode(stretch ? QHeaderView::Stretch : QHeaderView::ResizeToContents);
    updateGeometry();
}

void TextTable::setRowPadding(int pixels) {
    m_rowPadding = pixels;
    updateGeometry();
}

void TextTable::setWrapsLines(bool wraps) {
    m_wraps = wraps;
    setWordWrap(wraps);
    updateGeometry();
}

int TextTable::rowHeight() const {
    // Never shorter than the style lets a row be.
    int height = std::max(fontMetrics().height() + m_rowPadding, verticalHeader()->minimumSectionSize());
    if (m_rowsStretch || model()->rowCount() == 0)
        return height;
    // Asked of the delegate itself: before the table is laid out no column counts as shown.
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    for (int c = 0; c < model()->columnCount(); ++c)
        height = std::max(height, itemDelegate()->sizeHint(option, model()->index(0, c)).height());
    return height;
}

int TextTable::contentWidth() const {
    const QHeaderView* across = horizontalHeader();
    int width = 0;
    for (int c = 0; c < model()->columnCount(); ++c)
        if (!isColumnHidden(c))
            width += std::max({across->sectionSizeHint(c), m_wraps ? 0 : sizeHintForColumn(c),
                               across->minimumSectionSize()});
    return width;
}

int TextTable::shownRows() const {
    const int rows = std::max(m_leastRows, model()->rowCount());
    return m_mostRows > 0 ? std::min(rows, m_mostRows) : rows;
}

QSize TextTable::minimumSizeHint() const {
    const int frame = 2 * frameWidth();
    const bool scrolls = model()->rowCount() > shownRows();
    const int bar = scrolls ? style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this) : 0;
    int rows = 0;
    // Rows that wrap are as tall as their text; the least rows shown are at least a line each.
    if (!m_rowsStretch && !scrolls) {
        for (int r = 0; r < model()->rowCount(); ++r)
            rows += std::max(rowHeight(), sizeHintForRow(r));
        rows += std::max(0, m_leastRows - model()->rowCount()) * rowHeight();
    } else {
        rows = shownRows() * rowHeight();
    }
    const int heading = horizontalHeader()->isHidden() ? 0 : horizontalHeader()->sizeHint().height();
    return {contentWidth() + frame + bar + 2, rows + heading + frame + 2};
}

QSize TextTable::sizeHint() const {
    return minimumSizeHint();
}

void TextTable::changeEvent(QEvent* event) {
    QTableView::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
        updateGeometry();
}

} // namespace sw::ui
