#include "TrackWidget.h"
#include "core/Translate.h"
#include "ui/ToQString.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace sw {

TrackWidget::TrackWidget(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("frTrack"));
    // The painter covers every pixel, so Qt need not clear the background first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    // What is happening on it comes as its description, from whoever calls the race.
    setAccessibleName(ui::toQString(_("Race track")));
}

QRectF TrackWidget::elementRect(QStringView name) const {
    return TrackPainter::elementRect(m_scene.view(), name, QSizeF(size()));
}

QRectF TrackWidget::horseRect(int picture) const {
    return TrackPainter::horseRect(m_scene.view(), picture, QSizeF(size()));
}

void TrackWidget::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    // The finishers pull up spaced by the horses as this size draws them.
    m_scene.setDrawnAspect(TrackPainter::twipAspect(m_scene.view(), QSizeF(size())));
}

void TrackWidget::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    m_painter.paint(painter, m_scene.view(), size(), devicePixelRatioF());
}

} // namespace sw
