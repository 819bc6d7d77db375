// The small windows opened over the main one: About, Add Player, Settings, Print Options and the
// top ten. Their rules are the core's; here, that their controls reach them.

#include "ui/AboutDialog.h"
#include "ui/AddPlayerDialog.h"
#include "ui/BalanceChart.h"
#include "ui/LogoWidget.h"
#include "ui/PrintOptionsDialog.h"
#include "ui/SettingsWindow.h"
#include "ui/TopTenWindow.h"

#include "WindowTestDay.h"

#include "players/Players.h"

#include <QPixmap>
#include <QProcess>
#include <QStandardPaths>

#include <functional>

using namespace sw;
using namespace sw::test;

namespace {

// What a poppler tool prints about a PDF; empty when the tool is missing.
QString poppler(const char* tool, const QStringList& arguments) {
    const QString program = QStandardPaths::findExecutable(QLatin1String(tool));
    if (program.isEmpty())
        return {};
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(60000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

} // namespace

class DialogsTest : public QObject {
    Q_OBJECT

private slots:
    void aboutShowsTheBadgeVersionAndSystemInfoWhenThereIsSome() {
        ui::AboutDialog none(nullptr, QString());
        none.show();
        QCOMPARE(text(&none, u"lblVersion"_s), QStringLiteral("Version " STRIDEWELL_VERSION));
        QVERIFY(!button(&none, "cmdSysInfo")->isVisible());
        // Inside the badge, left of the horseshoe: the turf green.
        const QImage badge = none.findChild<ui::LogoWidget*>(u"imgLogo"_s)->grab().toImage();
        QCOMPARE(badge.pixelColor(badge.width() / 8, badge.height() / 2), QColor(26, 110, 52));
        QTest::mouseClick(button(&none, "cmdOK"), Qt::LeftButton);
        QVERIFY(!none.isVisible());

        // A system information program that cannot start says so.
        TempDir dir;
        ui::AboutDialog about(nullptr, QString::fromStdString((dir / "no-such-program").string()));
        about.show();
        QVERIFY(button(&about, "cmdSysInfo")->isVisible());
        QTest::mouseClick(button(&about, "cmdSysInfo"), Qt::LeftButton);
        auto* box = about.findChild<QMessageBox*>();
        QVERIFY(box && box->isVisible());
        QCOMPARE(box->windowTitle() + u':' + box->text(),
                 u"Stridewell:System Information Is Unavailable At This Time"_s);
        box->accept();
    }

    void addPlayerTakesNamesByEnterOrAddAndKeepsARefusedOne() {
        WindowTestDay day;
        ui::AddPlayerDialog dialog(*day.game);
        QSignalSpy changed(&dialog, &ui::AddPlayerDialog::playersChanged);
        dialog.show();
        auto* name = child<QLineEdit>(&dialog, u"txtPlayer"_s);
        auto* add = button(&dialog, "cmdAdd");
        // Add waits for the first key, then stays usable; Enter on an empty box does nothing at all.
        QVERIFY(!add->isEnabled());
        QTest::keyClick(name, Qt::Key_Return);
        QTest::keyClicks(name, u"A"_s);
        QTest::keyClick(name, Qt::Key_Backspace);
        QVERIFY(add->isEnabled());
        QCOMPARE(changed.count(), 0);
        QVERIFY(day.prompter.shown().empty());
        // Each name added leaves the box empty and the dialog open for the next.
        QTest::keyClicks(name, u"Ann"_s);
        QTest::keyClick(name, Qt::Key_Enter);
        QVERIFY(name->text().isEmpty());
        QTest::keyClicks(name, u"Bo"_s);
        QTest::mouseClick(add, Qt::LeftButton);
        QCOMPARE(changed.count(), 2);
        QCOMPARE(day.day().players.entries[1].name, std::string("Bo"));
        // A refused name stays in the box to be put right; the reason is shown.
        QTest::keyClicks(name, u"Smith, Jo"_s);
        add->click();
        QCOMPARE(changed.count(), 2);
        QCOMPARE(name->text(), u"Smith, Jo"_s);
        QCOMPARE(day.prompter.shown().size(), std::size_t{1});
        QTest::mouseClick(button(&dialog, "cmdExit"), Qt::LeftButton);
        QVERIFY(!dialog.isVisible());
    }

    void settingsApplyAtOnceAndOnlyOkKeepsThem_data() {
        leaveRows("Cancel");
        QTest::newRow("OK") << Leave::ByButton;
    }
    void settingsApplyAtOnceAndOnlyOkKeepsThem() {
        QFETCH(Leave, how);
        const bool ok = QTest::currentDataTag() == "OK"_L1;
        WindowTestDay day;
        const Settings& settings = day.day().db.settings;
        ui::SettingsWindow window(*day.game);
        window.show();
        auto* start = child<QSpinBox>(&window, u"udStartAmount"_s);
        auto* bet = child<QSpinBox>(&window, u"udDefaultAmount"_s);
        QCOMPARE(start->text() + u' ' + bet->text(), u"$400 $2"_s);
        start->setValue(500);
        bet->setValue(5);
        QCOMPARE(settings.startAmount + settings.defaultBetAmount, 505.0f);
        leave(&window, how, ok ? u"cmdOK"_s : u"cmdCancel"_s);
        QVERIFY(!window.isVisible());
        QCOMPARE(settings.startAmount + settings.defaultBetAmount, ok ? 505.0f : 402.0f);
        QCOMPARE(readAll(day.file("settings.dat")).starts_with("500,5,"), ok);
    }

    void printedProgramStartsEachRaceOnAPageUnderItsHeading() {
        if (QStandardPaths::findExecutable(u"pdftotext"_s).isEmpty())
            QSKIP("pdftotext (poppler-utils) is not installed");
        WindowTestDay day;
        ui::PrintOptionsDialog dialog(*day.game);
        QSignalSpy restored(&dialog, &ui::PrintOptionsDialog::raceRestored);
        TempDir out;
        const QString pdf = QString::fromStdString((out / "three.pdf").string());
        QVERIFY(dialog.printToPdf(pdf, 3, 5));
        QCOMPARE(restored.count(), 1);
        const QStringList pages =
            poppler("pdftotext", {u"-layout"_s, pdf, u"-"_s}).split(u'\f', Qt::SkipEmptyParts);
        // Each race of the range, and no other, starts a page under its heading, its last entry included.
        QStringList headings;
        for (const QString& page : pages)
            headings << page.trimmed().section(u" Grade"_s, 0, 0);
        headings.removeDuplicates();
        QCOMPARE(headings, (QStringList{u"Race 3"_s, u"Race 4"_s, u"Race 5"_s}));
        const int horse = day.day().card.raceHorse[4][7];
        QVERIFY(pages.join(u' ').contains(qtext(day.day().db.horses[static_cast<std::size_t>(horse)].name)));
        // The entries' lines are bold, the rest plain: the printout carries both weights of one face.
        const QString fonts = poppler("pdffonts", {pdf});
        QVERIFY2(fonts.isEmpty() || (fonts.contains(u"Bold"_s) && fonts.count(u'\n') >= 4),
                 qPrintable(fonts));
        QVERIFY(!dialog.printToPdf(pdf, 13, 14));
    }

    void topTenListsTheDayAndEndsTheGameOnlyWhenAsked() {
        WindowTestDay day;
        addPlayer(day.day(), "Ann");
        addPlayer(day.day(), "Bo");
        day.playRaces(RacesPerDay);
        {
            ui::TopTenWindow window(*day.game);
            window.show();
            auto* list = child<QListWidget>(&window, u"lstTop10"_s);
            QVERIFY(list->font().fixedPitch());
            QCOMPARE(items(list), qtexts(day.game->topTen()));
            // Beside it the day's ledger (heading, two players, all) and every player's balance at the
            // start and after each race, painted sharp at any scale.
            QCOMPARE(child<QListWidget>(&window, u"lstLedger"_s)->count(), 4);
            auto* chart = child<ui::BalanceChart>(&window, u"picBalances"_s);
            QPixmap sharp(chart->size() * 2);
            sharp.setDevicePixelRatio(2);
            chart->render(&sharp);
            QCOMPARE(chart->pointsPainted(), 2 * (RacesPerDay + 1));
        }
        const auto choose = [&](const std::function<void(ui::TopTenWindow&)>& act) {
            ui::TopTenWindow window(*day.game);
            QSignalSpy again(&window, &ui::TopTenWindow::playAgain);
            QSignalSpy end(&window, &ui::TopTenWindow::endGame);
            window.show();
            act(window);
            // Once chosen, closing the window chooses nothing more.
            const bool open = window.isVisible();
            window.close();
            return u"%1 again %2 end %3"_s.arg(open ? "open" : "closed").arg(again.count()).arg(end.count());
        };
        QCOMPARE(choose([](auto& w) { QTest::mouseClick(button(&w, "cmdPlay"), Qt::LeftButton); }),
                 u"closed again 1 end 0"_s);
        QCOMPARE(choose([](auto& w) { QTest::mouseClick(button(&w, "cmdEnd"), Qt::LeftButton); }),
                 u"closed again 0 end 1"_s);
        // Escape would end the game by accident; the frame ends it as End Game does.
        QCOMPARE(choose([](auto& w) { QTest::keyClick(&w, Qt::Key_Escape); }), u"open again 0 end 1"_s);
    }
};

QTEST_MAIN(DialogsTest)
#include "DialogsTest.moc"
