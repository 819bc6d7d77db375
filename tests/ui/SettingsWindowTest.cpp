#include "ui/SettingsWindow.h"

#include "WindowTestDay.h"

#include <QPushButton>
#include <QSpinBox>
#include <QTest>

using namespace sw;
using namespace sw::test;

class SettingsWindowTest : public QObject {
    Q_OBJECT

private slots:
    void opensOnTheAmountsInMemory();
    void openingRoundsAFractionalAmountHalfToEven();
    void spinnersApplyAtOnceAndOkWritesTheFile();
    void closingByTheFrameKeepsTheValuesWithoutWriting();
};

void SettingsWindowTest::opensOnTheAmountsInMemory() {
    WindowTestDay day;
    day.day().db.settings.startAmount = 400;
    day.day().db.settings.defaultBetAmount = 2;
    ui::SettingsWindow window(*day.game);
    window.show();

    QCOMPARE(window.objectName(), QStringLiteral("frmSettings"));
    QCOMPARE(window.windowTitle(), QStringLiteral("Settings"));
    QCOMPARE(child(&window, QStringLiteral("Label1"))->text(), QStringLiteral("Starting Amount"));
    QCOMPARE(child(&window, QStringLiteral("Label2"))->text(), QStringLiteral("Default $ per bet"));
    QCOMPARE(child(&window, QStringLiteral("lblStartAmount"))->text(), QStringLiteral("400"));
    QCOMPARE(child(&window, QStringLiteral("lblDefaultAmount"))->text(), QStringLiteral("2"));
    for (const char* name : {"udStartAmount", "udDefaultAmount"}) {
        auto* spin = child<QSpinBox>(&window, QLatin1String(name));
        QCOMPARE(spin->minimum(), 1);
        QCOMPARE(spin->maximum(), 1000);
        QCOMPARE(spin->singleStep(), 1);
    }
    QCOMPARE(child<QSpinBox>(&window, QStringLiteral("udStartAmount"))->value(), 400);
    QCOMPARE(child<QPushButton>(&window, QStringLiteral("cmdOK"))->text(), QStringLiteral("OK"));
    QVERIFY(!window.findChild<QWidget*>(QStringLiteral("chkPrint")));
    saveScreenshot(&window, "frmSettings.png");
}

void SettingsWindowTest::openingRoundsAFractionalAmountHalfToEven() {
    WindowTestDay day;
    day.day().db.settings.startAmount = 250.5f;
    day.day().db.settings.defaultBetAmount = 3.5f;
    ui::SettingsWindow window(*day.game);
    QCOMPARE(child<QSpinBox>(&window, QStringLiteral("udStartAmount"))->value(), 250);
    QCOMPARE(child<QSpinBox>(&window, QStringLiteral("udDefaultAmount"))->value(), 4);
    QCOMPARE(child(&window, QStringLiteral("lblStartAmount"))->text(), QStringLiteral("250"));
    QCOMPARE(day.day().db.settings.startAmount, 250.0f);
    QCOMPARE(day.day().db.settings.defaultBetAmount, 4.0f);
}

void SettingsWindowTest::spinnersApplyAtOnceAndOkWritesTheFile() {
    WindowTestDay day;
    writeAll(day.file("settings.dat"), "400,2,,,121.35\r\n");
    day.day().db.settings.startAmount = 400;
    day.day().db.settings.defaultBetAmount = 2;
    day.day().db.settings.trackRecord = 121.35f;
    ui::SettingsWindow window(*day.game);
    window.show();

    child<QSpinBox>(&window, QStringLiteral("udStartAmount"))->setValue(500);
    QCOMPARE(day.day().db.settings.startAmount, 500.0f);
    QCOMPARE(child(&window, QStringLiteral("lblStartAmount"))->text(), QStringLiteral("500"));
    child<QSpinBox>(&window, QStringLiteral("udDefaultAmount"))->setValue(5);
    QCOMPARE(day.day().db.settings.defaultBetAmount, 5.0f);
    QCOMPARE(child(&window, QStringLiteral("lblDefaultAmount"))->text(), QStringLiteral("5"));
    QCOMPARE(readAll(day.file("settings.dat")), std::string("400,2,,,121.35\r\n"));

    QTest::mouseClick(child<QPushButton>(&window, QStringLiteral("cmdOK")), Qt::LeftButton);
    QVERIFY(!window.isVisible());
    QCOMPARE(readAll(day.file("settings.dat")), std::string("500,5,,,121.35\r\n"));
}

void SettingsWindowTest::closingByTheFrameKeepsTheValuesWithoutWriting() {
    WindowTestDay day;
    const std::string before = readAll(day.file("settings.dat"));
    ui::SettingsWindow window(*day.game);
    window.show();
    child<QSpinBox>(&window, QStringLiteral("udStartAmount"))->setValue(777);
    window.close();
    QVERIFY(!window.isVisible());
    QCOMPARE(day.day().db.settings.startAmount, 777.0f);
    QCOMPARE(readAll(day.file("settings.dat")), before);
}

QTEST_MAIN(SettingsWindowTest)
#include "SettingsWindowTest.moc"
