#include "ui/FixedFont.h"

#include <QFontInfo>
#include <QTest>

using namespace sw;

class FixedFontTest : public QObject {
    Q_OBJECT

private slots:
    void columnsStayFixedWhateverTheDesktopCallsFixed_data();
    void columnsStayFixedWhateverTheDesktopCallsFixed();
};

void FixedFontTest::columnsStayFixedWhateverTheDesktopCallsFixed_data() {
    QTest::addColumn<QString>("desktopFamily");
    QTest::addColumn<bool>("keepsDesktopFamily");
    // A theme that names a proportional family as its fixed font, and one that names a real one.
    QTest::newRow("proportional") << QStringLiteral("DejaVu Sans") << false;
    QTest::newRow("fixed") << QStringLiteral("DejaVu Sans Mono") << true;
}

void FixedFontTest::columnsStayFixedWhateverTheDesktopCallsFixed() {
    QFETCH(QString, desktopFamily);
    QFETCH(bool, keepsDesktopFamily);
    const QFont desktop(desktopFamily, 10);
    QCOMPARE(QFontInfo(desktop).family(), desktopFamily); // the family is installed

    const QFont font = ui::fixedFontFrom(desktop, 11);
    QVERIFY(QFontInfo(font).fixedPitch());
    QCOMPARE(font.pointSizeF(), 11.0);
    QCOMPARE(font.family() == desktopFamily, keepsDesktopFamily);
}

QTEST_MAIN(FixedFontTest)
#include "FixedFontTest.moc"
