#include "HorseArt.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <array>

namespace sw {

namespace {

struct Silks {
    QColor jacket;
    QColor sleeves;
};

// Coats and silks differ from horse to horse so the field reads apart even without the numbers;
// none of them uses a saddle-cloth colour.
const std::array<QColor, 8> Coats = {
    QColor(122, 66, 34),  QColor(168, 88, 42), QColor(178, 174, 168), QColor(46, 40, 38),
    QColor(206, 162, 92), QColor(96, 54, 32),  QColor(150, 112, 80),  QColor(138, 78, 50),
};
const std::array<Silks, 8> JockeySilks = {{
    {QColor(110, 40, 160), QColor(235, 205, 60)},
    {QColor(0, 128, 140), QColor(235, 235, 235)},
    {QColor(140, 20, 56), QColor(40, 40, 120)},
    {QColor(35, 55, 110), QColor(210, 60, 40)},
    {QColor(120, 190, 40), QColor(60, 60, 60)},
    {QColor(200, 90, 170), QColor(30, 110, 60)},
    {QColor(90, 170, 220), QColor(120, 30, 40)},
    {QColor(170, 120, 30), QColor(20, 60, 140)},
}};

struct Leg {
    QPointF hip;
    QPointF knee;
    QPointF hoof;
};

// Far fore, near fore, far hind, near hind: legs stretched out in flight, then gathered under.
const std::array<Leg, 4> Reaching = {{
    {{92, 56}, {108, 66}, {123, 73}},
    {{98, 56}, {114, 69}, {131, 80}},
    {{52, 56}, {35, 67}, {19, 73}},
    {{45, 58}, {30, 72}, {12, 82}},
}};
const std::array<Leg, 4> Gathered = {{
    {{92, 58}, {101, 74}, {90, 89}},
    {{98, 58}, {106, 76}, {99, 93}},
    {{52, 58}, {63, 72}, {71, 90}},
    {{46, 60}, {57, 77}, {61, 94}},
}};

const QRectF ClothRight(53, 35, 30, 25);

void drawLeg(QPainter& p, const Leg& leg, const QColor& coat, const QColor& hoof, double line) {
    QPen upper(coat, 8.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p.setPen(upper);
    p.drawLine(leg.hip, leg.knee);
    QPen lower(coat, 4.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p.setPen(lower);
    p.drawLine(leg.knee, leg.hoof);
    p.setPen(QPen(hoof.darker(140), line));
    p.setBrush(hoof);
    p.drawEllipse(leg.hoof, 3.2, 2.6);
}

QPainterPath bodyPath() {
    QPainterPath barrel;
    barrel.addEllipse(QPointF(72, 50), 28, 12.5);
    QPainterPath rump;
    rump.addEllipse(QPointF(47, 47), 16, 14);
    QPainterPath chest;
    chest.addEllipse(QPointF(95, 49), 13, 13);
    QPainterPath neck;
    neck.moveTo(86, 42);
    neck.lineTo(103, 26);
    neck.quadTo(112, 16, 119, 16);
    neck.lineTo(124, 27);
    neck.quadTo(114, 40, 106, 57);
    neck.closeSubpath();
    QPainterPath head;
    head.moveTo(112, 19);
    head.quadTo(121, 11, 127, 17);
    head.lineTo(137, 31);
    head.quadTo(140, 37, 134, 39);
    head.lineTo(121, 33);
    head.quadTo(114, 29, 112, 19);
    head.closeSubpath();
    QPainterPath ear;
    ear.moveTo(114, 16);
    ear.lineTo(116, 7);
    ear.lineTo(121, 14);
    ear.closeSubpath();
    return barrel.united(rump).united(chest).united(neck).united(head).united(ear).simplified();
}

void drawHorse(QPainter& p, int entry, GallopFrame frame, double line) {
    const auto e = static_cast<std::size_t>(std::clamp(entry, 0, 7));
    const QColor coat = Coats[e];
    const QColor farCoat = coat.darker(135);
    const QColor dark = coat.lightness() > 140 ? QColor(70, 60, 55) : QColor(28, 22, 20);
    const QColor hoof(40, 36, 34);
    const auto& legs = (frame == GallopFrame::A || frame == GallopFrame::C) ? Reaching : Gathered;

    drawLeg(p, legs[0], farCoat, hoof, line);
    drawLeg(p, legs[2], farCoat, hoof, line);

    // Tail streaming back.
    QPainterPath tail;
    tail.moveTo(34, 40);
    tail.quadTo(18, 36, 4, 46);
    tail.quadTo(12, 46, 6, 56);
    tail.quadTo(22, 50, 34, 48);
    tail.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(dark);
    p.drawPath(tail);

    static const QPainterPath body = bodyPath();
    p.setPen(QPen(coat.darker(170), line, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(coat);
    p.drawPath(body);

    drawLeg(p, legs[1], coat, hoof, line);
    drawLeg(p, legs[3], coat, hoof, line);

    // Mane along the neck, eye and nostril.
    QPainterPath mane;
    mane.moveTo(87, 40);
    mane.lineTo(103, 25);
    mane.quadTo(110, 17, 117, 15);
    mane.quadTo(110, 22, 106, 30);
    mane.lineTo(92, 43);
    mane.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(dark);
    p.drawPath(mane);
    p.drawEllipse(QPointF(124, 22), 1.8, 1.8);
    p.drawEllipse(QPointF(135.5, 34), 1.2, 1.2);
}

void drawJockey(QPainter& p, int entry, double line) {
    const Silks& silks = JockeySilks[static_cast<std::size_t>(std::clamp(entry, 0, 7))];
    const QColor boots(22, 22, 22);
    const QColor breeches(236, 232, 222);

    // Saddle under the crouch.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(60, 40, 28));
    p.drawRoundedRect(QRectF(70, 34, 18, 5), 2, 2);

    // Thigh, then the boot folded back along the horse's shoulder.
    p.setPen(QPen(breeches, 7, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawLine(QPointF(78, 30), QPointF(94, 34));
    p.setPen(QPen(boots, 5.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawLine(QPointF(94, 34), QPointF(88, 46));

    // Torso low over the withers.
    p.setPen(QPen(silks.jacket.darker(150), 12 + line, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawLine(QPointF(77, 26), QPointF(97, 17));
    p.setPen(QPen(silks.jacket, 12, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawLine(QPointF(77, 26), QPointF(97, 17));

    // Arm to the hands at the neck, and the reins to the bit.
    p.setPen(QPen(silks.sleeves, 4.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    QPainterPath arm;
    arm.moveTo(96, 18);
    arm.lineTo(104, 27);
    arm.lineTo(113, 29);
    p.drawPath(arm);
    p.setPen(QPen(QColor(30, 24, 20), std::max(line * 0.8, 0.8)));
    p.drawLine(QPointF(113, 29), QPointF(133, 35));

    // Face and helmet in the cap colour.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(226, 180, 150));
    p.drawEllipse(QPointF(105.5, 15), 3.8, 3.8);
    p.setPen(QPen(silks.sleeves.darker(160), line));
    p.setBrush(silks.sleeves);
    p.drawPie(QRectF(98, 5, 13, 12), 0, 180 * 16);
    p.drawRect(QRectF(104, 10, 8, 1.6));
}

void drawCloth(QPainter& p, const QRectF& cloth, int post, double line) {
    p.setPen(QPen(QColor(20, 20, 20), line));
    p.setBrush(HorseArt::clothColour(post));
    p.drawRoundedRect(cloth, 2.5, 2.5);
    QFont font;
    font.setBold(true);
    font.setPixelSize(20);
    p.setFont(font);
    p.setPen(HorseArt::numberColour(post));
    p.drawText(cloth.adjusted(0, 1, 0, 1), Qt::AlignCenter, QString::number(post));
}

} // namespace

QColor HorseArt::clothColour(int post) {
    switch (post) {
    case 1:
        return QColor(206, 28, 36);
    case 2:
        return QColor(246, 246, 244);
    case 3:
        return QColor(28, 72, 196);
    case 4:
        return QColor(252, 214, 24);
    case 5:
        return QColor(18, 148, 72);
    case 6:
        return QColor(26, 26, 26);
    case 7:
        return QColor(246, 128, 18);
    case 8:
        return QColor(246, 138, 184);
    default:
        return QColor(128, 128, 128);
    }
}

QColor HorseArt::numberColour(int post) {
    switch (post) {
    case 1:
    case 3:
    case 5:
        return QColor(255, 255, 255);
    case 6:
        return QColor(255, 226, 64);
    default:
        return QColor(0, 0, 0);
    }
}

QRectF HorseArt::clothRect(QSizeF size, GallopFrame frame) {
    const double sx = size.width() / Width;
    const double sy = size.height() / Height;
    const double left = facesRight(frame) ? ClothRight.left() : Width - ClothRight.right();
    return QRectF(left * sx, ClothRight.top() * sy, ClothRight.width() * sx, ClothRight.height() * sy);
}

void HorseArt::paint(QPainter& painter, const QRectF& box, int entry, GallopFrame frame) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    painter.translate(box.topLeft());
    painter.scale(box.width() / Width, box.height() / Height);
    // At least one device pixel for outlines however small the horse.
    const double perUnit = std::min(box.width() / Width, box.height() / Height);
    const double line = std::max(1.4, 1.0 / std::max(perUnit, 0.01));

    const bool right = facesRight(frame);
    painter.save();
    if (!right) {
        painter.translate(Width, 0);
        painter.scale(-1, 1);
    }
    drawHorse(painter, entry, frame, line);
    painter.restore();

    // The cloth is drawn unmirrored so its number reads the right way round.
    const QRectF cloth =
        right ? ClothRight
              : QRectF(Width - ClothRight.right(), ClothRight.top(), ClothRight.width(), ClothRight.height());
    drawCloth(painter, cloth, std::clamp(entry, 0, 7) + 1, line);

    painter.save();
    if (!right) {
        painter.translate(Width, 0);
        painter.scale(-1, 1);
    }
    drawJockey(painter, entry, line);
    painter.restore();
    painter.restore();
}

QPixmap HorseArt::pixmap(int entry, GallopFrame frame, QSize size, qreal devicePixelRatio) {
    const qreal dpr = devicePixelRatio > 0 ? devicePixelRatio : 1.0;
    QPixmap pm(QSize(std::max(1, qRound(size.width() * dpr)), std::max(1, qRound(size.height() * dpr))));
    pm.setDevicePixelRatio(dpr);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    paint(p, QRectF(QPointF(0, 0), QSizeF(size)), entry, frame);
    return pm;
}

} // namespace sw
