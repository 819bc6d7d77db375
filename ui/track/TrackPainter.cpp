#include "TrackPainter.h"

#include "HorseArt.h"
#include "core/Translate.h"
#include "race/presentation/TrackOval.h"
#include "ui/ToQString.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace sw {

namespace {

const QColor Backdrop(34, 78, 40);
const QColor Turf(70, 146, 62);
const QColor TurfStripe(80, 158, 70);
const QColor Infield(44, 108, 50);
const QColor Rail(250, 250, 250);
const QColor CallFill(255, 214, 0);
const QColor PhotoFill(196, 22, 28);
const QColor BoardFill(16, 20, 24, 225);
const QColor BoardDigits(255, 190, 40);

constexpr int FrameHeight = TrackLayout::FrameBottom - TrackLayout::FrameTop;
// Horses drawn only as large as their lane spacing would be too small to read a number on; they
// overlap the next lane instead, as a field seen from the stands does.
constexpr double HorseScale = TrackLayout::HorseDrawScale;
constexpr double HorseCentre = TrackLayout::HorseCentre;

// Two straights from `left` to `right` (centres of the ends) joined by half ellipses.
QPainterPath stadium(double left, double right, double centreY, double rx, double ry) {
    QPainterPath path;
    path.moveTo(left, centreY - ry);
    path.lineTo(right, centreY - ry);
    path.arcTo(QRectF(right - rx, centreY - ry, 2 * rx, 2 * ry), 90, -180);
    path.lineTo(left, centreY + ry);
    path.arcTo(QRectF(left - rx, centreY - ry, 2 * rx, 2 * ry), 270, -180);
    path.closeSubpath();
    return path;
}

} // namespace

struct TrackPainter::Layout {
    double w = 1;
    double h = 1;
    double sx = 1;
    double sy = 1;
    QFont font;
    QFont bold;
    QFont digits;
    QRectF band;
    QRectF oval;
    QRectF infield;
    QRectF rail;
    QRectF turn1;
    QRectF turn2;
    QRectF call;
    QRectF finishLabel;
    QRectF finishLine;
    QRectF photo;
    QRectF still;
    QRectF board;
    QRectF heading;
    std::array<QRectF, 3> markLabels;
    std::array<QRectF, 3> times;

    double turn = 0; // width of each turn, left and right of the straights
    double trackScale = 1;
    TrackOval course{DesignTrackWidth};
    // The turns' centres across the frame, in pixels.
    double leftEnd = 0;
    double rightEnd = 0;
    QRectF caption;
    QSizeF badge;
    double x(double twips) const { return turn + twips * sx; }
    double y(double twips) const { return (twips - TrackLayout::FrameTop) * sy; }
};

TrackPainter::Layout TrackPainter::layout(const TrackView& view, QSizeF size) {
    Layout l;
    l.w = std::max(size.width(), 1.0);
    l.h = std::max(size.height(), 1.0);
    l.turn = turnWidth(size);
    l.sx = (l.w - 2 * l.turn) / std::max(view.trackWidth, 1);
    l.sy = l.h / FrameHeight;
    l.trackScale = static_cast<double>(std::max(view.trackWidth, 1)) / DesignTrackWidth;
    l.course = TrackOval(view.trackWidth);

    // Text follows the smaller side, so a tall narrow track does not overflow its turns and band.
    const int fontPx = std::clamp(static_cast<int>(std::lround(std::min(l.h * 0.04, l.w * 0.016))), 9, 26);
    l.font.setPixelSize(fontPx);
    l.bold = l.font;
    l.bold.setBold(true);
    l.digits = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    l.digits.setPixelSize(fontPx);
    l.digits.setBold(true);

    l.band = QRectF(0, 0, l.w, l.y(TrackLayout::FarRailY));
    l.oval =
        QRectF(0, l.y(TrackLayout::FarRailY), l.w, l.y(TrackLayout::NearRailY) - l.y(TrackLayout::FarRailY));
    l.infield = QRectF(l.turn, l.y(TrackLayout::InnerRailFarY), l.w - 2 * l.turn,
                       l.y(TrackLayout::InnerRailNearY) - l.y(TrackLayout::InnerRailFarY));
    l.rail = QRectF(0, l.y(TrackLayout::NearRailY), l.w, l.h - l.y(TrackLayout::NearRailY));

    const QFontMetricsF fm(l.font);
    const QFontMetricsF bm(l.bold);
    const double lineH = fm.height();
    const double mid = l.infield.center().y();

    l.rightEnd = l.x(l.course.firstTurnLeft() + HorseCentre);
    l.leftEnd = l.x(l.course.secondTurnLeft() + HorseCentre);

    const double turnW = std::max(fm.horizontalAdvance(ui::toQString(_("Turn"))) + 6, 1.0);
    // The captions stand beyond the turns, at the frame's ends, clear of the runners.
    const QRectF turn(0, mid - 1.5 * lineH, turnW, 3 * lineH);
    l.turn2 = turn.translated(std::max((l.turn - turnW) / 2, 0.0), 0);
    l.turn1 = turn.translated(l.w - turnW - std::max((l.turn - turnW) / 2, 0.0), 0);

    const double labelH = bm.height() + 4;
    const auto rectOf = [&](const TwipsRect& r) {
        return QRectF(l.x(r.left), l.y(r.top), r.width * l.sx, r.height * l.sy);
    };
    l.finishLabel = rectOf(TrackLayout::finishSign(l.trackScale));
    l.finishLine = QRectF(l.x(view.finishLineX) - 1.5, l.y(TrackLayout::InnerRailNearY), 3,
                          l.y(TrackLayout::NearRailY) - l.y(TrackLayout::InnerRailNearY));
    l.photo = rectOf(TrackLayout::photoSign(l.trackScale));
    // Once the race is over nothing runs, and the still may take most of the frame.
    bool raceOver = true;
    for (int e = 0; e < TrackView::FirstParadePicture; ++e)
        raceOver = raceOver && !view.pictures[static_cast<std::size_t>(e)].visible;
    l.still = rectOf(TrackLayout::photoStill(l.trackScale, raceOver));
    l.badge = QSizeF(bm.horizontalAdvance(QStringLiteral("8")) + 8,
                     std::min(bm.height() + 2, TrackLayout::NumberRoom * l.sy));
    const double captionW = bm.horizontalAdvance(QString::fromStdString(view.caption)) + 16;

    // The fractions board sits in the band beyond the far rail, at its left end.
    const QFontMetricsF dm(l.digits);
    const double pad = 6;
    const double boardH = std::min(std::max(l.band.height() - 4, lineH), lineH + 6);
    double x = pad + 4;
    const double textY = 2 + (boardH - lineH) / 2;
    l.heading = QRectF(x, textY, bm.horizontalAdvance(fractionsText()), lineH);
    x = l.heading.right() + 2 * pad;
    static const char* const marks[3] = {"\u00BC", "\u00BD", "\u00BE"};
    for (std::size_t m = 0; m < 3; ++m) {
        const double markW = bm.horizontalAdvance(QString::fromUtf8(marks[m]));
        l.markLabels[m] = QRectF(x, textY, markW, lineH);
        x += markW + pad / 2;
        l.times[m] = QRectF(x, textY, dm.horizontalAdvance(QStringLiteral("0:00.00")), lineH);
        x = l.times[m].right() + 2 * pad;
    }
    l.board = QRectF(pad, 2, x - pad - pad, boardH);

    // The call rides in the band too, above the runner it names, clear of the board.
    const double callW = bm.horizontalAdvance(ui::toQString(_(view.call.text))) + 12;
    const double callH = std::min(labelH, boardH);
    const double callX =
        std::clamp(l.x(view.call.left), l.board.right() + pad, std::max(l.w - callW - 2, 0.0));
    l.call = QRectF(callX, l.board.center().y() - callH / 2, callW, callH);
    // A replay says so at the band's other end, clear of the board and of the horses.
    l.caption = QRectF(std::max(l.w - captionW - pad, l.board.right() + pad), l.call.top(), captionW, callH);
    return l;
}

QRectF TrackPainter::pictureRect(const TrackView& view, int index, QSizeF size) {
    const HorsePicture& p =
        view.pictures[static_cast<std::size_t>(std::clamp(index, 0, TrackView::PictureCount - 1))];
    const double turn = turnWidth(size);
    const double sx = (std::max(size.width(), 1.0) - 2 * turn) / std::max(view.trackWidth, 1);
    const double sy = std::max(size.height(), 1.0) / FrameHeight;
    return QRectF(turn + p.left * sx, (p.top - TrackLayout::FrameTop) * sy, TrackLayout::PictureWidth * sx,
                  TrackLayout::PictureHeight * sy);
}

double TrackPainter::turnWidth(QSizeF size) {
    const double w = std::max(size.width(), 1.0);
    return std::min(w * 0.06, std::max(size.height(), 1.0) * 0.3);
}

double TrackPainter::twipAspect(const TrackView& view, QSizeF size) {
    const double across = std::max(size.width() - 2 * turnWidth(size), 1.0) / std::max(view.trackWidth, 1);
    const double down = std::max(size.height(), 1.0) / FrameHeight;
    return down / across;
}

QRectF TrackPainter::horseRect(const TrackView& view, int index, QSizeF size) {
    const QRectF box = pictureRect(view, index, size);
    const double scale =
        HorseScale * std::min(box.width() / HorseArt::Width, box.height() / HorseArt::Height);
    const double w = HorseArt::Width * scale;
    const double h = HorseArt::Height * scale;
    const GallopFrame frame = view.pictures[static_cast<std::size_t>(std::clamp(index, 0, 15))].frame;
    const double left =
        facesRight(frame)
            ? box.right() + TrackLayout::NoseOverhang * box.width() / TrackLayout::PictureWidth - w
            : box.left();
    return QRectF(left, box.bottom() - h, w, h);
}

QRectF TrackPainter::elementRect(const TrackView& view, QStringView name, QSizeF size) {
    const Layout l = layout(view, size);
    if (name == u"imgRail")
        return l.rail;
    if (name == u"lblturn1")
        return l.turn1;
    if (name == u"lblturn2")
        return l.turn2;
    if (name == u"lblCall")
        return l.call;
    if (name == u"lblFinishLine")
        return l.finishLabel;
    if (name == u"lineFinish")
        return l.finishLine;
    if (name == u"lblPhoto")
        return l.photo;
    if (name == u"picPhotoStill")
        return l.still;
    if (name == u"Label14")
        return l.heading;
    for (std::size_t m = 0; m < 3; ++m)
        if (name == QString(QStringLiteral("lblFracTimes%1")).arg(m))
            return l.times[m];
    return {};
}

void TrackPainter::paintBackground(QPainter& p, const Layout& l, bool captions) const {
    p.setRenderHint(QPainter::Antialiasing, true);
    p.fillRect(QRectF(0, 0, l.w, l.h), Backdrop);

    // A hedge beyond the far rail.
    QLinearGradient sky(0, 0, 0, l.band.bottom());
    sky.setColorAt(0, Backdrop.darker(125));
    sky.setColorAt(1, Backdrop);
    p.fillRect(l.band, sky);
    p.setPen(Qt::NoPen);
    p.setBrush(Backdrop.lighter(112));
    const double bump = std::max(l.band.height() * 0.7, 6.0);
    for (double x = -bump / 2; x < l.w + bump; x += bump * 0.9)
        p.drawEllipse(QPointF(x, l.band.bottom()), bump * 0.6, bump * 0.45);

    // The turf oval: two straights joined by turns at the ends, mown in stripes.
    // The rails follow the lanes round the turns; the outer one takes in the chute the field starts
    // from at the left end of the near straight, drawn as one outline (no path union on a repaint).
    const double outerRy = (l.y(TrackLayout::NearRailY) - l.y(TrackLayout::FarRailY)) / 2;
    const double outerRx = l.course.radiusAcross(8.6) * l.sx;
    const double outerY = l.y(TrackLayout::FarRailY) + outerRy;
    const double chuteTop = l.y(TrackLayout::InnerRailNearY);
    // Where the second turn's outer arc meets the chute's top, in Qt's degrees (counter-clockwise from 3
    // o'clock).
    const double meet =
        180 + std::asin(std::clamp((chuteTop - outerY) / outerRy, 0.0, 1.0)) * 180 / std::numbers::pi;
    const QRectF leftArc(l.leftEnd - outerRx, outerY - outerRy, 2 * outerRx, 2 * outerRy);
    QPainterPath oval;
    oval.moveTo(l.leftEnd, outerY - outerRy);
    oval.lineTo(l.rightEnd, outerY - outerRy);
    oval.arcTo(QRectF(l.rightEnd - outerRx, outerY - outerRy, 2 * outerRx, 2 * outerRy), 90, -180);
    oval.lineTo(0, outerY + outerRy);
    oval.lineTo(0, chuteTop);
    oval.arcTo(leftArc, meet, -(meet - 90));
    oval.closeSubpath();
    p.setBrush(Turf);
    p.drawPath(oval);
    p.save();
    p.setClipPath(oval);
    const double stripe = std::max(l.w / 26, 14.0);
    p.setBrush(TurfStripe);
    for (double x = 0; x < l.w; x += 2 * stripe)
        p.drawRect(QRectF(x, l.oval.top(), stripe, l.oval.height()));
    p.restore();

    const double railW = std::max(2.0, l.h * 0.007);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(0, 0, 0, 70), railW + 2));
    p.drawPath(oval);
    p.setPen(QPen(Rail, railW));
    p.drawPath(oval);

    // Infield with its own rail, rounded where the track turns around it.
    const QPainterPath infield = stadium(l.leftEnd, l.rightEnd, l.infield.center().y(),
                                         l.course.radiusAcross(-0.15) * l.sx, l.infield.height() / 2);
    p.setPen(Qt::NoPen);
    p.setBrush(Infield);
    p.drawPath(infield);
    p.setBrush(QColor(60, 130, 60));
    const double bed = l.infield.height() * 0.18;
    const QRectF in = infield.boundingRect();
    const QRectF beds = in.adjusted(in.height(), in.height() * 0.41, -in.height(), -in.height() * 0.41);
    if (beds.width() > 0)
        p.drawRoundedRect(beds, bed, bed);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(0, 0, 0, 70), railW + 1));
    p.drawPath(infield);
    p.setPen(QPen(Rail, std::max(1.5, railW * 0.8)));
    p.drawPath(infield);

    // Quarter, half and three-quarter poles on the inner rail, where a runner's nose reaches the
    // mark (the race's marks, rounded as it rounds them).
    const double poleH = std::max(l.infield.height() * 0.9, 8.0);
    const double poleW = std::max(2.0, railW);
    for (const int mark : {5964, 11928, 17892}) {
        const OvalPlace at = l.course.place(std::nearbyint(mark * l.trackScale), -0.15);
        const double x = l.x(at.left + (at.facingRight ? TrackLayout::PictureWidth : 0));
        const double railY = l.y(at.top + TrackLayout::PictureHeight);
        const QRectF pole(x - poleW / 2, railY - poleH, poleW, poleH);
        p.fillRect(pole.adjusted(-0.5, 0, 0.5, 0), QColor(0, 0, 0, 110));
        p.fillRect(pole, Rail);
        for (int band = 0; band < 2; ++band)
            p.fillRect(QRectF(pole.left(), pole.top() + poleH * (0.1 + 0.3 * band), poleW, poleH * 0.15),
                       PhotoFill);
    }

    // The near rail along the lower edge: a white top rail on posts.
    const double top = l.rail.top() + 1;
    const double barH = std::max(3.0, l.rail.height() * 0.35);
    const double postW = std::max(2.0, barH * 0.6);
    const double postGap = std::max(l.w / 48, 12.0);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(210, 214, 210));
    for (double x = postGap / 2; x < l.w; x += postGap)
        p.drawRect(QRectF(x, top, postW, l.rail.bottom() - top));
    p.setBrush(Rail);
    p.drawRoundedRect(QRectF(0, top, l.w, barH), barH / 2, barH / 2);
    p.setBrush(QColor(0, 0, 0, 60));
    p.drawRect(QRectF(0, top + barH, l.w, std::max(1.0, barH * 0.25)));

    if (captions) {
        p.setFont(l.bold);
        for (const QRectF& r : {l.turn1, l.turn2}) {
            p.setPen(QColor(0, 0, 0, 110));
            p.drawText(r.translated(1, 1), Qt::AlignCenter, turnText());
            p.setPen(QColor(255, 255, 255, 215));
            p.drawText(r, Qt::AlignCenter, turnText());
        }
    }
}

const QPixmap& TrackPainter::background(const Layout& l, const TrackView& view, qreal dpr) {
    const QSize size(static_cast<int>(std::lround(l.w)), static_cast<int>(std::lround(l.h)));
    if (m_background.isNull() || size != m_backgroundSize || dpr != m_backgroundRatio ||
        view.trackWidth != m_backgroundTrackWidth || view.turnCaptionsVisible != m_backgroundCaptions) {
        m_background =
            QPixmap(QSize(std::max(1, qRound(size.width() * dpr)), std::max(1, qRound(size.height() * dpr))));
        m_background.setDevicePixelRatio(dpr);
        QPainter p(&m_background);
        paintBackground(p, l, view.turnCaptionsVisible);
        m_backgroundSize = size;
        m_backgroundRatio = dpr;
        m_backgroundTrackWidth = view.trackWidth;
        m_backgroundCaptions = view.turnCaptionsVisible;
    }
    return m_background;
}

void TrackPainter::paintStill(QPainter& p, const PhotoStill& still, const QRectF& r, double pixelsPerTwip,
                              qreal dpr) {
    if (r.width() < 8 || r.height() < 8)
        return;
    p.save();
    // Photo paper: the line's camera sees only the strip at the line, so everything is in grey.
    QLinearGradient paper(r.topLeft(), r.bottomLeft());
    paper.setColorAt(0, QColor(226, 222, 210));
    paper.setColorAt(1, QColor(196, 192, 180));
    p.setPen(QPen(QColor(0, 0, 0, 200), 2));
    p.setBrush(paper);
    p.drawRect(r);
    p.setClipRect(r.adjusted(2, 2, -2, -2));

    // The horses are shown this much larger than on the track, so a nose's lead reads; the line
    // stands at two thirds, the leaders reach past it.
    const double horseH = r.height() * 0.62;
    const double horseW = horseH * HorseArt::Width / HorseArt::Height;
    const double zoom = horseW / (HorseScale * TrackLayout::PictureWidth * pixelsPerTwip);
    const double lineX = r.left() + r.width() * 2 / 3;
    // Farther lanes (higher on the track) first and higher in the picture, nearer ones over them.
    std::array<int, 8> order{};
    for (int i = 0; i < 8; ++i)
        order[static_cast<std::size_t>(i)] = i;
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        return still.horses[static_cast<std::size_t>(a)].top < still.horses[static_cast<std::size_t>(b)].top;
    });
    std::vector<int> shown;
    for (int e : order) {
        const auto ei = static_cast<std::size_t>(e);
        const double noseX = lineX + still.noseFromLine[ei] * pixelsPerTwip * zoom;
        if (still.horses[ei].visible && facesRight(still.horses[ei].frame) && noseX > r.left() &&
            noseX - horseW < r.right())
            shown.push_back(e);
    }
    const double spread = r.height() - horseH - 6;
    const QSize px(std::max(1, static_cast<int>(std::lround(horseW))),
                   std::max(1, static_cast<int>(std::lround(horseH))));
    // The line itself, drawn under the horses as the camera's mirror sees it.
    p.fillRect(QRectF(lineX - 1.5, r.top(), 3, r.height()), QColor(40, 40, 40));
    for (std::size_t k = 0; k < shown.size(); ++k) {
        const auto ei = static_cast<std::size_t>(shown[k]);
        const double bottom =
            r.top() + horseH + 3 +
            (shown.size() > 1 ? spread * static_cast<double>(k) / (shown.size() - 1) : spread);
        const double noseX = lineX + still.noseFromLine[ei] * pixelsPerTwip * zoom;
        const QRectF at(noseX - horseW, bottom - horseH, horseW, horseH);
        p.drawPixmap(at.topLeft(), horse(m_stillHorses, shown[k], still.horses[ei].frame, px, dpr));
    }
    p.restore();
}

void TrackPainter::paintPhotoStill(QPainter& painter, const PhotoStill& still, const QRectF& r, qreal dpr) {
    // The still's own scale cancels out: its horses are sized from its height.
    paintStill(painter, still, r, 1.0, dpr > 0 ? dpr : 1.0);
}

const QPixmap& TrackPainter::horse(HorseCache& cache, int entry, GallopFrame frame, QSize size, qreal dpr) {
    if (size != cache.size || dpr != cache.ratio) {
        for (auto& pm : cache.pixmaps)
            pm = QPixmap();
        cache.size = size;
        cache.ratio = dpr;
    }
    const auto slot = static_cast<std::size_t>(std::clamp(entry, 0, 7) * 4 + static_cast<int>(frame));
    if (cache.pixmaps[slot].isNull())
        cache.pixmaps[slot] = HorseArt::pixmap(entry, frame, size, dpr);
    return cache.pixmaps[slot];
}

void TrackPainter::paint(QPainter& painter, const TrackView& view, QSize size, qreal dpr) {
    if (size.isEmpty())
        return;
    const Layout l = layout(view, QSizeF(size));
    painter.save();
    painter.drawPixmap(0, 0, background(l, view, dpr > 0 ? dpr : 1.0));

    // Nearer horses (lower on the frame) are drawn over farther ones.
    std::array<int, TrackView::PictureCount> order{};
    for (int i = 0; i < TrackView::PictureCount; ++i)
        order[static_cast<std::size_t>(i)] = i;
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        return view.pictures[static_cast<std::size_t>(a)].top <
               view.pictures[static_cast<std::size_t>(b)].top;
    });
    if (view.finishLineVisible) {
        painter.fillRect(l.finishLine.adjusted(-1, 0, 1, 0), QColor(0, 0, 0, 120));
        painter.fillRect(l.finishLine, Rail);
    }
    for (int i : order) {
        const HorsePicture& pic = view.pictures[static_cast<std::size_t>(i)];
        if (!pic.visible)
            continue;
        const QRectF r = horseRect(view, i, QSizeF(size));
        const QSize px(std::max(1, static_cast<int>(std::lround(r.width()))),
                       std::max(1, static_cast<int>(std::lround(r.height()))));
        painter.drawPixmap(QPointF(std::round(r.left()), std::round(r.top())),
                           horse(m_horses, i % 8, pic.frame, px, dpr > 0 ? dpr : 1.0));
    }

    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    // Saddle numbers above the runners, drawn after every horse so a bunched field keeps them
    // readable; nearer runners' numbers go over farther ones'.
    painter.setFont(l.bold);
    for (int i : order) {
        const HorsePicture& pic = view.pictures[static_cast<std::size_t>(i)];
        if (i >= TrackView::FirstParadePicture || !pic.visible)
            continue;
        const QRectF r = horseRect(view, i, QSizeF(size));
        const QRectF badge(r.center().x() - l.badge.width() / 2, r.top() - l.badge.height(), l.badge.width(),
                           l.badge.height());
        painter.setPen(QPen(QColor(0, 0, 0, 170), 1));
        painter.setBrush(HorseArt::clothColour(i + 1));
        painter.drawRoundedRect(badge, 3, 3);
        painter.setPen(HorseArt::numberColour(i + 1));
        painter.drawText(badge, Qt::AlignCenter, QString::number(i + 1));
    }
    auto sign = [&](const QRectF& r, const QColor& fill, const QColor& ink, const QString& text) {
        painter.setPen(QPen(QColor(0, 0, 0, 200), 1));
        painter.setBrush(fill);
        painter.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), 3, 3);
        painter.setPen(ink);
        // A sign keeps to its place: on a narrow frame its text shrinks rather than spill out.
        QFont font = l.bold;
        const QFontMetricsF fm(font);
        const double fit = std::min((r.width() - 6) / std::max(fm.horizontalAdvance(text), 1.0),
                                    (r.height() - 2) / std::max(fm.height(), 1.0));
        if (fit < 1)
            font.setPixelSize(std::max(6, static_cast<int>(font.pixelSize() * fit)));
        painter.setFont(font);
        painter.drawText(r, Qt::AlignCenter, text);
    };
    if (view.photoStill.visible)
        paintStill(painter, view.photoStill, l.still, view.finishLineX * l.sx, dpr > 0 ? dpr : 1.0);
    if (view.finishLineVisible)
        sign(l.finishLabel, PhotoFill.darker(115), Qt::white, finishText());
    if (view.photoVisible)
        sign(l.photo, PhotoFill, Qt::white, photoText());
    if (view.call.visible)
        sign(l.call, CallFill, Qt::black, ui::toQString(_(view.call.text)));
    if (!view.caption.empty())
        sign(l.caption, BoardFill, Qt::white, QString::fromStdString(view.caption));

    // The fractions board, dark with bright digits like the tote.
    painter.setPen(QPen(QColor(255, 255, 255, 90), 1));
    painter.setBrush(BoardFill);
    painter.drawRoundedRect(l.board, 3, 3);
    painter.setFont(l.bold);
    painter.setPen(Qt::white);
    painter.drawText(l.heading, Qt::AlignVCenter | Qt::AlignLeft, fractionsText());
    static const char* const marks[3] = {"\u00BC", "\u00BD", "\u00BE"};
    for (std::size_t m = 0; m < 3; ++m) {
        painter.setFont(l.bold);
        painter.setPen(Qt::white);
        painter.drawText(l.markLabels[m], Qt::AlignVCenter | Qt::AlignLeft, QString::fromUtf8(marks[m]));
        painter.setFont(l.digits);
        painter.setPen(BoardDigits);
        painter.drawText(l.times[m], Qt::AlignVCenter | Qt::AlignLeft,
                         QString::fromUtf8(view.fractionTimes[m]));
    }
    painter.restore();
}

} // namespace sw
