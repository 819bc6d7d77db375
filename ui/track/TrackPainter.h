#pragma once

#include "core/Translate.h"
#include "race/presentation/TrackView.h"
#include "ui/ToQString.h"

#include <QFont>
#include <QPixmap>
#include <QRectF>
#include <QSize>
#include <QStringView>

#include <array>

class QPainter;

namespace sw {

// Paints a track view: the turf oval with its rails, infield and turns, the horses, the call,
// the finish line, the photo sign and the fractions. The static track and the horse drawings
// are kept as pixmaps for the size last painted, so a frame is a few blits and a few texts.
class TrackPainter {
public:
    // Paints `view` filling a rect of `size` at the painter's origin.
    void paint(QPainter& painter, const TrackView& view, QSize size, qreal devicePixelRatio = 1.0);

    // How wide each turn is drawn, left and right of the straights the horses run on.
    static double turnWidth(QSizeF size);
    // How much taller than wide one twip of the frame is drawn at `size`.
    static double twipAspect(const TrackView& view, QSizeF size);
    // The box of picture 0..15 (where its Left and Top put it) in pixels for a frame of `size`.
    static QRectF pictureRect(const TrackView& view, int index, QSizeF size);
    // Where the horse of picture 0..15 is drawn: unstretched, half as large again as fits its box,
    // hooves on the box's bottom, nose at its leading side (facing right, a little past it).
    static QRectF horseRect(const TrackView& view, int index, QSizeF size);
    // Where a painted element lies: "imgRail", "lblturn1", "lblturn2", "lblCall", "lblFinishLine",
    // "lineFinish", "lblPhoto", "picPhotoStill", "Label14" (the "Fractions" heading), "lblFracTimes0".."2".
    // Empty for an unknown name.
    static QRectF elementRect(const TrackView& view, QStringView name, QSizeF size);

    // Paints the close-up of the line alone, filling `r`.
    void paintPhotoStill(QPainter& painter, const PhotoStill& still, const QRectF& r,
                         qreal devicePixelRatio = 1.0);

    // Texts as painted.
    static QString finishText() { return ui::toQString(C_("track", "Finish")); }
    static QString photoText() { return ui::toQString(_(" Photo Finish")); }
    static QString fractionsText() { return ui::toQString(_("Fractions")); }
    static QString turnText() { return ui::toQString(_("Turn\nTurn\nTurn")); }

private:
    struct Layout;
    static Layout layout(const TrackView& view, QSizeF size);
    void paintBackground(QPainter& painter, const Layout& l, bool captions) const;
    const QPixmap& background(const Layout& l, const TrackView& view, qreal dpr);
    // The horse drawings at one size; the track and the still each keep their own.
    struct HorseCache {
        std::array<QPixmap, 32> pixmaps;
        QSize size;
        qreal ratio = 0;
    };
    static const QPixmap& horse(HorseCache& cache, int entry, GallopFrame frame, QSize size, qreal dpr);
    // The close-up of the line in `r`: the horses near it enlarged, noses placed as they stood.
    void paintStill(QPainter& painter, const PhotoStill& still, const QRectF& r, double pixelsPerTwip,
                    qreal dpr);

    QPixmap m_background;
    QSize m_backgroundSize;
    qreal m_backgroundRatio = 0;
    int m_backgroundTrackWidth = 0;
    bool m_backgroundCaptions = false;

    HorseCache m_horses;
    HorseCache m_stillHorses;
};

} // namespace sw
