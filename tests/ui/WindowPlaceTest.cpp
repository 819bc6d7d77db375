// Where the windows open: each where it was left, and always on the screen, here a laptop's at
// 200 % scaling. Runs with its own scale and screen, so it has its own main.

#include "WindowTestDay.h"
#include "ui/MainWindow.h"
#include "ui/WindowMemory.h"

#include <QScreen>
#include <QSettings>
#include <QTemporaryDir>

using namespace sw;

namespace {

// The work area of a 1920x1080 screen at 200 %: 960x540 logical pixels.
const char* const ScreenConfig = R"({"screens": [{"name": "laptop", "x": 0, "y": 0,
    "width": 1920, "height": 1080, "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})";

QSettings gameSettings() {
    return QSettings(QStringLiteral("Stridewell"), QStringLiteral("Stridewell"));
}

// A window of the game as it is built: named, at its design size, not yet shown.
std::unique_ptr<QWidget> window(const char* name, QSize size = QSize(400, 300)) {
    auto w = std::make_unique<QWidget>();
    w->setObjectName(QString::fromLatin1(name));
    w->resize(size);
    return w;
}

QRect workArea() {
    return QGuiApplication::primaryScreen()->availableGeometry();
}

} // namespace

class WindowPlaceTest : public QObject {
    Q_OBJECT

private slots:

    void initTestCase() {
        QCOMPARE(qApp->devicePixelRatio(), 2.0);
        // Never the player's own settings: everything this test saves lands in a scratch folder.
        QVERIFY(m_config.isValid());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_config.path());
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_config.path());
    }
    void init() { gameSettings().clear(); }

    void eachWindowKeepsItsOwnPlaceForTheNextRunAndNoUnreadableOne() {
        auto first = window("frmHorses");
        first->setGeometry(60, 70, 520, 330);
        first->show();
        QVERIFY(QTest::qWaitForWindowExposed(first.get()));
        const QRect left(first->pos(), first->size()); // the frame's corner, as the desktop places it
        ui::saveGeometry(first.get());
        first.reset();
        ui::saveGeometry(window("frmPastPerf", QSize(360, 280)).get());
        {
            QSettings settings = gameSettings();
            settings.setValue(QStringLiteral("geometry/frmResults"), QStringLiteral("800x600 at the top"));
            settings.setValue(QStringLiteral("geometry/frmTop10"), QByteArray("\x01\xd9\xd0\xcb junk", 10));
        }
        auto next = window("frmHorses");
        ui::restoreGeometry(next.get());
        next->show();
        QVERIFY(QTest::qWaitForWindowExposed(next.get()));
        QCOMPARE(QRect(next->pos(), next->size()), left);
        // One saved, one never saved and two whose saved place was spoilt by hand.
        for (const auto& [name, size] :
             {std::pair{"frmPastPerf", QSize(360, 280)}, std::pair{"frmSettings", QSize(100, 100)},
              std::pair{"frmResults", QSize(100, 100)}, std::pair{"frmTop10", QSize(100, 100)}}) {
            auto w = window(name, QSize(100, 100));
            ui::restoreGeometry(w.get());
            QCOMPARE(w->size(), size);
        }
        // No window at all is no place to save or restore; what is saved lands in the scratch folder.
        ui::restoreGeometry(nullptr);
        ui::saveGeometry(nullptr);
        QCOMPARE(gameSettings().allKeys().size(), 4);
        QVERIFY(gameSettings().fileName().startsWith(m_config.path()));
    }

    void aPlaceThatWouldNotFitTheScreenIsNotRestored_data() {
        QTest::addColumn<QRect>("saved");
        // Left at its full size on a screen that had room for it, or on a screen that is gone.
        QTest::newRow("larger than the screen") << QRect(20, 20, 1366, 740);
        QTest::newRow("off every screen")
            << QRect(workArea().right() + 4000, workArea().bottom() + 3000, 300, 200);
    }

    void aPlaceThatWouldNotFitTheScreenIsNotRestored() {
        QFETCH(QRect, saved);
        auto before = window("frmHorses");
        before->setGeometry(saved);
        ui::saveGeometry(before.get());

        auto next = window("frmHorses");
        next->move(100, 100);
        ui::restoreGeometry(next.get());
        next->show();
        QVERIFY(QTest::qWaitForWindowExposed(next.get()));
        QVERIFY(workArea().contains(next->geometry()));
    }

    void theMainWindowOpensInsideTheWorkArea() {
        test::WindowTestDay day;
        ui::MainWindow window(*day.game);
        ui::restoreGeometry(&window);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QVERIFY(workArea().contains(window.frameGeometry()));
    }

    void everyControlShowsAtTheSmallestSize() {
        test::WindowTestDay day;
        ui::MainWindow window(*day.game);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.resize(1024, 600);
        QTRY_COMPARE(window.size(), QSize(1024, 600));
        QWidget* area = qobject_cast<QScrollArea*>(window.centralWidget())->viewport();
        // Every page of every tabbed panel in turn: no named control showing on it lies outside.
        const QList<QTabWidget*> panels = window.findChildren<QTabWidget*>();
        QVERIFY(!panels.isEmpty());
        for (QTabWidget* panel : panels) {
            for (int page = 0; page < panel->count(); ++page) {
                panel->setCurrentIndex(page);
                QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
                // Where the player sees the controls without scrolling.
                const QRect visible(area->mapTo(&window, QPoint(0, 0)), area->size());
                QStringList cut;
                for (QWidget* w : window.centralWidget()->findChildren<QWidget*>())
                    if (!w->objectName().isEmpty() && !w->objectName().startsWith(QLatin1String("qt_")) &&
                        w->isVisibleTo(&window) &&
                        !visible.contains(QRect(w->mapTo(&window, QPoint(0, 0)), w->size())))
                        cut << w->objectName();
                QVERIFY2(cut.isEmpty(),
                         qPrintable(panel->tabText(page) + QStringLiteral(": ") + cut.join(u' ')));
            }
        }
    }

private:
    QTemporaryDir m_config;
};

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
    WindowPlaceTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "WindowPlaceTest.moc"
