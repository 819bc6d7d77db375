#include "ResultsWindow.h"

#include "ActionState.h"
#include "BalanceChart.h"
#include "ContentFit.h"
#include "ExplanationDialog.h"
#include "FixedFont.h"
#include "Palette.h"
#include "PostBadge.h"
#include "ScreenFit.h"
#include "ToQString.h"

#include "core/Constants.h"
#include "core/ShownMoney.h"
#include "core/Translate.h"
#include "game/Game.h"
#include "ui/track/PhotoStillWidget.h"

#include <QAccessible>
#include <QApplication>
#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTableView>
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

// The fewest characters each chart column is made for before the chart is known, in row order.
constexpr std::array<int, 12> ChartColumnChars = {18, 3, 3, 3, 4, 3, 4, 3, 4, 8, 7, 15};
// Columns of the chart read from the left edge; the figures are centred under their headings.
constexpr std::array<bool, 12> ChartLeftAligned = {true,  false, false, false, false, false,
                                                   false, false, false, false, false, true};
// A payoff cell's data: the core's label it shows.
constexpr int LabelRole = Qt::UserRole;
// A heading's data: the fewest pixels its column takes before it is filled.
constexpr int LeastWidthRole = Qt::UserRole + 2;

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

// A table of the results in the window's own type and ground, without grid or row numbers, every
// cell shown whole: the keyboard moves cell by cell, and a screen reader reads each cell with its
// column's heading and the table by its name.
QTableView* resultsTable(const QString& name, const QString& spoken, QStandardItemModel* model, int rowHeight,
                         QWidget* parent) {
    auto* view = new QTableView(parent);
    view->setObjectName(name);
    view->setAccessibleName(spoken);
    view->setModel(model);
    view->setItemDelegate(new PostBadgeDelegate(view));
    view->setShowGrid(false);
    view->setFrameShape(QFrame::NoFrame);
    view->setWordWrap(false);
    view->setTextElideMode(Qt::ElideNone);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    view->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    view->setSizeAdjustPolicy(QAbstractScrollArea::AdjustToContents);
    view->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    view->verticalHeader()->hide();
    view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view->verticalHeader()->setDefaultSectionSize(rowHeight);
    QHeaderView* header = view->horizontalHeader();
    header->setSectionsClickable(false);
    header->setHighlightSections(false);
    header->setSectionResizeMode(QHeaderView::Fixed);
    QFont bold = header->font();
    bold.setBold(true);
    header->setFont(bold);
    // The headings stand on the window's ground, as the captions over the labels did. Their room
    // is kept on the right only: a style sheet's left padding moves a heading's text right without
    // narrowing it, and a heading set from the right ("Show", "$2") was cut by its own padding.
    header->setStyleSheet(QStringLiteral("QHeaderView, QHeaderView::section { background: transparent;"
                                         " border: none; padding: 0 4px 0 0; }"));
    QPalette palette = view->palette();
    palette.setColor(QPalette::Base, Qt::transparent);
    view->setPalette(palette);
    view->viewport()->setAutoFillBackground(false);
    return view;
}

// The headings, each over its column's figures: money from the right, the rest from the left.
void setHeadings(QStandardItemModel* model, const std::vector<QString>& headings, int firstMoneyColumn) {
    for (std::size_t c = 0; c < headings.size(); ++c) {
        const int column = static_cast<int>(c);
        model->setHeaderData(column, Qt::Horizontal, headings[c]);
        model->setHeaderData(
            column, Qt::Horizontal,
            QVariant::fromValue(Qt::Alignment(column >= firstMoneyColumn ? Qt::AlignRight : Qt::AlignLeft) |
                                Qt::AlignVCenter),
            Qt::TextAlignmentRole);
    }
}

// Each column as wide as its heading, its cells and the width it was made for, whichever is widest,
// so the table grows with what it shows and never cuts it.
void fitColumns(QTableView* view) {
    QHeaderView* header = view->horizontalHeader();
    const QAbstractItemModel* model = view->model();
    const QAbstractItemView* cells = view;
    for (int c = 0; c < model->columnCount(); ++c)
        header->resizeSection(c, std::max({model->headerData(c, Qt::Horizontal, LeastWidthRole).toInt(),
                                           header->sectionSizeHint(c), cells->sizeHintForColumn(c)}));
    view->updateGeometry();
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
    setWindowTitle(toQString(_("Results")));
    setWindowModality(Qt::WindowModal);
    setSizeGripEnabled(true);

    const int race = m_game.day().currentRace + 1;
    m_lblRaceNum = boldLabel(toQString(fillIn(_("Race {0}"), race)), this, 1.8);
    m_lblRaceNum->setObjectName(QStringLiteral("lblRaceNum"));
    auto* timeCaption = new QLabel(toQString(_("Time of Race")), this);
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

    m_cmdShow = new QPushButton(toQString(_("Show Results")), this);
    m_cmdShow->setObjectName(QStringLiteral("cmdShow"));
    m_cmdShow->setAutoDefault(false);
    m_cmdOK = new QPushButton(toQString(_("OK")), this);
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
    m_lblPhoto = boldLabel(toQString(_(WaitingForOfficialText)), panel, 1.6);
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

QStandardItem* ResultsWindow::payoffCell(const QString& name, bool money) {
    auto* cell = new QStandardItem;
    cell->setData(name, LabelRole);
    if (money) {
        // Money in big type, the figure a player looks for first.
        QFont big = fixedFont();
        big.setPointSizeF(big.pointSizeF() * 1.3);
        big.setBold(true);
        cell->setFont(big);
        cell->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        cell->setToolTip(toQString(_("Click, or press Enter, to see how this payoff was worked out")));
    } else {
        cell->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    }
    m_payoffCells.insert(name, cell);
    return cell;
}

QWidget* ResultsWindow::buildPayoffs() {
    auto* box = new QGroupBox(toQString(_("$2 Payoffs")), this);
    auto* layout = new QVBoxLayout(box);
    layout->setSpacing(10);
    QFont big = fixedFont();
    big.setPointSizeF(big.pointSizeF() * 1.3);
    big.setBold(true);
    const QFontMetrics money(big);
    const int moneyWidth = money.horizontalAdvance(QStringLiteral("0000000.00")) + 10;
    const int postWidth = fontMetrics().horizontalAdvance(QStringLiteral("00")) + 12;
    const int rowHeight = money.height() + 6;

    // Win, place and show beside the first three across the board; the fourth finisher for the
    // superfecta players.
    m_places = new QStandardItemModel(4, static_cast<int>(PlacePayoffHeadings.size()), box);
    std::vector<QString> headings;
    for (const char* heading : PlacePayoffHeadings)
        headings.push_back(toQString(_(heading)));
    setHeadings(m_places, headings, 2);
    m_places->setHeaderData(1, Qt::Horizontal, postWidth, LeastWidthRole);
    static const std::array<const char*, 4> placeNames = {N_("1st"), N_("2nd"), N_("3rd"), N_("4th")};
    for (int k = 0; k < 4; ++k) {
        m_places->setItem(k, 0, new QStandardItem(toQString(_(placeNames[static_cast<std::size_t>(k)]))));
        auto* finish = new QStandardItem;
        finish->setTextAlignment(Qt::AlignCenter);
        m_places->setItem(k, 1, finish);
        for (int c = 2; c < 5; ++c)
            m_places->setItem(k, c, new QStandardItem);
    }
    for (int c = 2; c < 5; ++c)
        m_places->setHeaderData(c, Qt::Horizontal, moneyWidth, LeastWidthRole);
    m_places->setItem(0, 2, payoffCell(QStringLiteral("lblWin1Payoff"), true));
    m_places->setItem(0, 3, payoffCell(QStringLiteral("lblPlace1Payoff"), true));
    m_places->setItem(0, 4, payoffCell(QStringLiteral("lblShow1Payoff"), true));
    m_places->setItem(1, 3, payoffCell(QStringLiteral("lblPlace2Payoff"), true));
    m_places->setItem(1, 4, payoffCell(QStringLiteral("lblShow2Payoff"), true));
    m_places->setItem(2, 4, payoffCell(QStringLiteral("lblShow3Payoff"), true));
    m_tblPlaces = resultsTable(QStringLiteral("tblPlacePayoffs"), toQString(_(PlacePayoffsName)), m_places,
                               rowHeight, box);
    layout->addWidget(m_tblPlaces, 0, Qt::AlignLeft);

    // The exotic bets under "$1" and "$2", then the multi-race bet that closed with this race.
    struct Exotic {
        BetType bet;
        const char* horses;
        const char* oneDollar;
        const char* twoDollars;
    };
    static const std::array<Exotic, 4> exotics = {{
        {BetType::Quiniela, "lblQHorse", nullptr, "lblQuinielaPayoff"},
        {BetType::Exacta, "lblEHorse", nullptr, "lblExactaPayoff"},
        {BetType::Trifecta, "lblTHorse", "lblTrifectaPayoff1", "lblTrifectaPayoff2"},
        {BetType::Superfecta, "lblSHorse", "lblSuperfectaPayoff1", "lblSuperfectaPayoff2"},
    }};
    m_bets = new QStandardItemModel(static_cast<int>(exotics.size()) + 1,
                                    static_cast<int>(BetPayoffHeadings.size()), box);
    headings.clear();
    for (const char* heading : BetPayoffHeadings)
        headings.push_back(toQString(_(heading)));
    setHeadings(m_bets, headings, 2);
    m_bets->setHeaderData(0, Qt::Horizontal,
                          fontMetrics().horizontalAdvance(toQString(_("Daily Double"))) + 10, LeastWidthRole);
    m_bets->setHeaderData(1, Qt::Horizontal, 6 * postWidth, LeastWidthRole);
    m_bets->setHeaderData(2, Qt::Horizontal, moneyWidth, LeastWidthRole);
    m_bets->setHeaderData(3, Qt::Horizontal, moneyWidth, LeastWidthRole);
    int row = 0;
    for (const Exotic& bet : exotics) {
        m_bets->setItem(row, 0, new QStandardItem(toQString(betTitle(bet.bet))));
        m_bets->setItem(row, 1, payoffCell(QString::fromLatin1(bet.horses), false));
        m_bets->setItem(
            row, 2, bet.oneDollar ? payoffCell(QString::fromLatin1(bet.oneDollar), true) : new QStandardItem);
        m_bets->setItem(row, 3, payoffCell(QString::fromLatin1(bet.twoDollars), true));
        ++row;
    }
    m_bets->setItem(row, 0, payoffCell(QStringLiteral("lblSpecial"), false));
    m_bets->setItem(row, 1, payoffCell(QStringLiteral("lblXHorse"), false));
    m_bets->setItem(row, 2, new QStandardItem);
    m_bets->setItem(row, 3, payoffCell(QStringLiteral("lblSpecialPayoff"), true));
    m_tblBets =
        resultsTable(QStringLiteral("tblBetPayoffs"), toQString(_(BetPayoffsName)), m_bets, rowHeight, box);
    layout->addWidget(m_tblBets, 0, Qt::AlignLeft);
    layout->addStretch(1);

    for (QTableView* table : {m_tblPlaces, m_tblBets}) {
        fitColumns(table);
        // A payoff opens its working when clicked or when Enter is pressed on it.
        connect(table, &QTableView::clicked, this, [this](const QModelIndex& at) {
            explainPayoff(m_payoffCells.value(at.data(LabelRole).toString()));
        });
        connect(table, &QTableView::activated, this, [this](const QModelIndex& at) {
            explainPayoff(m_payoffCells.value(at.data(LabelRole).toString()));
        });
    }
    return box;
}

QWidget* ResultsWindow::buildWinners() {
    auto* panel = new QWidget(this);
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* winners = boldLabel(toQString(_("Players Collecting Winnings")), panel);
    winners->setObjectName(QStringLiteral("lblWinners"));
    layout->addWidget(winners);
    m_lstWinners = fixedList(QStringLiteral("lstWinners"), panel);
    // Each list is named for a screen reader by the heading over it.
    m_lstWinners->setAccessibleName(winners->text());
    layout->addWidget(m_lstWinners, 1);
    // A Twin-Tri or Tri-Super credit's line opens the parlay (or price) it was paid with.
    connect(m_lstWinners, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { explainCredit(m_lstWinners->row(item)); });
    connect(m_lstWinners, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { explainCredit(m_lstWinners->row(item)); });
    auto* standings = boldLabel(toQString(_("Standings")), panel);
    standings->setObjectName(QStringLiteral("lblStandings"));
    layout->addWidget(standings);
    m_lstStandings = fixedList(QStringLiteral("lstStandings"), panel);
    m_lstStandings->setAccessibleName(standings->text());
    layout->addWidget(m_lstStandings);
    fitListToLines(m_lstWinners, 4, WidestWinnerLine);
    fitListToLines(m_lstStandings, static_cast<int>(m_game.day().players.entries.size()), WidestWinnerLine);
    return panel;
}

QWidget* ResultsWindow::buildLedger() {
    auto* panel = new QWidget(this);
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 6, 0, 0);
    auto* kept = boldLabel(toQString(_("This Race: What the House Kept")), panel);
    kept->setObjectName(QStringLiteral("lblLedger"));
    layout->addWidget(kept);
    m_lstLedger = fixedList(QStringLiteral("lstLedger"), panel);
    m_lstLedger->setAccessibleName(kept->text());
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
    auto* title = boldLabel(toQString(_("Race Chart")), panel, 1.2);
    title->setObjectName(QStringLiteral("Label3"));
    layout->addWidget(title);

    QFont rowFont = font();
    rowFont.setPointSizeF(rowFont.pointSizeF() * 1.1);
    const QFontMetrics metrics(rowFont);
    m_chart = new QStandardItemModel(FieldSize, static_cast<int>(ChartColumnHeadings.size()), panel);
    for (std::size_t c = 0; c < ChartColumnHeadings.size(); ++c) {
        const int column = static_cast<int>(c);
        m_chart->setHeaderData(column, Qt::Horizontal, toQString(_(ChartColumnHeadings[c].heading)));
        m_chart->setHeaderData(column, Qt::Horizontal, toQString(_(ChartColumnHeadings[c].spoken)),
                               Qt::AccessibleTextRole);
        m_chart->setHeaderData(column, Qt::Horizontal,
                               metrics.horizontalAdvance(QLatin1Char('0')) * ChartColumnChars[c] + 10,
                               LeastWidthRole);
        m_chart->setHeaderData(
            column, Qt::Horizontal,
            QVariant::fromValue(Qt::Alignment(ChartLeftAligned[c] ? Qt::AlignLeft : Qt::AlignHCenter) |
                                Qt::AlignVCenter),
            Qt::TextAlignmentRole);
        for (int r = 0; r < FieldSize; ++r) {
            auto* cell = new QStandardItem;
            cell->setFont(rowFont);
            cell->setTextAlignment((ChartLeftAligned[c] ? Qt::AlignLeft : Qt::AlignHCenter) |
                                   Qt::AlignVCenter);
            m_chart->setItem(r, column, cell);
        }
    }
    m_tblChart =
        resultsTable(QStringLiteral("tblChart"), title->text(), m_chart, metrics.height() + 5, panel);
    fitColumns(m_tblChart);
    // The chart reads left to right like print; spare width goes after the comments.
    layout->addWidget(m_tblChart, 0, Qt::AlignLeft);
    layout->addStretch(1);
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
    if (m_confirmWork.joinable()) {
        m_confirmWork.join();
        QApplication::restoreOverrideCursor();
    }
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
            m_lblPhoto->setText(toQString(_("PHOTO")));
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
    if (place < 0 || place >= m_places->rowCount())
        return;
    const int post = m_game.day().result.finishOrder[static_cast<std::size_t>(place)];
    QStandardItem* cell = m_places->item(place, 1);
    cell->setText(QString::number(post));
    cell->setData(QVariant::fromValue(QList<int>{post}), PostsRole);
    fitColumns(m_tblPlaces);
}

void ResultsWindow::showOfficial() {
    m_lblTimeOfRace->setText(toQString(m_game.chart().lblTimeOfRace));
    m_lblPhoto->setText(toQString(_("Official")));
    setTextColour(m_lblPhoto, boardTotalColour());
    m_resultsShown = true;
    // A screen reader hears the order the moment it is official, wherever the keyboard is: the
    // window's description changes, and an alert asks for it to be read.
    setAccessibleDescription(toQString(officialOrderLine(m_game.day())));
    QAccessibleEvent official(this, QAccessible::Alert);
    QAccessible::updateAccessibility(&official);
}

void ResultsWindow::revealPayoffs(int row) {
    const std::vector<std::vector<LabelText>> rows = payoffRows(m_game.payoffs());
    if (row < 0 || row >= static_cast<int>(rows.size()))
        return;
    for (const LabelText& label : rows[static_cast<std::size_t>(row)]) {
        QStandardItem* cell = m_payoffCells.value(toQString(label.name));
        if (!cell)
            continue;
        if (label.index < 0) {
            // The multi-race bet's name is a word of the catalog; the rest are figures.
            cell->setText(toQString(label.name == "lblSpecial" ? _(label.text) : label.text));
            continue;
        }
        // The horses of a combination, as saddle cloths in one cell; read as the posts in order.
        QList<int> posts = label.index == 0 ? QList<int>() : cell->data(PostsRole).value<QList<int>>();
        if (const int post = QString::fromStdString(label.text).toInt(); post >= 1 && post <= FieldSize)
            posts << post;
        QStringList numbers;
        for (const int post : posts)
            numbers << QString::number(post);
        cell->setData(QVariant::fromValue(posts), PostsRole);
        cell->setText(numbers.join(u'-'));
        cell->setData(numbers.join(QStringLiteral(", ")), Qt::AccessibleTextRole);
    }
    fitColumns(m_tblPlaces);
    fitColumns(m_tblBets);
}

void ResultsWindow::showChart() {
    const RaceChart& chart = m_game.chart();
    for (std::size_t r = 0; r < chart.rows.size(); ++r) {
        const ChartRow& row = chart.rows[r];
        const std::array<const std::string*, 12> texts = {
            &row.lblHorseName, &row.lblPost, &row.lblBreak,  &row.lblEigth, &row.lblEiLen, &row.lblStrech,
            &row.lblStLen,     &row.lblFin,  &row.lblFinLen, &row.lblTime,  &row.lblOdds,  &row.lblComment};
        for (std::size_t c = 0; c < texts.size(); ++c)
            m_chart->item(static_cast<int>(r), static_cast<int>(c))->setText(toQString(*texts[c]));
        if (row.recordTime) {
            QStandardItem* time = m_chart->item(static_cast<int>(r), 9);
            time->setForeground(signColour(palette()));
            QFont bold = time->font();
            bold.setBold(true);
            time->setFont(bold);
        }
    }
    fitColumns(m_tblChart);
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
        lines.push_back(_(NobodyCollectsText));
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
    // The next race's program is read and its public's bets made, or the day recorded: off the
    // window thread, with this window still up and modal, so nothing else calls into the game.
    QApplication::setOverrideCursor(Qt::BusyCursor);
    m_confirmWork = std::thread([this] {
        m_game.confirmResults();
        QMetaObject::invokeMethod(this, &ResultsWindow::resultsConfirmed, Qt::QueuedConnection);
    });
}

void ResultsWindow::resultsConfirmed() {
    m_confirmWork.join();
    QApplication::restoreOverrideCursor();
    QDialog::accept();
    emit confirmed();
}

void ResultsWindow::reject() {
    // The results must be written and settled before the day can go on.
    if (m_showFinished)
        confirm();
}

void ResultsWindow::explainCredit(int row) {
    // The first lines of the list are the credits, one a line, in the order paid.
    const std::vector<Credit>& credits = m_game.settlement().credits;
    if (!m_resultsShown || row < 0 || row >= static_cast<int>(credits.size()))
        return;
    const Credit& credit = credits[static_cast<std::size_t>(row)];
    if (credit.working.empty())
        return;
    ExplanationDialog::explain(
        this,
        toQString(_("Race %1: %2")).arg(m_game.day().currentRace + 1).arg(toQString(credit.working.front())),
        credit.working);
}

void ResultsWindow::explainPayoff(const QStandardItem* cell) {
    if (!cell || !m_resultsShown)
        return;
    const Payoff* payoff = payoffByLabel(m_game.payoffs(), cell->data(LabelRole).toString().toStdString());
    if (!payoff || payoff->working.empty())
        return;
    ExplanationDialog::explain(
        this,
        toQString(_("Race %1: %2")).arg(m_game.day().currentRace + 1).arg(toQString(payoff->working.front())),
        payoff->working);
}

} // namespace sw::ui
