#include "PhotoStillWidget.h"

#include <QPainter>

namespace sw {

PhotoStillWidget::PhotoStillWidget(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("picPhotoStill"));
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void PhotoStillWidget::setStill(const PhotoStill& still) {
    m_still = still;
    update();
}

QSize PhotoStillWidget::sizeHint() const {
    // Tall enough for a nose's lead to read, in the proportions of the track's own close-up.
    const int height = 8 * fontMetrics().height();
    return {height * TrackLayout::PhotoStillWidth / TrackLayout::PhotoStillHeight, height};
}

void PhotoStillWidget::paintEvent(QPaintEvent* /*event*/) {
    if (!m_still.visible)
        return;
    QPainter painter(this);
    m_painter.paintPhotoStill(painter, m_still, QRectF(rect()), devicePixelRatioF());
}

} // namespace sw
