// How the game looks on the player's desktop: a dark or light theme, its fixed-pitch font, and the
// user guide, opened by the desktop or in a window of our own.

#include "ui/FixedFont.h"
#include "ui/Palette.h"
#include "ui/UserGuide.h"

#include <QApplication>
#include <QFile>
#include <QFontInfo>
#include <QPalette>
#include <QScreen>
#include <QTest>
#include <QTextBrowser>
#include <QTextFrame>

using namespace sw;

namespace {

QPalette withWindow(const QColor& window, const QColor& text) {
    QPalette palette;
    palette.setColor(QPalette::Window, window);
    palette.setColor(QPalette::WindowText, text);
    return palette;
}

QTextBrowser* ownGuideWindow(QWidget* parent) {
    return qobject_cast<QTextBrowser*>(ui::openUserGuide(parent, [](const QUrl&) { return false; }));
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
        QTest::newRow("lightness 128") << QColor::fromHsl(0, 0, 128) << QColor(Qt::black) << false;
        QTest::newRow("dark on dark") << QColor(0x20, 0x20, 0x20) << QColor(0x30, 0x30, 0x30) << true;
        QTest::newRow("light on light") << QColor(0xf0, 0xf0, 0xf0) << QColor(0xe0, 0xe0, 0xe0) << false;
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

    void columnsStayFixedWhateverTheDesktopCallsFixed_data() {
        QTest::addColumn<QString>("desktopFamily");
        QTest::addColumn<bool>("keepsDesktopFamily");
        // A theme that names a proportional family as its fixed font, and one that names a real one.
        QTest::newRow("proportional") << QStringLiteral("DejaVu Sans") << false;
        QTest::newRow("fixed") << QStringLiteral("DejaVu Sans Mono") << true;
    }
    void columnsStayFixedWhateverTheDesktopCallsFixed() {
        QFETCH(QString, desktopFamily);
        QFETCH(bool, keepsDesktopFamily);
        const QFont desktop(desktopFamily, 10);
        QCOMPARE(QFontInfo(desktop).family(), desktopFamily); // the family is installed
        const QFont font = ui::fixedFontFrom(desktop, 11);
        QVERIFY(QFontInfo(font).fixedPitch());
        QCOMPARE(font.pointSizeF(), 11.0);
        QCOMPARE(font.family() == desktopFamily, keepsDesktopFamily);
    }

    void theDesktopOpensTheGuideFileElseAWindowOfOurOwnOnTheScreen() {
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
        QTextBrowser* browser = ownGuideWindow(&parent);
        QVERIFY(browser && browser->isVisible() && browser->isWindow());
        QCOMPARE(browser->objectName(), QStringLiteral("frmUserGuide"));
        QVERIFY(browser->toPlainText().contains(QStringLiteral("Exacta")));
        QVERIFY(browser->screen()->availableGeometry().contains(browser->frameGeometry()));
        QCOMPARE(ownGuideWindow(&parent), browser);
        QCOMPARE(parent.findChildren<QTextBrowser*>(QStringLiteral("frmUserGuide")).size(), 1);
    }

    void theGuidesBulletsAndLinksShowOnItsPageUnderADarkTheme() {
        const QPalette desktop = QApplication::palette();
        QPalette dark = desktop;
        dark.setColor(QPalette::Base, QColor(30, 30, 30));
        dark.setColor(QPalette::Text, QColor(235, 235, 235));
        dark.setColor(QPalette::Link, QColor(140, 190, 255));
        QApplication::setPalette(dark);
        QWidget parent;
        QTextBrowser* browser = ownGuideWindow(&parent);
        QApplication::setPalette(desktop);
        // The page keeps the light colour its style sheet gives it; bullets take the palette's text colour.
        const QBrush pageBrush = browser->document()->rootFrame()->frameFormat().background();
        const QColor page =
            pageBrush.style() == Qt::NoBrush ? browser->palette().color(QPalette::Base) : pageBrush.color();
        for (const QPalette::ColorRole role : {QPalette::Text, QPalette::Link}) {
            const int contrast = std::abs(qGray(browser->palette().color(role).rgb()) - qGray(page.rgb()));
            QVERIFY2(contrast > 100, qPrintable(QString::number(contrast)));
        }
    }

    void theGuideCoversEveryBetAndNeedsNothingFromOutside() {
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
};

QTEST_MAIN(LookTest)
#include "LookTest.moc"
