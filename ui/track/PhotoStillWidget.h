#pragma once

#include "TrackPainter.h"
#include "race/presentation/TrackView.h"

#include <QWidget>

namespace sw {

// The photo's close-up of the line on its own, `picPhotoStill`: the results window shows it
// while the judges study a close finish, since the track it was taken on lies behind that window.
class PhotoStillWidget : public QWidget {
    Q_OBJECT

public:
    explicit PhotoStillWidget(QWidget* parent = nullptr);

    // Shows this still from now on; one the camera never took leaves the widget blank.
    void setStill(const PhotoStill& still);
    const PhotoStill& still() const { return m_still; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    PhotoStill m_still;
    TrackPainter m_painter;
};

} // namespace sw
