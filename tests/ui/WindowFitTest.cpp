// The main window fits the screen it is shown on, whole: under each desktop style, at each screen
// size and scale, its frame lies inside the work area, every area gets the room it asks for,
// nothing scrolls, and the bet pages share one size, so neither the track nor a panel moves as
// the pages change.
//
// A screen's size and scale are fixed when the application starts, so each row runs this program
// again, offscreen on that screen, and reads what the run found.

#include "ui/MainWindow.h"

#include "WindowTestDay.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QScreen>
#include <QScrollBar>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <iostream>

using namespace sw;
using namespace sw::test;

namespace {

constexpr const char* RunArgument = "--one-screen";
constexpr const char* MaximizedArgument = "--maximized";

QString where(const QRect& r) {
    return u"%1,%2 %3x%4"_s.arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
}

// One screen: the window on a seeded day, walked through the bet pages as a player builds a ticket.
// Prints a line for each fault and returns their number.
int runOnOneScreen(bool maximized) {
    QStandardPaths::setTestModeEnabled(true);
    WindowTestDay day(20240517, false);
    ui::MainWindow window(day.game);
    if (maximized)
        window.showMaximized();
    else
        window.show();
    QStringList faults;
    if (!startBetting(day.game, 60000))
        return std::cout << "betting never opened\n", 1;
    day.game.addPlayer("Ann");
    window.refresh();

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
        if (!area.contains(window.frameGeometry()))
            faults << page + ": the frame " + where(window.frameGeometry()) + " leaves the work area " +
                          where(area);
        const QSize least = window.minimumSizeHint();
        if (window.width() < least.width() || window.height() < least.height())
            faults << page + u": the window is %1x%2, its areas need %3x%4"_s.arg(window.width())
                                 .arg(window.height())
                                 .arg(least.width())
                                 .arg(least.height());
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
            if (!w) {
                places << QLatin1String(name) + u" missing"_s;
                continue;
            }
            places << QLatin1String(name) + u' ' + where(QRect(w->mapTo(&window, QPoint()), w->size()));
        }
        if (firstPlaces.isEmpty())
            firstPlaces = places;
        for (qsizetype i = 0; i < places.size(); ++i)
            if (places[i] != firstPlaces[i])
                faults << page + ": " + places[i] + ", was " + firstPlaces[i];
    }
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
        QTest::addColumn<QSize>("screen");
        QTest::addColumn<QString>("scale");
        QTest::addColumn<QString>("style");
        QTest::addColumn<bool>("maximized");
        for (const char* style : {"Fusion", "Windows"}) {
            QTest::addRow("1920x1080 %s", style) << QSize(1920, 1080) << u"1"_s << style << false;
            QTest::addRow("1920x1080 maximized %s", style) << QSize(1920, 1080) << u"1"_s << style << true;
            QTest::addRow("1366x768 %s", style) << QSize(1366, 768) << u"1"_s << style << false;
            // A laptop's 1920 by 1080 at 150 %: a work area of 1280 by 720.
            QTest::addRow("1920x1080 at 150%% %s", style) << QSize(1920, 1080) << u"1.5"_s << style << false;
        }
    }
    void theWindowFitsTheScreenWholeOnEveryPage() {
        QFETCH(QSize, screen);
        QFETCH(QString, scale);
        QFETCH(QString, style);
        QFETCH(bool, maximized);
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
        env.insert(u"QT_SCALE_FACTOR"_s, scale);
        run.setProcessEnvironment(env);
        run.setProcessChannelMode(QProcess::MergedChannels);
        QStringList args{QString::fromLatin1(RunArgument), u"-style"_s, style};
        if (maximized)
            args << QString::fromLatin1(MaximizedArgument);
        run.start(QCoreApplication::applicationFilePath(), args);
        QVERIFY(run.waitForFinished(180000));
        const QString said = QString::fromLocal8Bit(run.readAll());
        QVERIFY2(run.exitStatus() == QProcess::NormalExit && run.exitCode() == 0, qPrintable(said));
    }
};

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments();
    if (args.contains(QLatin1String(RunArgument)))
        return runOnOneScreen(args.contains(QLatin1String(MaximizedArgument)));
    WindowFitTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "WindowFitTest.moc"
