#include "ui/UserGuide.h"

#include <QApplication>
#include <QFile>
#include <QScreen>
#include <QTest>
#include <QTextBrowser>

using namespace sw;

namespace {

QTextBrowser* ownWindow(QWidget* parent) {
    return qobject_cast<QTextBrowser*>(ui::openUserGuide(parent, [](const QUrl&) { return false; }));
}

} // namespace

class UserGuideTest : public QObject {
    Q_OBJECT

private slots:
    void theDesktopOpensTheGuideFileElseAWindowOfOurOwnOnTheScreen();
    void theGuideCoversEveryBetAndNeedsNothingFromOutside();
};

void UserGuideTest::theDesktopOpensTheGuideFileElseAWindowOfOurOwnOnTheScreen() {
    QVERIFY(QFile::exists(ui::userGuidePath()));
    QWidget parent;
    QList<QUrl> asked;
    QVERIFY(!ui::openUserGuide(&parent, [&](const QUrl& url) {
        asked << url;
        return true;
    }));
    QCOMPARE(asked, QList<QUrl>{QUrl::fromLocalFile(ui::userGuidePath())});
    QVERIFY(!parent.findChild<QTextBrowser*>(QStringLiteral("frmUserGuide")));

    // The desktop cannot open it: a window of our own, shrunk to stay on a screen smaller than the
    // guide's usual size, and brought forward rather than opened again when asked again.
    QTextBrowser* browser = ownWindow(&parent);
    QVERIFY(browser && browser->isVisible() && browser->isWindow());
    QCOMPARE(browser->objectName(), QStringLiteral("frmUserGuide"));
    QVERIFY(browser->toPlainText().contains(QStringLiteral("Exacta")));
    QVERIFY(browser->screen()->availableGeometry().contains(browser->frameGeometry()));
    QCOMPARE(ownWindow(&parent), browser);
    QCOMPARE(parent.findChildren<QTextBrowser*>(QStringLiteral("frmUserGuide")).size(), 1);
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
