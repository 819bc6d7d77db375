#pragma once

#include "core/Money.h"

#include <QColor>
#include <QRectF>
#include <QString>

#include <functional>
#include <vector>

class QPainter;
class QWidget;

namespace sw::ui {

// The lab's charts are drawn on a dark panel, as the tote board is.
inline const QColor ChartPanel(0x0b, 0x0f, 0x14);
inline const QColor ChartBorder(0x39, 0x41, 0x4b);
inline const QColor ChartGrid(0x23, 0x2b, 0x34);
inline const QColor ChartInk(0xcf, 0xd6, 0xde);
inline const QColor ChartDim(0x8a, 0x94, 0x9f);

// The frame of a chart: a plot area inside `area` with round-numbered ticks along both axes, their
// labels and grid lines, and the axes' titles. Everything is in the widget's logical pixels and
// its font, so the chart is as sharp at any screen scale as the text beside it.
class ChartAxes {
public:
    using Label = std::function<QString(double)>;

    // The ranges are widened to whole ticks; `wholeX` keeps the x ticks on whole numbers (days).
    ChartAxes(const QWidget& widget, const QRectF& area, double xLow, double xHigh, double yLow, double yHigh,
              Label xLabel, Label yLabel, bool wholeX = false);

    const QRectF& plot() const { return m_plot; }
    QPointF at(double x, double y) const;
    double xAt(double x) const { return at(x, m_yLow).x(); }
    double yAt(double y) const { return at(m_xLow, y).y(); }

    void draw(QPainter& painter, const QString& xTitle, const QString& yTitle) const;

private:
    const QWidget& m_widget;
    QRectF m_plot;
    double m_xLow, m_xHigh, m_yLow, m_yHigh;
    std::vector<double> m_xTicks, m_yTicks;
    Label m_xLabel, m_yLabel;
};

// One entry of a chart's legend: a line, or a filled box for a band.
struct LegendEntry {
    QString text;
    QColor colour;
    bool band = false;
};

// The panel behind a chart, its title at the top left and its legend at the top right; returns
// the area left for the axes.
QRectF drawChartPanel(QPainter& painter, const QWidget& widget, const QString& title,
                      const std::vector<LegendEntry>& legend);

// A tick's money: shownMoney, without the cents when the tick is whole dollars ($1,500, $2.50).
QString axisMoney(double dollars);

} // namespace sw::ui
