#include "ui/SettingsWindow.h"

#include "WindowTestDay.h"

#include <QPushButton>
#include <QSpinBox>
#include <QTest>

#include <functional>

using namespace sw;
using namespace sw::test;

class SettingsWindowTest : public QObject {
    Q_OBJECT

private slots:
    void opensOnTheAmountsInMemory();
    void openingRoundsAFractionalAmountHalfToEven();
    void spinnersApplyAtOnceAndOkWritesTheFile();
    void cancelEscapeAndTheFramePutTheAmountsBack();
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
    // Each amount is shown once, in its spinner.
    QVERIFY(!window.findChild<QWidget*>(QStringLiteral("lblStartAmount")));
    QVERIFY(!window.findChild<QWidget*>(QStringLiteral("lblDefaultAmount")));
    for (const char* name : {"udStartAmount", "udDefaultAmount"}) {
        auto* spin = child<QSpinBox>(&window, QLatin1String(name));
        QCOMPARE(spin->minimum(), 1);
        QCOMPARE(spin->maximum(), 1000);
        QCOMPARE(spin->singleStep(), 1);
    }
    QCOMPARE(child<QSpinBox>(&window, QStringLiteral("udStartAmount"))->text(), QStringLiteral("$400"));
    QCOMPARE(child<QSpinBox>(&window, QStringLiteral("udDefaultAmount"))->text(), QStringLiteral("$2"));
    QCOMPARE(child<QPushButton>(&window, QStringLiteral("cmdOK"))->text(), QStringLiteral("OK"));
    QCOMPARE(child<QPushButton>(&window, QStringLiteral("cmdCancel"))->text(), QStringLiteral("Cancel"));
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
    child<QSpinBox>(&window, QStringLiteral("udDefaultAmount"))->setValue(5);
    QCOMPARE(day.day().db.settings.defaultBetAmount, 5.0f);
    QCOMPARE(readAll(day.file("settings.dat")), std::string("400,2,,,121.35\r\n"));

    QTest::mouseClick(child<QPushButton>(&window, QStringLiteral("cmdOK")), Qt::LeftButton);
    QVERIFY(!window.isVisible());
    QCOMPARE(readAll(day.file("settings.dat")), std::string("500,5,,,121.35\r\n"));
}

void SettingsWindowTest::cancelEscapeAndTheFramePutTheAmountsBack() {
    const std::function<void(ui::SettingsWindow&)> leaves[] = {
        [](ui::SettingsWindow& w) {
            QTest::mouseClick(child<QPushButton>(&w, QStringLiteral("cmdCancel")), Qt::LeftButton);
        },
        [](ui::SettingsWindow& w) { QTest::keyClick(&w, Qt::Key_Escape); },
        [](ui::SettingsWindow& w) { w.close(); },
    };
    for (const auto& leave : leaves) {
        WindowTestDay day;
        day.day().db.settings.startAmount = 400;
        const std::string before = readAll(day.file("settings.dat"));
        ui::SettingsWindow window(*day.game);
        window.show();
        child<QSpinBox>(&window, QStringLiteral("udStartAmount"))->setValue(777);
        leave(window);
        QVERIFY(!window.isVisible());
        QCOMPARE(day.day().db.settings.startAmount, 400.0f);
        QCOMPARE(readAll(day.file("settings.dat")), before);
    }
}

QTEST_MAIN(SettingsWindowTest)
#include "SettingsWindowTest.moc"
