// The strategy lab's window: it shows the core's figures for the setup on its controls, plays
// without holding the window up, and stops when cancelled or closed.

#include "ui/LabWindow.h"
#include "ui/LabBankrollChart.h"
#include "ui/LabHistogram.h"

#include "WindowTestDay.h"

#include <QComboBox>
#include <QPointer>
#include <QProgressBar>

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

class LabWindowTest : public QObject {
    Q_OBJECT

    WindowTestDay m_day{20240611, false};

private slots:
    void showsTheCoresFiguresForTheSetupChosen() {
        ui::LabWindow window(m_day.game);
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
        setup.stable = labStableOf(m_day.day().folder);
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
        QPointer<ui::LabWindow> window = new ui::LabWindow(m_day.game);
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

QTEST_MAIN(LabWindowTest)
#include "LabWindowTest.moc"
