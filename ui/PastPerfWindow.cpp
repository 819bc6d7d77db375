#include "PastPerfWindow.h"

#include "ContentFit.h"
#include "FixedFont.h"
#include "PostBadge.h"
#include "PrintOptionsDialog.h"
#include "ScreenFit.h"
#include "TableTexts.h"
#include "TextTable.h"
#include "TextTableModel.h"
#include "ToQString.h"
#include "core/Durations.h"
#include "core/Translate.h"

#include "core/Constants.h"
#include "core/Translate.h"
#include "game/Game.h"
#include "program/ProgramTexts.h"
#include "race/Chances.h"

#include <QApplication>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QSplitter>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

namespace sw::ui {

namespace {

// Made where shown: the player's language is chosen after the program's statics are.
QStringList chanceHeadings() {
    return {toQString(_("Post")), toQString(_("Win")),  toQString(_("Top three")),
            toQString(_("Fair")), toQString(_("Tote")), QString()};
}

// Most past lines an entry shows without scrolling; a printed program rarely runs longer.
constexpr int MostPastRowsShown = 10;
// Standings shown before the list scrolls, at the least.
constexpr int JockeyRowsShown = 8;

template <std::size_t N> std::vector<TableRow> rowsOf(const std::vector<std::array<std::string, N>>& lines) {
    std::vector<TableRow> rows;
    rows.reserve(lines.size());
    for (const auto& line : lines) {
        TableRow& row = rows.emplace_back();
        for (const std::string& text : line)
            row.push_back({.text = toQString(text)});
    }
    return rows;
}

// The program's tables: the printed sheet's type, and no rules between the figures.
TextTable* programTable(TextTableModel* model, const QString& name, QWidget* parent) {
    auto* table = new TextTable(model, name, parent);
    table->setFont(fixedFont());
    table->setShowGrid(false);
    table->setRowPadding(2);
    return table;
}

QLabel* caption(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    return label;
}

} // namespace

PastPerfWindow::PastPerfWindow(Game& game, QWidget* parent)
    : QDialog(parent), m_game(game), m_chanceRaces(ChanceRaces) {
    setObjectName(QStringLiteral("frmPastPerf"));
    setWindowTitle(toQString(_(ProgramWindowTitle)));
    setSizeGripEnabled(true);
    setWindowFlag(Qt::WindowMaximizeButtonHint, true);

    auto* splitter = new QSplitter(Qt::Horizontal, this);
    QWidget* entries = buildEntries();
    QWidget* side = buildSidePanel();
    splitter->addWidget(entries);
    splitter->addWidget(side);
    splitter->setStretchFactor(0, 3);
    splitter->setStretchFactor(1, 2);
    splitter->setChildrenCollapsible(false);

    m_cmdPrint = new QPushButton(toQString(_(PrintProgramCaption)), this);
    m_cmdPrint->setObjectName(QStringLiteral("cmdPrint"));
    m_cmdPrint->setAutoDefault(false);
    m_cmdOK = new QPushButton(toQString(_(ToteBoardCaption)), this);
    m_cmdOK->setObjectName(QStringLiteral("cmdOK"));
    m_cmdOK->setToolTip(toQString(_(ToteBoardTooltip)));
    // Enter confirms a race typed into the selector; it must not leave the program as well.
    m_cmdOK->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_cmdPrint);
    buttons->addStretch(1);
    buttons->addWidget(m_cmdOK);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(buildHeader());
    layout->addWidget(splitter, 1);
    layout->addLayout(buttons);

    connect(m_udRace, &QSpinBox::valueChanged, this, &PastPerfWindow::raceChosen);
    connect(m_cmdOK, &QPushButton::clicked, this, &PastPerfWindow::chooseToteBoard);
    connect(m_cmdPrint, &QPushButton::clicked, this, &PastPerfWindow::openPrintOptions);
    m_chanceTimer = new QTimer(this);
    m_chanceTimer->setInterval(ChancePollMs);
    connect(m_chanceTimer, &QTimer::timeout, this, &PastPerfWindow::pollChances);

    refresh();

    // Each pane as wide as its lines need in the font in use; spare width goes to the entries.
    fitToScreen(this, sizeHint().expandedTo(QSize(entries->minimumWidth() + side->minimumSizeHint().width(),
                                                  entries->fontMetrics().height() * 44)));
    const int sideWidth = side->minimumSizeHint().width();
    splitter->setSizes({std::max(entries->minimumWidth(), width() - sideWidth), sideWidth});
}

QWidget* PastPerfWindow::buildHeader() {
    auto* header = new QFrame(this);
    header->setFrameShape(QFrame::StyledPanel);

    auto* raceCaption = caption(toQString(_("Race")), header);
    m_lblRace = new QLabel(header);
    m_lblRace->setObjectName(QStringLiteral("lblRace"));
    QFont big = m_lblRace->font();
    big.setPointSizeF(big.pointSizeF() * 2.0);
    big.setBold(true);
    m_lblRace->setFont(big);
    m_lblRace->setMinimumWidth(QFontMetrics(big).horizontalAdvance(QStringLiteral("00")));
    m_udRace = new QSpinBox(header);
    m_udRace->setObjectName(QStringLiteral("udRace"));
    m_udRace->setRange(1, RacesPerDay);
    m_udRace->setAccelerated(false);
    // A typed race is shown once it is complete (Enter or leaving the box), not digit by digit.
    m_udRace->setKeyboardTracking(false);
    raceCaption->setBuddy(m_udRace);

    m_lblRaceGrade = new QLabel(header);
    m_lblRaceGrade->setObjectName(QStringLiteral("lblRaceGrade"));
    m_lblDistance = new QLabel(toQString(_(ProgramDistanceText)), header);
    m_lblDistance->setObjectName(QStringLiteral("lblDistance"));
    QFont value = m_lblRaceGrade->font();
    value.setPointSizeF(value.pointSizeF() * 1.3);
    m_lblRaceGrade->setFont(value);
    m_lblDistance->setFont(value);

    m_lblBets = new QLabel(header);
    m_lblBets->setObjectName(QStringLiteral("lblBets"));
    m_lblBets->setWordWrap(true);
    m_lblBets->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    auto* grid = new QGridLayout(header);
    grid->addWidget(raceCaption, 0, 0, Qt::AlignLeft | Qt::AlignBottom);
    grid->addWidget(m_lblRace, 1, 0, Qt::AlignLeft | Qt::AlignVCenter);
    grid->addWidget(m_udRace, 1, 1, Qt::AlignLeft | Qt::AlignVCenter);
    grid->addWidget(caption(toQString(_(PurseHeading)), header), 0, 2, Qt::AlignLeft | Qt::AlignBottom);
    grid->addWidget(m_lblRaceGrade, 1, 2, Qt::AlignLeft | Qt::AlignVCenter);
    grid->addWidget(caption(toQString(_(DistanceHeading)), header), 0, 3, Qt::AlignLeft | Qt::AlignBottom);
    grid->addWidget(m_lblDistance, 1, 3, Qt::AlignLeft | Qt::AlignVCenter);
    grid->addWidget(m_lblBets, 0, 4, 2, 1);
    grid->setColumnMinimumWidth(1, 60);
    grid->setColumnMinimumWidth(2, 90);
    grid->setColumnMinimumWidth(3, 110);
    grid->setColumnStretch(4, 1);
    grid->setHorizontalSpacing(18);
    return header;
}

QWidget* PastPerfWindow::buildEntries() {
    auto* scroll = new QScrollArea(this);
    scroll->setWidgetResizable(true);
    scroll->setAccessibleName(toQString(_(ProgramEntriesName)));
    auto* sheet = new QWidget(scroll);
    auto* column = new QVBoxLayout(sheet);
    for (int e = 0; e < FieldSize; ++e) {
        if (e > 0) {
            auto* rule = new QFrame(sheet);
            rule->setFrameShape(QFrame::HLine);
            rule->setFrameShadow(QFrame::Sunken);
            column->addWidget(rule);
        }
        QWidget* block = nullptr;
        m_entries[static_cast<std::size_t>(e)] = buildEntry(e, sheet, block);
        column->addWidget(block);
    }
    column->addStretch(1);
    scroll->setWidget(sheet);
    m_entriesPane = scroll;
    // The program is a printed sheet: the entries stand on the paper colour of a list.
    QPalette paper = sheet->palette();
    paper.setColor(QPalette::Window, paper.color(QPalette::Base));
    sheet->setPalette(paper);
    sheet->setAutoFillBackground(true);
    return scroll;
}

PastPerfWindow::EntryBlock PastPerfWindow::buildEntry(int entry, QWidget* parent, QWidget*& block) {
    const QString n = QString::number(entry);
    EntryBlock b;
    block = new QWidget(parent);

    b.post = new QLabel(block);
    showPostBadge(b.post, entry + 1);
    b.post->setMinimumWidth(b.post->fontMetrics().horizontalAdvance(QStringLiteral("00")) + 12);

    b.horseName = new QLabel(block);
    b.horseName->setObjectName(QStringLiteral("lblHorseName") + n);
    QFont nameFont = b.horseName->font();
    nameFont.setBold(true);
    nameFont.setPointSizeF(nameFont.pointSizeF() * 1.2);
    b.horseName->setFont(nameFont);
    b.horseName->setMinimumWidth(QFontMetrics(nameFont).horizontalAdvance(QStringLiteral("M")) * 11);

    b.jockey = new QLabel(block);
    b.jockey->setObjectName(QStringLiteral("lblGrade") + n);
    b.jockey->setMinimumWidth(b.jockey->fontMetrics().horizontalAdvance(QStringLiteral("M")) * 12);

    static const std::array<const char*, 5> countNames = {"lblStarts", "lblFirsts", "lblSeconds", "lblThirds",
                                                          "lblFourths"};
    static const std::array<std::string_view, 5> countTips = {StartsTooltip, FirstsTooltip, SecondsTooltip,
                                                              ThirdsTooltip, FourthsTooltip};
    auto* record = new QHBoxLayout;
    record->setSpacing(6);
    record->addWidget(new QLabel(toQString(_("Starts:")), block));
    for (std::size_t c = 0; c < b.counts.size(); ++c) {
        auto* count = new QLabel(block);
        count->setObjectName(QString::fromLatin1(countNames[c]) + n);
        count->setToolTip(toQString(_(countTips[c])));
        count->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        count->setMinimumWidth(count->fontMetrics().horizontalAdvance(QStringLiteral("0000")));
        b.counts[c] = count;
        record->addWidget(count);
    }
    b.earnings = new QLabel(block);
    b.earnings->setObjectName(QStringLiteral("lblEarnings") + n);
    b.earnings->setToolTip(toQString(_(EarningsTooltip)));
    b.earnings->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    b.earnings->setMinimumWidth(b.earnings->fontMetrics().horizontalAdvance(QStringLiteral("$0,000,000")));
    record->addSpacing(8);
    record->addWidget(b.earnings);

    const Qt::Alignment right = Qt::AlignRight;
    const Qt::Alignment left = Qt::AlignLeft;
    // The positions and figures line up on the right, the margins and the comment on the left.
    b.pastLines =
        new TextTableModel(translatedColumns(PastLineColumnTexts, {right, right, right, left, right, left,
                                                                   right, left, right, right, right, left}),
                           block);
    b.past = programTable(b.pastLines, QStringLiteral("lstPast") + n, block);
    b.past->setAccessibleName(toQString(fillIn(_(PastLinesName), entry + 1)));
    b.past->setStretchColumn(static_cast<int>(PastLineColumns) - 1);
    // As tall as its lines, so the program reads like print rather than boxes.
    b.past->setRowsShown(1, MostPastRowsShown);
    b.past->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);

    auto* grid = new QGridLayout(block);
    grid->setContentsMargins(4, 6, 4, 6);
    grid->setVerticalSpacing(2);
    grid->addWidget(b.post, 0, 0, Qt::AlignLeft | Qt::AlignVCenter);
    grid->addWidget(b.horseName, 0, 1);
    grid->addWidget(b.jockey, 0, 2);
    grid->addLayout(record, 0, 3, Qt::AlignRight);
    grid->addWidget(b.past, 1, 1, 1, 3);
    grid->setColumnStretch(1, 2);
    grid->setColumnStretch(2, 2);
    grid->setColumnStretch(3, 1);
    return b;
}

QWidget* PastPerfWindow::buildSidePanel() {
    auto* panel = new QWidget(this);
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(6, 0, 0, 0);

    QLabel* recordCaption = caption(toQString(_("Track Record")), panel);
    layout->addWidget(recordCaption);
    m_lblTrackRecord = new QLabel(panel);
    m_lblTrackRecord->setObjectName(QStringLiteral("lblTrackRecord"));
    QFont recordFont = fixedFont();
    recordFont.setPointSizeF(recordFont.pointSizeF() * 1.4);
    recordFont.setBold(true);
    m_lblTrackRecord->setFont(recordFont);
    layout->addWidget(m_lblTrackRecord);
    // Each holder beside the time held, so the record reads whole from any of its rows.
    m_trackRecord =
        new TextTableModel(translatedColumns(TrackRecordColumns, {Qt::AlignLeft, Qt::AlignRight}), panel);
    m_lstTrackRecord = programTable(m_trackRecord, QStringLiteral("lstTrackRecord"), panel);
    m_lstTrackRecord->setFont(m_lstTrackRecord->parentWidget()->font());
    m_lstTrackRecord->setStretchColumn(0);
    m_lstTrackRecord->setRowsShown(3, 3);
    m_lstTrackRecord->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    // A table is named for a screen reader by the caption over it.
    m_lstTrackRecord->setAccessibleName(recordCaption->text());
    layout->addWidget(m_lstTrackRecord);

    layout->addSpacing(10);
    auto* standings = caption(toQString(_(JockeyStandingsCaption)), panel);
    standings->setObjectName(QStringLiteral("lblJockeyStandings"));
    layout->addWidget(standings);
    m_jockeys =
        new TextTableModel(translatedColumns(StandingColumnTexts, {Qt::AlignLeft, Qt::AlignRight}), panel);
    m_lstJockeys = programTable(m_jockeys, QStringLiteral("lstJockeys"), panel);
    standings->setBuddy(m_lstJockeys);
    m_lstJockeys->setAccessibleName(standings->text());
    // Thirty-two jockeys scroll down; every row shows whole across.
    m_lstJockeys->setRowsShown(JockeyRowsShown, JockeyRowsShown);
    m_lstJockeys->setStretchColumn(0);
    layout->addWidget(m_lstJockeys, 1);
    layout->addSpacing(10);
    layout->addWidget(buildChances(panel));
    return panel;
}

QWidget* PastPerfWindow::buildChances(QWidget* parent) {
    auto* box = new QWidget(parent);
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* title = caption(toQString(_("True Chances")), box);
    title->setObjectName(QStringLiteral("lblChancesCaption"));
    title->setToolTip(toQString(_("Each entry's chance from the race run many times over, with one standard "
                                  "error; the odds that chance makes fair; the tote's odds now. "
                                  "\"value\" marks a horse the tote pays more for than it is worth.")));
    m_lblChances = new QLabel(box);
    m_lblChances->setObjectName(QStringLiteral("lblChances"));
    m_prgChances = new QProgressBar(box);
    m_prgChances->setObjectName(QStringLiteral("prgChances"));
    m_prgChances->setTextVisible(true);
    m_prgChances->setFormat(toQString(_("%v races")));
    auto* top = new QHBoxLayout;
    top->addWidget(title);
    top->addStretch(1);
    top->addWidget(m_lblChances);
    layout->addLayout(top);
    layout->addWidget(m_prgChances);

    m_tblChances = new QTableWidget(FieldSize, static_cast<int>(chanceHeadings().size()), box);
    m_tblChances->setObjectName(QStringLiteral("tblChances"));
    m_tblChances->setHorizontalHeaderLabels(chanceHeadings());
    // The bracket is where the true chance lies 95 times in 100: a share never seen is not a nil chance.
    for (int column : {1, 2})
        m_tblChances->horizontalHeaderItem(column)->setToolTip(
            toQString(_("The share of the simulated races, and in brackets the range the true chance lies "
                        "in 95 times in 100")));
    m_tblChances->verticalHeader()->hide();
    m_tblChances->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_tblChances->setSelectionMode(QAbstractItemView::NoSelection);
    m_tblChances->setFocusPolicy(Qt::NoFocus);
    m_tblChances->setFont(fixedFont());
    m_tblChances->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    // No stretched last column: a stretched one runs a pixel past the view and makes it scroll.
    m_tblChances->horizontalHeader()->setStretchLastSection(false);
    for (int row = 0; row < FieldSize; ++row)
        for (int column = 0; column < m_tblChances->columnCount(); ++column) {
            auto* item = new QTableWidgetItem;
            const int last = m_tblChances->columnCount() - 1;
            item->setTextAlignment(column == 0      ? Qt::AlignCenter
                                   : column == last ? Qt::AlignLeft | Qt::AlignVCenter
                                                    : Qt::AlignRight | Qt::AlignVCenter);
            m_tblChances->setItem(row, column, item);
        }
    // Rows as close as a printed table's, so the chances do not crowd the standings out, but never
    // shorter than the style draws a row.
    QHeaderView* rows = m_tblChances->verticalHeader();
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setDefaultSectionSize(
        std::max(m_tblChances->fontMetrics().height() + 6, rows->minimumSectionSize()));
    // Sized for the widest figures a row can hold, then emptied until the first estimate comes.
    const ChanceRow widest{"8", "100.0% (100.0-100.0)", "100.0% (100.0-100.0)", "9.9-1", "9.9-1", "value"};
    const std::array<const std::string*, 6> texts = {&widest.post,     &widest.win,      &widest.topThree,
                                                     &widest.fairOdds, &widest.toteOdds, &widest.value};
    for (std::size_t c = 0; c < texts.size(); ++c)
        m_tblChances->item(0, static_cast<int>(c))->setText(toQString(*texts[c]));
    fitTableToContents(m_tblChances);
    for (int column = 0; column < m_tblChances->columnCount(); ++column)
        m_tblChances->item(0, column)->setText(QString());
    layout->addWidget(m_tblChances);
    return box;
}

void PastPerfWindow::showRace(int race) {
    if (m_udRace->value() == race)
        raceChosen(race);
    else
        m_udRace->setValue(race);
}

void PastPerfWindow::raceChosen(int race) {
    // Generating a race's public money takes a moment on a slow machine.
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_game.browseProgram(race);
    refresh();
    QApplication::restoreOverrideCursor();
}

void PastPerfWindow::refresh() {
    const ProgramView& view = m_game.program();
    {
        const QSignalBlocker quiet(m_udRace);
        if (view.race >= 1 && view.race <= RacesPerDay)
            m_udRace->setValue(view.race);
    }
    m_lblRace->setText(toQString(view.raceNumber));
    m_lblRaceGrade->setText(toQString(view.purse));
    m_lblDistance->setText(view.distance.empty() ? toQString(_(ProgramDistanceText))
                                                 : toQString(_(view.distance)));
    m_lblBets->setText(toQString(view.betsOffered));
    for (std::size_t e = 0; e < m_entries.size(); ++e) {
        const ProgramEntryView& entry = view.entries[e];
        EntryBlock& b = m_entries[e];
        b.horseName->setText(toQString(entry.horseName));
        b.jockey->setText(toQString(entry.jockey));
        b.jockey->setToolTip(toQString(entry.jockeyRecord));
        const std::array<const std::string*, 5> counts = {&entry.starts, &entry.firsts, &entry.seconds,
                                                          &entry.thirds, &entry.fourths};
        for (std::size_t c = 0; c < counts.size(); ++c)
            b.counts[c]->setText(toQString(*counts[c]));
        b.earnings->setText(toQString(entry.earnings));
        b.pastLines->setRows(rowsOf(entry.pastCells));
    }
    // The entries scroll down, never across: the pane is as wide as an entry's record and past
    // lines, and stays as wide as the widest race shown so far.
    QWidget* sheet = m_entriesPane->widget();
    m_entriesPane->setMinimumWidth(std::max(
        m_entriesPane->minimumWidth(),
        sheet->minimumSizeHint().width() + 2 * m_entriesPane->frameWidth() +
            m_entriesPane->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, m_entriesPane)));
    m_lblTrackRecord->setText(toQString(view.trackRecord));
    std::vector<TableRow> holders;
    for (const std::string& horse : view.trackRecordHolders)
        holders.push_back({{.text = toQString(horse)}, {.text = toQString(view.trackRecord)}});
    m_trackRecord->setRows(std::move(holders));
    m_jockeys->setRows(rowsOf(view.jockeyCells));
    if (view.race >= 1 && view.race <= RacesPerDay)
        startChances(view.race);
}

PastPerfWindow::~PastPerfWindow() {
    stopChances();
}

void PastPerfWindow::startChances(int race) {
    stopChances();
    // The day holds the race just shown: its field and the tote's odds are copied out here, and
    // the simulation never sees the day again.
    m_pendingField = chanceFieldOf(m_game.day(), race);
    m_chancesShown = -1;
    m_prgChances->setRange(0, m_chanceRaces);
    m_prgChances->setValue(0);
    m_lblChances->setText(toQString(_("Race %1")).arg(race));
    // Not before the window is on the screen: the player sees the program first.
    if (m_painted)
        runChances();
}

void PastPerfWindow::runChances() {
    if (!m_pendingField)
        return;
    // A field already run shows at once; otherwise the window keeps a core and its threads yield to it.
    m_chances = std::make_unique<ChanceRunner>(*m_pendingField, m_chanceRaces,
                                               ChanceRunOptions{.threads = backgroundThreads(),
                                                                .lowPriority = true,
                                                                .cache = &m_game.chanceCache()});
    m_pendingField.reset();
    pollChances();
    if (m_chances)
        m_chanceTimer->start();
}

void PastPerfWindow::paintEvent(QPaintEvent* event) {
    QDialog::paintEvent(event);
    if (m_painted)
        return;
    m_painted = true;
    // After this paint has reached the screen, not inside it.
    QTimer::singleShot(0, this, &PastPerfWindow::runChances);
}

void PastPerfWindow::stopChances() {
    if (m_chanceTimer)
        m_chanceTimer->stop();
    m_chances.reset();
    m_pendingField.reset();
}

void PastPerfWindow::pollChances() {
    if (!m_chances)
        return;
    const bool finished = m_chances->finished();
    m_prgChances->setValue(m_chances->progress());
    const ChanceEstimate estimate = m_chances->latest();
    if (estimate.races != m_chancesShown) {
        m_chancesShown = estimate.races;
        const auto rows = chanceRows(estimate);
        for (int e = 0; e < FieldSize; ++e) {
            const ChanceRow& row = rows[static_cast<std::size_t>(e)];
            const std::array<const std::string*, 6> texts = {&row.post,     &row.win,      &row.topThree,
                                                             &row.fairOdds, &row.toteOdds, &row.value};
            for (std::size_t c = 0; c < texts.size(); ++c)
                m_tblChances->item(e, static_cast<int>(c))->setText(toQString(*texts[c]));
            QFont font = m_tblChances->font();
            font.setBold(!row.value.empty());
            m_tblChances->item(e, static_cast<int>(texts.size()) - 1)->setFont(font);
        }
        fitTableToContents(m_tblChances);
    }
    if (finished) {
        m_chanceTimer->stop();
        m_chances.reset();
        emit chancesDone();
    }
}

void PastPerfWindow::chooseToteBoard() {
    if (m_left)
        return;
    m_left = true;
    stopChances();
    m_game.toteBoard();
    QDialog::accept();
    emit toteBoardChosen();
}

void PastPerfWindow::reject() {
    chooseToteBoard();
}

void PastPerfWindow::openPrintOptions() {
    auto* options = new PrintOptionsDialog(m_game, this);
    options->setAttribute(Qt::WA_DeleteOnClose);
    // Printing walks the races it prints; afterwards the program shows the race about to be run.
    connect(options, &PrintOptionsDialog::raceRestored, this,
            [this] { showRace(m_game.day().currentRace + 1); });
    options->open();
}

} // namespace sw::ui
