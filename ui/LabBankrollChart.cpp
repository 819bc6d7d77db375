#include "LabBankrollChart.h"

#include "ChartAxes.h"
#include "ToQString.h"
#include "core/Translate.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

#include <algorithm>

namespace sw::ui {

LabBankrollChart::LabBankrollChart(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("picLabBankroll"));
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void LabBankrollChart::setSeries(std::vector<Series> series, Cents start) {
    m_series = std::move(series);
    m_start = start;
    update();
}

QSize LabBankrollChart::sizeHint() const {
    return {640, 300};
}

QSize LabBankrollChart::minimumSizeHint() const {
    return {320, 180};
}

void LabBankrollChart::paintEvent(QPaintEvent*) {
    m_pointsPainted = 0;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    std::vector<LegendEntry> legend;
    Cents low = m_start, high = m_start;
    int days = 1;
    for (const Series& s : m_series) {
        legend.push_back({s.name, s.colour, false});
        for (const BankrollPoint& p : s.points) {
            low = std::min(low, p.low);
            high = std::max(high, p.high);
            days = std::max(days, p.day);
        }
    }
    if (!m_series.empty())
        legend.push_back({QStringLiteral("5-95 %"), ChartInk, true});
    const QRectF area = drawChartPanel(painter, *this, toQString(_("Bankroll through the days")), legend);
    if (area.width() < 80 || area.height() < 60)
        return;
    const ChartAxes axes(
        *this, area, 0, days, centsToDollars(low), centsToDollars(high),
        [](double x) { return QString::number(x); }, [](double y) { return axisMoney(y); }, true);
    axes.draw(painter, toQString(_("Days played")), toQString(_("Bankroll")));

    painter.setClipRect(axes.plot().adjusted(-2, -2, 2, 2));
    QPen startPen(ChartDim, 1, Qt::DashLine);
    startPen.setCosmetic(true);
    painter.setPen(startPen);
    const qreal y = axes.yAt(centsToDollars(m_start));
    painter.drawLine(QPointF(axes.plot().left(), y), QPointF(axes.plot().right(), y));

    // Every drawn order of the days starts from the day's bankroll: day 0 is that, band and all.
    const QPointF origin = axes.at(0, centsToDollars(m_start));
    for (const Series& s : m_series) {
        QPolygonF band;
        band << origin;
        for (const BankrollPoint& p : s.points)
            band << axes.at(p.day, centsToDollars(p.high));
        for (auto p = s.points.rbegin(); p != s.points.rend(); ++p)
            band << axes.at(p->day, centsToDollars(p->low));
        QColor fill = s.colour;
        fill.setAlpha(60);
        painter.setPen(Qt::NoPen);
        painter.setBrush(fill);
        painter.drawPolygon(band);
    }
    painter.setBrush(Qt::NoBrush);
    for (const Series& s : m_series) {
        QPainterPath median(origin);
        for (const BankrollPoint& p : s.points) {
            median.lineTo(axes.at(p.day, centsToDollars(p.median)));
            ++m_pointsPainted;
        }
        QPen pen(s.colour, 2.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
        pen.setCosmetic(true);
        painter.setPen(pen);
        painter.drawPath(median);
    }
}

} // namespace sw::ui
