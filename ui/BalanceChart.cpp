#include "BalanceChart.h"

#include "ToQString.h"

#include "core/ShownMoney.h"
#include "settlement/HouseLedger.h"

#include <QEvent>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace sw::ui {

namespace {

// Colours far enough apart to tell a handful of players apart in light and dark palettes.
const QColor LineColours[] = {QColor(0x1f, 0x77, 0xb4), QColor(0xd6, 0x27, 0x28), QColor(0x2c, 0xa0, 0x2c),
                              QColor(0xff, 0x7f, 0x0e), QColor(0x94, 0x67, 0xbd), QColor(0x8c, 0x56, 0x4b),
                              QColor(0xe3, 0x77, 0xc2), QColor(0x17, 0xbe, 0xcf)};

// A tick's money: whole dollars with separators, as the rest of the window writes money.
QString dollars(double amount) {
    QString text = toQString(shownMoney(static_cast<Cents>(std::llround(amount)) * 100));
    text.chop(3); // ".00": ticks fall on whole dollars
    return text;
}

// The swatch before a player's name in the legend, and the gap after each entry, in text heights.
constexpr qreal SwatchLines = 1.2;
constexpr qreal LegendGapLines = 1.0;

} // namespace

double tickStep(double span, int mostTicks) {
    const double wanted = std::max(span, 1.0) / std::max(1, mostTicks);
    double power = std::pow(10.0, std::floor(std::log10(wanted)));
    for (;;) {
        for (const double factor : {1.0, 2.0, 2.5, 5.0})
            // 2.5 only where it stays whole dollars (25, 250...), so every tick is a round amount.
            if (factor * power >= wanted && factor * power >= 1.0 && (factor != 2.5 || power >= 10.0))
                return factor * power;
        power *= 10.0;
    }
}

BalanceChart::BalanceChart(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("picBalances"));
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void BalanceChart::setLines(std::vector<Line> lines, int races) {
    m_lines = std::move(lines);
    m_races = std::max(1, races);
    updateGeometry();
    update();
}

void BalanceChart::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange)
        updateGeometry();
    QWidget::changeEvent(event);
}

QString BalanceChart::legendText(const Line& line) const {
    if (line.balances.empty())
        return line.name;
    return QStringLiteral("%1  %2").arg(
        line.name, toQString(shownMoney(static_cast<Cents>(std::llround(line.balances.back() * 100)))));
}

int BalanceChart::legendColumns(qreal width) const {
    const QFontMetricsF metrics(font());
    qreal widest = 0;
    for (const Line& line : m_lines)
        widest = std::max(widest, metrics.horizontalAdvance(legendText(line)));
    const qreal entry = widest + metrics.height() * (SwatchLines + LegendGapLines);
    return std::max(1, static_cast<int>(width / std::max<qreal>(entry, 1)));
}

int BalanceChart::legendRows(qreal width) const {
    const int players = static_cast<int>(m_lines.size());
    const int columns = legendColumns(width);
    return std::max(1, (players + columns - 1) / columns);
}

QSize BalanceChart::sizeHint() const {
    const QFontMetrics metrics(font());
    const int width = metrics.horizontalAdvance(QStringLiteral("$00,000")) +
                      metrics.horizontalAdvance(QStringLiteral("00")) * 2 * m_races;
    return {width, metrics.height() * (9 + legendRows(width))};
}

QSize BalanceChart::minimumSizeHint() const {
    // Room for the scale, every race's number and each player's name at the width it is given.
    const QFontMetrics metrics(font());
    const int width = metrics.horizontalAdvance(QStringLiteral("$00,000")) +
                      metrics.horizontalAdvance(QStringLiteral("0")) * 2 * m_races;
    return {width, metrics.height() * (6 + legendRows(std::max(width, this->width())))};
}

void BalanceChart::paintEvent(QPaintEvent*) {
    m_pointsPainted = 0;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QFontMetricsF metrics(font());
    const qreal line = metrics.height();
    const QColor text = palette().color(QPalette::WindowText);

    double low = 0.0, high = 0.0;
    bool any = false;
    for (const Line& player : m_lines)
        for (double balance : player.balances) {
            low = any ? std::min(low, balance) : balance;
            high = any ? std::max(high, balance) : balance;
            any = true;
        }

    // Below the frame the races' numbers, then the legend; the frame takes what is left.
    const qreal legendHeight = line * legendRows(width());
    const qreal top = line * 0.6;
    const qreal plotHeight = height() - top - line * 1.4 - legendHeight - line * 0.4;
    if (plotHeight < line * 2)
        return;
    // Ticks at round amounts, no closer than three lines apart, covering every balance.
    const double step = tickStep(high - low, std::max(1, static_cast<int>(plotHeight / (line * 3))));
    low = std::floor(low / step) * step;
    high = std::max(std::ceil(high / step) * step, low + step);
    qreal left = 0;
    for (double tick = low; tick <= high + step / 2; tick += step)
        left = std::max(left, metrics.horizontalAdvance(dollars(tick)));
    left += line * 0.5;
    const QRectF plot(left, top, width() - left - line * 0.8, plotHeight);
    if (plot.width() <= line * 2)
        return;
    auto at = [&](int race, double balance) {
        return QPointF(plot.left() + plot.width() * race / m_races,
                       plot.bottom() - plot.height() * (balance - low) / (high - low));
    };

    QPen framePen(text, 0); // cosmetic: one device pixel whatever the scale
    QColor gridColour = text;
    gridColour.setAlphaF(0.18);
    QPen gridPen(gridColour, 0);
    for (double tick = low; tick <= high + step / 2; tick += step) {
        const qreal y = at(0, tick).y();
        painter.setPen(gridPen);
        painter.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
        painter.setPen(framePen);
        painter.drawText(QRectF(0, y - line / 2, left - line * 0.3, line), Qt::AlignRight | Qt::AlignVCenter,
                         dollars(tick));
    }
    painter.setPen(framePen);
    painter.drawLine(plot.bottomLeft(), plot.bottomRight());
    painter.drawLine(plot.bottomLeft(), plot.topLeft());
    // Every race gets its tick; its number wherever numbers fit without touching.
    const qreal perRace = plot.width() / m_races;
    const qreal number = metrics.horizontalAdvance(QString::number(m_races)) + line * 0.6;
    int every = 1;
    while (every < m_races && perRace * every < number)
        ++every;
    for (int race = 0; race <= m_races; ++race) {
        const QPointF tick = at(race, low);
        painter.drawLine(tick, tick + QPointF(0, line * 0.25));
        if (race > 0 && race % every == 0)
            painter.drawText(QRectF(tick.x() - number / 2, plot.bottom() + line * 0.25, number, line),
                             Qt::AlignHCenter | Qt::AlignTop, QString::number(race));
    }

    const int columns = legendColumns(width());
    const qreal columnWidth = static_cast<qreal>(width()) / columns;
    for (std::size_t i = 0; i < m_lines.size(); ++i) {
        const Line& player = m_lines[i];
        const QColor colour = LineColours[i % std::size(LineColours)];
        QPainterPath path;
        for (std::size_t k = 0; k < player.balances.size() && static_cast<int>(k) <= m_races; ++k) {
            const QPointF point = at(static_cast<int>(k), player.balances[k]);
            if (k == 0)
                path.moveTo(point);
            else
                path.lineTo(point);
            painter.setPen(Qt::NoPen);
            painter.setBrush(colour);
            painter.drawEllipse(point, 2.5, 2.5);
            ++m_pointsPainted;
        }
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(colour, 2.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.drawPath(path);
        const int row = static_cast<int>(i) / columns;
        const int column = static_cast<int>(i) % columns;
        const qreal x = columnWidth * column;
        const qreal y = plot.bottom() + line * (1.4 + row) + line * 0.5;
        painter.drawLine(QPointF(x + line * 0.1, y), QPointF(x + line * (SwatchLines - 0.2), y));
        painter.setPen(text);
        painter.drawText(QRectF(x + line * SwatchLines, y - line / 2, columnWidth - line * SwatchLines, line),
                         Qt::AlignLeft | Qt::AlignVCenter, legendText(player));
    }
}

std::vector<BalanceChart::Line> balanceLines(const HouseLedger& ledger) {
    std::vector<BalanceChart::Line> lines;
    for (const LedgerAccount& account : ledger.accounts()) {
        // Plotted, so dollars as a double are enough here.
        std::vector<double> dollars;
        for (Cents balance : account.balances)
            dollars.push_back(centsToDollars(balance));
        lines.push_back({toQString(account.name), std::move(dollars)});
    }
    return lines;
}

} // namespace sw::ui
