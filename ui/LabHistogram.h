#pragma once

#include "lab/Lab.h"

#include <QColor>
#include <QString>
#include <QWidget>

#include <vector>

namespace sw::ui {

// How many days of a lab run ended with each net result, "picLabDays": one set of bars a
// strategy, drawn see-through over each other on one money axis, with the break-even line.
class LabHistogram : public QWidget {
    Q_OBJECT

public:
    struct Series {
        QString name;
        QColor colour;
        std::vector<HistogramBin> bins;
    };

    explicit LabHistogram(QWidget* parent = nullptr);

    void setSeries(std::vector<Series> series);
    // Bars drawn by the last paint, over every strategy.
    int barsPainted() const { return m_barsPainted; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::vector<Series> m_series;
    int m_barsPainted = 0;
};

} // namespace sw::ui
