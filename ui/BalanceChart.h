#pragma once

#include <QString>
#include <QWidget>

#include <vector>

namespace sw {
class HouseLedger;
}

namespace sw::ui {

// Each player's balance through the day as a small line chart, "picBalances": the start, then
// one point per race settled, against a frame of the day's races. The money scale is ticked at
// round amounts, the races numbered as often as their numbers fit, and each player named with
// their latest balance below the frame; its size follows its font and players. Drawn as vectors,
// so it stays sharp at any size and screen scale.
class BalanceChart : public QWidget {
    Q_OBJECT

public:
    struct Line {
        QString name;
        std::vector<double> balances; // the start, then after each race
    };

    explicit BalanceChart(QWidget* parent = nullptr);

    void setLines(std::vector<Line> lines, int races);
    // Points drawn by the last paint, over every line.
    int pointsPainted() const { return m_pointsPainted; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    QString legendText(const Line& line) const;
    // Players named side by side as far as `width` allows: how many a row.
    int legendColumns(qreal width) const;
    int legendRows(qreal width) const;

    std::vector<Line> m_lines;
    int m_races = 12;
    int m_pointsPainted = 0;
};

// One line per player of the ledger, with the balances of the races settled so far.
std::vector<BalanceChart::Line> balanceLines(const HouseLedger& ledger);

// The gap between the money scale's ticks: 1, 2 or 5 times a power of ten (2.5 from $25 up), the
// smallest that puts at most `mostTicks` gaps over `span` dollars (never below a dollar).
double tickStep(double span, int mostTicks);

} // namespace sw::ui
