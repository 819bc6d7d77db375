#include "LabHistogram.h"

#include "ChartAxes.h"
#include "ToQString.h"
#include "core/Translate.h"

#include <QPainter>

#include <algorithm>

namespace sw::ui {

LabHistogram::LabHistogram(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("picLabDays"));
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void LabHistogram::setSeries(std::vector<Series> series) {
    m_series = std::move(series);
    update();
}

QSize LabHistogram::sizeHint() const {
    return {640, 300};
}

QSize LabHistogram::minimumSizeHint() const {
    return {320, 180};
}

void LabHistogram::paintEvent(QPaintEvent*) {
    m_barsPainted = 0;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    std::vector<LegendEntry> legend;
    Cents low = 0, high = 0; // break-even always in view
    int most = 1;
    for (const Series& s : m_series) {
        legend.push_back({s.name, s.colour, true});
        for (const HistogramBin& bin : s.bins) {
            low = std::min(low, bin.from);
            high = std::max(high, bin.to);
            most = std::max(most, bin.days);
        }
    }
    const QRectF area = drawChartPanel(painter, *this, toQString(_("Single days")), legend);
    if (area.width() < 80 || area.height() < 60)
        return;
    const ChartAxes axes(
        *this, area, centsToDollars(low), centsToDollars(high), 0, most,
        [](double x) { return axisMoney(x); }, [](double y) { return QString::number(y); });
    axes.draw(painter, toQString(_("Net result of a day")), toQString(_("Days")));

    painter.setClipRect(axes.plot().adjusted(-1, -1, 1, 1));
    for (const Series& s : m_series) {
        QColor fill = s.colour;
        fill.setAlpha(m_series.size() > 1 ? 110 : 170);
        QPen edge(s.colour, 1.5);
        edge.setCosmetic(true);
        for (const HistogramBin& bin : s.bins) {
            if (bin.days == 0)
                continue;
            const QRectF bar(axes.at(centsToDollars(bin.from), bin.days), axes.at(centsToDollars(bin.to), 0));
            painter.fillRect(bar, fill);
            painter.setPen(edge);
            painter.drawRect(bar);
            ++m_barsPainted;
        }
    }
    QPen even(ChartInk, 1, Qt::DashLine);
    even.setCosmetic(true);
    painter.setPen(even);
    const qreal x = axes.xAt(0);
    painter.drawLine(QPointF(x, axes.plot().top()), QPointF(x, axes.plot().bottom()));
}

} // namespace sw::ui
