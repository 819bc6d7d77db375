// Add Player, Settings and the top ten: their rules are the core's; here, that their controls reach them.

#include "ui/AddPlayerDialog.h"
#include "ui/BalanceChart.h"
#include "ui/ReadOnlyFolder.h"
#include "ui/SettingsWindow.h"
#include "ui/TopTenWindow.h"
#include "ui/UserGuide.h"
#include "ui/WindowOptions.h"

#include "WindowTestDay.h"

#include "players/Players.h"

#include <QTextBrowser>

#include <functional>

using namespace sw;
using namespace sw::test;

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
            {{}, Action::Play, std::nullopt, {}},
            {{u"--seed"_s, u"42"_s}, Action::Play, 42, {}},
            {{u"-s"_s, u"18446744073709551615"_s}, Action::Play, UINT64_MAX, {}},
            {{u"--seed"_s, u"12abc"_s}, Action::Error, std::nullopt, u"not '12abc'"_s},
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
};

QTEST_MAIN(DialogsTest)
#include "DialogsTest.moc"
