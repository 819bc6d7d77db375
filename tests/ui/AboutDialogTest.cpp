#include "ui/AboutDialog.h"
#include "ui/LogoWidget.h"

#include "WindowTestDay.h"

#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QVersionNumber>

using namespace sw;

class AboutDialogTest : public QObject {
    Q_OBJECT

private slots:
    void showsTheGamesTitleVersionAndDescription();
    void showsTheLogosBadge();
    void systemInfoIsHiddenWithoutAProgram();
    void systemInfoThatCannotStartSaysSo();
    void okCloses();
};

void AboutDialogTest::showsTheGamesTitleVersionAndDescription() {
    ui::AboutDialog about(nullptr, QString());
    QCOMPARE(about.objectName(), QStringLiteral("frmAbout"));
    QCOMPARE(about.windowTitle(), QStringLiteral("About Stridewell - Horse Racing"));
    QCOMPARE(about.findChild<QLabel*>(QStringLiteral("lblTitle"))->text(),
             QStringLiteral("Stridewell - Horse Racing"));

    const QVersionNumber version = QVersionNumber::fromString(QStringLiteral(STRIDEWELL_VERSION));
    const QString expected = QStringLiteral("Version %1.%2.%3")
                                 .arg(version.majorVersion())
                                 .arg(version.minorVersion())
                                 .arg(version.microVersion());
    QCOMPARE(about.findChild<QLabel*>(QStringLiteral("lblVersion"))->text(), expected);
    QVERIFY(QRegularExpression(QStringLiteral("^Version \\d+\\.\\d+\\.\\d+$")).match(expected).hasMatch());

    QCOMPARE(
        about.findChild<QLabel*>(QStringLiteral("lblDescription"))->text(),
        QStringLiteral("Stridewell - Horse Racing will entertain and educate the user on the sport of Horse "
                       "Racing. It will teach you about pari-mutuel wagering, how to read and understand the "
                       "racing program (past performances), and familiarize you on how much your bets will "
                       "cost."));
    QCOMPARE(about.findChild<QPushButton*>(QStringLiteral("cmdSysInfo"))->text(),
             QStringLiteral("&System Info..."));
    QCOMPARE(about.findChild<QPushButton*>(QStringLiteral("cmdOK"))->text(), QStringLiteral("OK"));
    QCOMPARE(about.findChild<QLabel*>(QStringLiteral("lblLicense"))->text(),
             QStringLiteral("License: GPL-3.0-or-later"));
}

void AboutDialogTest::showsTheLogosBadge() {
    ui::AboutDialog about(nullptr, QString());
    about.show();
    auto* logo = about.findChild<ui::LogoWidget*>(QStringLiteral("imgLogo"));
    QVERIFY(logo && logo->isVisible());
    const QImage badge = logo->grab().toImage();
    // Inside the badge, left of the horseshoe: the turf green.
    QCOMPARE(badge.pixelColor(badge.width() / 8, badge.height() / 2), QColor(26, 110, 52));
}

void AboutDialogTest::systemInfoIsHiddenWithoutAProgram() {
    ui::AboutDialog none(nullptr, QString());
    none.show();
    QVERIFY(!none.findChild<QPushButton*>(QStringLiteral("cmdSysInfo"))->isVisible());

    ui::AboutDialog some(nullptr, QStringLiteral("/usr/bin/hardinfo"));
    some.show();
    QVERIFY(some.findChild<QPushButton*>(QStringLiteral("cmdSysInfo"))->isVisible());
    sw::test::saveScreenshot(&some, "frmAbout.png");
}

void AboutDialogTest::systemInfoThatCannotStartSaysSo() {
    sw::test::TempDir dir;
    ui::AboutDialog about(nullptr, QString::fromStdString((dir / "no-such-program").string()));
    about.show();
    QTest::mouseClick(about.findChild<QPushButton*>(QStringLiteral("cmdSysInfo")), Qt::LeftButton);
    auto* box = about.findChild<QMessageBox*>();
    QVERIFY(box);
    QVERIFY(box->isVisible());
    QCOMPARE(box->text(), QStringLiteral("System Information Is Unavailable At This Time"));
    QCOMPARE(box->windowTitle(), QStringLiteral("Stridewell"));
    box->accept();
}

void AboutDialogTest::okCloses() {
    ui::AboutDialog about(nullptr, QString());
    about.show();
    QTest::mouseClick(about.findChild<QPushButton*>(QStringLiteral("cmdOK")), Qt::LeftButton);
    QVERIFY(!about.isVisible());
}

QTEST_MAIN(AboutDialogTest)
#include "AboutDialogTest.moc"
