#include "ui/AddPlayerDialog.h"

#include "WindowTestDay.h"

#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

using namespace sw;
using namespace sw::test;

class AddPlayerDialogTest : public QObject {
    Q_OBJECT

private slots:
    void opensWithAddUnusable();
    void typingMakesAddUsableForGood();
    void enterAddsAndTheDialogStaysOpen();
    void addButtonAddsTheNextNumber();
    void refusedNamesKeepTheirTextAndAddNobody();
    void exitCloses();
};

void AddPlayerDialogTest::opensWithAddUnusable() {
    WindowTestDay day;
    ui::AddPlayerDialog dialog(*day.game);
    dialog.show();
    QCOMPARE(dialog.objectName(), QStringLiteral("frmAddPlayer"));
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Add Player"));
    QCOMPARE(child(&dialog, QStringLiteral("Label1"))->text(), QStringLiteral("Enter player's name"));
    QCOMPARE(child<QPushButton>(&dialog, QStringLiteral("cmdAdd"))->text(), QStringLiteral("Add"));
    QCOMPARE(child<QPushButton>(&dialog, QStringLiteral("cmdExit"))->text(), QStringLiteral("Exit"));
    QVERIFY(!child<QPushButton>(&dialog, QStringLiteral("cmdAdd"))->isEnabled());
    saveScreenshot(&dialog, "frmAddPlayer.png");
}

void AddPlayerDialogTest::typingMakesAddUsableForGood() {
    WindowTestDay day;
    ui::AddPlayerDialog dialog(*day.game);
    dialog.show();
    auto* name = child<QLineEdit>(&dialog, QStringLiteral("txtPlayer"));
    auto* add = child<QPushButton>(&dialog, QStringLiteral("cmdAdd"));
    QTest::keyClicks(name, QStringLiteral("A"));
    QVERIFY(add->isEnabled());
    QTest::keyClick(name, Qt::Key_Backspace);
    QVERIFY(name->text().isEmpty());
    QVERIFY(add->isEnabled());
}

void AddPlayerDialogTest::enterAddsAndTheDialogStaysOpen() {
    WindowTestDay day;
    ui::AddPlayerDialog dialog(*day.game);
    QSignalSpy changed(&dialog, &ui::AddPlayerDialog::playersChanged);
    dialog.show();
    auto* name = child<QLineEdit>(&dialog, QStringLiteral("txtPlayer"));

    // Enter on an empty box does nothing, not even a message.
    QTest::keyClick(name, Qt::Key_Return);
    QCOMPARE(changed.count(), 0);
    QVERIFY(day.prompter.shown().empty());

    QTest::keyClicks(name, QStringLiteral("Ann"));
    QTest::keyClick(name, Qt::Key_Return);
    QCOMPARE(changed.count(), 1);
    QVERIFY(dialog.isVisible());
    QVERIFY(name->text().isEmpty());
    QTest::keyClicks(name, QStringLiteral("Bo"));
    QTest::keyClick(name, Qt::Key_Enter);
    QCOMPARE(changed.count(), 2);
    QVERIFY(dialog.isVisible());

    const PlayerList& players = day.day().players;
    QCOMPARE(players.entries.size(), std::size_t{2});
    QCOMPARE(players.entries[0].name, std::string("Ann"));
    QCOMPARE(players.entries[1].name, std::string("Bo"));
    QCOMPARE(players.selected, 1);
    QCOMPARE(readLines(day.file("players.dat")).size(), std::size_t{2});
}

void AddPlayerDialogTest::addButtonAddsTheNextNumber() {
    WindowTestDay day;
    writeAll(day.file("players.dat"), "7,Cy,400\r\n");
    ui::AddPlayerDialog dialog(*day.game);
    dialog.show();
    QTest::keyClicks(child<QLineEdit>(&dialog, QStringLiteral("txtPlayer")), QStringLiteral("Dee"));
    QTest::mouseClick(child<QPushButton>(&dialog, QStringLiteral("cmdAdd")), Qt::LeftButton);
    const std::vector<std::string> lines = readLines(day.file("players.dat"));
    QCOMPARE(lines.size(), std::size_t{2});
    QVERIFY(QString::fromStdString(lines[1]).startsWith(QStringLiteral("8,Dee,")));
}

void AddPlayerDialogTest::refusedNamesKeepTheirTextAndAddNobody() {
    WindowTestDay day;
    ui::AddPlayerDialog dialog(*day.game);
    QSignalSpy changed(&dialog, &ui::AddPlayerDialog::playersChanged);
    dialog.show();
    auto* name = child<QLineEdit>(&dialog, QStringLiteral("txtPlayer"));
    auto* add = child<QPushButton>(&dialog, QStringLiteral("cmdAdd"));

    QTest::keyClicks(name, QStringLiteral("Smith, Jo"));
    add->click();
    QCOMPARE(changed.count(), 0);
    QCOMPARE(name->text(), QStringLiteral("Smith, Jo"));
    QVERIFY(day.day().players.entries.empty());
    QCOMPARE(day.prompter.shown().size(), std::size_t{1});

    // Add stays usable after the box is emptied; pressing it then is refused by the game.
    name->clear();
    add->click();
    QCOMPARE(changed.count(), 0);
    QVERIFY(day.day().players.entries.empty());
    QCOMPARE(day.prompter.shown().size(), std::size_t{2});
}

void AddPlayerDialogTest::exitCloses() {
    WindowTestDay day;
    ui::AddPlayerDialog dialog(*day.game);
    dialog.show();
    QTest::mouseClick(child<QPushButton>(&dialog, QStringLiteral("cmdExit")), Qt::LeftButton);
    QVERIFY(!dialog.isVisible());
}

QTEST_MAIN(AddPlayerDialogTest)
#include "AddPlayerDialogTest.moc"
