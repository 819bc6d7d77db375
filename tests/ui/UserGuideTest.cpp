#include "ui/UserGuide.h"

#include <QApplication>
#include <QFile>
#include <QScreen>
#include <QTest>
#include <QTextBrowser>
#include <QTextFrame>

using namespace sw;

namespace {

QString guideText() {
    QFile file(ui::userGuidePath());
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}

} // namespace

class UserGuideTest : public QObject {
    Q_OBJECT

private slots:
    void guideIsFound();
    void desktopOpensTheGuideFile();
    void fallsBackToAWindowOfOurOwn();
    void bulletsAndLinksShowOnThePageUnderADarkTheme();
    void guideCoversEveryBetAndChartComment();
    void guideNeedsNothingFromOutside();
};

void UserGuideTest::guideIsFound() {
    const QString path = ui::userGuidePath();
    QVERIFY(path.endsWith(QStringLiteral("/userguide.htm")));
    QVERIFY(QFile::exists(path));
}

void UserGuideTest::desktopOpensTheGuideFile() {
    QWidget parent;
    QList<QUrl> asked;
    QWidget* window = ui::openUserGuide(&parent, [&](const QUrl& url) {
        asked << url;
        return true;
    });
    QVERIFY(!window);
    QCOMPARE(asked.size(), 1);
    QCOMPARE(asked[0], QUrl::fromLocalFile(ui::userGuidePath()));
    QVERIFY(!parent.findChild<QTextBrowser*>(QStringLiteral("frmUserGuide")));
}

void UserGuideTest::fallsBackToAWindowOfOurOwn() {
    QWidget parent;
    auto refuse = [](const QUrl&) { return false; };
    QWidget* window = ui::openUserGuide(&parent, refuse);
    QVERIFY(window);
    QCOMPARE(window->objectName(), QStringLiteral("frmUserGuide"));
    QVERIFY(window->isVisible());
    QVERIFY(window->isWindow());
    auto* browser = qobject_cast<QTextBrowser*>(window);
    QVERIFY(browser);
    QVERIFY(browser->toPlainText().contains(QStringLiteral("Exacta")));
    // The screen is smaller than the guide's usual size: the window shrinks to stay on it.
    QVERIFY(window->screen()->availableGeometry().contains(window->frameGeometry()));

    // Asking again brings the same window forward rather than opening another.
    QCOMPARE(ui::openUserGuide(&parent, refuse), window);
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
    auto* browser =
        qobject_cast<QTextBrowser*>(ui::openUserGuide(&parent, [](const QUrl&) { return false; }));
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

void UserGuideTest::guideCoversEveryBetAndChartComment() {
    const QString guide = guideText();
    QVERIFY(!guide.isEmpty());
    for (const char* word : {"Win",          "Place",    "Show",     "Across The Board",
                             "Quiniela",     "Exacta",   "Trifecta", "Superfecta",
                             "Daily Double", "Pick 3",   "Pick 6",   "Twin-Tri",
                             "Tri-Super",    "BxToWire", "StdyPace", "NoFactor",
                             "Faded",        "FadeBad",  "FadeLate", "StdyGain",
                             "StrgGain",     "LateGain", "JustMisd", "UpAtWire",
                             "TrkRecrd",     "NewTrkRc", "-in",      "-md",
                             "-wd",          "(A)",      "(R)",      "(V)",
                             "Good Effort",  "25%",      "2.10",     "Reading the chances",
                             "post 1"})
        QVERIFY2(guide.contains(QLatin1String(word)), word);
}

void UserGuideTest::guideNeedsNothingFromOutside() {
    const QString guide = guideText().toLower();
    QVERIFY(!guide.contains(QStringLiteral("<script")));
    QVERIFY(!guide.contains(QStringLiteral("src=\"http")));
    QVERIFY(!guide.contains(QStringLiteral("<link")));
    QVERIFY(!guide.contains(QStringLiteral("@import")));
}

QTEST_MAIN(UserGuideTest)
#include "UserGuideTest.moc"
