#include "BalanceChart.h"

#include "ToQString.h"

#include "settlement/HouseLedger.h"

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

} // namespace

BalanceChart::BalanceChart(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("picBalances"));
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void BalanceChart::setLines(std::vector<Line> lines, int races) {
    m_lines = std::move(lines);
    m_races = std::max(1, races);
    update();
}

QSize BalanceChart::sizeHint() const {
    return {320, 180};
}

QSize BalanceChart::minimumSizeHint() const {
    return {160, 90};
}

void BalanceChart::paintEvent(QPaintEvent*) {
    m_pointsPainted = 0;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QFontMetricsF metrics(font());
    const QColor text = palette().color(QPalette::WindowText);

    double low = 0.0, high = 1.0;
    bool any = false;
    for (const Line& line : m_lines)
        for (double balance : line.balances) {
            low = any ? std::min(low, balance) : balance;
            high = any ? std::max(high, balance) : balance;
            any = true;
        }
    low = std::min(low, 0.0);
    if (high - low < 1.0)
        high = low + 1.0;

    const qreal left = metrics.horizontalAdvance(QStringLiteral("$00000")) + 6;
    const qreal legend = metrics.height() * std::max<qsizetype>(1, static_cast<qsizetype>(m_lines.size()));
    const QRectF plot(left, metrics.height() * 0.5, width() - left - 8,
                      height() - metrics.height() * 2.0 - legend);
    if (plot.width() <= 4 || plot.height() <= 4)
        return;
    auto at = [&](int race, double balance) {
        return QPointF(plot.left() + plot.width() * race / m_races,
                       plot.bottom() - plot.height() * (balance - low) / (high - low));
    };

    // The frame: the start and every race along the bottom, the lowest and highest balance up the side.
    QPen framePen(text, 0); // cosmetic: one device pixel whatever the scale
    painter.setPen(framePen);
    painter.drawLine(plot.bottomLeft(), plot.bottomRight());
    painter.drawLine(plot.bottomLeft(), plot.topLeft());
    for (int race = 0; race <= m_races; ++race) {
        const QPointF tick = at(race, low);
        painter.drawLine(tick, tick + QPointF(0, 3));
    }
    painter.drawText(QRectF(0, plot.top() - metrics.height() / 2, left - 4, metrics.height()),
                     Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("$%1").arg(std::round(high)));
    painter.drawText(QRectF(0, plot.bottom() - metrics.height() / 2, left - 4, metrics.height()),
                     Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("$%1").arg(std::round(low)));
    painter.drawText(QRectF(plot.left(), plot.bottom() + 3, plot.width(), metrics.height()),
                     Qt::AlignLeft | Qt::AlignTop, QStringLiteral("start"));
    painter.drawText(QRectF(plot.left(), plot.bottom() + 3, plot.width(), metrics.height()),
                     Qt::AlignRight | Qt::AlignTop, QStringLiteral("race %1").arg(m_races));

    for (std::size_t i = 0; i < m_lines.size(); ++i) {
        const Line& line = m_lines[i];
        const QColor colour = LineColours[i % std::size(LineColours)];
        QPainterPath path;
        for (std::size_t k = 0; k < line.balances.size() && static_cast<int>(k) <= m_races; ++k) {
            const QPointF point = at(static_cast<int>(k), line.balances[k]);
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
        const qreal y = plot.bottom() + metrics.height() * (1.5 + static_cast<qreal>(i));
        painter.drawLine(QPointF(plot.left(), y), QPointF(plot.left() + 16, y));
        painter.setPen(text);
        const QString label =
            line.balances.empty()
                ? line.name
                : QStringLiteral("%1  $%2").arg(line.name).arg(line.balances.back(), 0, 'f', 2);
        painter.drawText(QPointF(plot.left() + 22, y + metrics.ascent() / 2 - 1), label);
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
