#include "ui/track/TrackWidget.h"
#include "ui/track/HorseArt.h"
#include "ui/track/TrackPainter.h"

#include <QApplication>
#include <QImage>

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
        static int argc = 1;
        static char name[] = "test_presentation_widget";
        static char* argv[] = {name, nullptr};
        s_app = std::make_unique<QApplication>(argc, argv);
    }
    // Gone before the program's exit, while the rest of Qt is still there.
    static void TearDownTestSuite() { s_app.reset(); }

    // A field spread over both straights: entries 0..3 running right on the near straight at
    // Lefts 600, 3200, 5800 and 8400, 4..7 past the first turn running left at 8200, 6100, 4000
    // and 1900, no two pictures overlapping; then a gallop to B and D.
    void SetUp() override {
        TrackScene& scene = widget.scene();
        scene.beginRace({}, DesignTrackWidth);
        scene.advanceGate(TrackScene::gateLength());
        scene.raceStarted();
        for (int e = 0; e < 4; ++e) {
            scene.entryMoved(e, 600 + 2600 * e, 0);
            scene.laneSet(e, 0, 2 * e);
            scene.entryMoved(e + 4, -(2 * 10655 - 8200 + 2100 * e), 1);
            scene.laneSet(e + 4, 1, 2 * e);
        }
        scene.gallop();
    }

    QImage render(QSize size) {
        widget.resize(size);
        QImage image(size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::magenta);
        widget.render(&image);
        return image;
    }

    // The straights run between the two turns; twips map onto them.
    double straightX(double twips, QSize size) const {
        const double turn = TrackPainter::turnWidth(QSizeF(size));
        return turn + twips * (size.width() - 2 * turn) / widget.scene().view().trackWidth;
    }

    // The box a picture's Left and Top put it in, worked out here from the frame's twips.
    QRectF expectedBox(int picture, QSize size) const {
        const HorsePicture& p = widget.scene().picture(picture);
        const double sy = size.height() / double(TrackLayout::FrameBottom - TrackLayout::FrameTop);
        const double left = straightX(p.left, size);
        return QRectF(left, (p.top - TrackLayout::FrameTop) * sy,
                      straightX(p.left + TrackLayout::PictureWidth, size) - left,
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
    TrackWidget widget;
};

std::unique_ptr<QApplication> TrackWidgetTest::s_app;

TEST_F(TrackWidgetTest, SaddleClothsShowWhereEachHorseIsFacingItsWayAtAnySize) {
    for (QSize size : {QSize(500, 500), QSize(1920, 300)}) {
        const QImage image = render(size);
        for (int e = 0; e < 8; ++e) {
            SCOPED_TRACE(testing::Message()
                         << "post " << e + 1 << " at " << size.width() << "x" << size.height());
            const QColor cloth = HorseArt::clothColour(e + 1);
            const QRectF box = expectedBox(e, size);
            const QRectF horse = widget.horseRect(e);
            EXPECT_NEAR(horse.bottom(), box.bottom(), 0.01);
            // The cloth sits on the side the horse faces; two picture widths back there is only turf.
            const QRectF clothBox = HorseArt::clothRect(horse.size(), widget.scene().picture(e).frame)
                                        .translated(horse.topLeft());
            EXPECT_GE(count(image, box, cloth), 12);
            EXPECT_GE(count(image, clothBox, cloth), count(image, horse, cloth) * 8 / 10);
            EXPECT_EQ(count(image, box.translated(2 * box.width() * (e < 4 ? -1 : 1), 0), cloth), 0);
        }
    }
}

TEST_F(TrackWidgetTest, LabelsShowOnlyWhileTheSceneSaysSoAndTheWinnersNoseMeetsTheLine) {
    TrackScene& scene = widget.scene();
    const QSize size(1366, 400);
    widget.resize(size); // the elements are placed for the size drawn
    const QColor yellow(255, 214, 0), red(196, 22, 28), white(250, 250, 250);
    const QRectF finish = widget.elementRect(u"lineFinish");
    const QRectF line =
        finish.adjusted(0, finish.height() / 4, 0, -finish.height() / 4); // clear of the rails
    const auto counts = [&](const QImage& image) {
        return std::array{count(image, widget.elementRect(u"lblCall"), yellow),
                          count(image, widget.elementRect(u"lblPhoto"), red), count(image, line, white)};
    };
    EXPECT_EQ(counts(render(size)), (std::array{0, 0, 0}));
    scene.callPassed(0, 3, 1);
    scene.finishLineShown();
    scene.photoFinishRaised();
    const auto shown = counts(render(size));
    EXPECT_GT(shown[0], 50);
    EXPECT_GT(shown[1], 50);
    EXPECT_GT(shown[2], line.height() * 0.5);
    EXPECT_NEAR(widget.elementRect(u"lineFinish").center().x(), straightX(9100, size), 1.0);
    // Where a runner stands on the third straight as it reaches the finish.
    scene.entryMoved(0, 8300 - 600, 2);
    EXPECT_NEAR(widget.horseRect(0).right(), widget.elementRect(u"lineFinish").center().x(), 1.0);

    scene.raceEnded();
    const QImage ended = render(size);
    EXPECT_EQ(counts(ended), (std::array{0, 0, 0}));
    for (int e = 0; e < 8; ++e)
        EXPECT_EQ(count(ended, expectedBox(e, size), HorseArt::clothColour(e + 1)), 0);
}

} // namespace
