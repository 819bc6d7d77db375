// How the game looks on the player's desktop: a dark or light theme and panels that read on either,
// any font size and style, a wide screen.

#include "ui/BalanceChart.h"
#include "ui/Palette.h"
#include "ui/PastPerfWindow.h"
#include "ui/ResultsWindow.h"
#include "ui/ScreenFit.h"
#include "ui/TopTenWindow.h"

#include "WindowTestDay.h"

#include "players/Players.h"

#include <QHeaderView>
#include <QPalette>
#include <QScrollBar>
#include <QStyle>
#include <QStyleFactory>
#include <QTableWidget>

#include <tuple>

using namespace sw;
using namespace sw::test;

namespace {

QPalette withWindow(const QColor& window, const QColor& text) {
    QPalette palette;
    palette.setColor(QPalette::Window, window);
    palette.setColor(QPalette::WindowText, text);
    return palette;
}

int advance(const QFont& font, const QString& text) {
    return QFontMetrics(font).horizontalAdvance(text);
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
            const QString text = at.data().toString();
            if (advance(font.isValid() ? font.value<QFont>() : view->font(), text) > section)
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
    if (advance(label->font(), label->text()) > shown)
        return u"%1 cuts \"%2\" (%3 pixels shown)"_s.arg(label->objectName(), label->text()).arg(shown);
    return {};
}

} // namespace

class LookTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        m_defaultStyle = QApplication::style()->name();
        for (WindowTestDay* day : {&m_results, &m_topTen, &m_program}) {
            addPlayer(day->day(), "Ann");
            addPlayer(day->day(), "Bartholomew Quince");
        }
        // The third race's results (the Daily Double closes), a whole day, a program a few races in.
        m_results.playRaces(2);
        m_results.runRace();
        m_results.game.runResultsToEnd();
        m_topTen.playRaces(RacesPerDay);
        m_program.playRaces(3);
    }

    void darkThemesAreToldApartByTheWindowColour() {
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
        // The photo sign's red reads on the desktop's own windows, light and dark.
        for (const auto& [window, text, dark] : {windows[2], windows[3]})
            QVERIFY(ui::contrastRatio(ui::signColour(withWindow(window, text)), window) >= 4.5);
    }

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
        for (const char* name : {"lblHorseName0", "lblGrade0", "lblStarts0", "lblFirsts0", "lblSeconds0",
                                 "lblThirds0", "lblFourths0", "lblEarnings0"})
            cuts << cutIn(child(&program, QLatin1String(name)));
        cuts.removeAll(QString());
        QVERIFY2(cuts.isEmpty(), qPrintable(cuts.join(u"; "_s)));
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

    void theRacecoursePanelsTextReadsOnEveryGroundItIsDrawnOn() {
        QCOMPARE(qRound(ui::contrastRatio(Qt::white, Qt::black)), 21);
        const ui::Racecourse& c = ui::racecourse();
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
                                                   {ui::boardSignColour(), ui::boardPanelColour()}};
        for (const auto& [text, ground] : drawn)
            QVERIFY2(ui::contrastRatio(text, ground) >= 4.5,
                     qPrintable(text.name() + " on " + ground.name()));
    }

private:
    QString m_defaultStyle;
    WindowTestDay m_results;
    WindowTestDay m_topTen;
    WindowTestDay m_program;
};

QTEST_MAIN(LookTest)
#include "LookTest.moc"
