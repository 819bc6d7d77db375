#pragma once

#include "TrackPainter.h"
#include "race/presentation/TrackScene.h"

#include <QRectF>
#include <QWidget>

namespace sw {

// The track frame `frTrack`: shows its TrackScene, scaled to the widget's size. It only paints;
// whoever runs the parade or the race changes the scene and calls sceneChanged().
// Any track width fits any size; races run best at DesignTrackWidth, where the winner's
// nose meets the painted finish line just as it is placed.
class TrackWidget : public QWidget {
    Q_OBJECT

public:
    explicit TrackWidget(QWidget* parent = nullptr);

    TrackScene& scene() { return m_scene; }
    const TrackScene& scene() const { return m_scene; }
    // Asks for a repaint after the scene changed.
    void sceneChanged() { update(); }

    // Where a painted element lies in the widget (see TrackPainter::elementRect).
    QRectF elementRect(QStringView name) const;
    // Where picture 0..15's horse is drawn in the widget.
    QRectF horseRect(int picture) const;

    QSize sizeHint() const override { return {960, 300}; }
    QSize minimumSizeHint() const override { return {320, 100}; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    TrackScene m_scene;
    TrackPainter m_painter;
};

} // namespace sw
