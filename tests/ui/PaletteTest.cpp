#include "ui/Palette.h"

#include <QPalette>
#include <QTest>

using namespace sw;

namespace {

QPalette withWindow(const QColor& window, const QColor& text = Qt::black) {
    QPalette palette;
    palette.setColor(QPalette::Window, window);
    palette.setColor(QPalette::WindowText, text);
    return palette;
}

} // namespace

class PaletteTest : public QObject {
    Q_OBJECT

private slots:
    void desktopThemesAreToldApart_data();
    void desktopThemesAreToldApart();
    void darkBeginsBelowHalfLightness();
    void readableColourFollowsTheWindow();
};

void PaletteTest::desktopThemesAreToldApart_data() {
    QTest::addColumn<QColor>("window");
    QTest::addColumn<bool>("dark");
    QTest::newRow("light grey") << QColor(0xef, 0xef, 0xef) << false;
    QTest::newRow("white") << QColor(Qt::white) << false;
    QTest::newRow("pale yellow") << QColor(0xff, 0xf3, 0xb0) << false;
    QTest::newRow("dark grey") << QColor(0x2b, 0x2b, 0x2b) << true;
    QTest::newRow("black") << QColor(Qt::black) << true;
    QTest::newRow("deep navy") << QColor(0x1a, 0x23, 0x7e) << true;
}

void PaletteTest::desktopThemesAreToldApart() {
    QFETCH(QColor, window);
    QFETCH(bool, dark);
    QCOMPARE(ui::isDark(withWindow(window)), dark);
}

void PaletteTest::darkBeginsBelowHalfLightness() {
    QVERIFY(ui::isDark(withWindow(QColor::fromHsl(0, 0, 127))));
    QVERIFY(!ui::isDark(withWindow(QColor::fromHsl(0, 0, 128))));
    // The window's colour decides, whatever the theme does with its text.
    QVERIFY(ui::isDark(withWindow(QColor(0x20, 0x20, 0x20), QColor(0x30, 0x30, 0x30))));
    QVERIFY(!ui::isDark(withWindow(QColor(0xf0, 0xf0, 0xf0), QColor(0xe0, 0xe0, 0xe0))));
}

void PaletteTest::readableColourFollowsTheWindow() {
    const QColor ink(0x1a, 0x6e, 0x34);
    const QColor chalk(0xec, 0xec, 0xe6);
    QCOMPARE(ui::readableColour(withWindow(Qt::white), ink, chalk), ink);
    QCOMPARE(ui::readableColour(withWindow(QColor(0x2b, 0x2b, 0x2b)), ink, chalk), chalk);
}

QTEST_MAIN(PaletteTest)
#include "PaletteTest.moc"
