// The main window fits the screen it is shown on, whole: under each desktop style, at each screen
// size and scale, its frame lies inside the work area, every area gets the room it asks for,
// nothing scrolls, and the bet pages share one size, so neither the track nor a panel moves as
// the pages change. In French, it shows no English either: each text a player reads (labels,
// buttons, tabs, menus, tooltips) on each page is no English text of the catalog, or one French
// spells the same ("OK", "Pick 3"); Qt's own buttons and the guide are French too.
//
// With many players, each chip of the slip is shown whole or listed under its "+N" button.
//
// A screen's size and scale are fixed when the application starts, so each row runs this program
// again, offscreen on that screen, and reads what the run found.

#include "core/Translate.h"
#include "ui/MainWindow.h"
#include "ui/QtCatalog.h"

#include "WindowTestDay.h"

#include <QAbstractItemView>
#include <QDialogButtonBox>
#include <QFile>
#include <QGroupBox>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLibraryInfo>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QRegularExpression>
#include <QScreen>
#include <QScrollBar>
#include <QStandardPaths>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTextDocumentFragment>

#include <iostream>

using namespace sw;
using namespace sw::test;

namespace {

// The row a run of this program is to measure: --one-screen ROW.
constexpr const char* RunArgument = "--one-screen";

// The screens a row runs on. A laptop's 1920 by 1080 at 150 % has a work area of 1280 by 720;
// French runs longer than English in every caption.
const struct Screen {
    const char* name;
    QSize screen;
    const char* scale;
    bool maximized;
    const char* language;
    int players = 1;
} Screens[] = {{"1920x1080", {1920, 1080}, "1", false, ""},
               {"1920x1080 maximized", {1920, 1080}, "1", true, ""},
               {"1366x768", {1366, 768}, "1", false, ""},
               {"1920x1080 at 150%", {1920, 1080}, "1.5", false, ""},
               {"1366x768", {1366, 768}, "1", false, "fr"},
               {"1920x1080 at 150%", {1920, 1080}, "1.5", false, "fr"},
               // More players than the slip's row holds chips for.
               {"1920x1080 at 150% 8 players", {1920, 1080}, "1.5", false, "", 8}};

QString where(const QRect& r) {
    return u"%1,%2 %3x%4"_s.arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
}

using Patterns = QList<QRegularExpression>;

// Each one-line msgid (English) or msgstr (French) of the catalog as a whole-text pattern, where
// what the game fills in ({0}, %1) matches anything.
void readCatalog(const QString& path, Patterns& english, Patterns& french) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return;
    static const QRegularExpression entry(uR"re(^(msgid|msgstr(?:\[\d\])?) "(.*[A-Za-z]{2}.*)"$)re"_s);
    static const QRegularExpression filled(uR"(\\\{\d+\\\}|\\%\d)"_s);
    while (!file.atEnd()) {
        const auto m = entry.match(QString::fromUtf8(file.readLine()).trimmed());
        if (!m.hasMatch())
            continue;
        QString pattern = QRegularExpression::escape(m.captured(2).remove(u'&').replace(u"\\\""_s, u"\""_s));
        pattern.replace(filled, u".+"_s);
        (m.captured(1) == "msgid"_L1 ? english : french) << QRegularExpression(u"^"_s + pattern + u"$"_s);
    }
}

bool anyMatches(const Patterns& patterns, const QString& text) {
    return std::any_of(patterns.begin(), patterns.end(),
                       [&](const QRegularExpression& p) { return p.match(text).hasMatch(); });
}

// The texts the window shows now, its own widgets' (not the windows over it), tabs and menus.
QStringList shownTexts(QMainWindow& window) {
    QStringList texts{window.windowTitle()};
    for (QWidget* w : window.findChildren<QWidget*>()) {
        if (w->window() != &window || !w->isVisibleTo(&window))
            continue;
        texts << w->toolTip();
        if (auto* label = qobject_cast<QLabel*>(w))
            texts << (Qt::mightBeRichText(label->text())
                          ? QTextDocumentFragment::fromHtml(label->text()).toPlainText()
                          : label->text());
        if (auto* b = qobject_cast<QAbstractButton*>(w))
            texts << b->text();
        if (auto* box = qobject_cast<QGroupBox*>(w))
            texts << box->title();
        if (auto* tabs = qobject_cast<QTabBar*>(w))
            for (int i = 0; i < tabs->count(); ++i)
                texts << tabs->tabText(i) << tabs->tabToolTip(i);
    }
    for (QAction* menu : window.menuBar()->actions()) {
        texts << menu->text();
        for (QAction* item : menu->menu()->actions())
            texts << item->text() << item->toolTip() << item->statusTip();
    }
    // Line by line: a control that cannot be used now adds why to its own tooltip.
    QStringList lines;
    for (const QString& text : texts)
        for (const QString& line : QString(text).remove(u'&').split(u'\n'))
            lines << line.trimmed();
    lines.removeAll(QString());
    return lines;
}

// One screen: the window on a seeded day, walked through the bet pages as a player builds a ticket.
// Prints a line for each fault and returns their number.
int runOnOneScreen(const Screen& row) {
    QStandardPaths::setTestModeEnabled(true);
    WindowTestDay day(20240517, false);
    ui::MainWindow window(day.game);
    if (row.maximized)
        window.showMaximized();
    else
        window.show();
    QStringList faults;
    if (!startBetting(day.game, 60000))
        return std::cout << "betting never opened\n", 1;
    const QStringList names = {u"Ann"_s,     u"Bartholomew"_s, u"Cy"_s,        u"Dorothea"_s,
                               u"Eustace"_s, u"Philippa"_s,    u"Gwendolyn"_s, u"Horatio"_s};
    for (int i = 0; i < row.players; ++i)
        day.game.addPlayer(names[i % names.size()].toStdString());
    window.refresh();

    Patterns english, french;
    if (qgetenv("LANGUAGE") == "fr")
        readCatalog(QStringLiteral(STRIDEWELL_SOURCE_DIR "/po/fr.po"), english, french);
    auto noEnglish = [&](const QString& page) {
        for (const QString& text : shownTexts(window))
            if (anyMatches(english, text) && !anyMatches(french, text))
                faults << page + ": English shows: " + text;
    };

    const QRect area = window.screen()->availableGeometry();
    const char* const areas[] = {"frTrack", "frSlip", "tabBets", "frTickets", "tabTote"};
    QStringList firstPlaces;
    // Each step ends on a page: the amount, the bet, the horses half picked, the amount again with
    // the ticket listed.
    const char* const steps[] = {"", "cmdNext1", "cmdExacta cmdBox cmdNext2 cmdHorse0 cmdHorse2",
                                 "cmdFinish"};
    for (const char* step : steps) {
        for (const QString& name : QString::fromLatin1(step).split(u' ', Qt::SkipEmptyParts))
            if (QPushButton* b = button(&window, name); b && b->isEnabled())
                b->click();
            else
                faults << "cannot press " + name;
        QTest::qWait(50);
        const QString page = u"page %1"_s.arg(child<QTabWidget>(&window, u"tabBets"_s)->currentIndex());
        noEnglish(page);
        if (!area.contains(window.frameGeometry()))
            faults << page + ": the frame " + where(window.frameGeometry()) + " leaves the work area " +
                          where(area);
        if (const QRect least({}, window.minimumSizeHint()); !window.rect().contains(least))
            faults << page + ": the window is " + where(window.rect()) + ", its areas need " + where(least);
        for (const QScrollBar* bar : window.findChildren<QScrollBar*>()) {
            const QWidget* owner = bar->parentWidget();
            while (owner && (owner->objectName().isEmpty() || owner->objectName().startsWith(u"qt_"_s)))
                owner = owner->parentWidget();
            if (bar->isVisible())
                faults << page + ": a scroll bar shows in " + (owner ? owner->objectName() : u"the window"_s);
        }
        QStringList places;
        for (const char* name : areas) {
            const QWidget* w = child<QWidget>(&window, QLatin1String(name));
            places << QLatin1String(name) + u' ' +
                          (w ? where(QRect(w->mapTo(&window, QPoint()), w->size())) : u"missing"_s);
        }
        if (firstPlaces.isEmpty())
            firstPlaces = places;
        for (qsizetype i = 0; i < places.size(); ++i)
            if (places[i] != firstPlaces[i])
                faults << page + ": " + places[i] + ", was " + firstPlaces[i];
    }
    // Every player is a chip shown whole inside the slip, or an entry under "+N" that can be chosen.
    const QWidget* slip = child<QWidget>(&window, u"frSlip"_s);
    const auto whole = [slip](const QWidget* w) {
        return w && w->isVisible() && w->width() >= w->sizeHint().width() &&
               slip->contentsRect().contains(QRect(w->mapTo(slip, QPoint()), w->size()));
    };
    QStringList listed;
    if (QPushButton* more = button(&window, u"cmdMorePlayers"_s); more && more->isVisible()) {
        if (!whole(more))
            faults << "the +N button is cut: " + where(more->geometry());
        more->click();
        for (const QAction* action : more->findChild<QMenu*>()->actions())
            if (action->isEnabled())
                listed << action->text();
        more->findChild<QMenu*>()->hide();
    }
    for (int i = 0; i < row.players; ++i) {
        const QPushButton* chip = button(&window, u"chipPlayer%1"_s.arg(i));
        const QString name = names[i % names.size()];
        const bool shown = whole(chip);
        const bool inMenu =
            std::ranges::any_of(listed, [&](const QString& t) { return t.startsWith(name + u"  "_s); });
        if (shown == inMenu)
            faults << u"player %1 (%2) is %3"_s.arg(i).arg(name).arg(shown ? u"shown twice"_s
                                                                           : u"out of reach"_s);
    }
    if (qgetenv("LANGUAGE") == "fr") {
        auto* tote = child<QTabWidget>(&window, u"tabTote"_s);
        for (int page = 1; page < tote->count(); ++page) {
            tote->setCurrentIndex(page);
            noEnglish(tote->tabText(page).remove(u'&'));
        }
        // The ticket shows in French words; the list keeps its English text for the files.
        const QAbstractItemModel* tickets = child<QAbstractItemView>(&window, u"lstTicket"_s)->model();
        const QString listed = tickets->index(0, 1).data().toString();
        if (!listed.contains(u"Couplé ordre Combiné"_s))
            faults << "the ticket reads " + listed;
        if (english.size() < 500 || _("Start the race") != "Lancer la course")
            faults << "the French catalog is not read";
        if (userGuideIn(STRIDEWELL_SOURCE_DIR "/docs").filename() != "userguide.fr.htm")
            faults << "the guide is not the French one";
        // Qt's own buttons, from the system's Qt catalog where it is installed.
        const QDialogButtonBox buttons(QDialogButtonBox::Cancel);
        const QString cancel = buttons.button(QDialogButtonBox::Cancel)->text().remove(u'&');
        if (QFile::exists(QLibraryInfo::path(QLibraryInfo::TranslationsPath) + u"/qtbase_fr.qm"_s) &&
            cancel != u"Annuler"_s)
            faults << "Qt's Cancel button reads " + cancel;
    }
    // The race call grows with the window, and its longest words wrap within its two lines.
    const QLabel* call = child<QLabel>(&window, u"lblRaceCall"_s);
    QFont bold = call->font();
    bold.setBold(true);
    const QString longest = u"At the three quarters, Thunder Over Dakota by three quarters of a length, "
                            "Maximilian's Dream second, Silver Lining Lady third"_s;
    const int needed = QFontMetrics(bold)
                           .boundingRect(QRect(0, 0, call->width(), 10000), Qt::TextWordWrap, longest)
                           .height();
    if (QFontMetrics(bold).height() * 48 < window.height() || needed > call->height())
        faults
            << u"the call's type is %1 px high in a window %2 px high, its longest words take %3 of %4 px"_s
                   .arg(QFontMetrics(bold).height())
                   .arg(window.height())
                   .arg(needed)
                   .arg(call->height());
    // What was measured, for the report of a row that fails.
    std::cout << "work area " << where(area).toStdString() << ", frame "
              << where(window.frameGeometry()).toStdString() << ", "
              << firstPlaces.join(u", "_s).toStdString() << "\n";
    for (const QString& fault : faults)
        std::cout << fault.toStdString() << "\n";
    return static_cast<int>(faults.size());
}

} // namespace

class WindowFitTest : public QObject {
    Q_OBJECT

private slots:
    void theWindowFitsTheScreenWholeOnEveryPage_data() {
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("style");
        for (const char* style : {"Fusion", "Windows"})
            for (int row = 0; row < int(std::size(Screens)); ++row)
                if ((!*Screens[row].language && Screens[row].players == 1) || style == "Fusion"_L1)
                    QTest::addRow("%s %s %s", Screens[row].name, style, Screens[row].language)
                        << row << QString::fromLatin1(style);
    }
    void theWindowFitsTheScreenWholeOnEveryPage() {
        QFETCH(int, row);
        QFETCH(QString, style);
        const auto& [name, screen, scale, maximized, language, players] = Screens[row];
        QTemporaryDir dir;
        const QString config = dir.filePath(u"screens.json"_s);
        QFile file(config);
        QVERIFY(file.open(QIODevice::WriteOnly));
        const QJsonObject one{
            {u"name"_s, u"main"_s}, {u"width"_s, screen.width()}, {u"height"_s, screen.height()}};
        file.write(QJsonDocument(QJsonObject{{u"screens"_s, QJsonArray{one}}}).toJson());
        file.close();

        QProcess run;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(u"QT_QPA_PLATFORM"_s, u"offscreen:configfile="_s + config);
        env.insert(u"QT_SCALE_FACTOR"_s, QString::fromLatin1(scale));
        if (*language)
            env.insert(u"LANGUAGE"_s, QString::fromLatin1(language));
        run.setProcessEnvironment(env);
        run.setProcessChannelMode(QProcess::MergedChannels);
        run.start(QCoreApplication::applicationFilePath(),
                  {QString::fromLatin1(RunArgument), QString::number(row), u"-style"_s, style});
        QVERIFY(run.waitForFinished(180000));
        const QString said = QString::fromLocal8Bit(run.readAll());
        QVERIFY2(run.exitStatus() == QProcess::NormalExit && run.exitCode() == 0, qPrintable(said));
    }
};

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments();
    // A row's run speaks the language the row gave it, from the catalogs the build made.
    useDesktopLanguage(std::filesystem::path(STRIDEWELL_BINARY_DIR) / "cli");
    ui::useQtCatalog(app);
    if (const qsizetype at = args.indexOf(QLatin1String(RunArgument)); at >= 0)
        return runOnOneScreen(Screens[args.value(at + 1).toInt()]);
    WindowFitTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "WindowFitTest.moc"
