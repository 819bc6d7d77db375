#include "ColumnHeading.h"

#include <QAbstractItemView>
#include <QFontMetricsF>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>

namespace sw::ui {

namespace {

// Smallest share of its own size a heading shrinks to before its words may touch.
constexpr double SmallestScale = 0.6;

QFont scaled(const QFont& font, double scale) {
    QFont result = font;
    if (font.pointSizeF() > 0)
        result.setPointSizeF(font.pointSizeF() * scale);
    else if (font.pixelSize() > 0)
        result.setPixelSize(std::max(1, static_cast<int>(font.pixelSize() * scale)));
    return result;
}

double wordLeft(const ColumnHeading::Column& column, double width) {
    return column.leftAligned ? column.left : (column.left + column.right - width) / 2.0;
}

bool wordsKeepApart(const QStringList& words, const std::vector<ColumnHeading::Column>& columns,
                    const QFont& font) {
    QFontMetricsF metrics(font);
    const double gap = metrics.horizontalAdvance(QLatin1Char(' ')) / 2.0;
    double previousRight = -1e9;
    for (qsizetype i = 0; i < words.size(); ++i) {
        const double width = metrics.horizontalAdvance(words[i]);
        const double left = wordLeft(columns[static_cast<std::size_t>(i)], width);
        if (left < previousRight + gap)
            return false;
        previousRight = left + width;
    }
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

QSize ColumnHeading::sizeHint() const {
    return {40, fontMetrics().height() + 4};
}

QSize ColumnHeading::minimumSizeHint() const {
    return sizeHint();
}

void ColumnHeading::paintEvent(QPaintEvent* event) {
    const QStringList words = text().split(QLatin1Char(' '), Qt::SkipEmptyParts);
    const std::vector<Column> columns = m_source ? m_source() : std::vector<Column>{};
    if (columns.size() != static_cast<std::size_t>(words.size())) {
        QLabel::paintEvent(event);
        return;
    }
    QFont wordFont = font();
    for (double scale = 1.0; scale >= SmallestScale; scale -= 0.05) {
        wordFont = scaled(font(), scale);
        if (wordsKeepApart(words, columns, wordFont))
            break;
    }
    QPainter painter(this);
    painter.setFont(wordFont);
    painter.setPen(palette().color(foregroundRole()));
    QFontMetricsF metrics(wordFont);
    const double baseline = (height() - metrics.height()) / 2.0 + metrics.ascent();
    for (qsizetype i = 0; i < words.size(); ++i) {
        const double width = metrics.horizontalAdvance(words[i]);
        painter.drawText(QPointF(wordLeft(columns[static_cast<std::size_t>(i)], width), baseline), words[i]);
    }
}

} // namespace sw::ui
