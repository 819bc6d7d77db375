#include "ChartAxes.h"

#include "ToQString.h"
#include "core/ShownMoney.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QWidget>

#include <algorithm>
#include <cmath>

namespace sw::ui {

namespace {

constexpr qreal TickLength = 4;
constexpr qreal Gap = 6;

// A step of 1, 2 or 5 times a power of ten that cuts the range into at most `most` parts.
double tickStep(double range, int most, bool whole) {
    const double rough = range / std::max(most, 1);
    const double power = std::pow(10.0, std::floor(std::log10(rough)));
    double step = 10 * power;
    for (double factor : {1.0, 2.0, 5.0})
        if (factor * power >= rough) {
            step = factor * power;
            break;
        }
    return whole ? std::max(1.0, std::round(step)) : step;
}

// Widens [low, high] to whole steps and lists the ticks in it.
std::vector<double> ticks(double& low, double& high, int most, bool whole) {
    if (!(high > low))
        high = low + 1;
    const double step = tickStep(high - low, most, whole);
    low = std::floor(low / step) * step;
    high = std::ceil(high / step) * step;
    std::vector<double> at;
    for (double t = low; t <= high + step / 2; t += step)
        at.push_back(std::abs(t) < step / 1e6 ? 0.0 : t);
    return at;
}

} // namespace

ChartAxes::ChartAxes(const QWidget& widget, const QRectF& area, double xLow, double xHigh, double yLow,
                     double yHigh, Label xLabel, Label yLabel, bool wholeX)
    : m_widget(widget), m_xLow(xLow), m_xHigh(xHigh), m_yLow(yLow), m_yHigh(yHigh),
      m_xLabel(std::move(xLabel)), m_yLabel(std::move(yLabel)) {
    const QFontMetricsF metrics(widget.font());
    const qreal line = metrics.height();
    // Up the side a tick every two lines or so; the side's width is its widest label.
    const qreal tall = area.height() - 2 * line - TickLength - Gap;
    m_yTicks = ticks(m_yLow, m_yHigh, std::clamp(static_cast<int>(tall / (2.2 * line)), 2, 8), false);
    qreal left = 0;
    for (double t : m_yTicks)
        left = std::max(left, metrics.horizontalAdvance(m_yLabel(t)));
    left += TickLength + Gap;
    // Along the bottom as many as fit with room between their labels.
    const qreal wide = area.width() - left - Gap;
    const qreal label =
        std::max(metrics.horizontalAdvance(m_xLabel(m_xLow)), metrics.horizontalAdvance(m_xLabel(m_xHigh))) +
        3 * Gap;
    m_xTicks = ticks(m_xLow, m_xHigh, std::clamp(static_cast<int>(wide / label), 2, 10), wholeX);
    m_plot = QRectF(area.left() + left, area.top() + line * 0.5, wide - metrics.horizontalAdvance(u'0'),
                    tall - line * 0.5);
}

QPointF ChartAxes::at(double x, double y) const {
    return {m_plot.left() + m_plot.width() * (x - m_xLow) / (m_xHigh - m_xLow),
            m_plot.bottom() - m_plot.height() * (y - m_yLow) / (m_yHigh - m_yLow)};
}

void ChartAxes::draw(QPainter& painter, const QString& xTitle, const QString& yTitle) const {
    const QFontMetricsF metrics(m_widget.font());
    const qreal line = metrics.height();
    painter.save();
    painter.setFont(m_widget.font());
    QPen grid(ChartGrid, 1);
    grid.setCosmetic(true);
    QPen ink(ChartDim, 1);
    ink.setCosmetic(true);
    for (double t : m_yTicks) {
        const qreal y = yAt(t);
        painter.setPen(grid);
        painter.drawLine(QPointF(m_plot.left(), y), QPointF(m_plot.right(), y));
        painter.setPen(ink);
        painter.drawLine(QPointF(m_plot.left() - TickLength, y), QPointF(m_plot.left(), y));
        painter.setPen(ChartInk);
        painter.drawText(QRectF(0, y - line / 2, m_plot.left() - TickLength - Gap / 2, line),
                         Qt::AlignRight | Qt::AlignVCenter, m_yLabel(t));
    }
    for (double t : m_xTicks) {
        const qreal x = xAt(t);
        painter.setPen(grid);
        painter.drawLine(QPointF(x, m_plot.top()), QPointF(x, m_plot.bottom()));
        painter.setPen(ink);
        painter.drawLine(QPointF(x, m_plot.bottom()), QPointF(x, m_plot.bottom() + TickLength));
        painter.setPen(ChartInk);
        painter.drawText(QRectF(x - 100, m_plot.bottom() + TickLength, 200, line),
                         Qt::AlignHCenter | Qt::AlignTop, m_xLabel(t));
    }
    painter.setPen(ink);
    painter.drawLine(m_plot.bottomLeft(), m_plot.bottomRight());
    painter.drawLine(m_plot.bottomLeft(), m_plot.topLeft());
    painter.setPen(ChartDim);
    painter.drawText(QRectF(m_plot.left(), m_plot.bottom() + TickLength + line, m_plot.width(), line),
                     Qt::AlignHCenter | Qt::AlignTop, xTitle);
    // The side's title sits above its labels, read without turning the head.
    painter.drawText(QRectF(0, m_plot.top() - line * 1.6, m_plot.left() + m_plot.width(), line),
                     Qt::AlignLeft, yTitle);
    painter.restore();
}

QRectF drawChartPanel(QPainter& painter, const QWidget& widget, const QString& title,
                      const std::vector<LegendEntry>& legend) {
    const QRectF whole = QRectF(widget.rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    QPen border(ChartBorder, 1);
    border.setCosmetic(true);
    painter.setPen(border);
    painter.setBrush(ChartPanel);
    painter.drawRoundedRect(whole, 4, 4);
    painter.setBrush(Qt::NoBrush);

    QFont heading = widget.font();
    heading.setBold(true);
    const QFontMetricsF headingMetrics(heading);
    const QFontMetricsF metrics(widget.font());
    const qreal pad = 10;
    const qreal top = pad + headingMetrics.height();
    painter.setFont(heading);
    painter.setPen(ChartInk);
    painter.drawText(QPointF(pad, pad + headingMetrics.ascent()), title);

    // Right to left, so the legend ends at the panel's edge.
    painter.setFont(widget.font());
    qreal x = whole.right() - pad;
    const qreal mid = pad + headingMetrics.height() / 2;
    for (auto it = legend.rbegin(); it != legend.rend(); ++it) {
        x -= metrics.horizontalAdvance(it->text);
        painter.setPen(ChartInk);
        painter.drawText(QPointF(x, mid + metrics.ascent() / 2 - 1), it->text);
        x -= 22 + Gap / 2;
        const QRectF swatch(x, mid - 5, 22, 10);
        if (it->band) {
            QColor fill = it->colour;
            fill.setAlpha(90);
            painter.fillRect(swatch, fill);
        } else {
            QPen pen(it->colour, 2.5);
            pen.setCosmetic(true);
            painter.setPen(pen);
            painter.drawLine(QPointF(swatch.left(), mid), QPointF(swatch.right(), mid));
        }
        x -= 2 * Gap + 6;
    }
    // Room above the plot for the side's title.
    return QRectF(pad, top + metrics.height() * 1.8, whole.width() - 2 * pad,
                  whole.height() - top - metrics.height() * 1.8 - pad);
}

QString axisMoney(double dollars) {
    const auto cents = static_cast<Cents>(std::llround(dollars * CentsPerDollar));
    QString text = toQString(shownMoney(cents));
    if (cents % CentsPerDollar == 0 && text.endsWith(QStringLiteral(".00")))
        text.chop(3);
    return text;
}

} // namespace sw::ui
