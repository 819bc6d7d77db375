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

#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPixmap>
#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTest>

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
    void aboutShowsTheBadgeVersionAndSystemInfoWhenThereIsSome();
    void addPlayerTakesNamesByEnterOrAddAndKeepsARefusedOne();
    void settingsApplyAtOnceAndOnlyOkKeepsThem_data();
    void settingsApplyAtOnceAndOnlyOkKeepsThem();
    void printRangeSpinnersFollowEachOther();
    void printedProgramStartsEachRaceOnAPageUnderItsHeading();
    void topTenListsTheDayAndEndsTheGameOnlyWhenAsked();
};

void DialogsTest::aboutShowsTheBadgeVersionAndSystemInfoWhenThereIsSome() {
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

void DialogsTest::addPlayerTakesNamesByEnterOrAddAndKeepsARefusedOne() {
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
    QVERIFY(dialog.isVisible());
    QCOMPARE(readLines(day.file("players.dat")).size(), std::size_t{2});
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

void DialogsTest::settingsApplyAtOnceAndOnlyOkKeepsThem_data() {
    leaveRows("Cancel");
    QTest::newRow("OK") << Leave::ByButton;
}

void DialogsTest::settingsApplyAtOnceAndOnlyOkKeepsThem() {
    QFETCH(Leave, how);
    const bool ok = QTest::currentDataTag() == "OK"_L1;
    WindowTestDay day;
    writeAll(day.file("settings.dat"), "400,2,,,121.35\r\n");
    day.day().db.settings = Settings{400, 2, 121.35f};
    ui::SettingsWindow window(*day.game);
    window.show();
    auto* start = child<QSpinBox>(&window, u"udStartAmount"_s);
    auto* bet = child<QSpinBox>(&window, u"udDefaultAmount"_s);
    QCOMPARE(start->text() + u' ' + bet->text(), u"$400 $2"_s);
    start->setValue(500);
    bet->setValue(5);
    QCOMPARE(day.day().db.settings.startAmount + day.day().db.settings.defaultBetAmount, 505.0f);
    QCOMPARE(readAll(day.file("settings.dat")), std::string("400,2,,,121.35\r\n"));
    leave(&window, how, ok ? u"cmdOK"_s : u"cmdCancel"_s);
    QVERIFY(!window.isVisible());
    QCOMPARE(day.day().db.settings.startAmount + day.day().db.settings.defaultBetAmount,
             ok ? 505.0f : 402.0f);
    QCOMPARE(readAll(day.file("settings.dat")),
             std::string(ok ? "500,5,,,121.35\r\n" : "400,2,,,121.35\r\n"));
}

void DialogsTest::printRangeSpinnersFollowEachOther() {
    WindowTestDay day;
    day.playRaces(2);
    ui::PrintOptionsDialog dialog(*day.game);
    dialog.show();
    auto* from = child<QSpinBox>(&dialog, u"udFrom"_s);
    auto* to = child<QSpinBox>(&dialog, u"udTo"_s);
    // The races still to run, and no earlier one.
    QCOMPARE((QList<int>{from->value(), to->value(), from->minimum(), to->minimum(), to->maximum()}),
             (QList<int>{3, 12, 3, 3, 12}));
    to->setValue(5);
    from->setValue(7);
    QCOMPARE(to->value(), 7);
    to->setValue(4);
    QCOMPARE(from->value(), 4);
    QCOMPARE(dialog.range().from * 100 + dialog.range().to, 404);
    QTest::mouseClick(button(&dialog, "cmdCancel"), Qt::LeftButton);
    QVERIFY(!dialog.isVisible());
}

void DialogsTest::printedProgramStartsEachRaceOnAPageUnderItsHeading() {
    if (QStandardPaths::findExecutable(u"pdftotext"_s).isEmpty())
        QSKIP("pdftotext (poppler-utils) is not installed");
    WindowTestDay day;
    ui::PrintOptionsDialog dialog(*day.game);
    QSignalSpy restored(&dialog, &ui::PrintOptionsDialog::raceRestored);
    TempDir out;
    const auto file = [&](const char* name) { return QString::fromStdString((out / name).string()); };
    QVERIFY(dialog.printToPdf(file("three.pdf"), 3, 5));
    QCOMPARE(restored.count(), 1);
    const QStringList pages =
        poppler("pdftotext", {u"-layout"_s, file("three.pdf"), u"-"_s}).split(u'\f', Qt::SkipEmptyParts);
    // Each race starts a page, and a race too long for one goes on over the next under its heading.
    for (int race = 3; race <= 5; ++race) {
        QString printed;
        for (const QString& page : pages)
            if (page.trimmed().startsWith(u"Race %1 Grade $"_s.arg(race)))
                printed += page;
        const int horse = day.day().card.raceHorse[static_cast<std::size_t>(race - 1)][7];
        QVERIFY2(printed.contains(u"Starts:"_s), qPrintable(QString::number(race)));
        QVERIFY(printed.contains(qtext(day.day().db.horses[static_cast<std::size_t>(horse)].name)));
    }
    // The entries' lines are bold, the rest plain: the printout carries both weights of one face.
    const QString fonts = poppler("pdffonts", {file("three.pdf")});
    QVERIFY2(fonts.isEmpty() || (fonts.contains(u"Bold"_s) && fonts.count(u'\n') >= 4), qPrintable(fonts));

    QVERIFY(dialog.printToPdf(file("one.pdf"), 3, 3));
    const QString one = poppler("pdftotext", {file("one.pdf"), u"-"_s});
    QVERIFY(one.contains(u"Race 3 Grade"_s) && !one.contains(u"Race 4 Grade"_s));
    QVERIFY(!dialog.printToPdf(file("none.pdf"), 13, 14));
}

void DialogsTest::topTenListsTheDayAndEndsTheGameOnlyWhenAsked() {
    WindowTestDay day;
    addPlayer(day.day(), "Ann");
    addPlayer(day.day(), "Bo");
    day.playRaces(RacesPerDay);
    {
        ui::TopTenWindow window(*day.game);
        window.show();
        auto* list = child<QListWidget>(&window, u"lstTop10"_s);
        QVERIFY(list->font().fixedPitch());
        QCOMPARE(list->count(), 2);
        QCOMPARE(items(list), qtexts(day.game->topTen()));
        // Beside it the day's ledger (heading, two players, all) and every player's balance at the
        // start and after each race, painted sharp at any scale.
        QCOMPARE(child<QListWidget>(&window, u"lstLedger"_s)->count(), 4);
        auto* chart = child<ui::BalanceChart>(&window, u"picBalances"_s);
        for (qreal scale : {1.0, 2.0}) {
            QPixmap sharp(chart->size() * scale);
            sharp.setDevicePixelRatio(scale);
            chart->render(&sharp);
            QCOMPARE(chart->pointsPainted(), 2 * (RacesPerDay + 1));
        }
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

QTEST_MAIN(DialogsTest)
#include "DialogsTest.moc"
