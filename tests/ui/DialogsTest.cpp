// The smaller windows - Add Player, Settings, the top ten, the guide, the racing program and the
// strategy lab: their rules are the core's; here, that their controls reach them and show what they
// decided, and that the long work runs without holding the window up.

#include "ui/AddPlayerDialog.h"
#include "ui/BalanceChart.h"
#include "ui/LabBankrollChart.h"
#include "ui/LabHistogram.h"
#include "ui/LabWindow.h"
#include "ui/PastPerfWindow.h"
#include "ui/PrintOptionsDialog.h"
#include "ui/ReadOnlyFolder.h"
#include "ui/SettingsWindow.h"
#include "ui/TopTenWindow.h"
#include "ui/UserGuide.h"
#include "ui/WindowOptions.h"

#include "WindowTestDay.h"

#include "players/Players.h"

#include <QComboBox>
#include <QPointer>
#include <QPrinter>
#include <QProgressBar>
#include <QTableWidget>
#include <QTextBrowser>

#include <functional>

using namespace sw;
using namespace sw::test;

namespace {

void choose(const QWidget* window, const QString& box, const char* strategy) {
    auto* combo = child<QComboBox>(window, box);
    combo->setCurrentIndex(combo->findData(QString::fromLatin1(strategy)));
}

QString percent(double share) {
    return QString::number(share * 100.0, 'f', 1) + u'%';
}

} // namespace

class DialogsTest : public QObject {
    Q_OBJECT

private slots:
    void aFolderThatCannotBeWrittenOffersACopyOrQuitting() {
        TempDir root;
        const std::filesystem::path shared = root / "shared";
        std::filesystem::create_directories(shared);
        writeAll(shared / "horses.dat", "Copper Lantern,M\r\n");
        const EnvironmentGetter env = [&root](std::string_view name) -> std::optional<std::string> {
            return name == "XDG_DATA_HOME" ? std::optional((root / "home").string()) : std::nullopt;
        };
        // Presses a button of the one warning once it is up, noting what it offered.
        QStringList offered;
        const auto press = [&offered](const QString& button) {
            QTimer::singleShot(0, [&offered, button] {
                for (QWidget* w : QApplication::topLevelWidgets())
                    if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible()) {
                        offered << box->objectName();
                        for (QAbstractButton* b : box->buttons())
                            if (b->text().remove(u'&') == button)
                                b->click();
                    }
            });
        };
        press(u"Quit"_s);
        QCOMPARE(ui::askForWritableFolder(shared, env), std::nullopt);
        QVERIFY2(!std::filesystem::exists(root / "home"), "quitting copies nothing");
        press(u"Work on a Copy"_s);
        QCOMPARE(ui::askForWritableFolder(shared, env), std::optional(root / "home" / "stridewell"));
        QCOMPARE(readAll(root / "home" / "stridewell" / "horses.dat"), "Copper Lantern,M\r\n");
        QCOMPARE(offered, (QStringList{u"msgReadOnlyFolder"_s, u"msgReadOnlyFolder"_s}));
    }
    void theCommandLineIsReadAsAskedAndWrongValuesAreRefused() {
        using Action = ui::WindowOptions::Action;
        const struct {
            QStringList args;
            Action action;
            std::optional<std::uint64_t> seed;
            QString error; // part of it, for Action::Error
        } cases[] = {
            // The seed's digits are read by the core; here, the window's own words and Qt's.
            {{}, Action::Play, std::nullopt, {}},
            {{u"-s"_s, u"42"_s}, Action::Play, 42, {}},
            {{u"--seed=-5"_s}, Action::Error, std::nullopt, u"not '-5'"_s},
            {{u"--seed"_s}, Action::Error, std::nullopt, u"seed"_s},
            {{u"--data-dir="_s}, Action::Error, std::nullopt, u"needs a folder"_s},
            {{u"--fly"_s}, Action::Error, std::nullopt, u"fly"_s},
            {{u"extra"_s}, Action::Error, std::nullopt, u"unexpected argument 'extra'"_s},
            // Asked before the display opens, help and the version win over what Qt alone reads.
            {{u"-platform"_s, u"offscreen"_s, u"--help"_s}, Action::Help, std::nullopt, {}},
            {{u"--version"_s}, Action::Version, std::nullopt, {}},
        };
        for (const auto& c : cases) {
            const ui::WindowOptions o = ui::parseWindowOptions(QStringList{u"stridewell"_s} + c.args);
            const QString line = c.args.join(u' ');
            QVERIFY2(o.action == c.action, qPrintable(line + u" -> "_s + o.error));
            if (c.action == Action::Error)
                QVERIFY2(o.error.contains(c.error), qPrintable(line + u" -> "_s + o.error));
            else
                QVERIFY2(o.seed == c.seed, qPrintable(line));
        }
        QCOMPARE(ui::parseWindowOptions({u"stridewell"_s, u"-d"_s, u"/tmp/x"_s}).dataDir,
                 std::optional(std::filesystem::path("/tmp/x")));
        // The manual page is made from the help: every option is in it, in lines a terminal shows whole.
        const QString help = ui::windowHelpText();
        for (const char* option : {"--data-dir DIR", "--seed N", "--help", "--version"})
            QVERIFY2(help.contains(QLatin1String(option)), option);
        for (const QString& line : help.split(u'\n'))
            QVERIFY2(line.size() < 80, qPrintable(line));
        QVERIFY(ui::windowVersionText().startsWith(u"stridewell " STRIDEWELL_VERSION "\n"_s));
    }
    void addPlayerTakesNamesByEnterOrAddAndKeepsARefusedOne() {
        WindowTestDay day;
        ui::AddPlayerDialog dialog(day.game);
        QSignalSpy changed(&dialog, &ui::AddPlayerDialog::playersChanged);
        dialog.show();
        auto* name = child<QLineEdit>(&dialog, u"txtPlayer"_s);
        auto* add = button(&dialog, "cmdAdd");
        // Each name added leaves the box empty and the dialog open for the next.
        QTest::keyClicks(name, u"Ann"_s);
        QTest::keyClick(name, Qt::Key_Enter);
        QVERIFY(name->text().isEmpty());
        QTest::keyClicks(name, u"Bo"_s);
        QTest::mouseClick(add, Qt::LeftButton);
        QCOMPARE(changed.count(), 2);
        QCOMPARE(day.day().players.entries[1].name, std::string("Bo"));
        // A refused name stays in the box to be put right.
        QTest::keyClicks(name, u"Smith, Jo"_s);
        add->click();
        QCOMPARE(changed.count(), 2);
        QCOMPARE(name->text(), u"Smith, Jo"_s);
    }

    void settingsApplyAtOnceAndOnlyOkKeepsThem() {
        // Escape and the frame reject the dialog as Cancel does.
        for (const bool ok : {false, true}) {
            WindowTestDay day;
            const Settings& settings = day.day().db.settings;
            ui::SettingsWindow window(day.game);
            window.show();
            child<QSpinBox>(&window, u"udStartAmount"_s)->setValue(500);
            child<QSpinBox>(&window, u"udDefaultAmount"_s)->setValue(5);
            QCOMPARE(settings.startAmount + settings.defaultBetAmount, Cents{50500});
            QTest::mouseClick(button(&window, ok ? u"cmdOK"_s : u"cmdCancel"_s), Qt::LeftButton);
            QVERIFY(!window.isVisible());
            QCOMPARE(settings.startAmount + settings.defaultBetAmount, ok ? Cents{50500} : Cents{40200});
            QCOMPARE(readAll(day.file("settings.dat")).starts_with("500,5,"), ok);
        }
    }

    void topTenListsTheDayAndEndsTheGameOnlyWhenAsked() {
        WindowTestDay day;
        addPlayer(day.day(), "Ann");
        addPlayer(day.day(), "Bo");
        day.playRaces(RacesPerDay);
        ui::TopTenWindow shown(day.game);
        shown.show();
        QCOMPARE(items(child<QListWidget>(&shown, u"lstTop10"_s)), shownTexts(day.game.topTen()));
        // Beside it every player's balance at the start and after each race.
        auto* chart = child<ui::BalanceChart>(&shown, u"picBalances"_s);
        chart->grab();
        QCOMPARE(chart->pointsPainted(), 2 * (RacesPerDay + 1));
        const auto choose = [&](const std::function<void(ui::TopTenWindow&)>& act) {
            ui::TopTenWindow window(day.game);
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

    // The desktop's handler for .htm may be a text editor: the guide opens in our own viewer, and
    // the browser only when asked.
    void theGuideOpensInItsOwnViewerAndInTheBrowserOnlyWhenAsked() {
        TempDir dir;
        writeAll(dir / "userguide.htm", "<html><body><h1>Odds</h1></body></html>");
        QList<QUrl> opened;
        const ui::DocumentOpener opener = [&opened](const QUrl& url) {
            opened << url;
            return true;
        };
        QWidget parent;
        const QString path = QString::fromStdString((dir / "userguide.htm").string());
        QWidget* guide = ui::showUserGuide(&parent, path, opener);
        QCOMPARE(guide->objectName(), u"frmUserGuide"_s);
        QVERIFY(guide->isVisible());
        QVERIFY(opened.isEmpty());
        QVERIFY(child<QTextBrowser>(guide, u"txtGuide"_s)->toPlainText().contains(u"Odds"_s));
        QCOMPARE(ui::showUserGuide(&parent, path, opener), guide);
        QTest::mouseClick(button(guide, u"cmdOpenInBrowser"_s), Qt::LeftButton);
        QCOMPARE(opened, QList<QUrl>{QUrl::fromLocalFile(path)});
        // No guide installed: the viewer says so and has nothing to hand to the browser.
        QWidget bare;
        QVERIFY(!button(ui::showUserGuide(&bare, QString(), opener), u"cmdOpenInBrowser"_s)->isEnabled());
    }

    // The racing program.
    void aRaceShowsItsProgramWholeAndPrintsIt() {
        // A day a few races in, so the horses of race 1 carry past lines and the jockeys records.
        WindowTestDay day;
        day.playRaces(3);
        ui::PastPerfWindow window(day.game);
        window.show();
        auto* udRace = child<QSpinBox>(&window, u"udRace"_s);
        QCOMPARE(udRace->value(), 4);
        // A race whose horses have run today.
        udRace->setValue(1);
        const ProgramView& view = day.game.program();
        QCOMPARE(view.race, 1);
        QCOMPARE((QStringList{text(&window, u"lblRace"_s), text(&window, u"lblRaceGrade"_s),
                              text(&window, u"lblBets"_s), text(&window, u"lblTrackRecord"_s)}),
                 qtexts({view.raceNumber, view.purse, view.betsOffered, view.trackRecord}));
        for (int e = 0; e < FieldSize; ++e) {
            const ProgramEntryView& entry = view.entries[static_cast<std::size_t>(e)];
            QStringList shown;
            for (const char* name : {"lblHorseName", "lblGrade", "lblStarts", "lblFirsts", "lblSeconds",
                                     "lblThirds", "lblFourths", "lblEarnings"})
                shown << text(&window, QLatin1String(name) + QString::number(e));
            QCOMPARE(shown, qtexts({entry.horseName, entry.jockey, entry.starts, entry.firsts, entry.seconds,
                                    entry.thirds, entry.fourths, entry.earnings}));
            QVERIFY(!entry.pastCells.empty());
            QCOMPARE(tableRows(child<QAbstractItemView>(&window, u"lstPast%1"_s.arg(e))),
                     qrows(entry.pastCells));
        }
        QList<QStringList> holders;
        for (const std::string& horse : view.trackRecordHolders)
            holders.append({qtext(horse), qtext(view.trackRecord)});
        QCOMPARE(tableRows(child<QAbstractItemView>(&window, u"lstTrackRecord"_s)), holders);
        QCOMPARE(tableRows(child<QAbstractItemView>(&window, u"lstJockeys"_s)), qrows(view.jockeyCells));

        QTest::mouseClick(button(&window, u"cmdPrint"_s), Qt::LeftButton);
        auto* options = window.findChild<ui::PrintOptionsDialog*>(u"frmPrint"_s);
        QVERIFY(options && options->isVisible() && options->isModal());
        // Printing walks the races; the program comes back to the race about to be run.
        udRace->setValue(6);
        TempDir out;
        QVERIFY(options->printToPdf(QString::fromStdString((out / "program.pdf").string()), 1, 2));
        QCOMPARE(udRace->value(), 4);
        // Never over the stable, and a file that cannot be printed to is reported: the options stay
        // open to try again.
        const std::string stable = readAll(day.file("horses.dat"));
        for (const std::filesystem::path& file :
             {day.file("horses.dat"), out / "no-such-folder" / "program.pdf"}) {
            QPrinter printer(QPrinter::HighResolution);
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(QString::fromStdString(file.string()));
            QVERIFY(!options->printTo(printer));
            QVERIFY(options->isVisible() && options->result() != QDialog::Accepted);
            QVERIFY(!day.prompter.shown().empty() &&
                    day.prompter.shown().back().text.find(file.filename().string()) != std::string::npos);
        }
        QVERIFY(readAll(day.file("horses.dat")) == stable);
        QCOMPARE(text(&window, u"lblHorseName0"_s), qtext(day.game.program().entries[0].horseName));
    }
    void chancesFillInOffTheWindowThreadAndStartOverForAnotherRace() {
        WindowTestDay day;
        ui::PastPerfWindow window(day.game);
        QSignalSpy done(&window, &ui::PastPerfWindow::chancesDone);
        window.setChanceRaces(600);
        window.show();
        auto* progress = child<QProgressBar>(&window, u"prgChances"_s);
        auto* table = child<QTableWidget>(&window, u"tblChances"_s);
        // Choosing another race drops the figures under way: only the last race's are told finished.
        window.showRace(3);
        window.showRace(4);
        QCOMPARE(progress->maximum(), 600);
        QVERIFY(done.wait(30000));
        QCOMPARE(done.count(), 1);
        QCOMPARE(progress->value(), 600);
        QCOMPARE(text(&window, u"lblChances"_s), u"Race 4"_s);
        // A race shown again has its figures at once, from the runs kept.
        const QString first = table->item(0, 1)->text();
        window.showRace(4);
        QCOMPARE(done.count(), 2);
        QCOMPARE(table->item(0, 1)->text(), first);
        QCOMPARE(day.game.chanceCache().simulated(), 1);
        // Each row under its post; the cells' texts are the core's.
        for (int e = 0; e < FieldSize; ++e)
            QVERIFY(table->item(e, 0)->text() == QString::number(e + 1) &&
                    !table->item(e, 1)->text().isEmpty());
    }

    // The strategy lab.
    void showsTheCoresFiguresForTheSetupChosen() {
        WindowTestDay day{20240611, false};
        ui::LabWindow window(day.game);
        window.resize(1366, 768);
        window.show();
        // A 1366x768 screen holds it whole, less its frame and the desktop's panel.
        QVERIFY(window.minimumSizeHint().width() <= 1366 && window.minimumSizeHint().height() <= 720);
        choose(&window, u"cboStrategyA"_s, "post1-win");
        choose(&window, u"cboStrategyB"_s, "favourite-win");
        child<QSpinBox>(&window, u"spnDays"_s)->setValue(2);
        child<QSpinBox>(&window, u"spnSeed"_s)->setValue(5);
        QTest::mouseClick(button(&window, u"cmdLabRun"_s), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(!window.running(), 120000);

        LabSetup setup;
        setup.stable = labStableOf(day.day().folder);
        setup.seed = 5;
        const auto runs = runLabs(setup, {*findStrategy("post1-win"), *findStrategy("favourite-win")}, 2);
        for (int i = 0; i < 2; ++i) {
            const LabSummary s = summarize(runs[static_cast<std::size_t>(i)], setup);
            const QString side = i == 0 ? u"A"_s : u"B"_s;
            QCOMPARE(text(&window, "lblReturn"_L1 + side), percent(s.returnRate));
            QCOMPARE(text(&window, "lblHitRate"_L1 + side), percent(s.hitRate));
        }
        // Both charts draw both strategies: two days each on the bankroll, some bars of days.
        auto* bankroll = child<ui::LabBankrollChart>(&window, u"picLabBankroll"_s);
        auto* days = child<ui::LabHistogram>(&window, u"picLabDays"_s);
        bankroll->grab();
        days->grab();
        QCOMPARE(bankroll->pointsPainted(), 4);
        QVERIFY(days->barsPainted() >= 2);
    }

    void cancelAndCloseStopALongRunAndARuleSaysWhatIsWrong() {
        WindowTestDay day{20240611, false};
        QPointer<ui::LabWindow> window = new ui::LabWindow(day.game);
        window->setAttribute(Qt::WA_DeleteOnClose);
        window->show();
        auto* bar = child<QProgressBar>(window, u"barLabProgress"_s);
        QPushButton* run = button(window, u"cmdLabRun"_s);
        child<QSpinBox>(window, u"spnDays"_s)->setValue(10000);
        QTest::mouseClick(run, Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(bar->value() > 0, 60000);
        QVERIFY(!run->isEnabled());
        QTest::mouseClick(button(window, u"cmdLabCancel"_s), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(!window->running(), 60000);
        QVERIFY(bar->value() < bar->maximum());
        QVERIFY(text(window, u"lblLabStatus"_s).startsWith(u"Cancelled"_s));

        // Usable again: a rule of one's own, refused in words until it is one.
        auto* strategy = child<QComboBox>(window, u"cboStrategyA"_s);
        strategy->setCurrentIndex(strategy->findText(u"A rule of my own"_s));
        auto* rule = child<QLineEdit>(window, u"txtRuleA"_s);
        QTest::keyClicks(rule, u"win if odds > 2"_s);
        QVERIFY(!run->isEnabled());
        QCOMPARE(text(window, u"lblRuleErrorA"_s),
                 u"after the bet a rule goes on with \"when\", not \"if\""_s);
        rule->setText(u"win when odds >= 5"_s);
        QVERIFY(run->isEnabled());

        // Closed while it plays, the window goes at once and is deleted once the days under way end.
        QTest::mouseClick(run, Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(bar->value() > 0, 60000);
        window->close();
        QVERIFY(!window->isVisible());
        QTRY_VERIFY_WITH_TIMEOUT(window.isNull(), 60000);
    }
};

QTEST_MAIN(DialogsTest)
#include "DialogsTest.moc"
