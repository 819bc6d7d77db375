// The main window on a laptop screen at 200 % scaling, and laid out at the smallest size it
// supports. Runs with its own scale and screen, so it has its own main.

#include "WindowTestDay.h"
#include "ui/MainWindow.h"
#include "ui/WindowMemory.h"

#include <QApplication>
#include <QScreen>
#include <QScrollArea>
#include <QSettings>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

using namespace sw;

namespace {

// The work area of a 1920x1080 screen at 200 %: 960x540 logical pixels.
const char* const ScreenConfig = R"({"screens": [{"name": "laptop", "x": 0, "y": 0,
    "width": 1920, "height": 1080, "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})";

// Where the player can see the window's controls without scrolling.
QRect visibleArea(QMainWindow& window) {
    QWidget* area = window.centralWidget();
    if (auto* scroll = qobject_cast<QScrollArea*>(area))
        area = scroll->viewport();
    return {area->mapTo(&window, QPoint(0, 0)), area->size()};
}

// Named controls that show on the current pages of the window but lie outside what can be seen.
QStringList controlsCutOff(QMainWindow& window) {
    QStringList cut;
    const QRect visible = visibleArea(window);
    for (QWidget* w : window.centralWidget()->findChildren<QWidget*>()) {
        if (w->objectName().isEmpty() || w->objectName().startsWith(QLatin1String("qt_")) ||
            !w->isVisibleTo(&window))
            continue;
        if (!visible.contains(QRect(w->mapTo(&window, QPoint(0, 0)), w->size())))
            cut << w->objectName();
    }
    return cut;
}

} // namespace

class WindowFitTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void opensInsideTheWorkAreaAtDoubleScale();
    void aPlaceSavedAtASmallerScaleIsNotRestored();
    void everyControlShowsAtTheSmallestSize();

private:
    QTemporaryDir m_config;
};

void WindowFitTest::initTestCase() {
    QCOMPARE(qApp->devicePixelRatio(), 2.0);
    QVERIFY(m_config.isValid());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_config.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_config.path());
}

void WindowFitTest::opensInsideTheWorkAreaAtDoubleScale() {
    test::WindowTestDay day;
    ui::MainWindow window(*day.game);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const QRect area = window.screen()->availableGeometry();
    QVERIFY2(area.contains(window.frameGeometry()),
             qPrintable(QStringLiteral("frame %1x%2 at %3,%4 on a work area of %5x%6")
                            .arg(window.frameGeometry().width())
                            .arg(window.frameGeometry().height())
                            .arg(window.frameGeometry().x())
                            .arg(window.frameGeometry().y())
                            .arg(area.width())
                            .arg(area.height())));
}

void WindowFitTest::aPlaceSavedAtASmallerScaleIsNotRestored() {
    test::WindowTestDay day;
    {
        // Left at 1366x740 on a screen that had room for it.
        QWidget before;
        before.setObjectName(QStringLiteral("frmHorses"));
        before.setGeometry(20, 20, 1366, 740);
        ui::saveGeometry(&before);
    }
    ui::MainWindow window(*day.game);
    ui::restoreGeometry(&window);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QVERIFY(window.screen()->availableGeometry().contains(window.frameGeometry()));
}

void WindowFitTest::everyControlShowsAtTheSmallestSize() {
    test::WindowTestDay day;
    ui::MainWindow window(*day.game);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.resize(1024, 600);
    QTRY_COMPARE(window.size(), QSize(1024, 600));
    // Every page of every tabbed panel in turn.
    const QList<QTabWidget*> panels = window.findChildren<QTabWidget*>();
    QVERIFY(!panels.isEmpty());
    for (QTabWidget* panel : panels) {
        for (int page = 0; page < panel->count(); ++page) {
            panel->setCurrentIndex(page);
            QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
            const QStringList cut = controlsCutOff(window);
            QVERIFY2(cut.isEmpty(), qPrintable(panel->objectName() + QLatin1Char(' ') + panel->tabText(page) +
                                               QStringLiteral(": ") + cut.join(QLatin1Char(' '))));
        }
    }
}

int main(int argc, char** argv) {
    QTemporaryDir screens;
    const QString config = screens.filePath(QStringLiteral("screens.json"));
    QFile file(config);
    if (!file.open(QIODevice::WriteOnly) || file.write(ScreenConfig) < 0)
        return 1;
    file.close();
    qputenv("QT_QPA_PLATFORM", QByteArray("offscreen:configfile=") + config.toLocal8Bit());
    qputenv("QT_SCALE_FACTOR", "2");
    QApplication app(argc, argv);
    WindowFitTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "WindowFitTest.moc"
