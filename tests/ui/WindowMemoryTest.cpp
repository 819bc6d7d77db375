#include "ui/WindowMemory.h"

#include <QScreen>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

#include <memory>

using namespace sw;

namespace {

QSettings gameSettings() {
    return QSettings(QStringLiteral("Stridewell"), QStringLiteral("Stridewell"));
}

// A window of the game as it is built: named, at its design size, not yet shown.
std::unique_ptr<QWidget> window(const char* name, QSize size = QSize(640, 400)) {
    auto w = std::make_unique<QWidget>();
    w->setObjectName(QString::fromLatin1(name));
    w->resize(size);
    return w;
}

} // namespace

class WindowMemoryTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void remembersSizeAndPlaceForTheNextRun();
    void firstRunKeepsTheWindowsOwnSize();
    void eachWindowKeepsItsOwnPlace();
    void unreadableSavedPlaceIsIgnored();
    void placeOffEveryScreenComesBackOnScreen();

private:
    QTemporaryDir m_config;
};

void WindowMemoryTest::initTestCase() {
    // Never the player's own settings: everything this test saves lands in a scratch folder.
    QVERIFY(m_config.isValid());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_config.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_config.path());
}

void WindowMemoryTest::init() {
    gameSettings().clear();
}

void WindowMemoryTest::remembersSizeAndPlaceForTheNextRun() {
    auto first = window("frmHorses");
    first->setGeometry(60, 70, 520, 330);
    first->show();
    QVERIFY(QTest::qWaitForWindowExposed(first.get()));
    const QSize leftSize = first->size();
    const QPoint leftAt = first->pos(); // the frame's corner, as the desktop places it
    ui::saveGeometry(first.get());
    first.reset();

    auto next = window("frmHorses");
    ui::restoreGeometry(next.get());
    next->show();
    QVERIFY(QTest::qWaitForWindowExposed(next.get()));
    QCOMPARE(next->size(), leftSize);
    QCOMPARE(next->pos(), leftAt);
    QVERIFY(QFile::exists(gameSettings().fileName()));
    QVERIFY(gameSettings().fileName().startsWith(m_config.path()));
}

void WindowMemoryTest::firstRunKeepsTheWindowsOwnSize() {
    auto w = window("frmHorses", QSize(700, 450));
    ui::restoreGeometry(w.get());
    QCOMPARE(w->size(), QSize(700, 450));
}

void WindowMemoryTest::eachWindowKeepsItsOwnPlace() {
    auto main = window("frmHorses", QSize(600, 420));
    auto program = window("frmPastPerf", QSize(360, 280));
    ui::saveGeometry(main.get());
    ui::saveGeometry(program.get());

    auto mainAgain = window("frmHorses", QSize(100, 100));
    auto programAgain = window("frmPastPerf", QSize(100, 100));
    auto unsaved = window("frmResults", QSize(100, 100));
    ui::restoreGeometry(mainAgain.get());
    ui::restoreGeometry(programAgain.get());
    ui::restoreGeometry(unsaved.get());
    QCOMPARE(mainAgain->size(), QSize(600, 420));
    QCOMPARE(programAgain->size(), QSize(360, 280));
    QCOMPARE(unsaved->size(), QSize(100, 100));
}

void WindowMemoryTest::unreadableSavedPlaceIsIgnored() {
    {
        QSettings settings = gameSettings();
        settings.setValue(QStringLiteral("geometry/frmHorses"), QStringLiteral("800x600 at the top"));
        settings.setValue(QStringLiteral("geometry/frmPastPerf"), QByteArray("\x01\xd9\xd0\xcb junk", 10));
    }
    auto main = window("frmHorses", QSize(640, 400));
    auto program = window("frmPastPerf", QSize(320, 200));
    ui::restoreGeometry(main.get());
    ui::restoreGeometry(program.get());
    QCOMPARE(main->size(), QSize(640, 400));
    QCOMPARE(program->size(), QSize(320, 200));

    // No window at all is no place to save or restore.
    ui::restoreGeometry(nullptr);
    ui::saveGeometry(nullptr);
    QCOMPARE(gameSettings().allKeys().size(), 2);
}

void WindowMemoryTest::placeOffEveryScreenComesBackOnScreen() {
    // The window was last left on a screen that is gone.
    auto first = window("frmHorses", QSize(300, 200));
    first->show();
    QVERIFY(QTest::qWaitForWindowExposed(first.get()));
    const QRect screen = first->screen()->availableGeometry();
    first->move(screen.right() + 4000, screen.bottom() + 3000);
    ui::saveGeometry(first.get());
    first.reset();

    auto next = window("frmHorses");
    ui::restoreGeometry(next.get());
    QVERIFY2(screen.intersects(next->geometry()), "the window came back where the player cannot reach it");
}

QTEST_MAIN(WindowMemoryTest)
#include "WindowMemoryTest.moc"
