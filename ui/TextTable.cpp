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
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setStretchLastSection(false);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setTabKeyNavigation(false);
    setWordWrap(false);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    applyResizeModes();
    m_built = true;
    // A table that grows or shrinks with its rows asks its window for the room again.
    connect(model, &QAbstractItemModel::modelReset, this, &TextTable::remeasure);
    connect(model, &QAbstractItemModel::dataChanged, this, &TextTable::remeasure);
    // Wrapped lines are as tall as their column is narrow.
    connect(horizontalHeader(), &QHeaderView::sectionResized, this, [this] {
        if (m_wraps)
            m_hint = QSize();
    });
}

void TextTable::remeasure() {
    m_hint = QSize();
    updateGeometry();
}

void TextTable::applyResizeModes() {
    // Sections the header sized to their contents itself would be measured again at every layout
    // and show; they are sized here once a change is measured instead. Wrapped lines still follow
    // their column's width.
    const auto sized = m_wraps ? QHeaderView::ResizeToContents : QHeaderView::Fixed;
    QHeaderView* across = horizontalHeader();
    for (int c = 0; c < across->count(); ++c)
        if (across->sectionResizeMode(c) != QHeaderView::Stretch)
            across->setSectionResizeMode(c, sized);
    verticalHeader()->setSectionResizeMode(m_rowsStretch ? QHeaderView::Stretch : sized);
}

void TextTable::updateGeometries() {
    // The model is set before both headers are.
    if (m_built)
        measure();
    QTableView::updateGeometries();
}

void TextTable::setRowsShown(int least, int most) {
    m_leastRows = least;
    m_mostRows = most;
    remeasure();
}

void TextTable::setStretchColumn(int column) {
    horizontalHeader()->setSectionResizeMode(column, QHeaderView::Stretch);
    remeasure();
}

void TextTable::setRowsStretch(bool stretch) {
    m_rowsStretch = stretch;
    applyResizeModes();
    remeasure();
}

void TextTable::setRowPadding(int pixels) {
    m_rowPadding = pixels;
    remeasure();
}

void TextTable::setWrapsLines(bool wraps) {
    m_wraps = wraps;
    setWordWrap(wraps);
    applyResizeModes();
    remeasure();
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

int TextTable::shownRows() const {
    const int rows = std::max(m_leastRows, model()->rowCount());
    return m_mostRows > 0 ? std::min(rows, m_mostRows) : rows;
}

void TextTable::measure() const {
    // Measuring every cell's text is slow, and a layout asks many times: it is measured once
    // until the rows, the font or the settings change.
    if (m_hint.isValid())
        return;
    QHeaderView* across = horizontalHeader();
    QHeaderView* down = verticalHeader();
    int width = 0;
    for (int c = 0; c < model()->columnCount(); ++c) {
        if (isColumnHidden(c))
            continue;
        const int column = std::max(
            {across->sectionSizeHint(c), m_wraps ? 0 : sizeHintForColumn(c), across->minimumSectionSize()});
        if (across->sectionResizeMode(c) == QHeaderView::Fixed)
            across->resizeSection(c, column);
        width += column;
    }
    const int frame = 2 * frameWidth();
    const bool scrolls = model()->rowCount() > shownRows();
    const int bar = scrolls ? style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this) : 0;
    const int line = rowHeight();
    const bool fixedRows = !m_rowsStretch && !m_wraps;
    int rows = 0;
    // Rows that wrap are as tall as their text; the least rows shown are at least a line each.
    if (!m_rowsStretch && (!scrolls || fixedRows)) {
        for (int r = 0; r < model()->rowCount(); ++r) {
            const int row = std::max(line, sizeHintForRow(r));
            if (fixedRows)
                down->resizeSection(r, row);
            rows += row;
        }
        rows += std::max(0, m_leastRows - model()->rowCount()) * line;
    }
    if (m_rowsStretch || scrolls)
        rows = shownRows() * line;
    const int heading = across->isHidden() ? 0 : across->sizeHint().height();
    m_hint = QSize(width + frame + bar + 2, rows + heading + frame + 2);
}

QSize TextTable::minimumSizeHint() const {
    measure();
    return m_hint;
}

QSize TextTable::sizeHint() const {
    return minimumSizeHint();
}

void TextTable::changeEvent(QEvent* event) {
    QTableView::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
        remeasure();
}

} // namespace sw::ui
