#pragma once

#include "lab/Lab.h"

#include <QColor>
#include <QString>
#include <QWidget>

#include <vector>

namespace sw::ui {

// Where the bankroll stands after each day of a lab run, "picLabBankroll": a strategy's median
// as a line over its 5-95 % band, every line starting at the bankroll each day starts with.
class LabBankrollChart : public QWidget {
    Q_OBJECT

public:
    struct Series {
        QString name;
        QColor colour;
        std::vector<BankrollPoint> points;
    };

    explicit LabBankrollChart(QWidget* parent = nullptr);

    void setSeries(std::vector<Series> series, Cents start);
    // Points of the median lines drawn by the last paint, over every strategy.
    int pointsPainted() const { return m_pointsPainted; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::vector<Series> m_series;
    Cents m_start = 0;
    int m_pointsPainted = 0;
};

} // namespace sw::ui
