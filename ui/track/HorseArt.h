#pragma once

#include "race/presentation/TrackView.h"

#include <QColor>
#include <QPixmap>
#include <QRectF>
#include <QSize>

class QPainter;

namespace sw {

// The eight horses drawn in code: a galloping horse with a jockey in silks and a saddle cloth in
// its post colour, in four strides (A and B facing right, C and D facing left).
struct HorseArt {
    // The drawing's own units: a horse picture is this wide and tall, hooves on the bottom edge.
    static constexpr double Width = 140.0;
    static constexpr double Height = 96.0;

    // Saddle-cloth colours by post 1..8: red, white, blue, yellow, green, black, orange, pink.
    static QColor clothColour(int post);
    // The number on the cloth, chosen to stand out from it.
    static QColor numberColour(int post);
    // Where the saddle cloth sits in a picture of the given size (facing decides the side).
    static QRectF clothRect(QSizeF size, GallopFrame frame);

    // Paints entry e (0..7) in the given stride, filling `box`.
    static void paint(QPainter& painter, const QRectF& box, int entry, GallopFrame frame);
    // The same into a transparent pixmap of `size` device-independent pixels.
    static QPixmap pixmap(int entry, GallopFrame frame, QSize size, qreal devicePixelRatio = 1.0);
};

} // namespace sw
