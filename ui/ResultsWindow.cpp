#include "ResultsWindow.h"

#include "ActionState.h"
#include "BalanceChart.h"
#include "ColumnHeading.h"
#include "ContentFit.h"
#include "ExplanationDialog.h"
#include "FixedFont.h"
#include "Palette.h"
#include "PostBadge.h"
#include "ScreenFit.h"
#include "ToQString.h"

#include "core/Constants.h"
#include "core/ShownMoney.h"
#include "game/Game.h"
#include "ui/track/PhotoStillWidget.h"

#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace sw::ui {

namespace {

// The widest line the winners' list is made for before it is filled: a seven-figure credit.
const QString WidestWinnerLine = QStringLiteral("$1,234,567.00 -Pk6- MMMMMMMMMMMMMMM");
// The widest ledger line before the race's lines are known: the pools' lines with big figures.
constexpr int LedgerLineChars = 76;
// Lines the winners' list shows before it scrolls; a day rarely pays more at once.
constexpr int MostWinnerLines = 12;

const QString ChartHeading = QStringLiteral(
    "            Name                PP   \u00BC    \u00BD   L     \u00BE    L      Fin  L       Time    Odds"
    "        Comment");

struct ChartColumn {
    const char* name;
    int minChars;
    bool leftAligned;
};
// The chart's columns in row order, as the heading names them.
const std::array<ChartColumn, 12> ChartColumns = {{
    {"lblHorseName", 18, true},
    {"lblPost", 3, false},
    {"lblBreak", 3, false},
    {"lblEigth", 3, false},
    {"lblEiLen", 4, false},
    {"lblStrech", 3, false},
    {"lblStLen", 4, false},
    {"lblFin", 3, false},
    {"lblFinLen", 4, false},
    {"lblTime", 8, false},
    {"lblOdds", 7, false},
    {"lblComment", 15, true},
}};

void setTextColour(QWidget* widget, const QColor& colour) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, colour);
    widget->setPalette(palette);
}

QLabel* boldLabel(const QString& text, QWidget* parent, double scale = 1.0) {
    auto* label = new QLabel(text, parent);
    QFont font = label->font();
    font.setBold(true);
    if (scale != 1.0)
        font.setPointSizeF(font.pointSizeF() * scale);
    label->setFont(font);
    return label;
}

void keepPlaceWhenHidden(QWidget* widget) {
    QSizePolicy policy = widget->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    widget->setSizePolicy(policy);
}

QListWidget* fixedList(const QString& name, QWidget* parent) {
    auto* list = new QListWidget(parent);
    list->setObjectName(name);
    list->setFont(fixedFont());
    list->setSelectionMode(QAbstractItemView::NoSelection);
    return list;
}

} // namespace

ResultsWindow::ResultsWindow(Game& game, QWidget* parent) : QDialog(parent), m_game(game) {
    setObjectName(QStringLiteral("frmResults"));
    setWindowTitle(QStringLiteral("Results"));
    setWindowModality(Qt::WindowModal);
    setSizeGripEnabled(true);

    const int race = m_game.day().currentRace + 1;
    m_lblRaceNum = boldLabel(QStringLiteral("Race ") + QString::number(race), this, 1.8);
    m_lblRaceNum->setObjectName(QStringLiteral("lblRaceNum"));
    auto* timeCaption = new QLabel(QStringLiteral("Time of Race"), this);
    m_lblTimeOfRace = boldLabel(QString(), this, 1.8);
    m_lblTimeOfRace->setObjectName(QStringLiteral("lblTimeOfRace"));
    m_lblTimeOfRace->setMinimumWidth(
        m_lblTimeOfRace->fontMetrics().horizontalAdvance(QStringLiteral("0:00.00")));

    auto* top = new QHBoxLayout;
    top->addWidget(m_lblRaceNum);
    top->addStretch(1);
    top->addWidget(timeCaption);
    top->addWidget(m_lblTimeOfRace);

    auto* middle = new QHBoxLayout;
    middle->addWidget(buildPayoffs());
    middle->addWidget(buildWinners());
    m_picBalances = new BalanceChart(this);
    middle->addWidget(m_picBalances, 1);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(buildChart(), 1);
    bottom->addWidget(buildLedger());

    m_cmdShow = new QPushButton(QStringLiteral("Show Results"), this);
    m_cmdShow->setObjectName(QStringLiteral("cmdShow"));
    m_cmdShow->setAutoDefault(false);
    m_cmdOK = new QPushButton(QStringLiteral("OK"), this);
    m_cmdOK->setObjectName(QStringLiteral("cmdOK"));
    showAvailability(m_cmdOK, m_game.availability(Action::ConfirmResults));
    m_cmdOK->setAutoDefault(false);
    m_lblSaveProblems = new QLabel(this);
    m_lblSaveProblems->setObjectName(QStringLiteral("lblSaveProblems"));
    m_lblSaveProblems->setWordWrap(true);
    setTextColour(m_lblSaveProblems, signColour(palette()));
    m_lblSaveProblems->hide();
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_lblSaveProblems, 1);
    buttons->addStretch(1);
    buttons->addWidget(m_cmdShow);
    buttons->addWidget(m_cmdOK);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(buildCollects());
    layout->addLayout(middle);
    layout->addLayout(bottom, 1);
    layout->addLayout(buttons);

    m_timerShow = new QTimer(this);
    m_timerShow->setObjectName(QStringLiteral("timerShow"));
    m_timerShow->setSingleShot(true);
    const ResultsShow* show = m_game.resultsShow();
    m_timerShow->setInterval(show ? show->openingDelayMs() : ShowDelayMs);
    // Every pause of the show: between places, under "PHOTO", between the bets' payoffs.
    m_timerReveal = new QTimer(this);
    m_timerReveal->setObjectName(QStringLiteral("timerReveal"));
    m_timerReveal->setSingleShot(true);

    connect(m_timerShow, &QTimer::timeout, this, &ResultsWindow::startShow);
    connect(m_timerReveal, &QTimer::timeout, this, &ResultsWindow::runShow);
    connect(m_cmdShow, &QPushButton::clicked, this, &ResultsWindow::startShow);
    connect(m_cmdOK, &QPushButton::clicked, this, &ResultsWindow::confirm);
    m_timerShow->start();

    fitToScreen(this, sizeHint());
}

QWidget* ResultsWindow::buildCollects() {
    // The tote board's panel: the sign while the order is studied, then who collects what.
    auto* panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("frCollects"));
    panel->setStyleSheet(QStringLiteral("QFrame#frCollects { background-color: %1; border: 2px solid %2;"
                                        " border-radius: 4px; }")
                             .arg(boardPanelColour().name(), boardEdgeColour().name()));
    auto* layout = new QVBoxLayout(panel);
    m_lblPhoto = boldLabel(toQString(WaitingForOfficialText), panel, 1.6);
    m_lblPhoto->setObjectName(QStringLiteral("lblPhoto"));
    m_lblPhoto->setAlignment(Qt::AlignCenter);
    setTextColour(m_lblPhoto, boardHeadingColour());
    layout->addWidget(m_lblPhoto);
    m_picPhotoStill = new PhotoStillWidget(panel);
    m_picPhotoStill->hide();
    layout->addWidget(m_picPhotoStill, 0, Qt::AlignHCenter);
    // Room for one line from the start, so the window does not jump when the money is posted.
    auto* first = boldLabel(QString(), panel, 2.2);
    first->setObjectName(QStringLiteral("lblCollects0"));
    first->setAlignment(Qt::AlignCenter);
    first->setMinimumHeight(first->fontMetrics().height());
    m_lblCollects.push_back(first);
    layout->addWidget(first);
    m_frCollects = panel;
    return panel;
}

QLabel* ResultsWindow::payoffLabel(const QString& name, QWidget* parent, bool money) {
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    if (money) {
        // Money in big type, the figure a player looks for first.
        QFont big = fixedFont();
        big.setPointSizeF(big.pointSizeF() * 1.3);
        big.setBold(true);
        label->setFont(big);
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        label->setMinimumWidth(QFontMetrics(big).horizontalAdvance(QStringLiteral("0000000.00")));
    } else {
        label->setAlignment(Qt::AlignCenter);
        label->setMinimumWidth(label->fontMetrics().horizontalAdvance(QStringLiteral("00")) + 12);
    }
    m_payoffLabels.insert(name, label);
    if (money) {
        label->setFocusPolicy(Qt::StrongFocus);
        label->setCursor(Qt::PointingHandCursor);
        label->setToolTip(QStringLiteral("Click, or press Enter, to see how this payoff was worked out"));
        label->installEventFilter(this);
    }
    return label;
}

QWidget* ResultsWindow::buildPayoffs() {
    auto* box = new QGroupBox(QStringLiteral("$2 Payoffs"), this);
    auto* grid = new QGridLayout(box);
    grid->setHorizontalSpacing(10);

    // Win, place and show beside the first three across the board; the fourth finisher for the
    // superfecta players.
    grid->addWidget(boldLabel(QStringLiteral("Win"), box), 0, 7, Qt::AlignRight);
    grid->addWidget(boldLabel(QStringLiteral("Place"), box), 0, 8, Qt::AlignRight);
    grid->addWidget(boldLabel(QStringLiteral("Show"), box), 0, 9, Qt::AlignRight);
    static const std::array<const char*, 4> placeNames = {"1st", "2nd", "3rd", "4th"};
    for (int k = 0; k < 4; ++k) {
        grid->addWidget(new QLabel(QString::fromLatin1(placeNames[static_cast<std::size_t>(k)]), box), k + 1,
                        0);
        auto* finish = new QLabel(box);
        finish->setObjectName(QStringLiteral("lblFinish") + QString::number(k));
        finish->setMinimumWidth(finish->fontMetrics().horizontalAdvance(QStringLiteral("00")) + 12);
        finish->setAlignment(Qt::AlignCenter);
        m_lblFinish[static_cast<std::size_t>(k)] = finish;
        grid->addWidget(finish, k + 1, 1);
    }
    grid->addWidget(payoffLabel(QStringLiteral("lblWin1Payoff"), box, true), 1, 7);
    grid->addWidget(payoffLabel(QStringLiteral("lblPlace1Payoff"), box, true), 1, 8);
    grid->addWidget(payoffLabel(QStringLiteral("lblShow1Payoff"), box, true), 1, 9);
    grid->addWidget(payoffLabel(QStringLiteral("lblPlace2Payoff"), box, true), 2, 8);
    grid->addWidget(payoffLabel(QStringLiteral("lblShow2Payoff"), box, true), 2, 9);
    grid->addWidget(payoffLabel(QStringLiteral("lblShow3Payoff"), box, true), 3, 9);

    // A gap after the four places, then the exotic bets under "$1" and "$2".
    const int gapRow = 5;
    const int exoticHeadingRow = 6;
    grid->setRowMinimumHeight(gapRow, 10);
    grid->addWidget(boldLabel(QStringLiteral("$1"), box), exoticHeadingRow, 8, Qt::AlignRight);
    grid->addWidget(boldLabel(QStringLiteral("$2"), box), exoticHeadingRow, 9, Qt::AlignRight);
    struct Exotic {
        const char* caption;
        const char* horses;
        int count;
        const char* oneDollar;
        const char* twoDollars;
    };
    static const std::array<Exotic, 4> exotics = {{
        {"Quiniela", "lblQHorse", 2, nullptr, "lblQuinielaPayoff"},
        {"Exacta", "lblEHorse", 2, nullptr, "lblExactaPayoff"},
        {"Trifecta", "lblTHorse", 3, "lblTrifectaPayoff1", "lblTrifectaPayoff2"},
        {"Superfecta", "lblSHorse", 4, "lblSuperfectaPayoff1", "lblSuperfectaPayoff2"},
    }};
    int row = exoticHeadingRow + 1;
    for (const Exotic& bet : exotics) {
        grid->addWidget(new QLabel(QString::fromLatin1(bet.caption), box), row, 0);
        for (int i = 0; i < bet.count; ++i)
            grid->addWidget(payoffLabel(QString::fromLatin1(bet.horses) + QString::number(i), box, false),
                            row, 1 + i);
        if (bet.oneDollar)
            grid->addWidget(payoffLabel(QString::fromLatin1(bet.oneDollar), box, true), row, 8);
        grid->addWidget(payoffLabel(QString::fromLatin1(bet.twoDollars), box, true), row, 9);
        ++row;
    }
    auto* special = payoffLabel(QStringLiteral("lblSpecial"), box, false);
    special->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    special->setMinimumWidth(special->fontMetrics().horizontalAdvance(QStringLiteral("Daily Double")));
    grid->addWidget(special, row, 0);
    for (int i = 0; i < 6; ++i) {
        auto* horse = payoffLabel(QStringLiteral("lblXHorse") + QString::number(i), box, false);
        keepPlaceWhenHidden(horse);
        horse->hide();
        grid->addWidget(horse, row, 1 + i);
    }
    grid->addWidget(payoffLabel(QStringLiteral("lblSpecialPayoff"), box, true), row, 9);
    grid->setColumnMinimumWidth(6, box->fontMetrics().horizontalAdvance(QStringLiteral("000")));
    grid->setColumnStretch(10, 1);
    return box;
}

QWidget* ResultsWindow::buildWinners() {
    auto* panel = new QWidget(this);
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* winners = boldLabel(QStringLiteral("Players Collecting Winnings"), panel);
    winners->setObjectName(QStringLiteral("lblWinners"));
    layout->addWidget(winners);
    m_lstWinners = fixedList(QStringLiteral("lstWinners"), panel);
    layout->addWidget(m_lstWinners, 1);
    // A Twin-Tri or Tri-Super credit's line opens the parlay (or price) it was paid with.
    connect(m_lstWinners, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { explainCredit(m_lstWinners->row(item)); });
    connect(m_lstWinners, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { explainCredit(m_lstWinners->row(item)); });
    auto* standings = boldLabel(QStringLiteral("Standings"), panel);
    standings->setObjectName(QStringLiteral("lblStandings"));
    layout->addWidget(standings);
    m_lstStandings = fixedList(QStringLiteral("lstStandings"), panel);
    layout->addWidget(m_lstStandings);
    fitListToLines(m_lstWinners, 4, WidestWinnerLine);
    fitListToLines(m_lstStandings, static_cast<int>(m_game.day().players.entries.size()), WidestWinnerLine);
    return panel;
}

QWidget* ResultsWindow::buildLedger() {
    auto* panel = new QWidget(this);
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 6, 0, 0);
    auto* kept = boldLabel(QStringLiteral("This Race: What the House Kept"), panel);
    kept->setObjectName(QStringLiteral("lblLedger"));
    layout->addWidget(kept);
    m_lstLedger = fixedList(QStringLiteral("lstLedger"), panel);
    layout->addWidget(m_lstLedger, 1);
    // A heading and a line per player and pool: sized before the lines come, so the window does not jump.
    const int players = static_cast<int>(m_game.day().players.entries.size());
    fitListToLines(m_lstLedger, players + (players > 1 ? 1 : 0) + 10,
                   QString(LedgerLineChars, QLatin1Char('0')));
    return panel;
}

QWidget* ResultsWindow::buildChart() {
    auto* panel = new QWidget(this);
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 6, 0, 0);
    auto* title = boldLabel(QStringLiteral("Race Chart"), panel, 1.2);
    title->setObjectName(QStringLiteral("Label3"));
    layout->addWidget(title);
    auto* heading = new ColumnHeading(ChartHeading, panel);
    heading->setObjectName(QStringLiteral("Label4"));
    QFont headingFont = heading->font();
    headingFont.setBold(true);
    heading->setFont(headingFont);
    layout->addWidget(heading);

    auto* grid = new QGridLayout;
    grid->setVerticalSpacing(5);
    grid->setHorizontalSpacing(10);
    QFont rowFont = font();
    rowFont.setPointSizeF(rowFont.pointSizeF() * 1.1);
    const QFontMetrics metrics(rowFont);
    for (int r = 0; r < FieldSize; ++r) {
        ChartRowLabels& row = m_rows[static_cast<std::size_t>(r)];
        for (std::size_t c = 0; c < ChartColumns.size(); ++c) {
            auto* cell = new QLabel(panel);
            cell->setFont(rowFont);
            cell->setObjectName(QString::fromLatin1(ChartColumns[c].name) + QString::number(r));
            cell->setAlignment((ChartColumns[c].leftAligned ? Qt::AlignLeft : Qt::AlignHCenter) |
                               Qt::AlignVCenter);
            cell->setMinimumWidth(metrics.horizontalAdvance(QLatin1Char('0')) * ChartColumns[c].minChars);
            keepPlaceWhenHidden(cell);
            cell->hide();
            row.cells[c] = cell;
            grid->addWidget(cell, r, static_cast<int>(c));
        }
    }
    // The chart reads left to right like print; spare width goes after the comments.
    grid->setColumnStretch(static_cast<int>(ChartColumns.size()), 1);
    layout->addLayout(grid);
    layout->addStretch(1);

    std::vector<QWidget*> first(m_rows[0].cells.begin(), m_rows[0].cells.end());
    heading->followWidgets(first);
    return panel;
}

void ResultsWindow::setPhotoStill(const PhotoStill& still) {
    m_picPhotoStill->setStill(still);
    if (!still.visible)
        return;
    // A race with a photo keeps the still's room from the start, so nothing moves when it shows.
    keepPlaceWhenHidden(m_picPhotoStill);
    if (!isVisible())
        fitToScreen(this, sizeHint());
}

void ResultsWindow::startShow() {
    if (m_showStarted)
        return;
    m_showStarted = true;
    m_timerShow->stop();
    m_cmdShow->setEnabled(false);
    runShow();
}

ResultsWindow::~ResultsWindow() {
    // The game outlives this window; the work on it must end before the window does.
    if (m_chartWork.joinable())
        m_chartWork.join();
}

void ResultsWindow::runShow() {
    // The pauses wait on a timer and the chart on its own thread, never here; shown all at once,
    // only the chart is waited for.
    if (chartPending())
        return;
    for (;;) {
        if (m_game.chartDue()) {
            prepareChart();
            return;
        }
        const ShowStep step = m_game.showStep();
        switch (step.kind) {
        case ShowStep::Kind::PhotoPause:
            m_lblPhoto->setText(QStringLiteral("PHOTO"));
            setTextColour(m_lblPhoto, boardSignColour());
            m_picPhotoStill->setVisible(m_picPhotoStill->still().visible);
            break;
        case ShowStep::Kind::Reveal:
            reveal(step.k);
            break;
        case ShowStep::Kind::Chart:
            showOfficial();
            break;
        case ShowStep::Kind::Payoff:
            revealPayoffs(step.k);
            break;
        case ShowStep::Kind::Done:
            showChart();
            showSettlement();
            emit settled();
            m_showFinished = true;
            showAvailability(m_cmdOK, m_game.availability(Action::ConfirmResults));
            m_cmdOK->setDefault(true);
            m_cmdOK->setFocus();
            return;
        }
        if (step.pauseMs > 0 && !m_allAtOnce) {
            m_timerReveal->start(step.pauseMs);
            return;
        }
    }
}

void ResultsWindow::showAllAtOnce() {
    if (m_showFinished)
        return;
    m_allAtOnce = true;
    if (!m_showStarted) {
        startShow();
        return;
    }
    if (m_timerReveal->isActive()) {
        m_timerReveal->stop();
        runShow();
    }
}

void ResultsWindow::keyPressEvent(QKeyEvent* event) {
    // Escape still asks to leave, which waits for the end of the show.
    if (!m_showFinished && event->key() != Qt::Key_Escape) {
        showAllAtOnce();
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void ResultsWindow::mousePressEvent(QMouseEvent* event) {
    showAllAtOnce();
    QDialog::mousePressEvent(event);
}

void ResultsWindow::prepareChart() {
    // Nothing else calls into the game until the work is done: the window is modal over the main
    // window and the show waits for chartPrepared().
    m_chartWork = std::thread([this] {
        m_game.prepareChart();
        QMetaObject::invokeMethod(this, &ResultsWindow::chartPrepared, Qt::QueuedConnection);
    });
}

void ResultsWindow::chartPrepared() {
    m_chartWork.join();
    runShow();
}

void ResultsWindow::reveal(int place) {
    if (place < 0 || place >= static_cast<int>(m_lblFinish.size()))
        return;
    showPostBadge(m_lblFinish[static_cast<std::size_t>(place)],
                  m_game.day().result.finishOrder[static_cast<std::size_t>(place)]);
}

void ResultsWindow::showOfficial() {
    m_lblTimeOfRace->setText(toQString(m_game.chart().lblTimeOfRace));
    m_lblPhoto->setText(QStringLiteral("Official"));
    setTextColour(m_lblPhoto, boardTotalColour());
    m_resultsShown = true;
}

void ResultsWindow::revealPayoffs(int row) {
    const std::vector<std::vector<LabelText>> rows = payoffRows(m_game.payoffs());
    if (row < 0 || row >= static_cast<int>(rows.size()))
        return;
    for (const LabelText& label : rows[static_cast<std::size_t>(row)]) {
        QString name = toQString(label.name);
        if (label.index >= 0)
            name += QString::number(label.index);
        QLabel* target = m_payoffLabels.value(name);
        if (!target)
            continue;
        if (label.index >= 0) {
            showPostBadge(target, QString::fromStdString(label.text).toInt());
            target->show();
        } else {
            target->setText(toQString(label.text));
        }
    }
}

void ResultsWindow::showChart() {
    const RaceChart& chart = m_game.chart();
    for (std::size_t r = 0; r < m_rows.size(); ++r) {
        const ChartRow& row = chart.rows[r];
        const std::array<const std::string*, 12> texts = {
            &row.lblHorseName, &row.lblPost, &row.lblBreak,  &row.lblEigth, &row.lblEiLen, &row.lblStrech,
            &row.lblStLen,     &row.lblFin,  &row.lblFinLen, &row.lblTime,  &row.lblOdds,  &row.lblComment};
        for (std::size_t c = 0; c < texts.size(); ++c) {
            QLabel* cell = m_rows[r].cells[c];
            cell->setText(toQString(*texts[c]));
            cell->show();
        }
        if (row.recordTime) {
            QLabel* time = m_rows[r].cells[9];
            QPalette palette = time->palette();
            palette.setColor(QPalette::WindowText, signColour(this->palette()));
            time->setPalette(palette);
            QFont bold = time->font();
            bold.setBold(true);
            time->setFont(bold);
        }
    }
}

void ResultsWindow::showSettlement() {
    const SettlementReport& report = m_game.settlement();
    m_lstWinners->clear();
    for (const std::string& line : report.winnerLines)
        m_lstWinners->addItem(toQString(shownMoneyIn(line)));
    // First halves that came in: no money yet, a credit for the next race.
    for (const std::string& line : report.exchangeLines)
        m_lstWinners->addItem(toQString(shownMoneyIn(line)));
    // Credits the file no longer held as they were won: what was paid instead, and why.
    for (const std::string& line : report.creditNotes)
        m_lstWinners->addItem(toQString(shownMoneyIn(line)));
    m_lstStandings->clear();
    for (const std::string& line : report.standingLines)
        m_lstStandings->addItem(toQString(shownMoneyIn(line)));
    const HouseLedger& ledger = m_game.ledger();
    m_lstLedger->clear();
    for (const std::string& line : ledgerLines(ledger, m_game.day().currentRace))
        m_lstLedger->addItem(toQString(shownMoneyIn(line)));
    // What each pool really kept, beside the nominal takeout of the lines above.
    for (const std::string& line : poolKeptLines(ledger, m_game.day().currentRace))
        m_lstLedger->addItem(toQString(shownMoneyIn(line)));
    fitListToLines(m_lstWinners, 4, WidestWinnerLine, MostWinnerLines);
    fitListToLines(m_lstStandings, m_lstStandings->count());
    fitListToLines(m_lstLedger, m_lstLedger->count());
    m_picBalances->setLines(balanceLines(ledger), RacesPerDay);
    showCollects();

    // A file that could not be written would otherwise go unnoticed until the next day. It is
    // said here, beside OK, rather than in a box that would come back after every race.
    QStringList problems;
    if (m_game.chart().saveError)
        problems << toQString(m_game.chart().saveError.message);
    if (!m_game.chart().saveNotice.empty())
        problems << toQString(m_game.chart().saveNotice);
    for (const std::string& error : report.errors)
        problems << toQString(error);
    problems.removeDuplicates();
    m_lblSaveProblems->setText(problems.join(QLatin1Char('\n')));
    m_lblSaveProblems->setVisible(!problems.isEmpty());
}

void ResultsWindow::showCollects() {
    std::vector<std::string> lines;
    for (const Collection& collection : collections(m_game.settlement(), m_game.day().players))
        lines.push_back(collectsLine(collection));
    const bool nobody = lines.empty();
    if (nobody)
        lines.emplace_back(NobodyCollectsText);
    auto* layout = static_cast<QVBoxLayout*>(m_frCollects->layout());
    while (m_lblCollects.size() < lines.size()) {
        auto* label = boldLabel(QString(), m_frCollects, 2.2);
        label->setObjectName(QStringLiteral("lblCollects") + QString::number(m_lblCollects.size()));
        label->setAlignment(Qt::AlignCenter);
        m_lblCollects.push_back(label);
        layout->addWidget(label);
    }
    for (std::size_t i = 0; i < m_lblCollects.size(); ++i) {
        QLabel* label = m_lblCollects[i];
        label->setText(i < lines.size() ? toQString(lines[i]) : QString());
        label->setVisible(i < lines.size());
        setTextColour(label, nobody ? boardHeadingColour() : boardFigureColour());
    }
}

void ResultsWindow::confirm() {
    if (m_confirmed || !m_showFinished)
        return;
    m_confirmed = true;
    m_game.confirmResults();
    QDialog::accept();
    emit confirmed();
}

void ResultsWindow::reject() {
    // The results must be written and settled before the day can go on.
    if (m_showFinished)
        confirm();
}

bool ResultsWindow::eventFilter(QObject* watched, QEvent* event) {
    if (asksForWorking(event) && m_resultsShown) {
        explainPayoff(watched->objectName());
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void ResultsWindow::explainCredit(int row) {
    // The first lines of the list are the credits, one a line, in the order paid.
    const std::vector<Credit>& credits = m_game.settlement().credits;
    if (!m_resultsShown || row < 0 || row >= static_cast<int>(credits.size()))
        return;
    const Credit& credit = credits[static_cast<std::size_t>(row)];
    if (credit.working.empty())
        return;
    ExplanationDialog::explain(this,
                               QStringLiteral("Race %1: %2")
                                   .arg(m_game.day().currentRace + 1)
                                   .arg(toQString(credit.working.front())),
                               credit.working);
}

void ResultsWindow::explainPayoff(const QString& label) {
    const Payoff* payoff = payoffByLabel(m_game.payoffs(), label.toStdString());
    if (!payoff || payoff->working.empty())
        return;
    ExplanationDialog::explain(this,
                               QStringLiteral("Race %1: %2")
                                   .arg(m_game.day().currentRace + 1)
                                   .arg(toQString(payoff->working.front())),
                               payoff->working);
}

} // namespace sw::ui
