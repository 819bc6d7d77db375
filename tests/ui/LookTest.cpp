// How the windows follow the desktop's look: a dark or light theme, and its fixed-pitch font.

#include "ui/FixedFont.h"
#include "ui/Palette.h"

#include <QFontInfo>
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
    void darkThemesAreToldApartByTheWindowColour_data();
    void darkThemesAreToldApartByTheWindowColour();
    void columnsStayFixedWhateverTheDesktopCallsFixed_data();
    void columnsStayFixedWhateverTheDesktopCallsFixed();
};

void LookTest::darkThemesAreToldApartByTheWindowColour_data() {
    QTest::addColumn<QColor>("window");
    QTest::addColumn<QColor>("text");
    QTest::addColumn<bool>("dark");
    // Dark begins below half lightness, and the window's colour decides, whatever the theme does
    // with its text.
    QTest::newRow("lightness 127") << QColor::fromHsl(0, 0, 127) << QColor(Qt::black) << true;
    QTest::newRow("lightness 128") << QColor::fromHsl(0, 0, 128) << QColor(Qt::black) << false;
    QTest::newRow("dark on dark") << QColor(0x20, 0x20, 0x20) << QColor(0x30, 0x30, 0x30) << true;
    QTest::newRow("light on light") << QColor(0xf0, 0xf0, 0xf0) << QColor(0xe0, 0xe0, 0xe0) << false;
}

void LookTest::darkThemesAreToldApartByTheWindowColour() {
    QFETCH(QColor, window);
    QFETCH(QColor, text);
    QFETCH(bool, dark);
    QCOMPARE(ui::isDark(withWindow(window, text)), dark);
    // Of a colour for light windows and one for dark, the one that reads on this window.
    const QColor ink(0x1a, 0x6e, 0x34);
    const QColor chalk(0xec, 0xec, 0xe6);
    QCOMPARE(ui::readableColour(withWindow(window, text), ink, chalk), dark ? chalk : ink);
}

void LookTest::columnsStayFixedWhateverTheDesktopCallsFixed_data() {
    QTest::addColumn<QString>("desktopFamily");
    QTest::addColumn<bool>("keepsDesktopFamily");
    // A theme that names a proportional family as its fixed font, and one that names a real one.
    QTest::newRow("proportional") << QStringLiteral("DejaVu Sans") << false;
    QTest::newRow("fixed") << QStringLiteral("DejaVu Sans Mono") << true;
}

void LookTest::columnsStayFixedWhateverTheDesktopCallsFixed() {
    QFETCH(QString, desktopFamily);
    QFETCH(bool, keepsDesktopFamily);
    const QFont desktop(desktopFamily, 10);
    QCOMPARE(QFontInfo(desktop).family(), desktopFamily); // the family is installed

    const QFont font = ui::fixedFontFrom(desktop, 11);
    QVERIFY(QFontInfo(font).fixedPitch());
    QCOMPARE(font.pointSizeF(), 11.0);
    QCOMPARE(font.family() == desktopFamily, keepsDesktopFamily);
}

QTEST_MAIN(LookTest)
#include "LookTest.moc"
