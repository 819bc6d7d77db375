#include "ColumnHeading.h"

#include <QAbstractItemView>
#include <QFontMetricsF>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>

namespace sw::ui {

namespace {

double wordLeft(const ColumnHeading::Column& column, double width) {
    return column.leftAligned ? column.left : (column.left + column.right - width) / 2.0;
}

std::vector<ColumnHeading::PlacedWord> place(const QStringList& words,
                                             const std::vector<ColumnHeading::Column>& columns,
                                             const QFontMetricsF& metrics) {
    std::vector<ColumnHeading::PlacedWord> placed;
    for (qsizetype i = 0; i < words.size(); ++i) {
        const double width = metrics.horizontalAdvance(words[i]);
        placed.push_back({words[i], wordLeft(columns[static_cast<std::size_t>(i)], width), width});
    }
    return placed;
}

bool keepApart(const std::vector<ColumnHeading::PlacedWord>& placed, const QFontMetricsF& metrics) {
    const double gap = metrics.horizontalAdvance(QLatin1Char(' ')) / 2.0;
    for (std::size_t i = 1; i < placed.size(); ++i)
        if (placed[i].left < placed[i - 1].left + placed[i - 1].width + gap)
            return false;
    return true;
}

} // namespace

ColumnHeading::ColumnHeading(const QString& text, QWidget* parent) : QLabel(text, parent) {
    setWordWrap(false);
}

void ColumnHeading::setColumnSource(ColumnSource source) {
    m_source = std::move(source);
    update();
}

void ColumnHeading::followList(QAbstractItemView* list, std::vector<CharSpan> spans) {
    setColumnSource([this, list, spans = std::move(spans)]() {
        std::vector<Column> columns;
        if (!list)
            return columns;
        const QWidget* top = window();
        const QPoint origin = list->viewport()->mapTo(top, QPoint(0, 0)) - mapTo(top, QPoint(0, 0));
        // Item views leave this margin before an item's text.
        const int textMargin = list->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, list) + 1;
        const double x0 = origin.x() + textMargin - list->horizontalScrollBar()->value();
        const double charWidth = QFontMetricsF(list->font()).horizontalAdvance(QLatin1Char('0'));
        for (const CharSpan& span : spans)
            columns.push_back({x0 + span.first * charWidth, x0 + span.end * charWidth, span.leftAligned});
        return columns;
    });
    connect(list->horizontalScrollBar(), &QScrollBar::valueChanged, this, qOverload<>(&QWidget::update));
}

void ColumnHeading::followWidgets(std::vector<QWidget*> widgets) {
    setColumnSource([this, widgets = std::move(widgets)]() {
        std::vector<Column> columns;
        const QWidget* top = window();
        for (QWidget* widget : widgets) {
            const QPoint origin = widget->mapTo(top, QPoint(0, 0)) - mapTo(top, QPoint(0, 0));
            bool left = false;
            if (auto* label = qobject_cast<QLabel*>(widget))
                left = (label->alignment() & Qt::AlignHorizontal_Mask) == Qt::AlignLeft ||
                       (label->alignment() & Qt::AlignHorizontal_Mask) == 0;
            columns.push_back({double(origin.x()), double(origin.x() + widget->width()), left});
        }
        return columns;
    });
}

void ColumnHeading::setShortWords(QStringList shortWords) {
    m_shortWords = std::move(shortWords);
    update();
}

std::vector<ColumnHeading::PlacedWord> ColumnHeading::placedWords() const {
    QStringList words = text().split(QLatin1Char(' '), Qt::SkipEmptyParts);
    const std::vector<Column> columns = m_source ? m_source() : std::vector<Column>{};
    if (columns.size() != static_cast<std::size_t>(words.size()))
        return {};
    // Smaller type would be hard to read: a crowded heading abbreviates the words that overhang.
    const QFontMetricsF metrics(font());
    if (!keepApart(place(words, columns, metrics), metrics) && m_shortWords.size() == words.size()) {
        for (qsizetype i = 0; i < words.size(); ++i) {
            const Column& column = columns[static_cast<std::size_t>(i)];
            if (!m_shortWords[i].isEmpty() &&
                metrics.horizontalAdvance(words[i]) > column.right - column.left)
                words[i] = m_shortWords[i];
        }
    }
    return place(words, columns, metrics);
}

QSize ColumnHeading::sizeHint() const {
    return {40, fontMetrics().height() + 4};
}

QSize ColumnHeading::minimumSizeHint() const {
    return sizeHint();
}

void ColumnHeading::paintEvent(QPaintEvent* event) {
    const std::vector<PlacedWord> words = placedWords();
    if (words.empty()) {
        QLabel::paintEvent(event);
        return;
    }
    QPainter painter(this);
    painter.setPen(palette().color(foregroundRole()));
    const QFontMetricsF metrics(font());
    const double baseline = (height() - metrics.height()) / 2.0 + metrics.ascent();
    for (const PlacedWord& word : words)
        painter.drawText(QPointF(word.left, baseline), word.text);
}

} // namespace sw::ui
