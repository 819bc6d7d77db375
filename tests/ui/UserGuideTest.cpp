#include "ui/UserGuide.h"

#include <QApplication>
#include <QFile>
#include <QScreen>
#include <QTest>
#include <QTextBrowser>
#include <QTextFrame>

using namespace sw;

namespace {

QTextBrowser* ownWindow(QWidget* parent) {
    return qobject_cast<QTextBrowser*>(ui::openUserGuide(parent, [](const QUrl&) { return false; }));
}

} // namespace

class UserGuideTest : public QObject {
    Q_OBJECT

private slots:
    void theDesktopOpensTheGuideFile();
    void fallsBackToAWindowOfOurOwnOnTheScreen();
    void bulletsAndLinksShowOnThePageUnderADarkTheme();
    void theGuideCoversEveryBetAndNeedsNothingFromOutside();
};

void UserGuideTest::theDesktopOpensTheGuideFile() {
    QVERIFY(ui::userGuidePath().endsWith(QStringLiteral("/userguide.htm")));
    QVERIFY(QFile::exists(ui::userGuidePath()));
    QWidget parent;
    QList<QUrl> asked;
    QWidget* window = ui::openUserGuide(&parent, [&](const QUrl& url) {
        asked << url;
        return true;
    });
    QVERIFY(!window);
    QCOMPARE(asked, QList<QUrl>{QUrl::fromLocalFile(ui::userGuidePath())});
    QVERIFY(!parent.findChild<QTextBrowser*>(QStringLiteral("frmUserGuide")));
}

void UserGuideTest::fallsBackToAWindowOfOurOwnOnTheScreen() {
    QWidget parent;
    QTextBrowser* browser = ownWindow(&parent);
    QVERIFY(browser);
    QCOMPARE(browser->objectName(), QStringLiteral("frmUserGuide"));
    QVERIFY(browser->isVisible() && browser->isWindow());
    QVERIFY(browser->toPlainText().contains(QStringLiteral("Exacta")));
    // The screen is smaller than the guide's usual size: the window shrinks to stay on it.
    QVERIFY(browser->screen()->availableGeometry().contains(browser->frameGeometry()));
    // Asking again brings the same window forward rather than opening another.
    QCOMPARE(ownWindow(&parent), browser);
    QCOMPARE(parent.findChildren<QTextBrowser*>(QStringLiteral("frmUserGuide")).size(), 1);
}

void UserGuideTest::bulletsAndLinksShowOnThePageUnderADarkTheme() {
    const QPalette desktop = QApplication::palette();
    QPalette dark = desktop;
    dark.setColor(QPalette::Base, QColor(30, 30, 30));
    dark.setColor(QPalette::Text, QColor(235, 235, 235));
    dark.setColor(QPalette::Link, QColor(140, 190, 255));
    QApplication::setPalette(dark);
    QWidget parent;
    QTextBrowser* browser = ownWindow(&parent);
    QApplication::setPalette(desktop);
    QVERIFY(browser);

    // The page keeps the light colour its style sheet gives it; bullets take the palette's text colour.
    const QBrush pageBrush = browser->document()->rootFrame()->frameFormat().background();
    const QColor page =
        pageBrush.style() == Qt::NoBrush ? browser->palette().color(QPalette::Base) : pageBrush.color();
    for (const QPalette::ColorRole role : {QPalette::Text, QPalette::Link}) {
        const int contrast = std::abs(qGray(browser->palette().color(role).rgb()) - qGray(page.rgb()));
        QVERIFY2(contrast > 100, qPrintable(QString::number(contrast)));
    }
}

void UserGuideTest::theGuideCoversEveryBetAndNeedsNothingFromOutside() {
    QFile file(ui::userGuidePath());
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QString guide = QString::fromUtf8(file.readAll());
    // Every bet, every word of the chart's comments, and how to read the chances.
    const QString words = QStringLiteral(
        "Win|Place|Show|Across The Board|Quiniela|Exacta|Trifecta|Superfecta|Daily Double|Pick 3|Pick 6|"
        "Twin-Tri|Tri-Super|BxToWire|StdyPace|NoFactor|Faded|FadeBad|FadeLate|StdyGain|StrgGain|LateGain|"
        "JustMisd|UpAtWire|TrkRecrd|NewTrkRc|-in|-md|-wd|(A)|(R)|(V)|Good Effort|25%|2.10|"
        "Reading the chances|post 1");
    for (const QString& word : words.split(u'|'))
        QVERIFY2(guide.contains(word), qPrintable(word));
    for (const char* outside : {"<script", "src=\"http", "<link", "@import"})
        QVERIFY2(!guide.contains(QLatin1String(outside), Qt::CaseInsensitive), outside);
}

QTEST_MAIN(UserGuideTest)
#include "UserGuideTest.moc"
