// The windows beside the main one - the results, Settings, the top ten, the guide, the
// racing program and the strategy lab: their rules are the core's; here, that their controls reach them and
// show what they decided, and that the long work runs without holding the window up. Then how they look on
// the player's desktop: a dark or light theme and panels that read on either, any font size and style.

#include "ui/BalanceChart.h"
#include "ui/LabBankrollChart.h"
#include "ui/LabHistogram.h"
#include "ui/LabWindow.h"
#include "ui/Palette.h"
#include "ui/PastPerfWindow.h"
#include "ui/PrintOptionsDialog.h"
#include "ui/ReadOnlyFolder.h"
#include "ui/ResultsWindow.h"
#include "ui/ScreenFit.h"
#include "ui/SettingsWindow.h"
#include "ui/TopTenWindow.h"
#include "ui/UserGuide.h"
#include "ui/WindowOptions.h"

#include "WindowTestDay.h"

#include "players/Players.h"
#include "wagering/ExchangeCredits.h"

#include <QComboBox>
#include <QPalette>
#include <QPointer>
#include <QPrinter>
#include <QProgressBar>
#include <QScrollBar>
#include <QStyle>
#include <QStyleFactory>
#include <QTableView>
#include <QTableWidget>
#include <QTextBrowser>

#include <algorithm>
#include <functional>
#include <ranges>
#include <tuple>

using namespace sw;
using namespace sw::test;

namespace {

void choose(const QWidget* window, const QString& box, const char* strategy) {
    auto* combo = child<QComboBox>(window, box);
    combo->setCurrentIndex(combo->findData(QString::fromLatin1(strategy)));
}

// A horse's name, record and earnings in the racing program, each label's name followed by its entry.
constexpr const char* EntryLabels[] = {"lblHorseName", "lblGrade",  "lblStarts",  "lblFirsts",
                                       "lblSeconds",   "lblThirds", "lblFourths", "lblEarnings"};

QString percent(double share) {
    return QString::number(share * 100.0, 'f', 1) + u'%';
}

QPalette withWindow(const QColor& window, const QColor& text) {
    QPalette palette;
    palette.setColor(QPalette::Window, window);
    palette.setColor(QPalette::WindowText, text);
    return palette;
}

// What a list or table cuts: a scroll bar showing, a line wider than the view, a column's text
// wider than its section, a row below the bottom (unless the view is meant to scroll down). Empty
// when everything shows whole.
QString cutIn(const QAbstractItemView* view, bool scrollsDown = false) {
    const QString name = view->objectName();
    if (!view->isVisible())
        return name + u" is not shown"_s;
    if (view->horizontalScrollBar()->isVisible())
        return u"%1 scrolls across (%2 of %3 pixels shown)"_s.arg(name)
            .arg(view->viewport()->width())
            .arg(view->horizontalScrollBar()->maximum() + view->viewport()->width());
    if (view->verticalScrollBar()->isVisible() && !scrollsDown)
        return u"%1 scrolls down"_s.arg(name);
    const QAbstractItemModel* model = view->model();
    for (int c = 0; c < model->columnCount(); ++c) {
        const auto* table = qobject_cast<const QTableView*>(view);
        const int section = table ? table->columnWidth(c) : view->viewport()->width();
        for (int r = 0; r < model->rowCount(); ++r) {
            const QModelIndex at = model->index(r, c);
            const QVariant font = at.data(Qt::FontRole);
            const QFontMetrics shownIn(font.isValid() ? font.value<QFont>() : view->font());
            const QString text = at.data().toString();
            if (shownIn.horizontalAdvance(text) > section)
                return u"%1 cuts \"%2\" (%3 pixels wide)"_s.arg(name, text).arg(section);
            if (!scrollsDown && view->visualRect(at).bottom() >= view->viewport()->height())
                return u"%1 hides row %2"_s.arg(name).arg(r + 1);
            if (view->visualRect(at).right() >= view->viewport()->width())
                return u"%1 hides column %2"_s.arg(name).arg(c + 1);
        }
    }
    return {};
}

// A label cut by its own width or by the pane it lies in.
QString cutIn(const QLabel* label) {
    const int shown = label->visibleRegion().boundingRect().width();
    if (QFontMetrics(label->font()).horizontalAdvance(label->text()) > shown)
        return u"%1 cuts \"%2\" (%3 pixels shown)"_s.arg(label->objectName(), label->text()).arg(shown);
    return {};
}

} // namespace

class WindowsTest : public QObject {
    Q_OBJECT

    QString m_defaultStyle;
    WindowTestDay m_results;
    WindowTestDay m_topTen;
    WindowTestDay m_program;

private slots:
    void initTestCase() {
        m_defaultStyle = QApplication::style()->name();
        for (WindowTestDay* day : {&m_results, &m_topTen, &m_program}) {
            addPlayer(day->day(), "Ann");
            addPlayer(day->day(), "Bartholomew Quince");
        }
        // The third race's results (the Daily Double closes: the fullest payoff area of the early races),
        // a whole day, a program a few races in.
        m_results.playRaces(2);
        // Ann's Twin-Tri credit for race 3, never exchanged: it pays its first half's price there.
        RaceDay& results = m_results.day();
        results.exchangeCredits = {
            {2100, results.players.entries[0].playerId, 2, "Twin-Tri", 3, "1-2-3", 550, 0}};
        writeAll(m_results.file("exchangecredits.dat"), exchangeCreditsText(results.exchangeCredits));
        m_results.runRace();
        m_topTen.playRaces(RacesPerDay);
        m_program.playRaces(3);
    }

    void aFolderThatCannotBeWrittenOffersACopyOrQuitting() {
        TempDir root;
        const std::filesystem::path shared = root / "shared";
        std::filesystem::create_directories(shared);
        writeAll(shared / "horses.dat", "Copper Lantern,M\r\n");
        const EnvironmentGetter env = [&root](std::string_view name) -> std::optional<std::string> {
            return name == "XDG_DATA_HOME" ? std::optional((root / "home").string()) : std::nullopt;
        };
        QString read;
        answerBox(u"Quit"_s, read);
        QCOMPARE(ui::askForWritableFolder(shared, env), std::nullopt);
        QVERIFY2(read.startsWith(u"Stridewell:The data folder "_s), qPrintable(read));
        QVERIFY2(!std::filesystem::exists(root / "home"), "quitting copies nothing");
        read.clear();
        answerBox(u"Work on a Copy"_s, read);
        QCOMPARE(ui::askForWritableFolder(shared, env), std::optional(root / "home" / "stridewell"));
        QCOMPARE(readAll(root / "home" / "stridewell" / "horses.dat"), "Copper Lantern,M\r\n");
        QVERIFY2(read.startsWith(u"Stridewell:The data folder "_s), qPrintable(read));
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
            {{u"--data-dir="_s}, Action::Error, std::nullopt, u"needs a folder"_s},
            {{u"--fly"_s}, Action::Error, std::nullopt, u"fly"_s},
            {{u"extra"_s}, Action::Error, std::nullopt, u"unexpected argument 'extra'"_s},
            // Asked before the display opens, help and the version win over what Qt alone reads.
            {{u"-platform"_s, u"offscreen"_s, u"--help"_s}, Action::Help, std::nullopt, {}},
            {{u"--version"_s}, Action::Version, std::nullopt, {}},
        };
        for (const auto& c : cases) {
            const ui::WindowOptions o = ui::parseWindowOptions(QStringList{u"stridewell"_s} + c.args);
            QVERIFY2(o.action == c.action && o.seed == c.seed && o.error.contains(c.error),
                     qPrintable(c.args.join(u' ') + u" -> "_s + o.error));
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
        WindowTestDay& day = m_topTen;
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
        WindowTestDay& day = m_program;
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
            for (const char* name : EntryLabels)
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
    void showsTheCoresFiguresForTheSetupChosenAndCancelAndCloseStopALongRun() {
        WindowTestDay day{20240611, false};
        QPointer<ui::LabWindow> window = new ui::LabWindow(day.game);
        window->setAttribute(Qt::WA_DeleteOnClose);
        window->resize(1366, 768);
        window->show();
        // A 1366x768 screen holds it whole, less its frame and the desktop's panel.
        QVERIFY(window->minimumSizeHint().width() <= 1366 && window->minimumSizeHint().height() <= 720);
        auto* bar = child<QProgressBar>(window, u"barLabProgress"_s);
        QPushButton* run = button(window, u"cmdLabRun"_s);
        choose(window, u"cboStrategyA"_s, "post1-win");
        choose(window, u"cboStrategyB"_s, "favourite-win");
        child<QSpinBox>(window, u"spnDays"_s)->setValue(2);
        child<QSpinBox>(window, u"spnSeed"_s)->setValue(5);
        QTest::mouseClick(run, Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(!window->running(), 120000);

        LabSetup setup;
        setup.stable = labStableOf(day.day().folder);
        setup.seed = 5;
        const auto runs = runLabs(setup, {*findStrategy("post1-win"), *findStrategy("favourite-win")}, 2);
        for (int i = 0; i < 2; ++i) {
            const LabSummary s = summarize(runs[static_cast<std::size_t>(i)], setup);
            const QString side = i == 0 ? u"A"_s : u"B"_s;
            QCOMPARE(text(window, "lblReturn"_L1 + side), percent(s.returnRate));
            QCOMPARE(text(window, "lblHitRate"_L1 + side), percent(s.hitRate));
        }
        // Both charts draw both strategies: two days each on the bankroll, some bars of days.
        auto* bankroll = child<ui::LabBankrollChart>(window, u"picLabBankroll"_s);
        auto* days = child<ui::LabHistogram>(window, u"picLabDays"_s);
        bankroll->grab();
        days->grab();
        QCOMPARE(bankroll->pointsPainted(), 4);
        QVERIFY(days->barsPainted() >= 2);

        // A long run stops where Cancel finds it.
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

    // The results.
    void theChartAndPayoffsOfTheGameShowWhole() {
        WindowTestDay& day = m_results;
        ui::ResultsWindow window(day.game);
        window.show();
        // A click shows the whole show at once: none of its pauses is waited for.
        QTest::mouseClick(child(&window, u"lblRaceNum"_s), Qt::LeftButton);
        QVERIFY(QTest::qWaitFor([&] { return window.showFinished(); }, PhotoPauseMs / 2));

        // The pay-off moment: what Ann was paid, in one line.
        Cents paid = 0;
        for (const Credit& credit : day.game.settlement().credits)
            paid += credit.playerIndex == 0 ? credit.winnings : 0;
        QVERIFY(paid > 0);
        QCOMPARE(text(&window, u"lblCollects0"_s), u"Ann collects "_s + qtext(shownMoney(paid)));
        QVERIFY(!child(&window, u"lblCollects1"_s));

        const RaceChart& chart = day.game.chart();
        QCOMPARE(text(&window, u"lblRaceNum"_s) + u' ' + text(&window, u"lblTimeOfRace"_s),
                 u"Race 3 "_s + qtext(chart.lblTimeOfRace));
        // The chart as a screen reader reads it: a table whose headings say what the signs mean.
        QAccessibleTableInterface* table = tableOf(child<QTableView>(&window, u"tblChart"_s));
        QCOMPARE(columnHeadings(table),
                 qtexts(ChartColumnHeadings | std::views::transform(&ChartColumnHeading::spoken)));
        for (int r = 0; r < FieldSize; ++r) {
            const ChartRow& row = chart.rows[static_cast<std::size_t>(r)];
            QCOMPARE(rowCells(table, r), qtexts({row.lblHorseName, row.lblPost, row.lblBreak, row.lblEigth,
                                                 row.lblEiLen, row.lblStrech, row.lblStLen, row.lblFin,
                                                 row.lblFinLen, row.lblTime, row.lblOdds, row.lblComment}));
        }
        // Every payoff in its cell, the combinations' posts together in one.
        const Payoffs& payoffs = day.game.payoffs();
        QHash<QString, QStringList> expected;
        for (const LabelText& label : chartLabels(payoffs))
            expected[qtext(label.name)] << qtext(label.text);
        for (auto [name, texts] : expected.asKeyValueRange())
            QCOMPARE(namedCell(&window, name).data().toString(), texts.join(u'-'));
        // The first four as the reader hears them.
        QAccessibleTableInterface* places = tableOf(child<QTableView>(&window, u"tblPlacePayoffs"_s));
        QCOMPARE(rowCells(places, 0).mid(0, 3),
                 (QStringList{u"1st"_s, QString::number(day.day().result.finishOrder[0]),
                              qtext(payoffs.win.text)}));
        QCOMPARE(items(child<QListWidget>(&window, u"lstStandings"_s)),
                 shownTexts(day.game.settlement().standingLines));
        // The order is told to a screen reader as soon as it is official.
        QCOMPARE(window.accessibleDescription(), qtext(officialOrderLine(day.day())));

        // A payoff opens its working on a click or on Enter, beside the results rather than over them.
        const QModelIndex exacta = namedCell(&window, u"lblExactaPayoff"_s);
        auto* bets = child<QTableView>(&window, u"tblBetPayoffs"_s);
        QTest::mouseClick(bets->viewport(), Qt::LeftButton, {}, bets->visualRect(exacta).center());
        auto* placeTable = child<QTableView>(&window, u"tblPlacePayoffs"_s);
        placeTable->setCurrentIndex(namedCell(&window, u"lblShow3Payoff"_s));
        QTest::keyClick(placeTable, Qt::Key_Return);
        QCOMPARE(window.findChildren<QDialog*>(u"frmExplain"_s).size(), 1);
        auto* explanation = child<QDialog>(&window, u"frmExplain"_s);
        QVERIFY(explanation->isVisible() && !explanation->isModal());
        QCOMPARE(items(child<QListWidget>(explanation, u"lstSteps"_s)), qtexts(payoffs.show[2].working));
        // So does a Twin-Tri credit's line among the winners: the working the credit was paid with.
        const std::vector<Credit>& credits = day.game.settlement().credits;
        const auto twinTri = std::ranges::find(credits, "TwT", &Credit::code);
        QVERIFY(twinTri != credits.end() && !twinTri->working.empty());
        auto* winnerList = child<QListWidget>(&window, u"lstWinners"_s);
        QListWidgetItem* line = winnerList->item(static_cast<int>(twinTri - credits.begin()));
        QTest::mouseClick(winnerList->viewport(), Qt::LeftButton, {},
                          winnerList->visualItemRect(line).center());
        QCOMPARE(items(child<QListWidget>(explanation, u"lstSteps"_s)), qtexts(twinTri->working));

        // The race's ledger: heading, two players, all; then what each of its pools kept.
        const QStringList ledger = items(child<QListWidget>(&window, u"lstLedger"_s));
        QCOMPARE(ledger.size(), 12);
        QCOMPARE(ledger, shownTexts(ledgerLines(day.game.ledger(), 2)) +
                             shownTexts(poolKeptLines(day.game.ledger(), 2)));
    }

    void leavingConfirmsOnceTheShowIsOverEvenWithAFileUnsaved() {
        // The frame rejects the window as Escape does.
        for (const bool byEscape : {false, true}) {
            WindowTestDay day;
            day.runRace();
            // A folder where the past performances should be: the race's lines cannot be appended, and
            // the window names the file beside OK rather than stopping the player.
            std::filesystem::remove(day.file("pastperformances.dat"));
            std::filesystem::create_directory(day.file("pastperformances.dat"));
            ui::ResultsWindow window(day.game);
            QSignalSpy confirmed(&window, &ui::ResultsWindow::confirmed);
            window.show();
            const auto leave = [&] {
                byEscape ? QTest::keyClick(&window, Qt::Key_Escape) : button(&window, u"cmdOK"_s)->click();
            };
            // Before the end of the show the results are not yet written: the window stays.
            leave();
            QVERIFY(window.isVisible());
            QCOMPARE(day.game.stage(), Stage::Results);

            QVERIFY(runResultsShow(&window));
            QCOMPARE(text(&window, u"lblCollects0"_s), qtext(std::string(NobodyCollectsText)));
            QLabel* problems = child(&window, u"lblSaveProblems"_s);
            QVERIFY(problems->isVisible() && !problems->text().isEmpty() && day.prompter.shown().empty());
            QCOMPARE(problems->text(), qtext(day.game.chart().saveError.message));
            leave();
            QVERIFY(QTest::qWaitFor([&] { return !window.isVisible(); }));
            QCOMPARE(day.game.stage(), Stage::Program);
            QCOMPARE(day.day().currentRace, 1);
            button(&window, u"cmdOK"_s)->click();
            window.reject();
            QCOMPARE(confirmed.count(), 1);
            QCOMPARE(day.day().currentRace, 1);
        }
    }

    // How the windows look.
    void textReadsOnEveryGroundAndDarkThemesAreToldApartByTheWindowColour() {
        // Dark begins below half lightness, and the window's colour decides, whatever the theme does
        // with its text. Of a colour for light windows and one for dark, the one that reads there.
        const QColor ink(0x1a, 0x6e, 0x34), chalk(0xec, 0xec, 0xe6);
        const std::tuple<QColor, QColor, bool> windows[] = {{QColor::fromHsl(0, 0, 127), Qt::black, true},
                                                            {QColor::fromHsl(0, 0, 128), Qt::white, false},
                                                            {QColor(0xef, 0xef, 0xef), Qt::black, false},
                                                            {QColor(0x2a, 0x2e, 0x32), Qt::white, true}};
        for (const auto& [window, text, dark] : windows) {
            QVERIFY2(ui::isDark(withWindow(window, text)) == dark, qPrintable(window.name()));
            QCOMPARE(ui::readableColour(withWindow(window, text), ink, chalk), dark ? chalk : ink);
        }
        QCOMPARE(qRound(ui::contrastRatio(Qt::white, Qt::black)), 21);
        const ui::Racecourse& c = ui::racecourse();
        const QColor light = std::get<0>(windows[2]), dark = std::get<0>(windows[3]);
        // Panels, buttons and lists, and a chosen button or ticket in amber.
        const std::pair<QColor, QColor> drawn[] = {{c.chalk, c.board},
                                                   {c.muted, c.board},
                                                   {c.amber, c.board},
                                                   {c.green, c.board},
                                                   {c.chalk, c.raised},
                                                   {c.muted, c.raised},
                                                   {c.amber, c.raised},
                                                   {c.board, c.amber},
                                                   // The tote board's figures on its panel.
                                                   {ui::boardFigureColour(), ui::boardPanelColour()},
                                                   {ui::boardHeadingColour(), ui::boardPanelColour()},
                                                   {ui::boardTotalColour(), ui::boardPanelColour()},
                                                   {ui::boardSignColour(), ui::boardPanelColour()},
                                                   // The photo sign on the desktop's own windows.
                                                   {ui::signColour(withWindow(light, Qt::black)), light},
                                                   {ui::signColour(withWindow(dark, Qt::white)), dark}};
        for (const auto& [text, ground] : drawn)
            QVERIFY2(ui::contrastRatio(text, ground) >= 4.5,
                     qPrintable(text.name() + " on " + ground.name()));
    }

    void theBalanceScaleTicksAtRoundAmounts() {
        // Dollars spanned, most gaps the height allows, the gap: never $2.50 or cents.
        for (const auto& [span, most, step] :
             {std::tuple{25.0, 12, 5.0}, std::tuple{25.0, 5, 5.0}, std::tuple{3.0, 10, 1.0},
              std::tuple{180.0, 8, 25.0}, std::tuple{2400.0, 5, 500.0}})
            QCOMPARE(ui::tickStep(span, most), step);
    }

    void theMainWindowOpensMaximizedOnlyOnAFirstStartOnAWideScreen() {
        // Remembered or not, the screen's width, maximized.
        for (const auto& [remembered, width, maximized] :
             {std::tuple{false, 1920, true}, std::tuple{false, 1601, true}, std::tuple{false, 1600, false},
              std::tuple{false, 1366, false}, std::tuple{true, 2560, false}})
            QVERIFY2(ui::opensMaximized(remembered, width) == maximized, qPrintable(QString::number(width)));
    }

    // Last: it leaves the application in the last style and font it tried.
    void nothingIsCutAtAnyFontOrStyle_data() {
        QTest::addColumn<QString>("style");
        QTest::addColumn<int>("points");
        QStringList styles{u"Fusion"_s, u"Windows"_s};
        if (!styles.contains(m_defaultStyle, Qt::CaseInsensitive))
            styles << m_defaultStyle;
        for (const QString& style : styles)
            for (const int points : {9, 10, 11, 13})
                QTest::addRow("%s %d pt", qPrintable(style), points) << style << points;
    }
    void nothingIsCutAtAnyFontOrStyle() {
        QFETCH(QString, style);
        QFETCH(int, points);
        QVERIFY(QStyleFactory::keys().contains(style, Qt::CaseInsensitive));
        QApplication::setStyle(style);
        QFont font = QApplication::font();
        font.setPointSize(points);
        QApplication::setFont(font);

        ui::ResultsWindow results(m_results.game);
        ui::TopTenWindow topTen(m_topTen.game);
        ui::PastPerfWindow program(m_program.game);
        QSignalSpy chancesDone(&program, &ui::PastPerfWindow::chancesDone);
        program.setChanceRaces(MinChanceRaces);
        program.showRace(1);
        for (QWidget* window : std::initializer_list<QWidget*>{&results, &topTen, &program}) {
            window->show();
            QVERIFY(QTest::qWaitForWindowExposed(window));
        }
        results.showAllAtOnce();
        QVERIFY(QTest::qWaitFor([&] { return results.showFinished(); }));
        QVERIFY(chancesDone.count() > 0 || chancesDone.wait(30000));
        QApplication::processEvents(); // the layouts take in the last lines

        QStringList cuts;
        for (const char* name : {"lstLedger", "lstWinners", "lstStandings"})
            cuts << cutIn(child<QListWidget>(&results, QLatin1String(name)));
        for (const char* name : {"tblChart", "tblPlacePayoffs", "tblBetPayoffs"})
            cuts << cutIn(child<QTableView>(&results, QLatin1String(name)));
        for (const char* name : {"lstLedger", "lstTop10"})
            cuts << cutIn(child<QListWidget>(&topTen, QLatin1String(name)));
        cuts << cutIn(child<QTableWidget>(&program, u"tblChances"_s))
             << cutIn(child<QAbstractItemView>(&program, u"lstPast0"_s), true)
             << cutIn(child<QAbstractItemView>(&program, u"lstJockeys"_s), true);
        // The first entry's record and earnings, in the pane that scrolls the entries.
        for (const char* name : EntryLabels)
            cuts << cutIn(child(&program, QLatin1String(name) + u'0'));
        cuts.removeAll(QString());
        QVERIFY2(cuts.isEmpty(), qPrintable(cuts.join(u"; "_s)));
    }
};

QTEST_MAIN(WindowsTest)
#include "WindowsTest.moc"
