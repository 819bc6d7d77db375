#include "race/presentation/qt/TrackWidget.h"
#include "race/presentation/qt/HorseArt.h"
#include "race/presentation/qt/TrackPainter.h"

#include <QApplication>
#include <QImage>
#include <QPalette>

#include <gtest/gtest.h>

#include <array>
#include <memory>

using namespace sw;

namespace {

class TrackWidgetTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        if (!QApplication::instance()) {
            static int argc = 1;
            static char name[] = "test_presentation_widget";
            static char* argv[] = {name, nullptr};
            s_app = std::make_unique<QApplication>(argc, argv);
        }
    }

    // Gone before the program's exit, while the rest of Qt is still there.
    static void TearDownTestSuite() { s_app.reset(); }

    // A field spread over both straights: entries 0..3 running right on the near straight,
    // 4..7 running left on the far one, no two pictures overlapping.
    static void spreadField(TrackScene& scene) {
        std::array<GallopFrame, 8> frames{};
        frames.fill(GallopFrame::A);
        scene.beginRace(frames, TrackLayout::DesignWidth);
        scene.advanceGate(TrackScene::gateLength());
        scene.raceStarted();
        for (int e = 0; e < 4; ++e) {
            scene.entryMoved(e, 600 + 2600 * e, 0);
            scene.laneSet(e, 0, 2 * e);
        }
        // Run far enough to be past the first turn, at Lefts 8200, 6100, 4000 and 1900.
        const int legs = 2 * 10655;
        for (int e = 4; e < 8; ++e) {
            scene.entryMoved(e, -(legs - 8200 + 2100 * (e - 4)), 1);
            scene.laneSet(e, 1, 2 * (e - 4));
        }
        scene.gallop(); // near straight to B, far straight to D
    }

    static QImage render(TrackWidget& widget, QSize size) {
        widget.resize(size);
        QImage image(size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::magenta);
        widget.render(&image);
        return image;
    }

    // The straights run between the two turns; twips map onto them.
    static double straightX(const TrackView& view, double twips, QSize size) {
        const double turn = TrackPainter::turnWidth(QSizeF(size));
        return turn + twips * (size.width() - 2 * turn) / view.trackWidth;
    }

    // The box a picture's Left and Top put it in, worked out here from the frame's twips.
    static QRectF expectedBox(const TrackView& view, int picture, QSize size) {
        const HorsePicture& p = view.pictures[static_cast<std::size_t>(picture)];
        const double sy = size.height() / double(TrackLayout::FrameBottom - TrackLayout::FrameTop);
        const double left = straightX(view, p.left, size);
        return QRectF(left, (p.top - TrackLayout::FrameTop) * sy,
                      straightX(view, p.left + TrackLayout::PictureWidth, size) - left,
                      TrackLayout::PictureHeight * sy);
    }

    static int count(const QImage& image, const QRectF& area, QColor colour) {
        const QRect r = area.toAlignedRect().intersected(image.rect());
        int n = 0;
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x)
                n += image.pixelColor(x, y).rgb() == colour.rgb() ? 1 : 0;
        return n;
    }

    static std::unique_ptr<QApplication> s_app;
};

std::unique_ptr<QApplication> TrackWidgetTest::s_app;

TEST_F(TrackWidgetTest, IsTheTrackFrame) {
    TrackWidget widget;
    EXPECT_EQ(widget.objectName(), QStringLiteral("frTrack"));
    EXPECT_FALSE(widget.elementRect(u"imgRail").isEmpty());
    EXPECT_TRUE(widget.elementRect(u"noSuchThing").isEmpty());
}

TEST_F(TrackWidgetTest, SaddleClothsShowWhereEachHorseIsAtAnySize) {
    TrackWidget widget;
    spreadField(widget.scene());
    for (QSize size : {QSize(1366, 400), QSize(900, 320)}) {
        const QImage image = render(widget, size);
        for (int e = 0; e < 8; ++e) {
            const QColor cloth = HorseArt::clothColour(e + 1);
            const QRectF box = expectedBox(widget.scene().view(), e, size);
            EXPECT_GE(count(image, box, cloth), 12) << "post " << e + 1 << " at " << size.width();
            // Two picture widths back along the same lane there is only turf.
            const QRectF beside = box.translated(2 * box.width() * (e < 4 ? -1 : 1), 0);
            EXPECT_EQ(count(image, beside, cloth), 0) << "post " << e + 1 << " at " << size.width();
        }
    }
}

TEST_F(TrackWidgetTest, ClothSitsOnTheSideTheHorseFaces) {
    TrackWidget widget;
    spreadField(widget.scene());
    const QSize size(1366, 400);
    const QImage image = render(widget, size);
    for (int e : {2, 6}) {
        const QRectF horse = widget.horseRect(e);
        const QRectF cloth =
            HorseArt::clothRect(horse.size(), widget.scene().picture(e).frame).translated(horse.topLeft());
        const QColor colour = HorseArt::clothColour(e + 1);
        EXPECT_GE(count(image, cloth, colour), count(image, horse, colour) * 8 / 10) << "post " << e + 1;
    }
    const QRectF right = widget.horseRect(2);
    const QRectF left = widget.horseRect(6);
    EXPECT_GT(HorseArt::clothRect(right.size(), GallopFrame::B).center().x(), right.width() / 4);
    EXPECT_NE(HorseArt::clothRect(right.size(), GallopFrame::B).center().x(),
              HorseArt::clothRect(left.size(), GallopFrame::C).center().x());
}

TEST_F(TrackWidgetTest, StridesAreDifferentDrawings) {
    const QSize size(140, 96);
    const QImage a = HorseArt::pixmap(0, GallopFrame::A, size).toImage();
    const QImage b = HorseArt::pixmap(0, GallopFrame::B, size).toImage();
    const QImage c = HorseArt::pixmap(0, GallopFrame::C, size).toImage();
    const QImage d = HorseArt::pixmap(0, GallopFrame::D, size).toImage();
    EXPECT_NE(a, b);
    EXPECT_NE(c, d);
    EXPECT_NE(a, c);
    // C is A turned round: the hooves sit at the mirrored places.
    EXPECT_EQ(a.pixelColor(131, 80).alpha() > 0, c.pixelColor(140 - 1 - 131, 80).alpha() > 0);
}

TEST_F(TrackWidgetTest, LabelsShowOnlyWhileTheSceneSaysSo) {
    TrackWidget widget;
    spreadField(widget.scene());
    TrackScene& scene = widget.scene();
    const QSize size(1366, 400);
    QImage image = render(widget, size);
    EXPECT_EQ(count(image, widget.elementRect(u"lblPhoto"), QColor(196, 22, 28)), 0);
    const QRectF finish = widget.elementRect(u"lineFinish");
    // The middle of the line, clear of the rails at its ends.
    const QRectF line = finish.adjusted(0, finish.height() / 4, 0, -finish.height() / 4);
    EXPECT_EQ(count(image, line, QColor(250, 250, 250)), 0);

    scene.callPassed(0, 3, 1);
    scene.finishLineShown();
    scene.photoFinishRaised();
    image = render(widget, size);
    EXPECT_GT(count(image, widget.elementRect(u"lblCall"), QColor(255, 214, 0)), 50);
    EXPECT_GT(count(image, widget.elementRect(u"lblPhoto"), QColor(196, 22, 28)), 50);
    EXPECT_GT(count(image, line, QColor(250, 250, 250)), line.height() * 0.5);
    EXPECT_NEAR(line.center().x(), straightX(scene.view(), 9100, size), 1.0);

    scene.raceEnded();
    image = render(widget, size);
    EXPECT_EQ(count(image, widget.elementRect(u"lblCall"), QColor(255, 214, 0)), 0);
    EXPECT_EQ(count(image, widget.elementRect(u"lblPhoto"), QColor(196, 22, 28)), 0);
    for (int e = 0; e < 8; ++e)
        EXPECT_EQ(count(image, expectedBox(scene.view(), e, size), HorseArt::clothColour(e + 1)), 0);
}

TEST_F(TrackWidgetTest, LooksTheSameInADarkPalette) {
    TrackWidget widget;
    spreadField(widget.scene());
    const QSize size(800, 260);
    const QImage light = render(widget, size);
    QPalette dark;
    dark.setColor(QPalette::Window, QColor(30, 30, 30));
    dark.setColor(QPalette::WindowText, QColor(230, 230, 230));
    dark.setColor(QPalette::Base, QColor(20, 20, 20));
    dark.setColor(QPalette::Text, QColor(230, 230, 230));
    widget.setPalette(dark);
    EXPECT_EQ(render(widget, size), light);
}

TEST_F(TrackWidgetTest, HorsesAreNeverStretched) {
    TrackWidget widget;
    spreadField(widget.scene());
    for (QSize size : {QSize(1366, 400), QSize(500, 500), QSize(1920, 300)}) {
        widget.resize(size);
        const QRectF horse = widget.horseRect(0);
        EXPECT_NEAR(horse.width() / horse.height(), 140.0 / 96.0, 0.01)
            << size.width() << "x" << size.height();
        EXPECT_NEAR(horse.bottom(), expectedBox(widget.scene().view(), 0, size).bottom(), 0.01);
    }
}

TEST_F(TrackWidgetTest, WinnersNoseMeetsTheFinishLineAtTheDesignWidth) {
    TrackWidget widget;
    std::array<GallopFrame, 8> frames{};
    widget.scene().beginRace(frames, TrackLayout::DesignWidth);
    widget.scene().advanceGate(TrackScene::gateLength());
    // Where a runner stands on the third straight as it reaches the finish.
    widget.scene().entryMoved(0, 8300, 2);
    widget.scene().finishLineShown();
    widget.resize(1366, 400);
    EXPECT_NEAR(widget.horseRect(0).right(), widget.elementRect(u"lineFinish").center().x(), 1.0);
}

} // namespace
