#include "LogoWidget.h"
#include "ToQString.h"
#include "core/Translate.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>

namespace sw::ui {

LogoWidget::LogoWidget(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("imgLogo"));
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setToolTip(toQString(_("Stridewell - Horse Racing")));
}

void LogoWidget::paintEvent(QPaintEvent* /*event*/) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal side = std::min(width(), height()) - 2.0;
    const QRectF badge(1, (height() - side) / 2, side, side);
    p.setPen(QPen(QColor(240, 196, 64), 2));
    p.setBrush(QColor(26, 110, 52));
    p.drawRoundedRect(badge, side * 0.22, side * 0.22);

    // The horseshoe: a thick arc open at the bottom, with its nail holes.
    const QRectF shoe = badge.adjusted(side * 0.24, side * 0.16, -side * 0.24, -side * 0.12);
    QPen iron(QColor(236, 236, 230), side * 0.13, Qt::SolidLine, Qt::RoundCap);
    p.setPen(iron);
    p.setBrush(Qt::NoBrush);
    p.drawArc(shoe, -40 * 16, 260 * 16);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(26, 110, 52));
    const qreal hole = side * 0.035;
    for (int angle : {-20, 30, 90, 150, 200}) {
        QPainterPath arc;
        arc.arcMoveTo(shoe, angle);
        p.drawEllipse(arc.currentPosition(), hole, hole);
    }

    QFont font = this->font();
    font.setBold(true);
    font.setPixelSize(static_cast<int>(side * 0.5));
    const QRectF text(badge.right() + side * 0.2, 0, width() - badge.right() - side * 0.2, height());
    // A narrow window shows the badge alone rather than half the name.
    if (QFontMetricsF(font).horizontalAdvance(QStringLiteral("Stridewell")) > text.width())
        return;
    p.setFont(font);
    p.setPen(palette().color(QPalette::WindowText));
    p.drawText(text, Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Stridewell"));
}

} // namespace sw::ui
