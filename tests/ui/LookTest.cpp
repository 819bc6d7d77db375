// How the game looks on the player's desktop: a dark or light theme, and panels that read on either.

#include "ui/Palette.h"

#include <QApplication>
#include <QPalette>
#include <QTest>

using namespace sw;

namespace {

QPalette withWindow(const QColor& window, const QColor& text) {
    QPalette palette;
    palette.setColor(QPalette::Window, window);
    palette.setColor(QPalette::WindowText, text);
    return palette;
}

} // namespace

class LookTest : public QObject {
    Q_OBJECT

private slots:
    void darkThemesAreToldApartByTheWindowColour_data() {
        QTest::addColumn<QColor>("window");
        QTest::addColumn<QColor>("text");
        QTest::addColumn<bool>("dark");
        // Dark begins below half lightness, and the window's colour decides, whatever the theme does
        // with its text.
        QTest::newRow("lightness 127") << QColor::fromHsl(0, 0, 127) << QColor(Qt::black) << true;
        QTest::newRow("lightness 128") << QColor::fromHsl(0, 0, 128) << QColor(Qt::white) << false;
    }
    void darkThemesAreToldApartByTheWindowColour() {
        QFETCH(QColor, window);
        QFETCH(QColor, text);
        QFETCH(bool, dark);
        QCOMPARE(ui::isDark(withWindow(window, text)), dark);
        // Of a colour for light windows and one for dark, the one that reads on this window.
        const QColor ink(0x1a, 0x6e, 0x34);
        const QColor chalk(0xec, 0xec, 0xe6);
        QCOMPARE(ui::readableColour(withWindow(window, text), ink, chalk), dark ? chalk : ink);
    }

    void theRacecoursePanelsTextReadsOnEveryGroundItIsDrawnOn() {
        QCOMPARE(qRound(ui::contrastRatio(Qt::white, Qt::black)), 21);
        const ui::Racecourse& c = ui::racecourse();
        // Panels, buttons and lists, and a chosen button or ticket in amber.
        const std::pair<QColor, QColor> drawn[] = {
            {c.chalk, c.board},  {c.muted, c.board},  {c.amber, c.board},  {c.green, c.board},
            {c.chalk, c.raised}, {c.muted, c.raised}, {c.amber, c.raised}, {c.board, c.amber}};
        for (const auto& [text, ground] : drawn)
            QVERIFY2(ui::contrastRatio(text, ground) >= 4.5,
                     qPrintable(text.name() + " on " + ground.name()));
    }
};

QTEST_MAIN(LookTest)
#include "LookTest.moc"
